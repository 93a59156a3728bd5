// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the report: code page 1252, an older report replaced, refusals leaving it whole.

#include "report/Report.h"

#include "ReportFixture.h"
#include "report/RtfText.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#ifndef _WIN32
#include "support/Unprivileged.h"
#endif

namespace selvo {
namespace {

using namespace testing_report;

// ---- Saving ------------------------------------------------------------------------------------

TEST(ReportFile, IsWrittenInCodePage1252AndReplacesAnOlderOne) {
    TempDir dir;
    ReportSubject state = answerSetMixed();
    const auto name = dir.file("SELVO_GRP1_S02_report.rtf");
    std::ofstream(name) << "older report";

    ASSERT_EQ(writeReport(state), std::nullopt);

    const std::string bytes = fileBytes(name);
    EXPECT_EQ(bytes, *toCp1252(composeReport(state)));
    EXPECT_NE(bytes.find("Prima riga \xE8\\line "), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\\par \\par \r\n}\r\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

#ifndef _WIN32 // POSIX permissions
TEST(ReportFile, ReadOnlyFolderLeavesOlderReportIntactAndSaysWhy) {
    TempDir dir;
    ReportSubject state = answerSetMiddle();
    const auto name = dir.file("SELVO_GRP1_S01_report.rtf");
    std::ofstream(name) << "older report";
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0555));

    std::optional<FileError> error;
    {
        const Unprivileged asOrdinaryUser;
        error = writeReport(state);
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->fileName, "SELVO_GRP1_S01_report.rtf");
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(fileBytes(name), "older report");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
#endif

TEST(ReportFile, NameWithFolderSeparatorIsRefusedAndNothingWritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("SELVO_a"));
    ReportSubject state = answerSetMiddle();
    state.subject.surname = "a/b";

    const std::optional<FileError> error = writeReport(state);

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->fileName, "SELVO_a/b_S01_report.rtf");
    EXPECT_NE(error->reason.find("\"/\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("SELVO_a")));
}

} // namespace
} // namespace selvo
