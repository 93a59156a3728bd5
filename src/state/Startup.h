// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "state/ProgramState.h"

namespace selvo {

inline constexpr double kProgramVersion = 1.18;
inline constexpr const char* kProductName = "BrivanSELVO";

// The questionnaire's full English title, shown on the splash and in the report's title block.
inline constexpr const char* kQuestionnaireTitle =
    "Self-report Evaluation of Lasting Variants of Outlook (SELVO)";

// The constants every start-up sets: title, item count, first item, scale sizes.
void SetProgramConstants(ProgramState& state);

// The four numbers the item bank loader sets again on every load.
void SetItemConstants(ProgramState& state);

} // namespace selvo
