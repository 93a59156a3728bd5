// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a data file holds, decoded and checked.

#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"

#include <optional>
#include <string>
#include <string_view>

namespace selvo {

inline constexpr int kDataFileItems = questionnaire::kItemCount;
inline constexpr std::size_t kDataFileFields = 8 + 2 * kDataFileItems; // 196

struct DataFileContent {
    SubjectRecord subject;
    AnswerSet answers;
    std::string note; // what the person should know about a file read despite damage (Italian)
};

struct DataFileParse {
    std::optional<DataFileContent> record;
    std::string fault; // Italian reason, set when record is empty
};

// Decodes the bytes of a whole data file (UTF-8 after a byte-order mark or when the file is
// valid UTF-8 beyond ASCII, code page 1252 otherwise), takes the formula guard off its texts
// and checks every field; any fault leaves the record empty. What another program made of a
// data file is named: a save as UTF-16 or with semicolons as separators. Zero bytes after a
// whole record (a save cut short by a power failure) are left out, with a note.
DataFileParse parseDataFile(std::string_view bytes);

} // namespace selvo
