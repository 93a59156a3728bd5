// SPDX-License-Identifier: GPL-3.0-or-later
// selvo-batch and the file system saying no: an output that cannot be written, a read-only
// folder, a pipe given as a data file, a folder busy with another run.

#include "BatchFixture.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

// A report whose name is taken by a folder: the older data file and command file stay.
TEST(SelvoBatch, AReportThatCannotBeWrittenLeavesTheOlderSetAndNoTemporary) {
    const TempDir dir;
    write(dir.file("input.csv"), testsupport::dataFileOf(subject(1)));
    fs::create_directory("out");
    // The same administration, written by an older version: rewritten, not another visit.
    write(dir.file("out") / "SELVO_GRP1_S01.csv",
          testsupport::dataFileOf(subject(1)).insert(0, "\xEF\xBB\xBF"));
    write(dir.file("out") / "SELVO_SS000_GRP1_S01_sps.sps", "older commands\r\n");
    fs::create_directory(dir.file("out") / "SELVO_GRP1_S01_report.rtf");
    const auto before = filesIn(dir.file("out"));

    const BatchRun run = batch({"--out", "out", "input.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("SELVO_GRP1_S01_report.rtf"));
    EXPECT_EQ(filesIn(dir.file("out")), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.file("out"))) {
        ++entries;
    }
    EXPECT_EQ(entries, 3u) << "a temporary file was left behind";
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(SelvoBatch, ReadOnlyFolderFailsWithTheReasonAndKeepsTheOlderFiles) {
    const TempDir dir;
    fs::create_directory(dir.file("study"));
    write(dir.file("study") / "SELVO_GRP1_S01.csv", testsupport::dataFileOf(subject(1)));
    const std::string before = fileBytes(dir.file("study") / "SELVO_GRP1_S01.csv");
    fs::permissions(dir.file("study"), fs::perms(0555));
    BatchRun run;
    {
        const Unprivileged asResearcher;
        run = batch({"study/SELVO_GRP1_S01.csv"});
    }
    fs::permissions(dir.file("study"), fs::perms(0755));
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("permesso negato"));
    EXPECT_EQ(filesIn(dir.file("study")).size(), 1u);
    EXPECT_EQ(fileBytes(dir.file("study") / "SELVO_GRP1_S01.csv"), before);
}
#endif

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(SelvoBatch, APipeIsRefusedAtOnceAndTheRunGoesOn) {
    const TempDir dir;
    ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
    write(dir.file("good.csv"), testsupport::dataFileOf(subject(1)));
    const auto started = std::chrono::steady_clock::now();
    const BatchRun run = batch({"pipe.csv", "good.csv"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("pipe.csv: lettura non riuscita: non è un file regolare"));
    EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 1 non riuscito.\n");
}
#endif

TEST(SelvoBatch, AWriteErrorNamesTheWholePath) {
    const TempDir dir;
    write(dir.file("input.csv"), testsupport::dataFileOf(subject(1)));
    fs::create_directory("out");
    fs::create_directory(dir.file("out") / "SELVO_GRP1_S01.csv");
    const BatchRun run = batch({"--out", "out", "input.csv"});
    EXPECT_THAT(run.err, HasSubstr("Impossibile scrivere il file \"" +
                                   (dir.path() / "out" / "SELVO_GRP1_S01.csv").string() +
                                   "\": il nome indica una cartella, non un file."));
}

TEST(SelvoBatch, AFolderBusyWithAnotherRunIsNamedAndWaitedFor) {
    const TempDir dir;
    fs::create_directory("out");
    write(dir.file("a.csv"), testsupport::dataFileOf(subject(1)));
    selvo::FolderLock::Attempt held = selvo::FolderLock::take(dir.file("out").string(), {});
    ASSERT_TRUE(held.lock);
    std::thread otherRun([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        held.lock.reset();
    });
    std::ostringstream out;
    std::ostringstream err;
    const auto options = std::get<selvo::BatchOptions>(
        selvo::ParseBatchArguments({"--out", "out", "--dataset", "studio", "a.csv"}));
    const int status = selvo::RunBatch(
        options, {out, err, selvo::ProgressLine::None, std::chrono::milliseconds(100)}, fixedClock);
    otherRun.join();
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(err.str(), "selvo-batch: la cartella \"" + dir.file("out").string() +
                             "\" è in uso da un'altra elaborazione di BrivanSelvo: attendo che "
                             "si liberi.\n");
    EXPECT_EQ(filesIn(dir.file("out")).size(), 7u); // the subject's three, the dataset's four
}

} // namespace
