// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FileError.h"

#include "platform/Paths.h"
#include "text/TextSafety.h"

#include <cerrno>

namespace selvo {

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

} // namespace selvo
