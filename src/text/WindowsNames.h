// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names Windows refuses: names it keeps for its devices, and characters it does not take
// in a name. A file called "con.csv" can be written on Linux, but a colleague on Windows cannot
// open, copy or delete it: such names are refused on every system.
#include <string_view>

namespace selvo {

// The characters Windows does not take in a file name, besides "/" and the control
// characters; "\" is its folder separator.
inline constexpr std::string_view kRefusedByWindows = "\\:*?\"<>|";

// The devices as a message lists them.
inline constexpr const char* kWindowsDeviceNames =
    "CON, PRN, AUX, NUL, COM0–COM9, LPT0–LPT9 (anche con ¹, ² o ³), CONIN$ e CONOUT$";

// Whether Windows takes a file of this name (no folder) for a device: one of
// kWindowsDeviceNames in any case, alone or followed by an extension, blanks or dots.
bool isWindowsDeviceName(std::string_view fileName);

} // namespace selvo
