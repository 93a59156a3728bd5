#include "scoring/CriteriaAlgorithm.h"

#include "state/Startup.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace selvo {
namespace {

using Slot = NumberOrEmpty ScoreRecord::*;

// Answers copied for scoring: every item answered 1 with no distress unless a test says so.
ProgramState scoredState() {
    ProgramState state;
    SetProgramConstants(state);
    for (int item = 1; item <= 94; ++item) {
        state.ScoreT[item] = 1;
    }
    return state;
}

void answer(ProgramState& state, std::initializer_list<int> items, Integer t = 7, Integer d = 3) {
    for (const int item : items) {
        state.ScoreT[item] = t;
        state.ScoreD[item] = d;
    }
}

struct AnswerCase {
    const char* name;
    Integer agreement;
    Integer distress;
    int metX4;
    int metX5;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class CriterionThreshold : public testing::TestWithParam<AnswerCase> {};

TEST_P(CriterionThreshold, MeetsAccordingToAlgorithm) {
    const AnswerCase& c = GetParam();
    ProgramState state = scoredState();
    answer(state, {1}, c.agreement, c.distress);
    ComputeCriteriaX4(state);
    EXPECT_EQ(state.Scores.PAR1.value(), c.metX4) << "X4";
    ComputeCriteriaX5(state);
    EXPECT_EQ(state.Scores.PAR1.value(), c.metX5) << "X5";
}

INSTANTIATE_TEST_SUITE_P(CriteriaAlgorithm, CriterionThreshold,
                         testing::Values(AnswerCase{"agree4distress3", 4, 3, 0, 0},
                                         AnswerCase{"agree5distress2", 5, 2, 1, 0},
                                         AnswerCase{"agree6distress2", 6, 2, 1, 1},
                                         AnswerCase{"agree7distress3", 7, 3, 1, 1},
                                         AnswerCase{"agree7distressNever", 7, 1, 0, 0},
                                         AnswerCase{"agree7noDistress", 7, 0, 0, 0},
                                         AnswerCase{"unansweredDistress3", 0, 3, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaAlgorithm, Item50MeetsSchizoidAndSchizotypalCriteria) {
    ProgramState state = scoredState();
    answer(state, {50});
    ComputeCriteriaX4(state);
    EXPECT_EQ(state.Scores.SZ5.value(), 1);
    EXPECT_EQ(state.Scores.ST8.value(), 1);
    EXPECT_EQ(state.Scores.SZTOT.value(), 1);
    EXPECT_EQ(state.Scores.STTOT.value(), 1);
    EXPECT_EQ(state.Scores.CLATOT.value(), 2);
}

TEST(CriteriaAlgorithm, Item51MeetsSchizotypalCriterion5) {
    ProgramState state = scoredState();
    answer(state, {51});
    ComputeCriteriaX4(state);
    EXPECT_EQ(state.Scores.ST5.value(), 1);
    EXPECT_EQ(state.Scores.ST8.value(), 0);
}

struct BorderlineCase {
    const char* name;
    std::vector<int> items;
    int bdl5, bdl6, bdl56, count;
};

void PrintTo(const BorderlineCase& c, std::ostream* os) {
    *os << c.name;
}

class BorderlineCriterion5 : public testing::TestWithParam<BorderlineCase> {};

TEST_P(BorderlineCriterion5, EitherHalfMeetsItOnce) {
    const BorderlineCase& c = GetParam();
    ProgramState state = scoredState();
    for (const int item : c.items) {
        answer(state, {item});
    }
    ComputeCriteriaX4(state);
    EXPECT_EQ(state.Scores.BDL5.value(), c.bdl5);
    EXPECT_EQ(state.Scores.BDL6.value(), c.bdl6);
    EXPECT_EQ(state.Scores.BDL56.value(), c.bdl56);
    EXPECT_EQ(state.Scores.BDLTOT.value(), c.count);
}

INSTANTIATE_TEST_SUITE_P(CriteriaAlgorithm, BorderlineCriterion5,
                         testing::Values(BorderlineCase{"neither", {}, 0, 0, 0, 0},
                                         BorderlineCase{"item53", {53}, 1, 0, 1, 1},
                                         BorderlineCase{"item65", {65}, 0, 1, 1, 1},
                                         BorderlineCase{"both", {53, 65}, 1, 1, 1, 1},
                                         BorderlineCase{"bothAndItem5", {5, 53, 65}, 1, 1, 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaAlgorithm, AntisocialNeedsConductDisorderItem) {
    ProgramState state = scoredState();
    answer(state, {4, 16, 86});
    ComputeCriteriaX4(state);
    EXPECT_EQ(state.Scores.ASTOT.value(), 3);
    EXPECT_EQ(state.Scores.ASD.value(), 1);

    state = scoredState();
    answer(state, {4, 16, 28, 40, 52, 64, 76});
    ComputeCriteriaX4(state);
    EXPECT_EQ(state.Scores.ASTOT.value(), 7);
    EXPECT_EQ(state.Scores.ASD.value(), 0);
}

// Each disorder's items in criterion order, where its count and diagnosis go and the least
// count that diagnoses it.
struct DisorderCase {
    const char* name;
    std::vector<int> items;
    Slot count;
    Slot diagnosis;
    int threshold;
};

void PrintTo(const DisorderCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<DisorderCase> kDisorderCases = {
    {"paranoid", {1, 13, 25, 37, 49, 61, 73}, &ScoreRecord::PARTOT, &ScoreRecord::PARD, 4},
    {"schizoid", {2, 14, 26, 38, 50, 62, 74}, &ScoreRecord::SZTOT, &ScoreRecord::SZD, 4},
    {"schizotypal", {3, 15, 27, 39, 51, 63, 75, 85}, &ScoreRecord::STTOT, &ScoreRecord::STD, 5},
    // Conduct disorder first, so the edge is the count alone.
    {"antisocial", {86, 4, 16, 28, 40, 52, 64, 76}, &ScoreRecord::ASTOT, &ScoreRecord::ASD, 3},
    {"borderline",
     {5, 17, 29, 41, 53, 77, 87, 92, 94},
     &ScoreRecord::BDLTOT,
     &ScoreRecord::BDLD,
     5},
    {"histrionic", {6, 18, 30, 42, 54, 66, 78, 88}, &ScoreRecord::HISTOT, &ScoreRecord::HISD, 5},
    {"narcissistic",
     {7, 19, 31, 43, 55, 67, 79, 89, 93},
     &ScoreRecord::NARTOT,
     &ScoreRecord::NARD,
     5},
    {"avoidant", {8, 20, 32, 44, 56, 68, 80}, &ScoreRecord::AVTOT, &ScoreRecord::AVD, 4},
    {"dependent", {9, 21, 33, 45, 57, 69, 81, 90}, &ScoreRecord::DEPTOT, &ScoreRecord::DEPD, 5},
    {"obsessive", {10, 22, 34, 46, 58, 70, 82, 91}, &ScoreRecord::OCTOT, &ScoreRecord::OCD, 4},
    {"depressive", {11, 23, 35, 47, 59, 71, 83}, &ScoreRecord::DETOT, &ScoreRecord::DED, 5},
    {"passiveAggressive", {12, 24, 36, 48, 60, 72, 84}, &ScoreRecord::PATOT, &ScoreRecord::PAD, 4},
};

class DiagnosisThreshold : public testing::TestWithParam<DisorderCase> {};

TEST_P(DiagnosisThreshold, DiagnosesFromThresholdOnly) {
    const DisorderCase& c = GetParam();
    for (int met = 0; met <= static_cast<int>(c.items.size()); ++met) {
        ProgramState state = scoredState();
        for (int k = 0; k < met; ++k) {
            answer(state, {c.items[static_cast<std::size_t>(k)]}, 6, 2);
        }
        ComputeCriteriaX5(state);
        EXPECT_EQ((state.Scores.*c.count).value(), met);
        EXPECT_EQ((state.Scores.*c.diagnosis).value(), met >= c.threshold ? 1 : 0)
            << met << " criteria met";
    }
}

INSTANTIATE_TEST_SUITE_P(CriteriaAlgorithm, DiagnosisThreshold, testing::ValuesIn(kDisorderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaAlgorithm, EveryItemFeedsOneCountedCriterionExceptItem50) {
    for (int item = 1; item <= 94; ++item) {
        ProgramState state = scoredState();
        answer(state, {item});
        ComputeCriteriaX4(state);
        const ScoreRecord& s = state.Scores;
        const double counted = s.TOTTOT + s.DETOT + s.PATOT;
        EXPECT_EQ(counted, item == 50 ? 2 : 1) << "item " << item;
    }
}

TEST(CriteriaAlgorithm, EveryDisorderDiagnosedGivesTenInGrandTotal) {
    ProgramState state = scoredState();
    for (int item = 1; item <= 94; ++item) {
        answer(state, {item});
    }
    ComputeCriteriaX4(state);
    const ScoreRecord& s = state.Scores;
    EXPECT_EQ(s.CLATOT.value(), 23);
    EXPECT_EQ(s.CLAD.value(), 3);
    EXPECT_EQ(s.CLBTOT.value(), 34);
    EXPECT_EQ(s.CLBD.value(), 4);
    EXPECT_EQ(s.CLCTOT.value(), 23);
    EXPECT_EQ(s.CLCD.value(), 3);
    EXPECT_EQ(s.TOTTOT.value(), 80);
    EXPECT_EQ(s.TOTD.value(), 10);
    EXPECT_EQ(s.DED.value(), 1);
    EXPECT_EQ(s.PAD.value(), 1);
}

TEST(CriteriaAlgorithm, X5AfterX4LeavesOnlyX5Results) {
    ProgramState state = scoredState();
    for (int item = 1; item <= 94; ++item) {
        answer(state, {item}, 5, 2);
    }
    answer(state, {1}, 6, 2);
    ComputeCriteriaX4(state);
    ASSERT_EQ(state.Scores.TOTD.value(), 10);
    ComputeCriteriaX5(state);
    const ScoreRecord& s = state.Scores;
    EXPECT_EQ(s.PAR1.value(), 1);
    EXPECT_EQ(s.PAR2.value(), 0);
    EXPECT_EQ(s.BDL56.value(), 0);
    EXPECT_EQ(s.PARTOT.value(), 1);
    EXPECT_EQ(s.PARD.value(), 0);
    EXPECT_EQ(s.TOTTOT.value(), 1);
    EXPECT_EQ(s.TOTD.value(), 0);
    EXPECT_EQ(s.DETOT.value(), 0);
}

} // namespace
} // namespace selvo
