// SPDX-License-Identifier: GPL-3.0-or-later

#include "scoring/Scores.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace selvo {
namespace {

using questionnaire::Disorder;
using enum questionnaire::Disorder;
using enum questionnaire::Cluster;

// Every item answered 1 with no distress unless a test says so.
AnswerSet lowAnswers() {
    AnswerSet answers;
    for (int item = 1; item <= 94; ++item) {
        answers.agreement[item] = 1;
    }
    return answers;
}

void answer(AnswerSet& answers, std::initializer_list<int> items, Integer t = 7, Integer d = 3) {
    for (const int item : items) {
        answers.agreement[item] = t;
        answers.distress[item] = d;
    }
}

// Whether criterion `number` (1-based, in the disorder's order) is met.
bool met(const CategoricalScores& scores, Disorder disorder, int number) {
    return scores.disorders[disorder].criteria[static_cast<std::size_t>(number - 1)].met;
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
    AnswerSet answers = lowAnswers();
    answer(answers, {1}, c.agreement, c.distress);
    EXPECT_EQ(met(ComputeCriteriaX4(answers), PAR, 1), c.metX4 == 1) << "X4";
    EXPECT_EQ(met(ComputeCriteriaX5(answers), PAR, 1), c.metX5 == 1) << "X5";
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
    AnswerSet answers = lowAnswers();
    answer(answers, {50});
    const CategoricalScores s = ComputeCriteriaX4(answers);
    EXPECT_TRUE(met(s, SZ, 5));
    EXPECT_TRUE(met(s, ST, 8));
    EXPECT_EQ(s.disorders[SZ].criteriaMet, 1);
    EXPECT_EQ(s.disorders[ST].criteriaMet, 1);
    EXPECT_EQ(s.clusters[ClusterA].criteriaMet, 2);
}

TEST(CriteriaAlgorithm, Item51MeetsSchizotypalCriterion5) {
    AnswerSet answers = lowAnswers();
    answer(answers, {51});
    const CategoricalScores s = ComputeCriteriaX4(answers);
    EXPECT_TRUE(met(s, ST, 5));
    EXPECT_FALSE(met(s, ST, 8));
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
    AnswerSet answers = lowAnswers();
    for (const int item : c.items) {
        answer(answers, {item});
    }
    const DisorderOutcome bdl = ComputeCriteriaX4(answers).disorders[BDL];
    EXPECT_EQ(bdl.criteria[4].itemMet[0], c.bdl5 == 1); // item 53
    EXPECT_EQ(bdl.criteria[4].itemMet[1], c.bdl6 == 1); // item 65
    EXPECT_EQ(bdl.criteria[4].met, c.bdl56 == 1);
    EXPECT_EQ(bdl.criteriaMet, c.count);
}

INSTANTIATE_TEST_SUITE_P(CriteriaAlgorithm, BorderlineCriterion5,
                         testing::Values(BorderlineCase{"neither", {}, 0, 0, 0, 0},
                                         BorderlineCase{"item53", {53}, 1, 0, 1, 1},
                                         BorderlineCase{"item65", {65}, 0, 1, 1, 1},
                                         BorderlineCase{"both", {53, 65}, 1, 1, 1, 1},
                                         BorderlineCase{"bothAndItem5", {5, 53, 65}, 1, 1, 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaAlgorithm, AntisocialNeedsConductDisorderItem) {
    AnswerSet answers = lowAnswers();
    answer(answers, {4, 16, 86});
    DisorderOutcome as = ComputeCriteriaX4(answers).disorders[AS];
    EXPECT_EQ(as.criteriaMet, 3);
    EXPECT_TRUE(as.diagnosed);

    answers = lowAnswers();
    answer(answers, {4, 16, 28, 40, 52, 64, 76});
    as = ComputeCriteriaX4(answers).disorders[AS];
    EXPECT_EQ(as.criteriaMet, 7);
    EXPECT_FALSE(as.diagnosed);
}

// Each disorder's items in criterion order and the least count that diagnoses it.
struct DisorderCase {
    const char* name;
    std::vector<int> items;
    Disorder disorder;
    int threshold;
};

void PrintTo(const DisorderCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<DisorderCase> kDisorderCases = {
    {"paranoid", {1, 13, 25, 37, 49, 61, 73}, PAR, 4},
    {"schizoid", {2, 14, 26, 38, 50, 62, 74}, SZ, 4},
    {"schizotypal", {3, 15, 27, 39, 51, 63, 75, 85}, ST, 5},
    // Conduct disorder first, so the edge is the count alone.
    {"antisocial", {86, 4, 16, 28, 40, 52, 64, 76}, AS, 3},
    {"borderline", {5, 17, 29, 41, 53, 77, 87, 92, 94}, BDL, 5},
    {"histrionic", {6, 18, 30, 42, 54, 66, 78, 88}, HIS, 5},
    {"narcissistic", {7, 19, 31, 43, 55, 67, 79, 89, 93}, NAR, 5},
    {"avoidant", {8, 20, 32, 44, 56, 68, 80}, AV, 4},
    {"dependent", {9, 21, 33, 45, 57, 69, 81, 90}, DEP, 5},
    {"obsessive", {10, 22, 34, 46, 58, 70, 82, 91}, OC, 4},
    {"depressive", {11, 23, 35, 47, 59, 71, 83}, DE, 5},
    {"passiveAggressive", {12, 24, 36, 48, 60, 72, 84}, PA, 4},
};

class DiagnosisThreshold : public testing::TestWithParam<DisorderCase> {};

TEST_P(DiagnosisThreshold, DiagnosesFromThresholdOnly) {
    const DisorderCase& c = GetParam();
    for (int met = 0; met <= static_cast<int>(c.items.size()); ++met) {
        AnswerSet answers = lowAnswers();
        for (int k = 0; k < met; ++k) {
            answer(answers, {c.items[static_cast<std::size_t>(k)]}, 6, 2);
        }
        const DisorderOutcome outcome = ComputeCriteriaX5(answers).disorders[c.disorder];
        EXPECT_EQ(outcome.criteriaMet, met);
        EXPECT_EQ(outcome.diagnosed, met >= c.threshold) << met << " criteria met";
    }
}

INSTANTIATE_TEST_SUITE_P(CriteriaAlgorithm, DiagnosisThreshold, testing::ValuesIn(kDisorderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CriteriaAlgorithm, EveryItemFeedsOneCountedCriterionExceptItem50) {
    for (int item = 1; item <= 94; ++item) {
        AnswerSet answers = lowAnswers();
        answer(answers, {item});
        const CategoricalScores s = ComputeCriteriaX4(answers);
        const int counted =
            s.allClusters.criteriaMet + s.disorders[DE].criteriaMet + s.disorders[PA].criteriaMet;
        EXPECT_EQ(counted, item == 50 ? 2 : 1) << "item " << item;
    }
}

TEST(CriteriaAlgorithm, EveryDisorderDiagnosedGivesTenInGrandTotal) {
    AnswerSet answers = lowAnswers();
    for (int item = 1; item <= 94; ++item) {
        answer(answers, {item});
    }
    const CategoricalScores s = ComputeCriteriaX4(answers);
    EXPECT_EQ(s.clusters[ClusterA].criteriaMet, 23);
    EXPECT_EQ(s.clusters[ClusterA].diagnoses, 3);
    EXPECT_EQ(s.clusters[ClusterB].criteriaMet, 34);
    EXPECT_EQ(s.clusters[ClusterB].diagnoses, 4);
    EXPECT_EQ(s.clusters[ClusterC].criteriaMet, 23);
    EXPECT_EQ(s.clusters[ClusterC].diagnoses, 3);
    EXPECT_EQ(s.allClusters.criteriaMet, 80);
    EXPECT_EQ(s.allClusters.diagnoses, 10);
    EXPECT_TRUE(s.disorders[DE].diagnosed);
    EXPECT_TRUE(s.disorders[PA].diagnosed);
}

// The same answers under the two thresholds: the T > 5 results owe nothing to the T > 4 ones.
TEST(CriteriaAlgorithm, X5ResultsAreTheirOwnBesideX4) {
    AnswerSet answers = lowAnswers();
    for (int item = 1; item <= 94; ++item) {
        answer(answers, {item}, 5, 2);
    }
    answer(answers, {1}, 6, 2);
    ASSERT_EQ(ComputeCriteriaX4(answers).allClusters.diagnoses, 10);
    const CategoricalScores s = ComputeCriteriaX5(answers);
    EXPECT_TRUE(met(s, PAR, 1));
    EXPECT_FALSE(met(s, PAR, 2));
    EXPECT_FALSE(met(s, BDL, 5));
    EXPECT_EQ(s.disorders[PAR].criteriaMet, 1);
    EXPECT_FALSE(s.disorders[PAR].diagnosed);
    EXPECT_EQ(s.allClusters.criteriaMet, 1);
    EXPECT_EQ(s.allClusters.diagnoses, 0);
    EXPECT_EQ(s.disorders[DE].criteriaMet, 0);
}

} // namespace
} // namespace selvo
