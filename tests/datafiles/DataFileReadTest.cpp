// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a data file: older files read as the ordinary subject, malformed ones refused
// with their reason, a damaged tail read with a note.

#include "datafiles/DataFile.h"

#include "DataFileFixture.h"
#include "datafiles/DataFileRecord.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace datafile_fixture;

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
    testsupport::TestSubject state = ordinarySubject();
    state.subject.card = 12;
    state.subject.notes = "da non perdere";
    state.answers.agreement[57 - 8] = 6;
    const testsupport::TestSubject before = state;

    const auto error = readInto(state, "bad.csv");

    ASSERT_TRUE(error);
    EXPECT_EQ(error->fileName, "bad.csv");
    if (!GetParam().reason.empty()) {
        EXPECT_EQ(error->reason, GetParam().reason);
    }
    EXPECT_FALSE(error->reason.empty());
    expectSameRecord(state, before);
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

// What a FAT stick holds after a power cut during the save: the whole record, then zeros up to
// the size the file was given. The record is read, with a note.
TEST(ReadDataFile, AWholeRecordFollowedByZeroBytesIsReadWithANote) {
    TempDir dir;
    writeBytes(dir.file("tail.csv"), kOrdinaryLine + std::string(4096, '\0'));
    selvo::FileResult<selvo::DataFileContent> read = selvo::ReadDataFile("tail.csv");
    ASSERT_TRUE(read.ok()) << read.error().message();
    EXPECT_NE(read.value().note.find("4096 byte nulli"), std::string::npos) << read.value().note;
    testsupport::TestSubject state;
    state = {std::move(read.value().subject), read.value().answers};
    expectSameRecord(state, ordinarySubject());
    EXPECT_TRUE(selvo::parseDataFile(kOrdinaryLine).record->note.empty());
}

TEST(ReadDataFile, NotesKeepTheirLineBreaks) {
    TempDir dir;
    writeBytes(dir.file("notes.csv"), fieldReplaced(8, "\"prima riga\r\nseconda riga\""));
    testsupport::TestSubject state = ordinarySubject();
    ASSERT_FALSE(readInto(state, "notes.csv"));
    EXPECT_EQ(state.subject.notes, "prima riga\r\nseconda riga");
}

TEST(ReadDataFile, MissingFileIsReportedWithItsName) {
    TempDir dir;
    testsupport::TestSubject state = ordinarySubject();
    const auto error = readInto(state, "assente.csv");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fileName, "assente.csv");
    EXPECT_EQ(error->reason, "file o cartella inesistente.");
    expectSameRecord(state, ordinarySubject());
}

} // namespace
