// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The questionnaire's texts as the program shows and quotes them: the item texts with their
// line breaks as CR LF, the criteria texts the report lists, and the captions of the two answer
// scales. Built once from the shipped content; every screen and writer reads them here.
#include "questionnaire/Questionnaire.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace selvo::questionnaire {

// Slot 0 the notice page, slot k item k ("k) ..."), each paragraph mark turned into CR LF.
using ItemTextTable = std::array<std::string, kItemCount + 1>;
const ItemTextTable& ItemTexts();
const std::string& ItemText(int item); // throws std::out_of_range outside 0..94

// Per disorder, in questionnaire order: its heading text, then the texts of criteria 1..n.
using CriteriaTextTable = std::array<std::vector<std::string>, kDisorderCount>;
const CriteriaTextTable& CriteriaTexts();

// The captions of the steps of each scale; step 0 is the prompt shown before a choice.
std::string_view AgreementLabel(int step); // 0..7
std::string_view DistressLabel(int step);  // 0..3

// The legends shown beside the two scales: "( k ) caption" lines, each ending in CR LF.
std::string AgreementLegend();
std::string DistressLegend();

} // namespace selvo::questionnaire
