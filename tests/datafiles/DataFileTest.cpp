// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/DataFile.h"
#include "batch/BatchRun.h"
#include "datafiles/DataFileRecord.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace {

using selvo::ProgramState;

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Subject S01 of group GRP1, agreement 1,2,..,7 repeating, distress 1,2,3 repeating.
ProgramState ordinarySubject() {
    ProgramState state;
    state.SubjectName = "S01";
    state.SubjectSurname = "GRP1";
    state.SubjectAge = "35";
    state.SubjectSex = "1";
    state.SubjectMarital = "2";
    state.SubjectEducation = "4";
    for (int k = 1; k <= 94; ++k) {
        state.AnswerT[k] = static_cast<selvo::Integer>(1 + (k - 1) % 7);
        state.AnswerD[k] = static_cast<selvo::Integer>(1 + (k - 1) % 3);
    }
    return state;
}

std::string repeated(const std::string& cycle, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += cycle;
    }
    return text;
}

const std::string kOrdinaryLine = "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"4\",\"\"," +
                                  repeated("1,2,3,4,5,6,7,", 13) + "1,2,3," +
                                  repeated("1,2,3,", 31) + "1\r\n";

void expectSameRecord(const ProgramState& actual, const ProgramState& expected) {
    EXPECT_EQ(actual.Card, expected.Card);
    EXPECT_EQ(actual.SubjectName, expected.SubjectName);
    EXPECT_EQ(actual.SubjectSurname, expected.SubjectSurname);
    EXPECT_EQ(actual.SubjectAge, expected.SubjectAge);
    EXPECT_EQ(actual.SubjectSex, expected.SubjectSex);
    EXPECT_EQ(actual.SubjectMarital, expected.SubjectMarital);
    EXPECT_EQ(actual.SubjectEducation, expected.SubjectEducation);
    EXPECT_EQ(actual.SubjectNotes, expected.SubjectNotes);
    EXPECT_TRUE(actual.AnswerT == expected.AnswerT);
    EXPECT_TRUE(actual.AnswerD == expected.AnswerD);
}

// Reads the file into the state as the reload does: in one step, or not at all.
std::optional<selvo::FileError> readInto(ProgramState& state, const std::string& path) {
    selvo::FileResult<selvo::DataFileContent> read = selvo::ReadDataFile(path);
    if (!read.ok()) {
        return read.error();
    }
    selvo::StoreSubjectSet(state, std::move(read.value().subject), read.value().answers);
    return std::nullopt;
}

ProgramState readBack(const std::string& fileName) {
    ProgramState state;
    const auto error = readInto(state, fileName);
    EXPECT_FALSE(error) << error->message();
    return state;
}

TEST(WriteDataFile, OrdinarySubjectGivesTheDocumentedLineByteForByte) {
    TempDir dir;
    ProgramState state = ordinarySubject();
    ASSERT_FALSE(selvo::WriteDataFile(state));
    EXPECT_EQ(selvo::DataFileNameFor(state), "SELVO_GRP1_S01.csv");
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), kOrdinaryLine);
}

TEST(WriteDataFile, WritingTwiceReplacesTheEarlierFile) {
    TempDir dir;
    ProgramState state = ordinarySubject();
    state.SubjectNotes = "a much longer first note that must not survive";
    ASSERT_FALSE(selvo::WriteDataFile(state));
    state.SubjectNotes.clear();
    ASSERT_FALSE(selvo::WriteDataFile(state));
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), kOrdinaryLine);
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(WriteDataFile, ReadOnlyFolderKeepsTheOlderFileAndReportsNameAndReason) {
    TempDir dir;
    ProgramState state = ordinarySubject();
    ASSERT_FALSE(selvo::WriteDataFile(state));
    state.SubjectAge = "36";
    chmod(dir.path().c_str(), 0555);
    std::optional<selvo::FileError> error;
    {
        Unprivileged asUser;
        error = selvo::WriteDataFile(state);
    }
    chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fileName, "SELVO_GRP1_S01.csv");
    EXPECT_EQ(error->reason, "permesso negato (la cartella o il file non sono scrivibili).");
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), kOrdinaryLine);
}
#endif

