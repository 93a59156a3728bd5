// SPDX-License-Identifier: GPL-3.0-or-later

// A run driven through its listener, as the Studio window drives it: every input settled once,
// with what became of it, and a stop that leaves the rest untouched.
#include "batch/BatchJob.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;
using State = selvo::InputOutcome::State;

namespace {

std::string dataFile(int seed) {
    return testsupport::dataFileOf(
        {testsupport::subjectRecord({.surname = "Job",
                                     .name = "N" + std::to_string(seed),
                                     .age = "30",
                                     .sex = "1",
                                     .marital = "1",
                                     .education = "1"}),
         testsupport::answersWhere([seed](int item) { return (item + seed) % 4 + 1; },
                                   [](int) { return 0; })});
}

class Recorder : public selvo::BatchListener {
public:
    explicit Recorder(std::size_t stopAt) : m_stopAt(stopAt) {}
    void say(const std::string&) override {}
    void progressed(std::size_t seen) override { m_stop = m_stop || seen == m_stopAt; }
    void settled(std::size_t index, const selvo::InputOutcome& outcome) override {
        EXPECT_EQ(states.count(index), 0u) << "input " << index << " settled twice";
        states[index] = outcome.state;
    }
    bool stopRequested() override { return m_stop; }
    std::map<std::size_t, State> states;

private:
    std::size_t m_stopAt;
    bool m_stop = false;
};

struct JobCase {
    const char* name;
    std::size_t stopAt; // 0: never
    std::vector<State> states;
    int status;
    bool datasetWritten;
};

class BatchJob : public testing::TestWithParam<JobCase> {};

TEST_P(BatchJob, SettlesEveryInputOnceAndWritesTheDatasetOnlyWhenNotStopped) {
    const TempDir dir;
    const auto write = [&dir](const std::string& name, const std::string& bytes) {
        std::ofstream(dir.file(name), std::ios::binary) << bytes;
        return dir.file(name).string();
    };
    selvo::BatchOptions options;
    options.files = {write("a.csv", dataFile(1)), write("bad.csv", "x,y\r\n"),
                     dir.file(".").string() + "/a.csv", write("b.csv", dataFile(2)),
                     write("c.csv", dataFile(3))};
    options.outDir = dir.file("out").string();
    options.dataset = "studio";
    Recorder recorder(GetParam().stopAt);

    auto prepared = selvo::PrepareBatch(options, recorder, std::chrono::seconds(3));
    ASSERT_TRUE(std::holds_alternative<selvo::PreparedBatch>(prepared));
    EXPECT_TRUE(fs::is_empty(dir.file("out"))) << "preparing writes nothing";
    const selvo::BatchTotals totals = selvo::RunPreparedBatch(
        std::get<selvo::PreparedBatch>(prepared), recorder, [] { return "01/01/2027 00:00:00"; });

    std::vector<State> states;
    for (const auto& settled : recorder.states) {
        states.push_back(settled.second);
    }
    EXPECT_EQ(states, GetParam().states);
    EXPECT_EQ(totals.status, GetParam().status);
    EXPECT_EQ(fs::exists(dir.file("out") / "studio.csv"), GetParam().datasetWritten);
}

INSTANTIATE_TEST_SUITE_P(Runs, BatchJob,
                         testing::Values(JobCase{"ToTheEnd",
                                                 0,
                                                 {State::Written, State::Failed, State::Repeated,
                                                  State::Written, State::Written},
                                                 1,
                                                 true},
                                         JobCase{"StoppedAfterTwo",
                                                 2,
                                                 {State::Written, State::Failed, State::NotReached,
                                                  State::NotReached, State::NotReached},
                                                 selvo::kBatchInterrupted,
                                                 false}),
                         [](const testing::TestParamInfo<JobCase>& info) {
                             return info.param.name;
                         });

} // namespace
