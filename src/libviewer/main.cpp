// SPDX-License-Identifier: GPL-3.0-or-later

#include "libviewer/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kalvexlib::Form1 form;
    form.show();
    return QApplication::exec();
}
