// SPDX-License-Identifier: GPL-3.0-or-later

#include "profile/Profile.h"

#include "text/NumberText.h"

#include <algorithm>

namespace selvo {
namespace {

namespace q = questionnaire;

std::string memberNames(const q::ClusterDefinition& cluster) {
    std::string names;
    for (const q::Disorder member : cluster.memberList()) {
        names += (names.empty() ? "" : ", ") + std::string(q::kDisorders[member].shortName);
    }
    return names;
}

// The report's number without the blank it leads a positive one with.
std::string reportNumber(double value) {
    std::string text = numberText(value);
    if (text.starts_with(' ')) {
        text.erase(0, 1);
    }
    return text;
}

} // namespace

Profile ProfileOf(const Scores& scores) {
    Profile profile;
    double position = 0;
    bool apartYet = false;
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        const bool inCluster = q::inAnyCluster(disorder.disorder);
        // One empty step between the clustered disorders and those set apart.
        position += (!inCluster && !apartYet) ? 2 : 1;
        apartYet = apartYet || !inCluster;
        ProfileBar bar{disorder.disorder, disorder.shortName, disorder.screenName,
                       scores.dimensional.disorders[disorder.disorder]};
        for (int algorithm = 0; algorithm < q::kAlgorithmCount; ++algorithm) {
            bar.diagnosed[algorithm] =
                scores.categorical[algorithm].disorders[disorder.disorder].diagnosed;
        }
        bar.inCluster = inCluster;
        bar.position = position;
        profile.bars.push_back(bar);
    }
    profile.axisEnd = position + 1;
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        ProfileCluster shown{cluster.letter, memberNames(cluster),
                             scores.dimensional.clusters[cluster.cluster]};
        for (int algorithm = 0; algorithm < q::kAlgorithmCount; ++algorithm) {
            shown.diagnoses[algorithm] =
                scores.categorical[algorithm].clusters[cluster.cluster].diagnoses;
        }
        profile.clusters.push_back(shown);
    }
    return profile;
}

double BarHeight(const ScaleScore& score) {
    return std::clamp(score.percentage, 0.0, 100.0);
}

std::string TotalText(const ScaleScore& score) {
    return reportNumber(score.total);
}

std::string PercentageText(const ScaleScore& score) {
    return reportNumber(score.percentage) + " %";
}

std::string DiagnosisText(bool diagnosed) {
    return diagnosed ? "sì" : "no";
}

} // namespace selvo
