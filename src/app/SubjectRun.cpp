// SPDX-License-Identifier: GPL-3.0-or-later

// The subject form's confirmation: the record checked and stored, the processing run into the
// output folder, and what the operator is told of it.
#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "app/OutputFolder.h"
#include "datafiles/DataFile.h"
#include "datafiles/ui/OpenDialog.h"
#include "platform/FolderFiles.h"
#include "processing/ProcessData.h"
#include "profile/ui/ResultsWindow.h"
#include "questionnaire/SubjectFiles.h"
#include "subject/OtherAdministration.h"
#include "subject/RunSummary.h"
#include "subject/StaleSet.h"
#include "subject/SubjectChecks.h"
#include "subject/ui/StaleSetOffer.h"
#include "subject/ui/frmLogin.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The output folder as the system writes folders.
QString shownFolder(const selvo::ProgramState& state) {
    return QDir::toNativeSeparators(qtPath(state.outputFolder));
}

} // namespace

void Application::processSubject(frmLogin& subject) {
    const std::vector<std::string> missing =
        selvo::StoreSubjectEntry(m_state.subject, subject.entry());
    for (const std::string& message : missing) {
        subject.showInformation(qtext(message));
    }
    // A box asked for a field: the operator answers it before anything is written.
    if (!missing.empty() || !selvo::SubjectRecordComplete(m_state.subject)) {
        subject.focusFirstMissingField();
        return;
    }
    if (const auto unsafe = selvo::UnsafeSubjectName(m_state.subject)) {
        subject.showInformation(qtext(unsafe->message) +
                                QStringLiteral("\n\nCorreggere il campo e premere di nuovo "
                                               "«ELABORAZIONE DATI». Grazie!"));
        subject.focusUnsafeField(unsafe->field);
        return;
    }
    if (!mayReplaceDataFile(subject) || !makeOutputFolder(subject)) {
        return; // nothing written; the form stays open for another name or folder
    }
    const selvo::ProcessedSubject run =
        selvo::ProcessSubject(m_state.subject, m_state.administration.answers, m_state.outputFolder,
                              selvo::CurrentDateTimeText, {});
    if (run.commit.error) {
        showRunFailure(subject, *run.commit.error, run.commit.inPlace);
        return; // the form stays open so the run can be confirmed again
    }
    m_state.setProcessed = true;
    recovery().administrationProcessed();
    const QString written =
        qtext(selvo::WrittenFilesMessage(shownFolder(m_state).toStdString(), run.commit.files));
    offerOlderSet(subject, written, run.commit);
    subject.accept();
    showResults(run, written);
}

// A run under a corrected surname or name leaves the older set in the folder: the operator is
// asked about it rather than left to find it counted twice by a later batch.
void Application::offerOlderSet(frmLogin& subject, const QString& written,
                                const selvo::CommitResult& run) {
    const std::optional<selvo::StoredSet> older = m_state.setOnDisk;
    const std::vector<std::string> stale =
        older ? selvo::StaleSetFiles(*older, m_state.subject, m_state.outputFolder, run.files)
              : std::vector<std::string>{};
    if (!stale.empty()) {
        offerStaleSetToTrash(&subject, written, *older, stale);
    }
    // The set just written is the one on disk now; another correction would leave it behind.
    m_state.setOnDisk = selvo::StoredSetAt(run.files.front().path, m_state.subject);
}

// The subject form is gone: the profile is shown over the window that started the run, which
// has the focus again once it is closed.
void Application::showResults(const selvo::ProcessedSubject& run, const QString& written) {
    const selvo::SubjectRecord& subject = m_state.subject;
    RunResults results{
        subject,
        run.dateTime,
        m_state.outputFolder,
        written.toStdString(),
        selvo::pathInFolder(m_state.outputFolder, selvo::SubjectReportFileName(subject)),
        run.scores};
    ResultsWindow window(std::move(results));
    window.exec();
}

void Application::showRunFailure(frmLogin& subject, const selvo::FileError& error,
                                 bool filesInPlace) {
    // The three files are replaced together or not at all: the folder is as it was, unless
    // only the folder's flush failed after the renames.
    const QString writtenText =
        filesInPlace ? QStringLiteral("I tre file sono nella cartella, ma potrebbero non essere "
                                      "stati registrati sul disco.")
                     : QStringLiteral("Nessun file è stato scritto: i file già presenti nella "
                                      "cartella sono rimasti com'erano.");
    showMessage(&subject, QMessageBox::Critical, QStringLiteral("ELABORAZIONE NON COMPLETATA"),
                QStringLiteral("%1\n\nCartella: %2\n%3\n\nEliminare la causa (ad esempio "
                               "una cartella di sola lettura o un disco pieno) e premere di "
                               "nuovo «ELABORAZIONE DATI».")
                    .arg(qtext(error.message()), shownFolder(m_state), writtenText));
}

bool Application::mayReplaceDataFile(frmLogin& subject) {
    const std::string dataFile =
        selvo::pathInFolder(m_state.outputFolder, selvo::SubjectDataFileName(m_state.subject));
    const std::optional<selvo::FileIdentity> own =
        m_state.setOnDisk ? std::optional(m_state.setOnDisk->identity) : std::nullopt;
    const std::optional<selvo::OtherAdministration> other = selvo::OtherAdministrationAt(
        dataFile, m_state.subject, m_state.administration.answers, own);
    if (!other) {
        return true;
    }
    return askYesNo(&subject, QMessageBox::Warning,
                    QString::fromUtf8(selvo::kOtherAdministrationTitle),
                    qtext(selvo::ReplaceAdministrationQuestion(*other, m_state.subject)), false);
}

// The documents folder's own "BrivanSelvo" is made by the first run that writes into it.
bool Application::makeOutputFolder(frmLogin& subject) {
    const QString folder = qtPath(m_state.outputFolder);
    if (!m_createFolder || QFileInfo(folder).isDir() || QDir().mkpath(folder)) {
        return true;
    }
    showMessage(&subject, QMessageBox::Critical, QStringLiteral("ELABORAZIONE NON COMPLETATA"),
                QStringLiteral("Impossibile creare la cartella \"%1\".\n\nNessun file è stato "
                               "scritto. Scegliere un'altra cartella con «Cambia cartella...».")
                    .arg(QDir::toNativeSeparators(folder)));
    return false;
}

// The chosen folder is used from now on and at the next start, once a file can be made in it.
void Application::changeOutputFolder(frmLogin& subject) {
    QString current = qtPath(m_state.outputFolder);
    while (!QFileInfo(current).isDir() && !QDir(current).isRoot() && !current.isEmpty()) {
        current = QFileInfo(current).absolutePath(); // a default folder not made yet
    }
    const QString chosen = chooseFolder(&subject, current);
    if (chosen.isEmpty()) {
        return;
    }
    const std::string folder = corePath(QDir::cleanPath(QDir(chosen).absolutePath()));
    if (const auto error = selvo::checkFolderWritable(folder)) {
        showMessage(&subject, QMessageBox::Warning, QStringLiteral("CARTELLA NON UTILIZZABILE"),
                    QStringLiteral("Nella cartella \"%1\" non si possono scrivere file: %2\n\n"
                                   "Scegliere un'altra cartella.")
                        .arg(QDir::toNativeSeparators(chosen), qtext(error->reason)));
        return;
    }
    setOutputFolder(folder);
    rememberFolder(qtPath(folder));
}
