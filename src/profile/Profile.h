// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The subject's profile as the results window shows it: the run's own scores, arranged for a
// chart and a table. Nothing is computed again here; the numbers are the report's.
#include "questionnaire/Questionnaire.h"
#include "scoring/Scores.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

struct ProfileBar {
    questionnaire::Disorder disorder;
    std::string_view shortName;  // "PAR", "O-C": the axis label
    std::string_view screenName; // "Paranoide": the table's
    ScaleScore score;
    std::array<bool, questionnaire::kAlgorithmCount> diagnosed{};
    bool inCluster = true; // DE and PA belong to none, and stand apart on the chart
    double position = 0;   // where its bar stands on the chart's horizontal axis
};

struct ProfileCluster {
    std::string_view letter;
    std::string members; // "PAR, SZ, ST"
    ScaleScore score;
    std::array<int, questionnaire::kAlgorithmCount> diagnoses{};
};

struct Profile {
    std::vector<ProfileBar> bars; // the questionnaire's order: PAR ... OC, DE, PA
    std::vector<ProfileCluster> clusters;
    double axisEnd = 0; // one step past the last bar
};

Profile ProfileOf(const Scores& scores);

// A bar's height on the chart's 0-100 % axis. A total below the scale's lowest (an incomplete
// set processed anyway) has a negative percentage: its bar stays at 0, the table says it.
double BarHeight(const ScaleScore& score);

// The table's texts, with the numbers written as the report writes them: "23", "41 %".
std::string TotalText(const ScaleScore& score);
std::string PercentageText(const ScaleScore& score);
std::string DiagnosisText(bool diagnosed); // "sì" / "no"

} // namespace selvo
