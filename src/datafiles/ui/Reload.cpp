#include "datafiles/ui/Reload.h"

#include "administration/Completion.h"
#include "administration/ui/Form1.h"
#include "datafiles/DataFile.h"
#include "shell/TextSafety.h"
#include "shell/ui/MessageBoxes.h"
#include "shell/ui/Shell.h"
#include "subject/StaleSet.h"
#include "subject/ui/frmLogin.h"

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

// Missing answers count as no agreement and no distress in every score: the operator decides.
bool confirmIncompleteSet(const std::string& path, const std::vector<int>& missing) {
    return askYesNo(
        QApplication::activeWindow(), QMessageBox::Question, QStringLiteral("BrivanSELVO"),
        QStringLiteral("Il file \"%1\" non contiene tutte le risposte. %2\n\nGli item "
                       "senza risposta valgono 0 in tutti i punteggi. Elaborare "
                       "comunque il file?")
            .arg(qtext(selvo::visibleText(QFileInfo(qtext(path)).fileName().toStdString())),
                 qtext(selvo::MissingItemsMessage(missing))),
        false);
}

} // namespace

void ReloadDataFile(Shell& shell, const std::string& path) {
    selvo::ProgramState& state = shell.state();
    const std::string previousName = state.DataFileName;
    state.DataFileName = path;
    if (const auto error = selvo::ReadDataFile(state)) {
        state.DataFileName = previousName;
        showReadError(*error);
        return;
    }

    state.SetProcessed = false;          // a new set is in hand
    state.AdministrationStarted.clear(); // ... that was not answered here
    // The file it came from: processing it under another name leaves that set behind.
    state.SetOnDisk = selvo::StoredSetAt(path, state);

    Form1& administration = shell.form1KeepingAnswers();
    administration.CheckCompletion();
    administration.ShowAgreementAnswer(state.CurrentItem);
    administration.ShowDistressAnswer(state.CurrentItem);

    // The form's first load fills it from the record just read; the fill below does the same
    // for a form that was already loaded.
    frmLogin& subject = shell.login();
    subject.showSubjectRecord();
    const std::vector<int> missing = selvo::MissingItems(state);
    if (!missing.empty() && !confirmIncompleteSet(path, missing)) {
        return;
    }
    subject.exec();
}
