// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/SubjectChecks.h"

#include "questionnaire/SubjectFiles.h"

#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"
#include "datafiles/StatisticsExport.h"

#include "support/TestSubjects.h"
#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

using selvo::SubjectEntry;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

SubjectEntry completeEntry() {
    SubjectEntry entry;
    entry.name = "S01";
    entry.surname = "GRP1";
    entry.age = "35";
    entry.notes = "note";
    entry.sex = "2";
    entry.marital = "4";
    entry.education = "5";
    return entry;
}

// The record as the administration form leaves it for a new questionnaire.
selvo::SubjectRecord freshRecord() {
    selvo::SubjectRecord subject;
    subject.sex = subject.marital = subject.education = "0";
    return subject;
}

TEST(StoreSubjectEntry, UntouchedFormAsksForAllSixFieldsInOrder) {
    selvo::SubjectRecord subject = freshRecord();
    EXPECT_THAT(selvo::StoreSubjectEntry(subject, SubjectEntry{}),
                ElementsAre("Inserire il Nome/Codice. Grazie!",
                            "Inserire il Cognome/Codice. Grazie!", "Inserire Età. Grazie!",
                            "Inserire il sesso. Grazie!", "Inserire lo Stato Civile. Grazie!",
                            "Inserire il Titolo di Studio. Grazie!"));
    EXPECT_FALSE(selvo::SubjectRecordComplete(subject));
}

TEST(StoreSubjectEntry, OnlyTheAgeMissingGivesOneMessage) {
    selvo::SubjectRecord subject = freshRecord();
    SubjectEntry entry = completeEntry();
    entry.age.clear();
    EXPECT_THAT(selvo::StoreSubjectEntry(subject, entry), ElementsAre("Inserire Età. Grazie!"));
    EXPECT_FALSE(selvo::SubjectRecordComplete(subject));
}

TEST(StoreSubjectEntry, BlanksOnlyCountAsAnAnswer) {
    selvo::SubjectRecord subject = freshRecord();
    SubjectEntry entry = completeEntry();
    entry.age = "   ";
    EXPECT_TRUE(selvo::StoreSubjectEntry(subject, entry).empty());
    EXPECT_EQ(subject.age, "   ");
    EXPECT_TRUE(selvo::SubjectRecordComplete(subject));
}

TEST(StoreSubjectEntry, StoresEveryFieldOfACompleteEntry) {
    selvo::SubjectRecord subject = freshRecord();
    EXPECT_TRUE(selvo::StoreSubjectEntry(subject, completeEntry()).empty());
    EXPECT_EQ(subject.name, "S01");
    EXPECT_EQ(subject.surname, "GRP1");
    EXPECT_EQ(subject.age, "35");
    EXPECT_EQ(subject.notes, "note");
    EXPECT_EQ(subject.sex, "2");
    EXPECT_EQ(subject.marital, "4");
    EXPECT_EQ(subject.education, "5");
    EXPECT_TRUE(selvo::SubjectRecordComplete(subject));
}

TEST(StoreSubjectEntry, MissingTextIsStoredEmptyButAMissingOptionKeepsTheOldCode) {
    selvo::SubjectRecord subject = freshRecord();
    subject.name = "Old";
    subject.sex = "1";
    SubjectEntry entry = completeEntry();
    entry.name.clear();
    entry.sex.clear();
    EXPECT_THAT(selvo::StoreSubjectEntry(subject, entry),
                ElementsAre("Inserire il Nome/Codice. Grazie!", "Inserire il sesso. Grazie!"));
    EXPECT_EQ(subject.name, "");
    EXPECT_EQ(subject.sex, "1");
}

TEST(SubjectRecordComplete, ACodeNeverChosenIsIncomplete) {
    for (const char* code : {"0", ""}) {
        selvo::SubjectRecord subject = freshRecord();
        selvo::StoreSubjectEntry(subject, completeEntry());
        subject.marital = code;
        EXPECT_FALSE(selvo::SubjectRecordComplete(subject)) << "marital code \"" << code << '"';
    }
}

struct NameCase {
    const char* label;
    std::string surname;
    const char* mentioned; // what the message must quote; nullptr when the name is safe
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.label;
}

class UnsafeSurname : public testing::TestWithParam<NameCase> {};

TEST_P(UnsafeSurname, IsRefusedWithItsFaultOrAccepted) {
    selvo::SubjectRecord subject = freshRecord();
    subject.name = "S01";
    subject.surname = GetParam().surname;
    const auto fault = selvo::UnsafeSubjectName(subject);
    if (GetParam().mentioned == nullptr) {
        EXPECT_FALSE(fault.has_value()) << fault->message;
        return;
    }
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->field, selvo::UnsafeName::Surname);
    EXPECT_THAT(fault->message, HasSubstr("Cognome/Codice"));
    EXPECT_THAT(fault->message, HasSubstr(GetParam().mentioned));
}

