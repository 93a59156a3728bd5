// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/AsciiCase.h"

namespace selvo {

std::string asciiLowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = asciiLower(c);
    }
    return lower;
}

} // namespace selvo
