// SPDX-License-Identifier: GPL-3.0-or-later

// The file layer on Linux and other POSIX systems.
#include "platform/NameCase.h"
#include "platform/Platform.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <utility>

namespace selvo::platform {

bool isSeparator(char c) {
    return c == '/';
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    return path.substr(folderOf(path).size());
}

NameLimit nameLimit(const std::string& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return {limit > 0 ? static_cast<std::size_t>(limit) : 255, "byte"};
}

bool nameFits(const NameLimit& limit, std::string_view name) {
    return name.size() <= limit.length;
}

bool nameFits(const std::string& folder, std::string_view name) {
    return nameFits(nameLimit(folder), name);
}

Kind kindOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return Kind::None;
    }
    if (S_ISDIR(info.st_mode)) {
        return Kind::Folder;
    }
    return S_ISREG(info.st_mode) ? Kind::Regular : Kind::Other;
}

namespace {

// A replaced file keeps its permissions, as a clinic may have narrowed them; a new file takes
// the usual ones from the umask.
mode_t modeFor(const std::string& target, Privacy privacy) {
    if (privacy == Privacy::OwnerOnly) {
        return 0600;
    }
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

constexpr std::string_view kTemporaryPrefix = ".selvo-";

} // namespace

// The temporary name is short and fixed, so a target name near the length limit still gets
// one in the same folder (a rename never crosses folders).
Temporary writeTemporary(const std::string& target, std::string_view bytes, Privacy privacy,
                         TemporaryFlush flush) {
    Temporary temp{folderOf(target) + std::string(kTemporaryPrefix) + "XXXXXX", 0,
                   modeFor(target, privacy)};
    const int fd = ::mkstemp(temp.path.data()); // mode 0600
    if (fd < 0) {
        return {{}, errno};
    }
    temp.open = fd;
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        temp.identity = {static_cast<std::uint64_t>(info.st_dev),
                         static_cast<std::uint64_t>(info.st_ino)};
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            abandonTemporary(temp);
            return {{}, error};
        }
        written += static_cast<std::size_t>(n);
    }
    if (flush == TemporaryFlush::Now) {
        if (const int error = finishTemporary(temp); error != 0) {
            return {{}, error};
        }
    }
    return temp;
}

int finishTemporary(Temporary& temp, bool flush) {
    const int fd = static_cast<int>(std::exchange(temp.open, -1));
    if (fd < 0) {
        return 0;
    }
    int error = 0;
    if (flush) {
        error = ::fsync(fd) == 0 ? 0 : errno;
        countFileFlush();
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.path.c_str());
    }
    return error;
}

void abandonTemporary(Temporary& temp) {
    if (temp.open >= 0) {
        ::close(static_cast<int>(std::exchange(temp.open, -1)));
    }
    ::unlink(temp.path.c_str());
}

FileSystemWatch watchFileSystem(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0) {
        return {};
    }
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return {};
    }
    return {fd, static_cast<std::uint64_t>(info.st_dev)};
}

int flushFileSystem(const FileSystemWatch& watch) {
    if (watch.handle < 0) {
        return 0;
    }
    countFileSystemFlush();
#ifdef __linux__
    return ::syncfs(static_cast<int>(watch.handle)) == 0 ? 0 : errno;
#else
    ::sync();
    return 0;
#endif
}

void endWatch(FileSystemWatch& watch) {
    if (watch.handle >= 0) {
        ::close(static_cast<int>(std::exchange(watch.handle, -1)));
    }
}

// Linux 5.8 made syncfs report the write errors of the file system since the descriptor was
// opened; before, it said nothing of them.
bool fileSystemFlushTellsErrors() {
#ifdef __linux__
    static const bool tells = [] {
        utsname system{};
        int major = 0;
        int minor = 0;
        if (::uname(&system) != 0 || std::sscanf(system.release, "%d.%d", &major, &minor) != 2) {
            return false;
        }
        return major > 5 || (major == 5 && minor >= 8);
    }();
    return tells;
#else
    return false;
#endif
}

int moveIntoPlace(const Temporary& temp, const std::string& target) {
    if (std::rename(temp.path.c_str(), target.c_str()) != 0) {
        return errno;
    }
    ::chmod(target.c_str(), static_cast<mode_t>(temp.mode));
    return 0;
}

