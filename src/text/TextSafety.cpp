// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/TextSafety.h"

#include "text/InvisibleCharacters.h"
#include "text/Utf8.h"

#include <cstdio>

namespace selvo {

bool isControlOrFormat(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x180E ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x206F) || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB);
}

std::optional<char32_t> firstHiddenCharacter(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Char decoded = decodeUtf8At(utf8, i);
        if (decoded.valid && isControlOrFormat(decoded.codePoint)) {
            return decoded.codePoint;
        }
        i += decoded.length;
    }
    return std::nullopt;
}

std::string visibleEscape(char32_t codePoint) {
    char text[16];
    if (codePoint <= 0xFF) {
        std::snprintf(text, sizeof text, "\\x%02X", static_cast<unsigned>(codePoint));
    } else {
        std::snprintf(text, sizeof text, "\\u%04X", static_cast<unsigned>(codePoint));
    }
    return text;
}

std::string visibleText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char decoded = decodeUtf8At(text, i);
        if (!decoded.valid) {
            shown += visibleEscape(static_cast<unsigned char>(text[i]));
        } else if (isControlOrFormat(decoded.codePoint) ||
                   isInvisibleCharacter(decoded.codePoint)) {
            shown += visibleEscape(decoded.codePoint);
        } else {
            shown.append(text.substr(i, decoded.length));
        }
        i += decoded.length;
    }
    return shown;
}

} // namespace selvo
