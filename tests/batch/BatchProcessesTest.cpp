// SPDX-License-Identifier: GPL-3.0-or-later

// selvo-batch as separate processes: two runs at once, a disk that fails under one, and runs
// killed or interrupted between the renames of a subject's files.
#include "BatchProcess.h"
#include "datafiles/DatasetTable.h"
#include "datafiles/StatisticsExport.h"
#include "platform/Platform.h"
#include "report/Report.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>

#include <csignal>
#include <regex>
#include <set>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

// The same subjects twice, in a/ and in b/, with other answers in b/: which run wrote a file of
// a subject is told by comparing it with each run's own.
struct TwoStudies {
    std::vector<std::string> names; // the data files, the same in both
    std::map<std::string, std::map<std::string, std::string>> alone; // run, file name, bytes
};

std::vector<std::string> argsFor(const TwoStudies& studies, const std::string& run,
                                 const std::string& out) {
    std::vector<std::string> args{"--out", out};
    for (const std::string& name : studies.names) {
        args.push_back(run + "/" + name);
    }
    return args;
}

// Run a's reports carry one time, run b's another, so no two files of the runs are alike.
std::vector<std::string> environmentOf(const std::string& run,
                                       const std::string& setting = "SELVO_TEST_SKIP_FLUSH") {
    std::vector<std::string> environment = withTestFlush(setting);
    environment.push_back(std::string("SOURCE_DATE_EPOCH=") +
                          (run == "a" ? "1000000000" : "2000000000"));
    return environment;
}

TwoStudies twoStudies(const TempDir& dir, int subjects) {
    TwoStudies studies;
    for (const char* run : {"a", "b"}) {
        fs::create_directory(dir.file(run));
        for (int i = 0; i < subjects; ++i) {
            const std::string name =
                writeDataFile(dir.file(run), subject(i, run[0] == 'a' ? i : i + 3));
            if (run[0] == 'a') {
                studies.names.push_back(name);
            }
        }
    }
    std::map<std::string, pid_t> alone;
    for (const std::string run : {"a", "b"}) {
        alone[run] = start(argsFor(studies, run, "alone-" + run), environmentOf(run),
                           {dir.file("err-" + run)});
    }
    for (const std::string run : {"a", "b"}) {
        EXPECT_EQ(exitStatus(alone[run]), 0);
        studies.alone[run] = filesIn(dir.file("alone-" + run));
    }
    return studies;
}

// How many subjects of the folder have files of both runs; `fromB` counts those all of run b.
int subjectsMixed(const TwoStudies& studies, const fs::path& folder, int* fromB = nullptr) {
    const auto files = filesIn(folder);
    int mixed = 0;
    for (std::size_t i = 0; i < studies.names.size(); ++i) {
        const testsupport::TestSubject state = subject(static_cast<int>(i), 0);
        std::set<std::string> runs;
        for (const std::string& name : {studies.names[i], selvo::ReportFileName(state.subject),
                                        selvo::StatisticsExportFileName(state.subject)}) {
            for (const std::string run : {"a", "b"}) {
                if (files.contains(name) && files.at(name) == studies.alone.at(run).at(name)) {
                    runs.insert(run);
                }
            }
        }
        mixed += runs.size() != 1;
        if (fromB != nullptr && runs == std::set<std::string>{"b"}) {
            ++*fromB;
        }
    }
    return mixed;
}

// What a run leaves in a folder while it writes: temporaries and records of renames.
std::vector<std::string> leftIn(const fs::path& folder) {
    std::vector<std::string> left;
    for (const std::string& name : namesIn(folder)) {
        if (name.starts_with(".selvo-")) {
            left.push_back(name);
        }
    }
    return left;
}

// Waits until the folder has stopped changing for a while: the run has written all it can.
void settles(const fs::path& folder) {
    std::size_t before = 0;
    for (int still = 0; still < 30;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const std::size_t now = namesIn(folder).size();
        still = now == before ? still + 1 : 0;
        before = now;
    }
}

