// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchJob.h"

#include "administration/Completion.h"
#include "batch/BatchInputs.h"
#include "batch/DatasetTargets.h"
#include "batch/SubjectGroup.h"
#include "datafiles/DatasetTable.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/Locks.h"
#include "platform/Paths.h"
#include "processing/ProcessData.h"
#include "text/TextSafety.h"

#include <filesystem>
#include <map>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// The folder a subject's files go into, as the system resolves it (links and ".." followed),
// checked when its turn comes: a folder removed or replaced during the run fails that subject
// alone. Throws filesystem_error when it cannot be used.
std::string subjectFolder(const fs::path& folder) {
    const fs::path resolved = fs::canonical(folder);
    if (!fs::is_directory(resolved)) {
        throw fs::filesystem_error("not a folder", folder,
                                   std::make_error_code(std::errc::not_a_directory));
    }
    return utf8Of(resolved);
}

// Subjects' folders as subjectFolder resolves them, each kept with its identity: most subjects
// share a folder, which is resolved again only when its path no longer names the same folder.
class SubjectFolders {
public:
    std::string resolve(const fs::path& folder) {
        const std::optional<FileIdentity> identity = fileIdentity(utf8Of(folder));
        const auto known = m_resolved.find(folder);
        if (identity && known != m_resolved.end() && known->second.identity == *identity) {
            return known->second.path;
        }
        std::string resolved = subjectFolder(folder);
        if (identity) {
            m_resolved.insert_or_assign(folder, Resolved{*identity, resolved});
        }
        return resolved;
    }

private:
    struct Resolved {
        FileIdentity identity;
        std::string path;
    };
    std::map<fs::path, Resolved> m_resolved;
};

// The output folder, made before anything is planned: how the folder compares names, and how
// long a name it holds, can be asked only of a folder that exists on its disk. Why not.
std::optional<std::string> makeOutFolder(const std::string& folder) {
    std::error_code error;
    const fs::path outDir = pathFromUtf8(folder);
    fs::create_directories(outDir, error);
    if (error || !fs::is_directory(outDir)) {
        return "impossibile usare la cartella \"" + visibleText(absolutePath(folder)) +
               "\": " + (error ? describeErrno(error.value()) : "non è una cartella.");
    }
    return std::nullopt;
}

// The folders the run writes into, completed before anything there is read: what a run killed
// in the middle of a subject left is finished first.
std::set<fs::path> foldersWrittenInto(const BatchOptions& options, const fs::path& datasetFolder,
                                      const std::optional<DatasetKey>& key) {
    std::set<fs::path> folders;
    if (options.outDir) {
        folders.insert(fs::absolute(pathFromUtf8(*options.outDir)));
    } else {
        for (const std::string& file : options.files) {
            std::error_code error;
            const fs::path path = fs::absolute(pathFromUtf8(file), error);
            if (!error) {
                folders.insert(path.parent_path());
            }
        }
    }
    if (options.dataset) {
        folders.insert(datasetFolder);
    }
    if (key) {
        folders.insert(key->file.parent_path());
    }
    return folders;
}

std::string busyFolderLine(const std::string& folder) {
    return "la cartella \"" + visibleText(folder) +
           "\" è in uso da un'altra elaborazione di BrivanSelvo: attendo che si liberi.";
}

FolderWait folderWait(BatchListener& listener, std::chrono::milliseconds patience) {
    return {patience,
            [&listener](const std::string& folder) {
                listener.waiting(busyFolderLine(folder));
                return true;
            },
            [&listener] { return listener.stopRequested(); }};
}

BatchStop refused(const std::string& what, const std::string& why) {
    return {2, visibleText(what) + ": " + visibleText(why) + " Nessun file è stato scritto."};
}

const BatchStop kStoppedBeforeWriting{kBatchInterrupted,
                                      "interrotta. Nessun file è stato scritto."};

// The dataset's files and the key, as the conflict check names them.
std::vector<DatasetOutput> datasetOutputs(const BatchOptions& options, const DatasetPaths& paths,
                                          const std::optional<DatasetKey>& key) {
    std::vector<DatasetOutput> outputs;
    const std::vector<std::string> shownNames = DatasetFileNames(*options.dataset);
    for (std::size_t i = 0; i < shownNames.size(); ++i) {
        const fs::path& file = paths.files[i];
        outputs.push_back({file.parent_path(), utf8Of(file.filename()), shownNames[i],
                           "scegliere un altro nome con --dataset"});
    }
    if (key) {
        outputs.push_back({key->file.parent_path(), utf8Of(key->file.filename()), key->shown,
                           options.keyFile ? "indicare per la chiave un altro file con --chiave"
                                           : "scegliere un altro nome con --dataset o "
                                             "indicare per la chiave un file con --chiave"});
    }
    return outputs;
}

