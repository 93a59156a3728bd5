// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the program calls itself: its name on windows and boxes, its version, and the
// questionnaire's full title.

namespace selvo {

inline constexpr double kProgramVersion = 1.18;
inline constexpr const char* kProductName = "BrivanSELVO";

// The questionnaire's full English title, shown on the splash and in the report's title block.
inline constexpr const char* kQuestionnaireTitle =
    "Self-report Evaluation of Lasting Variants of Outlook (SELVO)";

} // namespace selvo
