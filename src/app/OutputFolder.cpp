// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OutputFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char* const kChosenFolderKey = "cartellaFile";

// One spelling per folder: absolute, clean, links resolved where the folder exists.
QString normalised(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? QDir(path).absolutePath() : canonical);
}

bool sameOrUnder(const QString& folder, const QString& base) {
    if (base.isEmpty()) {
        return false;
    }
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    const QString root = normalised(base);
    return folder.compare(root, cs) == 0 ||
           folder.startsWith(root.endsWith('/') ? root : root + '/', cs);
}

bool same(const QString& folder, const QString& other) {
    return !other.isEmpty() && QString::compare(folder, normalised(other),
#ifdef Q_OS_WIN
                                                Qt::CaseInsensitive
#else
                                                Qt::CaseSensitive
#endif
                                                ) == 0;
}

// Windows names the known folder; on Linux the XDG documents folder when the user has one of
// its own, otherwise the Italian or the English name, whichever is there.
QString documentsFolder([[maybe_unused]] const QString& home) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#ifdef Q_OS_WIN
    return documents;
#else
    if (!documents.isEmpty() && !same(normalised(documents), home) &&
        !same(normalised(documents), home + QStringLiteral("/Documents"))) {
        return documents;
    }
    const QString italian = home + QStringLiteral("/Documenti");
    return QFileInfo(italian).isDir() ? italian : home + QStringLiteral("/Documents");
#endif
}

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrivanSelvo"),
                     QStringLiteral("BrivanSelvo"));
}

} // namespace

StartFolders CurrentStartFolders() {
    const QString home = QDir::homePath();
    QString system = qEnvironmentVariable("SystemRoot");
    if (system.isEmpty()) {
        system = qEnvironmentVariable("windir");
    }
#ifndef Q_OS_WIN
    system.clear();
#endif
    return {QDir::currentPath(), QCoreApplication::applicationDirPath(),
            system.isEmpty() ? QString() : QDir::fromNativeSeparators(system), home,
            documentsFolder(home)};
}

QString DefaultOutputFolder(const StartFolders& folders,
                            const std::function<bool(const QString&)>& writable) {
    const QString started = normalised(folders.started);
    const bool belongs = !sameOrUnder(started, folders.installation) &&
                         !sameOrUnder(started, folders.system) && !same(started, folders.home) &&
                         writable(started);
    return belongs ? started : QDir::cleanPath(folders.documents + QStringLiteral("/BrivanSelvo"));
}

StartingFolder StartingOutputFolder(const QString& chosenLast, const QString& defaultFolder,
                                    const std::function<bool(const QString&)>& exists) {
    if (chosenLast.isEmpty()) {
        return {defaultFolder, {}};
    }
    if (exists(chosenLast)) {
        return {chosenLast, {}};
    }
    return {defaultFolder,
            QStringLiteral("La cartella scelta l'ultima volta, \"%1\", non è raggiungibile "
                           "(un disco o una chiavetta scollegati?): i file saranno scritti qui.")
                .arg(QDir::toNativeSeparators(chosenLast))};
}

QString RememberedOutputFolder() {
    return settings().value(QLatin1String(kChosenFolderKey)).toString();
}

void RememberOutputFolder(const QString& folder) {
    QSettings kept = settings();
    kept.setValue(QLatin1String(kChosenFolderKey), folder);
    kept.sync();
}

QString ChooseOutputFolder(QWidget* owner, const QString& current) {
    return QFileDialog::getExistingDirectory(
        owner, QStringLiteral("Cartella in cui scrivere i file del soggetto"), current);
}
