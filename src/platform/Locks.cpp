// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Locks.h"

#include "platform/Platform.h"

#include <cerrno>
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

} // namespace selvo
