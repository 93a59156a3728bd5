// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The locks that let one process at a time into a file or a folder: a commit's folder lock,
// and the exclusive lock a single window or run holds on a file.
#include "platform/FileError.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace selvo {

// What a commit does when another run (another selvo-batch, the window) is committing into
// one of its folders: it waits its turn, and once `patience` has passed asks `stillWaiting`,
// with the folder, whether to go on waiting. Without `stillWaiting` it then gives up.
// With `stop`, a wait gives up as soon as it says so (the run was asked to end).
struct FolderWait {
    std::chrono::milliseconds patience = std::chrono::seconds(5);
    std::function<bool(const std::string& folder)> stillWaiting;
    std::function<bool()> stop{};
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
