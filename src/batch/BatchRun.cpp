// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchRun.h"

#include "administration/Completion.h"
#include "administration/ItemBank.h"
#include "batch/BatchDataset.h"
#include "batch/BatchInputs.h"
#include "batch/BatchPlan.h"
#include "batch/DatasetKeyLock.h"
#include "batch/DatasetTargets.h"
#include "batch/SubjectGroup.h"
#include "datafiles/DatasetTable.h"
#include "platform/TextFile.h"
#include "processing/ProcessData.h"
#include "text/AsciiCase.h"
#include "text/TextSafety.h"
#include "text/WindowsNames.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <ostream>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// Below this many files a run is over before progress would help.
constexpr std::size_t kProgressFromFiles = 5;

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

// The storage of the item bank's tables, handed from one subject's state to the next. What
// it holds never matters: LoadItemBank assigns every text of both tables.
class ItemBankStorage {
public:
    void lendTo(ProgramState& state) { swapWith(state); }
    void takeBackFrom(ProgramState& state) { swapWith(state); }

private:
    void swapWith(ProgramState& state) {
        std::swap(m_itemText, state.ItemText);
        std::swap(m_criteriaText, state.CriteriaText);
    }
    decltype(ProgramState::ItemText) m_itemText;
    decltype(ProgramState::CriteriaText) m_criteriaText;
};

class Progress {
public:
    Progress(std::ostream& err, ProgressLine style, std::size_t total)
        : m_err(err), m_style(total >= kProgressFromFiles ? style : ProgressLine::None),
          m_total(total) {}
    void show(std::size_t done) {
        if (m_style != ProgressLine::None) {
            const std::string text =
                "selvo-batch: file " + std::to_string(done) + " di " + std::to_string(m_total);
            m_err << "\r" << text << std::flush;
            m_shownLength = text.size();
        }
    }
    // A message line must not be written over the progress line.
    std::ostream& line() {
        erase();
        return m_err;
    }
    void finish() {
        erase();
        m_err << std::flush;
    }

private:
    void erase() {
        if (m_style == ProgressLine::EraseSequence) {
            m_err << "\r\x1b[K";
        } else if (m_style == ProgressLine::Blanks) {
            m_err << "\r" << std::string(m_shownLength, ' ') << "\r";
        }
    }

    std::ostream& m_err;
    ProgressLine m_style;
    std::size_t m_total;
    std::size_t m_shownLength = 0;
};

// "dd/mm/yyyy hh:mm:ss" in UTC, computed here: gmtime differs between systems in its thread
// safety and in the years it takes.
std::string UtcDateTimeText(long long seconds) {
    // Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
    const long long z = seconds / 86400 + 719468;
    const long long era = z / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const long long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const long long secondOfDay = seconds % 86400;
    char text[128];
    std::snprintf(text, sizeof text, "%02lld/%02lld/%04lld %02lld:%02lld:%02lld", day, month, year,
                  secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    return text;
}

// What an option's value names, for the message when it is missing.
std::string what(std::string_view option) {
    if (option == "--out") {
        return "il nome di una cartella";
    }
    if (option == "--elenco") {
        return "il nome di un file, o - per lo standard input";
    }
    return option == "--chiave" ? "il nome di un file" : "un nome";
}

struct OptionValue {
    std::string name;
    std::string value;
    std::optional<std::string> error;
};

// An option that takes a value, as "--name VALUE" or "--name=VALUE"; nothing when args[i] is
// none of `names`. Moves i past a value given as the next argument.
std::optional<OptionValue> optionWithValue(const std::vector<std::string>& args, std::size_t& i,
                                           std::initializer_list<std::string_view> names) {
    const std::string& arg = args[i];
    for (const std::string_view name : names) {
        OptionValue option{std::string(name), {}, {}};
        if (arg == name) {
            if (i + 1 == args.size()) {
                option.error = option.name + " richiede " + what(name) + ".";
                return option;
            }
            option.value = args[++i];
        } else if (arg.starts_with(std::string(name) + "=")) {
            option.value = arg.substr(name.size() + 1);
        } else {
            continue;
        }
        if (option.value.empty()) {
            option.error = option.name + " richiede " + what(name) + ".";
        }
        return option;
    }
    return std::nullopt;
}

} // namespace

