// SPDX-License-Identifier: GPL-3.0-or-later

// What needs root: a FAT volume mounted from an image, as a USB stick is. Skipped without
// root, or where the image cannot be made or mounted (a container without loop devices).
#include "batch/BatchRun.h"
#include "datafiles/DataFile.h"
#include "state/Startup.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

selvo::ProgramState subject(const std::string& surname, const std::string& name, int seed) {
    selvo::ProgramState state;
    selvo::SetProgramConstants(state);
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = static_cast<selvo::Integer>((item + seed) % 7 + 1);
        state.AnswerD[item] = static_cast<selvo::Integer>(state.AnswerT[item] >= 5 ? 2 : 0);
    }
    state.SubjectName = name;
    state.SubjectSurname = surname;
    state.SubjectAge = "40";
    state.SubjectSex = "2";
    state.SubjectMarital = "1";
    state.SubjectEducation = "4";
    return state;
}

class MountedFat {
public:
    explicit MountedFat(const fs::path& folder) : m_folder(folder) {
        const std::string image = (folder.parent_path() / "fat.img").string();
        fs::create_directory(folder);
        m_mounted = std::system(("truncate -s 16M " + image + " && mkfs.vfat " + image +
                                 " >/dev/null 2>&1 && mount -o loop,utf8 " + image + " " +
                                 folder.string() + " >/dev/null 2>&1")
                                    .c_str()) == 0;
    }
    ~MountedFat() {
        if (m_mounted) {
            std::system(("umount " + m_folder.string()).c_str());
        }
    }
    MountedFat(const MountedFat&) = delete;
    MountedFat& operator=(const MountedFat&) = delete;
    bool mounted() const { return m_mounted; }

private:
    fs::path m_folder;
    bool m_mounted = false;
};

TEST(SelvoBatchOnFat, NamesThatDifferOnlyInCaseAreRefusedAsOnWindows) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting an image needs root";
    }
    const TempDir dir;
    const MountedFat stick(dir.file("stick"));
    if (!stick.mounted()) {
        GTEST_SKIP() << "a FAT image cannot be made or mounted here";
    }
    std::ofstream("first.csv", std::ios::binary)
        << selvo::ComposeDataFile(subject("Rossi", "Mario", 1));
    std::ofstream("second.csv", std::ios::binary)
        << selvo::ComposeDataFile(subject("ROSSI", "MARIO", 2));
    std::ostringstream out;
    std::ostringstream err;
    const auto options = std::get<selvo::BatchOptions>(
        selvo::ParseBatchArguments({"--out", "stick", "first.csv", "second.csv"}));
    EXPECT_EQ(selvo::RunBatch(options, {out, err}), 1);
    EXPECT_THAT(err.str(), HasSubstr("first.csv: ha lo stesso Cognome/Codice e Nome/Codice di "
                                     "second.csv"));
    EXPECT_TRUE(fs::is_empty(dir.file("stick")));
}

} // namespace
