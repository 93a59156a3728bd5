// SPDX-License-Identifier: GPL-3.0-or-later

// A subject's data file opened in a spreadsheet, as people do to look at one: notes that begin
// like a formula must show as text, never run.
#include "datafiles/CsvFields.h"
#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"
#include "support/ExternalTool.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(DataFileInterop, CalcShowsNotesThatBeginLikeAFormulaAsTypedText) {
    const TempDir dir;
    if (runTool("command -v soffice").status != 0) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    const std::vector<std::string> notes{
        "=1+1", "=HYPERLINK(\"http://example.invalid\";\"clic\")", "@SUM(1;2)", "+1+1", "-1+2",
        "'=1+1"};
    std::string files;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const selvo::SubjectRecord subject =
            testsupport::subjectRecord({.surname = "GRP1",
                                        .name = "S0" + std::to_string(i),
                                        .age = "35",
                                        .sex = "1",
                                        .marital = "1",
                                        .education = "1",
                                        .notes = notes[i]});
        const std::string file = "n" + std::to_string(i) + ".csv";
        std::ofstream(dir.file(file), std::ios::binary) << selvo::ComposeDataFile(subject, {});
        files += " " + file;
    }
    // Calc opens the files as its text import offers them and writes each cell as it shows it:
    // a formula would come out as its result.
    const ToolRun converted = runTool(
        "soffice --headless -env:UserInstallation=file://" + dir.file("profile").string() +
        " --infilter=CSV:44,34,76,1 --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1'"
        " --outdir calc" +
        files);
    ASSERT_EQ(converted.status, 0) << converted.output;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const std::string shown = fileBytes(dir.file("calc/n" + std::to_string(i) + ".csv"));
        const selvo::CsvSplit cells = selvo::splitCsvFields(shown, selvo::kDataFileFields);
        ASSERT_EQ(cells.count, selvo::kDataFileFields) << shown;
        // The cell holds the typed text behind the guard's apostrophe, which Calc shows.
        EXPECT_EQ(cells.fields[7].text, "'" + notes[i]);
    }
}

} // namespace
