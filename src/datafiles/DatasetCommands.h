// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// NAME.sps: the commands that read a run's NAME.csv into one SPSS data file NAME.sav, every
// variable defined and labelled as in a subject's command file.
#include "datafiles/DatasetVariables.h"

#include <cstddef>
#include <span>
#include <string>

namespace selvo {

// SPSS reads no command line longer than this.
inline constexpr std::size_t kMaxCommandLineBytes = 255;

// The file's bytes, UTF-8 with a byte-order mark (the item labels are Italian, the names of the
// files may be anything): GET DATA of NAME.csv, the variable labels (the items by
// `itemTexts`), the value labels of the subject form's codes,
// the save of NAME.sav. Long strings are split into pieces joined with "+", so no line exceeds
// kMaxCommandLineBytes. The `leading` columns are read and labelled first, in their order.
std::string ComposeDatasetCommands(const std::string& name,
                                   std::span<const DatasetTextColumn> leading = {},
                                   ItemLabelTexts itemTexts = questionnaire::ItemTexts());

} // namespace selvo
