// Code page 1252 by a table of our own, so every system converts the same way: the C library's
// converters differ (or are missing) and disagree on the five bytes the code page leaves
// unassigned.
#include "shell/TextFile.h"
#include "shell/Utf8.h"

#include <array>

namespace selvo {
namespace {

// 0x80-0x9F; every other byte is the Unicode character of the same number. The unassigned
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D are read as the C1 controls of the same number, so a file
// from elsewhere loses nothing; they are never written, as no text of ours means them (a text
// holding one is written as UTF-8 instead).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr bool isUnassigned(char32_t c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// The byte for a character, or nothing when the code page has no place for it.
std::optional<unsigned char> byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c && !isUnassigned(c)) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::optional<std::string> toCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) { // most of every file: no decoding needed
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        const Utf8Char decoded = decodeUtf8At(utf8, i);
        if (!decoded.valid) {
            return std::nullopt;
        }
        const auto byte = byteFor(decoded.codePoint);
        if (!byte) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(*byte));
        i += decoded.length;
    }
    return out;
}

std::string fromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else if (b < 0xA0) {
            appendUtf8(out, kHighControls[b - 0x80]);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

bool fitsCp1252(std::string_view utf8) {
    return toCp1252(utf8).has_value();
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Char decoded = decodeUtf8At(bytes, i);
        if (!decoded.valid) {
            return false;
        }
        i += decoded.length;
    }
    return true;
}

} // namespace selvo
