// SPDX-License-Identifier: GPL-3.0-or-later

// A report must open in a word processor with every text the operator typed intact. LibreOffice
// reads it and writes plain UTF-8 text; the test looks for the typed texts and the headings.
#include "report/Report.h"

#include "platform/Clock.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace selvo {
namespace {

bool haveSoffice() {
    return std::system("command -v soffice >/dev/null 2>&1") == 0;
}

// Converts with a private profile, so parallel runs do not fight over one.
std::filesystem::path convertToText(const TempDir& dir, const std::string& reportName) {
    const auto outDir = dir.file("converted");
    std::filesystem::create_directory(outDir);
    const std::string command =
        "soffice --headless -env:UserInstallation=file://" + dir.file("profile").string() +
        " --convert-to 'txt:Text (encoded):UTF8' --outdir '" + outDir.string() + "' '" +
        dir.file(reportName).string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return outDir / (std::filesystem::path(reportName).stem().string() + ".txt");
}

TEST(ReportInterop, WordProcessorReadsTypedTextAndEverySection) {
    if (!haveSoffice()) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    TempDir dir;
    // Control characters among the typed text: the document shows the text around them.
    const SubjectRecord subject =
        testsupport::subjectRecord({.surname = "GRP1",
                                    .name = "Ștefan",
                                    .age = "52",
                                    .notes = "{prova} \\ fine\x07\x1B[2J\r\n€ \x0B\xC2\x9B"
                                             "è\tok\x7F"});
    const AnswerSet answers = testsupport::answersWhere(
        [](int item) { return item % 3 == 0 ? 6 : 2; }, [](int) { return 3; });
    const Scores scores = ScoreAnswers(answers);
    const std::string dateTime = CurrentDateTimeText();
    const FileResult<PendingFile> report = PrepareReport({subject, scores, dateTime});
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(saveFileAtomically(utf8Of(dir.path() / report.value().path), report.value().bytes),
              std::nullopt);

    const std::string text = fileBytes(convertToText(dir, ReportFileName(subject)));
    ASSERT_FALSE(text.empty());

    for (const std::string typed : {"Ștefan", "{prova} \\ fine[2J", "€ è\tok"}) {
        EXPECT_NE(text.find(typed), std::string::npos) << typed;
    }
    for (const std::string control : {"\x07", "\x0B", "\x1B", "\x7F", "\xC2\x9B"}) {
        EXPECT_EQ(text.find(control), std::string::npos);
    }
    // The notes keep their line break: the two parts stand on separate lines.
    const std::size_t first = text.find("{prova} \\ fine");
    const std::size_t second = text.find("€ è");
    ASSERT_LT(first, second);
    EXPECT_NE(text.substr(first, second - first).find('\n'), std::string::npos);

    const std::vector<std::string> headings = {
        "Brivan SELVO QUESTIONNAIRE",
        "REFERENCES",
        "SUBMINISTRATION REPORT AND SCORING",
        "DATI SOGGETTO:",
        "NOTE ALLA SOMMINISTRAZIONE:",
        "SELVO DIMENSIONAL SCORES",
        "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 4 & D > 1)",
        "SELVO Algorithm T > 4 & D > 1 - End",
        "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 4 & D > 1) DSM IV CRITERIA",
        "SELVO Algorithm T > 4 & D > 1 - DSM IV CRITERIA - End",
        "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 5 & D > 1)",
        "SELVO Algorithm T > 5 & D > 1 - End",
        "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 5 & D > 1) DSM IV CRITERIA",
        "SELVO Algorithm T > 5 & D > 1 - DSM IV CRITERIA - End",
    };
    std::size_t from = 0;
    for (const auto& heading : headings) {
        const std::size_t at = text.find(heading, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << heading;
        from = at + heading.size();
    }
    // A criterion met in both runs is quoted in the document as the item bank holds it.
    const std::string& firstMet = questionnaire::CriteriaTexts()[questionnaire::ST][1]; // item 3
    EXPECT_NE(text.find(firstMet.substr(0, 40)), std::string::npos) << firstMet;
}

} // namespace
} // namespace selvo
