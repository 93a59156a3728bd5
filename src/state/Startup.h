// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "state/ProgramState.h"

namespace selvo {

// The constants every start-up sets: title, item count, first item, scale sizes.
void SetProgramConstants(ProgramState& state);

// The four numbers the item bank loader sets again on every load.
void SetItemConstants(ProgramState& state);

} // namespace selvo
