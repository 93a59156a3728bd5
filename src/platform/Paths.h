// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Paths in the program: how they are spelt and joined, what they name, where their links lead.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace selvo {

// The identity of a file or folder on its file system, whatever path reaches it (a link,
// "./", ".."); nothing when the path names nothing.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
std::optional<FileIdentity> fileIdentity(const std::string& path);

// The path with the current folder in front when it is relative.
std::string absolutePath(const std::string& path);

// The current folder as an absolute path, with no "." or separator at its end (but a root).
std::string currentFolder();

// The file `name` in `folder`, one separator between them; a name alone for an empty folder.
std::string pathInFolder(const std::string& folder, const std::string& name);

// Paths are UTF-8 text in the program; std::filesystem takes a plain string in the system's
// narrow code page (the ANSI one on Windows), so every crossing goes through these.
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

// Where a path leads when it is a symbolic link, link after link (a relative link from the
// folder it is in), so that a file written there replaces what the link names and keeps the
// link; the path itself when it is no link. Nothing when the links go round in a circle.
std::optional<std::string> whereLinksLead(const std::string& path);

// Whether the path names anything (a file, a folder, a link).
bool pathExists(const std::string& path);

// A folder, or a link to one.
bool folderExists(const std::string& path);
// A regular file, or a link to one.
bool isRegularFile(const std::string& path);

// When the file was last written, in the machine's local time, "dd/mm/yyyy hh:mm"; nothing
// when it cannot be told.
std::optional<std::string> modifiedDateText(const std::string& path);

} // namespace selvo
