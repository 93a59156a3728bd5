// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/RtfText.h"

#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace selvo {
namespace {

// The bytes rtfText has to look at; every other byte is printable ASCII that stays as it is.
constexpr auto kNeedsLook = [] {
    std::array<bool, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b) {
        table[b] = b < 0x20 || b >= 0x7F;
    }
    for (const unsigned char c : {'\\', '{', '}'}) {
        table[c] = true;
    }
    return table;
}();

bool isC1Control(char32_t code) {
    return code >= 0x80 && code <= 0x9F;
}

bool needsLook(char c) {
    return kNeedsLook[static_cast<unsigned char>(c)];
}

// How many bytes from `from` on stay as they are.
std::size_t plainRunFrom(std::string_view text, std::size_t from) {
    std::size_t end = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a bit of the mask for each byte below 0x20 or from 0x7F up
    // (as signed bytes, both are below 0x20 or equal to 0x7F) and for each of the three
    // characters.
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i del = _mm_set1_epi8(0x7F);
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    while (end + 16 <= text.size()) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + end));
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmplt_epi8(bytes, space), _mm_cmpeq_epi8(bytes, del)),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, backslash),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, open), _mm_cmpeq_epi8(bytes, close))));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (mask != 0) {
            return end + static_cast<std::size_t>(std::countr_zero(mask)) - from;
        }
        end += 16;
    }
#endif
    while (end < text.size() && !needsLook(text[end])) {
        ++end;
    }
    return end - from;
}

// RTF's \u takes a signed 16-bit number; the "?" is what readers without Unicode show.
void appendUnicodeUnit(std::string& out, std::uint16_t unit) {
    out += "\\u";
    out += std::to_string(static_cast<std::int16_t>(unit));
    out += '?';
}

void appendUnicode(std::string& out, char32_t code) {
    if (code < 0x10000) {
        appendUnicodeUnit(out, static_cast<std::uint16_t>(code));
        return;
    }
    const char32_t offset = code - 0x10000;
    appendUnicodeUnit(out, static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
    appendUnicodeUnit(out, static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
}

} // namespace

bool inCp1252(char32_t codePoint) {
    return cp1252ByteOf(codePoint).has_value();
}

std::string bold(std::string_view rtf) {
    std::string out;
    appendBold(out, rtf);
    return out;
}

void appendBold(std::string& out, std::string_view rtf) {
    out += "{\\b ";
    out += rtf;
    out += '}';
}

void addParagraph(std::string& out, std::string_view rtf) {
    out += rtf;
    out += kPar;
}

void addBoldParagraph(std::string& out, std::string_view rtf) {
    appendBold(out, rtf);
    out += kPar;
}

std::string rtfText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    appendRtfText(out, utf8);
    return out;
}

void appendRtfText(std::string& out, std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t plain = plainRunFrom(utf8, i);
        out.append(utf8.substr(i, plain));
        i += plain;
        if (i == utf8.size()) {
            break;
        }
        const char c = utf8[i];
        switch (c) {
        case '\\':
        case '{':
        case '}':
            out += '\\';
            out += c;
            ++i;
            continue;
        case '\r':
            // A typed line break arrives as CR LF, LF or CR; each is one break in the document.
            out += "\\line ";
            i += (i + 1 < utf8.size() && utf8[i + 1] == '\n') ? 2 : 1;
            continue;
        case '\n':
            out += "\\line ";
            ++i;
            continue;
        case '\t':
            out += "\\tab ";
            ++i;
            continue;
        default:
            break;
        }
        // Any other control character would reach the file raw, where a reader may act on it or
        // show a box: it is left out, so the reader shows just the visible text.
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            ++i;
            continue;
        }
        // Malformed bytes come out as the replacement character, one at a time, so a damaged
        // string still produces a readable report. The C1 controls, which code page 1252 does
        // not hold, are left out like the others.
        const Utf8Char decoded = decodeUtf8At(utf8, i);
        if (inCp1252(decoded.codePoint)) {
            out.append(utf8.substr(i, decoded.length));
        } else if (!isC1Control(decoded.codePoint)) {
            appendUnicode(out, decoded.codePoint);
        }
        i += decoded.length;
    }
}

} // namespace selvo
