// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one way every output file reaches the disk, and how files are read, named and locked.
#include "text/Cp1252.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace selvo {

// Whether a failure struck while reading a file or while writing one: the same system error
// has a different cause for each.
enum class FileAccess { Write, Read };

// A failed file operation: which file, the system's error number behind it (0 when the program
// itself refused), and why, in words the operator can act on.
struct FileError {
    FileError(std::string name, std::string why, FileAccess during = FileAccess::Write,
              std::string path = {}, int error = 0)
        : fileName(std::move(name)), reason(std::move(why)), access(during),
          fullPath(std::move(path)), cause(error) {}
    // The system refused: the reason is its error in words, the full path taken from `name`.
    static FileError ofErrno(const std::string& name, int error,
                             FileAccess during = FileAccess::Write);
    std::string fileName; // as the caller named it
    std::string reason;
    FileAccess access = FileAccess::Write;
    std::string fullPath; // folder and name, when the file layer knows them
    int cause = 0;        // errno, or 0 for a refusal of the program's own
    // "Impossibile scrivere il file "/cartella/x": reason", or "leggere" for a read; the path
    // shown as text whatever it holds.
    std::string message() const;
};

// What a file operation gives back: its value, or the failure that kept it from one.
template <class T> class FileResult {
public:
    FileResult(T value) : m_held(std::in_place_index<0>, std::move(value)) {}
    FileResult(FileError error) : m_held(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_held.index() == 0; }
    const T& value() const& { return std::get<0>(m_held); }
    T& value() & { return std::get<0>(m_held); }
    T&& value() && { return std::get<0>(std::move(m_held)); }
    const FileError& error() const { return std::get<1>(m_held); }

private:
    std::variant<T, FileError> m_held;
};

// Who may read a saved file. Usual: a replaced file keeps its permissions, a new one follows the
// umask. OwnerOnly: the owner alone, whatever the umask or the file before (on Windows the
// folder's own access rules decide, and the program's folder is the user's).
enum class Privacy { Usual, OwnerOnly };

// What a commit does when another run (another selvo-batch, the window) is committing into
// one of its folders: it waits its turn, and once `patience` has passed asks `stillWaiting`,
// with the folder, whether to go on waiting. Without `stillWaiting` it then gives up.
// With `stop`, a wait gives up as soon as it says so (the run was asked to end).
struct FolderWait {
    std::chrono::milliseconds patience = std::chrono::seconds(5);
    std::function<bool(const std::string& folder)> stillWaiting;
    std::function<bool()> stop{};
};

// Writes the bytes to a temporary file beside `path` and renames it into place once complete,
// so `path` holds either its old content or the whole new one, never a part.
std::optional<FileError> saveFileAtomically(const std::string& path, std::string_view bytes,
                                            Privacy privacy = Privacy::Usual);

// A file of a set that must reach the disk together (a subject's three files). A file of
// its own privacy is saved OwnerOnly in a set that is otherwise Usual (a dataset's key).
struct PendingFile {
    std::string path;
    std::string bytes;
    Privacy privacy = Privacy::Usual;
};

// What a committed set put on disk: each path, and whether a file of that name was replaced.
struct CommittedFile {
    std::string path;
    bool replaced = false;
};
struct CommitResult {
    std::optional<FileError> error;
    std::vector<CommittedFile> files; // in the order given; empty on error
    // On error: the new files are all in place, but the folder's flush failed, so they may
    // not be on the disk; otherwise every older file is as it was.
    bool inPlace = false;
};

// Before a program writes into a folder for the first time, it finishes there what a program
// killed in the middle of a commit left (the renames a set had begun are all made) and removes
// the temporaries no living program is writing; commits do it themselves, this does it for a
// folder about to be read first. Nothing when another run keeps the folder busy past the wait.
void completeInterruptedCommits(const std::string& folder, const FolderWait& wait = {});