std::variant<BatchOptions, UsageError> ParseBatchArguments(const std::vector<std::string>& args) {
    BatchOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--pseudonimi") {
            options.pseudonyms = true;
        } else if (arg == "--sostituisci") {
            options.replaceOthers = true;
        } else if (const auto option =
                       optionWithValue(args, i, {"--out", "--dataset", "--chiave", "--elenco"})) {
            if (option->error) {
                return UsageError{*option->error};
            }
            std::optional<std::string>& target = option->name == "--out"       ? options.outDir
                                                 : option->name == "--dataset" ? options.dataset
                                                 : option->name == "--chiave"  ? options.keyFile
                                                                               : options.list;
            if (target) {
                return UsageError{option->name + " indicato più volte."};
            }
            target = option->value;
        } else {
            return UsageError{"opzione sconosciuta: " + arg};
        }
    }
    if (options.files.empty() && !options.list && !options.help) {
        return UsageError{"nessun file di dati indicato."};
    }
    if (options.dataset) {
        if (auto fault = DatasetNameFault(*options.dataset)) {
            return UsageError{std::move(*fault)};
        }
    }
    if (options.keyFile) {
        // The key's own name, after any folder as either system spells it.
        const std::string& key = *options.keyFile;
        const std::size_t folderEnd = key.find_last_of("/\\");
        const std::string name = folderEnd == std::string::npos ? key : key.substr(folderEnd + 1);
        if (isWindowsDeviceName(name)) {
            return UsageError{"--chiave «" + key + "»: il nome «" + name +
                              "» è un nome che Windows riserva ai dispositivi (" +
                              kWindowsDeviceNames +
                              "): su Windows la chiave non si potrebbe aprire. Indicare un altro "
                              "nome di file."};
        }
    }
    if (options.keyFile && !options.pseudonyms) {
        return UsageError{"--chiave indica dove scrivere la chiave dei codici, che esiste solo "
                          "con --pseudonimi: aggiungere --pseudonimi o togliere --chiave."};
    }
    if (options.pseudonyms && !options.dataset) {
        return UsageError{"--pseudonimi vale per il dataset: aggiungere --dataset NOME."};
    }
    return options;
}

std::string BatchUsage() {
    return "Uso: selvo-batch [--out CARTELLA] [--sostituisci] [--dataset NOME\n"
           "                  [--pseudonimi [--chiave FILE]]] [--elenco ELENCO] FILE...\n"
           "Rielabora i file di dati salvati da BrivanSelvo (SELVO_Cognome_Nome.csv): per\n"
           "ogni soggetto riscrive il file di dati, il referto RTF e il file di comandi\n"
           "SPSS accanto al suo file di dati, oppure nella CARTELLA indicata (creata se non\n"
           "esiste).\n"
           "Un FILE può essere anche una cartella: ne sono elaborati i file .csv (non\n"
           "quelli delle cartelle al suo interno), tranne i dataset e le chiavi dei codici.\n"
           "Con --elenco i file o le cartelle sono letti da ELENCO, uno per riga (UTF-8), e\n"
           "con --elenco - dallo standard input.\n"
           "Se lì c'è già un file di dati con lo stesso nome ma un'altra somministrazione\n"
           "(un retest, un omonimo), il soggetto non è elaborato: con --sostituisci quel\n"
           "file è sostituito e la sua somministrazione va persa.\n"
           "Con --dataset scrive anche NOME.csv, una riga per ogni soggetto elaborato,\n"
           "NOME.sav, gli stessi casi come file di dati SPSS con le etichette (per SPSS,\n"
           "PSPP, jamovi, JASP e R), NOME.sps, i comandi SPSS/PSPP che da NOME.csv fanno\n"
           "NOME.sav, e NOME_codebook.csv, il significato di ogni variabile: nella\n"
           "CARTELLA, o senza --out nella cartella corrente. NOME va indicato senza\n"
           "cartella e senza estensione. Ogni riga inizia con ID (il nome del file di dati\n"
           "senza cartella ed estensione), Cognome e Nome.\n"
           "Con --pseudonimi l'ID è un codice (S0001, S0002, ...) e nel dataset non\n"
           "compaiono nomi né cognomi; la chiave dei codici va in NOME_chiave.csv accanto\n"
           "al dataset, o nel FILE indicato con --chiave, leggibile solo dal proprietario.\n"
           "Una chiave già presente è riletta: ogni somministrazione (riconosciuta dalle\n"
           "sue risposte) mantiene il suo codice, anche sotto un altro nome di file.\n"
           "Ctrl+C completa i soggetti in corso, dice che cosa è stato scritto ed esce con\n"
           "130, senza scrivere il dataset. Dopo un'interruzione di altro tipo la prossima\n"
           "elaborazione nella stessa cartella completa i file lasciati a metà.\n"
           "Esce con 0 se tutti i file sono stati elaborati, 1 se qualcuno non è riuscito o\n"
           "il dataset non è stato scritto, 2 per un errore nella riga di comando.\n";
}

