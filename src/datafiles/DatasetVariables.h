// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The study dataset's variables, each with everything a statistics program is told of it: the
// one list NAME.sps, NAME.sav and the codebook are made from.
#include "datafiles/StatisticsExport.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace selvo {

// A text column of the dataset ahead of the case's variables (the subject's identification):
// its name, its width in bytes (SPSS strings are sized in bytes), its label and what it holds.
struct DatasetTextColumn {
    std::string name;
    std::size_t width = 1;
    std::string label;
    std::string description;
};

// SPSS and PSPP hold no string wider than this.
inline constexpr std::size_t kMaxStringWidth = 32767;

struct DatasetValueLabel {
    int code = 0;
    std::string label;
};

struct DatasetVariable {
    std::string name;
    std::string format;    // as NAME.sps reads it: "A8", "F8.0", "F8"
    std::size_t width = 0; // of a text, in bytes; 0 for a number
    std::string label;     // "" when it has none
    std::vector<DatasetValueLabel> valueLabels;
    std::string description; // what it holds, in Italian, for the codebook
    bool isText() const { return width > 0; }
};

// The `leading` columns (each as wide as it says, within 1 and kMaxStringWidth), then the
// case's variables in the order of the subject's command file, labelled as that file labels
// them (the items by `itemTexts`); the codes of
// the subject form's options carry the form's labels.
std::vector<DatasetVariable>
DatasetVariables(std::span<const DatasetTextColumn> leading = {},
                 ItemLabelTexts itemTexts = questionnaire::ItemTexts());

// The format as SPSS shows it: "F8" is "F8.0".
std::string DatasetShownFormat(const DatasetVariable& variable);

} // namespace selvo
