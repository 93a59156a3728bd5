// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Clock.h"

#include "platform/LocalTime.h"

#include <ctime>

namespace selvo {

std::string CurrentDateTimeText() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = localTime(now);
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
    return text;
}

} // namespace selvo
