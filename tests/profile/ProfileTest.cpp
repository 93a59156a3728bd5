// SPDX-License-Identifier: GPL-3.0-or-later

#include "profile/Profile.h"

#include <gtest/gtest.h>

namespace {

namespace q = selvo::questionnaire;

TEST(Profile, BarsFollowTheQuestionnaireWithDeAndPaSetApart) {
    selvo::Scores scores;
    scores.dimensional.disorders[q::OC] = {40, 61};
    scores.categorical[q::X4].disorders[q::BDL].diagnosed = true;
    scores.categorical[q::X4].clusters[q::ClusterB].diagnoses = 1;
    const selvo::Profile profile = selvo::ProfileOf(scores);

    ASSERT_EQ(profile.bars.size(), static_cast<std::size_t>(q::kDisorderCount));
    std::vector<std::string> labels;
    for (const selvo::ProfileBar& bar : profile.bars) {
        labels.emplace_back(bar.shortName);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"PAR", "SZ", "ST", "AS", "BDL", "HIS", "NAR", "AV",
                                                "DEP", "O-C", "DE", "PA"}));
    // One empty step before the two that belong to no cluster, and room after the last.
    EXPECT_EQ(profile.bars[q::OC].position, 10);
    EXPECT_EQ(profile.bars[q::DE].position, 12);
    EXPECT_FALSE(profile.bars[q::DE].inCluster);
    EXPECT_TRUE(profile.bars[q::OC].inCluster);
    EXPECT_EQ(profile.axisEnd, 14);

    EXPECT_EQ(profile.bars[q::OC].score, (selvo::ScaleScore{40, 61}));
    EXPECT_TRUE(profile.bars[q::BDL].diagnosed[q::X4]);
    EXPECT_FALSE(profile.bars[q::BDL].diagnosed[q::X5]);
    ASSERT_EQ(profile.clusters.size(), 3u);
    EXPECT_EQ(profile.clusters[q::ClusterB].members, "AS, BDL, HIS, NAR");
    EXPECT_EQ(profile.clusters[q::ClusterB].diagnoses[q::X4], 1);
}

TEST(Profile, NumbersReadAsTheReportWritesThemAndBarsStayOnTheAxis) {
    struct Case {
        selvo::ScaleScore score;
        const char* total;
        const char* percentage;
        double height;
    };
    for (const Case& c : {Case{{7, 0}, "7", "0 %", 0}, Case{{28, 50}, "28", "50 %", 50},
                          Case{{49, 100}, "49", "100 %", 100},
                          // An incomplete set processed anyway: below the scale's lowest.
                          Case{{4, -7}, "4", "-7 %", 0}}) {
        EXPECT_EQ(selvo::TotalText(c.score), c.total);
        EXPECT_EQ(selvo::PercentageText(c.score), c.percentage);
        EXPECT_EQ(selvo::BarHeight(c.score), c.height) << c.percentage;
    }
    EXPECT_EQ(selvo::DiagnosisText(true), "sì");
}

} // namespace
