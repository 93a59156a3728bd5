#include "state/ProgramState.h"


namespace selvo {

SubjectRecord SubjectOf(const ProgramState& state) {
    return {state.SubjectName,    state.SubjectSurname,   state.SubjectAge,   state.SubjectSex,
            state.SubjectMarital, state.SubjectEducation, state.SubjectNotes, state.Card};
}

AnswerSet AnswersOf(const ProgramState& state) {
    return {state.AnswerT, state.AnswerD};
}

void StartNewSubject(ProgramState& state) {
    state.AnswerT.clear();
    state.AnswerD.clear();
    state.ScoreT.clear();
    state.ScoreD.clear();
    state.Scores = ScoreRecord{};
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
