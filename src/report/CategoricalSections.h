// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "questionnaire/Questionnaire.h"
#include "questionnaire/content/Wording.h"
#include "scoring/Scores.h"

#include <array>
#include <string>
#include <vector>

namespace selvo {

using CriteriaTexts = questionnaire::CriteriaTextTable;

// The criteria met, counts, diagnoses and cluster totals under one threshold.
std::string BuildCategoricalSection(const CategoricalScores& categorical,
                                    questionnaire::Algorithm algorithm);
// The texts of the criteria met under one threshold, disorder by disorder.
std::string BuildCriteriaSection(const CategoricalScores& categorical,
                                 const CriteriaTexts& criteriaTexts,
                                 questionnaire::Algorithm algorithm);

} // namespace selvo
