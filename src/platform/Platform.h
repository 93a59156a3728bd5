// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The operating system's side of the file layer: the few calls that differ between POSIX
// systems and Windows. Paths are UTF-8 everywhere; errors are errno values everywhere (Windows
// errors are translated), so the layer above words them once.
#include "platform/CommitFileSet.h"
#include "platform/Paths.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvo::platform {

bool isSeparator(char c);

// `name` in `folder`, with the system's own separator between them; the name alone for "".
// Windows writes every path it resolves with backslashes, so a folder given with forward ones
// (as Qt gives it) is written so too.
std::string joinPath(const std::string& folder, const std::string& name);

// The folder part of a path, with its final separator, or "" for a name in the current folder.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// The longest name the folder's file system holds, in the units it counts: bytes on POSIX
// systems, UTF-16 units on Windows.
struct NameLimit {
    std::size_t length = 255;
    const char* unit = "byte";
};
NameLimit nameLimit(const std::string& folder);

// Whether the folder's file system can hold a file of this name; the second form with the
// folder's limit already known.
bool nameFits(const std::string& folder, std::string_view name);
bool nameFits(const NameLimit& limit, std::string_view name);

enum class Kind { None, Regular, Folder, Other };
// What the path names, without following a final link.
Kind kindOf(const std::string& path);

// A complete copy of the bytes in a new file in the folder, under a short name of its own,
// readable by the owner only until it takes its target's place. Flushed and closed at once,
// or with FlushLater kept open until finishTemporary flushes it (or only closes it).
enum class TemporaryFlush { Now, Later };
struct Temporary {
    std::string path;
    int error = 0;
    unsigned mode = 0;       // the target's permissions, given once it takes its place
    std::intptr_t open = -1; // the file, while it waits for finishTemporary
    FileIdentity identity{}; // which file it is, so a record of it is not taken for another
};
Temporary writeTemporary(const std::string& target, std::string_view bytes,
                         Privacy privacy = Privacy::Usual,
                         TemporaryFlush flush = TemporaryFlush::Now);

// Flushes (when `flush`) and closes a temporary kept open; a temporary that cannot be is
// removed. 0, or why not.
int finishTemporary(Temporary& temp, bool flush = true);

// Closes a temporary still open and removes it.
void abandonTemporary(Temporary& temp);

// A file system watched from the moment a group of files starts to be written into it, so
// that one flush of it can stand for theirs: it writes every file's pending bytes out at
// once and, where fileSystemFlushTellsErrors(), fails when any write to that file system
// failed since the watch began. Without a handle (a folder that cannot be opened) it flushes
// nothing.
struct FileSystemWatch {
    std::intptr_t handle = -1;
    std::uint64_t device = 0;
};
FileSystemWatch watchFileSystem(const std::string& folder);
// 0, or why not.
int flushFileSystem(const FileSystemWatch& watch);
void endWatch(FileSystemWatch& watch);

// Whether a file system's flush reports the failed writes of every file on it, so that the
// files need no flush of their own: Linux since 5.8. Elsewhere each file is flushed, and the
// file system's flush only writes the bytes out sooner (or does nothing).
bool fileSystemFlushTellsErrors();

// The names writeTemporary gives, so that those a killed program left can be found.
bool isTemporaryName(std::string_view name);
// The paths of the temporaries in the folder: regular files of this user, never a link.
std::vector<std::string> temporariesIn(const std::string& folder);
// The same for any name the test accepts.
std::vector<std::string> ownFilesIn(const std::string& folder, bool (*named)(std::string_view));

// Makes the last folder of the path (those above exist) for its owner alone, or narrows an
// existing one of this user that is not a link; 0, ENOTDIR when something else has the name,
// or why not.
int makePrivateFolder(const std::string& folder);

// Puts the temporary in the target's place in one step, replacing any file there; 0 or why not.
int moveIntoPlace(const Temporary& temp, const std::string& target);

// 0 or why not.
int removeFile(const std::string& path);

// Each flush that waited for the disk, and each set committed, for diskWriteCounts().
void countFileFlush();
void countFolderFlush();
void countFileSystemFlush();
void countCommittedSet();

// The renames in a folder reach the disk with the files they name; 0 or why not.
int flushFolder(const std::string& folder);

std::optional<FileIdentity> identity(const std::string& path);

// A whole regular file, read as bytes.
struct RawRead {
    std::string bytes;
    int error = 0;
    bool tooLarge = false;
};
RawRead readRegularFile(const std::string& path, std::size_t maxBytes);

std::string absolute(const std::string& path);

// Whether names differing only in case name one file where nothing else is known: false on
// POSIX systems, true on Windows.
bool foldsCaseByDefault();

// Whether the folder's file system takes names differing only in case for one file: a file
// of lower-case letters is created there, looked up by its upper-case spelling and removed.
// Nothing when the folder cannot be probed (missing, not writable).
std::optional<bool> probeFoldsCase(const std::string& folder);

// The name as a case-insensitive file system compares it.
std::string foldCase(const std::string& name);

// Renames a file in its folder, failing with EEXIST rather than replace a file of the new name.
int renameNoReplace(const std::string& from, const std::string& to);

// An open handle that holds a lock; the system releases it when the handle is closed or the
// process ends, however it ends.
struct LockHandle {
    std::intptr_t value = -1;
};
// Takes the lock on the file (created when missing) or fails at once: EBUSY when another
// process holds it, another errno when the file cannot be opened. In a folder that cannot be
// written an existing lock file still locks, opened for reading. A lock file `removed` goes
// when the lock is let go (or, on Windows, when the process ends however it ends).
int lockExclusively(const std::string& path, LockHandle& handle, bool removed = false);
// Lets the lock go; `removed` names its lock file when it goes with it.
void unlock(LockHandle handle, const std::string& removed = {});

// Takes the advisory lock that runs writing into the folder take in turn, or fails at once:
// EBUSY when another holder has it, another errno when the folder cannot be locked.
int lockFolder(const std::string& folder, LockHandle& handle);
void unlockFolder(const std::string& folder, LockHandle handle);

// A claim that a process has temporaries in the folder, which any number of processes hold at
// once and the system drops when a process ends: temporaries are left over only where no other
// process holds one. Taken, and looked for, under the folder lock. 0, or why not (ENOTSUP
// where the system has no such lock).
int claimFolder(const std::string& folder, LockHandle& handle);
void releaseFolderClaim(const std::string& folder, LockHandle handle);
// 0 when no other process claims the folder, EBUSY when one does, another errno when it cannot
// be told.
int otherClaims(const std::string& folder);

} // namespace selvo::platform
