// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchRun.h"

#include "batch/BatchJob.h"
#include "datafiles/DatasetTable.h"
#include "platform/Clock.h"
#include "text/AsciiCase.h"
#include "text/TextSafety.h"
#include "text/WindowsNames.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <utility>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// Below this many files a run is over before progress would help.
constexpr std::size_t kProgressFromFiles = 5;

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

// The date and time in UTC, computed here: gmtime differs between systems in its thread
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
    std::tm moment{};
    moment.tm_mday = static_cast<int>(day);
    moment.tm_mon = static_cast<int>(month - 1);
    moment.tm_year = static_cast<int>(year - 1900);
    moment.tm_hour = static_cast<int>(secondOfDay / 3600);
    moment.tm_min = static_cast<int>(secondOfDay / 60 % 60);
    moment.tm_sec = static_cast<int>(secondOfDay % 60);
    return dateTimeText(moment);
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

// selvo-batch's listener: every line on stderr after the program's name, over the progress
// line once the subjects are being processed.
class ConsoleListener : public BatchListener {
public:
    explicit ConsoleListener(const BatchOutput& output) : m_output(output) {}

    void say(const std::string& line) override {
        (m_progress ? m_progress->line() : m_output.err) << "selvo-batch: " << line << "\n";
    }
    void started(std::size_t total) override {
        m_progress.emplace(m_output.err, m_output.progress, total);
    }
    void progressed(std::size_t seen) override { m_progress->show(seen); }
    void finished() override {
        m_progress->finish();
        m_progress.reset();
    }
    bool stopRequested() override { return m_output.interrupted(); }

private:
    const BatchOutput& m_output;
    std::optional<Progress> m_progress;
};

} // namespace

int RunBatch(const BatchOptions& options, BatchOutput output, const DateTimeSource& now) {
    ConsoleListener listener(output);
    auto prepared = PrepareBatch(options, listener, output.busyFolderNotice);
    if (const auto* stop = std::get_if<BatchStop>(&prepared)) {
        output.err << "selvo-batch: " << stop->message << "\n";
        return stop->status;
    }
    const BatchTotals totals = RunPreparedBatch(std::get<PreparedBatch>(prepared), listener, now);
    output.out << "selvo-batch: " << totals.summary << "\n";
    return totals.status;
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
