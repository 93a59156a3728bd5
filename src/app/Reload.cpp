// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Reload.h"

#include "administration/Completion.h"
#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "datafiles/DataFile.h"
#include "datafiles/ui/OpenDialog.h"
#include "subject/StaleSet.h"
#include "subject/SubjectChecks.h"
#include "subject/ui/frmLogin.h"
#include "text/TextSafety.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"

#include <QApplication>
#include <QFileInfo>

namespace {

void showReadError(const selvo::FileError& error) {
    showMessage(QApplication::activeWindow(), QMessageBox::Warning,
                QStringLiteral("FILE NON CARICATO"),
                QStringLiteral("Impossibile caricare il file \"%1\": %2\n\nNessun dato è stato "
                               "modificato. Scegliere un file di dati salvato dal programma "
                               "(SELVO_Cognome_Nome.csv).")
                    .arg(qtext(selvo::visibleText(error.fileName)),
                         qtext(selvo::visibleText(error.reason))));
}

// A file read despite damage: the operator should know before confirming its subject.
void showDamagedTailNote(const std::string& path, const std::string& note) {
    showMessage(QApplication::activeWindow(), QMessageBox::Information,
                QStringLiteral("FILE DANNEGGIATO"),
                QStringLiteral("Il file \"%1\" è stato caricato, ma %2\n\nControllare i dati del "
                               "soggetto prima di elaborarli.")
                    .arg(qtext(selvo::visibleText(QFileInfo(qtext(path)).fileName().toStdString())),
                         qtext(note)));
}

// Missing answers count as no agreement and no distress in every score: the operator decides.
bool confirmIncompleteSet(const std::string& path, const std::vector<int>& missing) {
    return askYesNo(
        QApplication::activeWindow(), QMessageBox::Question, productName(),
        QStringLiteral("Il file \"%1\" non contiene tutte le risposte. %2\n\nGli item "
                       "senza risposta valgono 0 in tutti i punteggi. Elaborare "
                       "comunque il file?")
            .arg(qtext(selvo::visibleText(QFileInfo(qtext(path)).fileName().toStdString())),
                 qtext(selvo::MissingItemsMessage(missing))),
        false);
}

} // namespace

bool MayReplaceAnswersInHand(const selvo::ProgramState& state, QWidget* owner) {
    const int answered = selvo::AnsweredItems(state.administration.answers);
    if (state.administration.startedAt.empty() || state.setProcessed || answered == 0) {
        return true;
    }
    return askYesNo(
        owner, QMessageBox::Question, productName(),
        QStringLiteral("La somministrazione in corso, non ancora elaborata, "
                       "contiene %1. Caricando un file di dati, le risposte date "
                       "finora saranno sostituite da quelle del file e non si "
                       "potranno più recuperare.\n\nCaricare comunque un file di "
                       "dati?")
            .arg(qtext(selvo::AnsweredItemsText(answered, selvo::questionnaire::kItemCount))),
        false);
}

void ReloadDataFile(Application& app, const std::string& path) {
    selvo::ProgramState& state = app.state();
    const bool replacesAdministration = !state.administration.startedAt.empty();
    selvo::FileResult<selvo::DataFileContent> read = selvo::ReadDataFile(path);
    if (!read.ok()) {
        showReadError(read.error());
        return;
    }
    if (!read.value().note.empty()) {
        showDamagedTailNote(path, read.value().note);
    }
    selvo::StoreSubjectSet(state, std::move(read.value().subject), read.value().answers);
    // That subject's files, and those of the subjects after it, go beside the file read.
    app.setOutputFolder(FolderOfFile(path));
    if (replacesAdministration) {
        // The operator chose to replace those answers: the next start must not offer them.
        app.recovery().administrationEnded();
    }

    state.setProcessed = false;             // a new set is in hand
    state.administration.startedAt.clear(); // ... that was not answered here
    // The file it came from: processing it under another name leaves that set behind.
    state.setOnDisk = selvo::StoredSetAt(path, state.subject);

    Form1& administration = app.form1KeepingAnswers();
    administration.CheckCompletion();
    administration.ShowAgreementAnswer(state.administration.currentItem);
    administration.ShowDistressAnswer(state.administration.currentItem);

    // The form's first load fills it from the record just read; the fill below does the same
    // for a form that was already loaded.
    frmLogin& subject = app.login();
    subject.showSubjectRecord(selvo::SubjectEntryOf(state.subject));
    const std::vector<int> missing = selvo::MissingItems(state.administration.answers);
    if (!missing.empty() && !confirmIncompleteSet(path, missing)) {
        return;
    }
    app.execSubjectForm();
}
