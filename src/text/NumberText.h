// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <string>

namespace selvo {

// The one conversion of a number to text for screens and the report: at most 15 significant
// digits, point as decimal separator, no trailing zeros, a leading blank for zero and positive
// values ("-0" prints as " 0").
std::string numberText(double value);
// The same at the end of `out`, for the long runs of numbers the files hold.
void appendNumberText(std::string& out, double value);

// Integers in the data files: decimal digits, no sign blank.
std::string integerText(long value);
void appendIntegerText(std::string& out, long value);

} // namespace selvo
