// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/Completion.h"

#include <algorithm>

namespace selvo {

namespace {
namespace q = questionnaire;

// Only an agreement that asks the distress question needs its answer.
bool itemMissing(const AnswerSet& answers, int item) {
    return answers.agreement[item] == 0 ||
           (q::asksDistress(answers.agreement[item]) && answers.distress[item] == 0);
}

// A message names at most this many items; the rest are counted.
constexpr std::size_t kItemsNamed = 10;

} // namespace

bool AnswersComplete(const AnswerSet& answers) {
    return MissingItems(answers).empty();
}

std::vector<int> MissingItems(const AnswerSet& answers) {
    std::vector<int> missing;
    for (int i = q::kFirstItem; i <= q::kItemCount; ++i) {
        if (itemMissing(answers, i)) {
            missing.push_back(i);
        }
    }
    return missing;
}

int AnsweredItems(const AnswerSet& answers) {
    return q::kItemCount - static_cast<int>(MissingItems(answers).size());
}

std::string MissingItemsList(const std::vector<int>& items) {
    const std::size_t named = std::min(items.size(), kItemsNamed);
    const std::size_t others = items.size() - named;
    std::string list;
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) {
            list += (i + 1 == named && others == 0) ? " e " : ", ";
        }
        list += std::to_string(items[i]);
    }
    if (others == 1) {
        list += " e un altro";
    } else if (others > 1) {
        list += " e altri " + std::to_string(others);
    }
    return list;
}

std::string MissingItemsMessage(const std::vector<int>& items) {
    if (items.size() == 1) {
        return "Manca la risposta all'item " + MissingItemsList(items) + ".";
    }
    return "Mancano le risposte agli item " + MissingItemsList(items) + ".";
}

std::string AnsweredItemsText(int answered, int items) {
    const std::string all = std::to_string(items);
    if (answered == items) {
        return "le risposte a tutti i " + all + " item";
    }
    if (answered == 1) {
        return "la risposta a 1 dei " + all + " item";
    }
    return "le risposte a " + std::to_string(answered) + " dei " + all + " item";
}

bool CheckCompletion(Administration& administration) {
    administration.allAnswered = AnswersComplete(administration.answers);
    return *administration.allAnswered;
}

} // namespace selvo
