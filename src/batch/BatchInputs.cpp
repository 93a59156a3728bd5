// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchInputs.h"

#include "batch/NamePatterns.h"
#include "platform/Console.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"
#include "text/Cp1252.h"
#include "text/TextSafety.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// A list of study files is text; anything much larger is not one.
constexpr std::size_t kMaxListBytes = 256 * 1024 * 1024;

bool isCsvName(const std::string& name) {
    if (name.size() < 4 || name.starts_with('.')) {
        return false;
    }
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".csv";
}

// What an earlier run of selvo-batch wrote into a study folder beside the data files, told by
// how it begins (a data file begins with a number): why it is no data file, or nothing.
std::optional<std::string> notADataFile(const fs::path& file) {
    char head[32] = {};
    std::ifstream(file, std::ios::binary).read(head, sizeof head);
    std::string_view text(head, sizeof head);
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    if (text.starts_with("ID,")) {
        return "è il dataset di un'esecuzione di selvo-batch";
    }
    if (text.starts_with("Codice,File di dati,")) {
        return "è una chiave dei codici di selvo-batch";
    }
    return std::nullopt;
}

// The folder's data files, in name order, as paths that start with the folder as given.
std::optional<std::string> addFolder(const std::string& folder, GatheredInputs& gathered) {
    std::error_code error;
    std::vector<std::string> names;
    for (fs::directory_iterator entry(pathFromUtf8(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = utf8Of(entry->path().filename());
        std::error_code unknown;
        if (isCsvName(name) && entry->is_regular_file(unknown)) {
            names.push_back(std::move(name));
        }
    }
    if (error) {
        return "impossibile leggere la cartella \"" + visibleText(absolutePath(folder)) +
               "\": " + describeErrno(error.value(), FileAccess::Read);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const fs::path path = pathFromUtf8(folder) / pathFromUtf8(name);
        if (const auto why = notADataFile(path)) {
            gathered.notes.push_back(utf8Of(path) + ": lasciato fuori: " + *why +
                                     ", non un file di dati.");
        } else {
            gathered.files.push_back(utf8Of(path));
        }
    }
    return std::nullopt;
}

std::optional<std::string> add(const std::string& given, GatheredInputs& gathered) {
    if (folderExists(given)) {
        return addFolder(given, gathered);
    }
    gathered.files.push_back(given);
    return std::nullopt;
}

struct ListRead {
    std::string bytes;
    std::optional<std::string> fault;
};

ListRead readList(const std::string& list) {
    if (list == "-") {
        std::optional<std::string> bytes = readStandardInput();
        if (!bytes) {
            return {{}, "impossibile leggere l'elenco dallo standard input."};
        }
        return {std::move(*bytes), std::nullopt};
    }
    FileResult<std::string> read = readWholeFile(list, kMaxListBytes);
    if (!read.ok()) {
        return {{}, read.error().message()};
    }
    return {std::move(read).value(), std::nullopt};
}

// An argument as a shell would have passed it: a pattern's matches, each in turn.
std::optional<std::string> addArgument(const std::string& given, GatheredInputs& gathered) {
    if (!kProgramExpandsPatterns || !isNamePattern(given)) {
        return add(given, gathered);
    }
    auto matches = expandNamePattern(given);
    if (auto* fault = std::get_if<std::string>(&matches)) {
        return std::move(*fault);
    }
    for (const std::string& match : std::get<std::vector<std::string>>(matches)) {
        if (auto fault = add(match, gathered)) {
            return fault;
        }
    }
    return std::nullopt;
}

} // namespace

std::variant<std::vector<std::string>, std::string> ListedPaths(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::vector<std::string> paths;
    for (std::size_t number = 1; !bytes.empty(); ++number) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!isValidUtf8(line) || line.find('\0') != std::string_view::npos) {
            return "la riga " + std::to_string(number) +
                   " non è testo UTF-8: salvare l'elenco con la codifica UTF-8.";
        }
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            paths.emplace_back(line);
        }
    }
    return paths;
}

std::variant<GatheredInputs, std::string> GatherInputs(const BatchOptions& options) {
    GatheredInputs gathered;
    for (const std::string& given : options.files) {
        if (auto fault = addArgument(given, gathered)) {
            return std::move(*fault);
        }
    }
    if (!options.list) {
        return gathered;
    }
    const ListRead list = readList(*options.list);
    if (list.fault) {
        return *list.fault;
    }
    auto listed = ListedPaths(list.bytes);
    if (const auto* fault = std::get_if<std::string>(&listed)) {
        const std::string shown =
            *options.list == "-" ? "dallo standard input" : "\"" + *options.list + "\"";
        return "l'elenco " + visibleText(shown) + ": " + *fault;
    }
    for (const std::string& given : std::get<std::vector<std::string>>(listed)) {
        if (auto fault = add(given, gathered)) {
            return std::move(*fault);
        }
    }
    return gathered;
}

} // namespace selvo
