// SPDX-License-Identifier: GPL-3.0-or-later

// How sets of files reach their places, and the steps of a commit (CommitSteps.h); a group of
// sets is committed by CommitGroup.cpp.
#include "platform/CommitFileSet.h"
#include "platform/CommitSteps.h"
#include "platform/FileError.h"
#include "platform/InterruptedSets.h"
#include "platform/Locks.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/ReadFile.h"
#include "text/TextSafety.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>
#include <thread>

namespace selvo {

namespace commit {

using platform::folderOf;
using platform::Kind;
using platform::Temporary;

// What can be known about a target before anything is written: a name the file system cannot
// hold, or a folder standing where the file should go.
template <class Fits> std::optional<int> targetFault(const std::string& path, Fits&& fits) {
    if (!fits(path)) {
        return ENAMETOOLONG;
    }
    if (platform::kindOf(path) == Kind::Folder) {
        return EISDIR;
    }
    return std::nullopt;
}

Replaced rememberTarget(const std::string& path) {
    if (platform::kindOf(path) == Kind::None) {
        return {};
    }
    constexpr std::size_t kLargestKept = 64 * 1024 * 1024;
    FileResult<std::string> read = readWholeFile(path, kLargestKept);
    if (!read.ok()) {
        return {true, std::nullopt};
    }
    return {true, std::move(read).value()};
}

// The set fails: its temporaries go, and the error names the file and why.
void failSet(Set& set, FileError error) {
    for (Temporary& temp : set.temps) {
        platform::abandonTemporary(temp);
    }
    set.temps.clear();
    set.result.error = std::move(error);
}

void failSet(Set& set, const std::string& path, int error) {
    failSet(set, FileError::ofErrno(path, error));
}

// Undoes the renames already made: older files come back, files that were new go.
void restoreTargets(const Set& set, std::size_t renamed) {
    for (std::size_t i = 0; i < renamed; ++i) {
        const std::string& path = set.paths[i];
        if (!set.before[i].existed) {
            platform::removeFile(path);
        } else if (set.before[i].bytes) {
            const Temporary back = platform::writeTemporary(path, *set.before[i].bytes);
            if (back.error == 0 && platform::moveIntoPlace(back, path) != 0) {
                platform::removeFile(back.path);
            }
        }
    }
}

std::string busyReason(const std::string& folder) {
    return "la cartella \"" + visibleText(folder) +
           "\" è in uso da un'altra elaborazione di BrivanSelvo, che vi sta scrivendo i suoi "
           "file. Attendere che finisca e riprovare.";
}

// Enters each folder of the set before its first temporary is written there; false, with the
// set failed, when another run keeps one busy past the wait.
bool enterFolders(Set& set, const FolderWait& wait) {
    std::vector<std::string> entered;
    for (const std::string& path : set.paths) {
        const std::string folder = folderOf(path);
        if (std::find(entered.begin(), entered.end(), folder) != entered.end()) {
            continue;
        }
        std::optional<FolderEntry> entry = FolderEntry::enter(folder, wait);
        if (!entry) {
            failSet(set, FileError{path, busyReason(wholeFolder(folder)), FileAccess::Write,
                                   absolutePath(path)});
            return false;
        }
        entered.push_back(folder);
        set.entries.push_back(std::move(*entry));
    }
    return true;
}

// Checks every name, then writes every file to its temporary: a failure leaves nothing behind.
Set stageSet(const std::vector<PendingFile>& files, Privacy privacy, platform::TemporaryFlush flush,
             const FolderWait& wait, const std::function<bool(const std::string&)>& fits) {
    Set set;
    for (const PendingFile& file : files) {
        set.paths.push_back(file.path);
    }
    for (const PendingFile& file : files) {
        if (const auto fault = targetFault(file.path, fits)) {
            failSet(set, file.path, *fault);
            return set;
        }
    }
    if (!enterFolders(set, wait)) {
        return set;
    }
    for (const PendingFile& file : files) {
        const Privacy own = file.privacy == Privacy::OwnerOnly ? file.privacy : privacy;
        Temporary temp = platform::writeTemporary(file.path, file.bytes, own, flush);
        if (temp.error != 0) {
            failSet(set, file.path, temp.error);
            return set;
        }
        set.temps.push_back(std::move(temp));
    }
    return set;
}

// The folder a path is in, absolute and without a final separator (but a root), as it is
// locked and shown.
std::string wholeFolderOf(const std::string& path) {
    return wholeFolder(folderOf(path));
}

// The reason for a set whose renames were made but whose folder did not reach the disk.
std::string unflushedReason(int error) {
    std::string why = describeErrno(error);
    if (why.ends_with('.')) {
        why.pop_back();
    }
    return "i file sono stati messi al loro posto, ma la cartella non è stata registrata sul "
           "disco (" +
           why +
           "): non è certo che i file siano davvero sul disco. Controllare il disco e ripetere "
           "l'elaborazione.";
}

// Flushes and closes each of the set's temporaries still open; the first that fails fails
// the set.
void flushEachFile(Set& set) {
    for (std::size_t i = 0; i < set.temps.size(); ++i) {
        if (const int error = platform::finishTemporary(set.temps[i]); error != 0) {
            failSet(set, set.paths[i], error);
            return;
        }
    }
}

// Renames one set into place, its folders locked; a failed rename puts the older files back.
void renameSet(Set& set) {
    for (const std::string& path : set.paths) {
        set.before.push_back(rememberTarget(path));
    }
    for (std::size_t i = 0; i < set.paths.size(); ++i) {
        if (const int error = platform::moveIntoPlace(set.temps[i], set.paths[i]); error != 0) {
            for (std::size_t k = i; k < set.temps.size(); ++k) {
                platform::removeFile(set.temps[k].path);
            }
            set.temps.clear();
            restoreTargets(set, i);
            set.result.error = FileError::ofErrno(set.paths[i], error);
            return;
        }
    }
    set.temps.clear();
}

// The sets with a file in each folder, the folder named as `folderOf` names it, each set once.
template <class FolderOf>
std::map<std::string, std::vector<Set*>> setsByFolder(const std::vector<Set*>& sets,
                                                      FolderOf folderOf) {
    std::map<std::string, std::vector<Set*>> byFolder;
    for (Set* set : sets) {
        for (const std::string& path : set->paths) {
            std::vector<Set*>& inFolder = byFolder[folderOf(path)];
            if (inFolder.empty() || inFolder.back() != set) {
                inFolder.push_back(set);
            }
        }
    }
    return byFolder;
}

// The set's first file in the folder, which a message about the folder names.
template <class FolderOf>
const std::string& firstIn(const Set& set, const std::string& folder, FolderOf folderOf) {
    return *std::find_if(set.paths.begin(), set.paths.end(),
                         [&](const std::string& path) { return folderOf(path) == folder; });
}

// Each folder's record of the renames about to be made there, written before the first of
// them, so that a program killed among them leaves them to be finished, not half made. A
// folder whose record cannot be written fails its sets, which are then not renamed at all. A
// single rename is one step already and needs none. The records' paths, to be removed once
// the renames are on the disk.
std::vector<std::string> recordRenames(const std::vector<Set*>& sets) {
    std::size_t renames = 0;
    for (const Set* set : sets) {
        renames += set->failed() ? 0 : set->paths.size();
    }
    std::vector<std::string> records;
    if (renames < 2) {
        return records;
    }
    for (const auto& [folder, inFolder] : setsByFolder(sets, folderOf)) {
        std::vector<PlannedRename> planned;
        for (const Set* set : inFolder) {
            for (std::size_t i = 0; i < set->paths.size() && !set->failed(); ++i) {
                if (folderOf(set->paths[i]) == folder) {
                    planned.push_back({&set->temps[i], set->paths[i]});
                }
            }
        }
        if (planned.empty()) {
            continue;
        }
        const RenameRecord record = writeRenameRecord(folder, planned);
        if (record.error == 0) {
            records.push_back(record.path);
            continue;
        }
        for (Set* set : inFolder) {
            if (!set->failed()) {
                failSet(*set, firstIn(*set, folder, folderOf), record.error);
            }
        }
    }
    return records;
}

// From reading the older files to the folders' flush, another run's renames into the same
// folders wait, so each subject's files all come from one run, and an older file put back
// after a failure is the one this run replaced. The folders are locked in one order for every
// run, so that two runs writing into the same two folders never each hold one while waiting
// for the other.
void putInPlace(const std::vector<Set*>& sets, const FolderWait& wait) {
    std::vector<FolderLock> locks;
    for (const auto& [folder, inFolder] : setsByFolder(sets, wholeFolderOf)) {
        FolderLock::Attempt attempt = FolderLock::take(folder, wait);
        if (attempt.busy) {
            for (Set* set : inFolder) {
                if (!set->failed()) {
                    const std::string& first = firstIn(*set, folder, wholeFolderOf);
                    failSet(*set, FileError{first, busyReason(folder), FileAccess::Write,
                                            absolutePath(first)});
                }
            }
        } else if (attempt.lock) {
            locks.push_back(std::move(*attempt.lock));
        }
    }
    const std::vector<std::string> records = recordRenames(sets);
    std::vector<Set*> renamed;
    for (Set* set : sets) {
        if (!set->failed()) {
            renameSet(*set);
        }
        if (!set->failed()) {
            renamed.push_back(set);
        }
    }
    for (const auto& [folder, inFolder] : setsByFolder(renamed, folderOf)) {
        const int error = platform::flushFolder(folder);
        if (error == 0) {
            continue;
        }
        for (Set* set : inFolder) {
            if (!set->failed()) {
                const std::string& first = firstIn(*set, folder, folderOf);
                set->result.error = FileError{first, unflushedReason(error), FileAccess::Write,
                                              absolutePath(first), error};
                set->result.inPlace = true;
            }
        }
    }
    for (const std::string& record : records) {
        platform::removeFile(record);
    }
    for (Set* set : sets) {
        if (!set->failed()) {
            for (std::size_t i = 0; i < set->paths.size(); ++i) {
                set->result.files.push_back({set->paths[i], set->before[i].existed});
            }
            platform::countCommittedSet();
        }
    }
}

} // namespace commit

using namespace commit;

CommitResult commitFileSet(const std::vector<PendingFile>& files, const FolderWait& wait,
                           Privacy privacy) {
    // One set alone flushes each file as it is written: nothing is gained by waiting.
    Set set =
        stageSet(files, privacy, platform::TemporaryFlush::Now, wait, [](const std::string& path) {
            return platform::nameFits(folderOf(path), platform::nameOf(path));
        });
    if (!set.failed()) {
        putInPlace({&set}, wait);
    }
    return std::move(set.result);
}

std::optional<FileError> saveFileAtomically(const std::string& path, std::string_view bytes,
                                            Privacy privacy) {
    return commitFileSet({{path, std::string(bytes)}}, {}, privacy).error;
}

} // namespace selvo
