// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/ui/RecoveryKeeper.h"

#include "administration/Completion.h"
#include "questionnaire/Product.h"
#include "state/ProgramState.h"
#include "text/TextSafety.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"

#include <QApplication>

namespace {

const QString kTitle = productName();

void notify(QMessageBox::Icon icon, const QString& text) {
    showMessage(QApplication::activeWindow(), icon, kTitle, text);
}

bool ask(QMessageBox::Icon icon, const QString& text, bool yesByDefault) {
    return askYesNo(QApplication::activeWindow(), icon, kTitle, text, yesByDefault);
}

QString shown(const std::string& text) {
    return qtext(selvo::visibleText(text));
}

// "iniziata il 08/12/2026 alle 09:15:02"
QString startedText(const std::string& startedAt) {
    const auto blank = startedAt.find(' ');
    return QStringLiteral("iniziata il %1 alle %2")
        .arg(qtext(startedAt.substr(0, blank)), qtext(startedAt.substr(blank + 1)));
}

} // namespace

void RecoveryKeeper::useFolder(const std::string& folder) {
    m_writer.reset(); // what the folder in use still had to save is written first
    selvo::RecoveryStore::Opening opening = selvo::RecoveryStore::open(folder);
    if (opening.store) {
        m_store = std::move(opening.store);
        m_writer = std::make_unique<selvo::RecoveryWriter>([this] {
            QMetaObject::invokeMethod(
                &m_context, [this] { reportSaveOutcomes(); }, Qt::QueuedConnection);
        });
        // The start-up notice tells it; a box at the first answer would only repeat it.
        m_saveFailureShown = m_store->unwritable().has_value();
    } else if (opening.heldByAnotherCopy) {
        m_startUpNotice =
            kTitle + QStringLiteral(
                         " è già aperto in un'altra finestra.\n\nIn questa copia le risposte non "
                         "vengono salvate per riprendere una somministrazione interrotta, e quella "
                         "eventualmente in sospeso resta all'altra copia. Per somministrare il "
                         "questionario usare la copia già aperta.");
    } else if (opening.error) {
        m_startUpNotice =
            QStringLiteral("Impossibile preparare la cartella in cui le risposte vengono salvate "
                           "durante la somministrazione. %1\n\nSe il programma si chiude per "
                           "errore, le risposte date non potranno essere riprese.")
                .arg(qtext(opening.error->message()));
    }
}

void RecoveryKeeper::offerAtStartUp() {
    if (!m_startUpNotice.isEmpty()) {
        notify(QMessageBox::Warning, m_startUpNotice);
        m_startUpNotice.clear();
    }
    if (!m_store) {
        return;
    }
    const selvo::RecoveryFinding found = m_store->look();
    if (found.unreadable) {
        const QString why = QStringLiteral("Il file di una somministrazione interrotta non si può "
                                           "leggere: %1\n\n")
                                .arg(shown(*found.unreadable));
        if (found.moveError) {
            notify(QMessageBox::Warning,
                   why + QStringLiteral("Il file è rimasto com'era, ma non è stato possibile "
                                        "metterlo da parte (%1). Finché resta lì le risposte "
                                        "non vengono salvate per la ripresa.")
                             .arg(qtext(found.moveError->message())));
        } else {
            notify(QMessageBox::Warning,
                   why + QStringLiteral("Non è stato eliminato: è conservato come \"%1\". "
                                        "Quella somministrazione non può essere ripresa.")
                             .arg(shown(found.keptAs)));
        }
        return;
    }
    if (const auto& unwritable = m_store->unwritable()) {
        notify(QMessageBox::Warning, unwritableText(*unwritable, found.administration.has_value()));
    }
    if (!found.administration) {
        return;
    }
    const selvo::InterruptedAdministration& administration = *found.administration;
    if (askToResume(QStringLiteral("È stata trovata una somministrazione interrotta, %1")
                        .arg(startedText(administration.startedAt)),
                    administration.answeredItems)) {
        resume(administration);
    } else {
        discardConfirmed();
    }
}

QString RecoveryKeeper::unwritableText(const selvo::FileError& why, bool pending) const {
    const QString cause =
        QStringLiteral("Nella cartella \"%1\", in cui il programma salva le risposte durante "
                       "la somministrazione, non si può scrivere: %2\n\n")
            .arg(shown(m_store->folder()), shown(why.reason));
    if (pending) {
        return cause +
               QStringLiteral("La somministrazione interrotta trovata lì può comunque essere "
                              "ripresa, ma le risposte date da ora in poi non potranno essere "
                              "salvate: se il programma si chiude per errore, andranno perse. "
                              "Per conservarle, rendere scrivibile la cartella e riaprire il "
                              "programma.");
    }
    return cause + QStringLiteral("Se il programma si chiude per errore, le risposte date non "
                                  "potranno essere riprese.");
}

