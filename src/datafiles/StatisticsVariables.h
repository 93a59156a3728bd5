// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The case's variables as the study's dataset takes them from the subject's command file: their
// names, formats, labels and values, in the command file's order.
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "questionnaire/content/Wording.h"
#include "scoring/Scores.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

// The item texts that label the agreement variables, item k's in slot k: the questionnaire's,
// unless a test gives others.
using ItemLabelTexts = std::span<const std::string>;

// Keeps an item text inside its single-quoted label: ' -> ^, CR and LF -> -.
std::string CleanLabelText(std::string_view text);

// A variable of the case, with the format the command file defines it with.
struct StatisticsVariable {
    std::string name;
    std::string format;      // "F8.0", "F8" or "A10"
    std::string description; // what it holds, in Italian, for the dataset's codebook
};

// The case's 462 variables, in the order of the definitions and of the data line.
std::vector<StatisticsVariable> StatisticsVariables();

// The case's values in the same order, from the computation that writes the data line:
// numbers as plain digits (no sign blank), texts of the record on one line.
std::vector<std::string> StatisticsCaseValues(const SubjectRecord& subject,
                                              const AnswerSet& answers, const Scores& scores);

struct VariableLabel {
    std::string name;
    std::string label;
};

// The labels the command file gives the case's variables, in its order: the header, the items
// (their texts), the dimensional totals, then the criteria counts and diagnoses
// under X4 and X5. Nome and Cognome, which the command file labels too, are not variables of
// the case.
std::vector<VariableLabel>
StatisticsVariableLabels(ItemLabelTexts itemTexts = questionnaire::ItemTexts());

} // namespace selvo
