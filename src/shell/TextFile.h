#pragma once
// Conversions at the file edge and the one way every output file reaches the disk.

#include <optional>
#include <string>
#include <string_view>

namespace selvo {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// UTF-8 to code page 1252; nothing when some character has no place in the code page.
std::optional<std::string> toCp1252(std::string_view utf8);

// Code page 1252 to UTF-8 (the five unassigned bytes map to their C1 control points).
std::string fromCp1252(std::string_view bytes);

bool fitsCp1252(std::string_view utf8);

// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// A failed save or read: which file and why, in words the operator can act on.
struct FileError {
    std::string fileName;
    std::string reason;
    std::string message() const; // "Impossibile scrivere il file «x»: reason"
};

// Writes the bytes to a temporary file beside `path` and renames it into place once complete,
// so `path` holds either its old content or the whole new one, never a part.
std::optional<FileError> saveFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file, refusing anything larger than maxBytes.
struct ReadResult {
    std::optional<std::string> bytes;
    std::optional<FileError> error;
};
ReadResult readWholeFile(const std::string& path, std::size_t maxBytes);

// Italian wording for an errno value, for the messages above.
std::string describeErrno(int error);

} // namespace selvo
