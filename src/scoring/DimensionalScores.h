#pragma once
#include "scoring/Scores.h"
#include "state/ProgramState.h"

namespace selvo {

// Freezes the answers into ScoreT/ScoreD: scoring reads only the copies.
void CopyAnswers(ProgramState& state);

// The sixteen totals (16-bit, overflow-checked: std::overflow_error) and their percentages.
void ComputeDimensionalScores(ProgramState& state);


} // namespace selvo
