#pragma once
#include "state/ProgramState.h"

namespace selvo {

// Rebuild ReportCategorical[algorithm] / ReportCriteria[algorithm] from the criteria results
// currently in the score record.
void BuildCategoricalSection(ProgramState& state, Algorithm algorithm);
void BuildCriteriaSection(ProgramState& state, Algorithm algorithm);

} // namespace selvo