TEST(DataFileRoundTrip, RestoresCardSubjectAndAnswersInCodePage1252) {
    TempDir dir;
    ProgramState state = ordinarySubject();
    state.Card = 417;
    state.SubjectAge = "35 anni, più o meno";
    state.SubjectNotes = "Età dichiarata, \"non certa\"\r\nseconda riga, con virgola";
    ASSERT_FALSE(selvo::WriteDataFile(state));
    const std::string bytes = fileBytes(dir.file(selvo::DataFileNameFor(state)));
    EXPECT_EQ(bytes.substr(0, 3), "417");
    EXPECT_NE(bytes.find("\"Et\xE0 dichiarata, \"\"non certa\"\"\r\nseconda riga, con virgola\""),
              std::string::npos);
    expectSameRecord(readBack(selvo::DataFileNameFor(state)), state);
}

TEST(DataFileRoundTrip, TextOutsideCodePage1252GoesOutAsMarkedUtf8) {
    TempDir dir;
    ProgramState state = ordinarySubject();
    state.SubjectName = "Łukasz";
    state.SubjectSurname = "Ștefan";
    state.SubjectNotes = "nota \"tra virgolette\", poi\nuna riga nuova";
    ASSERT_FALSE(selvo::WriteDataFile(state));
    EXPECT_EQ(selvo::DataFileNameFor(state), "SELVO_Ștefan_Łukasz.csv");
    const std::string bytes =
        fileBytes(dir.path() / selvo::pathFromUtf8(selvo::DataFileNameFor(state)));
    EXPECT_EQ(bytes.substr(0, 4), "\xEF\xBB\xBF"
                                  "0");
    expectSameRecord(readBack(selvo::DataFileNameFor(state)), state);
}

