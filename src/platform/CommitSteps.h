// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The steps a commit takes, shared by commitFileSet and CommitGroup: a set's files staged in
// temporaries, flushed, and put in place with their folders locked. Inside platform/ only.
#include "platform/CommitFileSet.h"
#include "platform/InterruptedSets.h"
#include "platform/Platform.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace selvo {

// A file about to be replaced, kept in memory so that a failure later in the same set can put
// it back as it was. Data files, reports and command files are small.
struct Replaced {
    bool existed = false;
    std::optional<std::string> bytes;
};

struct CommitGroup::FileSystem {
    platform::FileSystemWatch watch;
    int error = 0; // its flush's, once flushed
};

struct CommitGroup::Set {
    bool byFileSystem = false;        // its file systems' flushes stand for its files'
    std::vector<FolderEntry> entries; // its folders, claimed while it has temporaries there
    std::vector<std::string> paths;
    std::vector<platform::Temporary> temps; // one per path once written
    std::vector<Replaced> before;           // one per path once its folder is locked
    CommitResult result;

    bool failed() const { return result.error.has_value(); }
};

namespace commit {

using Set = CommitGroup::Set;

// Checks every name (`fits` tells whether the folder holds it), then writes every file to its
// temporary, flushed now or later: a failure leaves nothing behind.
Set stageSet(const std::vector<PendingFile>& files, Privacy privacy, platform::TemporaryFlush flush,
             const FolderWait& wait, const std::function<bool(const std::string&)>& fits);

// The set fails: its temporaries go, and the error names the file and why.
void failSet(Set& set, const std::string& path, int error);

// Flushes and closes each of the set's temporaries still open; the first that fails fails
// the set.
void flushEachFile(Set& set);

// Renames the sets into place, their folders locked, and flushes each folder once.
void putInPlace(const std::vector<Set*>& sets, const FolderWait& wait);

} // namespace commit
} // namespace selvo
