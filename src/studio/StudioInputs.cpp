// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio/StudioInputs.h"

#include "batch/BatchInputs.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

// The folder and, when asked, every folder below it that is not hidden, in name order.
QStringList foldersOf(const QString& folder, bool withSubfolders) {
    QStringList folders{folder};
    if (withSubfolders) {
        QStringList below;
        QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            below << it.next();
        }
        below.sort();
        folders << below;
    }
    return folders;
}

} // namespace

StudioInputs DataFilesOf(const QStringList& paths, bool withSubfolders) {
    selvo::BatchOptions options;
    for (const QString& path : paths) {
        const QStringList given =
            QFileInfo(path).isDir() ? foldersOf(path, withSubfolders) : QStringList{path};
        for (const QString& one : given) {
            options.files.push_back(QDir::cleanPath(one).toStdString());
        }
    }
    StudioInputs inputs;
    const auto gathered = selvo::GatherInputs(options);
    if (const auto* fault = std::get_if<std::string>(&gathered)) {
        inputs.fault = QString::fromStdString(*fault);
        return inputs;
    }
    for (const std::string& file : std::get<selvo::GatheredInputs>(gathered).files) {
        inputs.files << QString::fromStdString(file);
    }
    for (const std::string& note : std::get<selvo::GatheredInputs>(gathered).notes) {
        inputs.notes << QString::fromStdString(note);
    }
    return inputs;
}