INSTANTIATE_TEST_SUITE_P(
    Names, UnsafeSurname,
    testing::Values(
        NameCase{"ParentFolder", "../x", "«/»"}, NameCase{"Slash", "a/b", "«/»"},
        NameCase{"Colon", "x:", "«:»"}, NameCase{"Backslash", "a\\b", "«\\»"},
        NameCase{"Star", "a*", "«*»"}, NameCase{"Question", "a?", "«?»"},
        NameCase{"Quote", "a\"b", "«\"»"}, NameCase{"Less", "a<b", "«<»"},
        NameCase{"Greater", "a>b", "«>»"}, NameCase{"Pipe", "a|b", "«|»"},
        NameCase{"Tab", "a\tb", "codice 9"}, NameCase{"Delete", "a\x7f", "codice 127"},
        NameCase{"C1Control", "a\xC2\x85", "codice 133"}, NameCase{"Dot", ".", "«.»"},
        NameCase{"DotDot", "..", "«..»"}, NameCase{"TrailingDot", "Rossi.", "punto"},
        NameCase{"TrailingBlank", "Rossi ", "spazio"}, NameCase{"BlanksOnly", "  ", "spazio"},
        NameCase{"LineBreak", "Rossi\nHOST", "codice 10"},
        NameCase{"Escape", "Rossi\x1B[2J", "codice 27"},
        NameCase{"RightToLeftOverride",
                 "Rossi\xE2\x80\xAE"
                 "fdp.exe",
                 "\\u202E"},
        NameCase{"ZeroWidthSpace",
                 "Ro\xE2\x80\x8B"
                 "ssi",
                 "\\u200B"},
        NameCase{"FirstStrongIsolate",
                 "\xE2\x81\xA8"
                 "Rossi",
                 "\\u2068"},
        NameCase{"FormulaEquals", "=HYPERLINK(1)", "«=»"}, NameCase{"FormulaPlus", "+39", "«+»"},
        NameCase{"FormulaMinus", "-1", "«-»"}, NameCase{"FormulaAt", "@SUM", "«@»"},
        NameCase{"InnerMinus", "Rossi-Bianchi", nullptr}, NameCase{"Plain", "Rossi", nullptr},
        NameCase{"Apostrophe", "D'Amico", nullptr}, NameCase{"InnerBlank", "De Luca", nullptr},
        NameCase{"Accented", "Nicolò", nullptr}, NameCase{"LeadingDot", ".x", nullptr},
        NameCase{"Empty", "", nullptr}),
    [](const testing::TestParamInfo<NameCase>& info) { return info.param.label; });

// The writers' own check is the last guard for a record that did not pass the form: whatever it
// refuses, the form refuses first.
TEST(UnsafeSubjectName, RefusesEveryNameTheReportWouldRefuse) {
    for (int c = 0; c < 256; ++c) {
        const std::string surname = std::string("GRP") + static_cast<char>(c) + "1";
        if (!selvo::refusedNamePartCharacter(surname, selvo::NamePartRule::Minimal)) {
            continue;
        }
        selvo::SubjectRecord subject = freshRecord();
        subject.name = "S01";
        subject.surname = surname;
        EXPECT_TRUE(selvo::UnsafeSubjectName(subject).has_value()) << c;
    }
}

TEST(UnsafeSubjectName, NamesTheNameFieldWhenTheNameIsAtFault) {
    selvo::SubjectRecord subject = freshRecord();
    subject.name = "a/b";
    subject.surname = "GRP1";
    const auto fault = selvo::UnsafeSubjectName(subject);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->field, selvo::UnsafeName::Name);
    EXPECT_THAT(fault->message, HasSubstr("Nome/Codice"));
}

TEST(UnsafeSubjectName, RefusesAnAgeThatWouldActInsteadOfShow) {
    selvo::SubjectRecord subject = freshRecord();
    subject.name = "S01";
    subject.surname = "GRP1";
    for (const std::string& age :
         {std::string("35\r\nHOST COMMAND=['x']."), std::string("35\x1B]0;x\x07"),
          std::string("=35"), std::string("-35"),
          std::string("3\xE2\x80\x8F"
                      "5")}) {
        subject.age = age;
        const auto fault = selvo::UnsafeSubjectName(subject);
        ASSERT_TRUE(fault.has_value()) << age;
        EXPECT_EQ(fault->field, selvo::UnsafeName::Age);
        EXPECT_THAT(fault->message, HasSubstr("Età"));
        EXPECT_EQ(fault->message.find('\x1B'), std::string::npos) << "shown, not sent";
    }
    for (const char* age : {"35", "35 anni", "trent'anni", "3-4", ""}) {
        subject.age = age;
        EXPECT_FALSE(selvo::UnsafeSubjectName(subject).has_value()) << age;
    }
}

