// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Changes to a folder's files outside a commit: removing, renaming, the program's private
// folder, a probe of whether the folder takes new files, the temporaries left by a killed save.
#include "platform/FileError.h"

#include <optional>
#include <string>

namespace selvo {

// Removes a file; a file that is not there is not an error.
std::optional<FileError> removeFileIfPresent(const std::string& path);

// Gives a file another name, never replacing a file that already has the new name.
std::optional<FileError> renameWithoutReplacing(const std::string& from, const std::string& to);

// The program's own folder: created for its owner alone (0700) with any folders missing above
// it (with their usual permissions), or narrowed to its owner when it exists wider. A link to a
// folder is used as it is: whoever made the link chose that folder and its permissions.
std::optional<FileError> createPrivateFolder(const std::string& folder);

// Whether a new file can be made in the folder, tried by making one: a read-only disk and a
// folder without write permission both refuse it, whatever the permission bits claim.
std::optional<FileError> checkFolderWritable(const std::string& folder);

// Removes the temporary files that a program killed mid-save left in the folder (regular
// files of this user named as the atomic save names them); nothing else is touched.
void removeLeftTemporaries(const std::string& folder);

} // namespace selvo
