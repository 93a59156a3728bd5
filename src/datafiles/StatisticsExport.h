// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The subject's SPSS command file: the case's variables defined, its values as inline data, the
// variables labelled, the save of its .sav. Composed from values; the variables, their order
// and their labels come from the questionnaire's definition, once.
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

// Keeps an item text inside its single-quoted label: ' -> ^, CR and LF -> -.
std::string CleanLabelText(std::string_view text);

// "SELVO_SS000_" + surname + "_" + name + "_sps.sps", no folder.
std::string StatisticsExportFileName(const SubjectRecord& subject);

// The command file as UTF-8 text. `itemTexts` holds item k's text in slot k, as the item bank
// loads them; they label the agreement variables.
std::string ComposeStatisticsExport(const SubjectRecord& subject, const AnswerSet& answers,
                                    const Scores& scores, std::span<const std::string> itemTexts);

// The file under its name alone (the caller puts it in a folder): code page 1252, or UTF-8
// with a BOM when some text does not fit it.
PendingFile PrepareStatisticsExport(const SubjectRecord& subject, const AnswerSet& answers,
                                    const Scores& scores, std::span<const std::string> itemTexts);

// PrepareStatisticsExport, saved atomically on its own in the current directory.
std::optional<FileError> WriteStatisticsExport(const SubjectRecord& subject,
                                               const AnswerSet& answers, const Scores& scores,
                                               std::span<const std::string> itemTexts);

// A variable of the case, with the format the command file defines it with.
struct StatisticsVariable {
    std::string name;
    std::string format;      // "F8.0", "F8" or "A10"
    std::string description; // what it holds, in Italian, for the dataset's codebook
};

// The case's 462 variables, in the order of the definitions and of the data line.
std::vector<StatisticsVariable> StatisticsVariables();

// The case's values in the same order, from the computation that writes the data line:
// numbers as plain digits (no sign blank), texts of the record on one line.
std::vector<std::string> StatisticsCaseValues(const SubjectRecord& subject,
                                              const AnswerSet& answers, const Scores& scores);

struct VariableLabel {
    std::string name;
    std::string label;
};

// The labels the command file gives the case's variables, in its order: the header, the items
// (from `itemTexts`, as above), the dimensional totals, then the criteria counts and diagnoses
// under X4 and X5. Nome and Cognome, which the command file labels too, are not variables of
// the case.
std::vector<VariableLabel> StatisticsVariableLabels(std::span<const std::string> itemTexts);

} // namespace selvo
