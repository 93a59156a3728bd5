// SPDX-License-Identifier: GPL-3.0-or-later

#include "scoring/Scores.h"

#include <cmath>
#include <stdexcept>

namespace selvo {
namespace {

namespace q = questionnaire;

// Totals are 16-bit integers; a sum that leaves that range is refused, never wrapped.
Integer add16(Integer sum, int term) {
    Integer result = 0;
    if (__builtin_add_overflow(sum, term, &result)) {
        throw std::overflow_error("dimensional total outside the 16-bit range");
    }
    return result;
}

ScaleScore scaleScore(Integer total, int itemCount) {
    const double fraction = (total - 7.0) / q::percentageDivisor(itemCount);
    return {total, TruncateTo2(fraction) * 100.0};
}

Integer disorderTotal(const AnswerTable& agreement, const q::DisorderDefinition& disorder) {
    Integer total = 0;
    for (const q::Criterion& criterion : disorder.criteriaList()) {
        for (int i = 0; i < criterion.itemCount; ++i) {
            total = add16(total, agreement[criterion.items[static_cast<std::size_t>(i)]]);
        }
    }
    return total;
}

bool itemMet(const AnswerSet& answers, int item, const q::Threshold& threshold) {
    return answers.distress[item] >= q::kDistressMinimum &&
           answers.agreement[item] >= threshold.agreementMinimum;
}

DisorderOutcome disorderOutcome(const AnswerSet& answers, const q::DisorderDefinition& disorder,
                                const q::Threshold& threshold) {
    DisorderOutcome outcome;
    for (int k = 0; k < disorder.criterionCount; ++k) {
        const q::Criterion& criterion = disorder.criteria[static_cast<std::size_t>(k)];
        CriterionOutcome& result = outcome.criteria[static_cast<std::size_t>(k)];
        for (int i = 0; i < criterion.itemCount; ++i) {
            const auto part = static_cast<std::size_t>(i);
            result.itemMet[part] = itemMet(answers, criterion.items[part], threshold);
            result.met = result.met || result.itemMet[part];
        }
        outcome.criteriaMet += result.met ? 1 : 0;
    }
    outcome.diagnosed = outcome.criteriaMet >= disorder.diagnosisThreshold;
    if (disorder.requiredCriterion != 0) {
        const auto required = static_cast<std::size_t>(disorder.requiredCriterion - 1);
        outcome.diagnosed = outcome.diagnosed && outcome.criteria[required].met;
    }
    return outcome;
}

} // namespace

DimensionalScores ComputeDimensionalScores(const AnswerTable& agreement) {
    DimensionalScores scores;
    std::array<Integer, q::kDisorderCount> totals{};
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        totals[disorder.disorder] = disorderTotal(agreement, disorder);
        scores.disorders[disorder.disorder] =
            scaleScore(totals[disorder.disorder], q::scaleItemCount(disorder));
    }
    Integer all = 0;
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        Integer total = 0;
        for (const q::Disorder member : cluster.memberList()) {
            total = add16(total, totals[member]);
        }
        scores.clusters[cluster.cluster] = scaleScore(total, q::clusterItemCount(cluster));
        all = add16(all, total);
    }
    scores.allClusters = scaleScore(all, q::allClustersItemCount());
    return scores;
}

CategoricalScores ComputeCriteria(const AnswerSet& answers, const q::Threshold& threshold) {
    CategoricalScores scores;
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        scores.disorders[disorder.disorder] = disorderOutcome(answers, disorder, threshold);
    }
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        CountTotals& totals = scores.clusters[cluster.cluster];
        for (const q::Disorder member : cluster.memberList()) {
            totals.criteriaMet += scores.disorders[member].criteriaMet;
            totals.diagnoses += scores.disorders[member].diagnosed ? 1 : 0;
        }
        scores.allClusters.criteriaMet += totals.criteriaMet;
        scores.allClusters.diagnoses += totals.diagnoses;
    }
    return scores;
}

CategoricalScores ComputeCriteriaX4(const AnswerSet& answers) {
    return ComputeCriteria(answers, q::kThresholds[q::X4]);
}

CategoricalScores ComputeCriteriaX5(const AnswerSet& answers) {
    return ComputeCriteria(answers, q::kThresholds[q::X5]);
}

Scores ScoreAnswers(const AnswerSet& answers) {
    return {ComputeDimensionalScores(answers.agreement),
            {ComputeCriteriaX4(answers), ComputeCriteriaX5(answers)}};
}

double TruncateTo2(double x) {
    return std::trunc(x * 100.0) / 100.0;
}

} // namespace selvo
