// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What keeps a set of files one step even when the program is killed between its renames
// (SIGKILL, a crash, a power cut). Before the renames, each folder gets a record of those to be
// made there, flushed; it is removed once they are made. A program that finds such a record
// later finishes the renames it lists (their temporaries were flushed before the record was
// written) and removes it; the temporaries of no living program are removed too. Whoever
// writes temporaries into a folder claims it meanwhile, so that a living run's are left alone.
#include "platform/Locks.h"
#include "platform/Platform.h"

#include <optional>
#include <string>
#include <vector>

namespace selvo {

// A process's claim on a folder while it has temporaries there, shared by its sets. The first
// entry of a process into a folder completes what an earlier run left there.
class FolderEntry {
public:
    // Nothing when another run kept the folder locked past the wait.
    static std::optional<FolderEntry> enter(const std::string& folder, const FolderWait& wait);
    FolderEntry(FolderEntry&& other) noexcept;
    FolderEntry& operator=(FolderEntry&& other) noexcept;
    FolderEntry(const FolderEntry&) = delete;
    FolderEntry& operator=(const FolderEntry&) = delete;
    ~FolderEntry();

private:
    explicit FolderEntry(std::string key) : m_key(std::move(key)), m_held(true) {}
    std::string m_key;
    bool m_held = false;
};

// The folder as locks and messages name it: absolute, without "." or ".." or a final
// separator (but a root).
std::string wholeFolder(const std::string& folder);

// A rename about to be made: the temporary and the target in its folder.
struct PlannedRename {
    const platform::Temporary* temp;
    std::string target;
};

// The record of the renames about to be made in `folder` (all of them there), flushed with
// the folder: its path, or the errno that kept it from the disk.
struct RenameRecord {
    std::string path;
    int error = 0;
};
RenameRecord writeRenameRecord(const std::string& folder,
                               const std::vector<PlannedRename>& renames);

} // namespace selvo
