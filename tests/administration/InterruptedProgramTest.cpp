// SPDX-License-Identifier: GPL-3.0-or-later

// The real program interrupted as a power cut interrupts it (SIGKILL: no handler runs, nothing
// is flushed) and started again.
#include "administration/Recovery.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kData = "SELVO_GRP1_S01.csv";
const char* const kExport = "SELVO_SS000_GRP1_S01_sps.sps";

// One started copy of the program: its data folder, its working folder and what it said.
class ProgramRun {
public:
    ProgramRun(const fs::path& dataHome, const fs::path& workFolder, std::vector<std::string> args,
               bool asNobody = false) {
        fs::create_directories(workFolder);
        int out[2];
        if (::pipe(out) != 0) {
            throw std::runtime_error("pipe");
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            if ((asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ||
                ::chdir(workFolder.c_str()) != 0) {
                std::_Exit(126);
            }
            if (asNobody) {
                // A home of its own: started in the home folder itself, the program would
                // write into the documents folder instead.
                const std::string runtime = workFolder.string() + "/run";
                const std::string home = workFolder.string() + "/casa";
                ::mkdir(runtime.c_str(), 0700);
                ::mkdir(home.c_str(), 0700);
                ::setenv("HOME", home.c_str(), 1);
                ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            }
            // No folder chosen by whoever ran the program before on this machine.
            ::setenv("XDG_CONFIG_HOME", (dataHome / "config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            std::vector<char*> argv{const_cast<char*>(SELVO_DRIVER)};
            for (std::string& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            ::execv(SELVO_DRIVER, argv.data());
            std::_Exit(127);
        }
        ::close(out[1]);
        m_out = ::fdopen(out[0], "r");
    }
    ~ProgramRun() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out != nullptr) {
            std::fclose(m_out);
        }
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Reads what the program says until it says `last` (or ends); returns all of it.
    std::string readUntil(const std::string& last) {
        char line[4096];
        while (std::fgets(line, sizeof line, m_out) != nullptr) {
            m_said += line;
            if (std::string(line) == last + "\n") {
                break;
            }
        }
        return m_said;
    }

    void killHard() {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        EXPECT_TRUE(WIFSIGNALED(status));
    }

    int wait() {
        readUntil("\x01"); // to the end
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string& said() const { return m_said; }

private:
    pid_t m_pid = -1;
    std::FILE* m_out = nullptr;
    std::string m_said;
};

class InterruptedProgram : public ::testing::Test {
protected:
    fs::path dataHome() const { return dir.file("data"); }
    fs::path recoveryFile() const { return dataHome() / "BrivanSelvo" / selvo::kRecoveryFileName; }
    // Started, answered up to `item`, killed.
    void interruptAfter(int item, const fs::path& work) {
        ProgramRun run(dataHome(), work, {"--until", std::to_string(item), "--hold"}, asNobody);
        run.readUntil("ready");
        run.killHard();
        ASSERT_TRUE(fs::exists(recoveryFile()));
    }
    std::string startAndEnd(const fs::path& work, std::vector<std::string> args) {
        ProgramRun run(dataHome(), work, std::move(args), asNobody);
        EXPECT_EQ(run.wait(), 0) << run.said();
        return run.said();
    }
    std::vector<std::string> namesInDataFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dataHome() / "BrivanSelvo")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    bool asNobody = false;
};

TEST_F(InterruptedProgram, KilledAfterFortyItemsAndResumedWritesTheFilesOfAnUninterruptedRun) {
    const std::string straight = startAndEnd(dir.file("straight"), {"--until", "94", "--process"});
    ASSERT_NE(straight.find("processed"), std::string::npos) << straight;
    EXPECT_FALSE(fs::exists(recoveryFile())) << "a processed set leaves nothing to recover";

    interruptAfter(40, dir.file("interrupted"));
    // Only answers and the start time: the subject's fields are typed at the end.
    const std::string kept = fileBytes(recoveryFile());
    EXPECT_TRUE(kept.starts_with("0,\"\",\"\",\"\",\"0\",\"0\",\"0\",\"")) << kept;

    const std::string resumed =
        startAndEnd(dir.file("interrupted"), {"--boxes", "Sì", "--until", "94", "--process"});
    EXPECT_NE(resumed.find("box\tBrivanSELVO\tÈ stata trovata una somministrazione interrotta, "
                           "iniziata il "),
              std::string::npos)
        << resumed;
    EXPECT_NE(resumed.find(": contiene le risposte a 40 dei 94 item. /  / Riprenderla"),
              std::string::npos)
        << resumed;
    EXPECT_NE(resumed.find("item\t41\n"), std::string::npos) << resumed;

    EXPECT_EQ(fileBytes(dir.file("interrupted") / kData), fileBytes(dir.file("straight") / kData));
    EXPECT_EQ(fileBytes(dir.file("interrupted") / kExport),
              fileBytes(dir.file("straight") / kExport));
    EXPECT_FALSE(fs::exists(recoveryFile()));
}

TEST_F(InterruptedProgram, DeclinedResumeAsksOnceMoreAndOnlyThenRemovesTheAnswers) {
    interruptAfter(5, dir.file("work"));
    // No, then No to the removal: the question comes back; No, then Sì removes.
    const std::string said = startAndEnd(dir.file("work"), {"--boxes", "No,No,No,Sì"});
    std::size_t questions = 0;
    std::size_t confirmations = 0;
    for (std::size_t at = 0; (at = said.find("Riprenderla", at)) != std::string::npos; ++at) {
        ++questions;
    }
    for (std::size_t at = 0; (at = said.find("Eliminarle?", at)) != std::string::npos; ++at) {
        ++confirmations;
    }
    EXPECT_EQ(questions, 2u) << said;
    EXPECT_EQ(confirmations, 2u) << said;
    EXPECT_FALSE(fs::exists(recoveryFile()));

    const std::string next = startAndEnd(dir.file("work"), {});
    EXPECT_EQ(next.find("box"), std::string::npos) << next;
}

TEST_F(InterruptedProgram, ASecondCopySaysSoAndLeavesTheFirstCopysAnswersAlone) {
    interruptAfter(3, dir.file("work"));
    const std::string before = fileBytes(recoveryFile());

    ProgramRun first(dataHome(), dir.file("work"), {"--boxes", "Sì", "--hold"});
    ASSERT_NE(first.readUntil("ready").find("Riprenderla"), std::string::npos) << first.said();

    const std::string second = startAndEnd(dir.file("other"), {"--until", "2"});
    EXPECT_NE(second.find("box\tBrivanSELVO\tBrivanSELVO è già aperto in un'altra finestra."),
              std::string::npos)
        << second;
    EXPECT_EQ(second.find("Riprenderla"), std::string::npos) << second;
    EXPECT_EQ(fileBytes(recoveryFile()), before);
}

TEST_F(InterruptedProgram, AnUnreadableRecoveryFileIsKeptAsideAndReportedOnce) {
    fs::create_directories(recoveryFile().parent_path());
    const std::string damaged = "0,\"\",\"\",\"\",\"0\",\"0\",\"0\",\"08/12/2026 09:1";
    std::ofstream(recoveryFile(), std::ios::binary) << damaged;

    const std::string said = startAndEnd(dir.file("work"), {});
    EXPECT_NE(said.find("box\tBrivanSELVO\tIl file di una somministrazione interrotta non si può "
                        "leggere: "),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("SELVO_somministrazione_illeggibile_1.csv"), std::string::npos) << said;
    EXPECT_EQ(fileBytes(dataHome() / "BrivanSelvo" / "SELVO_somministrazione_illeggibile_1.csv"),
              damaged);
    EXPECT_FALSE(fs::exists(recoveryFile()));

    const std::string next = startAndEnd(dir.file("work"), {});
    EXPECT_EQ(next.find("box"), std::string::npos) << next;
}

// A clinician's account that can no longer write its data folder (mode 0500 here) while an
// administration waits there: it is offered, resumed in memory and processed.
TEST_F(InterruptedProgram, AnUnwritableDataFolderStillOffersTheAnswersAndTheRunEnds) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to start the program as another user";
    }
    ::chmod(dir.path().c_str(), 0755);
    for (const fs::path& folder : {dataHome(), dir.file("work")}) {
        fs::create_directories(folder);
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    }
    asNobody = true;
    interruptAfter(5, dir.file("work"));
    const std::string before = fileBytes(recoveryFile());
    ::chmod(recoveryFile().parent_path().c_str(), 0500);

    const std::string said =
        startAndEnd(dir.file("work"), {"--boxes", "OK,Sì", "--until", "94", "--process"});
    ::chmod(recoveryFile().parent_path().c_str(), 0700);
    EXPECT_NE(said.find("box\tBrivanSELVO\tNella cartella \"" +
                        (dataHome() / "BrivanSelvo").string() +
                        "\", in cui il programma salva le risposte durante la somministrazione, "
                        "non si può scrivere: permesso negato"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("item\t6\n"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(dir.file("work") / kData)) << said;
    EXPECT_EQ(fileBytes(recoveryFile()), before);
}

} // namespace
