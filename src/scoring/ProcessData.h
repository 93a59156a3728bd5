#pragma once
#include "report/Report.h"
#include "shell/ProgramState.h"
#include "shell/TextFile.h"

#include <optional>

namespace selvo {

// Turns the state into the three output files, step by step: report blocks, scoring copy,
// dimensional scores, data file, report, statistics export. The first step that fails stops
// the run and comes back as the error; files of earlier steps stay as written.
std::optional<FileError> ProcessData(ProgramState& state,
                                     const DateTimeSource& now = CurrentDateTimeText);

} // namespace selvo
