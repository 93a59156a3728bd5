#include "administration/Completion.h"

namespace selvo {

namespace {
// Only an agreement of 5..7 asks the distress question, so only those need its answer.
bool asksDistress(int agreement) {
    return agreement >= 5 && agreement <= 7;
}
} // namespace

bool AnswersComplete(const ProgramState& state) {
    for (int i = state.FirstItem.asInt(); i <= state.ItemCount.asInt(); ++i) {
        if (state.AnswerT[i] == 0)
            return false;
        if (asksDistress(state.AnswerT[i]) && state.AnswerD[i] == 0)
            return false;
    }
    return true;
}

bool CheckCompletion(ProgramState& state) {
    state.AllAnswered = false;
    if (AnswersComplete(state))
        state.AllAnswered = true;
    return *state.AllAnswered;
}

} // namespace selvo
