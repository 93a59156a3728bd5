#include "report/RtfText.h"

#include "shell/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace selvo {
namespace {

// The characters code page 1252 puts at 0x80..0x9F, where Latin-1 has control codes.
constexpr std::array<char32_t, 27> kWindowsExtras{
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

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
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return true;
    }
    return std::find(kWindowsExtras.begin(), kWindowsExtras.end(), codePoint) !=
           kWindowsExtras.end();
}

std::string bold(std::string_view rtf) {
    std::string out = "{\\b ";
    out += rtf;
    out += '}';
    return out;
}

std::string rtfText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
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
        default:
            break;
        }
        // Malformed bytes come out as the replacement character, one at a time, so a damaged
        // string still produces a readable report.
        const Utf8Char decoded = decodeUtf8At(utf8, i);
        if (inCp1252(decoded.codePoint)) {
            out.append(utf8.substr(i, decoded.length));
        } else {
            appendUnicode(out, decoded.codePoint);
        }
        i += decoded.length;
    }
    return out;
}

} // namespace selvo
