#pragma once
#include "state/ProgramState.h"
#include "platform/Clock.h"
#include "platform/TextFile.h"

#include <functional>
#include <optional>
#include <string>

namespace selvo {

void BuildReportHeader(ProgramState& state);
void BuildReportTitle(ProgramState& state, const DateTimeSource& now); // reads now() once
void BuildReportSubject(ProgramState& state);

// "SELVO_" + surname + "_" + name + "_report.rtf", no folder.
std::string ReportFileName(const ProgramState& state);

// The whole document as UTF-8 text whose characters all fit code page 1252. Runs the
// criteria algorithm for T > 4 and then T > 5, building each pair of sections in between.
std::string ComposeReport(ProgramState& state);

// ComposeReport, converted to code page 1252, under the report's name alone (the run puts it
// in its folder); an error when the subject's names cannot be part of a file name.
PreparedFile PrepareReport(ProgramState& state);

// PrepareReport, saved atomically on its own.
std::optional<FileError> WriteReport(ProgramState& state);

} // namespace selvo
