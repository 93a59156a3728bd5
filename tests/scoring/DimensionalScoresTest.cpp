#include "scoring/DimensionalScores.h"

#include "text/NumberText.h"
#include "state/Startup.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>

namespace selvo {
namespace {

using Slot = NumberOrEmpty ScoreRecord::*;

struct ScaleRef {
    const char* name;
    Slot total;
    Slot percentage;
    int divisor;
};

constexpr std::array<ScaleRef, 16> kScales{{
    {"par", &ScoreRecord::par1t, &ScoreRecord::par1p, 42},
    {"sz", &ScoreRecord::sz1t, &ScoreRecord::sz1p, 42},
    {"st", &ScoreRecord::st1t, &ScoreRecord::st1p, 56},
    {"as", &ScoreRecord::as1t, &ScoreRecord::as1p, 49},
    {"bdl", &ScoreRecord::bdl1t, &ScoreRecord::bdl1p, 63},
    {"his", &ScoreRecord::his1t, &ScoreRecord::his1p, 49},
    {"nar", &ScoreRecord::nar1t, &ScoreRecord::nar1p, 56},
    {"av", &ScoreRecord::av1t, &ScoreRecord::av1p, 42},
    {"dep", &ScoreRecord::dep1t, &ScoreRecord::dep1p, 49},
    {"oc", &ScoreRecord::oc1t, &ScoreRecord::oc1p, 49},
    {"de", &ScoreRecord::de1t, &ScoreRecord::de1p, 42},
    {"pa", &ScoreRecord::pa1t, &ScoreRecord::pa1p, 42},
    {"clA", &ScoreRecord::clA1t, &ScoreRecord::clA1p, 154},
    {"clB", &ScoreRecord::clB1t, &ScoreRecord::clB1p, 238},
    {"clC", &ScoreRecord::clC1t, &ScoreRecord::clC1p, 154},
    {"tot", &ScoreRecord::tot1t, &ScoreRecord::tot1p, 560},
}};

ProgramState stateWithAllAnswers(Integer agreement) {
    ProgramState state;
    SetProgramConstants(state);
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = agreement;
    }
    return state;
}

void score(ProgramState& state) {
    CopyAnswers(state);
    ComputeDimensionalScores(state);
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
    ProgramState state = stateWithAllAnswers(c.answer);
    score(state);
    for (std::size_t i = 0; i < kScales.size(); ++i) {
        SCOPED_TRACE(kScales[i].name);
        EXPECT_EQ((state.Scores.*kScales[i].total).value(), c.totals[i]);
        // The report shows 15 significant digits: the stored value must read as the whole number.
        EXPECT_EQ(numberText(state.Scores.*kScales[i].percentage),
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
    ProgramState state = stateWithAllAnswers(4);
    score(state);
    const ScoreRecord before = state.Scores;
    state.AnswerT[50] = 5;
    score(state);
    EXPECT_EQ(state.Scores.sz1t - before.sz1t, 1);
    EXPECT_EQ(state.Scores.st1t - before.st1t, 1);
    EXPECT_EQ(state.Scores.clA1t - before.clA1t, 2);
    EXPECT_EQ(state.Scores.tot1t - before.tot1t, 2);
    EXPECT_EQ(state.Scores.par1t - before.par1t, 0);
    EXPECT_EQ(state.Scores.clB1t - before.clB1t, 0);
}

TEST(DimensionalScores, DepressiveAndPassiveAggressiveStayOutOfTheGrandTotal) {
    ProgramState state = stateWithAllAnswers(1);
    for (const int item : {11, 23, 35, 47, 59, 71, 83, 12, 24, 36, 48, 60, 72, 84}) {
        state.AnswerT[item] = 7;
    }
    score(state);
    EXPECT_EQ(state.Scores.de1t.value(), 49);
    EXPECT_EQ(state.Scores.pa1t.value(), 49);
    EXPECT_EQ(state.Scores.tot1t.value(), 81);
}

TEST(DimensionalScores, UnansweredScaleGivesNegativePercentageTruncatedTowardZero) {
    ProgramState state = stateWithAllAnswers(1);
    for (const int item : {1, 13, 25, 37, 49, 61, 73}) {
        state.AnswerT[item] = 0;
    }
    score(state);
    EXPECT_EQ(state.Scores.par1t.value(), 0);
    EXPECT_EQ(numberText(state.Scores.par1p), "-16");
}

// Raising the answers one item at a time sweeps every scale through its totals; each
// percentage must read as 100 * (total - 7) / divisor cut toward zero, with the divisor of the
// table (not one computed from the item count).
TEST(DimensionalScores, PercentageIsTheTruncatedShareOfTheScaleRange) {
    for (Integer base = 0; base < 7; ++base) {
        ProgramState state = stateWithAllAnswers(base);
        for (int raised = 0; raised <= 94; ++raised) {
            if (raised > 0) {
                state.AnswerT[raised] = static_cast<Integer>(base + 1);
            }
            score(state);
            for (const auto& scale : kScales) {
                const double total = (state.Scores.*scale.total).value();
                const double expected = std::trunc(100.0 * (total - 7.0) / scale.divisor);
                ASSERT_EQ(numberText(state.Scores.*scale.percentage), numberText(expected))
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

TEST(DimensionalScores, ScoresReadTheCopyNotTheLiveAnswers) {
    ProgramState state = stateWithAllAnswers(7);
    score(state);
    state.AnswerT[1] = 1;
    ComputeDimensionalScores(state);
    EXPECT_EQ(state.Scores.par1t.value(), 49);
    EXPECT_EQ(state.ScoreT[1], 7);
}

TEST(DimensionalScores, CopyIncludesNoticeSlotAndDistress) {
    ProgramState state = stateWithAllAnswers(5);
    state.AnswerD[94] = 3;
    CopyAnswers(state);
    EXPECT_EQ(state.ScoreT, state.AnswerT);
    EXPECT_EQ(state.ScoreD, state.AnswerD);
}

TEST(DimensionalScores, TotalBeyondSixteenBitsIsRefusedNotWrapped) {
    ProgramState state = stateWithAllAnswers(7);
    state.AnswerT[5] = 32760; // only a hand-edited data file could hold this
    CopyAnswers(state);
    EXPECT_THROW(ComputeDimensionalScores(state), std::overflow_error);
}

} // namespace
} // namespace selvo
