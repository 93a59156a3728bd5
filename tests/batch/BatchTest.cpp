// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchRun.h"

#include "batch/BatchPlan.h"
#include "batch/DatasetKeyLock.h"
#include "datafiles/AdministrationFingerprint.h"
#include "datafiles/DataFile.h"
#include "datafiles/DatasetCodebook.h"
#include "datafiles/DatasetCommands.h"
#include "datafiles/DatasetTable.h"
#include "datafiles/StatisticsExport.h"
#include "processing/ProcessData.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <thread>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

namespace {

std::string fixedClock() {
    return "07/12/2026 10:20:30";
}

// A subject as the window would leave it after a questionnaire: answers vary with `seed`.
selvo::ProgramState subject(int seed, const std::string& name = "S01") {
    selvo::ProgramState state;
    for (int item = 1; item <= 94; ++item) {
        state.administration.answers.agreement[item] = static_cast<selvo::Integer>((item * 3 + seed) % 7 + 1);
        state.administration.answers.distress[item] =
            static_cast<selvo::Integer>(state.administration.answers.agreement[item] >= 5 ? (item + seed) % 3 + 1 : 0);
    }
    state.subject.card = static_cast<selvo::Integer>(seed);
    state.subject.name = name;
    state.subject.surname = "GRP1";
    state.subject.age = std::to_string(20 + seed % 50);
    state.subject.sex = seed % 2 == 0 ? "1" : "2";
    state.subject.marital = std::to_string(seed % 5 + 1);
    state.subject.education = std::to_string((seed + 2) % 5 + 1);
    state.subject.notes = "nota, con virgola " + std::to_string(seed);
    return state;
}

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The three files the window writes for a subject, by name.
std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = fileBytes(entry.path());
        }
    }
    return files;
}

// What processing writes for this subject, in a folder of its own.
std::map<std::string, std::string> processedBySingleRun(selvo::ProgramState state,
                                                        const fs::path& folder) {
    fs::create_directories(folder);
    const auto error = selvo::ProcessData(state, selvo::utf8Of(fs::absolute(folder)), fixedClock);
    EXPECT_FALSE(error.has_value()) << error->message();
    return filesIn(folder);
}

struct BatchRun {
    int status;
    std::string out;
    std::string err;
};

BatchRun batch(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const auto parsed = selvo::ParseBatchArguments(args);
    const auto& options = std::get<selvo::BatchOptions>(parsed);
    const int status = selvo::RunBatch(options, {out, err, selvo::ProgressLine::None}, fixedClock);
    return {status, out.str(), err.str()};
}

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
    write(dir.file("first.csv"), selvo::ComposeDataFile(subject(1, "A")));
    write(dir.file("second.csv"), selvo::ComposeDataFile(subject(6, "B")));

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
    write(dir.file("good1.csv"), selvo::ComposeDataFile(subject(1, "G1")));
    write(dir.file("truncated.csv"), "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"3\",\"\",4\r\n");
    selvo::ProgramState noSex = subject(2, "NS");
    noSex.subject.sex = "0";
    write(dir.file("nosex.csv"), selvo::ComposeDataFile(noSex));
    selvo::ProgramState unsafe = subject(3, "../x");
    write(dir.file("unsafe.csv"), selvo::ComposeDataFile(unsafe));
    write(dir.file("good2.csv"), selvo::ComposeDataFile(subject(5, "G2")));

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
    selvo::ProgramState partial = subject(2);
    partial.administration.answers.agreement[10] = 0;
    partial.administration.answers.agreement[11] = 0;
    write(dir.file("partial.csv"), selvo::ComposeDataFile(partial));
    const BatchRun run = batch({"partial.csv"});
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.err,
                HasSubstr("partial.csv: elaborato, ma mancano le risposte agli item 10 e 11.\n"));
}

// A save cut short on a FAT stick: the record, then zeros. Processed, with a note, and the
// rewritten data file is whole again.
TEST(SelvoBatch, ProcessesARecordFollowedByZeroBytesAndSaysTheFileWasDamaged) {
    const TempDir dir;
    const std::string record = selvo::ComposeDataFile(subject(3));
    write(dir.file("SELVO_GRP1_S01.csv"), record + std::string(2048, '\0'));
    const BatchRun run = batch({"SELVO_GRP1_S01.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("SELVO_GRP1_S01.csv: nota: la parte finale del file è "
                                   "danneggiata: dopo i dati del soggetto ci sono 2048 byte "
                                   "nulli"));
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01.csv")), record);
}

