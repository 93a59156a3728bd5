// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The processing run: the answers and the subject record are taken as values, scored once, and
// the three files composed from those values are committed together into the output folder.
#include "platform/Clock.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Locks.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <optional>
#include <string>
#include <vector>

namespace selvo {

// What a run composes its files from.
struct RunInput {
    const SubjectRecord& subject;
    const AnswerSet& answers;
    const Scores& scores;
    const std::string& dateTime;
};

// The data file, the report and the statistics export, in that order, each at its path in
// `folder` (absolute, UTF-8); or why they cannot be written at all (a refusal names the file
// alone, as the operator knows it).
FileResult<std::vector<PendingFile>> ComposeSubjectFiles(const RunInput& input,
                                                         const std::string& folder);

// A subject's run up to its commit: the date of this moment, the scores and the three files
// composed from them (or why they cannot be written at all), for a caller that commits many
// subjects' files in a group (selvo-batch).
struct ComposedSubject {
    FileResult<std::vector<PendingFile>> files;
    SubjectRecord subject;
    AnswerSet answers;
    Scores scores;
    std::string dateTime;
};
ComposedSubject ComposeSubject(const SubjectRecord& subject, const AnswerSet& answers,
                               const std::string& folder, const DateTimeSource& now);

// A committed set's error names the file as the run's writers name it, without `folder`; its
// full path says where.
void NameFileAsWritten(CommitResult& result, const std::string& folder);

// The run, step by step: the date of this moment, the answers frozen as a value, the scores
// (ComputeDimensionalScores, ComputeCriteriaX4, ComputeCriteriaX5, once each), the three files
// composed (data file, report, command file) and committed as one set: either
// all of them replace the subject's files in `folder`, or none does and the error says why.
// `wait` says how long to wait for a folder another run is writing into.
CommitResult RunProcessing(const SubjectRecord& subject, const AnswerSet& answers,
                           const std::string& folder,
                           const DateTimeSource& now = CurrentDateTimeText,
                           const FolderWait& wait = {});

// RunProcessing, with the scores the files were composed from and the run's date, for a
// caller that shows or stores them too (the profile window, selvo-batch's dataset row).
struct ProcessedSubject {
    CommitResult commit;
    Scores scores;
    std::string dateTime;
};
ProcessedSubject ProcessSubject(const SubjectRecord& subject, const AnswerSet& answers,
                                const std::string& folder, const DateTimeSource& now,
                                const FolderWait& wait);

// RunProcessing, when only the failure matters.
std::optional<FileError> ProcessData(const SubjectRecord& subject, const AnswerSet& answers,
                                     const std::string& folder,
                                     const DateTimeSource& now = CurrentDateTimeText,
                                     const FolderWait& wait = {});

} // namespace selvo
