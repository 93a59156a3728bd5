// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Locks.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace selvo {

ExclusiveLock::ExclusiveLock(ExclusiveLock&& other) noexcept
    : m_handle(std::exchange(other.m_handle, -1)), m_removed(std::move(other.m_removed)) {}

ExclusiveLock& ExclusiveLock::operator=(ExclusiveLock&& other) noexcept {
    if (this != &other) {
        platform::unlock({m_handle}, m_removed);
        m_handle = std::exchange(other.m_handle, -1);
        m_removed = std::move(other.m_removed);
    }
    return *this;
}

ExclusiveLock::~ExclusiveLock() {
    platform::unlock({m_handle}, m_removed);
}

ExclusiveLock::Attempt ExclusiveLock::take(const std::string& path, LockFile file) {
    Attempt attempt;
    platform::LockHandle handle;
    const bool removed = file == LockFile::Removed;
    const int error = platform::lockExclusively(path, handle, removed);
    if (error == EBUSY) {
        attempt.heldElsewhere = true;
    } else if (error != 0) {
        attempt.error = FileError::ofErrno(path, error);
    } else {
        attempt.lock = ExclusiveLock(handle.value, removed ? path : std::string());
    }
    return attempt;
}

FolderLock::Attempt FolderLock::take(const std::string& folder, const FolderWait& wait) {
    const auto started = std::chrono::steady_clock::now();
    auto pause = std::chrono::milliseconds(1);
    bool asked = false;
    for (;;) {
        platform::LockHandle handle;
        const int error = platform::lockFolder(folder, handle);
        if (error == 0) {
            return {FolderLock(folder, handle.value), false};
        }
        if (error != EBUSY) {
            return {std::nullopt, false}; // nothing to lock: the commit says what is wrong
        }
        if (wait.stop && wait.stop()) {
            return {std::nullopt, true};
        }
        if (!asked && std::chrono::steady_clock::now() - started >= wait.patience) {
            if (!wait.stillWaiting || !wait.stillWaiting(folder)) {
                return {std::nullopt, true};
            }
            asked = true;
        }
        // Another run holds it for the renames of one set: milliseconds, as a rule.
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : m_folder(std::move(other.m_folder)), m_handle(std::exchange(other.m_handle, -1)) {}

FolderLock::~FolderLock() {
    platform::unlockFolder(m_folder, {m_handle});
}

} // namespace selvo
