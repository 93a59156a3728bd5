// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Code page 1252, the one Word, SPSS and spreadsheets on an Italian Windows read without being
// told, and the UTF-8 the program holds its text in.
#include <optional>
#include <string>
#include <string_view>

namespace selvo {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// UTF-8 to code page 1252; nothing when some character has no place in the code page.
std::optional<std::string> toCp1252(std::string_view utf8);

// The same conversion in the text's own storage, for whole files; false, and the text
// unchanged, when some character has no place in the code page.
bool toCp1252InPlace(std::string& text);

// Code page 1252 to UTF-8 (the five unassigned bytes map to their C1 control points).
std::string fromCp1252(std::string_view bytes);

bool fitsCp1252(std::string_view utf8);

// The code page 1252 byte of one character, or nothing when the code page has no place for it.
std::optional<unsigned char> cp1252ByteOf(char32_t codePoint);

// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

} // namespace selvo
