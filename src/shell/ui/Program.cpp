#include "shell/ui/Program.h"

#include "administration/ui/RecoveryKeeper.h"
#include "datafiles/ui/OpenDialog.h"
#include "shell/ui/Shell.h"

#include <QApplication>
#include <QFont>
#include <QStandardPaths>

void StartProgram(Shell& shell) {
    // The subject reads long texts on screen: a size larger than the toolkit's small default.
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);

    shell.showOpenDialog = ShowOpenDialog;
    // The data folder is named after the program, whatever its executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("BrivanSelvo"));
    shell.recovery().useFolder(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    Main(shell);
}
