// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NAME.sav: the study dataset as an SPSS data file, for the programs that open one directly
// (SPSS, PSPP, jamovi, JASP, R) and run no command file. It holds what PSPP saves from NAME.sps
// and NAME.csv: the same cases, variables, formats, labels and values.
#include "datafiles/DatasetTable.h"
#include "datafiles/DatasetVariables.h"

#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace selvo {

// Why the file could not be composed, in Italian.
struct SavFault {
    std::string reason;
};

// The file's bytes, composed in memory with ReadStat: a numeric variable holds its cell's
// number as PSPP reads it (SpssFieldNumber), or system-missing; a text variable holds its
// cell's text. The header is dated `createdAt`, "dd/mm/yyyy hh:mm:ss" as the reports are, so
// that a run with the same time gives the same bytes on every system.
std::variant<std::string, SavFault> ComposeDatasetSav(std::span<const DatasetVariable> variables,
                                                      const DatasetTable& table,
                                                      std::string_view createdAt);

} // namespace selvo
