#include "batch/BatchRun.h"

#include "administration/Completion.h"
#include "administration/ItemBank.h"
#include "batch/BatchPlan.h"
#include "scoring/ProcessData.h"
#include "shell/TextFile.h"
#include "shell/TextSafety.h"

#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// Below this many files a run is over before progress would help.
constexpr std::size_t kProgressFromFiles = 5;

// Moves into a folder for the life of the guard: the program writes its files into the
// current directory, and the batch writes each subject's files in its own folder.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : m_previous(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() {
        std::error_code ignored;
        fs::current_path(m_previous, ignored);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path m_previous;
};

class Progress {
public:
    Progress(std::ostream& err, bool shown, std::size_t total)
        : m_err(err), m_shown(shown && total >= kProgressFromFiles), m_total(total) {}
    void show(std::size_t done) {
        if (m_shown) {
            m_err << "\rselvo-batch: file " << done << " di " << m_total << std::flush;
        }
    }
    // A message line must not be written over the progress line.
    std::ostream& line() {
        if (m_shown) {
            m_err << "\r\x1b[K";
        }
        return m_err;
    }
    void finish() {
        if (m_shown) {
            m_err << "\r\x1b[K" << std::flush;
        }
    }

private:
    std::ostream& m_err;
    bool m_shown;
    std::size_t m_total;
};

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
        } else if (arg == "--out" || arg.starts_with("--out=")) {
            if (options.outDir) {
                return UsageError{"--out indicato più volte."};
            }
            std::string folder;
            if (arg == "--out") {
                if (i + 1 == args.size()) {
                    return UsageError{"--out richiede il nome di una cartella."};
                }
                folder = args[++i];
            } else {
                folder = arg.substr(6);
            }
            if (folder.empty()) {
                return UsageError{"--out richiede il nome di una cartella."};
            }
            options.outDir = folder;
        } else {
            return UsageError{"opzione sconosciuta: " + arg};
        }
    }
    if (options.files.empty() && !options.help) {
        return UsageError{"nessun file di dati indicato."};
    }
    return options;
}

std::string BatchUsage() {
    return "Uso: selvo-batch [--out CARTELLA] FILE...\n"
           "Rielabora i file di dati salvati da BrivanSelvo (SELVO_Cognome_Nome.csv): per ogni\n"
           "soggetto riscrive il file di dati, il referto RTF e il file di comandi SPSS accanto "
           "al\n"
           "suo file di dati, oppure nella CARTELLA indicata (creata se non esiste).\n"
           "Esce con 0 se tutti i file sono stati elaborati, 1 se qualcuno non è riuscito, 2 per\n"
           "un errore nella riga di comando.\n";
}

int RunBatch(const BatchOptions& options, BatchOutput output, const DateTimeSource& now) {
    if (options.outDir) {
        std::error_code error;
        fs::create_directories(*options.outDir, error);
        if (error || !fs::is_directory(*options.outDir)) {
            output.err << "selvo-batch: impossibile usare la cartella \""
                       << visibleText(absolutePath(*options.outDir))
                       << "\": " << (error ? describeErrno(error.value()) : "non è una cartella.")
                       << "\n";
            return 2;
        }
    }
    // Every input is read and every output planned before anything is written, so no input
    // can be replaced before it has been read.
    std::vector<PlannedInput> plan = PlanBatch(options);
    std::size_t succeeded = 0;
    std::size_t failed = 0;
    Progress progress(output.err, output.progress, plan.size());

    for (PlannedInput& input : plan) {
        const auto fail = [&](const std::string& reason) {
            // Names and fields from the files are shown, never obeyed by the terminal.
            progress.line() << "selvo-batch: " << visibleText(input.file) << ": "
                            << visibleText(reason) << "\n";
            ++failed;
        };
        if (input.refusal) {
            fail(*input.refusal);
            progress.show(succeeded + failed);
            continue;
        }
        ProgramState& state = input.state;
        LoadItemBank(state); // the report quotes criteria texts, the export item texts
        const std::vector<int> missing = MissingItems(state);
        std::optional<std::string> failure;
        try {
            const InFolder inFolder(input.folder);
            if (const auto error = ProcessData(state, now)) {
                failure = error->message();
            }
        } catch (const fs::filesystem_error& cannotEnter) {
            failure = "impossibile entrare nella cartella " + input.folder.string() + ": " +
                      describeErrno(cannotEnter.code().value(), FileAccess::Read);
        }
        if (failure) {
            fail(*failure);
        } else {
            ++succeeded;
            if (!missing.empty()) {
                std::string said = MissingItemsMessage(missing);
                said[0] = 'm';
                progress.line() << "selvo-batch: " << visibleText(input.file) << ": elaborato, ma "
                                << said << "\n";
            }
        }
        // The subject is done: its memory goes before the next one is processed.
        input.state = ProgramState{};
        progress.show(succeeded + failed);
    }
    progress.finish();
    output.out << "selvo-batch: " << succeeded
               << (succeeded == 1 ? " file elaborato, " : " file elaborati, ") << failed
               << (failed == 1 ? " non riuscito.\n" : " non riusciti.\n");
    return failed == 0 ? 0 : 1;
}

int BatchMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal) {
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
    return RunBatch(options, {out, err, errIsTerminal});
}

} // namespace selvo
