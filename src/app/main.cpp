// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Application.h"
#include "app/Program.h"
#include "state/ProgramState.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    selvo::ProgramState state;
    Application app(state);
    StartProgram(app);
    return QApplication::exec();
}
