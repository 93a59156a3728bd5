// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data files a selvo-batch run is given: one by one, as folders that hold them, or in a list
// (a file, or the standard input), so that a study of any size fits one run and one dataset.
#include "batch/BatchRun.h"

#include <string>
#include <variant>
#include <vector>

namespace selvo {

struct GatheredInputs {
    std::vector<std::string> files; // in the order given
    std::vector<std::string> notes; // a folder's files left out, and why
};

// Every data file the options name, in order: each FILE as given, a folder as its files ending
// in .csv (in name order, neither hidden files nor the folders inside), then each line of the
// --elenco list taken the same way. From a folder the datasets and keys of earlier runs are
// left out, with a note. The Italian reason when a folder or the list cannot be read.
std::variant<GatheredInputs, std::string> GatherInputs(const BatchOptions& options);

// The paths a list holds, one a line: UTF-8 (a byte-order mark is skipped), CR LF or LF line
// ends, blank lines ignored. The reason, naming the line, when it is not such a list.
std::variant<std::vector<std::string>, std::string> ListedPaths(std::string_view bytes);

} // namespace selvo
