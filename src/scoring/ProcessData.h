#pragma once
#include "report/Report.h"
#include "state/ProgramState.h"
#include "platform/TextFile.h"

#include <optional>

namespace selvo {

// Turns the state into the three output files, step by step: report blocks, scoring copy,
// dimensional scores, data file, report, statistics export. The three are composed first and
// committed as one set: either all of them replace the subject's files, or none does and the
// error says why. The result lists what was written and whether older files were replaced.
// The files go into `folder` ("." for the current one). `wait` says how long to wait for a
// folder another run is writing into.
CommitResult RunProcessing(ProgramState& state, const std::string& folder,
                           const DateTimeSource& now = CurrentDateTimeText,
                           const FolderWait& wait = {});

// RunProcessing, when only the failure matters.
std::optional<FileError> ProcessData(ProgramState& state, const std::string& folder,
                                     const DateTimeSource& now = CurrentDateTimeText,
                                     const FolderWait& wait = {});

} // namespace selvo
