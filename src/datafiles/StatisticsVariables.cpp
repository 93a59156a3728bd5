// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/StatisticsVariables.h"

#include "datafiles/CaseVariables.h"
#include "datafiles/SpssText.h"
#include "text/NumberText.h"

namespace selvo {

using namespace statistics;
namespace q = questionnaire;

std::string CleanLabelText(std::string_view text) {
    std::string clean;
    cleanLabelTextInto(clean, text);
    return clean;
}

std::vector<StatisticsVariable> StatisticsVariables() {
    std::vector<StatisticsVariable> variables;
    for (const CaseVariable& variable : caseVariables()) {
        variables.push_back({variable.name, std::string(variable.format), variable.description});
    }
    return variables;
}

std::vector<std::string> StatisticsCaseValues(const SubjectRecord& subject,
                                              const AnswerSet& answers, const Scores& scores) {
    const CaseInput input{subject, answers, scores};
    std::vector<std::string> values;
    values.reserve(caseVariables().size());
    const auto format = Formats{
        [&values](double number) {
            // The number's text without the blank that stands for a plus sign.
            std::string text = numberText(number);
            values.push_back(text.starts_with(' ') ? text.substr(1) : std::move(text));
        },
        [&values](std::string_view text) { values.push_back(SpssOneLine(text)); },
        [&values](Integer answer) { values.push_back(integerText(answer)); },
    };
    for (const CaseVariable& variable : caseVariables()) {
        std::visit(format, variable.value(input));
    }
    return values;
}

std::vector<VariableLabel> StatisticsVariableLabels(ItemLabelTexts itemTexts) {
    std::vector<VariableLabel> labels = headerLabels(true);
    for (const CaseVariable& variable : caseVariables()) {
        if (variable.part == Part::Agreement) {
            labels.push_back(
                {variable.name, "It:" + CleanLabelText(itemText(itemTexts, variable.item)) + " "});
        }
    }
    for (VariableLabel& label : dimensionalLabels()) {
        labels.push_back(std::move(label));
    }
    for (int algorithm = 0; algorithm < q::kAlgorithmCount; ++algorithm) {
        for (VariableLabel& label : categoricalLabels(static_cast<q::Algorithm>(algorithm))) {
            labels.push_back(std::move(label));
        }
    }
    return labels;
}

} // namespace selvo
