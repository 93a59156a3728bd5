// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a subject's three files go when nothing else decides it: the folder the program was
// started in, unless that is where no clinic's files belong (the program's own folder, the
// system's, the home folder itself, a folder that cannot be written), and the folder the
// operator chose last, kept from one start to the next.
#include <QString>

#include <functional>

class QWidget;

// What the program knows of its surroundings at start-up, as absolute paths.
struct StartFolders {
    QString started;      // the current folder
    QString installation; // the program's own folder
    QString system;       // the Windows folder; empty elsewhere
    QString home;
    QString documents; // the user's documents folder
};

// The surroundings of this process.
StartFolders CurrentStartFolders();

// The folder the program was started in when a clinic's files belong there, otherwise
// "BrivanSelvo" in the documents folder. `writable` tells whether a file can be made in a
// folder.
QString DefaultOutputFolder(const StartFolders& folders,
                            const std::function<bool(const QString&)>& writable);

// The output folder at start-up: the folder chosen last when it is still there, otherwise
// the default; `note` says why a folder chosen last is not used.
struct StartingFolder {
    QString folder;
    QString note;
};
StartingFolder StartingOutputFolder(const QString& chosenLast, const QString& defaultFolder,
                                    const std::function<bool(const QString&)>& exists);

// The folder the operator chose last with "Cambia cartella...", in Qt's settings; empty when
// none was.
QString RememberedOutputFolder();
void RememberOutputFolder(const QString& folder);

// The platform's folder dialog, in Italian, opened on `current`: the chosen folder, or empty.
QString ChooseOutputFolder(QWidget* owner, const QString& current);
