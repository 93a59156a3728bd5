// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// selvo-batch started as a separate process, with the test's library (FailFolderFlush.cpp)
// loaded into it when asked, and the subjects such runs process.
#include "datafiles/DataFile.h"
#include "support/FileBytes.h"

#include "questionnaire/SubjectFiles.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

inline testsupport::TestSubject subject(int number, int seed, const std::string& surname = "GRP") {
    return {testsupport::subjectRecord({.surname = surname,
                                        .name = "S" + std::to_string(number),
                                        .age = std::to_string(20 + number % 50)}),
            testsupport::answersWhere([seed](int item) { return (item * 5 + seed) % 7 + 1; },
                                      [seed](int item) { return (item + seed) % 3 + 1; })};
}

// Writes the subject's data file into the folder under its usual name; the name.
inline std::string writeDataFile(const std::filesystem::path& folder,
                                 const testsupport::TestSubject& state) {
    const std::string name = selvo::SubjectDataFileName(state.subject);
    std::ofstream(folder / name, std::ios::binary) << testsupport::dataFileOf(state);
    return name;
}

// The environment that loads the test's library into selvo-batch, with `setting` for it.
inline std::vector<std::string> withTestFlush(const std::string& setting) {
    std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
    if (const char* options = std::getenv("ASAN_OPTIONS")) {
        asan += std::string(":") + options;
    }
    return {"LD_PRELOAD=" FAIL_FOLDER_FLUSH, setting + "=1", asan};
}

// Where a started run reads and writes: stdout and stdin are /dev/null unless named.
struct Streams {
    std::filesystem::path err;
    std::filesystem::path out = "/dev/null";
    std::filesystem::path in = "/dev/null";
};

// Starts selvo-batch with the arguments and the extra environment.
inline pid_t start(const std::vector<std::string>& args, std::vector<std::string> environment,
                   const Streams& streams) {
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
    posix_spawn_file_actions_addopen(&actions, 0, streams.in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, streams.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, streams.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, SELVO_BATCH, &actions, nullptr, argp.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit status, or -1 for a run a signal ended.
inline int exitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::map<std::string, std::string> filesIn(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = fileBytes(entry.path());
    }
    return files;
}

// Waits, up to a minute, for the running program to make a file.
inline bool appears(const std::filesystem::path& file, pid_t run) {
    for (int tries = 0; tries < 6000 && !std::filesystem::exists(file); ++tries) {
        if (waitpid(run, nullptr, WNOHANG) != 0) {
            return false; // ended without making it
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::filesystem::exists(file);
}