struct LenientCase {
    const char* name;
    std::string bytes;
};
void PrintTo(const LenientCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadsOldFiles : public testing::TestWithParam<LenientCase> {};

TEST_P(ReadsOldFiles, AsTheOrdinarySubject) {
    TempDir dir;
    writeBytes(dir.file("old.csv"), GetParam().bytes);
    expectSameRecord(readBack("old.csv"), ordinarySubject());
}

std::string withoutLineEnd(std::string line) {
    line.resize(line.size() - 2);
    return line;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    DataFile, ReadsOldFiles,
    testing::Values(LenientCase{"NoFinalLineEnd", withoutLineEnd(kOrdinaryLine)},
                    LenientCase{"FinalLfOnlyAndBlankLines",
                                withoutLineEnd(kOrdinaryLine) + "\n\r\n  \r\n"},
                    LenientCase{"BlanksBeforeFields", replaced(kOrdinaryLine, "0,\"S01\",\"GRP1\"",
                                                               "  0,  \"S01\",\t\"GRP1\"")},
                    LenientCase{"UnquotedTextFields",
                                replaced(kOrdinaryLine, "\"S01\",\"GRP1\",\"35\"", "S01,GRP1 ,35")},
                    LenientCase{"FieldsSplitOverLines",
                                replaced(kOrdinaryLine, "\"4\",\"\",", "\"4\",\"\"\r\n")}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    std::string bytes;
    std::string reason; // empty: any reason will do
};
void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

class MalformedFile : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, IsRefusedWithItsReasonAndTheStateUnchanged) {
    TempDir dir;
    writeBytes(dir.file("bad.csv"), GetParam().bytes);
    ProgramState state = ordinarySubject();
    state.Card = 12;
    state.SubjectNotes = "da non perdere";
    state.AnswerT[57 - 8] = 6;
    const ProgramState before = state;

    const auto error = readInto(state, "bad.csv");

    ASSERT_TRUE(error);
    EXPECT_EQ(error->fileName, "bad.csv");
    if (!GetParam().reason.empty()) {
        EXPECT_EQ(error->reason, GetParam().reason);
    }
    EXPECT_FALSE(error->reason.empty());
    expectSameRecord(state, before);
}

std::string fieldReplaced(int number, const std::string& value) {
    // Rebuilds the ordinary line with one field swapped.
    std::vector<std::string> fields;
    std::string line = withoutLineEnd(kOrdinaryLine);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    fields.at(static_cast<std::size_t>(number - 1)) = value;
    std::string joined;
    for (const auto& field : fields) {
        joined += (joined.empty() ? "" : ",") + field;
    }
    return joined + "\r\n";
}

std::string randomBytes() {
    std::mt19937 generator(5);
    std::string bytes(4000, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    DataFile, MalformedFile,
    testing::Values(
        MalformedCase{"Fields195",
                      withoutLineEnd(kOrdinaryLine).substr(0, kOrdinaryLine.size() - 4) + "\r\n",
                      "il file ha 195 campi, ma un file di dati SELVO ne ha 196 (file troncato o "
                      "di altro tipo?)."},
        MalformedCase{"Fields197", withoutLineEnd(kOrdinaryLine) + ",0\r\n",
                      "il file ha 197 campi, ma un file di dati SELVO ne ha 196 (file troncato o "
                      "di altro tipo?)."},
        MalformedCase{"TrailingComma", withoutLineEnd(kOrdinaryLine) + ",\r\n",
                      "il file ha 197 campi, ma un file di dati SELVO ne ha 196 (file troncato o "
                      "di altro tipo?)."},
        MalformedCase{"LetterInAnswer", fieldReplaced(57, "x"),
                      "campo 57 (accordo, item 49): la risposta \"x\" non è un numero intero."},
        MalformedCase{"EmptyAnswer", fieldReplaced(9, ""),
                      "campo 9 (accordo, item 1): la risposta manca."},
        MalformedCase{"AgreementEight", fieldReplaced(57, "8"),
                      "campo 57 (accordo, item 49): la risposta \"8\" non è tra 0 e 7."},
        MalformedCase{"AgreementNegative", fieldReplaced(20, "-1"),
                      "campo 20 (accordo, item 12): la risposta \"-1\" non è tra 0 e 7."},
        MalformedCase{"AgreementHuge", fieldReplaced(20, "99999999999999999999999"),
                      "campo 20 (accordo, item 12): la risposta \"99999999999999999999999\" non "
                      "è tra 0 e 7."},
        MalformedCase{"DistressFour", fieldReplaced(196, "4"),
                      "campo 196 (disagio, item 94): la risposta \"4\" non è tra 0 e 3."},
        MalformedCase{"SexThree", fieldReplaced(5, "\"3\""),
                      "campo 5: il sesso \"3\" non è un codice valido (0, 1 o 2)."},
        MalformedCase{"MaritalSix", fieldReplaced(6, "\"6\""),
                      "campo 6: lo stato civile \"6\" non è un codice valido (da 0 a 5)."},
        MalformedCase{"EducationEmpty", fieldReplaced(7, "\"\""),
                      "campo 7: il titolo di studio \"\" non è un codice valido (da 0 a 5)."},
        MalformedCase{"CardNotANumber", fieldReplaced(1, "A12"),
                      "campo 1: il numero di scheda \"A12\" non è un numero intero."},
        MalformedCase{"CardTooLarge", fieldReplaced(1, "40000"),
                      "campo 1: il numero di scheda \"40000\" è fuori dall'intervallo ammesso "
                      "(da -32768 a 32767)."},
        MalformedCase{"UnterminatedQuote", "0,\"S01\",\"GRP1\",\"35,1,2,3\r\n",
                      "campo 4: le virgolette aperte non vengono mai chiuse (file troncato?)."},
        MalformedCase{"UndoubledQuoteInNotes", fieldReplaced(8, "\"disse \"no\" e basta\""),
                      "campo 8: dopo le virgolette di chiusura c'è altro testo prima della "
                      "virgola (le virgolette dentro un testo vanno raddoppiate)."},
        MalformedCase{"EmptyFile", "", "il file è vuoto."},
        MalformedCase{"OnlyBlankLines", "\r\n \r\n", "il file è vuoto."},
        // Zero bytes between the fields; zeros after the text are a damaged tail (ForeignFile).
        MalformedCase{"NulBytes", std::string("0,\0\0\0,1", 7),
                      "il file contiene dati binari: non è un file di dati SELVO."},
        MalformedCase{"BrokenUtf8AfterMark", "\xEF\xBB\xBF" + fieldReplaced(2, "\"\xC3(\""),
                      "il file si dichiara in UTF-8 ma contiene caratteri non validi in quella "
                      "codifica."},
        MalformedCase{"TooLarge", std::string(1024 * 1024 + 1, ' '),
                      "il file è troppo grande per essere un file di dati."},
        MalformedCase{"RandomBytes", randomBytes(), ""},
        // A crafted age whose lines would become commands of the command file.
        MalformedCase{"AgeWithLineBreaksAndCommands",
                      fieldReplaced(4, "\"35\r\nHOST COMMAND=['rm -f x'].\r\n\""),
                      "campo 4: l'età contiene il carattere \\x0D, un carattere di controllo che "
                      "un campo di una riga non può contenere."},
        MalformedCase{"NameWithEscapeSequence", fieldReplaced(2, "\"S01\x1B]0;titolo\x07\""),
                      "campo 2: il nome contiene il carattere \\x1B, un carattere di controllo "
                      "che un campo di una riga non può contenere."},
        MalformedCase{"SurnameWithRightToLeftOverride",
                      "\xEF\xBB\xBF" + fieldReplaced(3, "\"GRP\xE2\x80\xAE"
                                                        "1\""),
                      "campo 3: il cognome \"GRP\\u202E1\" contiene un carattere invisibile: il "
                      "4° carattere è U+202E forzatura da destra a sinistra, che un campo di una "
                      "riga non può contenere (il testo sembrerebbe uguale a un altro ma darebbe "
                      "altri file). Togliere il carattere dal file con un editor di testo."},
        MalformedCase{"AgeWithC1ControlInCodePage1252", fieldReplaced(4, "\"3\x81\""),
                      "campo 4: l'età contiene il carattere \\x81, un carattere di controllo che "
                      "un campo di una riga non può contenere."},
        MalformedCase{"EscapeInAnAnswerIsShownNotSent", fieldReplaced(9, "\x1B[2J"),
                      "campo 9 (accordo, item 1): la risposta \"\\x1B[2J\" non è un numero "
                      "intero."}),
    [](const auto& info) { return std::string(info.param.name); });

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

// What a FAT stick holds after a power cut during the save: the whole record, then zeros up to
// the size the file was given. The record is read, with a note.
TEST(ReadDataFile, AWholeRecordFollowedByZeroBytesIsReadWithANote) {
    TempDir dir;
    writeBytes(dir.file("tail.csv"), kOrdinaryLine + std::string(4096, '\0'));
    selvo::FileResult<selvo::DataFileContent> read = selvo::ReadDataFile("tail.csv");
    ASSERT_TRUE(read.ok()) << read.error().message();
    EXPECT_NE(read.value().note.find("4096 byte nulli"), std::string::npos) << read.value().note;
    ProgramState state;
    selvo::StoreSubjectSet(state, std::move(read.value().subject), read.value().answers);
    expectSameRecord(state, ordinarySubject());
    EXPECT_TRUE(selvo::parseDataFile(kOrdinaryLine).note.empty());
}

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
    EXPECT_EQ(parse.record->SubjectName, GetParam().expectedName);
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

struct GuardCase {
    const char* name;
    std::string typed;   // the notes as the operator typed them
    std::string written; // field 8 of the data file
};
void PrintTo(const GuardCase& c, std::ostream* os) {
    *os << c.name;
}

class FormulaGuard : public testing::TestWithParam<GuardCase> {};

TEST_P(FormulaGuard, IsWrittenBeforeAFormulaAndTakenOffOnReading) {
    ProgramState state = ordinarySubject();
    state.SubjectNotes = GetParam().typed;
    const std::string bytes = selvo::ComposeDataFile(state);
    EXPECT_EQ(bytes, replaced(kOrdinaryLine, ",\"\",", "," + GetParam().written + ","));
    const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
    ASSERT_TRUE(parse.record) << parse.fault;
    EXPECT_EQ(parse.record->SubjectNotes, GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(
    DataFile, FormulaGuard,
    testing::Values(GuardCase{"Equals", "=1+1", "\"'=1+1\""},
                    GuardCase{"Hyperlink", "=HYPERLINK(\"http://x\")",
                              "\"'=HYPERLINK(\"\"http://x\"\")\""},
                    GuardCase{"Plus", "+39 333", "\"'+39 333\""},
                    GuardCase{"Minus", "- ansia", "\"'- ansia\""},
                    GuardCase{"At", "@SUM(A1)", "\"'@SUM(A1)\""},
                    GuardCase{"Tab", "\trientro", "\"'\trientro\""},
                    GuardCase{"LineBreakFirst", "\r\nseconda", "\"'\r\nseconda\""},
                    // The apostrophes a person typed stay; one more goes in front. (An older
                    // file holding "'=1+1" therefore now reads as "=1+1".)
                    GuardCase{"ApostropheThenFormula", "'=1+1", "\"''=1+1\""},
                    GuardCase{"ApostrophesThenTab", "''\tx", "\"'''\tx\""},
                    GuardCase{"ApostropheThenText", "'ciao", "\"'ciao\""},
                    GuardCase{"OnlyApostrophes", "''", "\"''\""},
                    GuardCase{"FormulaLaterInTheText", "a=1+1", "\"a=1+1\""},
                    GuardCase{"BlankFirst", " =1", "\" =1\""}),
    [](const auto& info) { return std::string(info.param.name); });

// The same guard on the other texts, which the subject form keeps from beginning so but a
// file made by hand may hold.
TEST(FormulaGuard, CoversNameSurnameAndAgeToo) {
    ProgramState state = ordinarySubject();
    state.SubjectName = "=S01";
    state.SubjectSurname = "'@GRP1";
    state.SubjectAge = "-35";
    const std::string bytes = selvo::ComposeDataFile(state);
    EXPECT_TRUE(bytes.starts_with("0,\"'=S01\",\"''@GRP1\",\"'-35\",")) << bytes;
    const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
    ASSERT_TRUE(parse.record) << parse.fault;
    EXPECT_EQ(parse.record->SubjectName, state.SubjectName);
    EXPECT_EQ(parse.record->SubjectSurname, state.SubjectSurname);
    EXPECT_EQ(parse.record->SubjectAge, state.SubjectAge);
}

TEST(ReadDataFile, NotesKeepTheirLineBreaks) {
    TempDir dir;
    writeBytes(dir.file("notes.csv"), fieldReplaced(8, "\"prima riga\r\nseconda riga\""));
    ProgramState state = ordinarySubject();
    ASSERT_FALSE(readInto(state, "notes.csv"));
    EXPECT_EQ(state.SubjectNotes, "prima riga\r\nseconda riga");
}

TEST(ReadDataFile, MissingFileIsReportedWithItsName) {
    TempDir dir;
    ProgramState state = ordinarySubject();
    const auto error = readInto(state, "assente.csv");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fileName, "assente.csv");
    EXPECT_EQ(error->reason, "file o cartella inesistente.");
    expectSameRecord(state, ordinarySubject());
}

} // namespace