TEST(SelvoBatch, TwoFilesOfTheSameSubjectAreBothRefusedAndNothingIsWritten) {
    const TempDir dir;
    fs::create_directory(dir.file("a"));
    fs::create_directory(dir.file("b"));
    write(dir.file("a") / "same.csv", selvo::ComposeDataFile(subject(1)));
    write(dir.file("b") / "same.csv", selvo::ComposeDataFile(subject(2)));
    write(dir.file("other.csv"), selvo::ComposeDataFile(subject(3, "S03")));
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
    write(first, selvo::ComposeDataFile(subject(1)));
    write(retest, selvo::ComposeDataFile(subject(2)));
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
    write(dir.file("b") / "SELVO_GRP1_S01.csv", selvo::ComposeDataFile(subject(2)));
    write(dir.file("b") / "same.csv", selvo::ComposeDataFile(subject(1)));

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
    write(dir.file("study") / "visit1.csv", selvo::ComposeDataFile(subject(1)));
    write(dir.file("study") / "visit2.csv", selvo::ComposeDataFile(subject(2)));
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
    write(dir.file("SELVO_GRP1_S01.csv"), selvo::ComposeDataFile(subject(1)));
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

// A report whose name is taken by a folder: the older data file and command file stay.
TEST(SelvoBatch, AReportThatCannotBeWrittenLeavesTheOlderSetAndNoTemporary) {
    const TempDir dir;
    write(dir.file("input.csv"), selvo::ComposeDataFile(subject(1)));
    fs::create_directory("out");
    // The same administration, written by an older version: rewritten, not another visit.
    write(dir.file("out") / "SELVO_GRP1_S01.csv",
          selvo::ComposeDataFile(subject(1)).insert(0, "\xEF\xBB\xBF"));
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
    write(dir.file("study") / "SELVO_GRP1_S01.csv", selvo::ComposeDataFile(subject(1)));
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

// A file can carry terminal escape sequences in a refused field and in its own name: the
// terminal must be shown them, never sent them.
TEST(SelvoBatch, EscapeSequencesReachTheTerminalOnlyAsVisibleText) {
    const TempDir dir;
    selvo::ProgramState slash = subject(1, "a/b\x1B]0;titolo\x07");
    write(dir.file("slash.csv"), selvo::ComposeDataFile(slash));
    const std::string oddName = "odd\x1B[2J.csv";
    write(dir.file(oddName), "not a data file\r\n");
    const BatchRun run = batch({"slash.csv", oddName});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\x07'), std::string::npos) << run.err;
    EXPECT_THAT(run.err, HasSubstr("slash.csv: lettura non riuscita: campo 2: il nome contiene il "
                                   "carattere \\x1B"));
    EXPECT_THAT(run.err, HasSubstr("odd\\x1B[2J.csv: lettura non riuscita"));

    const BatchRun usage = [] {
        std::ostringstream out, err;
        const int status =
            selvo::BatchMain({"--bogus\x1B[8m"}, out, err, selvo::ProgressLine::None);
        return BatchRun{status, out.str(), err.str()};
    }();
    EXPECT_EQ(usage.status, 2);
    EXPECT_THAT(usage.err, HasSubstr("opzione sconosciuta: --bogus\\x1B[8m"));
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(SelvoBatch, APipeIsRefusedAtOnceAndTheRunGoesOn) {
    const TempDir dir;
    ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
    write(dir.file("good.csv"), selvo::ComposeDataFile(subject(1)));
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
    write(dir.file("input.csv"), selvo::ComposeDataFile(subject(1)));
    fs::create_directory("out");
    fs::create_directory(dir.file("out") / "SELVO_GRP1_S01.csv");
    const BatchRun run = batch({"--out", "out", "input.csv"});
    EXPECT_THAT(run.err, HasSubstr("Impossibile scrivere il file \"" +
                                   (dir.path() / "out" / "SELVO_GRP1_S01.csv").string() +
                                   "\": il nome indica una cartella, non un file."));
}

// What the progress line leaves on the console between messages, for each kind of console.
std::string progressShown(selvo::ProgressLine style) {
    const TempDir dir;
    std::vector<std::string> args;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "P" + std::to_string(i);
        write(dir.file(name + ".csv"), selvo::ComposeDataFile(subject(i, name)));
        args.push_back(name + ".csv");
    }
    args.push_back("absent.csv");
    std::ostringstream out;
    std::ostringstream err;
    const auto options = std::get<selvo::BatchOptions>(selvo::ParseBatchArguments(args));
    selvo::RunBatch(options, {out, err, style}, fixedClock);
    return err.str();
}

TEST(SelvoBatch, TheProgressLineIsTakenBackAsTheConsoleAllows) {
    const std::string terminal = progressShown(selvo::ProgressLine::EraseSequence);
    EXPECT_THAT(terminal, HasSubstr("\rselvo-batch: file 6 di 7"));
    EXPECT_THAT(terminal, HasSubstr("\r\x1b[Kselvo-batch: absent.csv: "));

    // A console that would print the escape sequence as text gets blanks over the line.
    const std::string console = progressShown(selvo::ProgressLine::Blanks);
    EXPECT_EQ(console.find('\x1b'), std::string::npos);
    EXPECT_THAT(console,
                HasSubstr("\rselvo-batch: file 6 di 7\r" +
                          std::string(std::string("selvo-batch: file 6 di 7").size(), ' ') +
                          "\rselvo-batch: absent.csv: "));

    const std::string redirected = progressShown(selvo::ProgressLine::None);
    EXPECT_EQ(redirected.find('\r'), std::string::npos);
}

TEST(SelvoBatch, SourceDateEpochFixesTheReportTimeInUtc) {
    const auto fixed = [](const char* epoch) {
        return std::get<selvo::DateTimeSource>(selvo::BatchDateTimeSource(epoch))();
    };
    EXPECT_EQ(fixed("0"), "01/01/1970 00:00:00");
    EXPECT_EQ(fixed("951782400"), "29/02/2000 00:00:00");
    EXPECT_EQ(fixed("1796000000"), "30/11/2026 00:53:20");
    EXPECT_EQ(fixed("4102444799"), "31/12/2099 23:59:59");
    EXPECT_EQ(fixed("253402300799"), "31/12/9999 23:59:59");
    // Unset: the clock's time, as without it.
    for (const char* clock : {static_cast<const char*>(nullptr), ""}) {
        const std::string text = fixed(clock);
        EXPECT_TRUE(std::regex_match(text, std::regex("[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9:]{8}")))
            << text;
        EXPECT_NE(text, "01/01/1970 00:00:00");
    }
}

void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

// Anything but whole seconds from 1970 to the end of year 9999 stops the run as a usage error,
// before any file is read: never the clock's time in its place, nor a year of twelve digits.
TEST(SelvoBatch, AMalformedSourceDateEpochIsAUsageError) {
    const char* const given = std::getenv("SOURCE_DATE_EPOCH");
    const std::string before = given == nullptr ? "" : given;
    for (const char* epoch : {"-1", "abc", "1e9", "12x", " 5", "+5", "1.5", "253402300800",
                              "9223372036854775807", "99999999999999999999"}) {
        setEnvironment("SOURCE_DATE_EPOCH", epoch);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(selvo::BatchMain({"assente.csv"}, out, err, selvo::ProgressLine::None), 2)
            << epoch;
        EXPECT_THAT(err.str(), HasSubstr("SOURCE_DATE_EPOCH vale «" + std::string(epoch) +
                                         "», ma deve essere un numero intero di secondi"));
        EXPECT_THAT(err.str(), Not(HasSubstr("assente.csv")));
    }
    setEnvironment("SOURCE_DATE_EPOCH", before.c_str());
}

TEST(SelvoBatch, NamesThatDifferOnlyInCaseAreOneFileWhereTheSystemSaysSo) {
    const TempDir dir;
    write(dir.file("first.csv"), selvo::ComposeDataFile(subject(1, "Mario")));
    selvo::ProgramState shouting = subject(2, "MARIO");
    shouting.subject.surname = "grp1";
    write(dir.file("second.csv"), selvo::ComposeDataFile(shouting));
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
    selvo::ProgramState quiet = subject(1, "Niccolò");
    quiet.subject.surname = "Rossi";
    write(dir.file("first.csv"), selvo::ComposeDataFile(quiet));
    selvo::ProgramState shouting = subject(2, "NICCOLÒ");
    shouting.subject.surname = "ROSSI";
    write(dir.file("second.csv"), selvo::ComposeDataFile(shouting));
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

TEST(SelvoBatch, AFolderBusyWithAnotherRunIsNamedAndWaitedFor) {
    const TempDir dir;
    fs::create_directory("out");
    write(dir.file("a.csv"), selvo::ComposeDataFile(subject(1)));
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

TEST(SelvoBatch, TwentyGeneratedFilesAllSucceed) {
    const TempDir dir;
    std::vector<std::string> args{"--out", "out"};
    for (int i = 0; i < 20; ++i) {
        const std::string name = "S" + std::to_string(100 + i);
        write(dir.file(name + ".csv"), selvo::ComposeDataFile(subject(i, name)));
        args.push_back(name + ".csv");
    }
    const BatchRun run = batch(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "selvo-batch: 20 file elaborati, 0 non riusciti.\n");
    EXPECT_EQ(filesIn(dir.file("out")).size(), 60u);
}

// The rows of a dataset table whose values hold no comma, quote or line break.
std::vector<std::vector<std::string>> tableRows(const std::string& bytes) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::vector<std::string> row;
        std::stringstream line(bytes.substr(start, end - start));
        for (std::string value; std::getline(line, value, ',');) {
            row.push_back(value);
        }
        rows.push_back(row);
    }
    EXPECT_EQ(start, bytes.size()) << "the table does not end with CR LF";
    return rows;
}

// The values of the data line of a subject's command file.
std::vector<std::string> dataLineValues(const fs::path& commandFile) {
    std::istringstream in(fileBytes(commandFile));
    for (std::string line; std::getline(in, line);) {
        if (line == "BEGIN DATA\r" && std::getline(in, line)) {
            std::vector<std::string> values;
            std::istringstream fields(line);
            for (std::string value; fields >> value;) {
                values.push_back(value);
            }
            return values;
        }
    }
    ADD_FAILURE() << "no data line in " << commandFile;
    return {};
}

// The values a row of the dataset starts with, then the case's.
std::vector<std::string> joined(std::vector<std::string> first,
                                const std::vector<std::string>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

std::vector<std::string> variableNames() {
    std::vector<std::string> names;
    for (const auto& variable : selvo::StatisticsVariables()) {
        names.push_back(variable.name);
    }
    return names;
}

TEST(SelvoBatchDataset, HoldsTheCasesOfTheProcessedFilesInTheOrderGiven) {
    const TempDir dir;
    write(dir.file("c.csv"), selvo::ComposeDataFile(subject(3, "C")));
    write(dir.file("bad.csv"), "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"3\",\"\",4\r\n");
    write(dir.file("a.csv"), selvo::ComposeDataFile(subject(1, "A")));
    write(dir.file("b.csv"), selvo::ComposeDataFile(subject(5, "B")));
    const std::vector<std::string> inputs{"c.csv", "bad.csv", "a.csv", "b.csv"};

    std::vector<std::string> args{"--out", "out", "--dataset", "studio"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const BatchRun run = batch(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "selvo-batch: 3 file elaborati, 1 non riuscito; 3 casi scritti in " +
                           (fs::path("out") / "studio.csv").string() + ".\n");
    EXPECT_THAT(run.err, HasSubstr("bad.csv: lettura non riuscita"));

    const std::string table = fileBytes(dir.file("out") / "studio.csv");
    ASSERT_TRUE(table.starts_with("\xEF\xBB\xBF"));
    const auto rows = tableRows(table.substr(3));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], joined({"ID", "Cognome", "Nome"}, variableNames()));
    // Each row names its input, past the one that failed.
    const fs::path out = dir.file("out");
    EXPECT_EQ(rows[1],
              joined({"c", "GRP1", "C"}, dataLineValues(out / "SELVO_SS000_GRP1_C_sps.sps")));
    EXPECT_EQ(rows[2],
              joined({"a", "GRP1", "A"}, dataLineValues(out / "SELVO_SS000_GRP1_A_sps.sps")));
    EXPECT_EQ(rows[3],
              joined({"b", "GRP1", "B"}, dataLineValues(out / "SELVO_SS000_GRP1_B_sps.sps")));

    selvo::ProgramState labels;
    const std::vector<selvo::DatasetTextColumn> identity{
        {"ID", 1, " Identificativo",
         "Nome del file di dati del soggetto, senza cartella ed estensione"},
        {"Cognome", 4, " Cognome", "Cognome del soggetto"},
        {"Nome", 1, " Nome", "Nome del soggetto"}};
    EXPECT_EQ(fileBytes(out / "studio.sps"),
              selvo::ComposeDatasetCommands("studio", labels.ItemText, identity));
    EXPECT_EQ(fileBytes(out / "studio_codebook.csv"),
              selvo::ComposeDatasetCodebook(selvo::DatasetVariables(labels.ItemText, identity)));
    EXPECT_EQ(fileBytes(out / "studio.sav").substr(92, 17), "07 Dec 2610:20:30");

    // The subjects' own files are those of a run without a dataset.
    auto withDataset = filesIn(out);
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        EXPECT_EQ(withDataset.erase(file), 1u) << file;
    }
    args = {"--out", "plain"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    batch(args);
    EXPECT_EQ(withDataset, filesIn(dir.file("plain")));
}

TEST(SelvoBatchDataset, GoesToTheCurrentFolderWithoutAnOutputFolder) {
    const TempDir dir;
    fs::create_directory(dir.file("study"));
    write(dir.file("study") / "a.csv", selvo::ComposeDataFile(subject(1, "A")));
    const BatchRun run = batch({"--dataset=studio", "study/a.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 0 non riusciti; 1 caso scritto in "
                       "studio.csv.\n");
    EXPECT_TRUE(fs::exists(dir.file("studio.csv")));
    EXPECT_TRUE(fs::exists(dir.file("studio.sps")));
    EXPECT_EQ(filesIn(dir.file("study")).size(), 4u);
}

TEST(SelvoBatchDataset, ARerunReplacesTheWholeOlderDataset) {
    const TempDir dir;
    write(dir.file("a.csv"), selvo::ComposeDataFile(subject(1, "A")));
    write(dir.file("b.csv"), selvo::ComposeDataFile(subject(2, "B")));
    ASSERT_EQ(batch({"--out", "out", "--dataset", "studio", "a.csv", "b.csv"}).status, 0);
    ASSERT_EQ(tableRows(fileBytes(dir.file("out") / "studio.csv").substr(3)).size(), 3u);
    ASSERT_EQ(batch({"--out", "out", "--dataset", "studio", "b.csv"}).status, 0);
    const auto rows = tableRows(fileBytes(dir.file("out") / "studio.csv").substr(3));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], joined({"b", "GRP1", "B"},
                              dataLineValues(dir.file("out") / "SELVO_SS000_GRP1_B_sps.sps")));
}

// An empty table would replace the study's older one: with no case, nothing is written.
TEST(SelvoBatchDataset, WithNoProcessedFileNothingIsWrittenAndTheOlderDatasetStays) {
    const TempDir dir;
    write(dir.file("studio.csv"), "older table\r\n");
    const BatchRun run = batch({"--dataset", "studio", "assente.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "selvo-batch: 0 file elaborati, 1 non riuscito; studio.csv, studio.sps, "
                       "studio.sav e studio_codebook.csv non sono stati scritti: nessun caso.\n");
    EXPECT_EQ(fileBytes(dir.file("studio.csv")), "older table\r\n");
    EXPECT_FALSE(fs::exists(dir.file("studio.sps")));
}

// Whichever of the dataset's files cannot be written, none is: the older ones stay whole.
TEST(SelvoBatchDataset, ADatasetThatCannotBeWrittenFailsTheRunAndLeavesTheOlderOne) {
    for (const std::string& blocked : selvo::DatasetFileNames("studio")) {
        const TempDir dir;
        write(dir.file("a.csv"), selvo::ComposeDataFile(subject(1, "A")));
        fs::create_directories(dir.file("out") / blocked); // a folder where a file should go
        for (const std::string& file : selvo::DatasetFileNames("studio")) {
            if (file != blocked) {
                write(dir.file("out") / file, "older " + file);
            }
        }
        const BatchRun run = batch({"--out", "out", "--dataset", "studio", "a.csv"});
        EXPECT_EQ(run.status, 1) << blocked;
        const std::string shown = (fs::path("out") / "studio").string();
        EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 0 non riusciti; " + shown + ".csv, " +
                               shown + ".sps, " + shown + ".sav e " + shown +
                               "_codebook.csv non sono stati scritti.\n");
        EXPECT_THAT(run.err, HasSubstr("Impossibile scrivere il file \"" +
                                       (dir.file("out") / blocked).string() +
                                       "\": il nome indica una cartella, non un file."));
        for (const std::string& file : selvo::DatasetFileNames("studio")) {
            if (file != blocked) {
                EXPECT_EQ(fileBytes(dir.file("out") / file), "older " + file) << blocked;
            }
        }
        EXPECT_TRUE(fs::exists(dir.file("out") / "SELVO_GRP1_A_report.rtf"));
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.file("out"))) {
            ++entries;
        }
        EXPECT_EQ(entries, 7u) << "a temporary file was left behind";
    }
}

