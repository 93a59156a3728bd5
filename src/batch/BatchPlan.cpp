// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchPlan.h"

#include "batch/BatchDataset.h"
#include "datafiles/DataFile.h"
#include "datafiles/DatasetTable.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "questionnaire/Product.h"
#include "questionnaire/SubjectFiles.h"
#include "subject/OtherAdministration.h"
#include "subject/SubjectChecks.h"

#include <map>
#include <set>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// The fields the subject form would still ask for, as the form names them.
std::string missingFields(const SubjectRecord& subject) {
    std::string missing;
    for (const questionnaire::RequiredField& required : questionnaire::kRequiredFields) {
        const std::string& value = subject[required.field];
        if (required.coded ? value == "0" : value.empty()) {
            missing += (missing.empty() ? "" : ", ") + std::string(required.listedAs);
        }
    }
    return missing;
}

// Reads the file's subject as the window holds it once the reload has read the file and the
// operator has confirmed the subject form unchanged; the fault when it cannot. What the reader
// noted on a damaged file is kept in `content`.
std::optional<std::string> loadSubject(const fs::path& dataFile, DataFileContent& content) {
    FileResult<DataFileContent> read = ReadDataFile(utf8Of(dataFile));
    if (!read.ok()) {
        return "lettura non riuscita: " + read.error().reason;
    }
    content = std::move(read).value();
    SubjectRecord& subject = content.subject;
    if (const std::string missing = missingFields(subject); !missing.empty()) {
        return "dati del soggetto incompleti (manca: " + missing +
               "); completarli ricaricando il file in BrivanSelvo.";
    }
    if (const auto unsafe = UnsafeSubjectName(subject)) {
        return unsafe->message;
    }
    subject.notes = NotesWithWindowsLineEnds(subject.notes);
    return std::nullopt;
}

// An output file, by its folder's identity and its name: two spellings of one folder (a link,
// "./", "..") give the same key.
struct OutputKey {
    std::optional<FileIdentity> folder;
    std::string folderSpelling; // only when the folder cannot be identified
    std::string name;           // as the folder compares names
    auto operator<=>(const OutputKey&) const = default;
};

OutputKey fileKey(const fs::path& folder, const std::string& name, FolderNames& names) {
    const std::optional<FileIdentity> identity = fileIdentity(utf8Of(folder));
    return {identity, identity ? "" : utf8Of(folder.lexically_normal()),
            names.key(utf8Of(folder), name)};
}

std::vector<std::string> subjectOutputs(const SubjectRecord& subject) {
    return {SubjectDataFileName(subject), SubjectReportFileName(subject),
            SubjectCommandFileName(subject)};
}

struct Conflicts {
    std::set<std::size_t> sameOutputs;   // would write the same files
    std::set<std::size_t> replacesInput; // would replace that input (itself, for an output
                                         // other than its own data file)
};

std::string joined(const std::vector<PlannedInput>& plan, const std::set<std::size_t>& others) {
    std::string names;
    std::size_t i = 0;
    for (const std::size_t other : others) {
        names += (i == 0 ? "" : (i + 1 == others.size() ? " e " : ", ")) + plan[other].file;
        ++i;
    }
    return names;
}

std::string refusalFor(const std::vector<PlannedInput>& plan, const Conflicts& conflicts) {
    std::string why;
    const auto add = [&why](const std::string& reason) {
        why += (why.empty() ? "" : "; ") + reason;
    };
    if (!conflicts.sameOutputs.empty()) {
        add("ha lo stesso Cognome/Codice e Nome/Codice di " + joined(plan, conflicts.sameOutputs) +
            ": i loro file avrebbero lo stesso nome nella "
            "stessa cartella");
    }
    if (!conflicts.replacesInput.empty()) {
        add("i suoi file sostituirebbero " + joined(plan, conflicts.replacesInput) +
            ", indicato in questa stessa esecuzione");
    }
    return why + ". Nessun file è stato scritto per questo soggetto e i file indicati sono "
                 "intatti: elaborarli uno per volta con --out in cartelle diverse.";
}

