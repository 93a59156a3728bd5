// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keeps the administration in progress on disk, answer by answer, and offers it back when the
// program starts after a crash, a power cut or a window closed by mistake. The saves are written
// on a thread of their own: the questionnaire never waits for the disk.
#include "administration/Recovery.h"
#include "administration/RecoveryWriter.h"
#include "state/ProgramState.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class RecoveryKeeper {
public:
    // `showResumed` puts the questionnaire on screen at the first item still unanswered,
    // keeping the answers in hand.
    RecoveryKeeper(selvo::ProgramState& state, std::function<void()> showResumed)
        : m_state(state), m_showResumedQuestionnaire(std::move(showResumed)) {}

    // Keeps administrations in this folder, unless another copy of the program already does.
    // Until this is called nothing is kept (the form tests).
    void useFolder(const std::string& folder);

    // After the splash: what a second copy or an unusable folder means for the operator, a
    // recovery file that cannot be read, or the question whether to resume.
    void offerAtStartUp();

    // The questionnaire is about to be opened again while an incomplete set is in hand (its
    // window was closed, perhaps by mistake): true when the operator chose to go on with it
    // and the questionnaire is on screen; false when it is to start afresh.
    bool offerOnReopen();

    // The subject has just given an answer on the questionnaire: it is saved in the background.
    void answerGiven();

    // Until the answers given so far are on the disk, and a failure to save them told. The
    // program's end waits for them too.
    void waitForSaves();

    // The set in hand is saved in its own files, or a new subject starts: nothing to recover.
    // A save still under way is waited for, so that it cannot bring the file back.
    void administrationProcessed();
    void administrationEnded();

private:
    void resume(const selvo::InterruptedAdministration& administration);
    bool confirmDiscard();
    // The operator confirmed: the file goes, or the operator learns why it could not.
    void discardConfirmed();
    QString unwritableText(const selvo::FileError& why, bool pending) const;
    // Asks until the operator resumes (true) or confirms the removal (false).
    bool askToResume(const QString& started, int answered);
    void showResumed();
    // The writer's outcomes, told on this thread: a failure once, until a save succeeds again.
    void reportSaveOutcomes();
    void saveFailed(const selvo::FileError& error);
    std::optional<selvo::FileError> removeFile();

    selvo::ProgramState& m_state;
    std::function<void()> m_showResumedQuestionnaire;
    std::optional<selvo::RecoveryStore> m_store;
    QString m_startUpNotice;
    bool m_saveFailureShown = false;
    QObject m_context; // where the writer's outcomes are told, on the window's thread
    // Last: it ends first, writing the newest answers while the store still holds the lock.
    std::unique_ptr<selvo::RecoveryWriter> m_writer;
};
