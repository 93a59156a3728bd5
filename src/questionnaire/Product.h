// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The program's name and version, as its windows, messages and files show them.
#include "questionnaire/ProgramVersion.h"

#include <string>

namespace selvo {

inline constexpr const char* kProductName = "BrivanSELVO";

// The questionnaire's full English title, shown on the splash and in the report's title block.
inline constexpr const char* kQuestionnaireTitle =
    "Self-report Evaluation of Lasting Variants of Outlook (SELVO)";

// The version as the program has always printed it: as Visual Basic's Str() gave the number,
// with a blank before it where a minus sign would stand (" 1.18").
inline std::string printedVersion() {
    return std::string(" ") + kProgramVersion;
}

} // namespace selvo
