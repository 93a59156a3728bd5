#pragma once
#include "shell/ProgramState.h"

namespace selvo {

// Freezes the answers into ScoreT/ScoreD: scoring reads only the copies.
void CopyAnswers(ProgramState& state);

// The sixteen totals (16-bit, overflow-checked: std::overflow_error) and their percentages.
void ComputeDimensionalScores(ProgramState& state);

// x cut (not rounded) to two decimals: 0.4107 -> 0.41, -0.1666 -> -0.16.
double TruncateTo2(double x);

} // namespace selvo
