// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The calendar time where the program runs (each system has its own thread-safe call).
#include <ctime>

namespace selvo {

std::tm localTime(std::time_t when);

} // namespace selvo