// Run a's files in out/, then run b over them, stopped right after the second rename of its
// first subject; meanwhile it writes the next group's temporaries, and waits with a full group
// in hand. 600 subjects are more than two groups.
pid_t pausedOverRunA(const TempDir& dir, const TwoStudies& studies) {
    EXPECT_EQ(
        exitStatus(start(argsFor(studies, "a", "out"), environmentOf("a"), {dir.file("err-a")})),
        0);
    std::vector<std::string> environment = environmentOf("b");
    environment.push_back("SELVO_TEST_PAUSE_AFTER_RENAME=2");
    environment.push_back("SELVO_TEST_PAUSE_DIR=" + dir.path().string());
    std::vector<std::string> args = argsFor(studies, "b", "out");
    args.insert(args.begin(), "--sostituisci"); // b's answers are other administrations
    const pid_t run = start(args, environment, {dir.file("err-b"), dir.file("out-b")});
    EXPECT_TRUE(appears(dir.file("paused"), run)) << fileBytes(dir.file("err-b"));
    settles(dir.file("out"));
    return run;
}

// Two runs rescoring the same study into one folder at once, from inputs that differ: each
// subject's three files are all one run's, whichever finished that subject last.
TEST(SelvoBatchProcesses, TwoRunsIntoOneFolderNeverMixASubjectsFiles) {
    const TempDir dir;
    const TwoStudies studies = twoStudies(dir, 500);
    ASSERT_EQ(studies.alone.at("a").size(), 3u * 500);
    const pid_t a = start(argsFor(studies, "a", "shared"), environmentOf("a"), {dir.file("err-a")});
    const pid_t b = start(argsFor(studies, "b", "shared"), environmentOf("b"), {dir.file("err-b")});
    EXPECT_EQ(exitStatus(a), 0) << fileBytes(dir.file("err-a"));
    EXPECT_EQ(exitStatus(b), 0) << fileBytes(dir.file("err-b"));
    ASSERT_EQ(filesIn(dir.file("shared")).size(), 3u * 500);
    EXPECT_EQ(subjectsMixed(studies, dir.file("shared")), 0)
        << "files of a subject come from two runs";
}

// A run killed between two renames of a subject (SIGKILL, a power cut) leaves that subject
// with files of both runs, the record of the renames and temporaries; the next run writing
// into the folder finishes the renames and removes the rest, before its own subject.
TEST(SelvoBatchProcesses, ARunKilledBetweenTheRenamesOfASetIsCompletedByTheNextRun) {
    const TempDir dir;
    const TwoStudies studies = twoStudies(dir, 600);
    const pid_t run = pausedOverRunA(dir, studies);
    kill(run, SIGKILL);
    EXPECT_EQ(exitStatus(run), -1);
    EXPECT_EQ(subjectsMixed(studies, dir.file("out")), 1);
    EXPECT_FALSE(leftIn(dir.file("out")).empty());

    fs::create_directory(dir.file("c"));
    const std::string other = writeDataFile(dir.file("c"), subject(1000, 7));
    EXPECT_EQ(exitStatus(start({"--out", "out", "c/" + other}, {}, {dir.file("err-c")})), 0)
        << fileBytes(dir.file("err-c"));
    EXPECT_EQ(subjectsMixed(studies, dir.file("out")), 0);
    EXPECT_EQ(leftIn(dir.file("out")), std::vector<std::string>{});
    EXPECT_EQ(filesIn(dir.file("out")).size(), 3u * 601);
}

