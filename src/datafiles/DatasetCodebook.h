// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NAME_codebook.csv: what each variable of the study dataset means, for a colleague who opens
// only the spreadsheet and would not know what PARDX4 is.
#include "datafiles/DatasetVariables.h"

#include <span>
#include <string>

namespace selvo {

// A header row, then one row per variable in the dataset's order: its name, its label (without
// the blanks around it), what it holds, its type with its SPSS format ("numerico (F8.0)", "testo
// (A8)") and its value labels ("1 = MASCHIO; 2 = FEMMINA"). UTF-8 with a byte-order mark, CR LF
// line ends, cells as the dataset's table spells them.
std::string ComposeDatasetCodebook(std::span<const DatasetVariable> variables);

} // namespace selvo
