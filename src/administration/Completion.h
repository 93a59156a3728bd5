// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "state/ProgramState.h"

#include <string>
#include <vector>

namespace selvo {

// Every item answered, and every agreement that asks the distress question has its answer.
bool AnswersComplete(const ProgramState& state);

// The items still lacking an answer: no agreement, or an agreement that asks the distress
// question without its answer. In item order.
std::vector<int> MissingItems(const AnswerSet& answers);
std::vector<int> MissingItems(const ProgramState& state);

// The items as a sentence lists them: "17", "17 e 52", "17, 52 e 94"; past ten, the first ten
// and how many more ("1, 2, ..., 10 e altri 5").
std::string MissingItemsList(const std::vector<int>& items);

// The operator's message: "Mancano le risposte agli item 17, 52 e 94." ("Manca la risposta
// all'item 17." for one item).
std::string MissingItemsMessage(const std::vector<int>& items);

// How many of the items hold answers: "la risposta a 1 dei 94 item", "le risposte a 3 dei 94
// item", "le risposte a tutti i 94 item".
std::string AnsweredItemsText(int answered, int items);

// Sets AllAnswered to false, then to true when the answers are complete; returns the flag.
bool CheckCompletion(ProgramState& state);

} // namespace selvo
