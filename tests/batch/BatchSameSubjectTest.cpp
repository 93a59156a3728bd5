// SPDX-License-Identifier: GPL-3.0-or-later
// selvo-batch and files that would replace one another: one subject twice, a retest beside
// the first visit, one file or folder under several spellings, names that differ in case.

#include "BatchFixture.h"

#include "batch/BatchPlan.h"
#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

TEST(SelvoBatch, TwoFilesOfTheSameSubjectAreBothRefusedAndNothingIsWritten) {
    const TempDir dir;
    fs::create_directory(dir.file("a"));
    fs::create_directory(dir.file("b"));
    write(dir.file("a") / "same.csv", testsupport::dataFileOf(subject(1)));
    write(dir.file("b") / "same.csv", testsupport::dataFileOf(subject(2)));
    write(dir.file("other.csv"), testsupport::dataFileOf(subject(3, "S03")));
    const BatchRun run = batch({"--out", "out", "a/same.csv", "b/same.csv", "other.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 2 non riusciti.\n");
    EXPECT_THAT(run.err, HasSubstr("a/same.csv: ha lo stesso Cognome/Codice e Nome/Codice di "
                                   "b/same.csv"));
    EXPECT_THAT(run.err, HasSubstr("b/same.csv: ha lo stesso Cognome/Codice e Nome/Codice di "
                                   "a/same.csv"));
    EXPECT_EQ(filesIn(dir.file("out")).size(), 3u);
    EXPECT_TRUE(fs::exists(dir.file("out") / "SELVO_GRP1_S03.csv"));
}

// A study folder with the first visit under its own name and a retest of the same subject:
// the retest's outputs would replace the first visit's data file before it was read.
TEST(SelvoBatch, ARetestBesideTheFirstVisitLeavesBothInputsUnchanged) {
    const TempDir dir;
    fs::create_directory(dir.file("study"));
    const fs::path first = dir.file("study") / "SELVO_GRP1_S01.csv";
    const fs::path retest = dir.file("study") / "A_retest.csv";
    write(first, testsupport::dataFileOf(subject(1)));
    write(retest, testsupport::dataFileOf(subject(2)));
    const auto before = filesIn(dir.file("study"));

    for (const auto& order :
         {std::vector<std::string>{"study/A_retest.csv", "study/SELVO_GRP1_S01.csv"},
          std::vector<std::string>{"study/SELVO_GRP1_S01.csv", "study/A_retest.csv"}}) {
        const BatchRun run = batch(order);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "selvo-batch: 0 file elaborati, 2 non riusciti.\n");
        EXPECT_THAT(run.err, HasSubstr("study/A_retest.csv: ha lo stesso Cognome/Codice e "
                                       "Nome/Codice di study/SELVO_GRP1_S01.csv"));
        EXPECT_THAT(run.err, HasSubstr("i suoi file sostituirebbero study/SELVO_GRP1_S01.csv"));
        EXPECT_EQ(filesIn(dir.file("study")), before);
    }
}