std::string utf8Of(char32_t c) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x80) {
        return {byte(c)};
    }
    if (c < 0x800) {
        return {byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F))};
    }
    if (c < 0x10000) {
        return {byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    }
    return {byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)),
            byte(0x80 | (c & 0x3F))};
}

struct UnseenCase {
    char32_t codePoint;
    const char* named; // as the message names it; nullptr when the character shows
};
void PrintTo(const UnseenCase& c, std::ostream* os) {
    *os << std::hex << static_cast<unsigned>(c.codePoint);
}

// "Nicolò" + the character + "Rossi" looks like "NicolòRossi" on screen and in the report, but
// would name other files and another row of the dataset: the form and the reader (reload and
// selvo-batch) both refuse it, naming the character and where it is.
class LookalikeSurname : public testing::TestWithParam<UnseenCase> {};

TEST_P(LookalikeSurname, IsRefusedByTheFormAndTheReaderWithTheCharacterAndItsPlace) {
    selvo::SubjectRecord subject = freshRecord();
    selvo::StoreSubjectEntry(subject, completeEntry());
    subject.surname = "Nicolò" + utf8Of(GetParam().codePoint) + "Rossi";
    const auto fault = selvo::UnsafeSubjectName(subject);
    // Written as the writers do: code page 1252 for U+00AD, UTF-8 for the rest.
    const selvo::DataFileParse read = selvo::parseDataFile(selvo::ComposeDataFile(subject, {}));
    if (GetParam().named == nullptr) {
        EXPECT_FALSE(fault.has_value()) << fault->message;
        EXPECT_TRUE(read.record.has_value()) << read.fault;
        return;
    }
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->field, selvo::UnsafeName::Surname);
    ASSERT_FALSE(read.record.has_value());
    for (const std::string& message : {fault->message, read.fault}) {
        EXPECT_THAT(message, HasSubstr(GetParam().named));
        EXPECT_THAT(message, HasSubstr("il 7° carattere"));
    }
    EXPECT_THAT(read.fault, HasSubstr("campo 3: il cognome"));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, LookalikeSurname,
    testing::Values(
        UnseenCase{0x00AD, "U+00AD trattino morbido"},
        UnseenCase{0x034F, "U+034F congiuntore di grafemi"},
        UnseenCase{0x061C, "U+061C segno di direzione araba"},
        UnseenCase{0x115F, "U+115F riempitivo hangul"},
        UnseenCase{0x1160, "U+1160 riempitivo hangul"},
        UnseenCase{0x17B4, "U+17B4 vocale khmer invisibile"}, UnseenCase{0x17B5, "U+17B5"},
        UnseenCase{0x180B, "U+180B selettore di variante mongolo"},
        UnseenCase{0x180E, "U+180E separatore vocalico mongolo"}, UnseenCase{0x180F, "U+180F"},
        UnseenCase{0x200B, "U+200B spazio a larghezza zero"},
        UnseenCase{0x200D, "U+200D congiuntore a larghezza zero"},
        UnseenCase{0x200F, "U+200F segno da destra a sinistra"},
        UnseenCase{0x2028, "U+2028 separatore di riga"},
        UnseenCase{0x2029, "U+2029 separatore di paragrafo"},
        UnseenCase{0x202A, "U+202A incorporamento"},
        UnseenCase{0x202E, "U+202E forzatura da destra a sinistra"},
        UnseenCase{0x2060, "U+2060 unione di parole"}, UnseenCase{0x2065, "U+2065"},
        UnseenCase{0x2068, "U+2068 isolamento di direzione"}, UnseenCase{0x206F, "U+206F"},
        UnseenCase{0x2800, "U+2800 cella braille vuota"},
        UnseenCase{0x3164, "U+3164 riempitivo hangul"},
        UnseenCase{0xFE00, "U+FE00 selettore di variante"}, UnseenCase{0xFE0F, "U+FE0F"},
        UnseenCase{0xFEFF, "U+FEFF segno di ordine dei byte"},
        UnseenCase{0xFFA0, "U+FFA0 riempitivo hangul"}, UnseenCase{0xFFF0, "U+FFF0"},
        UnseenCase{0xFFF8, "U+FFF8"}, UnseenCase{0x1BCA0, "U+1BCA0 controllo di formato"},
        UnseenCase{0x1BCA3, "U+1BCA3"}, UnseenCase{0x1D173, "U+1D173 controllo di formato"},
        UnseenCase{0x1D17A, "U+1D17A"}, UnseenCase{0xE0001, "U+E0001 etichetta di lingua"},
        UnseenCase{0xE0041, "U+E0041 carattere etichetta"},
        UnseenCase{0xE0100, "U+E0100 selettore di variante"}, UnseenCase{0xE0FFF, "U+E0FFF"},
        // Their neighbours show, and stay.
        UnseenCase{0x00AC, nullptr}, UnseenCase{0x17B6, nullptr}, UnseenCase{0x180A, nullptr},
        UnseenCase{0x2027, nullptr}, UnseenCase{0x2801, nullptr}, UnseenCase{0xFE10, nullptr},
        UnseenCase{0x1D17B, nullptr}),
    [](const testing::TestParamInfo<UnseenCase>& info) {
        char name[16];
        std::snprintf(name, sizeof name, "U%04X", static_cast<unsigned>(info.param.codePoint));
        return std::string(name);
    });

