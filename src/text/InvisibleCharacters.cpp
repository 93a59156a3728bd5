// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/InvisibleCharacters.h"

#include "text/TextSafety.h"
#include "text/Utf8.h"

#include <array>
#include <cstdio>

namespace selvo {
namespace {

struct InvisibleRange {
    char32_t first, last;
    const char* name;
};

constexpr const char* kReserved = "carattere invisibile riservato";

// In code point order; every range holds only invisible characters.
constexpr std::array kInvisible{
    InvisibleRange{0x00AD, 0x00AD, "trattino morbido"},
    InvisibleRange{0x034F, 0x034F, "congiuntore di grafemi"},
    InvisibleRange{0x061C, 0x061C, "segno di direzione araba"},
    InvisibleRange{0x115F, 0x1160, "riempitivo hangul"},
    InvisibleRange{0x17B4, 0x17B5, "vocale khmer invisibile"},
    InvisibleRange{0x180B, 0x180D, "selettore di variante mongolo"},
    InvisibleRange{0x180E, 0x180E, "separatore vocalico mongolo"},
    InvisibleRange{0x180F, 0x180F, "selettore di variante mongolo"},
    InvisibleRange{0x200B, 0x200B, "spazio a larghezza zero"},
    InvisibleRange{0x200C, 0x200C, "non-congiuntore a larghezza zero"},
    InvisibleRange{0x200D, 0x200D, "congiuntore a larghezza zero"},
    InvisibleRange{0x200E, 0x200E, "segno da sinistra a destra"},
    InvisibleRange{0x200F, 0x200F, "segno da destra a sinistra"},
    InvisibleRange{0x2028, 0x2028, "separatore di riga"},
    InvisibleRange{0x2029, 0x2029, "separatore di paragrafo"},
    InvisibleRange{0x202A, 0x202A, "incorporamento da sinistra a destra"},
    InvisibleRange{0x202B, 0x202B, "incorporamento da destra a sinistra"},
    InvisibleRange{0x202C, 0x202C, "fine di incorporamento o forzatura"},
    InvisibleRange{0x202D, 0x202D, "forzatura da sinistra a destra"},
    InvisibleRange{0x202E, 0x202E, "forzatura da destra a sinistra"},
    InvisibleRange{0x2060, 0x2060, "unione di parole"},
    InvisibleRange{0x2061, 0x2064, "operatore matematico invisibile"},
    InvisibleRange{0x2065, 0x2065, kReserved},
    InvisibleRange{0x2066, 0x2069, "isolamento di direzione"},
    InvisibleRange{0x206A, 0x206F, "carattere di formato in disuso"},
    InvisibleRange{0x2800, 0x2800, "cella braille vuota"},
    InvisibleRange{0x3164, 0x3164, "riempitivo hangul"},
    InvisibleRange{0xFE00, 0xFE0F, "selettore di variante"},
    InvisibleRange{0xFEFF, 0xFEFF, "segno di ordine dei byte"},
    InvisibleRange{0xFFA0, 0xFFA0, "riempitivo hangul a metà larghezza"},
    InvisibleRange{0xFFF0, 0xFFF8, kReserved},
    InvisibleRange{0xFFF9, 0xFFFB, "segno di annotazione interlineare"},
    InvisibleRange{0x1BCA0, 0x1BCA3, "controllo di formato stenografico"},
    InvisibleRange{0x1D173, 0x1D17A, "controllo di formato musicale"},
    InvisibleRange{0xE0000, 0xE0000, kReserved},
    InvisibleRange{0xE0001, 0xE0001, "etichetta di lingua"},
    InvisibleRange{0xE0002, 0xE001F, kReserved},
    InvisibleRange{0xE0020, 0xE007F, "carattere etichetta (tag)"},
    InvisibleRange{0xE0080, 0xE00FF, kReserved},
    InvisibleRange{0xE0100, 0xE01EF, "selettore di variante"},
    InvisibleRange{0xE01F0, 0xE0FFF, kReserved},
};

const InvisibleRange* rangeOf(char32_t c) {
    if (c < kInvisible.front().first) {
        return nullptr; // all of ASCII and Latin-1 up to the soft hyphen: most of every text
    }
    for (const InvisibleRange& range : kInvisible) {
        if (c < range.first) {
            return nullptr;
        }
        if (c <= range.last) {
            return &range;
        }
    }
    return nullptr;
}

} // namespace

bool isInvisibleCharacter(char32_t codePoint) {
    return rangeOf(codePoint) != nullptr;
}

bool breaksLine(char32_t codePoint) {
    return codePoint == 0x2028 || codePoint == 0x2029;
}

std::string invisibleCharacterName(char32_t codePoint) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    const InvisibleRange* range = rangeOf(codePoint);
    return range == nullptr ? std::string(code) : std::string(code) + " " + range->name;
}

std::optional<UnseenCharacter> firstUnseenCharacter(std::string_view utf8) {
    std::size_t position = 1;
    for (std::size_t i = 0; i < utf8.size(); ++position) {
        const Utf8Char decoded = decodeUtf8At(utf8, i);
        if (decoded.valid &&
            (isControlOrFormat(decoded.codePoint) || isInvisibleCharacter(decoded.codePoint))) {
            return UnseenCharacter{decoded.codePoint, position};
        }
        i += decoded.length;
    }
    return std::nullopt;
}

std::string nthCharacter(std::size_t position) {
    return "il " + std::to_string(position) + "° carattere";
}

} // namespace selvo
