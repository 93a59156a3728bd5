// SPDX-License-Identifier: GPL-3.0-or-later

// A group of sets whose flushes are paid together.
#include "platform/CommitFileSet.h"
#include "platform/CommitSteps.h"
#include "platform/Platform.h"

#include <algorithm>
#include <utility>

namespace selvo {

using commit::failSet;
using commit::flushEachFile;
using commit::putInPlace;
using commit::stageSet;
using platform::folderOf;
using platform::Temporary;

CommitGroup::CommitGroup(FolderWait wait) : m_wait(std::move(wait)) {}

CommitGroup::~CommitGroup() {
    for (Set& set : m_sets) {
        for (Temporary& temp : set.temps) {
            platform::abandonTemporary(temp);
        }
    }
    for (FileSystem& fileSystem : m_fileSystems) {
        platform::endWatch(fileSystem.watch);
    }
}

std::size_t CommitGroup::size() const {
    return m_sets.size();
}

// A run writes many sets into few folders: each folder's file system is asked its longest
// name once.
bool CommitGroup::fits(const std::string& path) {
    const std::string folder = folderOf(path);
    auto known = m_nameLengths.find(folder);
    if (known == m_nameLengths.end()) {
        known = m_nameLengths.emplace(folder, platform::nameLimit(folder).length).first;
    }
    return platform::nameFits(platform::NameLimit{known->second}, platform::nameOf(path));
}

// A file system is watched from before the group's first file on it is written, so that its
// flush tells of a failure to write any of them; folders on one file system share its watch.
void CommitGroup::watch(const std::string& folder) {
    if (m_fileSystemOf.contains(folder)) {
        return;
    }
    platform::FileSystemWatch watch = platform::watchFileSystem(folder);
    for (std::size_t k = 0; k < m_fileSystems.size(); ++k) {
        if (watch.handle != -1 && m_fileSystems[k].watch.handle != -1 &&
            m_fileSystems[k].watch.device == watch.device) {
            platform::endWatch(watch);
            m_fileSystemOf.emplace(folder, k);
            return;
        }
    }
    m_fileSystemOf.emplace(folder, m_fileSystems.size());
    m_fileSystems.push_back({watch});
}

// Where one flush of each file system tells of every failed write, a set's temporaries are
// closed at once; elsewhere they stay open until each is flushed at the commit.
void CommitGroup::add(const std::vector<PendingFile>& files) {
    bool byFileSystem = platform::fileSystemFlushTellsErrors();
    for (const PendingFile& file : files) {
        watch(folderOf(file.path));
        byFileSystem = byFileSystem &&
                       m_fileSystems[m_fileSystemOf.at(folderOf(file.path))].watch.handle != -1;
    }
    Set set = stageSet(files, Privacy::Usual, platform::TemporaryFlush::Later, m_wait,
                       [this](const std::string& path) { return fits(path); });
    set.byFileSystem = byFileSystem;
    for (std::size_t i = 0; i < set.temps.size() && byFileSystem; ++i) {
        if (const int error = platform::finishTemporary(set.temps[i], false); error != 0) {
            failSet(set, set.paths[i], error);
        }
    }
    if (!set.byFileSystem) {
        m_openFiles += set.temps.size();
    }
    m_sets.push_back(std::move(set));
}

// Each folder of the group is held open too while the group lasts: its claim, and its lock
// during the renames.
bool CommitGroup::full() const {
    constexpr std::size_t kMostSets = 256;
    constexpr std::size_t kMostOpenFiles = 192; // well within any system's limit
    return m_sets.size() >= kMostSets || m_openFiles + m_fileSystemOf.size() >= kMostOpenFiles;
}

// Every temporary reaches the disk before any rename: a rename that reached the disk before
// its file's bytes would leave an empty file after a power cut. Each file system is flushed
// once: a set whose files it stands for fails when it failed. The others' files (elsewhere,
// or on a file system that could not be watched) are each flushed, each telling of itself.
void CommitGroup::flush(const std::vector<Set*>& sets) {
    for (FileSystem& fileSystem : m_fileSystems) {
        fileSystem.error = platform::flushFileSystem(fileSystem.watch);
    }
    for (Set* set : sets) {
        if (!set->byFileSystem) {
            flushEachFile(*set);
            continue;
        }
        for (const std::string& path : set->paths) {
            if (const int error = m_fileSystems[m_fileSystemOf.at(folderOf(path))].error) {
                failSet(*set, path, error);
                break;
            }
        }
    }
    for (FileSystem& fileSystem : m_fileSystems) {
        platform::endWatch(fileSystem.watch);
    }
    m_fileSystems.clear();
    m_fileSystemOf.clear();
    m_openFiles = 0;
}

std::vector<CommitResult> CommitGroup::commit() {
    std::vector<Set*> written;
    for (Set& set : m_sets) {
        if (!set.failed()) {
            written.push_back(&set);
        }
    }
    flush(written);
    std::erase_if(written, [](const Set* set) { return set->failed(); });
    if (!written.empty()) {
        putInPlace(written, m_wait);
    }
    std::vector<CommitResult> results;
    for (Set& set : m_sets) {
        results.push_back(std::move(set.result));
    }
    m_sets.clear();
    return results;
}

} // namespace selvo
