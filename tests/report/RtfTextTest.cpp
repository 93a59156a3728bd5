// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/RtfText.h"
#include "text/Cp1252.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

namespace selvo {
namespace {

struct EscapeCase {
    const char* name;
    std::string input;
    std::string expected;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class RtfEscaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(RtfEscaping, WritesTextSoRtfReadsItBack) {
    EXPECT_EQ(rtfText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    RtfText, RtfEscaping,
    testing::Values(
        EscapeCase{"plainUnchanged", "GRP1 S01, eta' 41 (note).", "GRP1 S01, eta' 41 (note)."},
        EscapeCase{"cp1252LettersStay", "è à ù € – “x”", "è à ù € – “x”"},
        EscapeCase{"tabAsControlWord", "a\tb", "a\\tab b"},
        EscapeCase{"backslash", "C:\\dati", "C:\\\\dati"},
        EscapeCase{"braces", "{prova}", "\\{prova\\}"},
        EscapeCase{"crLfIsOneBreak", "uno\r\ndue", "uno\\line due"},
        EscapeCase{"loneLf", "uno\ndue", "uno\\line due"},
        EscapeCase{"loneCr", "uno\rdue", "uno\\line due"},
        EscapeCase{"emptyLineKept", "uno\r\n\r\ndue", "uno\\line \\line due"},
        EscapeCase{"romanianLetter", "Ștefan", "\\u536?tefan"},
        EscapeCase{"highBmpIsNegative", "\xEF\xAC\x81", "\\u-1279?"},           // U+FB01
        EscapeCase{"surrogatePair", "\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"}, // U+1F600
        EscapeCase{"c1ControlsLeftOut", "a\xC2\x80\xC2\x81\xC2\x9B[2J\xC2\x9F", "a[2J"},
        EscapeCase{"c0ControlsAndDelLeftOut",
                   std::string("a\0\x01\x07\x0B\x0C\x1B]0;x\x07\x1F\x7F"
                               "b",
                               15),
                   "a]0;xb"},
        EscapeCase{"malformedByteReplaced",
                   "a\xFF"
                   "b",
                   "a\\u-3?b"},
        EscapeCase{"truncatedSequenceReplaced", "a\xC3", "a\\u-3?"}),
    [](const auto& info) { return std::string(info.param.name); });

// Text that needs no escape is copied a block at a time: whatever needs one is found in, before
// and after a block.
TEST(RtfText, EscapesAtEveryPlaceAroundTheBlocksItCopies) {
    const std::pair<std::string, std::string> escapes[] = {
        {"\\", "\\\\"},    {"{", "\\{"},      {"}", "\\}"}, {"\r\n", "\\line "},
        {"\n", "\\line "}, {"\r", "\\line "}, {"è", "è"},   {"Ș", "\\u536?"},
        {"\t", "\\tab "},  {"\x1B", ""},      {"\x7F", ""}, {"\xC2\x9B", ""},
    };
    for (std::size_t before = 0; before <= 40; ++before) {
        const std::string plain(before, 'x');
        for (const auto& [text, rtf] : escapes) {
            EXPECT_EQ(rtfText(plain + text + plain), plain + rtf + plain)
                << before << " before " << rtf;
        }
    }
}

// The escaper decides by itself what stays a single byte; it must agree with the converter
// that writes the file, or a report would fail to save or lose characters.
TEST(RtfText, KeepsExactlyWhatCodePage1252Holds) {
    for (char32_t code = 1; code < 0x3000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) {
            continue;
        }
        std::string utf8;
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
        ASSERT_EQ(inCp1252(code), fitsCp1252(utf8))
            << "U+" << std::hex << static_cast<unsigned>(code);
        ASSERT_TRUE(fitsCp1252(rtfText(utf8))) << "U+" << std::hex << static_cast<unsigned>(code);
    }
}

} // namespace
} // namespace selvo
