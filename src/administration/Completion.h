// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "administration/Administration.h"

#include <string>
#include <vector>

namespace selvo {

// Every item answered, and every agreement that asks the distress question has its answer.
bool AnswersComplete(const AnswerSet& answers);

// The items still lacking an answer: no agreement, or an agreement that asks the distress
// question without its answer. In item order.
std::vector<int> MissingItems(const AnswerSet& answers);

// The items with every answer they need: the items less those MissingItems lists.
int AnsweredItems(const AnswerSet& answers);

// The items as a sentence lists them: "17", "17 e 52", "17, 52 e 94"; past ten, the first ten
// and how many more ("1, 2, ..., 10 e altri 5").
std::string MissingItemsList(const std::vector<int>& items);

// The operator's message: "Mancano le risposte agli item 17, 52 e 94." ("Manca la risposta
// all'item 17." for one item).
std::string MissingItemsMessage(const std::vector<int>& items);

// How many of the items hold answers: "la risposta a 1 dei 94 item", "le risposte a 3 dei 94
// item", "le risposte a tutti i 94 item".
std::string AnsweredItemsText(int answered, int items);

// Records whether the answers are complete, and returns it.
bool CheckCompletion(Administration& administration);

} // namespace selvo
