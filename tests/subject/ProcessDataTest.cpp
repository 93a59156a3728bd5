#include "scoring/ProcessData.h"

#include "administration/ItemBank.h"
#include "scoring/CriteriaAlgorithm.h"
#include "shell/Startup.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>

namespace fs = std::filesystem;

namespace {

selvo::ProgramState answeredSubject() {
    selvo::ProgramState state;
    selvo::SetProgramConstants(state);
    selvo::LoadItemBank(state);
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = static_cast<selvo::Integer>(item % 7 + 1);
        state.AnswerD[item] =
            static_cast<selvo::Integer>(state.AnswerT[item] >= 5 ? item % 3 + 1 : 0);
    }
    state.SubjectName = "S01";
    state.SubjectSurname = "GRP1";
    state.SubjectAge = "35";
    state.SubjectSex = "1";
    state.SubjectMarital = "2";
    state.SubjectEducation = "3";
    return state;
}

const char* const kData = "SELVO_GRP1_S01.csv";
const char* const kReport = "SELVO_GRP1_S01_report.rtf";
const char* const kExport = "SELVO_SS000_GRP1_S01_sps.sps";

TEST(ProcessData, ReadsTheClockAfterTheHeaderAndBeforeAnyScore) {
    const TempDir dir;
    selvo::ProgramState state = answeredSubject();
    bool headerBuilt = false;
    bool scored = true;
    int reads = 0;
    const auto clock = [&] {
        ++reads;
        headerBuilt = !state.ReportHeader.empty();
        scored = !state.Scores.par1t.isEmpty() || state.ScoreT[1] != 0;
        return std::string("01/02/2026 10:20:30");
    };
    EXPECT_FALSE(selvo::ProcessData(state, clock).has_value());
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(headerBuilt);
    EXPECT_FALSE(scored);
}

TEST(ProcessData, LeavesTheCriteriaSlotsWithTheStricterThresholdResults) {
    const TempDir dir;
    selvo::ProgramState state = answeredSubject();
    ASSERT_FALSE(selvo::ProcessData(state).has_value());
    selvo::ProgramState x5 = state;
    selvo::ComputeCriteriaX5(x5);
    EXPECT_EQ(state.Scores.TOTTOT.value(), x5.Scores.TOTTOT.value());
    EXPECT_EQ(state.Scores.PARTOT.value(), x5.Scores.PARTOT.value());
    EXPECT_EQ(state.Scores.BDL56.value(), x5.Scores.BDL56.value());
    selvo::ProgramState x4 = state;
    selvo::ComputeCriteriaX4(x4);
    EXPECT_NE(x4.Scores.TOTTOT.value(), x5.Scores.TOTTOT.value())
        << "answers do not tell X4 from X5";
}

struct BlockedStep {
    const char* label;
    const char* blocked;              // a folder of this name stands where the file should go
    std::vector<const char*> written; // the files of the steps before it
};
void PrintTo(const BlockedStep& step, std::ostream* os) {
    *os << step.label;
}

class ProcessDataStops : public testing::TestWithParam<BlockedStep> {};

TEST_P(ProcessDataStops, AtTheFirstFailingStepKeepingEarlierFiles) {
    const TempDir dir;
    fs::create_directory(dir.file(GetParam().blocked));
    selvo::ProgramState state = answeredSubject();
    const auto error = selvo::ProcessData(state);

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->fileName, GetParam().blocked);
    std::set<std::string> expected{GetParam().blocked};
    expected.insert(GetParam().written.begin(), GetParam().written.end());
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, ProcessDataStops,
                         testing::Values(BlockedStep{"DataFile", kData, {}},
                                         BlockedStep{"Report", kReport, {kData}},
                                         BlockedStep{"Export", kExport, {kData, kReport}}),
                         [](const testing::TestParamInfo<BlockedStep>& info) {
                             return info.param.label;
                         });

} // namespace
