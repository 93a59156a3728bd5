// SPDX-License-Identifier: GPL-3.0-or-later

#include "scoring/Scores.h"

#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>

namespace selvo {
namespace {

using enum questionnaire::Cluster;
using enum questionnaire::Disorder;

struct ScaleRef {
    const char* name;
    int divisor;
};

// The twelve disorders in their order, the three clusters, then all of them together.
constexpr std::array<ScaleRef, 16> kScales{{
    {"par", 42},
    {"sz", 42},
    {"st", 56},
    {"as", 49},
    {"bdl", 63},
    {"his", 49},
    {"nar", 56},
    {"av", 42},
    {"dep", 49},
    {"oc", 49},
    {"de", 42},
    {"pa", 42},
    {"clA", 154},
    {"clB", 238},
    {"clC", 154},
    {"tot", 560},
}};

const ScaleScore& scaleAt(const DimensionalScores& scores, std::size_t i) {
    if (i < scores.disorders.size()) {
        return scores.disorders[i];
    }
    i -= scores.disorders.size();
    return i < scores.clusters.size() ? scores.clusters[i] : scores.allClusters;
}

AnswerTable allAnswers(Integer agreement) {
    AnswerTable answers;
    for (int item = 1; item <= 94; ++item) {
        answers[item] = agreement;
    }
    return answers;
}

struct UniformCase {
    const char* name;
    Integer answer;
    std::array<int, 16> totals;
    std::array<int, 16> percentages;
};

void PrintTo(const UniformCase& c, std::ostream* os) {
    *os << c.name;
}

class UniformAnswers : public testing::TestWithParam<UniformCase> {};

TEST_P(UniformAnswers, GiveEveryTotalAndPercentage) {
    const UniformCase& c = GetParam();
    const DimensionalScores scores = ComputeDimensionalScores(allAnswers(c.answer));
    for (std::size_t i = 0; i < kScales.size(); ++i) {
        SCOPED_TRACE(kScales[i].name);
        EXPECT_EQ(scaleAt(scores, i).total, c.totals[i]);
        // The report shows 15 significant digits: the stored value must read as the whole number.
        EXPECT_EQ(numberText(scaleAt(scores, i).percentage),
                  numberText(static_cast<double>(c.percentages[i])));
    }
}

INSTANTIATE_TEST_SUITE_P(
    DimensionalScores, UniformAnswers,
    testing::Values(UniformCase{"all1",
                                1,
                                {7, 7, 9, 8, 10, 8, 9, 7, 8, 8, 7, 7, 23, 35, 23, 81},
                                {0, 0, 3, 2, 4, 2, 3, 0, 2, 2, 0, 0, 10, 11, 10, 13}},
                    UniformCase{"all4",
                                4,
                                {28, 28, 36, 32, 40, 32, 36, 28, 32, 32, 28, 28, 92, 140, 92, 324},
                                {50, 50, 51, 51, 52, 51, 51, 50, 51, 51, 50, 50, 55, 55, 55, 56}},
                    UniformCase{
                        "all7",
                        7,
                        {49, 49, 63, 56, 70, 56, 63, 49, 56, 56, 49, 49, 161, 245, 161, 567},
                        {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                         100}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DimensionalScores, Item50CountsInSchizoidAndSchizotypalAndTwiceInTheirSums) {
    AnswerTable answers = allAnswers(4);
    const DimensionalScores before = ComputeDimensionalScores(answers);
    answers[50] = 5;
    const DimensionalScores after = ComputeDimensionalScores(answers);
    EXPECT_EQ(after.disorders[SZ].total - before.disorders[SZ].total, 1);
    EXPECT_EQ(after.disorders[ST].total - before.disorders[ST].total, 1);
    EXPECT_EQ(after.clusters[ClusterA].total - before.clusters[ClusterA].total, 2);
    EXPECT_EQ(after.allClusters.total - before.allClusters.total, 2);
    EXPECT_EQ(after.disorders[PAR].total - before.disorders[PAR].total, 0);
    EXPECT_EQ(after.clusters[ClusterB].total - before.clusters[ClusterB].total, 0);
}

TEST(DimensionalScores, DepressiveAndPassiveAggressiveStayOutOfTheGrandTotal) {
    AnswerTable answers = allAnswers(1);
    for (const int item : {11, 23, 35, 47, 59, 71, 83, 12, 24, 36, 48, 60, 72, 84}) {
        answers[item] = 7;
    }
    const DimensionalScores scores = ComputeDimensionalScores(answers);
    EXPECT_EQ(scores.disorders[DE].total, 49);
    EXPECT_EQ(scores.disorders[PA].total, 49);
    EXPECT_EQ(scores.allClusters.total, 81);
}

TEST(DimensionalScores, UnansweredScaleGivesNegativePercentageTruncatedTowardZero) {
    AnswerTable answers = allAnswers(1);
    for (const int item : {1, 13, 25, 37, 49, 61, 73}) {
        answers[item] = 0;
    }
    const DimensionalScores scores = ComputeDimensionalScores(answers);
    EXPECT_EQ(scores.disorders[PAR].total, 0);
    EXPECT_EQ(numberText(scores.disorders[PAR].percentage), "-16");
}

// Raising the answers one item at a time sweeps every scale through its totals; each
// percentage must read as 100 * (total - 7) / divisor cut toward zero, with the divisor of the
// table (not one computed from the item count).
TEST(DimensionalScores, PercentageIsTheTruncatedShareOfTheScaleRange) {
    for (Integer base = 0; base < 7; ++base) {
        AnswerTable answers = allAnswers(base);
        for (int raised = 0; raised <= 94; ++raised) {
            if (raised > 0) {
                answers[raised] = static_cast<Integer>(base + 1);
            }
            const DimensionalScores scores = ComputeDimensionalScores(answers);
            for (std::size_t i = 0; i < kScales.size(); ++i) {
                const ScaleRef& scale = kScales[i];
                const double total = scaleAt(scores, i).total;
                const double expected = std::trunc(100.0 * (total - 7.0) / scale.divisor);
                ASSERT_EQ(numberText(scaleAt(scores, i).percentage), numberText(expected))
                    << scale.name << " total " << total;
            }
        }
    }
}

struct TruncateCase {
    const char* name;
    double input;
    double expected;
};

void PrintTo(const TruncateCase& c, std::ostream* os) {
    *os << c.name;
}

class TruncateTo2Cases : public testing::TestWithParam<TruncateCase> {};

TEST_P(TruncateTo2Cases, CutsToTwoDecimals) {
    EXPECT_DOUBLE_EQ(TruncateTo2(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(DimensionalScores, TruncateTo2Cases,
                         testing::Values(TruncateCase{"positive", 0.4107, 0.41},
                                         TruncateCase{"negative", -0.1666, -0.16},
                                         TruncateCase{"nearlyOne", 0.999, 0.99},
                                         TruncateCase{"zero", 0.0, 0.0},
                                         TruncateCase{"whole", 1.0, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The scores are a value: answers changed after scoring leave them as they were.
TEST(DimensionalScores, ScoresAreAValueTheLiveAnswersDoNotChange) {
    AnswerSet answers;
    answers.agreement = allAnswers(7);
    const Scores scores = ScoreAnswers(answers);
    answers.agreement[1] = 1;
    EXPECT_EQ(scores.dimensional.disorders[PAR].total, 49);
    EXPECT_EQ(ScoreAnswers(answers).dimensional.disorders[PAR].total, 43);
}

TEST(DimensionalScores, TotalBeyondSixteenBitsIsRefusedNotWrapped) {
    AnswerTable answers = allAnswers(7);
    answers[5] = 32760; // only a hand-edited data file could hold this
    EXPECT_THROW(ComputeDimensionalScores(answers), std::overflow_error);
}

} // namespace
} // namespace selvo
