#pragma once
#include "state/ProgramState.h"

namespace selvo {

// A criterion is met when distress >= 2 and agreement >= traitMinimum. Overwrites every
// criteria slot, count, diagnosis and cluster total of the one shared set.
void ComputeCriteria(ProgramState& state, int traitMinimum);

void ComputeCriteriaX4(ProgramState& state); // T > 4 & D > 1
void ComputeCriteriaX5(ProgramState& state); // T > 5 & D > 1

} // namespace selvo
