// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <cstddef>
#include <string_view>

namespace selvo {

// One character decoded from UTF-8 and the bytes it took. A malformed, overlong, truncated or
// surrogate sequence is invalid and counts as one byte, so a caller can skip past it.
struct Utf8Char {
    char32_t codePoint;
    std::size_t length;
    bool valid;
};

Utf8Char decodeUtf8At(std::string_view text, std::size_t index);

// How many bytes from `from` on are ASCII: most of every text is, and needs no decoding.
std::size_t asciiRunFrom(std::string_view text, std::size_t from);

} // namespace selvo
