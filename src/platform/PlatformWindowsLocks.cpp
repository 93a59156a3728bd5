// SPDX-License-Identifier: GPL-3.0-or-later

// The file layer's locks on Windows: a file no other process may open, a hidden lock file in a
// folder for a commit's renames, and the claims of the runs writing into a folder.
#include "platform/Platform.h"
#include "platform/WindowsErrors.h"

#include <cerrno>
#include <windows.h>

namespace selvo::platform {

int lockExclusively(const std::string& path, LockHandle& handle, bool removed) {
    const auto name = wide(path);
    if (!name) {
        return EINVAL;
    }
    // No sharing: a second open fails until this handle is closed, which Windows does when
    // the process ends in any way.
    // A lock file to be removed is deleted by the system as the handle closes.
    const DWORD access = GENERIC_READ | GENERIC_WRITE | (removed ? DELETE : 0);
    const DWORD flags =
        removed ? FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE : FILE_ATTRIBUTE_NORMAL;
    HANDLE file = ::CreateFileW(name->c_str(), access, 0, nullptr, OPEN_ALWAYS, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // A read-only folder or disk: an existing lock file, opened for reading without
        // sharing, still keeps a second copy out.
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
            file = ::CreateFileW(name->c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        }
        if (file == INVALID_HANDLE_VALUE) {
            return errnoFor(error);
        }
    }
    handle.value = reinterpret_cast<std::intptr_t>(file);
    return 0;
}

void unlock(LockHandle handle, const std::string&) {
    if (handle.value != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(handle.value));
    }
}

namespace {

// A folder cannot be locked on Windows, so a hidden file in it is. It is shared for reading
// and writing, never for deletion: whoever unlocks last removes it, and nobody can while
// another run has it open, so the folder keeps it only after a crash.
std::string folderLockPath(const std::string& folder) {
    const bool separated = folder.empty() || isSeparator(folder.back()) || folder.back() == ':';
    return (separated ? folder : folder + "\\") + ".selvo.lock";
}

} // namespace

int lockFolder(const std::string& folder, LockHandle& handle) {
    const auto name = wide(folderLockPath(folder));
    if (!name) {
        return EINVAL;
    }
    HANDLE file = ::CreateFileW(name->c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return lastErrno();
    }
    OVERLAPPED whole{};
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EBUSY : errnoFor(error);
    }
    handle.value = reinterpret_cast<std::intptr_t>(file);
    return 0;
}

void unlockFolder(const std::string& folder, LockHandle handle) {
    if (handle.value == -1) {
        return;
    }
    const HANDLE file = reinterpret_cast<HANDLE>(handle.value);
    OVERLAPPED whole{};
    ::UnlockFileEx(file, 0, 1, 0, &whole);
    ::CloseHandle(file);
    // Fails, harmlessly, while another run has the file open.
    if (const auto name = wide(folderLockPath(folder))) {
        ::DeleteFileW(name->c_str());
    }
}

namespace {

// Claims are shared locks on the lock file's second byte; the folder lock has the first.
HANDLE openFolderLockFile(const std::string& folder) {
    const auto name = wide(folderLockPath(folder));
    if (!name) {
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(name->c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_HIDDEN, nullptr);
}

OVERLAPPED claimByte() {
    OVERLAPPED second{};
    second.Offset = 1;
    return second;
}

} // namespace

int claimFolder(const std::string& folder, LockHandle& handle) {
    const HANDLE file = openFolderLockFile(folder);
    if (file == INVALID_HANDLE_VALUE) {
        return lastErrno();
    }
    OVERLAPPED second = claimByte();
    if (!::LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &second)) {
        const int error = lastErrno();
        ::CloseHandle(file);
        return error;
    }
    handle.value = reinterpret_cast<std::intptr_t>(file);
    return 0;
}

void releaseFolderClaim(const std::string& folder, LockHandle handle) {
    if (handle.value == -1) {
        return;
    }
    const HANDLE file = reinterpret_cast<HANDLE>(handle.value);
    OVERLAPPED second = claimByte();
    ::UnlockFileEx(file, 0, 1, 0, &second);
    ::CloseHandle(file);
    if (const auto name = wide(folderLockPath(folder))) {
        ::DeleteFileW(name->c_str()); // fails while another run has it open, as it should
    }
}

int otherClaims(const std::string& folder) {
    const HANDLE file = openFolderLockFile(folder);
    if (file == INVALID_HANDLE_VALUE) {
        return lastErrno();
    }
    OVERLAPPED second = claimByte();
    int result = 0;
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &second)) {
        ::UnlockFileEx(file, 0, 1, 0, &second);
    } else {
        const DWORD error = ::GetLastError();
        result =
            error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EBUSY : errnoFor(error);
    }
    ::CloseHandle(file);
    return result;
}

} // namespace selvo::platform
