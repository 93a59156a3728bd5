// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one way every output file reaches the disk: saved whole or not at all, alone, as a set
// of files, or as a group of sets.
#include "platform/FileError.h"
#include "platform/Locks.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

// Who may read a saved file. Usual: a replaced file keeps its permissions, a new one follows the
// umask. OwnerOnly: the owner alone, whatever the umask or the file before (on Windows the
// folder's own access rules decide, and the program's folder is the user's).
enum class Privacy { Usual, OwnerOnly };

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

} // namespace selvo
