// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tells one administration from another whatever its data file is called now, and
// whatever name or surname it holds after a correction: its answers and the subject's data
// given with them.
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"

#include <string>
#include <string_view>

namespace selvo {

// FNV-1a (64 bits), as 16 lower-case hexadecimal digits, of: the agreement answers to items 1
// to 94, then the distress answers to items 1 to 94, one byte each; then the card number in
// decimal, the age, and the codes of sex, marital status and education, each text followed by
// a zero byte. Names, surnames and notes are left out. The same on every system.
std::string AdministrationFingerprint(const SubjectRecord& subject, const AnswerSet& answers);

// Whether the text is written as AdministrationFingerprint writes one.
bool isAdministrationFingerprint(std::string_view text);

} // namespace selvo
