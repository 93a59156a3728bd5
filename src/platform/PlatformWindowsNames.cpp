// SPDX-License-Identifier: GPL-3.0-or-later

// Names on Windows: paths joined and taken apart with either separator, name lengths counted
// in UTF-16 units, and names compared as NTFS compares them, without regard to case.
#include "platform/Platform.h"
#include "platform/WideText.h"
#include "platform/WindowsErrors.h"

#include <algorithm>
#include <windows.h>

namespace selvo::platform {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string path = folder;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && !isSeparator(path.back())) {
        path += '\\';
    }
    return path + name;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string::npos) {
        return path.substr(0, slash + 1);
    }
    // "C:name" names a file in drive C's current folder.
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

std::string nameOf(const std::string& path) {
    return path.substr(folderOf(path).size());
}

// Windows file systems count a name's length in UTF-16 units.
NameLimit nameLimit(const std::string&) {
    return {255, "caratteri"};
}

bool nameFits(const NameLimit& limit, std::string_view name) {
    const auto units = wideFromUtf8(std::string(name));
    return !units || units->size() <= limit.length;
}

bool nameFits(const std::string& folder, std::string_view name) {
    return nameFits(nameLimit(folder), name);
}

bool foldsCaseByDefault() {
    return true;
}

std::optional<bool> probeFoldsCase(const std::string& folder) {
    static volatile LONG calls = 0;
    unsigned long long n = (static_cast<unsigned long long>(::GetCurrentProcessId()) << 20) ^
                           static_cast<unsigned long long>(::InterlockedIncrement(&calls));
    std::string letters;
    for (; n != 0 || letters.empty(); n /= 26) {
        letters += static_cast<char>('a' + n % 26);
    }
    const bool separated = folder.empty() || isSeparator(folder.back()) || folder.back() == ':';
    const std::string base = separated ? folder : folder + "\\";
    std::string upperLetters = letters;
    for (char& c : upperLetters) {
        c = static_cast<char>(c - 'a' + 'A');
    }
    const auto lower = wide(base + ".selvo-case-" + letters);
    if (!lower) {
        return std::nullopt;
    }
    HANDLE file = ::CreateFileW(lower->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    ::CloseHandle(file);
    // Existence decides, as on POSIX: a share served from a FUSE volume can give each spelling
    // of one file its own index.
    const auto upper = wide(base + ".SELVO-CASE-" + upperLetters);
    const bool folds = upper && ::GetFileAttributesW(upper->c_str()) != INVALID_FILE_ATTRIBUTES;
    const DWORD error = ::GetLastError();
    ::DeleteFileW(lower->c_str());
    if (!upper || (!folds && error != ERROR_FILE_NOT_FOUND)) {
        return std::nullopt;
    }
    return folds;
}

// NTFS compares names by the upper case of each UTF-16 unit; lower case folds the same pairs
// for every letter our names hold.
std::string foldCase(const std::string& name) {
    std::optional<std::wstring> units = wide(name);
    if (!units || units->empty()) {
        return name;
    }
    ::CharLowerBuffW(units->data(), static_cast<DWORD>(units->size()));
    return utf8FromWide(*units);
}

} // namespace selvo::platform
