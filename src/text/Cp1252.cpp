// SPDX-License-Identifier: GPL-3.0-or-later

// Code page 1252 by a table of our own, so every system converts the same way: the C library's
// converters differ (or are missing) and disagree on the five bytes the code page leaves
// unassigned.
#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstring>

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

struct Placed {
    char16_t character;
    unsigned char byte;
    constexpr bool operator<(const Placed& other) const { return character < other.character; }
};

// The 27 characters with a place at 0x80-0x9F, sorted by character for a binary search.
constexpr auto kPlaceOfCharacter = [] {
    std::array<Placed, 27> table{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (!isUnassigned(kHighControls[i])) {
            table.at(n++) = {kHighControls[i], static_cast<unsigned char>(0x80 + i)};
        }
    }
    std::sort(table.begin(), table.end());
    return table;
}();

// UTF-8 of every byte from 0x80 on: at most three bytes, the count in front.
constexpr auto kUtf8OfHighByte = [] {
    std::array<std::array<char, 4>, 128> table{};
    for (std::size_t b = 0x80; b <= 0xFF; ++b) {
        const char32_t c = b < 0xA0 ? kHighControls[b - 0x80] : b;
        auto& utf8 = table[b - 0x80];
        if (c < 0x800) {
            utf8 = {2, static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            utf8 = {3, static_cast<char>(0xE0 | (c >> 12)),
                    static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return table;
}();

} // namespace

std::optional<unsigned char> cp1252ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    if (c > 0xFFFF) {
        return std::nullopt;
    }
    const Placed key{static_cast<char16_t>(c), 0};
    const auto* const found =
        std::lower_bound(kPlaceOfCharacter.begin(), kPlaceOfCharacter.end(), key);
    if (found == kPlaceOfCharacter.end() || found->character != c) {
        return std::nullopt;
    }
    return found->byte;
}

std::optional<std::string> toCp1252(std::string_view utf8) {
    std::string text(utf8);
    if (!toCp1252InPlace(text)) {
        return std::nullopt;
    }
    return text;
}

bool toCp1252InPlace(std::string& text) {
    // A character never takes more bytes in the code page than in UTF-8, so the converted text
    // never overtakes the text still to be read.
    std::size_t read = asciiRunFrom(text, 0); // most of every file: it stays where it is
    std::size_t write = read;
    while (read < text.size()) {
        const Utf8Char decoded = decodeUtf8At(text, read);
        const auto byte = decoded.valid ? cp1252ByteOf(decoded.codePoint) : std::nullopt;
        if (!byte) {
            // Everything converted so far had its place, so its UTF-8 comes back exactly.
            text.replace(0, read, fromCp1252(std::string_view(text).substr(0, write)));
            return false;
        }
        text[write++] = static_cast<char>(*byte);
        read += decoded.length;
        const std::size_t ascii = asciiRunFrom(text, read);
        std::memmove(text.data() + write, text.data() + read, ascii);
        write += ascii;
        read += ascii;
    }
    text.resize(write);
    return true;
}

std::string fromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t ascii = asciiRunFrom(bytes, i);
        out.append(bytes.substr(i, ascii));
        i += ascii;
        if (i < bytes.size()) {
            const auto& utf8 = kUtf8OfHighByte[static_cast<unsigned char>(bytes[i]) - 0x80];
            out.append(utf8.data() + 1, static_cast<std::size_t>(utf8[0]));
            ++i;
        }
    }
    return out;
}

bool fitsCp1252(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        i += asciiRunFrom(utf8, i);
        if (i == utf8.size()) {
            break;
        }
        const Utf8Char decoded = decodeUtf8At(utf8, i);
        if (!decoded.valid || !cp1252ByteOf(decoded.codePoint)) {
            return false;
        }
        i += decoded.length;
    }
    return true;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        i += asciiRunFrom(bytes, i);
        if (i == bytes.size()) {
            break;
        }
        const Utf8Char decoded = decodeUtf8At(bytes, i);
        if (!decoded.valid) {
            return false;
        }
        i += decoded.length;
    }
    return true;
}

} // namespace selvo
