// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the Windows sources of the file layer share: its errors as errno values, and names in
// UTF-16. Windows only.
#include <optional>
#include <string>

namespace selvo::platform {

// A Windows error (a DWORD) as the errno value the layer above words.
int errnoFor(unsigned long error);
// The calling thread's last Windows error, as errnoFor gives it.
int lastErrno();

// A name for the calls, or nothing when the UTF-8 is malformed.
std::optional<std::wstring> wide(const std::string& path);

} // namespace selvo::platform
