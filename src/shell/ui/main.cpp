#include "state/ProgramState.h"
#include "shell/ui/Program.h"
#include "shell/ui/Shell.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    selvo::ProgramState state;
    Shell shell(state);
    StartProgram(shell);
    return QApplication::exec();
}
