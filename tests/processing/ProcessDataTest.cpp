// SPDX-License-Identifier: GPL-3.0-or-later

#include "processing/ProcessData.h"

#include "datafiles/DataFile.h"
#include "report/Report.h"
#include "scoring/Scores.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

testsupport::TestSubject answeredSubject() {
    return {testsupport::subjectRecord(),
            testsupport::answersWhere([](int item) { return item % 7 + 1; },
                                      [](int item) { return item % 3 + 1; })};
}

std::string folderOf(const TempDir& dir) {
    return selvo::utf8Of(dir.path());
}

const char* const kData = "SELVO_GRP1_S01.csv";
const char* const kReport = "SELVO_GRP1_S01_report.rtf";
const char* const kExport = "SELVO_SS000_GRP1_S01_sps.sps";

TEST(ProcessData, ReadsTheClockOnceBeforeAnyScore) {
    const TempDir dir;
    testsupport::TestSubject state = answeredSubject();
    int reads = 0;
    const auto clock = [&] {
        ++reads;
        return std::string("01/02/2026 10:20:30");
    };
    EXPECT_FALSE(
        selvo::ProcessData(state.subject, state.answers, folderOf(dir), clock).has_value());
    EXPECT_EQ(reads, 1);
    // A set the scoring refuses (a total beyond 16 bits) has had its date taken already.
    state.answers.agreement[5] = 32760;
    EXPECT_THROW(selvo::ProcessData(state.subject, state.answers, folderOf(dir), clock),
                 std::overflow_error);
    EXPECT_EQ(reads, 2);
}

// Both thresholds are scored from the same answers, each into its own section of the report.
TEST(ProcessData, ReportHoldsTheCriteriaOfEachThreshold) {
    const TempDir dir;
    testsupport::TestSubject state = answeredSubject();
    const selvo::AnswerSet answers = state.answers;
    const selvo::CategoricalScores x4 = selvo::ComputeCriteriaX4(answers);
    const selvo::CategoricalScores x5 = selvo::ComputeCriteriaX5(answers);
    ASSERT_NE(x4, x5) << "answers do not tell X4 from X5";
    const std::string date = "01/02/2026 10:20:30";
    ASSERT_FALSE(selvo::ProcessData(state.subject, state.answers, folderOf(dir), [&] {
                     return date;
                 }).has_value());
    const selvo::Scores expected{selvo::ComputeDimensionalScores(answers.agreement), {x4, x5}};
    const auto report = selvo::PrepareReport({state.subject, expected, date});
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(fileBytes(dir.path() / kReport), report.value().bytes);
}

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? fileBytes(entry.path()) : "<folder>";
    }
    return files;
}

// A later run whose set cannot be completed must leave the earlier set exactly as it was.
struct BrokenRun {
    const char* label;
    std::function<void(testsupport::TestSubject&)> breakIt; // before the second run
    std::string failingFile;
};
void PrintTo(const BrokenRun& run, std::ostream* os) {
    *os << run.label;
}

class ProcessDataFails : public testing::TestWithParam<BrokenRun> {};

TEST_P(ProcessDataFails, WithoutTouchingTheOlderSetOrLeavingTemporaries) {
    const TempDir dir;
    testsupport::TestSubject state = answeredSubject();
    ASSERT_FALSE(selvo::ProcessData(state.subject, state.answers, folderOf(dir)).has_value());
    GetParam().breakIt(state);
    const auto before = filesIn(dir.path());
    state.answers.agreement[1] =
        state.answers.agreement[1] == 1 ? 2 : 1; // the second run differs in every file
    state.answers.distress[1] = 0;

    const selvo::CommitResult run =
        selvo::RunProcessing(state.subject, state.answers, folderOf(dir));
    ASSERT_TRUE(run.error.has_value());
    EXPECT_EQ(run.error->fileName, GetParam().failingFile);
    EXPECT_TRUE(run.files.empty());
    EXPECT_EQ(filesIn(dir.path()), before);
}

