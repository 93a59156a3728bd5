// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/ProgramState.h"

namespace selvo {

SubjectRecord SubjectOf(const ProgramState& state) {
    return {state.SubjectName,    state.SubjectSurname,   state.SubjectAge,   state.SubjectSex,
            state.SubjectMarital, state.SubjectEducation, state.SubjectNotes, state.Card};
}

void StoreSubjectSet(ProgramState& state, SubjectRecord subject, const AnswerSet& answers) {
    state.Card = subject.card;
    state.SubjectName = std::move(subject.name);
    state.SubjectSurname = std::move(subject.surname);
    state.SubjectAge = std::move(subject.age);
    state.SubjectSex = std::move(subject.sex);
    state.SubjectMarital = std::move(subject.marital);
    state.SubjectEducation = std::move(subject.education);
    state.SubjectNotes = std::move(subject.notes);
    // Slot 0 is the notice page's, not an item's: a set brought in leaves it as it is.
    for (int item = questionnaire::kFirstItem; item <= questionnaire::kItemCount; ++item) {
        state.AnswerT[item] = answers.agreement[item];
        state.AnswerD[item] = answers.distress[item];
    }
}

AnswerSet AnswersOf(const ProgramState& state) {
    return {state.AnswerT, state.AnswerD};
}

void StartNewSubject(ProgramState& state) {
    state.AnswerT.clear();
    state.AnswerD.clear();
    state.CurrentItem = 0;
    state.AllAnswered = false;
    state.SetProcessed = false;
    state.AdministrationStarted.clear();
    state.Card = 0;
    state.SubjectName.clear();
    state.SubjectSurname.clear();
    state.SubjectAge.clear();
    state.SubjectNotes.clear();
    state.SubjectSex = "0";
    state.SubjectMarital = "0";
    state.SubjectEducation = "0";
    state.SetOnDisk.reset();
}

} // namespace selvo
