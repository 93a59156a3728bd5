// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Clock.h"

#include "platform/LocalTime.h"

#include <cstdio>

namespace selvo {

std::string dateTimeText(const std::tm& moment) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", moment.tm_mday,
                  moment.tm_mon + 1, moment.tm_year + 1900, moment.tm_hour, moment.tm_min,
                  moment.tm_sec);
    return text;
}

std::string dateMinuteText(const std::tm& moment) {
    // The seconds are the last three characters: ":ss".
    std::string text = dateTimeText(moment);
    text.resize(text.size() - 3);
    return text;
}

std::string CurrentDateTimeText() {
    return dateTimeText(localTime(std::time(nullptr)));
}

} // namespace selvo
