#include "shell/Utf8.h"

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

} // namespace selvo