const std::string kLongSurname(240, 'L');

INSTANTIATE_TEST_SUITE_P(
    Runs, ProcessDataFails,
    testing::Values(
        BrokenRun{"ReportNameTakenByAFolder",
                  [](testsupport::TestSubject&) {
                      fs::remove(kReport);
                      fs::create_directory(kReport);
                  },
                  kReport},
        BrokenRun{"ExportNameTakenByAFolder",
                  [](testsupport::TestSubject&) {
                      fs::remove(kExport);
                      fs::create_directory(kExport);
                  },
                  kExport},
        // The data file's name still fits; the report's does not.
        BrokenRun{"NameTooLongForTheReport",
                  [](testsupport::TestSubject& state) { state.subject.surname = kLongSurname; },
                  "SELVO_" + kLongSurname + "_S01_report.rtf"},
        // Notes from a data file made elsewhere, beyond what the reader takes back.
        BrokenRun{"DataFileTheReaderWouldRefuse",
                  [](testsupport::TestSubject& state) {
                      state.subject.notes.assign(selvo::kMaxDataFileBytes, 'n');
                  },
                  kData},
        BrokenRun{"SurnameWithAFolderSeparator",
                  [](testsupport::TestSubject& state) { state.subject.surname = "GRP1/.."; },
                  "SELVO_GRP1/.._S01_report.rtf"}),
    [](const testing::TestParamInfo<BrokenRun>& info) { return info.param.label; });

TEST(ProcessData, WritesIntoTheFolderItIsGivenNotTheCurrentOne) {
    const TempDir dir;
    fs::create_directory(dir.file("studio"));
    testsupport::TestSubject state = answeredSubject();
    const selvo::CommitResult run =
        selvo::RunProcessing(state.subject, state.answers, selvo::utf8Of(dir.file("studio")));
    ASSERT_FALSE(run.error.has_value()) << run.error->message();
    EXPECT_EQ(run.files[0].path, selvo::utf8Of(dir.file("studio") / kData));
    EXPECT_EQ(filesIn(dir.path()), (std::map<std::string, std::string>{{"studio", "<folder>"}}));
    EXPECT_EQ(filesIn(dir.file("studio")).size(), 3u);
    EXPECT_EQ(fs::current_path(), dir.path());

    // A failure names the file as the operator knows it, and the folder it was meant for.
    fs::remove(dir.file("studio") / kReport);
    fs::create_directory(dir.file("studio") / kReport);
    const selvo::CommitResult failed =
        selvo::RunProcessing(state.subject, state.answers, selvo::utf8Of(dir.file("studio")));
    ASSERT_TRUE(failed.error.has_value());
    EXPECT_EQ(failed.error->fileName, kReport);
    EXPECT_EQ(failed.error->fullPath, selvo::utf8Of(dir.file("studio") / kReport));
}

TEST(ProcessData, SaysWhichFilesItWroteAndWhichItReplaced) {
    const TempDir dir;
    testsupport::TestSubject state = answeredSubject();
    const selvo::CommitResult first =
        selvo::RunProcessing(state.subject, state.answers, folderOf(dir));
    ASSERT_FALSE(first.error.has_value());
    ASSERT_EQ(first.files.size(), 3u);
    EXPECT_EQ(first.files[0].path, selvo::utf8Of(dir.file(kData)));
    EXPECT_EQ(first.files[1].path, selvo::utf8Of(dir.file(kReport)));
    EXPECT_EQ(first.files[2].path, selvo::utf8Of(dir.file(kExport)));
    for (const auto& file : first.files) {
        EXPECT_FALSE(file.replaced) << file.path;
    }
    fs::remove(kReport);
    const selvo::CommitResult second =
        selvo::RunProcessing(state.subject, state.answers, folderOf(dir));
    ASSERT_FALSE(second.error.has_value());
    EXPECT_TRUE(second.files[0].replaced);
    EXPECT_FALSE(second.files[1].replaced);
    EXPECT_TRUE(second.files[2].replaced);
}

} // namespace
