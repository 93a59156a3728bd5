// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/NameCase.h"

#include "text/Utf8.h"

namespace selvo {
namespace {

char32_t lowerOf(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    if (c == 0x178) { // Ÿ
        return 0xFF;
    }
    // Latin Extended-A pairs each capital with the small letter after it, the capital even
    // up to U+0137 and from U+014A, odd in between and after U+0178; İ and ı fold with
    // neither.
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
        (c >= 0x218 && c <= 0x21B)) {
        return c | 1;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) != 0 ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
        return c + 0x20;
    }
    // The Greek capitals with an accent.
    if (c == 0x386) {
        return 0x3AC;
    }
    if (c >= 0x388 && c <= 0x38A) {
        return c + 0x25;
    }
    if (c == 0x38C || c == 0x38E || c == 0x38F) {
        return c + 0x40 - (c == 0x38C ? 0 : 1);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 0x20;
    }
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else { // every folded letter lies below U+0800
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string foldNameCase(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Char c = decodeUtf8At(utf8, i);
        const char32_t lower = c.valid ? lowerOf(c.codePoint) : c.codePoint;
        if (!c.valid || lower == c.codePoint) {
            folded.append(utf8.substr(i, c.length));
        } else {
            appendUtf8(folded, lower);
        }
        i += c.length;
    }
    return folded;
}

} // namespace selvo
