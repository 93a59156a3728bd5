// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the main program's windows share during a sitting: the administration in hand, the
// subject record the operator confirmed, where the files go and which files hold the set.
// The core below never sees this record: the forms hand it values and take values back.
#include "administration/Administration.h"
#include "administration/Recovery.h"
#include "questionnaire/Subject.h"
#include "subject/StaleSet.h"

#include <optional>
#include <string>

namespace selvo {

struct ProgramState {
    Administration administration;
    SubjectRecord subject;
    // Whether the set in hand (typed or reloaded) has been processed successfully: the next
    // administration from the main menu then belongs to a new subject.
    bool setProcessed = false;
    // The file the operator picked in the open dialog, handed on to the reload.
    std::string selectedFile;
    // Where processing writes a subject's files (absolute).
    std::string outputFolder;
    // The data file on disk that holds the set in hand, when there is one: the file a reload
    // read, then the one each processing run in the window wrote. A run under another surname
    // or name leaves that file's set behind, which the operator is offered to discard.
    std::optional<StoredSet> setOnDisk;
};

// A subject record as a new subject starts: empty texts and the three codes "0".
SubjectRecord EmptySubject();

// Puts a subject record and its answers into the state in one step, as a reload takes in a
// data file.
void StoreSubjectSet(ProgramState& state, SubjectRecord subject, const AnswerSet& answers);

// Forgets the subject in hand so that nothing of it reaches the next one: no answers, no
// scores, an empty subject record with the three codes "0", the cursor on the notice page.
void StartNewSubject(ProgramState& state);

// The interrupted administration becomes the set in hand, as a new subject's.
void ResumeAdministration(ProgramState& state, const InterruptedAdministration& administration);

inline bool isTrue(const std::optional<bool>& flag) {
    return flag.value_or(false);
}

} // namespace selvo
