// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/ProgramState.h"

namespace selvo {

SubjectRecord EmptySubject() {
    SubjectRecord subject;
    subject.sex = "0";
    subject.marital = "0";
    subject.education = "0";
    return subject;
}

void StoreSubjectSet(ProgramState& state, SubjectRecord subject, const AnswerSet& answers) {
    state.subject = std::move(subject);
    state.administration.answers = answers;
}

void StartNewSubject(ProgramState& state) {
    state.administration = Administration{};
    state.administration.allAnswered = false;
    state.setProcessed = false;
    state.subject = EmptySubject();
    state.setOnDisk.reset();
}

void ResumeAdministration(ProgramState& state, const InterruptedAdministration& administration) {
    StartNewSubject(state);
    state.administration.answers = administration.answers;
    state.administration.startedAt = administration.startedAt;
}

} // namespace selvo
