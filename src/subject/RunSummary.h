// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the operator is told once a processing run has written a subject's files.
#include "platform/CommitFileSet.h"
#include "subject/StaleSet.h"

#include <string>
#include <vector>

namespace selvo {

// The folder, each file written, and which of them replaced a file of the same name.
std::string WrittenFilesMessage(const std::string& folder, const std::vector<CommittedFile>& files);

// Follows the written files when a set under the older surname and name is still in the
// folder: names its files and asks whether to move them to the trash.
std::string StaleSetQuestion(const StoredSet& older, const std::vector<std::string>& files);

// A file that could not be moved, and the system's reason.
struct FileNotMoved {
    std::string path;
    std::string reason;
};

// What became of the older set after "Sì": the files moved, and each that stayed and why.
std::string TrashOutcomeMessage(const std::vector<std::string>& moved,
                                const std::vector<FileNotMoved>& kept);

} // namespace selvo
