// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/StaleSet.h"

#include "support/TempDir.h"

#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void write(const fs::path& path) {
    std::ofstream(path, std::ios::binary) << "x";
}

selvo::SubjectRecord named(const char* name) {
    return testsupport::subjectRecord({.surname = "GRP1", .name = name});
}

const std::vector<selvo::CommittedFile> kWritten{{"SELVO_GRP1_S02.csv", false},
                                                 {"SELVO_GRP1_S02_report.rtf", false},
                                                 {"SELVO_SS000_GRP1_S02_sps.sps", false}};

// Only what is surely the older set is offered: never a file just written (on Windows a name
// differing in case is the same file: a hard link stands for it here), a folder, or a data
// file that is no longer the one reloaded.
TEST(StaleSetFiles, OffersOnlyTheOlderSetsOwnFiles) {
    const TempDir dir;
    write("SELVO_GRP1_S01.csv");
    const std::optional<selvo::StoredSet> older =
        selvo::StoredSetAt("SELVO_GRP1_S01.csv", named("S01"));
    ASSERT_TRUE(older.has_value());
    for (const auto& file : kWritten) {
        write(file.path);
    }
    std::error_code linked;
    fs::create_hard_link("SELVO_GRP1_S02_report.rtf", "SELVO_GRP1_S01_report.rtf", linked);
    if (linked) {
        GTEST_SKIP() << "no hard links here: " << linked.message();
    }
    fs::create_directory("SELVO_SS000_GRP1_S01_sps.sps");
    EXPECT_EQ(selvo::StaleSetFiles(*older, named("S02"), selvo::utf8Of(dir.path()), kWritten),
              std::vector<std::string>{selvo::absolutePath("SELVO_GRP1_S01.csv")});
    EXPECT_TRUE(
        selvo::StaleSetFiles(*older, named("S01"), selvo::utf8Of(dir.path()), kWritten).empty());

    // The reloaded file replaced by another of the same name is not the older set any more
    // (kept under another name meanwhile, as a replacing rename does, so its node is not reused).
    fs::rename("SELVO_GRP1_S01.csv", "elsewhere.csv");
    write("SELVO_GRP1_S01.csv");
    EXPECT_TRUE(
        selvo::StaleSetFiles(*older, named("S02"), selvo::utf8Of(dir.path()), kWritten).empty());
}

} // namespace
