// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The questionnaire's fixed content: item statements with the notice page, the two answer
// scales and the criteria texts the report quotes.
#include "state/ProgramState.h"

#include <string>

namespace selvo {

// Fills every item bank table (constants, scale captions, item and criteria texts) and turns
// each paragraph mark of the item texts into CR LF. Loading twice gives the same tables.
void LoadItemBank(ProgramState& state);

// The raw item texts (paragraph marks still in place), slots 0..94.
void LoadItemTexts(ProgramState& state);

// The twelve criteria tables: entry 0 the heading, entries 1..n the criteria.
void LoadCriteriaTexts(ProgramState& state);

// Sets every answer slot 0..ItemCount of AnswerT and AnswerD to 0.
void ClearAnswers(ProgramState& state);

// The legends shown beside the two scales: "( k )  caption" lines, each ending in CR LF.
std::string AgreementLegend(const ProgramState& state);
std::string DistressLegend(const ProgramState& state);

} // namespace selvo