std::string countsText(std::size_t succeeded, std::size_t failures) {
    return std::to_string(succeeded) +
           (succeeded == 1 ? " file elaborato, " : " file elaborati, ") + std::to_string(failures) +
           (failures == 1 ? " non riuscito" : " non riusciti");
}

} // namespace

std::variant<PreparedBatch, BatchStop> PrepareBatch(const BatchOptions& given,
                                                    BatchListener& listener,
                                                    std::chrono::milliseconds busyNotice) {
    auto gathered = GatherInputs(given);
    if (const auto* fault = std::get_if<std::string>(&gathered)) {
        return BatchStop{2, visibleText(*fault) + " Nessun file è stato scritto."};
    }
    for (const std::string& note : std::get<GatheredInputs>(gathered).notes) {
        listener.say(visibleText(note));
    }
    PreparedBatch prepared;
    prepared.m_busyNotice = busyNotice;
    BatchOptions& options = prepared.m_options;
    options = given;
    options.files = std::move(std::get<GatheredInputs>(gathered).files);
    if (options.files.empty()) {
        return BatchStop{2, "nessun file di dati da elaborare: le cartelle e l'elenco indicati "
                            "non ne contengono. Nessun file è stato scritto."};
    }
    if (options.outDir) {
        if (const auto fault = makeOutFolder(*options.outDir)) {
            return BatchStop{2, *fault};
        }
    }
    auto targets = PlanDatasetTargets(options);
    if (const auto* fault = std::get_if<TargetFault>(&targets)) {
        return refused(fault->what, fault->why);
    }
    const fs::path datasetFolder = std::get<DatasetTargets>(targets).folder;
    std::optional<DatasetKey> key = std::move(std::get<DatasetTargets>(targets).key);
    const std::optional<DatasetPaths> datasetPaths = std::get<DatasetTargets>(targets).paths;
    const FolderWait wait = folderWait(listener, busyNotice);
    for (const fs::path& folder : foldersWrittenInto(options, datasetFolder, key)) {
        completeInterruptedCommits(utf8Of(folder), wait);
    }
    // Every input is read and every output planned before anything is written, so no input
    // can be replaced before it has been read.
    FolderNames names;
    prepared.m_plan = PlanBatch(options, names);
    if (options.dataset) {
        const auto outputs = datasetOutputs(options, *datasetPaths, key);
        if (const auto conflict = DatasetConflict(prepared.m_plan, outputs, names)) {
            return refused("--dataset " + *options.dataset, *conflict);
        }
        // The codes already given are read before any subject is processed: a key that
        // cannot be read stops the run while nothing has been written. From then on the key
        // is this run's alone, until it is written.
        if (key) {
            const std::string keyShown = key->shown;
            prepared.m_keyLock = LockDatasetKey(
                utf8Of(key->file),
                {busyNotice,
                 [&listener, keyShown] {
                     listener.waiting("la chiave dei codici " + visibleText(keyShown) +
                                      " è in uso da un'altra elaborazione di BrivanSelvo: attendo "
                                      "che si liberi.");
                 },
                 [&listener] { return listener.stopRequested(); }});
            if (prepared.m_keyLock.stopped) {
                return kStoppedBeforeWriting;
            }
            auto read = ReadDatasetKey(key->file);
            if (const auto* why = std::get_if<std::string>(&read)) {
                return refused("chiave dei codici " + key->shown, *why);
            }
            key->codes = std::get<PseudonymKey>(std::move(read));
            key->codes.reserveFileNames(DataFileNames(prepared.m_plan));
        }
        prepared.m_dataset.emplace(*datasetPaths,
                                   options.datasetDir.value_or(options.outDir.value_or("")),
                                   *options.dataset, std::move(key));
    }
    if (listener.stopRequested()) {
        return kStoppedBeforeWriting;
    }
    return prepared;
}

