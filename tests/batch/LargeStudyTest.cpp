// SPDX-License-Identifier: GPL-3.0-or-later
// A study too large for a command line: 60,000 data files named on the standard input make one
// run and one dataset. Minutes in a debug build, so it carries the label "large".
#include "BatchProcess.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(SelvoBatchLarge, SixtyThousandFilesNamedOnTheStandardInputMakeOneDataset) {
    const TempDir dir;
    constexpr int kSubjects = 60000;
    fs::create_directory(dir.file("studio"));
    // One subject's file, under 60,000 names each inside and out ("S0" is its name field).
    const std::string bytes = testsupport::dataFileOf(subject(0, 0));
    const std::size_t name = bytes.find("\"S0\"");
    ASSERT_NE(name, std::string::npos);
    std::ofstream list(dir.file("elenco.txt"), std::ios::binary);
    for (int i = 0; i < kSubjects; ++i) {
        const std::string file = "SELVO_GRP_S" + std::to_string(i) + ".csv";
        std::ofstream(dir.file("studio") / file, std::ios::binary)
            << bytes.substr(0, name) << "\"S" << i << "\"" << bytes.substr(name + 4);
        list << "studio/" << file << "\r\n";
    }
    list.close();
    const pid_t run = start({"--out", "out", "--dataset", "tutti", "--elenco", "-"},
                            withTestFlush("SELVO_TEST_FAST_DISK"),
                            {dir.file("err"), dir.file("out.txt"), dir.file("elenco.txt")});
    EXPECT_EQ(exitStatus(run), 0) << fileBytes(dir.file("err"));
    EXPECT_EQ(fileBytes(dir.file("out.txt")),
              "selvo-batch: 60000 file elaborati, 0 non riusciti; 60000 casi scritti in " +
                  (fs::path("out") / "tutti.csv").string() + ".\n");
    const std::string table = fileBytes(dir.file("out") / "tutti.csv");
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), kSubjects + 1);
}

} // namespace
