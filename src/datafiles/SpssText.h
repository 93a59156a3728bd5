// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How a text of the record goes into SPSS command syntax: the one way for the subject's command
// file and for a dataset's commands.
#include <string>
#include <string_view>

namespace selvo {

// The text on one line: every control or format character becomes a blank, so that no text
// can end a command line or start another, whatever it holds.
std::string SpssOneLine(std::string_view text);

// The text as a string of a command, on one line: in apostrophes, an apostrophe inside doubled.
std::string SpssQuoted(std::string_view text);

} // namespace selvo
