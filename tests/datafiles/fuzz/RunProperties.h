// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What must hold for every data file the reader accepts, whatever its fields hold, once the
// processing run has turned it into the three files (in memory).
#include <optional>
#include <string>
#include <string_view>

// Nothing when the bytes are refused by the reader or every property holds; otherwise which
// property failed, and how.
std::optional<std::string> brokenRunProperty(std::string_view bytes);