// mkstemp fills the six places with letters and digits.
bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + 6 || !name.starts_with(kTemporaryPrefix)) {
        return false;
    }
    for (const char c : name.substr(kTemporaryPrefix.size())) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> temporariesIn(const std::string& folder) {
    return ownFilesIn(folder, isTemporaryName);
}

std::vector<std::string> ownFilesIn(const std::string& folder, bool (*named)(std::string_view)) {
    std::vector<std::string> found;
    DIR* const listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return found;
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (!named(entry->d_name)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
            found.push_back(joinPath(folder, entry->d_name));
        }
    }
    ::closedir(listing);
    return found;
}

int makePrivateFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        // An unusual umask could also take the owner's own rights away.
        ::chmod(folder.c_str(), 0700);
        return 0;
    }
    if (errno != EEXIST) {
        return errno;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return errno;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ENOTDIR;
    }
    // Made wider by an older version or by hand: ours, so narrowed; failing that (a read-only
    // disk) it is used as it is, since the files inside are the owner's alone anyway.
    struct stat own {};
    if (::lstat(folder.c_str(), &own) == 0 && S_ISDIR(own.st_mode) && own.st_uid == ::geteuid() &&
        (own.st_mode & 077) != 0) {
        ::chmod(folder.c_str(), own.st_mode & 07700);
    }
    return 0;
}

int removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int flushFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return 0; // a folder that cannot be opened for reading cannot be flushed either
    }
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    countFolderFlush();
    ::close(fd);
    // Some file systems cannot flush a folder at all; that says nothing of the files in it.
    return result == EINVAL || result == EROFS ? 0 : result;
}

std::optional<FileIdentity> identity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

RawRead readRegularFile(const std::string& path, std::size_t maxBytes) {
    RawRead result;
    // Without O_NONBLOCK, opening a pipe would wait for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
        ::close(fd);
        return result;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.bytes.size() > maxBytes) {
            result.tooLarge = true;
            break;
        }
    }
    ::close(fd);
    return result;
}

std::string absolute(const std::string& path) {
    if (path.starts_with('/')) {
        return path;
    }
    std::string folder(4096, '\0');
    if (::getcwd(folder.data(), folder.size()) == nullptr) {
        return path;
    }
    folder.resize(std::char_traits<char>::length(folder.c_str()));
    return folder + (folder.ends_with('/') ? "" : "/") + path;
}

bool foldsCaseByDefault() {
    return false;
}

std::optional<bool> probeFoldsCase(const std::string& folder) {
    // Lower-case letters only, unique to this process and call: its upper-case spelling can
    // name only this file, and only where case is folded. Existence decides, not identity:
    // FUSE (exfat-fuse) gives each spelling of one file its own inode.
    static std::atomic<unsigned> calls{0};
    std::string letters;
    for (unsigned long long n = (static_cast<unsigned long long>(::getpid()) << 20) ^ calls++;
         n != 0 || letters.empty(); n /= 26) {
        letters += static_cast<char>('a' + n % 26);
    }
    const std::string base = folder.empty() || folder.ends_with('/') ? folder : folder + "/";
    const std::string lower = base + ".selvo-case-" + letters;
    std::string upper = base + ".SELVO-CASE-" + letters;
    for (std::size_t i = upper.size() - letters.size(); i < upper.size(); ++i) {
        upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
    }
    const int fd = ::open(lower.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    ::close(fd);
    struct stat found {};
    const bool folds = ::lstat(upper.c_str(), &found) == 0;
    const int error = errno;
    ::unlink(lower.c_str());
    if (!folds && error != ENOENT) {
        return std::nullopt;
    }
    return folds;
}

std::string foldCase(const std::string& name) {
    return foldNameCase(name);
}

int renameNoReplace(const std::string& from, const std::string& to) {
    // A hard link fails when the new name is taken; file systems without links fall back to a
    // check before the rename, which the caller's lock keeps from racing.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST) {
        return EEXIST;
    }
    if (kindOf(to) != Kind::None) {
        return EEXIST;
    }
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace selvo::platform
