// selvo-batch as separate processes: two runs at once, and a disk that fails under one.
#include "datafiles/DataFile.h"
#include "datafiles/DatasetTable.h"
#include "datafiles/StatisticsExport.h"
#include "platform/Platform.h"
#include "report/Report.h"
#include "state/Startup.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

selvo::ProgramState subject(int number, int seed) {
    selvo::ProgramState state;
    selvo::SetProgramConstants(state);
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = static_cast<selvo::Integer>((item * 5 + seed) % 7 + 1);
        state.AnswerD[item] =
            static_cast<selvo::Integer>(state.AnswerT[item] >= 5 ? (item + seed) % 3 + 1 : 0);
    }
    state.SubjectName = "S" + std::to_string(number);
    state.SubjectSurname = "GRP";
    state.SubjectAge = std::to_string(20 + number % 50);
    state.SubjectSex = "1";
    state.SubjectMarital = "2";
    state.SubjectEducation = "3";
    return state;
}

// The environment that loads the test's fsync into selvo-batch, with `setting` for it.
std::vector<std::string> withTestFlush(const std::string& setting) {
    std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
    if (const char* options = std::getenv("ASAN_OPTIONS")) {
        asan += std::string(":") + options;
    }
    return {"LD_PRELOAD=" FAIL_FOLDER_FLUSH, setting + "=1", asan};
}

// Starts selvo-batch with the arguments and the extra environment, its stderr into a file.
pid_t start(const std::vector<std::string>& args, std::vector<std::string> environment,
            const fs::path& errFile) {
    std::vector<std::string> argv{SELVO_BATCH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp;
    for (std::string& arg : argv) {
        argp.push_back(arg.data());
    }
    argp.push_back(nullptr);
    std::vector<std::string> env(std::move(environment));
    for (char** variable = environ; *variable != nullptr; ++variable) {
        env.emplace_back(*variable);
    }
    std::vector<char*> envp;
    for (std::string& variable : env) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, SELVO_BATCH, &actions, nullptr, argp.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int exitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = fileBytes(entry.path());
    }
    return files;
}

// Two runs rescoring the same study into one folder at once, from inputs that differ: each
// subject's three files are all one run's, whichever finished that subject last.
TEST(SelvoBatchProcesses, TwoRunsIntoOneFolderNeverMixASubjectsFiles) {
    const TempDir dir;
    constexpr int kSubjects = 500;
    std::vector<std::string> names;
    for (const char* run : {"a", "b"}) {
        fs::create_directory(dir.file(run));
        for (int i = 0; i < kSubjects; ++i) {
            const selvo::ProgramState state = subject(i, run[0] == 'a' ? i : i + 3);
            std::ofstream(dir.file(run) / selvo::DataFileNameFor(state), std::ios::binary)
                << selvo::ComposeDataFile(state);
        }
    }
    for (const auto& entry : fs::directory_iterator(dir.file("a"))) {
        names.push_back(entry.path().filename().string());
    }
    const auto argsFor = [&names](const std::string& run, const std::string& out) {
        std::vector<std::string> args{"--out", out};
        for (const std::string& name : names) {
            args.push_back(run + "/" + name);
        }
        return args;
    };
    const auto environmentOf = [](const std::string& epoch) {
        std::vector<std::string> environment = withTestFlush("SELVO_TEST_SKIP_FLUSH");
        environment.push_back("SOURCE_DATE_EPOCH=" + epoch);
        return environment;
    };
    // What each run writes alone, the reference for its files.
    const pid_t aloneA =
        start(argsFor("a", "alone-a"), environmentOf("1000000000"), dir.file("err-a"));
    const pid_t aloneB =
        start(argsFor("b", "alone-b"), environmentOf("2000000000"), dir.file("err-b"));
    ASSERT_EQ(exitStatus(aloneA), 0);
    ASSERT_EQ(exitStatus(aloneB), 0);
    std::map<std::string, std::map<std::string, std::string>> alone{
        {"a", filesIn(dir.file("alone-a"))}, {"b", filesIn(dir.file("alone-b"))}};
    ASSERT_EQ(alone["a"].size(), 3u * kSubjects);

    const pid_t a = start(argsFor("a", "shared"), environmentOf("1000000000"), dir.file("err-a"));
    const pid_t b = start(argsFor("b", "shared"), environmentOf("2000000000"), dir.file("err-b"));
    EXPECT_EQ(exitStatus(a), 0) << fileBytes(dir.file("err-a"));
    EXPECT_EQ(exitStatus(b), 0) << fileBytes(dir.file("err-b"));

    const auto shared = filesIn(dir.file("shared"));
    ASSERT_EQ(shared.size(), 3u * kSubjects);
    int mixed = 0;
    for (int i = 0; i < kSubjects; ++i) {
        const selvo::ProgramState state = subject(i, i);
        const std::string data = selvo::DataFileNameFor(state);
        const std::string run = shared.at(data) == alone["a"].at(data) ? "a" : "b";
        for (const std::string& name : {data, selvo::ReportFileName(selvo::SubjectOf(state)),
                                        selvo::StatisticsExportFileName(selvo::SubjectOf(state))}) {
            mixed += shared.at(name) != alone[run].at(name);
        }
    }
    EXPECT_EQ(mixed, 0) << "files of a subject come from two runs";
}

// Three subjects' data files in `dir`, and their names.
std::vector<std::string> writeInputs(const TempDir& dir) {
    std::vector<std::string> inputs;
    for (int i = 0; i < 3; ++i) {
        const selvo::ProgramState state = subject(i, i);
        inputs.push_back(selvo::DataFileNameFor(state));
        std::ofstream(dir.file(inputs.back()), std::ios::binary) << selvo::ComposeDataFile(state);
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
    const pid_t run = start(args, withTestFlush("SELVO_TEST_FAIL_FOLDER_FLUSH"), dir.file("err"));
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
    ASSERT_EQ(exitStatus(start(args, first, dir.file("err"))), 0);
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        fs::remove(dir.file("out") / file);
    }
    const auto older = filesIn(dir.file("out"));

    // The fifth file flushed on its own is the second subject's report.
    std::vector<std::string> failing = withTestFlush("SELVO_TEST_FAIL_FILE_FLUSH");
    failing[1] = "SELVO_TEST_FAIL_FILE_FLUSH=5";
    failing.push_back("SOURCE_DATE_EPOCH=2000000000");
    EXPECT_EQ(exitStatus(start(args, failing, dir.file("err"))), 1);
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
        const std::string report =
            selvo::ReportFileName(selvo::SubjectOf(subject(static_cast<int>(i), 0)));
        EXPECT_EQ(now.at(report) == older.at(report), failed) << report;
    }
    EXPECT_THAT(err, HasSubstr("errore di scrittura sul disco."));
}

} // namespace
