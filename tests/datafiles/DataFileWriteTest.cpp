// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a data file: the documented line byte for byte, a round trip through it, and the
// guard put before a text a spreadsheet would take for a formula.

#include "datafiles/DataFile.h"

#include "DataFileFixture.h"
#include "datafiles/DataFileRecord.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace {

using namespace datafile_fixture;

TEST(WriteDataFile, OrdinarySubjectGivesTheDocumentedLineByteForByte) {
    TempDir dir;
    testsupport::TestSubject state = ordinarySubject();
    ASSERT_FALSE(writeDataFile(state, selvo::utf8Of(dir.path())));
    EXPECT_EQ(selvo::SubjectDataFileName(state.subject), "SELVO_GRP1_S01.csv");
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), kOrdinaryLine);
}

TEST(WriteDataFile, WritingTwiceReplacesTheEarlierFile) {
    TempDir dir;
    testsupport::TestSubject state = ordinarySubject();
    state.subject.notes = "a much longer first note that must not survive";
    ASSERT_FALSE(writeDataFile(state, selvo::utf8Of(dir.path())));
    state.subject.notes.clear();
    ASSERT_FALSE(writeDataFile(state, selvo::utf8Of(dir.path())));
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), kOrdinaryLine);
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(WriteDataFile, ReadOnlyFolderKeepsTheOlderFileAndReportsNameAndReason) {
    TempDir dir;
    testsupport::TestSubject state = ordinarySubject();
    ASSERT_FALSE(writeDataFile(state, selvo::utf8Of(dir.path())));
    state.subject.age = "36";
    chmod(dir.path().c_str(), 0555);
    std::optional<selvo::FileError> error;
    {
        Unprivileged asUser;
        error = writeDataFile(state, selvo::utf8Of(dir.path()));
    }
    chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(error);
    EXPECT_EQ(std::filesystem::path(error->fileName).filename(), "SELVO_GRP1_S01.csv");
    EXPECT_EQ(error->reason, "permesso negato (la cartella o il file non sono scrivibili).");
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), kOrdinaryLine);
}
#endif

TEST(DataFileRoundTrip, RestoresCardSubjectAndAnswersInCodePage1252) {
    TempDir dir;
    testsupport::TestSubject state = ordinarySubject();
    state.subject.card = 417;
    state.subject.age = "35 anni, più o meno";
    state.subject.notes = "Età dichiarata, \"non certa\"\r\nseconda riga, con virgola";
    ASSERT_FALSE(writeDataFile(state, selvo::utf8Of(dir.path())));
    const std::string bytes = fileBytes(dir.file(selvo::SubjectDataFileName(state.subject)));
    EXPECT_EQ(bytes.substr(0, 3), "417");
    EXPECT_NE(bytes.find("\"Et\xE0 dichiarata, \"\"non certa\"\"\r\nseconda riga, con virgola\""),
              std::string::npos);
    expectSameRecord(readBack(selvo::SubjectDataFileName(state.subject)), state);
}

TEST(DataFileRoundTrip, TextOutsideCodePage1252GoesOutAsMarkedUtf8) {
    TempDir dir;
    testsupport::TestSubject state = ordinarySubject();
    state.subject.name = "Łukasz";
    state.subject.surname = "Ștefan";
    state.subject.notes = "nota \"tra virgolette\", poi\nuna riga nuova";
    ASSERT_FALSE(writeDataFile(state, selvo::utf8Of(dir.path())));
    EXPECT_EQ(selvo::SubjectDataFileName(state.subject), "SELVO_Ștefan_Łukasz.csv");
    const std::string bytes =
        fileBytes(dir.path() / selvo::pathFromUtf8(selvo::SubjectDataFileName(state.subject)));
    EXPECT_EQ(bytes.substr(0, 4), "\xEF\xBB\xBF"
                                  "0");
    expectSameRecord(readBack(selvo::SubjectDataFileName(state.subject)), state);
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
    testsupport::TestSubject state = ordinarySubject();
    state.subject.notes = GetParam().typed;
    const std::string bytes = selvo::ComposeDataFile(state.subject, state.answers);
    EXPECT_EQ(bytes, replaced(kOrdinaryLine, ",\"\",", "," + GetParam().written + ","));
    const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
    ASSERT_TRUE(parse.record) << parse.fault;
    EXPECT_EQ(parse.record->subject.notes, GetParam().typed);
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
    testsupport::TestSubject state = ordinarySubject();
    state.subject.name = "=S01";
    state.subject.surname = "'@GRP1";
    state.subject.age = "-35";
    const std::string bytes = selvo::ComposeDataFile(state.subject, state.answers);
    EXPECT_TRUE(bytes.starts_with("0,\"'=S01\",\"''@GRP1\",\"'-35\",")) << bytes;
    const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
    ASSERT_TRUE(parse.record) << parse.fault;
    EXPECT_EQ(parse.record->subject.name, state.subject.name);
    EXPECT_EQ(parse.record->subject.surname, state.subject.surname);
    EXPECT_EQ(parse.record->subject.age, state.subject.age);
}

} // namespace
