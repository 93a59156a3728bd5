// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// UTF-8 and the UTF-16 of Windows' own calls. Only the Windows parts of the file layer use it.
#include <optional>
#include <string>

namespace selvo {

// Nothing when the bytes are not well-formed UTF-8.
std::optional<std::wstring> wideFromUtf8(const std::string& utf8);
std::string utf8FromWide(const std::wstring& wide);

} // namespace selvo