namespace {

// The exit status of a run stopped by Ctrl+C (or SIGTERM), as a shell gives a program ended by
// SIGINT.
constexpr int kInterrupted = 130;

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

} // namespace

int RunBatch(const BatchOptions& given, BatchOutput output, const DateTimeSource& now) {
    auto gathered = GatherInputs(given);
    if (const auto* fault = std::get_if<std::string>(&gathered)) {
        output.err << "selvo-batch: " << visibleText(*fault) << " Nessun file è stato scritto.\n";
        return 2;
    }
    for (const std::string& note : std::get<GatheredInputs>(gathered).notes) {
        output.err << "selvo-batch: " << visibleText(note) << "\n";
    }
    BatchOptions options = given;
    options.files = std::move(std::get<GatheredInputs>(gathered).files);
    if (options.files.empty()) {
        output.err << "selvo-batch: nessun file di dati da elaborare: le cartelle e l'elenco "
                      "indicati non ne contengono. Nessun file è stato scritto.\n";
        return 2;
    }
    if (options.outDir) {
        if (const auto fault = makeOutFolder(*options.outDir)) {
            output.err << "selvo-batch: " << *fault << "\n";
            return 2;
        }
    }
    const auto refused = [&output](const std::string& what, const std::string& why) {
        output.err << "selvo-batch: " << visibleText(what) << ": " << visibleText(why)
                   << " Nessun file è stato scritto.\n";
        return 2;
    };
    auto targets = PlanDatasetTargets(options);
    if (const auto* fault = std::get_if<TargetFault>(&targets)) {
        return refused(fault->what, fault->why);
    }
    const fs::path datasetFolder = std::get<DatasetTargets>(targets).folder;
    std::optional<DatasetKey> key = std::move(std::get<DatasetTargets>(targets).key);
    const std::optional<DatasetPaths> datasetPaths = std::get<DatasetTargets>(targets).paths;
    const auto sayBusy = [&output](const std::string& folder) {
        output.err << "selvo-batch: la cartella \"" << visibleText(folder)
                   << "\" è in uso da un'altra elaborazione di BrivanSelvo: attendo che si "
                      "liberi.\n";
    };
    const FolderWait wait{output.busyFolderNotice,
                          [&sayBusy](const std::string& folder) {
                              sayBusy(folder);
                              return true;
                          },
                          output.interrupted};
    for (const fs::path& folder : foldersWrittenInto(options, datasetFolder, key)) {
        completeInterruptedCommits(utf8Of(folder), wait);
    }
    // Every input is read and every output planned before anything is written, so no input
    // can be replaced before it has been read.
    FolderNames names;
    std::vector<PlannedInput> plan = PlanBatch(options, names);
    std::optional<BatchDataset> dataset;
    KeyLock keyLock;
    if (options.dataset) {
        std::vector<DatasetOutput> outputs;
        const std::vector<std::string> shownNames = DatasetFileNames(*options.dataset);
        for (std::size_t i = 0; i < shownNames.size(); ++i) {
            const fs::path& file = datasetPaths->files[i];
            outputs.push_back({file.parent_path(), utf8Of(file.filename()), shownNames[i],
                               "scegliere un altro nome con --dataset"});
        }
        if (key) {
            outputs.push_back({key->file.parent_path(), utf8Of(key->file.filename()), key->shown,
                               options.keyFile ? "indicare per la chiave un altro file con --chiave"
                                               : "scegliere un altro nome con --dataset o "
                                                 "indicare per la chiave un file con --chiave"});
        }
        if (const auto conflict = DatasetConflict(plan, outputs, names)) {
            return refused("--dataset " + *options.dataset, *conflict);
        }
        // The codes already given are read before any subject is processed: a key that
        // cannot be read stops the run while nothing has been written. From then on the key
        // is this run's alone, until it is written.
        if (key) {
            keyLock = LockDatasetKey(
                utf8Of(key->file),
                {output.busyFolderNotice,
                 [&] {
                     output.err << "selvo-batch: la chiave dei codici " << visibleText(key->shown)
                                << " è in uso da un'altra elaborazione di BrivanSelvo: attendo "
                                   "che si liberi.\n";
                 },
                 output.interrupted});
            if (keyLock.stopped) {
                output.err << "selvo-batch: interrotta. Nessun file è stato scritto.\n";
                return kInterrupted;
            }
            auto read = ReadDatasetKey(key->file);
            if (const auto* why = std::get_if<std::string>(&read)) {
                return refused("chiave dei codici " + key->shown, *why);
            }
            key->codes = std::get<PseudonymKey>(std::move(read));
            key->codes.reserveFileNames(DataFileNames(plan));
        }
        dataset.emplace(*datasetPaths, options.outDir.value_or(""), *options.dataset,
                        std::move(key));
    }
    if (output.interrupted()) {
        output.err << "selvo-batch: interrotta. Nessun file è stato scritto.\n";
        return kInterrupted;
    }
    std::size_t succeeded = 0;
    std::size_t failures = 0;
    std::size_t repeated = 0; // files given again, done where first given
    Progress progress(output.err, output.progress, plan.size());
    const auto failed = [&](const std::string& file, const std::string& reason) {
        // Names and fields from the files are shown, never obeyed by the terminal.
        progress.line() << "selvo-batch: " << visibleText(file) << ": " << visibleText(reason)
                        << "\n";
        ++failures;
    };
    // Another run writing into the same folder: its subject's files go in first, then ours.
    const auto sayBusyOnProgress = [&progress](const std::string& folder) {
        progress.line() << "selvo-batch: la cartella \"" << visibleText(folder)
                        << "\" è in uso da un'altra elaborazione di BrivanSelvo: attendo che si "
                           "liberi.\n";
    };

    // A subject is told written, and its case joins the dataset, once its group is on disk.
    SubjectGroup group(output.busyFolderNotice, sayBusyOnProgress, output.interrupted,
                       [&](const WaitingSubject& subject, const std::optional<FileError>& error) {
                           if (error) {
                               failed(subject.file, error->message());
                               return;
                           }
                           ++succeeded;
                           if (dataset) {
                               if (const auto note =
                                       dataset->addCase(subject.file, subject.subject,
                                                        subject.answers, subject.scores)) {
                                   progress.line() << "selvo-batch: " << visibleText(subject.file)
                                                   << ": " << visibleText(*note) << "\n";
                               }
                           }
                           if (!subject.missing.empty()) {
                               std::string said = MissingItemsMessage(subject.missing);
                               said[0] = 'm';
                               progress.line() << "selvo-batch: " << visibleText(subject.file)
                                               << ": elaborato, ma " << said << "\n";
                           }
                       });
    // Storage for the item bank's texts, lent to each subject's state in turn: loading the
    // bank then copies every text into storage already there instead of allocating it anew.
    ItemBankStorage bankStorage;
    SubjectFolders folders;
    std::size_t seen = 0;
    for (PlannedInput& input : plan) {
        // Ctrl+C: the subjects in hand are finished, then the run stops.
        if (output.interrupted()) {
            break;
        }
        ++seen;
        // Read despite damage: said whether or not the subject then succeeds.
        if (!input.note.empty()) {
            progress.line() << "selvo-batch: " << visibleText(input.file)
                            << ": nota: " << visibleText(input.note) << "\n";
        }
        if (input.sameFileAs) {
            progress.line() << "selvo-batch: " << visibleText(input.file)
                            << ": è lo stesso file di " << visibleText(*input.sameFileAs)
                            << ", indicato più volte: elaborato una volta sola.\n";
            ++repeated;
        } else if (input.refusal) {
            failed(input.file, *input.refusal);
        } else {
            ProgramState& state = input.state;
            bankStorage.lendTo(state);
            LoadItemBank(state); // the report quotes criteria texts, the export item texts
            try {
                const std::string folder = folders.resolve(input.folder);
                ComposedSubject composed = ComposeSubject(state, folder, now);
                if (!composed.files.ok()) {
                    failed(input.file, composed.files.error().message());
                } else {
                    group.add({input.file, folder, std::move(composed.subject),
                               std::move(composed.answers), std::move(composed.scores),
                               MissingItems(state)},
                              composed.files.value());
                }
            } catch (const fs::filesystem_error& cannotEnter) {
                failed(input.file, "impossibile entrare nella cartella " + utf8Of(input.folder) +
                                       ": " +
                                       describeErrno(cannotEnter.code().value(), FileAccess::Read));
            }
            // The subject is done: its memory goes before the next one is processed. It is
            // moved out to be freed: assigning a fresh state would keep every string's buffer.
            bankStorage.takeBackFrom(state);
            std::exchange(input.state, ProgramState{});
        }
        progress.show(seen);
    }
    group.finish();
    progress.finish();
    const std::string counts = "selvo-batch: " + std::to_string(succeeded) +
                               (succeeded == 1 ? " file elaborato, " : " file elaborati, ") +
                               std::to_string(failures) +
                               (failures == 1 ? " non riuscito" : " non riusciti");
    // Stopped: the dataset would hold only the subjects done so far, and replace the whole
    // study's; it is left as it was.
    if (output.interrupted()) {
        const std::size_t left = plan.size() - seen;
        output.out << counts << "; interrotta"
                   << (left == 0 ? std::string()
                                 : ": " + std::to_string(left) +
                                       (left == 1 ? " file non è stato elaborato"
                                                  : " file non sono stati elaborati"))
                   << (dataset ? dataset->notWritten("") : std::string()) << ".\n";
        return kInterrupted;
    }
    // The dataset comes last: it holds the cases of the subjects whose files were written.
    BatchDataset::Outcome written;
    if (dataset) {
        written = dataset->write(wait, now());
        if (written.error) {
            output.err << "selvo-batch: " << written.error->message() << "\n";
        }
    }
    output.out << counts << written.said << ".\n";
    return failures == 0 && !written.error ? 0 : 1;
}

