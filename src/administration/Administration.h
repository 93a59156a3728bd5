// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The administration in hand, as the administration window keeps it: the answers given so far,
// the item on screen, and when the first answer was given.
#include "questionnaire/Answers.h"

#include <optional>
#include <string>

namespace selvo {

struct Administration {
    AnswerSet answers;
    int currentItem = 0; // 0 the notice page, k item k
    // "dd/mm/yyyy hh:mm:ss"; empty until the first answer, and for a set that did not come from
    // the questionnaire (a reload).
    std::string startedAt;
    // Empty until the first completeness check.
    std::optional<bool> allAnswered;
};

} // namespace selvo