// Ctrl+C between two renames of a subject: the run finishes the subjects it has in hand, says
// how many were written and stops with 130; every subject's files are one run's, and nothing
// of the run is left in the folder.
TEST(SelvoBatchProcesses, CtrlCFinishesTheSubjectsInHandSaysWhatWasWrittenAndExits130) {
    const TempDir dir;
    const TwoStudies studies = twoStudies(dir, 600);
    const pid_t run = pausedOverRunA(dir, studies);
    kill(run, SIGINT);
    std::ofstream(dir.file("continue")).close();
    EXPECT_EQ(exitStatus(run), 130) << fileBytes(dir.file("err-b"));
    const std::string said = fileBytes(dir.file("out-b"));
    std::smatch counts;
    ASSERT_TRUE(
        std::regex_match(said, counts,
                         std::regex("selvo-batch: ([0-9]+) file elaborati, 0 non riusciti; "
                                    "interrotta: ([0-9]+) file non sono stati elaborati\\.\n")))
        << said;
    EXPECT_EQ(std::stoi(counts[1]) + std::stoi(counts[2]), 600);
    int fromB = 0;
    EXPECT_EQ(subjectsMixed(studies, dir.file("out"), &fromB), 0);
    EXPECT_EQ(fromB, std::stoi(counts[1]));
    EXPECT_EQ(leftIn(dir.file("out")), std::vector<std::string>{});
}

// Another run's temporaries in a folder are left alone while it lives: only those of no living
// run are removed.
TEST(SelvoBatchProcesses, ALivingRunsTemporariesAreLeftAlone) {
    const TempDir dir;
    fs::create_directory(dir.file("out"));
    selvo::CommitGroup living;
    living.add({{"out/a.csv", "a"}, {"out/b.csv", "b"}});
    const std::vector<std::string> temporaries = leftIn(dir.file("out"));
    ASSERT_EQ(temporaries.size(), 2u);
    const std::string other = writeDataFile(dir.path(), subject(1, 1));
    EXPECT_EQ(exitStatus(start({"--out", "out", other}, {}, {dir.file("err")})), 0);
    EXPECT_EQ(leftIn(dir.file("out")), temporaries);
    const std::vector<selvo::CommitResult> results = living.commit();
    EXPECT_FALSE(results.at(0).error);
    EXPECT_EQ(fileBytes(dir.file("out/b.csv")), "b");
}

// Two groups of one study rescored at once into two folders, with one key: each subject gets a
// code of its own, and the key keeps both runs' codes. The second run waits for the first.
TEST(SelvoBatchProcesses, TwoRunsWithOneKeyGiveEachSubjectACodeOfItsOwn) {
    const TempDir dir;
    constexpr int kSubjects = 400;
    std::map<std::string, std::vector<std::string>> args;
    for (const std::string group : {"g1", "g2"}) {
        fs::create_directory(dir.file(group));
        args[group] = {"--out",        "out-" + group, "--dataset", "studio",
                       "--pseudonimi", "--chiave",     "chiave.csv"};
        for (int i = 0; i < kSubjects; ++i) {
            testsupport::TestSubject state = subject(i, i, group);
            state.subject.sex = group == "g1" ? "1" : "2"; // two administrations, never one
            args[group].push_back(group + "/" + writeDataFile(dir.file(group), state));
        }
    }
    const pid_t first = start(args["g1"], environmentOf("a"), {dir.file("err-1")});
    const pid_t second = start(args["g2"], environmentOf("a"), {dir.file("err-2")});
    EXPECT_EQ(exitStatus(first), 0) << fileBytes(dir.file("err-1"));
    EXPECT_EQ(exitStatus(second), 0) << fileBytes(dir.file("err-2"));

    std::set<std::string> codes;
    for (const std::string group : {"g1", "g2"}) {
        std::istringstream table(fileBytes(dir.file("out-" + group) / "studio.csv"));
        std::string row;
        std::getline(table, row); // the header
        while (std::getline(table, row)) {
            EXPECT_TRUE(codes.insert(row.substr(0, row.find(','))).second)
                << "given twice: " << row;
        }
    }
    EXPECT_EQ(codes.size(), 2u * kSubjects);
    std::istringstream key(fileBytes(dir.file("chiave.csv")));
    std::string row;
    int rows = -1; // the header
    while (std::getline(key, row)) {
        rows += codes.contains(row.substr(0, row.find(','))) || rows < 0 ? 1 : 0;
    }
    EXPECT_EQ(rows, 2 * kSubjects);
    EXPECT_EQ(leftIn(dir.path()), std::vector<std::string>{});
}

// Three subjects' data files in `dir`, and their names.
std::vector<std::string> writeInputs(const TempDir& dir) {
    std::vector<std::string> inputs;
    for (int i = 0; i < 3; ++i) {
        inputs.push_back(writeDataFile(dir.path(), subject(i, i)));
    }
    return inputs;
}

