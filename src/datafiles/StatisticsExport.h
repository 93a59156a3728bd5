#pragma once
#include "state/ProgramState.h"
#include "platform/TextFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

// Keeps an item text inside its single-quoted label: ' -> ^, CR and LF -> -.
std::string CleanLabelText(std::string_view text);

// "SELVO_SS000_" + surname + "_" + name + "_sps.sps", no folder.
std::string StatisticsExportFileName(const ProgramState& state);

// The command file as UTF-8 text; sets CaseCode and runs both criteria algorithms.
std::string ComposeStatisticsExport(ProgramState& state);

// The file under its name alone (the run puts it in its folder), composed in code page 1252,
// or UTF-8 with a BOM when some text does not fit it.
PendingFile PrepareStatisticsExport(ProgramState& state);

// PrepareStatisticsExport, saved atomically on its own.
std::optional<FileError> WriteStatisticsExport(ProgramState& state);

// A variable of the case, with the format the command file defines it with.
struct StatisticsVariable {
    std::string name;
    std::string format; // "F8.0", "F8" or "A10"
};

// The case's 462 variables, in the order of the definitions and of the data line.
std::vector<StatisticsVariable> StatisticsVariables();

// The case's values in the same order, from the computation that writes the data line:
// numbers as plain digits (no sign blank), texts of the record on one line. Sets CaseCode and
// runs both criteria algorithms, as the command file does.
std::vector<std::string> StatisticsCaseValues(ProgramState& state);

struct VariableLabel {
    std::string name;
    std::string label;
};

// The labels the command file gives the case's variables, in its order: the header, the items
// (from ItemText), the dimensional totals, then the criteria counts and diagnoses under X4 and
// X5. Nome and Cognome, which the command file labels too, are not variables of the case.
std::vector<VariableLabel> StatisticsVariableLabels(const ProgramState& state);

} // namespace selvo