void RecoveryKeeper::discardConfirmed() {
    if (!m_store) {
        return;
    }
    if (const auto error = removeFile()) {
        notify(QMessageBox::Warning,
               QStringLiteral("Impossibile eliminare il file con le risposte della "
                              "somministrazione interrotta, \"%1\": %2\n\nIl file è rimasto "
                              "nella cartella e, finché resta lì, all'avvio il programma "
                              "proporrà di riprendere quelle risposte. Per eliminarle, "
                              "cancellare il file a mano.")
                   .arg(shown(error->fullPath.empty() ? error->fileName : error->fullPath),
                        shown(error->reason)));
    }
}

bool RecoveryKeeper::offerOnReopen() {
    const selvo::Administration& administration = m_state.administration;
    // Only answers given here: a reloaded set lives in its data file already.
    if (!m_store || administration.startedAt.empty() || selvo::isTrue(administration.allAnswered)) {
        return false;
    }
    const int answered = selvo::AnsweredItems(administration.answers);
    if (answered == 0) {
        return false;
    }
    if (!askToResume(QStringLiteral("La somministrazione in corso, %1")
                         .arg(startedText(administration.startedAt)),
                     answered)) {
        discardConfirmed();
        return false;
    }
    showResumed();
    return true;
}

bool RecoveryKeeper::askToResume(const QString& started, int answered) {
    const QString question =
        QStringLiteral("%1: %2.\n\nRiprenderla dal primo item senza risposta?")
            .arg(started,
                 QStringLiteral("contiene ") +
                     qtext(selvo::AnsweredItemsText(answered, selvo::questionnaire::kItemCount)));
    for (;;) {
        if (ask(QMessageBox::Question, question, true)) {
            return true;
        }
        if (confirmDiscard()) {
            return false;
        }
    }
}

bool RecoveryKeeper::confirmDiscard() {
    return ask(QMessageBox::Warning,
               QStringLiteral("Le risposte della somministrazione interrotta saranno eliminate "
                              "e non si potranno più recuperare.\n\nEliminarle?"),
               false);
}

void RecoveryKeeper::resume(const selvo::InterruptedAdministration& administration) {
    selvo::ResumeAdministration(m_state, administration);
    showResumed();
}

void RecoveryKeeper::showResumed() {
    m_showResumedQuestionnaire();
}

void RecoveryKeeper::answerGiven() {
    selvo::NoteAnswerGiven(m_state.administration, selvo::CurrentDateTimeText);
    if (!m_store) {
        return;
    }
    selvo::FileResult<selvo::PendingFile> file = m_store->fileToSave(m_state.administration);
    if (!file.ok()) {
        saveFailed(file.error());
        return;
    }
    m_writer->save(std::move(file).value());
}

void RecoveryKeeper::waitForSaves() {
    if (m_writer) {
        m_writer->waitUntilIdle();
        reportSaveOutcomes();
    }
}

void RecoveryKeeper::reportSaveOutcomes() {
    for (const std::optional<selvo::FileError>& outcome : m_writer->takeOutcomes()) {
        if (outcome) {
            saveFailed(*outcome);
        } else {
            m_saveFailureShown = false;
        }
    }
}

void RecoveryKeeper::saveFailed(const selvo::FileError& error) {
    // Once: the subject is at the screen, and every answer would bring the box back.
    if (m_saveFailureShown) {
        return;
    }
    m_saveFailureShown = true;
    notify(QMessageBox::Warning,
           QStringLiteral("Impossibile salvare le risposte per riprendere la somministrazione "
                          "dopo un'interruzione. %1\n\nLa somministrazione può continuare, ma "
                          "se il programma si chiude per errore le risposte andranno perse.")
               .arg(qtext(error.message())));
}

std::optional<selvo::FileError> RecoveryKeeper::removeFile() {
    if (m_writer) {
        m_writer->cancel();
    }
    return m_store->discard();
}

void RecoveryKeeper::administrationProcessed() {
    // A reloaded set lives in its data file already; a recovery file still on disk then
    // belongs to another administration.
    if (!m_state.administration.startedAt.empty()) {
        administrationEnded();
    }
}

void RecoveryKeeper::administrationEnded() {
    if (m_store) {
        removeFile();
    }
}
