// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/TextFile.h"

#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "platform/Platform.h"
#include "text/TextSafety.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

namespace selvo {

namespace {

// selvo-batch commits one group on a thread of its own while it writes the next.
std::atomic<std::uint64_t> g_committedSets = 0;
std::atomic<std::uint64_t> g_fileFlushes = 0;
std::atomic<std::uint64_t> g_folderFlushes = 0;
std::atomic<std::uint64_t> g_fileSystemFlushes = 0;
std::atomic<std::chrono::milliseconds::rep> g_flushDelayMs = 0;

// Every flush is counted right after it: the slow disk a test asks for is paid there too.
void waitAsASlowDisk() {
    if (const auto delay = g_flushDelayMs.load(); delay > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    }
}

} // namespace

void platform::countFileFlush() {
    ++g_fileFlushes;
    waitAsASlowDisk();
}

void platform::countFolderFlush() {
    ++g_folderFlushes;
    waitAsASlowDisk();
}

void platform::countFileSystemFlush() {
    ++g_fileSystemFlushes;
    waitAsASlowDisk();
}

void delayFlushesForTesting(std::chrono::milliseconds delay) {
    g_flushDelayMs = delay.count();
}

void platform::countCommittedSet() {
    ++g_committedSets;
}

DiskWriteCounts diskWriteCounts() {
    return {g_committedSets, g_fileFlushes, g_folderFlushes, g_fileSystemFlushes};
}

FileError FileError::ofErrno(const std::string& name, int error, FileAccess during) {
    return FileError{name, describeErrno(error, during), during, absolutePath(name), error};
}

std::string FileError::message() const {
    const char* const verb = access == FileAccess::Read ? "leggere" : "scrivere";
    return std::string("Impossibile ") + verb + " il file \"" +
           visibleText(fullPath.empty() ? fileName : fullPath) + "\": " + reason;
}

std::string describeErrno(int error, FileAccess access) {
    const bool reading = access == FileAccess::Read;
    switch (error) {
    case EACCES:
    case EPERM:
        return reading ? "permesso negato (il file o la sua cartella non sono leggibili)."
                       : "permesso negato (la cartella o il file non sono scrivibili).";
    case EROFS:
        return "la cartella si trova su un disco di sola lettura.";
    case ENOSPC:
        return "spazio su disco esaurito.";
#ifdef EDQUOT
    case EDQUOT:
        return "quota disco superata.";
#endif
    case EFBIG:
        return "il file supera la dimensione massima ammessa dal disco.";
    case ENOENT:
        return "file o cartella inesistente.";
    case ENOTDIR:
        return "una parte del percorso non è una cartella.";
#ifdef ELOOP
    case ELOOP:
        return "il percorso contiene troppi collegamenti simbolici (forse un collegamento che "
               "rimanda a sé stesso).";
#endif
    case ENAMETOOLONG:
        return "il nome del file è troppo lungo.";
    case EISDIR:
        return "il nome indica una cartella, non un file.";
    case ENXIO:
    case ENODEV:
        return "non è un file regolare (è una pipe, un dispositivo o un socket).";
    case EINVAL:
    case EILSEQ:
        return "il nome del file non è valido.";
    case EIO:
        return reading ? "errore di lettura sul disco." : "errore di scrittura sul disco.";
    case EMFILE:
    case ENFILE:
        return "troppi file aperti nel sistema; chiudere qualche programma e riprovare.";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return "il file è in uso da un altro programma.";
    case EXDEV:
        return "il file temporaneo e il file finale si trovano su dischi diversi.";
    default:
        return "errore di sistema numero " + std::to_string(error) + ".";
    }
}

std::string absolutePath(const std::string& path) {
    return platform::absolute(path);
}

std::string currentFolder() {
    std::string folder = platform::absolute(".");
    // POSIX puts the folder in front of "." as it is; Windows resolves it.
    if (folder.size() >= 2 && folder.back() == '.' &&
        platform::isSeparator(folder[folder.size() - 2])) {
        folder.pop_back();
        if (folder.size() > 1) {
            folder.pop_back();
        }
    }
    return folder;
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
    return platform::joinPath(folder, name);
}

std::string fileNameKey(const std::string& name) {
    return platform::foldsCaseByDefault() ? platform::foldCase(name) : name;
}

FolderNames::FolderNames() : m_probe(platform::probeFoldsCase) {}

bool FolderNames::foldsCase(const std::string& folder) {
    const auto known = m_folds.find(folder);
    if (known != m_folds.end()) {
        return known->second;
    }
    const bool folds = m_probe(folder).value_or(platform::foldsCaseByDefault());
    m_folds.emplace(folder, folds);
    return folds;
}

std::string FolderNames::key(const std::string& folder, const std::string& name) {
    return foldsCase(folder) ? platform::foldCase(name) : name;
}

FileNameLimit fileNameLimit(const std::string& folder) {
    const platform::NameLimit limit = platform::nameLimit(folder);
    return {limit.length, limit.unit};
}

bool fileNameFits(const std::string& folder, const std::string& name) {
    return platform::nameFits(folder, name);
}

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

using platform::folderOf;
using platform::Kind;
using platform::Temporary;

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    return platform::identity(path);
}

