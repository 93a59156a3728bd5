#include "shell/ProgramState.h"

#include <stdexcept>
#include <string>

namespace selvo {

std::size_t AnswerTable::checked(int item) {
    if (item < 0 || item >= kSlots) {
        throw std::out_of_range("answer table index " + std::to_string(item) + " outside 0.." +
                                std::to_string(kSlots - 1));
    }
    return static_cast<std::size_t>(item);
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
    state.CaseCode.clear();
    state.SubjectSex = "0";
    state.SubjectMarital = "0";
    state.SubjectEducation = "0";
    state.ReportSubject.clear();
}

} // namespace selvo
