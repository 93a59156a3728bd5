// SPDX-License-Identifier: GPL-3.0-or-later
// How a data file's bytes are taken: what other programs made of it, and which encoding
// its text is read in.

#include "datafiles/DataFile.h"

#include "DataFileFixture.h"
#include "batch/BatchRun.h"
#include "datafiles/DataFileRecord.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace datafile_fixture;

// The same record as a spreadsheet in Italian saves it: semicolons between the fields, with the
// quotes or without them.
std::string withSemicolons(std::string line, bool quoted) {
    std::replace(line.begin(), line.end(), ',', ';');
    if (!quoted) {
        std::erase(line, '"');
    }
    return line;
}

// The same record as another program saves it: in UTF-16, "testo Unicode".
std::string asUtf16(const std::string& ascii, bool bigEndian, bool marked) {
    std::string bytes = marked ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (const char c : ascii) {
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return bytes;
}

struct ForeignCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> said; // parts of the reason
};
void PrintTo(const ForeignCase& c, std::ostream* os) {
    *os << c.name;
}

class ForeignFile : public testing::TestWithParam<ForeignCase> {};

// What another program made of a data file is named, with the way back to one that reads.
TEST_P(ForeignFile, IsRefusedSayingWhatItIs) {
    const selvo::DataFileParse parse = selvo::parseDataFile(GetParam().bytes);
    ASSERT_FALSE(parse.record);
    for (const std::string& said : GetParam().said) {
        EXPECT_NE(parse.fault.find(said), std::string::npos) << parse.fault;
    }
}

INSTANTIATE_TEST_SUITE_P(
    DataFile, ForeignFile,
    testing::Values(
        // An Italian spreadsheet's CSV: semicolons, with or without the quotes.
        ForeignCase{"SemicolonsQuoted",
                    replaced(withSemicolons(kOrdinaryLine, true), "\"\";", "\"prima, poi\";"),
                    {"separati da punti e virgola", "foglio di calcolo", "file di dati originale",
                     "la virgola come separatore"}},
        ForeignCase{"SemicolonsUnquoted",
                    withSemicolons(kOrdinaryLine, false),
                    {"separati da punti e virgola"}},
        ForeignCase{"Utf16LittleEndianMarked",
                    asUtf16(kOrdinaryLine, false, true),
                    {"UTF-16 little-endian", "«Testo Unicode»", "«Unicode (UTF-8)»"}},
        ForeignCase{
            "Utf16LittleEndian", asUtf16(kOrdinaryLine, false, false), {"UTF-16 little-endian"}},
        ForeignCase{
            "Utf16BigEndianMarked", asUtf16(kOrdinaryLine, true, true), {"UTF-16 big-endian"}},
        ForeignCase{"Utf16BigEndian", asUtf16(kOrdinaryLine, true, false), {"UTF-16 big-endian"}},
        // Zero bytes after a record cut short, or instead of it.
        ForeignCase{"TruncatedThenZeros",
                    kOrdinaryLine.substr(0, 300) + std::string(512, '\0'),
                    {"il file ha ", "termina con 512 byte nulli", "copia integra"}},
        ForeignCase{"OnlyZeros", std::string(4096, '\0'), {"solo byte nulli"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodingCase {
    const char* name;
    std::string nameField; // field 2 as the file holds it
    std::string notesField;
    std::string expectedName;
};
void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class FileEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(FileEncoding, DecidesHowTheNameReads) {
    const std::string bytes = replaced(fieldReplaced(2, GetParam().nameField), ",\"4\",\"\",",
                                       ",\"4\"," + GetParam().notesField + ",");
    const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
    ASSERT_TRUE(parse.record) << parse.fault;
    EXPECT_EQ(parse.record->subject.name, GetParam().expectedName);
}

INSTANTIATE_TEST_SUITE_P(
    DataFile, FileEncoding,
    testing::Values(
        // What a text editor saves: UTF-8 without a byte-order mark.
        EncodingCase{"Utf8WithoutMark", "\"Niccol\xC3\xB2\"", "\"\"", "Niccolò"},
        EncodingCase{"Utf8WithoutMarkFourByteCharacter", "\"S\xF0\x9F\x98\x80\"", "\"\"", "S😀"},
        EncodingCase{"CodePage1252", "\"Niccol\xF2\"", "\"\"", "Niccolò"},
        // One byte that is not UTF-8 anywhere in the file: the whole file is code page 1252.
        EncodingCase{"MixedIsCodePage1252", "\"Niccol\xC3\xB2\"", "\"et\xE0\"", "NiccolÃ²"},
        EncodingCase{"Ascii", "\"S01\"", "\"\"", "S01"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelvoBatchOnABomLessUtf8File, WritesTheNameCorrectlyIntoTheDataFileAndTheReport) {
    TempDir dir;
    writeBytes(dir.file("editor.csv"), fieldReplaced(2, "\"Niccol\xC3\xB2\""));
    std::ostringstream out;
    std::ostringstream err;
    const auto options =
        std::get<selvo::BatchOptions>(selvo::ParseBatchArguments({"--out", "out", "editor.csv"}));
    ASSERT_EQ(selvo::RunBatch(options, {out, err, selvo::ProgressLine::None}), 0) << err.str();
    // Both go out in code page 1252, which holds "ò", under the name spelt right.
    const auto file = [&dir](const std::string& name) {
        return fileBytes(dir.path() / "out" / selvo::pathFromUtf8(name));
    };
    EXPECT_EQ(file("SELVO_GRP1_Niccolò.csv"), replaced(kOrdinaryLine, "S01", "Niccol\xF2"));
    EXPECT_NE(file("SELVO_GRP1_Niccolò_report.rtf").find("{\\b Niccol\xF2}"), std::string::npos);
}

} // namespace
