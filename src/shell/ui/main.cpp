#include "shell/ProgramState.h"
#include "shell/ui/Shell.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    selvo::ProgramState state;
    Shell shell(state);
    Main(shell);
    return QApplication::exec();
}
