#include "batch/BatchRun.h"

#include "administration/Completion.h"
#include "administration/ItemBank.h"
#include "datafiles/DataFile.h"
#include "scoring/ProcessData.h"
#include "shell/Startup.h"
#include "subject/SubjectChecks.h"

#include <filesystem>
#include <map>
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

// The fields the subject form would still ask for, as the form names them.
std::string missingFields(const ProgramState& state) {
    std::string missing;
    const auto add = [&missing](bool absent, const char* field) {
        if (absent) {
            missing += (missing.empty() ? "" : ", ") + std::string(field);
        }
    };
    add(state.SubjectName.empty(), "Nome/Codice");
    add(state.SubjectSurname.empty(), "Cognome/Codice");
    add(state.SubjectAge.empty(), "Età");
    add(state.SubjectSex == "0", "sesso");
    add(state.SubjectMarital == "0", "stato civile");
    add(state.SubjectEducation == "0", "titolo di studio");
    return missing;
}

int unansweredItems(const ProgramState& state) {
    int count = 0;
    for (int item = 1; item <= state.ItemCount.asInt(); ++item) {
        const bool asksDistress = state.AnswerT[item] >= 5;
        if (state.AnswerT[item] == 0 || (asksDistress && state.AnswerD[item] == 0)) {
            ++count;
        }
    }
    return count;
}

struct Loaded {
    ProgramState state;
    std::optional<std::string> fault;
};

// A fresh program state holding the file's subject, as the window holds it once the reload
// has read the file and the operator has confirmed the subject form unchanged.
Loaded loadSubject(const fs::path& dataFile) {
    Loaded loaded;
    ProgramState& state = loaded.state;
    SetProgramConstants(state);
    LoadItemBank(state); // the report quotes criteria texts, the export item texts
    state.DataFileName = dataFile.string();
    if (const auto error = ReadDataFile(state)) {
        loaded.fault = "lettura non riuscita: " + error->reason;
        return loaded;
    }
    if (const std::string missing = missingFields(state); !missing.empty()) {
        loaded.fault = "dati del soggetto incompleti (manca: " + missing +
                       "); completarli ricaricando il file in BrivanSelvo.";
        return loaded;
    }
    if (const auto unsafe = UnsafeSubjectName(state)) {
        loaded.fault = unsafe->message;
        return loaded;
    }
    state.SubjectNotes = NotesWithWindowsLineEnds(state.SubjectNotes);
    return loaded;
}

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
    std::optional<fs::path> outDir;
    if (options.outDir) {
        std::error_code error;
        fs::create_directories(*options.outDir, error);
        if (error || !fs::is_directory(*options.outDir)) {
            output.err << "selvo-batch: impossibile usare la cartella " << *options.outDir << ": "
                       << (error ? error.message() : "non è una cartella") << "\n";
            return 2;
        }
        outDir = fs::absolute(*options.outDir);
    }
    std::size_t succeeded = 0;
    std::size_t failed = 0;
    // Output data file -> the input that produced it: two inputs for the same subject in one
    // folder would silently replace each other's files.
    std::map<fs::path, std::string> written;
    Progress progress(output.err, output.progress, options.files.size());

    for (const std::string& file : options.files) {
        const auto fail = [&](const std::string& reason) {
            progress.line() << "selvo-batch: " << file << ": " << reason << "\n";
            ++failed;
        };
        std::error_code error;
        const fs::path dataFile = fs::absolute(file, error);
        Loaded loaded = error ? Loaded{} : loadSubject(dataFile);
        if (error) {
            loaded.fault = "percorso non valido.";
        }
        if (loaded.fault) {
            fail(*loaded.fault);
            progress.show(succeeded + failed);
            continue;
        }
        ProgramState& state = loaded.state;
        const fs::path folder =
            options.outDir ? fs::absolute(*options.outDir) : dataFile.parent_path();
        const fs::path target = (folder / DataFileNameFor(state)).lexically_normal();
        if (const auto earlier = written.find(target); earlier != written.end()) {
            fail("stesso Cognome/Codice e Nome/Codice di " + earlier->second +
                 ", già elaborato in questa esecuzione: i suoi file non sono stati sostituiti.");
            progress.show(succeeded + failed);
            continue;
        }
        const int unanswered = unansweredItems(state);
        std::optional<std::string> failure;
        try {
            const InFolder inFolder(folder);
            if (const auto error = ProcessData(state, now)) {
                failure = error->message();
            }
        } catch (const fs::filesystem_error& cannotEnter) {
            failure = "impossibile entrare nella cartella " + folder.string() + ": " +
                      cannotEnter.code().message() + ".";
        }
        if (failure) {
            fail(*failure);
        } else {
            written.emplace(target, file);
            ++succeeded;
            if (unanswered > 0) {
                progress.line() << "selvo-batch: " << file << ": elaborato, ma " << unanswered
                                << " item non hanno una risposta completa.\n";
            }
        }
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
        err << "selvo-batch: " << usage->message << "\n" << BatchUsage();
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
