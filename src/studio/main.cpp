// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio/StudioWindow.h"
#include "widgets/WindowPlacement.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    StudioWindow window;
    // Files and folders named on the command line are the first inputs.
    const QStringList given = QApplication::arguments().mid(1);
    centreOnScreen(window);
    window.show();
    if (!given.isEmpty()) {
        window.addPaths(given);
    }
    return QApplication::exec();
}
