#pragma once
#include "platform/Clock.h"
#include "report/Report.h"
#include "scoring/Scores.h"
#include "state/ProgramState.h"
#include "platform/TextFile.h"

#include <optional>

namespace selvo {

// Turns the state into the three output files, step by step: the date text, scoring copy,
// dimensional scores, data file, report, statistics export. The three are composed first and
// committed as one set: either all of them replace the subject's files, or none does and the
// error says why. The result lists what was written and whether older files were replaced.
// `wait` says how long to wait for a folder another run is writing into. `scored`, when given,
// receives the scores the files were composed from.
CommitResult RunProcessing(ProgramState& state, const DateTimeSource& now = CurrentDateTimeText,
                           const FolderWait& wait = {}, Scores* scored = nullptr);

// RunProcessing, when only the failure matters.
std::optional<FileError> ProcessData(ProgramState& state,
                                     const DateTimeSource& now = CurrentDateTimeText,
                                     const FolderWait& wait = {});

} // namespace selvo