struct CodeCase {
    const char* label;
    const char* field;
    std::optional<int> number;
};
void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << c.label;
}

class CodedField : public testing::TestWithParam<CodeCase> {};

TEST_P(CodedField, ReadsAsAWholeNumberOrNothing) {
    EXPECT_EQ(selvo::CodedFieldNumber(GetParam().field), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CodedField,
    testing::Values(CodeCase{"Digit", "2", 2}, CodeCase{"Zero", "0", 0},
                    CodeCase{"Blanks", " 4 ", 4}, CodeCase{"Plus", "+3", 3},
                    CodeCase{"Negative", "-1", -1}, CodeCase{"Empty", "", std::nullopt},
                    CodeCase{"Letter", "x", std::nullopt}, CodeCase{"Trailing", "2a", std::nullopt},
                    CodeCase{"Fraction", "2.5", std::nullopt},
                    CodeCase{"TooLarge", "99999999999", std::nullopt}),
    [](const testing::TestParamInfo<CodeCase>& info) { return info.param.label; });

} // namespace

namespace {

TEST(NotesWithWindowsLineEnds, EveryKindOfLineBreakBecomesCrLf) {
    EXPECT_EQ(selvo::NotesWithWindowsLineEnds("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(selvo::NotesWithWindowsLineEnds("\n\r"), "\r\n\r\n"); // LF then CR: two breaks
    EXPECT_EQ(selvo::NotesWithWindowsLineEnds("nessuna, nota"), "nessuna, nota");
}

} // namespace

namespace {

// `unit` repeated until the text is `limit` UTF-16 units long (each unit here is one).
std::string filled(const selvo::FieldLimit& limit, const std::string& unit) {
    std::string text;
    for (std::size_t i = 0; i < limit.units; ++i) {
        text += unit;
    }
    return text;
}

// The worst a field can hold: three UTF-8 bytes per unit ("中"), or a quote doubled and a line
// break turned CR LF in the notes. Either way the data file must read back whole.
TEST(FieldLimits, ARecordAtEveryLimitComposesADataFileTheReaderAccepts) {
    for (const std::string& notesUnit : {std::string("中"), std::string("\"\n")}) {
        selvo::SubjectRecord subject;
        subject.card = -32768;
        subject.name = filled(selvo::kNameLimit, "中");
        subject.surname = filled(selvo::kSurnameLimit, "中");
        subject.age = filled(selvo::kAgeLimit, "中");
        subject.notes = selvo::NotesWithWindowsLineEnds(
            filled({"", selvo::kNotesLimit.units / notesUnit.size()}, notesUnit));
        subject.sex = "2";
        subject.marital = subject.education = "5";
        const selvo::AnswerSet answers =
            testsupport::answersWhere([](int) { return 7; }, [](int) { return 3; });
        const std::string bytes = selvo::ComposeDataFile(subject, answers);
        EXPECT_LE(bytes.size(), selvo::kMaxDataFileBytes);
        const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
        ASSERT_TRUE(parse.record.has_value()) << parse.fault;
        EXPECT_EQ(parse.record->subject.name, subject.name);
        EXPECT_EQ(parse.record->subject.notes, subject.notes);
    }
}

TEST(FieldLimits, AsciiNamesAtTheirLimitFitTheLongestFileName) {
    selvo::SubjectRecord subject;
    subject.name = filled(selvo::kNameLimit, "N");
    subject.surname = filled(selvo::kSurnameLimit, "C");
    EXPECT_LE(selvo::StatisticsExportFileName(subject).size(), 255u);
}

TEST(FieldShortenedMessage, NamesTheFieldAndTheLimit) {
    EXPECT_EQ(selvo::FieldShortenedMessage(selvo::kNotesLimit),
              "Il campo Note accetta al massimo 100.000 caratteri. Il testo li superava ed è "
              "stato accorciato a 100.000 caratteri: controllare il campo prima di premere "
              "«ELABORAZIONE DATI».");
}

} // namespace
