#pragma once
#include "shell/ProgramState.h"

namespace selvo {

// Every item FirstItem..ItemCount answered, and every agreement of 5..7 has a distress answer.
bool AnswersComplete(const ProgramState& state);

// Sets AllAnswered to false, then to true when the answers are complete; returns the flag.
bool CheckCompletion(ProgramState& state);

} // namespace selvo
