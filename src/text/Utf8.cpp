// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/Utf8.h"

#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace selvo {

Utf8Char decodeUtf8At(std::string_view text, std::size_t index) {
    const Utf8Char invalid{0xFFFD, 1, false};
    const auto lead = static_cast<unsigned char>(text[index]);
    std::size_t extra = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        return {lead, 1, true};
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        return invalid;
    }
    if (index + extra >= text.size()) {
        return invalid;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[index + k]);
        if ((next & 0xC0) != 0x80) {
            return invalid;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (extra == 1 && code < 0x80) || (extra == 2 && code < 0x800) ||
                          (extra == 3 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return invalid;
    }
    return {code, extra + 1, true};
}

std::size_t asciiRunFrom(std::string_view text, std::size_t from) {
    std::size_t end = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time, as most texts are long runs of ASCII: the mask has a bit for
    // each byte from 0x80 up.
    while (end + 16 <= text.size()) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + end));
        if (const auto high = static_cast<unsigned>(_mm_movemask_epi8(bytes)); high != 0) {
            return end + static_cast<std::size_t>(std::countr_zero(high)) - from;
        }
        end += 16;
    }
#endif
    while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) {
        ++end;
    }
    return end - from;
}

} // namespace selvo
