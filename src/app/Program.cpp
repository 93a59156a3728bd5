// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.h"

#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "app/OutputFolder.h"
#include "datafiles/ui/OpenDialog.h"
#include "platform/FolderFiles.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>

void StartProgram(Application& app) {
    // The subject reads long texts on screen: a size larger than the toolkit's small default.
    QFont font = QApplication::font();
    font.setPointSize(10);
    QApplication::setFont(font);

    app.showOpenDialog = ShowOpenDialog;
    // The data folder is named after the program, whatever its executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("BrivanSelvo"));
    app.recovery().useFolder(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    useStartingOutputFolder(app);
    Main(app);
}

void useStartingOutputFolder(Application& app) {
    const QString byDefault = DefaultOutputFolder(CurrentStartFolders(), [](const QString& folder) {
        return !selvo::checkFolderWritable(corePath(folder));
    });
    const StartingFolder start =
        StartingOutputFolder(RememberedOutputFolder(), byDefault,
                             [](const QString& folder) { return QFileInfo(folder).isDir(); });
    app.setOutputFolder(corePath(start.folder), start.note, start.folder == byDefault);
}
