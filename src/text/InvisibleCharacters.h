// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Characters that show nothing, or break a line, where a one-line name is read: "Ros\u00ADsi"
// looks like "Rossi" on screen and in the report, yet names other files and another row of
// the dataset. A name holding one is refused, with the character named, never cleaned
// silently.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace selvo {

// Unicode's default-ignorable code points, the line and paragraph separators U+2028 and
// U+2029, the blank Braille cell U+2800, and the invisible format characters of
// isControlOrFormat from U+00A0 on.
bool isInvisibleCharacter(char32_t codePoint);

// Whether the character ends a line rather than hiding: U+2028, U+2029.
bool breaksLine(char32_t codePoint);

// The character as a message names it: "U+00AD trattino morbido".
std::string invisibleCharacterName(char32_t codePoint);

// A character that acts or hides instead of showing, and where it is: the n-th character of
// the text, counted from 1.
struct UnseenCharacter {
    char32_t codePoint;
    std::size_t position;
};

// The first control, format or invisible character of a UTF-8 text; malformed bytes count as
// one character each and are not reported here.
std::optional<UnseenCharacter> firstUnseenCharacter(std::string_view utf8);

// "il 3° carattere".
std::string nthCharacter(std::size_t position);

} // namespace selvo
