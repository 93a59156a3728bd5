#include "shell/TextFile.h"

#include "shell/TextSafety.h"
#include "shell/Utf8.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace selvo {
namespace {

// Closes the conversion descriptor on every path out of convert().
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Converts with iconv; nothing when some input cannot be represented.
std::optional<std::string> convert(const char* to, const char* from, std::string_view input) {
    const Converter converter(to, from);
    if (!converter.ok()) {
        return std::nullopt;
    }
    iconv_t cd = converter.get();
    std::string output;
    std::string in(input);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        output.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            return std::nullopt;
        }
    }
    return output;
}

} // namespace

std::optional<std::string> toCp1252(std::string_view utf8) {
    if (!isValidUtf8(utf8)) {
        return std::nullopt;
    }
    return convert("CP1252", "UTF-8", utf8);
}

std::string fromCp1252(std::string_view bytes) {
    if (auto whole = convert("UTF-8", "CP1252", bytes)) {
        return *whole;
    }
    // glibc leaves 0x81, 0x8D, 0x8F, 0x90, 0x9D undefined; map them to C1 so nothing is lost.
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else if (auto single = convert("UTF-8", "CP1252", std::string_view(&c, 1))) {
            out += *single;
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

bool fitsCp1252(std::string_view utf8) {
    return toCp1252(utf8).has_value();
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Char decoded = decodeUtf8At(bytes, i);
        if (!decoded.valid) {
            return false;
        }
        i += decoded.length;
    }
    return true;
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
    case EDQUOT:
        return "quota disco superata.";
    case EFBIG:
        return "il file supera la dimensione massima ammessa dal disco.";
    case ENOENT:
        return "file o cartella inesistente.";
    case ENOTDIR:
        return "una parte del percorso non è una cartella.";
    case ELOOP:
        return "il percorso contiene troppi collegamenti simbolici (forse un collegamento che "
               "rimanda a sé stesso).";
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
    case ETXTBSY:
        return "il file è in uso da un altro programma.";
    case EXDEV:
        return "il file temporaneo e il file finale si trovano su dischi diversi.";
    default:
        return "errore di sistema numero " + std::to_string(error) + ".";
    }
}

std::string absolutePath(const std::string& path) {
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

namespace {

// The folder part of a path, with its final "/", or "" for a name in the current folder.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    return path.substr(folderOf(path).size());
}

// The longest file name the folder's file system takes.
std::size_t longestName(const std::string& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

// What can be known about a target before anything is written: a name the file system cannot
// hold, or a folder standing where the file should go.
std::optional<int> targetFault(const std::string& path) {
    if (nameOf(path).size() > longestName(folderOf(path))) {
        return ENAMETOOLONG;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    return std::nullopt;
}

struct Temporary {
    std::string path;
    int error = 0;
    mode_t mode = 0; // the target's, once the temporary takes its place
};

// A replaced file keeps its permissions, as a clinic may have narrowed them; a new file takes
// the usual ones from the umask.
mode_t modeFor(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The bytes, complete and flushed, in a new file beside the target. The temporary name is
// short and fixed, so a target name near the length limit still gets one in the same folder
// (a rename never crosses folders).
Temporary writeTemporary(const std::string& target, std::string_view bytes) {
    Temporary temp{folderOf(target) + ".selvo-XXXXXX", 0, modeFor(target)};
    const int fd = ::mkstemp(temp.path.data()); // readable by the owner only until renamed
    if (fd < 0) {
        return {{}, errno};
    }
    const auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temp.path.c_str());
        return Temporary{{}, error};
    };
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return abandon(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        return abandon(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.path.c_str());
        return {{}, error};
    }
    return temp;
}

// Renames the temporary over the target, then gives it the target's permissions.
bool moveIntoPlace(const Temporary& temp, const std::string& target) {
    if (std::rename(temp.path.c_str(), target.c_str()) != 0) {
        return false;
    }
    ::chmod(target.c_str(), temp.mode);
    return true;
}

// The renames of a set reach the disk together with the files they name.
void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A file about to be replaced, kept in memory so that a failure later in the same set can put
// it back as it was. Data files, reports and command files are small.
struct Replaced {
    bool existed = false;
    std::optional<std::string> bytes;
};

Replaced rememberTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return {};
    }
    constexpr std::size_t kLargestKept = 64 * 1024 * 1024;
    return {true, readWholeFile(path, kLargestKept).bytes};
}

void removeTemporaries(const std::vector<Temporary>& temps, std::size_t from) {
    for (std::size_t i = from; i < temps.size(); ++i) {
        ::unlink(temps[i].path.c_str());
    }
}

// Undoes the renames already made: older files come back, files that were new go.
void restoreTargets(const std::vector<PendingFile>& files, const std::vector<Replaced>& before,
                    std::size_t renamed) {
    for (std::size_t i = 0; i < renamed; ++i) {
        if (!before[i].existed) {
            ::unlink(files[i].path.c_str());
        } else if (before[i].bytes) {
            const Temporary back = writeTemporary(files[i].path, *before[i].bytes);
            if (back.error == 0 && !moveIntoPlace(back, files[i].path)) {
                ::unlink(back.path.c_str());
            }
        }
    }
}

} // namespace

CommitResult commitFileSet(const std::vector<PendingFile>& files) {
    CommitResult result;
    const auto fail = [&result](const std::string& path, int error) {
        result.error = FileError{path, describeErrno(error), FileAccess::Write, absolutePath(path)};
        return result;
    };
    for (const PendingFile& file : files) {
        if (const auto fault = targetFault(file.path)) {
            return fail(file.path, *fault);
        }
    }
    std::vector<Temporary> temps;
    for (const PendingFile& file : files) {
        Temporary temp = writeTemporary(file.path, file.bytes);
        if (temp.error != 0) {
            removeTemporaries(temps, 0);
            return fail(file.path, temp.error);
        }
        temps.push_back(std::move(temp));
    }
    std::vector<Replaced> before;
    for (const PendingFile& file : files) {
        before.push_back(rememberTarget(file.path));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!moveIntoPlace(temps[i], files[i].path)) {
            const int error = errno;
            removeTemporaries(temps, i);
            restoreTargets(files, before, i);
            return fail(files[i].path, error);
        }
    }
    std::set<std::string> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (folders.insert(folderOf(files[i].path)).second) {
            flushFolder(folderOf(files[i].path));
        }
        result.files.push_back({files[i].path, before[i].existed});
    }
    return result;
}

std::optional<FileError> saveFileAtomically(const std::string& path, std::string_view bytes) {
    return commitFileSet({{path, std::string(bytes)}}).error;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

ReadResult readWholeFile(const std::string& path, std::size_t maxBytes) {
    ReadResult result;
    const auto fail = [&](std::string reason) {
        result.error = FileError{path, std::move(reason), FileAccess::Read, absolutePath(path)};
        return result;
    };
    // Without O_NONBLOCK, opening a pipe would wait for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(describeErrno(errno, FileAccess::Read));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        return fail(describeErrno(folder ? EISDIR : ENXIO, FileAccess::Read));
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return fail(describeErrno(error, FileAccess::Read));
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {
            ::close(fd);
            return fail("il file è troppo grande per essere un file di dati.");
        }
    }
    ::close(fd);
    result.bytes = std::move(bytes);
    return result;
}

} // namespace selvo