BatchTotals RunPreparedBatch(PreparedBatch& prepared, BatchListener& listener,
                             const DateTimeSource& now) {
    std::vector<PlannedInput>& plan = prepared.m_plan;
    std::optional<BatchDataset>& dataset = prepared.m_dataset;
    BatchTotals totals;
    listener.started(plan.size());
    const auto failed = [&](std::size_t index, const std::string& reason) {
        // Names and fields from the files are shown, never obeyed by the terminal.
        listener.say(visibleText(plan[index].file) + ": " + visibleText(reason));
        ++totals.failures;
        listener.settled(index, {InputOutcome::State::Failed, reason});
    };
    // A subject is told written, and its case joins the dataset, once its group is on disk.
    SubjectGroup group(
        prepared.m_busyNotice,
        [&listener](const std::string& folder) { listener.waiting(busyFolderLine(folder)); },
        [&listener] { return listener.stopRequested(); },
        [&](const WaitingSubject& subject, const std::optional<FileError>& error) {
            if (error) {
                failed(subject.input, error->message());
                return;
            }
            ++totals.succeeded;
            std::string told;
            if (dataset) {
                if (const auto note = dataset->addCase(subject.file, subject.subject,
                                                       subject.answers, subject.scores)) {
                    listener.say(visibleText(subject.file) + ": " + visibleText(*note));
                    told = *note;
                }
            }
            if (!subject.missing.empty()) {
                std::string said = MissingItemsMessage(subject.missing);
                said[0] = 'm';
                listener.say(visibleText(subject.file) + ": elaborato, ma " + visibleText(said));
                told += (told.empty() ? "" : " ") + said;
            }
            listener.settled(subject.input, {InputOutcome::State::Written, told});
        });
    SubjectFolders folders;
    std::size_t seen = 0;
    for (PlannedInput& input : plan) {
        // Asked to stop: the subjects in hand are finished, then the run stops.
        if (listener.stopRequested()) {
            break;
        }
        const std::size_t index = seen++;
        // Read despite damage: said whether or not the subject then succeeds.
        if (!input.content.note.empty()) {
            listener.say(visibleText(input.file) + ": nota: " + visibleText(input.content.note));
        }
        if (input.sameFileAs) {
            listener.say(visibleText(input.file) + ": è lo stesso file di " +
                         visibleText(*input.sameFileAs) +
                         ", indicato più volte: elaborato una volta sola.");
            listener.settled(index, {InputOutcome::State::Repeated, *input.sameFileAs});
        } else if (input.refusal) {
            failed(index, *input.refusal);
        } else {
            try {
                const std::string folder = folders.resolve(input.folder);
                ComposedSubject composed =
                    ComposeSubject(input.content.subject, input.content.answers, folder, now);
                if (!composed.files.ok()) {
                    failed(index, composed.files.error().message());
                } else {
                    group.add({input.file, folder, std::move(composed.subject),
                               std::move(composed.answers), std::move(composed.scores),
                               MissingItems(input.content.answers), index},
                              composed.files.value());
                }
            } catch (const fs::filesystem_error& cannotEnter) {
                failed(index, "impossibile entrare nella cartella " + utf8Of(input.folder) + ": " +
                                  describeErrno(cannotEnter.code().value(), FileAccess::Read));
            }
            // The subject is done: its memory goes before the next one is processed. It is
            // moved out to be freed: assigning a fresh record would keep every string's buffer.
            std::exchange(input.content, DataFileContent{});
        }
        listener.progressed(seen);
    }
    group.finish();
    for (std::size_t index = seen; index < plan.size(); ++index) {
        listener.settled(index, {InputOutcome::State::NotReached, {}});
    }
    listener.finished();
    totals.notReached = plan.size() - seen;
    const std::string counts = countsText(totals.succeeded, totals.failures);
    // Stopped: the dataset would hold only the subjects done so far, and replace the whole
    // study's; it is left as it was.
    if (listener.stopRequested()) {
        const std::size_t left = totals.notReached;
        totals.interrupted = true;
        totals.summary = counts + "; interrotta" +
                         (left == 0 ? std::string()
                                    : ": " + std::to_string(left) +
                                          (left == 1 ? " file non è stato elaborato"
                                                     : " file non sono stati elaborati")) +
                         (dataset ? dataset->notWritten("") : std::string()) + ".";
        totals.status = kBatchInterrupted;
        return totals;
    }
    // The dataset comes last: it holds the cases of the subjects whose files were written.
    BatchDataset::Outcome written;
    if (dataset) {
        written = dataset->write(folderWait(listener, prepared.m_busyNotice), now());
        if (written.error) {
            listener.say(written.error->message());
        }
    }
    totals.summary = counts + written.said + ".";
    totals.status = totals.failures == 0 && !written.error ? 0 : 1;
    return totals;
}

} // namespace selvo
