// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Text typed by a person or read from a file is shown and stored, never obeyed: what a one-line
// field may not hold, and how a message shows characters that would act instead of show.
#include <optional>
#include <string>
#include <string_view>

namespace selvo {

// C0 and C1 controls and DEL, and the invisible format characters that reorder or hide text:
// bidirectional marks, embeddings, overrides and isolates, zero-width characters, the word
// joiner and invisible operators, the byte-order mark.
bool isControlOrFormat(char32_t codePoint);

// The first such character of a UTF-8 text; malformed bytes are not reported here.
std::optional<char32_t> firstHiddenCharacter(std::string_view utf8);

// One character as an escape a person can read: "\x0A", "\x9B", "\u202E".
std::string visibleEscape(char32_t codePoint);

// The text with every control, format or invisible character (isInvisibleCharacter), and every
// byte that is not UTF-8, shown as a visible escape; everything else as it is. For any text
// that reaches a message.
std::string visibleText(std::string_view text);

} // namespace selvo
