// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Names as a case-insensitive volume compares them (FAT, exFAT, a Samba share, NTFS).
#include <string>
#include <string_view>

namespace selvo {

// Lower case for the letters such volumes fold: ASCII, the accented Latin letters (Latin-1
// and Latin Extended-A, with the Romanian Ș and Ț), Greek and Cyrillic. Anything else, and
// bytes that are not UTF-8, stay as they are.
std::string foldNameCase(std::string_view utf8);

} // namespace selvo
