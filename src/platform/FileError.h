// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A failed file operation: which file, the system's error behind it, why in the operator's words;
// and what a file operation gives back.
#include <string>
#include <utility>
#include <variant>

namespace selvo {

// Whether a failure struck while reading a file or while writing one: the same system error
// has a different cause for each.
enum class FileAccess { Write, Read };

// A failed file operation: which file, the system's error number behind it (0 when the program
// itself refused), and why, in words the operator can act on.
struct FileError {
    FileError(std::string name, std::string why, FileAccess during = FileAccess::Write,
              std::string path = {}, int error = 0)
        : fileName(std::move(name)), reason(std::move(why)), access(during),
          fullPath(std::move(path)), cause(error) {}
    // The system refused: the reason is its error in words, the full path taken from `name`.
    static FileError ofErrno(const std::string& name, int error,
                             FileAccess during = FileAccess::Write);
    std::string fileName; // as the caller named it
    std::string reason;
    FileAccess access = FileAccess::Write;
    std::string fullPath; // folder and name, when the file layer knows them
    int cause = 0;        // errno, or 0 for a refusal of the program's own
    // "Impossibile scrivere il file "/cartella/x": reason", or "leggere" for a read; the path
    // shown as text whatever it holds.
    std::string message() const;
};

// What a file operation gives back: its value, or the failure that kept it from one.
template <class T> class FileResult {
public:
    FileResult(T value) : m_held(std::in_place_index<0>, std::move(value)) {}
    FileResult(FileError error) : m_held(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_held.index() == 0; }
    const T& value() const& { return std::get<0>(m_held); }
    T& value() & { return std::get<0>(m_held); }
    T&& value() && { return std::get<0>(std::move(m_held)); }
    const FileError& error() const { return std::get<1>(m_held); }

private:
    std::variant<T, FileError> m_held;
};

// Italian wording for an errno value, for the messages above.
std::string describeErrno(int error, FileAccess access = FileAccess::Write);

} // namespace selvo
