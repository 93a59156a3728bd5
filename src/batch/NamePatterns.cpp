// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/NamePatterns.h"

#include "platform/NameCase.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// One character of UTF-8 at `at`: its length in bytes (a stray byte counts as one).
std::size_t characterLength(std::string_view text, std::size_t at) {
    std::size_t length = 1;
    while (at + length < text.size() &&
           (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

// Backtracking on the last `*` only: linear enough for names, and no recursion.
bool matchesFolded(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = ++p;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt;
            resumeAt += characterLength(name, resumeAt);
            n = resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// A pattern split into its parts: the texts between separators, and each separator run.
struct PatternPart {
    std::string text;
    bool separator = false;
};

std::vector<PatternPart> partsOf(const std::string& pattern) {
    std::vector<PatternPart> parts;
    for (const char c : pattern) {
        const bool separator = platform::isSeparator(c);
        if (parts.empty() || parts.back().separator != separator) {
            parts.push_back({{}, separator});
        }
        parts.back().text += c;
    }
    return parts;
}

// The names in `folder` ("" for the current one) that match, in name order; only folders
// when more of the path follows.
std::vector<std::string> matchingNames(const std::string& folder, const std::string& pattern,
                                       bool foldersOnly) {
    std::vector<std::string> names;
    std::error_code error;
    const fs::path at = folder.empty() ? fs::path(".") : pathFromUtf8(folder);
    for (fs::directory_iterator entry(at, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = utf8Of(entry->path().filename());
        std::error_code unknown;
        if (nameMatches(pattern, name) && (!foldersOnly || entry->is_directory(unknown))) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

bool isNamePattern(std::string_view given) {
    return given.find_first_of("*?") != std::string_view::npos;
}

bool nameMatches(std::string_view pattern, std::string_view name) {
    if (name.starts_with('.') && !pattern.starts_with('.')) {
        return false;
    }
    return matchesFolded(foldNameCase(pattern), foldNameCase(name));
}

std::variant<std::vector<std::string>, std::string> expandNamePattern(const std::string& pattern) {
    const std::vector<PatternPart> parts = partsOf(pattern);
    std::vector<std::string> paths{""};
    for (std::size_t i = 0; i < parts.size() && !paths.empty(); ++i) {
        const PatternPart& part = parts[i];
        if (part.separator || !isNamePattern(part.text)) {
            for (std::string& path : paths) {
                path += part.text;
            }
            continue;
        }
        const bool more = i + 1 < parts.size();
        std::vector<std::string> expanded;
        for (const std::string& folder : paths) {
            for (const std::string& name : matchingNames(folder, part.text, more)) {
                expanded.push_back(folder + name);
            }
        }
        paths = std::move(expanded);
    }
    if (paths.empty()) {
        return "nessun file corrisponde a \"" + pattern +
               "\": controllare la cartella e il nome, o indicare la cartella stessa.";
    }
    return paths;
}

} // namespace selvo