FileResult<std::string> readWholeFile(const std::string& path, std::size_t maxBytes) {
    platform::RawRead read = platform::readRegularFile(path, maxBytes);
    if (read.tooLarge) {
        return FileError{path, "il file è troppo grande per essere un file di dati.",
                         FileAccess::Read, absolutePath(path)};
    }
    if (read.error != 0) {
        return FileError::ofErrno(path, read.error, FileAccess::Read);
    }
    return std::move(read.bytes);
}

FileResult<std::string> readFileStart(const std::string& path, std::size_t count) {
    platform::RawRead read = platform::readRegularFile(path, count);
    if (read.error != 0) {
        return FileError::ofErrno(path, read.error, FileAccess::Read);
    }
    read.bytes.resize(std::min(read.bytes.size(), count));
    return std::move(read.bytes);
}

std::optional<std::string> whereLinksLead(const std::string& path) {
    constexpr int kMostLinks = 40; // as many as the system itself follows
    std::filesystem::path at = pathFromUtf8(path);
    for (int links = 0; links <= kMostLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(at, error))) {
            return utf8Of(at);
        }
        const std::filesystem::path target = std::filesystem::read_symlink(at, error);
        if (error) {
            return utf8Of(at);
        }
        // Not normalised: ".." after a folder that is itself a link is the system's to resolve.
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return std::nullopt;
}

bool pathExists(const std::string& path) {
    return platform::kindOf(path) != Kind::None;
}

std::optional<FileError> removeFileIfPresent(const std::string& path) {
    // Asked of the removal itself: a folder that cannot be searched hides its files from a look
    // first, and the file would be reported gone while it stays.
    if (const int error = platform::removeFile(path); error != 0 && error != ENOENT) {
        return FileError::ofErrno(path, error);
    }
    return std::nullopt;
}

std::optional<FileError> renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (const int error = platform::renameNoReplace(from, to); error != 0) {
        const std::string reason =
            error == EEXIST ? "esiste già un file con il nuovo nome." : describeErrno(error);
        return FileError{from, reason, FileAccess::Write, absolutePath(from), error};
    }
    platform::flushFolder(folderOf(to));
    return std::nullopt;
}

std::optional<FileError> createPrivateFolder(const std::string& folder) {
    const auto fail = [&folder](std::string reason, int cause) {
        return FileError{folder, std::move(reason), FileAccess::Write, absolutePath(folder), cause};
    };
    // "a/b/" would name the folder a link points to, not the link.
    std::string own = folder;
    while (own.size() > 1 && platform::isSeparator(own.back())) {
        own.pop_back();
    }
    const std::filesystem::path above = pathFromUtf8(own).parent_path();
    std::error_code error;
    if (!above.empty()) {
        std::filesystem::create_directories(above, error);
    }
    if (error) {
        return fail(describeErrno(error.value()), error.value());
    }
    if (const int made = platform::makePrivateFolder(own); made != 0) {
        return fail(made == ENOTDIR ? "il nome indica un file, non una cartella."
                                    : describeErrno(made),
                    made);
    }
    return std::nullopt;
}

bool folderExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(pathFromUtf8(path), ignored);
}

bool isRegularFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(pathFromUtf8(path), ignored);
}

std::optional<std::string> modifiedDateText(const std::string& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(pathFromUtf8(path), error);
    if (error) {
        return std::nullopt;
    }
    const auto since1970 = std::chrono::file_clock::to_sys(written);
    return dateMinuteText(localTime(std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(since1970))));
}

std::optional<FileError> checkFolderWritable(const std::string& folder) {
    // Only the folder of the target counts: the probe gets a temporary name of its own.
    const Temporary probe = platform::writeTemporary(folder + "/probe", {});
    if (probe.error != 0) {
        return FileError::ofErrno(folder, probe.error);
    }
    platform::removeFile(probe.path);
    return std::nullopt;
}

void removeLeftTemporaries(const std::string& folder) {
    for (const std::string& path : platform::temporariesIn(folder)) {
        platform::removeFile(path);
    }
}

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