// Saves every file of the set or none. Each name is checked first (length, a folder in its
// place), then every file is written completely to a temporary file beside its target, and
// only then are they renamed into place, each folder locked meanwhile so that two runs
// writing into one folder take turns. A failure anywhere before the renames are done leaves
// every older file as it was and no temporary file behind: a subject's files are never a mix
// of two runs. Renames of more than one file are recorded first, so that a program killed
// among them has them finished by the next to write there. A folder that cannot be flushed
// afterwards fails the set too.
CommitResult commitFileSet(const std::vector<PendingFile>& files, const FolderWait& wait = {},
                           Privacy privacy = Privacy::Usual);

// Sets committed in a group, as a run of many subjects commits them: each set keeps every
// promise of commitFileSet (its files replace the older ones together or not at all, and it is
// reported written only once its files and its folder are on the disk), but the waits for the
// disk are paid once per group, not once per file. add() writes a set's temporary files and
// leaves them unflushed; commit() flushes each file system once (where the system then tells
// of every failed write; elsewhere each file as well), renames every set into place with its
// folders locked, and flushes each folder once.
class CommitGroup {
public:
    struct Set; // one added set's files, as the file layer keeps them until they are in place

    explicit CommitGroup(FolderWait wait = {});
    CommitGroup(const CommitGroup&) = delete;
    CommitGroup& operator=(const CommitGroup&) = delete;
    ~CommitGroup(); // the temporaries of sets never committed are removed

    // A set that cannot be written fails here, alone, leaving nothing behind: its result in
    // commit() says why.
    void add(const std::vector<PendingFile>& files);
    std::size_t size() const; // sets added since the last commit
    // Whether the group holds as many sets, or as many files still open, as it should before
    // its commit.
    bool full() const;

    // One result per set added since the last commit, in the order added. A set whose file
    // cannot be flushed or renamed fails with every older file as it was (a file system whose
    // flush fails, every set with a file on it); a folder that cannot be flushed fails every
    // set with a file in it, as commitFileSet's does.
    std::vector<CommitResult> commit();

    struct FileSystem; // a file system the group writes into, watched from its first file

private:
    bool fits(const std::string& path);
    void watch(const std::string& folder);
    void flush(const std::vector<Set*>& sets);
    FolderWait m_wait;
    std::vector<Set> m_sets;
    std::vector<FileSystem> m_fileSystems;
    std::map<std::string, std::size_t> m_fileSystemOf; // by folder, into m_fileSystems
    std::map<std::string, std::size_t> m_nameLengths;  // each folder's longest name, asked once
    std::size_t m_openFiles = 0;                       // temporaries kept open for their flush
};

// The lock a commit holds on a folder while it renames into it: an advisory lock on the folder
// itself on POSIX systems, on a hidden file ".selvo.lock" in it on Windows. A folder that
// cannot be locked at all (no such folder, a file system without locks) is not locked.
class FolderLock {
public:
    struct Attempt;
    static Attempt take(const std::string& folder, const FolderWait& wait);
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

private:
    FolderLock(std::string folder, std::intptr_t handle)
        : m_folder(std::move(folder)), m_handle(handle) {}
    std::string m_folder;
    std::intptr_t m_handle = -1;
};

struct FolderLock::Attempt {
    std::optional<FolderLock> lock;
    bool busy = false; // another run kept it past the wait
};

// What this process has asked of the disk so far, for the tests and benchmarks that measure
// what a save costs: sets committed, and flushes that wait for the disk (a file's bytes, a
// folder's entries).
struct DiskWriteCounts {
    std::uint64_t committedSets = 0;
    std::uint64_t fileFlushes = 0;
    std::uint64_t folderFlushes = 0;
    std::uint64_t fileSystemFlushes = 0; // a whole file system asked to write out (Linux)
};
DiskWriteCounts diskWriteCounts();

// For the tests and benchmarks of a slow disk (a USB stick, a busy network folder): from now on
// every flush that waits for the disk takes `delay` longer. Zero, as at start, adds nothing.
void delayFlushesForTesting(std::chrono::milliseconds delay);

