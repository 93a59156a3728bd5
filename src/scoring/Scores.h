// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a processing run computes from the answers, once: the dimensional totals and their
// percentages, and under each threshold the criteria met, the diagnoses and the cluster
// totals. The report, the exports and the dataset are composed from these values.
#include "questionnaire/Answers.h"
#include "questionnaire/Questionnaire.h"

#include <array>

namespace selvo {

// A total of agreement answers and its percentage of the scale's range (cut to whole
// percent points: see TruncateTo2).
struct ScaleScore {
    int total = 0;
    double percentage = 0;
    bool operator==(const ScaleScore&) const = default;
};

struct DimensionalScores {
    std::array<ScaleScore, questionnaire::kDisorderCount> disorders;
    std::array<ScaleScore, questionnaire::kClusterCount> clusters;
    ScaleScore allClusters;
    bool operator==(const DimensionalScores&) const = default;
};

// One criterion: met or not, and which of its items said so (borderline criterion 5 has two).
struct CriterionOutcome {
    bool met = false;
    std::array<bool, 2> itemMet{};
    bool operator==(const CriterionOutcome&) const = default;
};

struct DisorderOutcome {
    std::array<CriterionOutcome, questionnaire::kMostCriteria> criteria{};
    int criteriaMet = 0;
    bool diagnosed = false;
    bool operator==(const DisorderOutcome&) const = default;
};

struct CountTotals {
    int criteriaMet = 0;
    int diagnoses = 0;
    bool operator==(const CountTotals&) const = default;
};

// The categorical scoring under one threshold.
struct CategoricalScores {
    std::array<DisorderOutcome, questionnaire::kDisorderCount> disorders{};
    std::array<CountTotals, questionnaire::kClusterCount> clusters{};
    CountTotals allClusters;
    bool operator==(const CategoricalScores&) const = default;
};

struct Scores {
    DimensionalScores dimensional;
    std::array<CategoricalScores, questionnaire::kAlgorithmCount> categorical{};
    bool operator==(const Scores&) const = default;
};

// The sixteen totals, summed as 16-bit integers (a sum outside that range throws
// std::overflow_error, never wraps), and their percentages.
DimensionalScores ComputeDimensionalScores(const AnswerTable& agreement);

// A criterion is met when distress >= 2 and agreement >= the threshold's minimum.
CategoricalScores ComputeCriteria(const AnswerSet& answers,
                                  const questionnaire::Threshold& threshold);
CategoricalScores ComputeCriteriaX4(const AnswerSet& answers); // T > 4 & D > 1
CategoricalScores ComputeCriteriaX5(const AnswerSet& answers); // T > 5 & D > 1

// Everything above, each computed once.
Scores ScoreAnswers(const AnswerSet& answers);

// x cut (not rounded) to two decimals: 0.4107 -> 0.41, -0.1666 -> -0.16.
double TruncateTo2(double x);

} // namespace selvo