// A study folder often holds the dataset of the run before, and "*.csv" picks it up.
TEST(SelvoBatchDataset, ANameThatWouldReplaceAnInputRefusesTheRunBeforeAnythingIsWritten) {
    const TempDir dir;
    fs::create_directory(dir.file("out"));
    write(dir.file("out") / "studio.csv", "older table\r\n");
    write(dir.file("a.csv"), selvo::ComposeDataFile(subject(1, "A")));
    const BatchRun run = batch({"--out", "out", "--dataset", "studio", "a.csv", "out/studio.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("selvo-batch: --dataset studio: studio.csv sostituirebbe "
                                   "out/studio.csv, indicato in questa stessa esecuzione"));
    EXPECT_THAT(run.err, HasSubstr("Nessun file è stato scritto."));
    EXPECT_EQ(filesIn(dir.file("out")).size(), 1u);
    EXPECT_EQ(fileBytes(dir.file("out") / "studio.csv"), "older table\r\n");
}

TEST(SelvoBatchDataset, ANameThatIsASubjectsFileRefusesTheRun) {
    const TempDir dir;
    write(dir.file("a.csv"), selvo::ComposeDataFile(subject(1, "A")));
    const BatchRun run = batch({"--dataset", "SELVO_GRP1_A", "a.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr("SELVO_GRP1_A.csv avrebbe lo stesso nome di un file del "
                                   "soggetto di a.csv nella stessa cartella"));
    EXPECT_EQ(filesIn(dir.path()).size(), 1u);

    // Names are compared as the file system compares them.
    write(dir.file("studio.csv"), "older table\r\n");
    const BatchRun shouting = batch({"--dataset", "STUDIO", "a.csv", "studio.csv"});
#ifdef _WIN32
    EXPECT_EQ(shouting.status, 2);
    EXPECT_THAT(shouting.err, HasSubstr("STUDIO.csv sostituirebbe studio.csv"));
#else
    EXPECT_EQ(shouting.status, 1) << shouting.err; // studio.csv is no data file
    EXPECT_TRUE(fs::exists(dir.file("STUDIO.csv")));
#endif
    EXPECT_EQ(fileBytes(dir.file("studio.csv")), "older table\r\n");
}

