// SPDX-License-Identifier: GPL-3.0-or-later
// selvo-batch run in this process: the files it writes for each data file, and what it
// reports of the files it could not process.

#include "BatchFixture.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

TEST(SelvoBatch, ReproducesTheProgramsThreeFilesBesideTheDataFile) {
    const TempDir dir;
    const auto expected = processedBySingleRun(subject(3), dir.file("program"));
    fs::create_directory(dir.file("study"));
    fs::copy_file(dir.file("program") / "SELVO_GRP1_S01.csv",
                  dir.file("study") / "SELVO_GRP1_S01.csv");

    const BatchRun run = batch({"study/SELVO_GRP1_S01.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 0 non riusciti.\n");
    EXPECT_EQ(filesIn(dir.file("study")), expected);
    EXPECT_EQ(fs::current_path(), dir.path());
}

TEST(SelvoBatch, WritesIntoTheOutputFolderAndLeavesTheDataFileAlone) {
    const TempDir dir;
    const auto expected = processedBySingleRun(subject(4), dir.file("program"));
    fs::create_directory(dir.file("study"));
    // A renamed data file still gives the subject's own file names.
    fs::copy_file(dir.file("program") / "SELVO_GRP1_S01.csv", dir.file("study") / "s01.csv");

    const BatchRun run = batch({"--out", "results", "study/s01.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(filesIn(dir.file("results")), expected);
    EXPECT_EQ(filesIn(dir.file("study")).size(), 1u);
}

// The run moves into each data file's folder in turn, only when the next file is elsewhere,
// and ends where it started.
TEST(SelvoBatch, FilesOfSeveralFoldersEachGetTheirOwnAndTheRunEndsWhereItStarted) {
    const TempDir dir;
    std::map<std::string, std::map<std::string, std::string>> expected;
    std::vector<std::string> args;
    int seed = 0;
    for (const char* folder : {"a", "a", "b", "a", "c", "c"}) {
        const std::string name = "S" + std::to_string(10 + seed);
        const auto single = processedBySingleRun(subject(seed, name), dir.file("single") / name);
        expected[folder].insert(single.begin(), single.end());
        fs::create_directories(dir.file(folder));
        const std::string input = std::string(folder) + "/SELVO_GRP1_" + name + ".csv";
        fs::copy_file(dir.file("single") / name / ("SELVO_GRP1_" + name + ".csv"), dir.file(input));
        args.push_back(input);
        ++seed;
    }

    const BatchRun run = batch(args);
    EXPECT_EQ(run.status, 0) << run.err;
    for (const auto& [folder, files] : expected) {
        EXPECT_EQ(filesIn(dir.file(folder)), files) << folder;
    }
    EXPECT_EQ(fs::current_path(), dir.path());
}

TEST(SelvoBatch, EachFileStartsFromACleanState) {
    const TempDir dir;
    fs::create_directory(dir.file("alone"));
    fs::create_directory(dir.file("after"));
    write(dir.file("first.csv"), testsupport::dataFileOf(subject(1, "A")));
    write(dir.file("second.csv"), testsupport::dataFileOf(subject(6, "B")));

    ASSERT_EQ(batch({"--out", "alone", "second.csv"}).status, 0);
    ASSERT_EQ(batch({"--out", "after", "first.csv", "second.csv"}).status, 0);
    auto after = filesIn(dir.file("after"));
    const auto alone = filesIn(dir.file("alone"));
    for (const auto& [name, bytes] : alone) {
        EXPECT_EQ(after[name], bytes) << name;
    }
}

TEST(SelvoBatch, ReportsEachFailingFileAndGoesOnWithTheRest) {
    const TempDir dir;
    write(dir.file("good1.csv"), testsupport::dataFileOf(subject(1, "G1")));
    write(dir.file("truncated.csv"), "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"3\",\"\",4\r\n");
    testsupport::TestSubject noSex = subject(2, "NS");
    noSex.subject.sex = "0";
    write(dir.file("nosex.csv"), selvo::ComposeDataFile(noSex.subject, noSex.answers));
    testsupport::TestSubject unsafe = subject(3, "../x");
    write(dir.file("unsafe.csv"), selvo::ComposeDataFile(unsafe.subject, unsafe.answers));
    write(dir.file("good2.csv"), testsupport::dataFileOf(subject(5, "G2")));

    const BatchRun run = batch(
        {"good1.csv", "missing.csv", "truncated.csv", "nosex.csv", "unsafe.csv", "good2.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "selvo-batch: 2 file elaborati, 4 non riusciti.\n");
    EXPECT_THAT(run.err,
                HasSubstr("missing.csv: lettura non riuscita: file o cartella inesistente"));
    EXPECT_THAT(run.err, HasSubstr("truncated.csv: lettura non riuscita: il file ha 9 campi"));
    EXPECT_THAT(run.err, HasSubstr("nosex.csv: dati del soggetto incompleti (manca: sesso)"));
    EXPECT_THAT(run.err,
                HasSubstr("unsafe.csv: Il campo Nome/Codice «../x» contiene il carattere «/»"));
    EXPECT_TRUE(fs::exists(dir.file("SELVO_GRP1_G1_report.rtf")));
    EXPECT_TRUE(fs::exists(dir.file("SELVO_GRP1_G2_report.rtf")));
    EXPECT_FALSE(fs::exists(dir.file("SELVO_GRP1_NS_report.rtf")));
}

TEST(SelvoBatch, ProcessesIncompleteAnswersAsTheProgramDoesButSaysSo) {
    const TempDir dir;
    testsupport::TestSubject partial = subject(2);
    partial.answers.agreement[10] = 0;
    partial.answers.agreement[11] = 0;
    write(dir.file("partial.csv"), selvo::ComposeDataFile(partial.subject, partial.answers));
    const BatchRun run = batch({"partial.csv"});
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.err,
                HasSubstr("partial.csv: elaborato, ma mancano le risposte agli item 10 e 11.\n"));
}

// A save cut short on a FAT stick: the record, then zeros. Processed, with a note, and the
// rewritten data file is whole again.
TEST(SelvoBatch, ProcessesARecordFollowedByZeroBytesAndSaysTheFileWasDamaged) {
    const TempDir dir;
    const std::string record = testsupport::dataFileOf(subject(3));
    write(dir.file("SELVO_GRP1_S01.csv"), record + std::string(2048, '\0'));
    const BatchRun run = batch({"SELVO_GRP1_S01.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("SELVO_GRP1_S01.csv: nota: la parte finale del file è "
                                   "danneggiata: dopo i dati del soggetto ci sono 2048 byte "
                                   "nulli"));
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), record);
}

TEST(SelvoBatch, TwentyGeneratedFilesAllSucceed) {
    const TempDir dir;
    std::vector<std::string> args{"--out", "out"};
    for (int i = 0; i < 20; ++i) {
        const std::string name = "S" + std::to_string(100 + i);
        write(dir.file(name + ".csv"), testsupport::dataFileOf(subject(i, name)));
        args.push_back(name + ".csv");
    }
    const BatchRun run = batch(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "selvo-batch: 20 file elaborati, 0 non riusciti.\n");
    EXPECT_EQ(filesIn(dir.file("out")).size(), 60u);
}

} // namespace
