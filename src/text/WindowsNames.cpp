// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/WindowsNames.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <array>
#include <string>

namespace selvo {

bool isWindowsDeviceName(std::string_view fileName) {
    // Windows looks at the name before the first dot, without the blanks that end it.
    std::string_view base = fileName.substr(0, fileName.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    const std::string lower = asciiLowered(base);
    for (const std::string_view device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
        if (lower == device) {
            return true;
        }
    }
    if (!lower.starts_with("com") && !lower.starts_with("lpt")) {
        return false;
    }
    const std::string_view number = std::string_view(lower).substr(3);
    // ¹, ² and ³ in UTF-8: Windows counts them as the digits of a port.
    constexpr std::array<std::string_view, 3> kSuperscripts{"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    return (number.size() == 1 && isAsciiDigit(number[0])) ||
           std::find(kSuperscripts.begin(), kSuperscripts.end(), number) != kSuperscripts.end();
}

} // namespace selvo
