// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The case's variables as one table: the subject's command file defines, fills and labels its
// variables from it, and the study's dataset takes the same variables, labels and values.
#include "datafiles/StatisticsVariables.h"
#include "questionnaire/Questionnaire.h"

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace selvo::statistics {

// The variable that stands for the case where the subject's notes would (the notes stay out).
inline constexpr std::string_view kCaseCodeVariable = "CODICE";

// Where a variable stands in the command file: that sets the blanks around its definition, the
// line it is defined on and where it is labelled.
enum class Part { Header, Agreement, Distress, Dimensional, Categorical };

// What a categorical variable holds. Each threshold's label lines list its counts, then its
// diagnoses; a single criterion is not labelled.
enum class Role { Other, Count, Diagnosis };

struct CaseInput {
    const SubjectRecord& subject;
    const AnswerSet& answers;
    const Scores& scores;
};

// A value of the case as the record holds it: a number, a text of the record or an answer,
// each written in its own way.
using CaseValue = std::variant<double, std::string_view, Integer>;

struct CaseVariable {
    std::string name;
    std::string_view format;
    Part part = Part::Header;
    std::function<CaseValue(const CaseInput&)> value;
    std::string label;       // none when empty; an item's is its text
    std::string description; // what it holds, for the codebook
    Role role = Role::Other; // of a categorical variable
    questionnaire::Algorithm algorithm = questionnaire::X4; // of a categorical variable
    int item = 0;                                           // of an answer variable
};

// The case's variables in the order of the definitions and of the data line, built once.
const std::vector<CaseVariable>& caseVariables();

// Lets one std::visit hand each kind of value to its own formatting.
template <class... Format> struct Formats : Format... { using Format::operator()...; };
template <class... Format> Formats(Format...) -> Formats<Format...>;

// The header's labels, in their own order; with `variablesOnly` false they include the
// subject's name and surname, which the command file labels although the case holds neither.
std::vector<VariableLabel> headerLabels(bool variablesOnly);
// The dimensional totals' labels.
std::vector<VariableLabel> dimensionalLabels();
// A threshold's labelled variables: its counts, then its diagnoses.
std::vector<VariableLabel> categoricalLabels(questionnaire::Algorithm algorithm);

// Item `item`'s text; throws std::out_of_range when `itemTexts` has none.
const std::string& itemText(ItemLabelTexts itemTexts, int item);
// CleanLabelText into a buffer that is used again for every item.
void cleanLabelTextInto(std::string& clean, std::string_view text);

} // namespace selvo::statistics
