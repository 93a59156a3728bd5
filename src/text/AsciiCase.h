// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Case changes of names the program makes up (variable names, extensions, device names): ASCII
// only, whatever the locale. std::tolower follows the locale the window's toolkit sets, and
// under Turkish it leaves "I" as it is.
#include <string>
#include <string_view>

namespace selvo {

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string asciiLowered(std::string_view text);

} // namespace selvo
