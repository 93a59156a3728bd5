#include "datafiles/ui/OpenDialog.h"
#include "shell/ProgramState.h"
#include "shell/ui/Shell.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The subject reads long texts on screen: a size larger than the toolkit's small default.
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);

    selvo::ProgramState state;
    Shell shell(state);
    shell.showOpenDialog = ShowOpenDialog;
    Main(shell);
    return QApplication::exec();
}
