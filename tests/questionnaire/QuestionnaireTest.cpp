// SPDX-License-Identifier: GPL-3.0-or-later

// The definition is data typed by hand: these checks catch a mistyped item or count, which
// would otherwise only show as a wrong score.
#include "questionnaire/Questionnaire.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace q = selvo::questionnaire;

namespace {

// How many criteria each item stands for: item 50 for a schizoid and a schizotypal one.
std::map<int, int> criteriaPerItem() {
    std::map<int, int> uses;
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        for (const q::Criterion& criterion : disorder.criteriaList()) {
            for (int i = 0; i < criterion.itemCount; ++i) {
                ++uses[criterion.items[static_cast<std::size_t>(i)]];
            }
        }
    }
    return uses;
}

} // namespace

TEST(Questionnaire, EveryItemStandsForOneCriterionExceptItem50ForTwo) {
    const std::map<int, int> uses = criteriaPerItem();
    ASSERT_EQ(uses.size(), static_cast<std::size_t>(q::kItemCount));
    for (const auto& [item, count] : uses) {
        EXPECT_GE(item, q::kFirstItem);
        EXPECT_LE(item, q::kItemCount);
        EXPECT_EQ(count, item == 50 ? 2 : 1) << "item " << item;
    }
}

TEST(Questionnaire, PercentagesCountFromSevenToEachScalesHighestTotal) {
    constexpr std::array<int, q::kDisorderCount> kDisorderDivisors{42, 42, 56, 49, 63, 49,
                                                                   56, 42, 49, 49, 42, 42};
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        EXPECT_EQ(q::percentageDivisor(q::scaleItemCount(disorder)),
                  kDisorderDivisors[disorder.disorder])
            << disorder.code;
    }
    constexpr std::array<int, q::kClusterCount> kClusterDivisors{154, 238, 154};
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        EXPECT_EQ(q::percentageDivisor(q::clusterItemCount(cluster)),
                  kClusterDivisors[cluster.cluster])
            << cluster.letter;
    }
    EXPECT_EQ(q::percentageDivisor(q::allClustersItemCount()), 560);
}

TEST(Questionnaire, DistressIsAskedForAnAgreementOfFiveToSevenOnly) {
    for (int agreement = 0; agreement <= q::kAgreementSteps + 1; ++agreement) {
        EXPECT_EQ(q::asksDistress(agreement), agreement >= 5 && agreement <= 7) << agreement;
    }
}
