// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// selvo-batch: reprocesses saved data files exactly as the program does after a reload, for
// researchers who rescore a whole study.
#include "platform/Clock.h"
#include "platform/Console.h"
#include "report/Report.h"

#include <chrono>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace selvo {

struct BatchOptions {
    std::optional<std::string> outDir;  // beside each data file when absent
    std::optional<std::string> dataset; // NAME of NAME.csv and the rest, written when given
    // The dataset's folder: the output folder, or the current one, when absent. The window
    // chooses it; the command line has no option for it.
    std::optional<std::string> datasetDir;
    bool pseudonyms = false;            // the dataset names each subject by a code
    std::optional<std::string> keyFile; // the codes' key, NAME_chiave.csv beside the dataset
    std::optional<std::string> list;    // --elenco: a file naming data files, "-" for stdin
    // A data file of another administration under a subject's name may be replaced.
    bool replaceOthers = false;
    std::vector<std::string> files; // data files, or folders of them
    bool help = false;
};

struct UsageError {
    std::string message;
};

// The command line without the program name.
std::variant<BatchOptions, UsageError> ParseBatchArguments(const std::vector<std::string>& args);

std::string BatchUsage();

// Where the run reports: failures and notes to `err`, the closing count to `out`; progress
// goes to `err` only when it is a console watching a long list, taken back as that console
// allows.
struct BatchOutput {
    std::ostream& out;
    std::ostream& err;
    ProgressLine progress = ProgressLine::None;
    // How long the run waits for a folder another run is writing into before saying so; it
    // then goes on waiting.
    std::chrono::milliseconds busyFolderNotice = std::chrono::seconds(3);
    // Whether the run has been asked to stop (Ctrl+C): it finishes the subjects in hand and
    // stops there.
    std::function<bool()> interrupted = [] { return false; };
};

// Reprocesses every file, each from a fresh program state, and carries on past failures; with
// a dataset, then writes every processed case into NAME.csv, NAME.sps, NAME.sav and the
// codebook, in the output folder (the current one without --out). Returns the exit status: 0 all
// succeeded, 1 some failed or the dataset could not be written, 2 when the output folder cannot be
// created or the dataset's names are taken by an input or a subject's output, or too long for the
// folder, 130 when it was interrupted (the dataset is then not written).
int RunBatch(const BatchOptions& options, BatchOutput output,
             const DateTimeSource& now = CurrentDateTimeText);

// The whole program: parses, runs, and returns the exit status (2 for a usage error).
// SOURCE_DATE_EPOCH, when set to a number of seconds, fixes the processing time written into
// the reports and the dataset's NAME.sav (in UTC), so reruns and other systems can be compared
// byte for byte; set to anything else, it is a usage error.
int BatchMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              ProgressLine progress);

// The processing time for reports: the clock's when SOURCE_DATE_EPOCH is unset or empty, the
// one it fixes when it is whole seconds from 0 to the end of year 9999, and otherwise the
// error that says what it must be.
std::variant<DateTimeSource, UsageError> BatchDateTimeSource(const char* sourceDateEpoch);

} // namespace selvo
