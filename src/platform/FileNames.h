// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// File names as each folder's file system compares and limits them.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace selvo {

// A file name as the system's file systems usually compare names: the same text on Linux,
// folded to lower case on Windows, where "Rossi" and "ROSSI" name one file.
std::string fileNameKey(const std::string& name);

// File names as each folder compares them, which its file system decides: a USB stick
// formatted FAT or exFAT, or a shared folder, takes "Rossi" and "ROSSI" for one file on Linux
// as well. Each folder is probed once and the answer kept; a folder that cannot be probed
// compares names as the system usually does.
class FolderNames {
public:
    // Whether the folder folds case; nothing when it cannot tell.
    using Probe = std::function<std::optional<bool>(const std::string& folder)>;
    FolderNames();
    explicit FolderNames(Probe probe) : m_probe(std::move(probe)) {}

    bool foldsCase(const std::string& folder);
    std::string key(const std::string& folder, const std::string& name);

private:
    Probe m_probe;
    std::map<std::string, bool> m_folds;
};

// The longest file name the folder's file system holds, and the unit it counts in ("byte"
// or "caratteri"), for messages.
struct FileNameLimit {
    std::size_t length = 0;
    std::string unit;
};
FileNameLimit fileNameLimit(const std::string& folder);
bool fileNameFits(const std::string& folder, const std::string& name);

} // namespace selvo
