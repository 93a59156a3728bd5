// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "state/ProgramState.h"

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
std::string ComposeDataFile(const SubjectRecord& subject, const AnswerSet& answers);
// The state's subject and answers.
std::string ComposeDataFile(const ProgramState& state);

// The file composed for `folder` (the current folder when empty).
PendingFile PrepareDataFile(const SubjectRecord& subject, const AnswerSet& answers,
                            const std::string& folder = {});

// The state's data file, saved atomically on its own into `folder`.
std::optional<FileError> WriteDataFile(const ProgramState& state, const std::string& folder = {});

// What a data file holds, or why it cannot be read: the whole file is checked first, and the
// error names the file, the field and the fault.
struct DataFileContent {
    SubjectRecord subject;
    AnswerSet answers;
    std::string note; // what the person should know about a file read despite damage
};
FileResult<DataFileContent> ReadDataFile(const std::string& path);

} // namespace selvo