std::variant<DateTimeSource, UsageError> BatchDateTimeSource(const char* sourceDateEpoch) {
    if (sourceDateEpoch == nullptr || *sourceDateEpoch == '\0') {
        return DateTimeSource(CurrentDateTimeText);
    }
    // The last second a report's four-digit year can show: 31/12/9999 23:59:59.
    constexpr long long kLastSecond = 253402300799;
    const std::string_view text(sourceDateEpoch);
    long long seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (!std::all_of(text.begin(), text.end(), isAsciiDigit) || error != std::errc() ||
        seconds > kLastSecond) {
        return UsageError{"SOURCE_DATE_EPOCH vale «" + std::string(text) +
                          "», ma deve essere un numero intero di secondi dal 1° gennaio 1970 "
                          "(UTC), scritto con sole cifre, da 0 a " +
                          std::to_string(kLastSecond) +
                          " (31/12/9999 23:59:59): per esempio 1700000000. Correggerlo, o "
                          "toglierlo per datare i referti con l'ora dell'orologio."};
    }
    const std::string fixed = UtcDateTimeText(seconds);
    return DateTimeSource([fixed] { return fixed; });
}

int BatchMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              ProgressLine progress) {
    const auto parsed = ParseBatchArguments(args);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        err << "selvo-batch: " << visibleText(usage->message) << "\n" << BatchUsage();
        return 2;
    }
    const auto& options = std::get<BatchOptions>(parsed);
    if (options.help) {
        out << BatchUsage();
        return 0;
    }
    const auto now = BatchDateTimeSource(std::getenv("SOURCE_DATE_EPOCH"));
    if (const auto* wrong = std::get_if<UsageError>(&now)) {
        err << "selvo-batch: " << visibleText(wrong->message) << "\n";
        return 2;
    }
    // Ctrl+C, SIGTERM or the console closing: the run finishes the subjects in hand, says
    // what was written and exits with 130.
    catchInterruptions();
    const int status =
        RunBatch(options, {out, err, progress, std::chrono::seconds(3), interruptionRequested},
                 std::get<DateTimeSource>(now));
    out.flush();
    interruptionHandled();
    return status;
}

} // namespace selvo
