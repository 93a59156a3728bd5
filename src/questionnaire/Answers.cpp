// SPDX-License-Identifier: GPL-3.0-or-later

#include "questionnaire/Answers.h"

#include <stdexcept>
#include <string>

namespace selvo {

void AnswerTable::outOfRange(int item) {
    throw std::out_of_range("answer table index " + std::to_string(item) + " outside 0.." +
                            std::to_string(kSlots - 1));
}

} // namespace selvo