// The identity of a file or folder on its file system, whatever path reaches it (a link,
// "./", ".."); nothing when the path names nothing.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);

// Reads a whole regular file, refusing anything larger than maxBytes. A pipe, a device or a
// socket is refused at once, without waiting for it.
FileResult<std::string> readWholeFile(const std::string& path, std::size_t maxBytes);

// The first `count` bytes of a regular file (all of a shorter one), to tell what kind of file
// it is; a pipe, a device or a socket is refused as above.
FileResult<std::string> readFileStart(const std::string& path, std::size_t count);

// Italian wording for an errno value, for the messages above.
std::string describeErrno(int error, FileAccess access = FileAccess::Write);

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

// The path with the current folder in front when it is relative.
std::string absolutePath(const std::string& path);

// The current folder as an absolute path, with no "." or separator at its end (but a root).
std::string currentFolder();

// The file `name` in `folder`, one separator between them; a name alone for an empty folder.
std::string pathInFolder(const std::string& folder, const std::string& name);

// Paths are UTF-8 text in the program; std::filesystem takes a plain string in the system's
// narrow code page (the ANSI one on Windows), so every crossing goes through these.
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

// Where a path leads when it is a symbolic link, link after link (a relative link from the
// folder it is in), so that a file written there replaces what the link names and keeps the
// link; the path itself when it is no link. Nothing when the links go round in a circle.
std::optional<std::string> whereLinksLead(const std::string& path);

// Whether the path names anything (a file, a folder, a link).
bool pathExists(const std::string& path);

// Removes a file; a file that is not there is not an error.
std::optional<FileError> removeFileIfPresent(const std::string& path);

// Gives a file another name, never replacing a file that already has the new name.
std::optional<FileError> renameWithoutReplacing(const std::string& from, const std::string& to);

// The program's own folder: created for its owner alone (0700) with any folders missing above
// it (with their usual permissions), or narrowed to its owner when it exists wider. A link to a
// folder is used as it is: whoever made the link chose that folder and its permissions.
std::optional<FileError> createPrivateFolder(const std::string& folder);

// A folder, or a link to one.
bool folderExists(const std::string& path);
// A regular file, or a link to one.
bool isRegularFile(const std::string& path);

// When the file was last written, in the machine's local time, "dd/mm/yyyy hh:mm"; nothing
// when it cannot be told.
std::optional<std::string> modifiedDateText(const std::string& path);

// Whether a new file can be made in the folder, tried by making one: a read-only disk and a
// folder without write permission both refuse it, whatever the permission bits claim.
std::optional<FileError> checkFolderWritable(const std::string& folder);

// Removes the temporary files that a program killed mid-save left in the folder (regular
// files of this user named as the atomic save names them); nothing else is touched.
void removeLeftTemporaries(const std::string& folder);

// A lock on a file that one process at a time can hold. The system releases it when the
// lock is dropped or the process ends, even by a crash or a kill, so it is never left stale.
class ExclusiveLock {
public:
    ExclusiveLock() = default;
    ExclusiveLock(ExclusiveLock&& other) noexcept;
    ExclusiveLock& operator=(ExclusiveLock&& other) noexcept;
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    ~ExclusiveLock();

    struct Attempt;
    // Whether the lock file stays once the lock is let go, or goes with it and leaves nothing
    // behind (a crash may still leave it, which locks nothing).
    enum class LockFile { Kept, Removed };
    // Takes the lock at once or fails: `heldElsewhere` when another process has it.
    static Attempt take(const std::string& path, LockFile file = LockFile::Kept);

    bool held() const { return m_handle != -1; }

private:
    ExclusiveLock(std::intptr_t handle, std::string removed)
        : m_handle(handle), m_removed(std::move(removed)) {}
    std::intptr_t m_handle = -1;
    std::string m_removed; // the lock file, when it goes with the lock
};

struct ExclusiveLock::Attempt {
    ExclusiveLock lock;
    bool heldElsewhere = false;
    std::optional<FileError> error; // the lock file itself cannot be opened
};

} // namespace selvo
