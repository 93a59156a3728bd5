// SPDX-License-Identifier: GPL-3.0-or-later

// The run fuzzer's checks on its seed corpora, so that they hold in every test run and not
// only while fuzzing.
#include "datafiles/fuzz/RunProperties.h"
#include "datafiles/DataFileRecord.h"
#include "support/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(RunProperties, HoldForEverySeedOfBothCorpora) {
    int accepted = 0;
    int seeds = 0;
    for (const char* folder : {SELVO_READER_SEEDS, SELVO_RUN_SEEDS}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string bytes = fileBytes(entry.path());
            ++seeds;
            const auto broken = brokenRunProperty(bytes);
            EXPECT_FALSE(broken.has_value()) << entry.path() << ": " << *broken;
            accepted += selvo::parseDataFile(bytes).record ? 1 : 0;
        }
    }
    EXPECT_GE(seeds, 10);
    EXPECT_GE(accepted, 8) << "most seeds should reach the processing run";
}

} // namespace
