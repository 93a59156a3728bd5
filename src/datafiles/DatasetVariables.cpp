// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles/DatasetVariables.h"

#include "datafiles/StatisticsExport.h"
#include "questionnaire/Questionnaire.h"

#include <algorithm>
#include <map>

namespace selvo {
namespace {

// "A10" is ten bytes of text; a number's format gives no width.
std::size_t textWidth(const std::string& format) {
    return format.starts_with('A') ? std::stoul(format.substr(1)) : 0;
}

std::vector<DatasetValueLabel> optionLabels(const std::string& variable) {
    std::vector<DatasetValueLabel> labels;
    for (const questionnaire::CodedField* coded : questionnaire::kCodedFields) {
        if (coded->variable == variable) {
            for (int code = 1; code <= coded->optionCount; ++code) {
                labels.push_back(
                    {code, std::string(coded->valueLabels[static_cast<std::size_t>(code - 1)])});
            }
        }
    }
    return labels;
}

} // namespace

std::vector<DatasetVariable> DatasetVariables(std::span<const DatasetTextColumn> leading,
                                              ItemLabelTexts itemTexts) {
    std::vector<DatasetVariable> variables;
    for (const DatasetTextColumn& column : leading) {
        const std::size_t width = std::clamp<std::size_t>(column.width, 1, kMaxStringWidth);
        variables.push_back({column.name,
                             "A" + std::to_string(width),
                             width,
                             column.label,
                             {},
                             column.description});
    }
    std::map<std::string, std::string> labels;
    for (VariableLabel& label : StatisticsVariableLabels(itemTexts)) {
        labels.emplace(std::move(label.name), std::move(label.label));
    }
    for (StatisticsVariable& variable : StatisticsVariables()) {
        const auto label = labels.find(variable.name);
        DatasetVariable& added = variables.emplace_back();
        added.width = textWidth(variable.format);
        added.label = label == labels.end() ? "" : label->second;
        added.valueLabels = optionLabels(variable.name);
        added.description = std::move(variable.description);
        added.name = std::move(variable.name);
        added.format = std::move(variable.format);
    }
    return variables;
}

std::string DatasetShownFormat(const DatasetVariable& variable) {
    return variable.isText() || variable.format.find('.') != std::string::npos
               ? variable.format
               : variable.format + ".0";
}

} // namespace selvo
