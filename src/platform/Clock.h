// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The moment a report is dated with and an administration is marked as started.
#include <ctime>
#include <functional>
#include <string>

namespace selvo {

// Where a date and time "dd/MM/yyyy HH:mm:ss" comes from; replaceable in tests.
using DateTimeSource = std::function<std::string()>;

// A calendar moment as every date the program shows or writes spells it:
// "dd/MM/yyyy HH:mm:ss".
std::string dateTimeText(const std::tm& moment);
// The same without the seconds: "dd/MM/yyyy HH:mm".
std::string dateMinuteText(const std::tm& moment);

// This moment in the local time of the machine.
std::string CurrentDateTimeText();

} // namespace selvo
