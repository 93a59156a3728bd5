// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tells one administration from another whatever its data file is called now: the 188
// answers given.
#include "questionnaire/Answers.h"

#include <string>
#include <string_view>

namespace selvo {

// FNV-1a (64 bits) of the answers, one byte each: the agreement answers to items 1 to 94, then
// the distress answers to items 1 to 94; as 16 lower-case hexadecimal digits. The same on every
// system.
std::string AnswerFingerprint(const AnswerSet& answers);

// Whether the text is written as AnswerFingerprint writes one.
bool isAnswerFingerprint(std::string_view text);

} // namespace selvo
