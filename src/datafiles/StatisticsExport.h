// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The subject's SPSS command file: the case's variables defined, its values as inline data, the
// variables labelled, the save of its .sav. Composed from values; the variables, their order
// and their labels come from the questionnaire's definition, once.
#include "datafiles/StatisticsVariables.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <string>

namespace selvo {

// "SELVO_SS000_" + surname + "_" + name + "_sps.sps", no folder.
std::string StatisticsExportFileName(const SubjectRecord& subject);

// The command file as UTF-8 text.
std::string ComposeStatisticsExport(const SubjectRecord& subject, const AnswerSet& answers,
                                    const Scores& scores,
                                    ItemLabelTexts itemTexts = questionnaire::ItemTexts());

// The file under its name alone (the caller puts it in a folder): code page 1252, or UTF-8
// with a BOM when some text does not fit it.
PendingFile PrepareStatisticsExport(const SubjectRecord& subject, const AnswerSet& answers,
                                    const Scores& scores,
                                    ItemLabelTexts itemTexts = questionnaire::ItemTexts());

} // namespace selvo