// Two data files of one name from two folders would be two rows of one ID.
TEST(SelvoBatchDataset, TwoDataFilesOfOneNameAreBothRefused) {
    const TempDir dir;
    for (const char* folder : {"a", "b"}) {
        fs::create_directory(dir.file(folder));
        write(dir.file(folder) / "x.csv", selvo::ComposeDataFile(subject(1, folder)));
    }
    const BatchRun run = batch({"--dataset", "studio", "a/x.csv", "b/x.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("a/x.csv: ha lo stesso nome di b/x.csv: nel dataset"));
    EXPECT_THAT(run.err, HasSubstr("b/x.csv: ha lo stesso nome di a/x.csv"));
    EXPECT_FALSE(fs::exists(dir.file("studio.csv")));
}

// A study whose subjects' names must not travel: names, surnames and notes are chosen so that
// no other text of the files holds them.
constexpr std::array<const char*, 3> kPrivate{"Zebedeo", "Quaglierini", "riservata"};

std::string privateSubject(int seed, const std::string& name) {
    selvo::ProgramState state = subject(seed, kPrivate[0] + name);
    state.subject.surname = kPrivate[1];
    state.subject.notes = std::string("nota ") + kPrivate[2];
    return selvo::ComposeDataFile(state);
}

// The fingerprint a key holds for the administration of subject(seed).
std::string fingerprintOf(int seed) {
    const selvo::ProgramState state = subject(seed);
    return selvo::AdministrationFingerprint(state.subject, state.administration.answers);
}

std::vector<std::vector<std::string>> keyRows(const fs::path& key) {
    const std::string bytes = fileBytes(key);
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    return tableRows(bytes.substr(3));
}

TEST(SelvoBatchPseudonyms, TheDatasetNamesNobodyAndTheKeyMapsEveryCodeToItsFile) {
    const TempDir dir;
    write(dir.file("SELVO_C.csv"), privateSubject(3, "C"));
    write(dir.file("bad.csv"), "0,\"S01\"\r\n");
    write(dir.file("SELVO_A.csv"), privateSubject(1, "A"));
    const BatchRun run = batch({"--out", "out", "--dataset", "studio", "--pseudonimi",
                                "SELVO_C.csv", "bad.csv", "SELVO_A.csv"});
    EXPECT_EQ(run.status, 1);
    const fs::path out = dir.file("out");
    EXPECT_EQ(run.out, "selvo-batch: 2 file elaborati, 1 non riuscito; 2 casi scritti in " +
                           (fs::path("out") / "studio.csv").string() +
                           ". La chiave dei codici è in " +
                           (fs::path("out") / "studio_chiave.csv").string() +
                           ": conservarla a parte, non inviarla insieme al dataset.\n");
    const auto rows = tableRows(fileBytes(out / "studio.csv").substr(3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], joined({"ID"}, variableNames()));
    EXPECT_EQ(rows[1],
              joined({"S0001"}, dataLineValues(out / "SELVO_SS000_Quaglierini_ZebedeoC_sps.sps")));
    EXPECT_EQ(rows[2],
              joined({"S0002"}, dataLineValues(out / "SELVO_SS000_Quaglierini_ZebedeoA_sps.sps")));
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        for (const char* word : kPrivate) {
            EXPECT_THAT(fileBytes(out / file), testing::Not(HasSubstr(word))) << file;
        }
    }
    EXPECT_EQ(keyRows(out / "studio_chiave.csv"),
              (std::vector<std::vector<std::string>>{
                  {"Codice", "File di dati", "Cognome", "Nome", "Impronta"},
                  {"S0001", "SELVO_C.csv", "Quaglierini", "ZebedeoC", fingerprintOf(3)},
                  {"S0002", "SELVO_A.csv", "Quaglierini", "ZebedeoA", fingerprintOf(1)}}));
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(::stat((out / "studio_chiave.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST(SelvoBatchPseudonyms, ARerunKeepsEachSubjectsCodeAndGivesANewOneTheNext) {
    const TempDir dir;
    for (const char* name : {"A", "B", "C"}) {
        write(dir.file(std::string(name) + ".csv"), privateSubject(name[0], name));
    }
    fs::create_directory(dir.file("chiavi"));
    const std::vector<std::string> options{"--dataset", "studio", "--pseudonimi", "--chiave",
                                           "chiavi/studio.csv"};
    ASSERT_EQ(batch(joined(options, {"A.csv", "B.csv"})).status, 0);
    EXPECT_FALSE(fs::exists(dir.file("studio_chiave.csv")));
    // A key someone opened up is narrowed again when it is rewritten.
    fs::permissions(dir.file("chiavi") / "studio.csv", fs::perms(0644));
    const BatchRun again = batch(joined(options, {"C.csv", "B.csv"}));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("La chiave dei codici è in chiavi/studio.csv:"));
    const auto rows = tableRows(fileBytes(dir.file("studio.csv")).substr(3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "S0003");
    EXPECT_EQ(rows[2][0], "S0002");
    // The subject missing from this run keeps its code too.
    const auto key = keyRows(dir.file("chiavi") / "studio.csv");
    ASSERT_EQ(key.size(), 4u);
    EXPECT_EQ(key[1][0] + key[1][1], "S0001A.csv");
    EXPECT_EQ(key[2][0] + key[2][1], "S0002B.csv");
    EXPECT_EQ(key[3][0] + key[3][1], "S0003C.csv");
#ifndef _WIN32
    EXPECT_EQ(fs::status(dir.file("chiavi") / "studio.csv").permissions(), fs::perms(0600));
#endif
}

// The codes of a dataset's rows, in order.
std::vector<std::string> datasetCodes(const fs::path& table) {
    std::vector<std::string> codes;
    for (const auto& row : tableRows(fileBytes(table).substr(3))) {
        codes.push_back(row[0]);
    }
    codes.erase(codes.begin()); // the header
    return codes;
}

const std::vector<std::string> kWithKey{"--dataset", "studio", "--pseudonimi", "--chiave",
                                        "chiave.csv"};

// Another Mario Rossi, from another centre's folder under the same file name, is another
// administration: he gets a code of his own, told on the console, and the first keeps his row.
TEST(SelvoBatchPseudonyms, AnotherSubjectUnderAKnownFileNameGetsANewCode) {
    const TempDir dir;
    for (const auto& [folder, seed, age] :
         {std::tuple("centro1", 1, "45"), std::tuple("centro2", 2, "67")}) {
        selvo::ProgramState mario = subject(seed, "Mario");
        mario.subject.surname = "Rossi";
        mario.subject.age = age;
        fs::create_directory(dir.file(folder));
        write(dir.file(folder) / "SELVO_Rossi_Mario.csv", selvo::ComposeDataFile(mario));
    }
    ASSERT_EQ(batch(joined(kWithKey, {"--out", "out1", "centro1/SELVO_Rossi_Mario.csv"})).status,
              0);
    const auto first = keyRows(dir.file("chiave.csv"));
    const BatchRun second =
        batch(joined(kWithKey, {"--out", "out2", "centro2/SELVO_Rossi_Mario.csv"}));
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(datasetCodes(dir.file("out2") / "studio.csv"), std::vector<std::string>{"S0002"});
    EXPECT_THAT(second.err, HasSubstr("centro2/SELVO_Rossi_Mario.csv: nella chiave dei codici il "
                                      "nome SELVO_Rossi_Mario.csv ha già il codice S0001, ma per "
                                      "un'altra somministrazione"));
    const auto key = keyRows(dir.file("chiave.csv"));
    ASSERT_EQ(key.size(), 3u);
    EXPECT_EQ(key[1], first[1]);
    EXPECT_EQ(key[2][0] + key[2][3], "S0002Mario");
    EXPECT_NE(key[2][4], key[1][4]);
}

// A data file renamed after its name was corrected keeps its code; a key of an older version,
// without fingerprints, is matched by file name first and then given them.
TEST(SelvoBatchPseudonyms, ARenamedDataFileKeepsItsCodeAndAnOlderKeyGetsFingerprints) {
    const TempDir dir;
    write(dir.file("chiave.csv"), "\xEF\xBB\xBF"
                                  "Codice,File di dati,Cognome,Nome\r\n"
                                  "S0001,SELVO_GRP1_Mraio.csv,GRP1,Mraio\r\n");
    write(dir.file("SELVO_GRP1_Mraio.csv"), selvo::ComposeDataFile(subject(1, "Mraio")));
    write(dir.file("SELVO_GRP1_Zoe.csv"), selvo::ComposeDataFile(subject(2, "Zoe")));
    ASSERT_EQ(
        batch(joined(kWithKey, {"--out", "out", "SELVO_GRP1_Mraio.csv", "SELVO_GRP1_Zoe.csv"}))
            .status,
        0);
    EXPECT_EQ(keyRows(dir.file("chiave.csv"))[1],
              (std::vector<std::string>{"S0001", "SELVO_GRP1_Mraio.csv", "GRP1", "Mraio",
                                        fingerprintOf(1)}));

    fs::remove(dir.file("SELVO_GRP1_Mraio.csv"));
    write(dir.file("SELVO_GRP1_Mario.csv"), selvo::ComposeDataFile(subject(1, "Mario")));
    const BatchRun corrected =
        batch(joined(kWithKey, {"--out", "out", "SELVO_GRP1_Zoe.csv", "SELVO_GRP1_Mario.csv"}));
    ASSERT_EQ(corrected.status, 0) << corrected.err;
    EXPECT_EQ(datasetCodes(dir.file("out") / "studio.csv"),
              (std::vector<std::string>{"S0002", "S0001"}));
    const auto key = keyRows(dir.file("chiave.csv"));
    ASSERT_EQ(key.size(), 3u);
    EXPECT_EQ(key[1], (std::vector<std::string>{"S0001", "SELVO_GRP1_Mario.csv", "GRP1", "Mario",
                                                fingerprintOf(1)}));
}

#ifndef _WIN32 // symbolic links
// A key and a dataset reached through links are written where the links lead: the links stay,
// and the key there keeps its codes.
TEST(SelvoBatchPseudonyms, AKeyOrDatasetReachedThroughALinkIsWrittenWhereItLeads) {
    const TempDir dir;
    write(dir.file("A.csv"), privateSubject(1, "A"));
    fs::create_directories(dir.file("chiavi"));
    fs::create_directories(dir.file("tabelle"));
    ASSERT_EQ(batch({"--dataset", "studio", "--pseudonimi", "--chiave", "chiavi/vera.csv", "A.csv"})
                  .status,
              0);
    fs::create_directories(dir.file("out"));
    fs::create_symlink("../chiavi/vera.csv", dir.file("out") / "studio_chiave.csv");
    fs::create_symlink(dir.file("tabelle") / "studio.csv", dir.file("out") / "studio.csv");
    write(dir.file("B.csv"), privateSubject(2, "B"));

    const BatchRun run =
        batch({"--out", "out", "--dataset", "studio", "--pseudonimi", "B.csv", "A.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(dir.file("out") / "studio_chiave.csv"));
    EXPECT_TRUE(fs::is_symlink(dir.file("out") / "studio.csv"));
    EXPECT_EQ(keyRows(dir.file("chiavi") / "vera.csv").size(), 3u);
    EXPECT_EQ(datasetCodes(dir.file("tabelle") / "studio.csv"),
              (std::vector<std::string>{"S0002", "S0001"}));
    EXPECT_EQ(fs::status(dir.file("chiavi") / "vera.csv").permissions(), fs::perms(0600));
}
#endif

// A key is one run's from its reading to its writing: a second run waits, and says so.
TEST(SelvoBatchPseudonyms, ARunWaitsForAKeyAnotherRunHolds) {
    const TempDir dir;
    write(dir.file("A.csv"), privateSubject(1, "A"));
    selvo::KeyLock held = selvo::LockDatasetKey(dir.file("chiave.csv").string(), {});
    ASSERT_TRUE(held.lock.held());
    std::thread otherRun([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        held.lock = {};
    });
    std::ostringstream out;
    std::ostringstream err;
    const auto options =
        std::get<selvo::BatchOptions>(selvo::ParseBatchArguments(joined(kWithKey, {"A.csv"})));
    const int status = selvo::RunBatch(
        options, {out, err, selvo::ProgressLine::None, std::chrono::milliseconds(100)}, fixedClock);
    otherRun.join();
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(err.str(), "selvo-batch: la chiave dei codici chiave.csv è in uso da un'altra "
                         "elaborazione di BrivanSelvo: attendo che si liberi.\n");
    for (const std::string& name : namesIn(dir.path())) {
        EXPECT_FALSE(name.starts_with(".")) << name << " left behind"; // the lock's file went
    }
}

// A key that is not one could give an old code to a new subject: nothing is written at all.
TEST(SelvoBatchPseudonyms, AKeyThatCannotBeReadRefusesTheRunBeforeAnythingIsWritten) {
    const std::vector<std::pair<std::string, std::string>> keys{
        {"Codice,File\r\n", "non inizia con la riga di intestazione"},
        {"Codice,File di dati,Cognome,Nome\r\nX1,a.csv,R,M\r\n", "alla riga 2 il codice «X1»"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,a.csv,R\r\n", "alla riga 2 ha 3 campi"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,a.csv,R,M\r\nS0002,a.csv,R,M\r\n",
         "alla riga 3 il file di dati «a.csv» è vuoto o compare più volte"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,\"a.csv,R,M\r\n",
         "ha virgolette non chiuse o fuori posto"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,a.csv,Citt\xE0,M\r\n", "non è un testo UTF-8"},
    };
    for (const auto& [bytes, why] : keys) {
        const TempDir dir;
        write(dir.file("a.csv"), privateSubject(1, "A"));
        write(dir.file("studio_chiave.csv"), bytes);
        const BatchRun run = batch({"--dataset", "studio", "--pseudonimi", "a.csv"});
        EXPECT_EQ(run.status, 2) << why;
        EXPECT_THAT(run.err, HasSubstr("chiave dei codici studio_chiave.csv: il file non è una "
                                       "chiave dei codici di selvo-batch: " +
                                       why));
        EXPECT_THAT(run.err, HasSubstr("Nessun file è stato scritto."));
        EXPECT_EQ(filesIn(dir.path()).size(), 2u) << why;
        EXPECT_EQ(fileBytes(dir.file("studio_chiave.csv")), bytes);
    }
    const TempDir dir;
    write(dir.file("a.csv"), privateSubject(1, "A"));
    fs::create_directory(dir.file("studio_chiave.csv"));
    const BatchRun folder = batch({"--dataset", "studio", "--pseudonimi", "a.csv"});
    EXPECT_EQ(folder.status, 2);
    EXPECT_THAT(folder.err, HasSubstr("Impossibile leggere il file"));
    EXPECT_EQ(filesIn(dir.path()).size(), 1u);
}

// The key is a file of the run like the dataset's two: it may replace neither an input nor
// one of them.
TEST(SelvoBatchPseudonyms, AKeyInThePlaceOfAnotherFileRefusesTheRun) {
    const TempDir dir;
    write(dir.file("a.csv"), privateSubject(1, "A"));
    write(dir.file("studio_chiave.csv"), "Codice,File di dati,Cognome,Nome\r\n");
    const BatchRun input =
        batch({"--dataset", "studio", "--pseudonimi", "a.csv", "studio_chiave.csv"});
    EXPECT_EQ(input.status, 2);
    EXPECT_THAT(input.err, HasSubstr("studio_chiave.csv sostituirebbe studio_chiave.csv"));
    const BatchRun table =
        batch({"--dataset", "studio", "--pseudonimi", "--chiave", "studio.csv", "a.csv"});
    EXPECT_EQ(table.status, 2);
    EXPECT_THAT(table.err, HasSubstr("studio.csv sarebbe lo stesso file di studio.csv"));
    EXPECT_EQ(filesIn(dir.path()).size(), 2u);
}

// A study folder given whole: its data files, whatever their names, and neither the files of
// the folders inside nor what earlier runs wrote beside them (a dataset, a key of codes).
TEST(SelvoBatchInputs, AFolderStandsForItsDataFilesAndAListForItsLines) {
    const TempDir dir;
    fs::create_directories(dir.file("studio/dentro"));
    write(dir.file("studio/b.csv"), selvo::ComposeDataFile(subject(2, "B")));
    write(dir.file("studio/A.CSV"), selvo::ComposeDataFile(subject(1, "A")));
    write(dir.file("studio/dentro/c.csv"), selvo::ComposeDataFile(subject(3, "C")));
    write(dir.file("studio/vecchio.csv"), "\xEF\xBB\xBFID,Card,Sex\r\nS0001,0,1\r\n");
    write(dir.file("studio/vecchio_chiave.csv"), "\xEF\xBB\xBF"
                                                 "Codice,File di dati,Cognome,Nome\r\n");
    write(dir.file("studio/note.txt"), "not a data file");
    const BatchRun folder = batch({"--out", "out", "--dataset", "tutti", "studio"});
    EXPECT_EQ(folder.status, 0) << folder.err;
    EXPECT_THAT(folder.out, HasSubstr("selvo-batch: 2 file elaborati, 0 non riusciti; 2 casi"));
    EXPECT_EQ(tableRows(fileBytes(dir.file("out/tutti.csv")).substr(3))[1][0], "A");
    EXPECT_THAT(folder.err, HasSubstr((fs::path("studio") / "vecchio.csv").string() +
                                      ": lasciato fuori: è il dataset di un'esecuzione di "
                                      "selvo-batch, non un file di dati."));
    EXPECT_THAT(folder.err,
                HasSubstr("vecchio_chiave.csv: lasciato fuori: è una chiave dei codici"));

    // A list as an editor saves it: a byte-order mark, CR LF, blank lines; a folder in it too.
    write(dir.file("elenco.txt"), "\xEF\xBB\xBFstudio/b.csv\r\n\r\n  \r\nstudio/dentro\r\n");
    const BatchRun listed = batch({"--out", "out2", "--elenco", "elenco.txt"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "selvo-batch: 2 file elaborati, 0 non riusciti.\n");
    EXPECT_EQ(filesIn(dir.file("out2")).size(), 6u);

    write(dir.file("rotto.txt"), "studio/b.csv\nstudio/Citt\xE0.csv\n");
    const BatchRun broken = batch({"--elenco=rotto.txt", "studio/b.csv"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_THAT(broken.err, HasSubstr("l'elenco \"rotto.txt\": la riga 2 non è testo UTF-8"));
}

struct ArgsCase {
    const char* label;
    std::vector<std::string> args;
    int status;
    const char* said; // on stderr for errors, on stdout for help
};
void PrintTo(const ArgsCase& c, std::ostream* os) {
    *os << c.label;
}

class SelvoBatchCommandLine : public testing::TestWithParam<ArgsCase> {};

TEST_P(SelvoBatchCommandLine, AnswersWithItsStatus) {
    const TempDir dir;
    write(dir.file("taken"), "a file where a folder is asked for");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(selvo::BatchMain(GetParam().args, out, err, selvo::ProgressLine::None),
              GetParam().status);
    EXPECT_THAT(out.str() + err.str(), HasSubstr(GetParam().said));
}

INSTANTIATE_TEST_SUITE_P(
    Args, SelvoBatchCommandLine,
    testing::Values(
        ArgsCase{"NoFiles", {}, 2, "nessun file di dati indicato"},
        ArgsCase{"OutWithoutFolder", {"--out"}, 2, "--out richiede"},
        ArgsCase{"EmptyOut", {"--out=", "a.csv"}, 2, "--out richiede"},
        ArgsCase{"OutTwice", {"--out", "a", "--out", "b", "x.csv"}, 2, "più volte"},
        ArgsCase{"UnknownOption", {"-v", "x.csv"}, 2, "opzione sconosciuta: -v"},
        ArgsCase{
            "Help",
            {"--help"},
            0,
            "Uso: selvo-batch [--out CARTELLA] [--sostituisci] [--dataset NOME\n                  "
            "[--pseudonimi [--chiave FILE]]] [--elenco ELENCO] FILE..."},
        ArgsCase{"DatasetWithoutName", {"x.csv", "--dataset"}, 2, "--dataset richiede un nome"},
        ArgsCase{"EmptyDataset", {"--dataset=", "x.csv"}, 2, "--dataset richiede un nome"},
        ArgsCase{"DatasetTwice",
                 {"--dataset", "a", "--dataset=b", "x.csv"},
                 2,
                 "--dataset indicato più volte"},
        ArgsCase{"DatasetInAFolder",
                 {"--dataset", "out/studio", "x.csv"},
                 2,
                 "contiene una cartella: indicare solo il nome"},
        ArgsCase{"DatasetWithExtension", {"--dataset=studio.csv", "x.csv"}, 2, "senza estensione"},
        ArgsCase{"OptionTakenForADatasetName",
                 {"--dataset", "--out", "o", "x.csv"},
                 2,
                 "come un'opzione"},
        ArgsCase{"OutIsAFile", {"--out", "taken", "x.csv"}, 2, "taken"},
        // 252 letters fit, but 252 + ".csv" do not: refused before x.csv is looked at.
        ArgsCase{"DatasetNameTooLongForTheFolder",
                 {"--dataset", std::string(252, 'd'), "x.csv"},
                 2,
                 ".csv supera i 255 "},
        ArgsCase{"KeyWithoutPseudonyms",
                 {"--dataset", "studio", "--chiave", "k.csv", "x.csv"},
                 2,
                 "--chiave indica dove scrivere la chiave dei codici, che esiste solo con "
                 "--pseudonimi"},
        ArgsCase{"PseudonymsWithoutDataset", {"--pseudonimi", "x.csv"}, 2, "aggiungere --dataset"},
        ArgsCase{"KeyInAMissingFolder",
                 {"--dataset", "s", "--pseudonimi", "--chiave", "assente/k.csv", "x.csv"},
                 2,
                 "non esiste: crearla prima"},
        ArgsCase{"KeyIsADevice",
                 {"--dataset", "s", "--pseudonimi", "--chiave", "CON.csv", "x.csv"},
                 2,
                 "il nome «CON.csv» è un nome che Windows riserva ai dispositivi"},
        ArgsCase{"KeyIsADeviceInAFolder",
                 {"--dataset", "s", "--pseudonimi", "--chiave=chiavi/lpt²", "x.csv"},
                 2,
                 "riserva ai dispositivi"},
        ArgsCase{"KeyIsADeviceInAWindowsFolder",
                 {"--dataset", "s", "--pseudonimi", "--chiave", "chiavi\\conout$. ", "x.csv"},
                 2,
                 "riserva ai dispositivi"},
        ArgsCase{"DashDashThenDashFile", {"--", "-x.csv"}, 1, "-x.csv: lettura"},
        ArgsCase{"ListWithoutFile", {"--elenco"}, 2, "--elenco richiede il nome di un file"},
        ArgsCase{"MissingList", {"--elenco", "assente.txt"}, 2, "Impossibile leggere il file"},
        ArgsCase{"FolderWithoutDataFiles", {"."}, 2, "nessun file di dati da elaborare"},
        ArgsCase{"MissingFile", {"assente.csv"}, 1, "0 file elaborati, 1 non riuscito."}),
    [](const testing::TestParamInfo<ArgsCase>& info) { return info.param.label; });

// The installed program itself: its exit status reaches the shell.
TEST(SelvoBatchProgram, ExitStatusTellsSuccessFailureAndUsage) {
    const TempDir dir;
    write(dir.file("s.csv"), selvo::ComposeDataFile(subject(1)));
#ifdef _WIN32
    // Under Wine the program's Linux path reaches cmd.exe as a Windows one on drive Z:.
    std::string program = std::string("Z:") + SELVO_BATCH;
    std::replace(program.begin(), program.end(), '/', '\\');
    const auto status = [&program](const std::string& args) {
        return std::system(("\"" + program + "\" " + args + " >NUL 2>&1").c_str());
    };
#else
    const auto status = [](const std::string& args) {
        const int raw =
            std::system((std::string(SELVO_BATCH) + " " + args + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
#endif
    EXPECT_EQ(status("s.csv"), 0);
    EXPECT_EQ(status("s.csv assente.csv"), 1);
    EXPECT_EQ(status(""), 2);
}

} // namespace