// The dataset names a subject by its data file's name: two data files of one name, from two
// folders, would be two rows of one ID there, and one entry of a key.
void refuseSameIds(std::vector<PlannedInput>& plan) {
    std::map<std::string, std::set<std::size_t>> byId;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (!plan[i].refusal && !plan[i].sameFileAs) {
            byId[DatasetSubjectId(plan[i].file)].insert(i);
        }
    }
    for (const auto& [id, inputs] : byId) {
        for (const std::size_t i : inputs) {
            if (inputs.size() > 1) {
                std::set<std::size_t> others = inputs;
                others.erase(i);
                plan[i].refusal = "ha lo stesso nome di " + joined(plan, others) +
                                  ": nel dataset avrebbero lo stesso ID. Nessun file è stato "
                                  "scritto per questo soggetto e i file indicati sono intatti: "
                                  "rinominare uno dei file di dati, o elaborarli in due "
                                  "esecuzioni con dataset diversi.";
            }
        }
    }
}

} // namespace

std::vector<PlannedInput> PlanBatch(const BatchOptions& options, FolderNames& names) {
    std::vector<PlannedInput> plan;
    plan.reserve(options.files.size()); // states are large: each is built in place, never moved
    std::vector<std::optional<FileIdentity>> inputIdentity;
    std::vector<std::vector<OutputKey>> outputs(options.files.size());
    std::optional<fs::path> outFolder; // made absolute once, when first needed
    std::map<FileIdentity, std::size_t> firstGiven;
    for (const std::string& file : options.files) {
        PlannedInput& input = plan.emplace_back();
        input.file = file;
        std::error_code error;
        const fs::path dataFile = fs::absolute(pathFromUtf8(file), error);
        inputIdentity.push_back(error ? std::nullopt : fileIdentity(utf8Of(dataFile)));
        if (const auto& identity = inputIdentity.back()) {
            const auto [first, isFirst] = firstGiven.emplace(*identity, plan.size() - 1);
            if (!isFirst) {
                input.sameFileAs = plan[first->second].file;
                continue;
            }
        }
        if (error) {
            input.refusal = "percorso non valido.";
        } else {
            input.refusal = loadSubject(dataFile, input.content);
            if (options.outDir && !outFolder) {
                outFolder = fs::absolute(pathFromUtf8(*options.outDir));
            }
            input.folder = outFolder ? *outFolder : dataFile.parent_path();
        }
    }

    // Which input each existing file is, and which inputs plan to write each output.
    // A file given again is planned where it was first given, and only there.
    std::map<OutputKey, std::set<std::size_t>> writers;
    std::map<fs::path, OutputKey> folderKeys; // most inputs share a folder: each is looked up once
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].refusal || plan[i].sameFileAs) {
            continue;
        }
        auto folder = folderKeys.find(plan[i].folder);
        if (folder == folderKeys.end()) {
            folder = folderKeys.emplace(plan[i].folder, fileKey(plan[i].folder, "", names)).first;
        }
        for (const std::string& name : subjectOutputs(plan[i].content.subject)) {
            OutputKey key = folder->second;
            key.name = names.key(utf8Of(plan[i].folder), name);
            outputs[i].push_back(std::move(key));
            writers[outputs[i].back()].insert(i);
        }
    }

    std::vector<Conflicts> conflicts(plan.size());
    std::vector<std::optional<OtherAdministration>> others(plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        for (std::size_t k = 0; k < outputs[i].size(); ++k) {
            const OutputKey& output = outputs[i][k];
            for (const std::size_t other : writers[output]) {
                if (other != i) {
                    conflicts[i].sameOutputs.insert(other);
                }
            }
            // The file already there under the output's name, however the folder spells it.
            const std::string targetPath =
                utf8Of(plan[i].folder / pathFromUtf8(subjectOutputs(plan[i].content.subject)[k]));
            const auto target = fileIdentity(targetPath);
            const auto replaced = target ? firstGiven.find(*target) : firstGiven.end();
            if (replaced == firstGiven.end()) {
                // A data file of the subject's name that is no input of the run: a retest or
                // a namesake is not replaced unasked.
                if (target && k == 0 && !options.replaceOthers) {
                    others[i] = OtherAdministrationAt(targetPath, plan[i].content.subject,
                                                      plan[i].content.answers, inputIdentity[i]);
                }
                continue;
            }
            // Rewriting an input as its own data file keeps it; any other output over an
            // input would lose it.
            const std::size_t other = replaced->second;
            if (!(other == i && k == 0)) {
                conflicts[i].replacesInput.insert(other);
            }
        }
    }
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const Conflicts& c = conflicts[i];
        if (!plan[i].refusal && (!c.sameOutputs.empty() || !c.replacesInput.empty())) {
            plan[i].refusal = refusalFor(plan, c);
        } else if (!plan[i].refusal && others[i]) {
            plan[i].refusal = OtherAdministrationRefusal(*others[i]);
        }
    }
    if (options.dataset) {
        refuseSameIds(plan);
    }
    return plan;
}

