#include "shell/ProgramState.h"

#include <stdexcept>
#include <string>

namespace selvo {

std::size_t AnswerTable::checked(int item) {
    if (item < 0 || item >= kSlots) {
        throw std::out_of_range("answer table index " + std::to_string(item) +
                                " outside 0.." + std::to_string(kSlots - 1));
    }
    return static_cast<std::size_t>(item);
}

} // namespace selvo
