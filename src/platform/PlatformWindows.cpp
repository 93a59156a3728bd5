// SPDX-License-Identifier: GPL-3.0-or-later

// The file layer on Windows: UTF-16 names for every call (the narrow calls would read UTF-8 in
// the ANSI code page), binary reads, and a rename that replaces its target.
#include "platform/Platform.h"
#include "platform/WideText.h"
#include "platform/WindowsErrors.h"

#include <algorithm>
#include <cerrno>
#include <utility>
#include <windows.h>

namespace selvo::platform {

int errnoFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_FAULT:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_NO_UNICODE_TRANSLATION:
        return EINVAL;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
        return EIO;
    default:
        return EINVAL;
    }
}

int lastErrno() {
    return errnoFor(::GetLastError());
}

std::optional<std::wstring> wide(const std::string& path) {
    return wideFromUtf8(path);
}

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() {
        if (ok()) {
            ::CloseHandle(m_h);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }
    bool close() {
        const bool closed = ::CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_h;
};

} // namespace

Kind kindOf(const std::string& path) {
    const auto name = wide(path);
    if (!name) {
        return Kind::None;
    }
    const DWORD attributes = ::GetFileAttributesW(name->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Kind::None;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder : Kind::Regular;
}

constexpr std::string_view kTemporaryPrefix = ".selvo-";

// Windows has no umask and no mode bits: a new file takes its folder's access rules, which for
// the program's own folder are the user's alone, so Privacy asks nothing more here.
Temporary writeTemporary(const std::string& target, std::string_view bytes, Privacy,
                         TemporaryFlush flush) {
    const std::string folder = folderOf(target);
    // A fresh name each try: CREATE_NEW never opens a file that is already there.
    static_assert(sizeof(DWORD) == 4);
    DWORD seed = ::GetCurrentProcessId() * 2654435761u ^ ::GetTickCount();
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 1664525u + 1013904223u;
        char suffix[9];
        for (int i = 0; i < 8; ++i) {
            suffix[i] = "0123456789abcdef"[(seed >> (4 * i)) & 0xF];
        }
        suffix[8] = '\0';
        Temporary temp{folder + std::string(kTemporaryPrefix) + suffix, 0, 0};
        const auto name = wide(temp.path);
        if (!name) {
            return {{}, EINVAL};
        }
        const HANDLE file = ::CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            return {{}, lastErrno()};
        }
        temp.open = reinterpret_cast<std::intptr_t>(file);
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileInformationByHandle(file, &info)) {
            temp.identity = {info.dwVolumeSerialNumber,
                             (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                                 info.nFileIndexLow};
        }
        std::size_t written = 0;
        while (written < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
            DWORD done = 0;
            if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr)) {
                const int error = lastErrno();
                abandonTemporary(temp);
                return {{}, error};
            }
            written += done;
        }
        if (flush == TemporaryFlush::Now) {
            if (const int error = finishTemporary(temp); error != 0) {
                return {{}, error};
            }
        }
        return temp;
    }
    return {{}, EEXIST};
}

int finishTemporary(Temporary& temp, bool flush) {
    if (temp.open == -1) {
        return 0;
    }
    const HANDLE file = reinterpret_cast<HANDLE>(std::exchange(temp.open, -1));
    int error = 0;
    if (flush) {
        if (!::FlushFileBuffers(file)) {
            error = lastErrno();
        }
        countFileFlush();
    }
    if (!::CloseHandle(file) && error == 0) {
        error = lastErrno();
    }
    if (error != 0) {
        if (const auto name = wide(temp.path)) {
            ::DeleteFileW(name->c_str());
        }
    }
    return error;
}

void abandonTemporary(Temporary& temp) {
    if (temp.open != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(std::exchange(temp.open, -1)));
    }
    if (const auto name = wide(temp.path)) {
        ::DeleteFileW(name->c_str());
    }
}

// Windows flushes a whole volume only for an administrator: each file's own flush does here.
FileSystemWatch watchFileSystem(const std::string&) {
    return {};
}

int flushFileSystem(const FileSystemWatch&) {
    return 0;
}

void endWatch(FileSystemWatch&) {}

bool fileSystemFlushTellsErrors() {
    return false;
}