// A retest processed into the folder that holds the first visit would lose that visit: the
// subject is refused unless --sostituisci says so; the same administration again is fine.
TEST(SelvoBatch, AnotherAdministrationInTheOutputFolderIsReplacedOnlyWhenAskedTo) {
    const TempDir dir;
    fs::create_directories(dir.file("a"));
    fs::create_directories(dir.file("b"));
    const auto firstVisit = processedBySingleRun(subject(1), dir.file("a"));
    write(dir.file("b") / "SELVO_GRP1_S01.csv", testsupport::dataFileOf(subject(2)));
    write(dir.file("b") / "same.csv", testsupport::dataFileOf(subject(1)));

    const BatchRun refused = batch({"--out", "a", "b/SELVO_GRP1_S01.csv"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "selvo-batch: 0 file elaborati, 1 non riuscito.\n");
    EXPECT_THAT(refused.err, HasSubstr("SELVO_GRP1_S01.csv, del "));
    EXPECT_THAT(refused.err, HasSubstr("contiene un'altra somministrazione: "));
    EXPECT_THAT(refused.err, HasSubstr("--sostituisci"));
    EXPECT_EQ(filesIn(dir.file("a")), firstVisit);

    write(dir.file("a") / "SELVO_GRP1_S01.csv", "non sono dati\r\n");
    EXPECT_THAT(batch({"--out", "a", "b/SELVO_GRP1_S01.csv"}).err,
                HasSubstr("non si può leggere come file di dati"));
    write(dir.file("a") / "SELVO_GRP1_S01.csv", firstVisit.at("SELVO_GRP1_S01.csv"));

    const BatchRun again = batch({"--out", "a", "b/same.csv"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(filesIn(dir.file("a")), firstVisit);

    const BatchRun replaced = batch({"--sostituisci", "--out", "a", "b/SELVO_GRP1_S01.csv"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(fileBytes(dir.file("a") / "SELVO_GRP1_S01.csv"),
              fileBytes(dir.file("b") / "SELVO_GRP1_S01.csv"));
}

// The same folder reached through a link, "./" and "..": one folder, whatever the spelling.
#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(SelvoBatch, TheSameFolderThroughALinkIsRecognised) {
    const TempDir dir;
    fs::create_directory(dir.file("study"));
    fs::create_directory_symlink(dir.file("study"), dir.file("link"));
    write(dir.file("study") / "visit1.csv", testsupport::dataFileOf(subject(1)));
    write(dir.file("study") / "visit2.csv", testsupport::dataFileOf(subject(2)));
    const auto before = filesIn(dir.file("study"));

    const BatchRun run = batch({"study/visit1.csv", "link/../link/./visit2.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("study/visit1.csv: ha lo stesso Cognome/Codice e Nome/Codice "
                                   "di link/../link/./visit2.csv"));
    EXPECT_EQ(filesIn(dir.file("study")), before);

    // One file through a link, a file link, "./": processed once, each repeat noted.
    fs::create_symlink(dir.file("study") / "visit1.csv", dir.file("alias.csv"));
    const BatchRun twice = batch(
        {"--out", "out", "study/visit1.csv", "link/visit1.csv", "./study/visit1.csv", "alias.csv"});
    EXPECT_EQ(twice.status, 0) << twice.err;
    EXPECT_EQ(twice.out, "selvo-batch: 1 file elaborato, 0 non riusciti.\n");
    for (const char* repeat : {"link/visit1.csv", "./study/visit1.csv", "alias.csv"}) {
        EXPECT_THAT(twice.err, HasSubstr(std::string(repeat) +
                                         ": è lo stesso file di "
                                         "study/visit1.csv, indicato più volte: elaborato "
                                         "una volta sola.\n"));
    }
    EXPECT_EQ(filesIn(dir.file("out")).size(), 3u);
    EXPECT_EQ(filesIn(dir.file("study")), before);
}
#endif

TEST(SelvoBatch, AnInputRewrittenAsItsOwnDataFileIsFine) {
    const TempDir dir;
    write(dir.file("SELVO_GRP1_S01.csv"), testsupport::dataFileOf(subject(1)));
    const std::string before = fileBytes(dir.file("SELVO_GRP1_S01.csv"));
    const BatchRun run = batch({"./SELVO_GRP1_S01.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), before);
    EXPECT_EQ(filesIn(dir.path()).size(), 3u);

    // Given twice, it is still only its own data file.
    const BatchRun twice = batch({"SELVO_GRP1_S01.csv", "./SELVO_GRP1_S01.csv"});
    EXPECT_EQ(twice.status, 0) << twice.err;
    EXPECT_THAT(twice.err, HasSubstr("./SELVO_GRP1_S01.csv: è lo stesso file di "
                                     "SELVO_GRP1_S01.csv, indicato più volte"));
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), before);
}

TEST(SelvoBatch, NamesThatDifferOnlyInCaseAreOneFileWhereTheSystemSaysSo) {
    const TempDir dir;
    write(dir.file("first.csv"), testsupport::dataFileOf(subject(1, "Mario")));
    testsupport::TestSubject shouting = subject(2, "MARIO");
    shouting.subject.surname = "grp1";
    write(dir.file("second.csv"), selvo::ComposeDataFile(shouting.subject, shouting.answers));
    const BatchRun run = batch({"--out", "out", "first.csv", "second.csv"});
#ifdef _WIN32
    // SELVO_GRP1_Mario.csv and SELVO_grp1_MARIO.csv are one file on Windows.
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("ha lo stesso Cognome/Codice e Nome/Codice di second.csv"));
    EXPECT_FALSE(fs::exists(dir.file("out") / "SELVO_GRP1_Mario.csv"));
#else
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(filesIn(dir.file("out")).size(), 6u);
#endif
}

// A USB stick (FAT, exFAT) or a shared folder takes "Niccolò" and "NICCOLÒ" for one name on
// Linux too: the output folder decides, not the system.
TEST(SelvoBatch, NamesThatDifferOnlyInCaseAreOneFileWhereTheFolderSaysSo) {
    const TempDir dir;
    fs::create_directory("out");
    testsupport::TestSubject quiet = subject(1, "Niccolò");
    quiet.subject.surname = "Rossi";
    write(dir.file("first.csv"), selvo::ComposeDataFile(quiet.subject, quiet.answers));
    testsupport::TestSubject shouting = subject(2, "NICCOLÒ");
    shouting.subject.surname = "ROSSI";
    write(dir.file("second.csv"), selvo::ComposeDataFile(shouting.subject, shouting.answers));
    selvo::BatchOptions options;
    options.outDir = "out";
    options.files = {"first.csv", "second.csv"};
    for (const std::optional<bool> folds : {std::optional(true), std::optional(false)}) {
        std::vector<std::string> probed;
        selvo::FolderNames names([&](const std::string& folder) {
            probed.push_back(folder);
            return folds;
        });
        const auto plan = selvo::PlanBatch(options, names);
        ASSERT_EQ(plan.size(), 2u);
        EXPECT_EQ(probed, std::vector<std::string>{(dir.path() / "out").string()})
            << "one probe for the folder, kept for the run";
        if (*folds) {
            ASSERT_TRUE(plan[0].refusal);
            EXPECT_THAT(*plan[0].refusal, HasSubstr("ha lo stesso Cognome/Codice e Nome/Codice "
                                                    "di second.csv"));
            EXPECT_TRUE(plan[1].refusal);
        } else {
            EXPECT_FALSE(plan[0].refusal) << *plan[0].refusal;
            EXPECT_FALSE(plan[1].refusal) << *plan[1].refusal;
        }
    }
}

} // namespace
