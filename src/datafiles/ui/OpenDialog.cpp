// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/ui/OpenDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>

namespace {

// Names, sizes, types and dates in full: the list's columns take the width their contents
// need, the name column the rest, and the places on the left show their whole names.
void showWholeColumns(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(940, 540);
    if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = files->header();
        header->setStretchLastSection(false);
        header->setMinimumSectionSize(90);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"))) {
        places->setMinimumWidth(170);
    }
}

} // namespace

std::string ShowOpenDialog(QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("Open Dialog Box"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters{QStringLiteral("comma separated values (*.csv)"),
                              QStringLiteral("Text files (*.txt)"),
                              QStringLiteral("All Files (*.*)")};
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    showWholeColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().size() != 1) {
        return {};
    }
    return corePath(QFileInfo(dialog.selectedFiles().front()).absoluteFilePath());
}

std::string corePath(const QString& path) {
#ifdef Q_OS_WIN
    // The core's file layer takes UTF-8 names on Windows too; the system's 8-bit encoding
    // there is the ANSI code page, which has no "Ș" or "Ł".
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString qtPath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromStdString(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

std::string FolderOfFile(const std::string& path) {
    const QDir folder = QFileInfo(qtPath(path)).absoluteDir();
#ifdef Q_OS_WIN
    // Windows keeps a current folder as it was named.
    return corePath(folder.absolutePath());
#else
    // A POSIX system names its current folder with every link resolved.
    const QString resolved = folder.canonicalPath();
    return corePath(resolved.isEmpty() ? folder.absolutePath() : resolved);
#endif
}
