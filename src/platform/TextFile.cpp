#include "platform/TextFile.h"

#include "platform/Platform.h"
#include "text/TextSafety.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>
#include <thread>

namespace selvo {

namespace {

// Every save runs on the one thread of the program that makes it.
std::uint64_t g_committedSets = 0;
std::uint64_t g_fileFlushes = 0;
std::uint64_t g_folderFlushes = 0;

} // namespace

void platform::countFileFlush() {
    ++g_fileFlushes;
}

void platform::countFolderFlush() {
    ++g_folderFlushes;
}

DiskWriteCounts diskWriteCounts() {
    return {g_committedSets, g_fileFlushes, g_folderFlushes};
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

namespace {

using platform::folderOf;
using platform::Kind;
using platform::Temporary;

// What can be known about a target before anything is written: a name the file system cannot
// hold, or a folder standing where the file should go.
std::optional<int> targetFault(const std::string& path) {
    if (!platform::nameFits(folderOf(path), platform::nameOf(path))) {
        return ENAMETOOLONG;
    }
    if (platform::kindOf(path) == Kind::Folder) {
        return EISDIR;
    }
    return std::nullopt;
}

// A file about to be replaced, kept in memory so that a failure later in the same set can put
// it back as it was. Data files, reports and command files are small.
struct Replaced {
    bool existed = false;
    std::optional<std::string> bytes;
};

Replaced rememberTarget(const std::string& path) {
    if (platform::kindOf(path) == Kind::None) {
        return {};
    }
    constexpr std::size_t kLargestKept = 64 * 1024 * 1024;
    FileResult<std::string> read = readWholeFile(path, kLargestKept);
    if (!read.ok()) {
        return {true, std::nullopt};
    }
    return {true, std::move(read).value()};
}

void removeTemporaries(const std::vector<Temporary>& temps, std::size_t from) {
    for (std::size_t i = from; i < temps.size(); ++i) {
        platform::removeFile(temps[i].path);
    }
}

// Undoes the renames already made: older files come back, files that were new go.
void restoreTargets(const std::vector<PendingFile>& files, const std::vector<Replaced>& before,
                    std::size_t renamed) {
    for (std::size_t i = 0; i < renamed; ++i) {
        if (!before[i].existed) {
            platform::removeFile(files[i].path);
        } else if (before[i].bytes) {
            const Temporary back = platform::writeTemporary(files[i].path, *before[i].bytes);
            if (back.error == 0 && platform::moveIntoPlace(back, files[i].path) != 0) {
                platform::removeFile(back.path);
            }
        }
    }
}

// The set's folders, each once and with the first of the set's files in it (for a message), in
// one order for every run, so that two runs writing into the same two folders never each
// hold one while waiting for the other.
std::map<std::string, std::string> foldersOf(const std::vector<PendingFile>& files) {
    std::map<std::string, std::string> folders;
    for (const PendingFile& file : files) {
        const std::string folder = folderOf(file.path);
        std::filesystem::path whole =
            pathFromUtf8(absolutePath(folder.empty() ? "." : folder)).lexically_normal();
        if (!whole.has_filename() && whole != whole.root_path()) {
            whole = whole.parent_path(); // "/study/out/" is shown as "/study/out"
        }
        folders.emplace(utf8Of(whole), file.path);
    }
    return folders;
}

std::string busyReason(const std::string& folder) {
    return "la cartella \"" + visibleText(folder) +
           "\" è in uso da un'altra elaborazione di BrivanSelvo, che vi sta scrivendo i suoi "
           "file. Attendere che finisca e riprovare.";
}

// The reason for a set whose renames were made but whose folder did not reach the disk.
std::string unflushedReason(int error) {
    std::string why = describeErrno(error);
    if (why.ends_with('.')) {
        why.pop_back();
    }
    return "i file sono stati messi al loro posto, ma la cartella non è stata registrata sul "
           "disco (" +
           why +
           "): non è certo che i file siano davvero sul disco. Controllare il disco e ripetere "
           "l'elaborazione.";
}

} // namespace

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

CommitResult commitFileSet(const std::vector<PendingFile>& files, const FolderWait& wait,
                           Privacy privacy) {
    CommitResult result;
    const auto fail = [&result](const std::string& path, int error) {
        result.error = FileError::ofErrno(path, error);
        return result;
    };
    for (const PendingFile& file : files) {
        if (const auto fault = targetFault(file.path)) {
            return fail(file.path, *fault);
        }
    }
    std::vector<Temporary> temps;
    for (const PendingFile& file : files) {
        const Privacy own = file.privacy == Privacy::OwnerOnly ? file.privacy : privacy;
        Temporary temp = platform::writeTemporary(file.path, file.bytes, own);
        if (temp.error != 0) {
            removeTemporaries(temps, 0);
            return fail(file.path, temp.error);
        }
        temps.push_back(std::move(temp));
    }
    // From reading the older files to the flush: another run's renames into the same folder
    // wait, so each subject's files all come from one run, and an older file put back after a
    // failure is the one this run replaced.
    std::vector<FolderLock> locks;
    for (const auto& [folder, file] : foldersOf(files)) {
        FolderLock::Attempt attempt = FolderLock::take(folder, wait);
        if (attempt.busy) {
            removeTemporaries(temps, 0);
            result.error =
                FileError{file, busyReason(folder), FileAccess::Write, absolutePath(file)};
            return result;
        }
        if (attempt.lock) {
            locks.push_back(std::move(*attempt.lock));
        }
    }
    std::vector<Replaced> before;
    for (const PendingFile& file : files) {
        before.push_back(rememberTarget(file.path));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const int error = platform::moveIntoPlace(temps[i], files[i].path); error != 0) {
            removeTemporaries(temps, i);
            restoreTargets(files, before, i);
            return fail(files[i].path, error);
        }
    }
    std::set<std::string> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (folders.insert(folderOf(files[i].path)).second) {
            if (const int error = platform::flushFolder(folderOf(files[i].path)); error != 0) {
                result.error = FileError{files[i].path, unflushedReason(error), FileAccess::Write,
                                         absolutePath(files[i].path), error};
                result.inPlace = true;
                result.files.clear();
                return result;
            }
        }
        result.files.push_back({files[i].path, before[i].existed});
    }
    ++g_committedSets;
    return result;
}

std::optional<FileError> saveFileAtomically(const std::string& path, std::string_view bytes,
                                            Privacy privacy) {
    return commitFileSet({{path, std::string(bytes)}}, {}, privacy).error;
}

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
    : m_handle(std::exchange(other.m_handle, -1)) {}

ExclusiveLock& ExclusiveLock::operator=(ExclusiveLock&& other) noexcept {
    if (this != &other) {
        platform::unlock({m_handle});
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

ExclusiveLock::~ExclusiveLock() {
    platform::unlock({m_handle});
}

ExclusiveLock::Attempt ExclusiveLock::take(const std::string& path) {
    Attempt attempt;
    platform::LockHandle handle;
    const int error = platform::lockExclusively(path, handle);
    if (error == EBUSY) {
        attempt.heldElsewhere = true;
    } else if (error != 0) {
        attempt.error = FileError::ofErrno(path, error);
    } else {
        attempt.lock = ExclusiveLock(handle.value);
    }
    return attempt;
}

} // namespace selvo