// A disk that fails to flush the folder after the renames: the files are in place but not
// known to be on the disk, and the run says so for every subject flushed with that folder.
TEST(SelvoBatchProcesses, AFolderThatCannotBeFlushedFailsEverySubjectOfItsGroup) {
    const TempDir dir;
    std::vector<std::string> args{"--out", "out"};
    for (const std::string& input : writeInputs(dir)) {
        args.push_back(input);
    }
    // The first folder flush is the record of the renames, which goes through.
    std::vector<std::string> failing = withTestFlush("SELVO_TEST_FAIL_FOLDER_FLUSH");
    failing[1] = "SELVO_TEST_FAIL_FOLDER_FLUSH=2";
    const pid_t run = start(args, failing, {dir.file("err")});
    EXPECT_EQ(exitStatus(run), 1);
    const std::string err = fileBytes(dir.file("err"));
    for (const std::string& input : writeInputs(dir)) {
        EXPECT_THAT(err, HasSubstr("selvo-batch: " + input + ": Impossibile scrivere il file \"" +
                                   (dir.file("out") / input).string() +
                                   "\": i file sono stati messi al loro posto, ma la cartella "
                                   "non è stata registrata sul disco (errore di scrittura sul "
                                   "disco): "));
    }
    EXPECT_THAT(err, HasSubstr("ripetere l'elaborazione."));
}

// A file whose bytes the disk cannot write, found when its group is flushed: its subject fails
// with its older files whole, as does every subject the flush could not vouch for (the whole
// group, where one flush of the file system stands for the files'); the others are written.
TEST(SelvoBatchProcesses, AFileThatCannotBeFlushedFailsItsSubjectAndKeepsItsOlderFiles) {
    const TempDir dir;
    std::vector<std::string> args{"--out", "out", "--dataset", "studio"};
    const std::vector<std::string> inputs = writeInputs(dir);
    args.insert(args.end(), inputs.begin(), inputs.end());
    std::vector<std::string> first = withTestFlush("SELVO_TEST_SKIP_FLUSH");
    first.push_back("SOURCE_DATE_EPOCH=1000000000");
    ASSERT_EQ(exitStatus(start(args, first, {dir.file("err")})), 0);
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        fs::remove(dir.file("out") / file);
    }
    const auto older = filesIn(dir.file("out"));

    // The fifth file flushed on its own is the second subject's report.
    std::vector<std::string> failing = withTestFlush("SELVO_TEST_FAIL_FILE_FLUSH");
    failing[1] = "SELVO_TEST_FAIL_FILE_FLUSH=5";
    failing.push_back("SOURCE_DATE_EPOCH=2000000000");
    EXPECT_EQ(exitStatus(start(args, failing, {dir.file("err")})), 1);
    const std::string err = fileBytes(dir.file("err"));
    // The dataset holds the subjects written, and only those.
    const std::string table = fs::exists(dir.file("out") / "studio.csv")
                                  ? fileBytes(dir.file("out") / "studio.csv")
                                  : std::string();
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        fs::remove(dir.file("out") / file);
    }
    const auto now = filesIn(dir.file("out"));
    ASSERT_EQ(now.size(), older.size()) << "a temporary was left behind";
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const bool failed = err.find("selvo-batch: " + inputs[i] +
                                     ": Impossibile scrivere il file") != std::string::npos;
        EXPECT_EQ(failed, i == 1 || selvo::platform::fileSystemFlushTellsErrors()) << inputs[i];
        const std::string id = "\n" + fs::path(inputs[i]).stem().string() + ",";
        EXPECT_EQ(table.find(id) == std::string::npos, failed) << inputs[i];
        const std::string report = selvo::ReportFileName(subject(static_cast<int>(i), 0).subject);
        EXPECT_EQ(now.at(report) == older.at(report), failed) << report;
    }
    EXPECT_THAT(err, HasSubstr("errore di scrittura sul disco."));
}

} // namespace
