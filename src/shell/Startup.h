#pragma once
#include "shell/ProgramState.h"

namespace selvo {

inline constexpr double kProgramVersion = 1.18;
inline constexpr const char* kProductName = "BrivanSELVO";

// The constants every start-up sets: title, item count, first item, scale sizes.
void SetProgramConstants(ProgramState& state);

// The four numbers the item bank loader sets again on every load.
void SetItemConstants(ProgramState& state);

} // namespace selvo
