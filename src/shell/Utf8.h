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

} // namespace selvo
