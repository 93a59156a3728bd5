// SPDX-License-Identifier: GPL-3.0-or-later

// What needs root: a FAT or exFAT volume mounted from an image, as a USB stick is. Skipped
// without root, or where the image cannot be made or mounted (a container without loop
// devices or /dev/fuse).
#include "batch/BatchRun.h"
#include "datafiles/DataFile.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

testsupport::TestSubject subject(const std::string& surname, const std::string& name, int seed) {
    return {testsupport::subjectRecord({.surname = surname,
                                        .name = name,
                                        .age = "40",
                                        .sex = "2",
                                        .marital = "1",
                                        .education = "4"}),
            testsupport::answersWhere([seed](int item) { return (item + seed) % 7 + 1; },
                                      [](int) { return 2; })};
}

// A volume that folds case, as a USB stick is: FAT through the kernel, which gives both
// spellings of a name one inode, and exFAT through FUSE, which gives each spelling its own.
struct StickFormat {
    const char* name;
    const char* make;    // the command that formats the image
    const char* type;    // as mount -t takes it
    const char* options; // "loop": FUSE mounts as root want a block device
    bool fuse;
};
const StickFormat kFat{"Fat", "mkfs.vfat", "vfat", "loop,utf8", false};
const StickFormat kExfatFuse{"ExfatFuse", "mkfs.exfat", "exfat-fuse", "loop", true};
void PrintTo(const StickFormat& format, std::ostream* os) {
    *os << format.name;
}

class MountedStick {
public:
    MountedStick(const fs::path& folder, const StickFormat& format) : m_folder(folder) {
        if (format.fuse && !fs::exists("/dev/fuse")) {
            return;
        }
        const std::string image = (folder.parent_path() / "stick.img").string();
        fs::create_directory(folder);
        m_mounted =
            std::system(("truncate -s 16M " + image + " && " + format.make + " " + image +
                         " >/dev/null 2>&1 && mount -t " + format.type + " -o " + format.options +
                         " " + image + " " + folder.string() + " >/dev/null 2>&1")
                            .c_str()) == 0;
    }
    ~MountedStick() {
        if (m_mounted) {
            std::system(("umount " + m_folder.string()).c_str());
        }
    }
    MountedStick(const MountedStick&) = delete;
    MountedStick& operator=(const MountedStick&) = delete;
    bool mounted() const { return m_mounted; }

private:
    fs::path m_folder;
    bool m_mounted = false;
};

// Each file of a folder, by name, with a hash of its bytes: a failure shows them briefly.
std::map<std::string, std::size_t> filesIn(const fs::path& folder) {
    std::map<std::string, std::size_t> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ostringstream bytes;
        bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        files[entry.path().filename().string()] = std::hash<std::string>{}(bytes.str());
    }
    return files;
}

// Where the run writes: the stick itself, holding an earlier visit of the subject, or a
// folder that --out creates on it (probed only once it exists).
struct OutFolder {
    const char* name;
    const char* out;
    bool earlierVisit;
};
void PrintTo(const OutFolder& folder, std::ostream* os) {
    *os << folder.name;
}

class SelvoBatchOnStick : public testing::TestWithParam<std::tuple<StickFormat, OutFolder>> {};

TEST_P(SelvoBatchOnStick, NamesThatDifferOnlyInCaseAreRefusedAsOnWindows) {
    const auto& [format, folder] = GetParam();
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting an image needs root";
    }
    const TempDir dir;
    const MountedStick stick(dir.file("stick"), format);
    if (!stick.mounted()) {
        GTEST_SKIP() << "a " << format.type << " image cannot be made or mounted here";
    }
    std::ofstream("first.csv", std::ios::binary)
        << testsupport::dataFileOf(subject("Rossi", "Mario", 1));
    std::ofstream("second.csv", std::ios::binary)
        << testsupport::dataFileOf(subject("ROSSI", "MARIO", 2));
    std::ostringstream out;
    std::ostringstream err;
    std::map<std::string, std::size_t> before;
    if (folder.earlierVisit) {
        const auto first = std::get<selvo::BatchOptions>(
            selvo::ParseBatchArguments({"--out", folder.out, "first.csv"}));
        ASSERT_EQ(selvo::RunBatch(first, {out, err}), 0) << err.str();
        before = filesIn(folder.out);
        ASSERT_EQ(before.size(), 3u);
    }
    const auto options = std::get<selvo::BatchOptions>(
        selvo::ParseBatchArguments({"--out", folder.out, "first.csv", "second.csv"}));
    EXPECT_EQ(selvo::RunBatch(options, {out, err}), 1);
    EXPECT_THAT(err.str(), HasSubstr("first.csv: ha lo stesso Cognome/Codice e Nome/Codice di "
                                     "second.csv"));
    ASSERT_TRUE(fs::is_directory(folder.out));
    EXPECT_EQ(filesIn(folder.out), before);
}

INSTANTIATE_TEST_SUITE_P(
    Sticks, SelvoBatchOnStick,
    testing::Combine(testing::Values(kFat, kExfatFuse),
                     testing::Values(OutFolder{"EarlierVisit", "stick", true},
                                     OutFolder{"CreatedByOut", "stick/nuova", false})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

} // namespace
