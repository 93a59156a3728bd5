// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/ui/StaleSetOffer.h"

#include "subject/RunSummary.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

// Why nothing can go to the trash, or nothing. Qt 6.4 on Linux, when it cannot make the trash
// in the user's data folder, moves the file into "files" beside the current folder, that is
// into the study folder itself: the trash folder is made here first, and without it nothing
// is moved.
std::optional<std::string> trashUnavailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString trash = data + QStringLiteral("/Trash");
    const bool existed = QFileInfo(trash).isDir();
    if (data.isEmpty() || (!existed && !QDir().mkpath(trash)) || !QFileInfo(trash).isDir()) {
        return "il cestino del sistema non è disponibile (impossibile creare la cartella " +
               QDir::toNativeSeparators(trash).toStdString() + ").";
    }
    if (!existed) {
        QFile::setPermissions(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
#endif
    return std::nullopt;
}

} // namespace

void offerStaleSetToTrash(QWidget* owner, const QString& written, const selvo::StoredSet& older,
                          const std::vector<std::string>& files) {
    const QString title = productName();
    if (!askYesNo(owner, QMessageBox::Question, title,
                  written + qtext(selvo::StaleSetQuestion(older, files)), false)) {
        return;
    }
    std::vector<std::string> moved;
    std::vector<selvo::FileNotMoved> kept;
    const std::optional<std::string> unavailable = trashUnavailable();
    for (const std::string& path : files) {
        QFile file(qtext(path));
        if (unavailable) {
            kept.push_back({path, *unavailable});
        } else if (file.moveToTrash()) {
            moved.push_back(path);
        } else {
            kept.push_back({path, file.errorString().toStdString()});
        }
    }
    showMessage(owner, kept.empty() ? QMessageBox::Information : QMessageBox::Warning, title,
                qtext(selvo::TrashOutcomeMessage(moved, kept)));
}
