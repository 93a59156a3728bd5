// SPDX-License-Identifier: GPL-3.0-or-later
// The report's pieces one at a time: title, subject, scales and criteria texts, file name.

#include "report/Report.h"

#include "ReportFixture.h"
#include "platform/Clock.h"
#include "report/CategoricalSections.h"
#include "report/RtfText.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace selvo {
namespace {

using namespace testing_report;

// ---- Pieces ------------------------------------------------------------------------------------

TEST(Report, TitleShowsTheDateTextItIsGiven) {
    expectParagraphs(BuildReportTitle(kDate), kTitleParagraphs);
    EXPECT_NE(BuildReportTitle("01/01/2000 00:00:00").find("date/time:01/01/2000 00:00:00 ("),
              std::string::npos);
}

TEST(Report, CurrentDateTimeIsDayMonthYearAndClock) {
    EXPECT_TRUE(
        std::regex_match(CurrentDateTimeText(), std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")))
        << CurrentDateTimeText();
}

TEST(Report, SubjectTextIsEscapedAndAnEmptyFieldGivesAnEmptyBoldRun) {
    ReportSubject state = preparedState({"Ștefan", "{a}\\b", "", "0", "0", "0", "x\ny\rz"});
    expectParagraphs(BuildReportSubject(state.subject),
                     subjectParagraphs({"\\u536?tefan", "\\{a\\}\\\\b", "", "0", "0", "0"},
                                       "x\\line y\\line z"));
}

TEST(Report, ControlCharactersOfTheTypedTextsNeverReachTheFile) {
    ReportSubject state = preparedState({"S\x07"
                                         "01",
                                         "GRP\x1B[2J1",
                                         "3\x0B"
                                         "5\xC2\x9B",
                                         "1", "2", "3",
                                         "a\x0C"
                                         "b\tc\x7F"
                                         "d\xC2\x85"});
    expectParagraphs(BuildReportSubject(state.subject),
                     subjectParagraphs({"S01", "GRP[2J1", "35", "1", "2", "3"}, "ab\\tab cd"));
}

TEST(Report, ScaleBelowSevenShowsNegativePercentage) {
    ReportSubject state = answerSetMiddle();
    for (const int item : {1, 13, 25, 37, 49, 61, 73}) {
        state.answers.agreement[item] = 0;
    }
    const std::string document = composeReport(state);
    EXPECT_NE(document.find("{\\b PAR}\r\n\t\tR score (7-49):  {\\b  0  (-16%)}\\par \r\n"),
              std::string::npos);
}

// Only a criterion met shows its disorder: the item half of borderline criterion 5 alone,
// without the criterion, shows nothing.
TEST(Report, ItemHalfWithoutItsCriterionCountsAsNotMet) {
    ReportSubject state = answerSetMiddle();
    CategoricalScores categorical = ScoreAnswers(state.answers).categorical[X4];
    categorical.disorders[BDL].criteria[4].itemMet = {true, true};
    expectParagraphs(BuildCriteriaSection(categorical, state.criteriaTexts, X4),
                     criteriaParagraphs('4', {}));
}

// With the questionnaire's own texts and every criterion met, each text is quoted once per
// threshold, escaped, and the whole document still fits code page 1252.
TEST(Report, QuotesEveryCriteriaTextOfTheItemBank) {
    ReportSubject state = preparedState({"S03", "GRP1", "29", "2", "1", "4", ""});
    for (int item = 1; item <= 94; ++item) {
        state.answers.agreement[item] = 7;
        state.answers.distress[item] = 3;
    }
    const std::string document = composeReport(state);
    ASSERT_TRUE(toCp1252(document).has_value());
    for (int d = 0; d < kDisorderCount; ++d) {
        for (const std::string& text : state.criteriaTexts[static_cast<std::size_t>(d)]) {
            const std::string quoted = "\\par " + rtfText(text) + "\\par ";
            const auto first = document.find(quoted);
            ASSERT_NE(first, std::string::npos) << text;
            EXPECT_NE(document.find(quoted, first + 1), std::string::npos) << text;
        }
    }
}

// From values alone, no program state: criteria texts never loaded print as empty paragraphs
// instead of reading past their table.
TEST(Report, CriteriaTextsNeverLoadedPrintAsEmptyParagraphs) {
    AnswerSet answers;
    for (int item = 1; item <= 94; ++item) {
        answers.agreement[item] = 7;
        answers.distress[item] = 3;
    }
    std::vector<std::string> met;
    for (int d = 0; d < kDisorderCount; ++d) {
        met.insert(met.end(), static_cast<std::size_t>(kCriterionCounts[d] + 2), "");
        if (d == BDL) {
            met.insert(met.end() - 4,
                       {"[SELVO ITEM 53 - CRITERIA PART 1]", "[SELVO ITEM 65 - CRITERIA PART 2]"});
        }
    }
    expectParagraphs(BuildCriteriaSection(ScoreAnswers(answers).categorical[X5], {}, X5),
                     criteriaParagraphs('5', met));
}

TEST(Report, FileNameIsSurnameThenName) {
    SubjectRecord subject;
    subject.surname = "GRP1";
    subject.name = "S01";
    EXPECT_EQ(ReportFileName(subject), "SELVO_GRP1_S01_report.rtf");
}

} // namespace
} // namespace selvo