// writeTemporary's eight hexadecimal digits.
bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + 8 || !name.starts_with(kTemporaryPrefix)) {
        return false;
    }
    for (const char c : name.substr(kTemporaryPrefix.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> temporariesIn(const std::string& folder) {
    return ownFilesIn(folder, isTemporaryName);
}

// The folder's files are taken for the user's: Windows has no owner that the folder's access
// rules do not already decide.
std::vector<std::string> ownFilesIn(const std::string& folder, bool (*named)(std::string_view)) {
    std::vector<std::string> found;
    const auto pattern = wide(joinPath(folder, std::string(kTemporaryPrefix) + "*"));
    if (!pattern) {
        return found;
    }
    WIN32_FIND_DATAW entry{};
    const HANDLE listing = ::FindFirstFileW(pattern->c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        const std::string name = utf8FromWide(entry.cFileName);
        const DWORD notRegular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((entry.dwFileAttributes & notRegular) == 0 && named(name)) {
            found.push_back(joinPath(folder, name));
        }
    } while (::FindNextFileW(listing, &entry));
    ::FindClose(listing);
    return found;
}

// A new folder inherits the access rules of the one above, in the user's profile.
int makePrivateFolder(const std::string& folder) {
    const auto name = wide(folder);
    if (!name) {
        return EINVAL;
    }
    if (::CreateDirectoryW(name->c_str(), nullptr)) {
        return 0;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_ALREADY_EXISTS) {
        return errnoFor(error);
    }
    // The attributes of a link to a folder say folder too, and the link is then used.
    const DWORD attributes = ::GetFileAttributesW(name->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? 0
               : ENOTDIR;
}

int moveIntoPlace(const Temporary& temp, const std::string& target) {
    const auto from = wide(temp.path);
    const auto to = wide(target);
    if (!from || !to) {
        return EINVAL;
    }
    // std::rename would refuse to replace an existing file here.
    if (!::MoveFileExW(from->c_str(), to->c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return lastErrno();
    }
    countFolderFlush(); // the write-through is this system's flush of the folder
    return 0;
}

int removeFile(const std::string& path) {
    const auto name = wide(path);
    if (!name) {
        return EINVAL;
    }
    return ::DeleteFileW(name->c_str()) ? 0 : lastErrno();
}

// MOVEFILE_WRITE_THROUGH has already flushed each rename.
int flushFolder(const std::string&) {
    return 0;
}

std::optional<FileIdentity> identity(const std::string& path) {
    const auto name = wide(path);
    if (!name) {
        return std::nullopt;
    }
    // Backup semantics opens folders too; no access is asked for, only the file's identity.
    const Handle file(::CreateFileW(name->c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.ok() || !::GetFileInformationByHandle(file.get(), &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                            info.nFileIndexLow};
}

RawRead readRegularFile(const std::string& path, std::size_t maxBytes) {
    RawRead result;
    const auto name = wide(path);
    if (!name) {
        result.error = EINVAL;
        return result;
    }
    // A folder cannot be opened as a file; say what it is rather than "access denied".
    const DWORD attributes = ::GetFileAttributesW(name->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        result.error = EISDIR;
        return result;
    }
    const Handle file(::CreateFileW(name->c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        result.error = lastErrno();
        return result;
    }
    // Devices such as NUL or COM1 and pipes are not data files.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        result.error = ENXIO;
        return result;
    }
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
            result.error = lastErrno();
            break;
        }
        if (n == 0) {
            break;
        }
        result.bytes.append(buffer, n);
        if (result.bytes.size() > maxBytes) {
            result.tooLarge = true;
            break;
        }
    }
    return result;
}

std::string absolute(const std::string& path) {
    const auto name = wide(path);
    if (!name) {
        return path;
    }
    const DWORD needed = ::GetFullPathNameW(name->c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(name->c_str(), needed, full.data(), nullptr);
    full.resize(length);
    return utf8FromWide(full);
}

int renameNoReplace(const std::string& from, const std::string& to) {
    const auto source = wide(from);
    const auto target = wide(to);
    if (!source || !target) {
        return EINVAL;
    }
    if (!::MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST
                                                                           : errnoFor(error);
    }
    return 0;
}

} // namespace selvo::platform
