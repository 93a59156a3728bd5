#pragma once
#include "shell/ProgramState.h"
#include "shell/TextFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace selvo {

// Keeps an item text inside its single-quoted label: ' -> ^, CR and LF -> -.
std::string CleanLabelText(std::string_view text);

// "SELVO_SS000_" + surname + "_" + name + "_sps.sps", no folder.
std::string StatisticsExportFileName(const ProgramState& state);

// The command file as UTF-8 text; sets CaseCode and runs both criteria algorithms.
std::string ComposeStatisticsExport(ProgramState& state);

// Stores the name in DataFileName and composes the file for the current directory (code page
// 1252, or UTF-8 with a BOM when some text does not fit it).
PendingFile PrepareStatisticsExport(ProgramState& state);

// PrepareStatisticsExport, saved atomically on its own.
std::optional<FileError> WriteStatisticsExport(ProgramState& state);

} // namespace selvo
