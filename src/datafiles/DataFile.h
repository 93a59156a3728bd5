// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "datafiles/DataFileRecord.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"

#include <optional>
#include <string>

namespace selvo {

// The largest data file the reader accepts. A real one is a few kilobytes; anything this
// large is not one. The writers stay within it, so that every file written reads back.
inline constexpr std::size_t kMaxDataFileBytes = 1024 * 1024;

// The file's bytes: one line of 196 fields ending in CR LF, code page 1252 (UTF-8 with a
// byte-order mark when some text does not fit the code page); every text quoted and guarded
// against spreadsheet formulas (withFormulaGuard).
std::string ComposeDataFile(const SubjectRecord& subject, const AnswerSet& answers);

// The file composed for `folder`.
PendingFile PrepareDataFile(const SubjectRecord& subject, const AnswerSet& answers,
                            const std::string& folder);

// What a data file holds, or why it cannot be read: the whole file is checked first, and the
// error names the file, the field and the fault.
FileResult<DataFileContent> ReadDataFile(const std::string& path);

} // namespace selvo