std::set<std::string> DataFileNames(const std::vector<PlannedInput>& plan) {
    std::set<std::string> names;
    for (const PlannedInput& input : plan) {
        if (!input.refusal && !input.sameFileAs) {
            names.insert(utf8Of(pathFromUtf8(input.file).filename()));
        }
    }
    return names;
}

std::optional<std::string> DatasetConflict(const std::vector<PlannedInput>& plan,
                                           const std::vector<DatasetOutput>& files,
                                           FolderNames& names) {
    std::vector<std::pair<OutputKey, std::optional<FileIdentity>>> targets;
    for (const DatasetOutput& file : files) {
        const OutputKey target = fileKey(file.folder, file.name, names);
        const std::optional<FileIdentity> existing =
            fileIdentity(utf8Of(file.folder / pathFromUtf8(file.name)));
        for (std::size_t k = 0; k < targets.size(); ++k) {
            if (targets[k].first == target || (existing && existing == targets[k].second)) {
                return file.shown + " sarebbe lo stesso file di " + files[k].shown + ": " +
                       file.remedy + ".";
            }
        }
        targets.emplace_back(target, existing);
        for (const PlannedInput& input : plan) {
            std::error_code error;
            const fs::path path = fs::absolute(pathFromUtf8(input.file), error);
            if (error) {
                continue;
            }
            const bool sameIdentity = existing && existing == fileIdentity(utf8Of(path));
            if (sameIdentity ||
                fileKey(path.parent_path(), utf8Of(path.filename()), names) == target) {
                return file.shown + " sostituirebbe " + input.file +
                       ", indicato in questa stessa esecuzione (forse il dataset di "
                       "un'esecuzione precedente): toglierlo dall'elenco dei file o " +
                       file.remedy + ".";
            }
            if (input.refusal || input.sameFileAs) {
                continue;
            }
            for (const std::string& output : subjectOutputs(input.content.subject)) {
                if (fileKey(input.folder, output, names) == target) {
                    return file.shown + " avrebbe lo stesso nome di un file del soggetto di " +
                           input.file + " nella stessa cartella: " + file.remedy + ".";
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> DatasetNameTooLong(const fs::path& folder, const std::string& name,
                                              bool withKey) {
    const std::string where = utf8Of(folder);
    std::vector<std::string> files = DatasetFileNames(name);
    if (withKey) {
        files.push_back(DatasetKeyName(name));
    }
    for (const std::string& file : files) {
        if (!fileNameFits(where, file)) {
            const FileNameLimit limit = fileNameLimit(where);
            return "il nome è troppo lungo: " + file + " supera i " + std::to_string(limit.length) +
                   " " + limit.unit + " che il disco della cartella \"" + absolutePath(where) +
                   "\" ammette per il nome di un file (contando le aggiunte .csv, .sps, .sav e "
                   "_codebook.csv" +
                   (withKey ? ", e _chiave.csv per la chiave dei codici" : "") +
                   "). Scegliere un nome più corto con --dataset.";
        }
    }
    return std::nullopt;
}

} // namespace selvo
