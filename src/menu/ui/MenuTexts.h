// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Fixed texts of the start-up, main-menu and instructions windows, with CR LF line breaks.
#include <string>

namespace selvo {

inline constexpr const char* kCompanyProduct = "Questionnaire SELVO  -  Italian version";

// "References", two line breaks, the first reference, two line breaks, the second.
std::string referencesText();

// The instructions shown to the subject before the questionnaire.
std::string instructionsText();

} // namespace selvo
