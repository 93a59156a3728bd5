// SPDX-License-Identifier: GPL-3.0-or-later

// The file layer's locks on Linux and other POSIX systems: a file one process at a time holds,
// a folder's lock for a commit's renames, and the claims of the runs writing into a folder.
#include "platform/Platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace selvo::platform {

namespace {

// flock belongs to the open file: the kernel drops it with the process, even on SIGKILL.
// Takes the lock at once or closes the file: EBUSY when another process holds it.
int lockOpenFile(int fd, LockHandle& handle) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return error;
    }
    handle.value = fd;
    return 0;
}

} // namespace

namespace {

// Whether the lock is on the file the path names now: a lock file removed by the holder that
// let it go locks nothing for whoever was waiting on it.
bool stillNamed(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

int lockExclusively(const std::string& path, LockHandle& handle, bool removed) {
    for (;;) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            const int error = errno;
            // flock needs no write access: a second copy is still told apart.
            if (error == EACCES || error == EROFS) {
                fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            }
            if (fd < 0) {
                return error;
            }
        }
        const int error = lockOpenFile(fd, handle);
        if (error != 0 || !removed || stillNamed(fd, path)) {
            return error;
        }
        ::close(fd); // taken on a file already removed: the next holder makes it anew
        handle.value = -1;
    }
}

// The file goes while the lock is still held, so that nobody takes a lock on it afterwards.
void unlock(LockHandle handle, const std::string& removed) {
    if (handle.value >= 0) {
        if (!removed.empty()) {
            ::unlink(removed.c_str());
        }
        ::close(static_cast<int>(handle.value));
    }
}

// The lock is on the folder itself, so nothing is left in it.
int lockFolder(const std::string& folder, LockHandle& handle) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    return lockOpenFile(fd, handle);
}

void unlockFolder(const std::string&, LockHandle handle) {
    unlock(handle);
}

// A claim is a read lock on the folder's first byte, held by an open file description (OFD
// locks): it belongs to the open folder, not to the process, so two folders' claims, or one
// process's claim and its own look for others, never merge. flock and these locks do not see
// each other, so the folder lock is not affected.
int claimFolder(const std::string& folder, LockHandle& handle) {
#ifdef F_OFD_SETLK
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct flock claim {};
    claim.l_type = F_RDLCK;
    claim.l_whence = SEEK_SET;
    claim.l_start = 0;
    claim.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &claim) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    handle.value = fd;
    return 0;
#else
    (void)folder;
    (void)handle;
    return ENOTSUP;
#endif
}

void releaseFolderClaim(const std::string&, LockHandle handle) {
    unlock(handle);
}

int otherClaims(const std::string& folder) {
#ifdef F_OFD_GETLK
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 1;
    const int error = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 ? 0 : errno;
    ::close(fd);
    if (error != 0) {
        return error;
    }
    return probe.l_type == F_UNLCK ? 0 : EBUSY;
#else
    (void)folder;
    return ENOTSUP;
#endif
}

} // namespace selvo::platform
