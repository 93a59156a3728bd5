// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window's inputs become: a dropped or chosen folder is its data files (and those of
// its subfolders when asked), picked as selvo-batch picks a folder's files.
#include <QString>
#include <QStringList>

struct StudioInputs {
    QStringList files;
    QStringList notes; // files left out, and why
    QString fault;     // a folder that cannot be read
};

StudioInputs DataFilesOf(const QStringList& paths, bool withSubfolders);
