#pragma once
#include "state/ProgramState.h"
#include "platform/TextFile.h"

#include <optional>
#include <string>

namespace selvo {

// The largest data file the reader accepts. A real one is a few kilobytes; anything this
// large is not one. The writers stay within it, so that every file written reads back.
inline constexpr std::size_t kMaxDataFileBytes = 1024 * 1024;

// "SELVO_" + surname + "_" + name + ".csv", no folder.
std::string DataFileNameFor(const ProgramState& state);

// The file's bytes: one line of 196 fields ending in CR LF, code page 1252 (UTF-8 with a
// byte-order mark when some text does not fit the code page); every text quoted and guarded
// against spreadsheet formulas (withFormulaGuard).
std::string ComposeDataFile(const ProgramState& state);

// Stores the name in DataFileName and composes the file for the current directory.
PendingFile PrepareDataFile(ProgramState& state);

// PrepareDataFile, saved atomically on its own.
std::optional<FileError> WriteDataFile(ProgramState& state);

// Reads the file named by DataFileName. The whole file is checked first; on any error the
// state is left exactly as it was and the error names the file, the field and the fault.
std::optional<FileError> ReadDataFile(ProgramState& state);

} // namespace selvo
