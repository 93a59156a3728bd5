// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The RTF report, composed from values: the subject record, the scores and the date text of
// the run; the criteria texts are the questionnaire's.
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "questionnaire/Subject.h"
#include "report/CategoricalSections.h"
#include "scoring/Scores.h"

#include <optional>
#include <string>

namespace selvo {

// What one report is made of. The members refer to the caller's values, which must outlive
// the call they are passed to.
struct ReportInput {
    const SubjectRecord& subject;
    const Scores& scores;
    const std::string& dateTime; // "dd/mm/yyyy hh:mm:ss", the moment of the run
    // Only a test of the layout quotes other texts.
    const CriteriaTexts& criteriaTexts = questionnaire::CriteriaTexts();
};

// The opening sections, each as the text the document holds (the categorical ones are in
// CategoricalSections.h).
std::string BuildReportHeader();
std::string BuildReportTitle(const std::string& dateTime);
std::string BuildReportSubject(const SubjectRecord& subject);

// "SELVO_" + surname + "_" + name + "_report.rtf", no folder.
std::string ReportFileName(const SubjectRecord& subject);

// The whole document as UTF-8 text whose characters all fit code page 1252: the sections
// above, under T > 4 and then under T > 5.
std::string ComposeReport(const ReportInput& input);

// ComposeReport, converted to code page 1252, named by its file name alone; an error when the
// subject's names cannot be part of a file name.
FileResult<PendingFile> PrepareReport(const ReportInput& input);

} // namespace selvo
