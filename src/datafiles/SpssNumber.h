// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How SPSS and PSPP read a field of text into a number, so that a data file we write holds
// the value they would have read from the same text.
#include <optional>
#include <string_view>

namespace selvo {

// The field's number under an F format without implied decimals, or nothing where they keep
// the value missing. Blanks around the field are ignored; then an optional sign (blanks may
// follow it), digits, a decimal point with more digits, and an exponent written as "e" or "d"
// (one blank may follow it), a sign, or both, followed by digits. A lone sign reads as 0
// ("+"), or not at all ("-"); so does a field of nothing but the sign. An empty field, a lone
// point, any other character and a number beyond the range of normal doubles are missing.
std::optional<double> SpssFieldNumber(std::string_view field);

} // namespace selvo
