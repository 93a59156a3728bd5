// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wildcards in selvo-batch's file arguments. A Unix shell expands `study/*.csv` before the
// program starts; cmd and PowerShell pass it on as it stands, so on Windows the program
// expands it itself, the way a shell would.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace selvo {

// Whether the program expands patterns itself: on Windows, where no shell does.
#ifdef _WIN32
inline constexpr bool kProgramExpandsPatterns = true;
#else
inline constexpr bool kProgramExpandsPatterns = false;
#endif

// Whether an argument holds `*` or `?`, which no Windows file name can.
bool isNamePattern(std::string_view given);

// Whether a name matches one path component of a pattern: `*` stands for any run of
// characters, `?` for one; letters compare as a Windows volume compares them, whatever their
// case. A name that begins with "." matches only a pattern that does too, as in a shell.
bool nameMatches(std::string_view pattern, std::string_view name);

// The paths a pattern names, in name order, each spelled as the pattern is up to the
// wildcards: "study\*.csv" gives "study\a.csv", "study\b.csv". A wildcard in a folder's part
// goes through the folders that match. The Italian reason when nothing matches.
std::variant<std::vector<std::string>, std::string> expandNamePattern(const std::string& pattern);

} // namespace selvo
