// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/DatasetTargets.h"

#include "batch/BatchPlan.h"
#include "datafiles/DatasetTable.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace selvo {
namespace {

// Where a file of the dataset goes: where a link of its name leads, link after link.
std::optional<fs::path> whereWritten(const fs::path& path) {
    const std::optional<std::string> target = whereLinksLead(utf8Of(path));
    return target ? std::optional(fs::absolute(pathFromUtf8(*target))) : std::nullopt;
}

std::string linkLoop(const std::string& shown) {
    return shown + " è un collegamento simbolico che rimanda a sé stesso, direttamente o "
                   "attraverso altri: correggere il collegamento.";
}

DatasetKey keyOf(const BatchOptions& options, const fs::path& folder) {
    if (options.keyFile) {
        return {fs::absolute(pathFromUtf8(*options.keyFile)), *options.keyFile, {}};
    }
    const std::string name = DatasetKeyName(*options.dataset);
    return {folder / pathFromUtf8(name),
            utf8Of(pathFromUtf8(options.datasetDir.value_or(options.outDir.value_or(""))) /
                   pathFromUtf8(name)),
            {}};
}

// A key of --chiave needs a folder that exists, and a name its disk can hold.
std::optional<std::string> keyFolderFault(const DatasetKey& key) {
    const std::string folder = utf8Of(key.file.parent_path());
    if (!folderExists(folder)) {
        return "la cartella \"" + absolutePath(folder) +
               "\" non esiste: crearla prima, o indicare un'altra cartella.";
    }
    if (!fileNameFits(folder, utf8Of(key.file.filename()))) {
        return "il nome del file è troppo lungo per il disco della cartella \"" +
               absolutePath(folder) + "\": sceglierne uno più corto.";
    }
    return std::nullopt;
}

} // namespace

std::variant<DatasetTargets, TargetFault> PlanDatasetTargets(const BatchOptions& options) {
    DatasetTargets targets;
    const std::optional<std::string>& folder =
        options.datasetDir ? options.datasetDir : options.outDir;
    targets.folder = folder ? fs::absolute(pathFromUtf8(*folder)) : pathFromUtf8(currentFolder());
    if (!options.dataset) {
        return targets;
    }
    const std::string dataset = "--dataset " + *options.dataset;
    const bool keyBeside = options.pseudonyms && !options.keyFile;
    if (const auto tooLong = DatasetNameTooLong(targets.folder, *options.dataset, keyBeside)) {
        return TargetFault{dataset, *tooLong};
    }
    if (options.pseudonyms) {
        DatasetKey key = keyOf(options, targets.folder);
        const std::string what = "chiave dei codici " + key.shown;
        const std::optional<fs::path> file = whereWritten(key.file);
        if (!file) {
            return TargetFault{what, linkLoop(key.shown)};
        }
        key.file = *file;
        if (options.keyFile) {
            if (auto fault = keyFolderFault(key)) {
                return TargetFault{what, std::move(*fault)};
            }
        }
        targets.key = std::move(key);
    }
    DatasetPaths paths;
    for (const std::string& name : DatasetFileNames(*options.dataset)) {
        const auto file = whereWritten(targets.folder / pathFromUtf8(name));
        if (!file) {
            return TargetFault{dataset, linkLoop(name)};
        }
        paths.files.push_back(*file);
    }
    targets.paths = std::move(paths);
    return targets;
}

} // namespace selvo
