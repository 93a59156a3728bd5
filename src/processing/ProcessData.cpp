// SPDX-License-Identifier: GPL-3.0-or-later

#include "processing/ProcessData.h"

#include "datafiles/DataFile.h"
#include "datafiles/StatisticsExport.h"
#include "platform/Paths.h"
#include "questionnaire/SubjectFiles.h"
#include "report/Report.h"

namespace selvo {
namespace {

// A data file the reader would refuse is never written: the reload and selvo-batch could not
// read it back. It can only grow this large from a data file made elsewhere, whose notes grow
// when their line ends become CR LF.
std::optional<FileError> unreadableDataFile(const std::string& name, const std::string& bytes) {
    if (bytes.size() <= kMaxDataFileBytes) {
        return std::nullopt;
    }
    return FileError{name,
                     "il file di dati sarebbe di " + std::to_string(bytes.size()) +
                         " byte, più di 1 MiB (" + std::to_string(kMaxDataFileBytes) +
                         " byte), il massimo che il programma e selvo-batch rileggono. Nessun "
                         "file è stato scritto: accorciare le note e ripetere l'elaborazione."};
}

} // namespace

FileResult<std::vector<PendingFile>> ComposeSubjectFiles(const RunInput& input,
                                                         const std::string& folder) {
    const std::string dataFileName = SubjectDataFileName(input.subject);
    std::string dataFile = ComposeDataFile(input.subject, input.answers);
    if (auto refused = unreadableDataFile(dataFileName, dataFile)) {
        return *refused;
    }
    FileResult<PendingFile> report = PrepareReport({input.subject, input.scores, input.dateTime});
    if (!report.ok()) {
        return report.error();
    }
    std::vector<PendingFile> files{
        {pathInFolder(folder, dataFileName), std::move(dataFile)},
        std::move(report).value(),
        PrepareStatisticsExport(input.subject, input.answers, input.scores),
    };
    // The writers name their files; the run puts them in its folder.
    for (std::size_t k = 1; k < files.size(); ++k) {
        files[k].path = pathInFolder(folder, files[k].path);
    }
    return files;
}

void NameFileAsWritten(CommitResult& result, const std::string& folder) {
    const std::string inFolder = pathInFolder(folder, "");
    if (result.error && !inFolder.empty() && result.error->fileName.starts_with(inFolder)) {
        result.error->fileName.erase(0, inFolder.size());
    }
}

ComposedSubject ComposeSubject(const SubjectRecord& subject, const AnswerSet& answers,
                               const std::string& folder, const DateTimeSource& now) {
    const std::string dateTime = now(); // the report's date is this moment's, taken before scoring
    Scores scores = ScoreAnswers(answers);
    auto files = ComposeSubjectFiles({subject, answers, scores, dateTime}, folder);
    return {std::move(files), subject, answers, std::move(scores), dateTime};
}

ProcessedSubject ProcessSubject(const SubjectRecord& subject, const AnswerSet& answers,
                                const std::string& folder, const DateTimeSource& now,
                                const FolderWait& wait) {
    ComposedSubject composed = ComposeSubject(subject, answers, folder, now);
    ProcessedSubject run{{}, std::move(composed.scores), std::move(composed.dateTime)};
    if (!composed.files.ok()) {
        run.commit.error = composed.files.error();
    } else {
        run.commit = commitFileSet(composed.files.value(), wait);
        NameFileAsWritten(run.commit, folder);
    }
    return run;
}

CommitResult RunProcessing(const SubjectRecord& subject, const AnswerSet& answers,
                           const std::string& folder, const DateTimeSource& now,
                           const FolderWait& wait) {
    return ProcessSubject(subject, answers, folder, now, wait).commit;
}

std::optional<FileError> ProcessData(const SubjectRecord& subject, const AnswerSet& answers,
                                     const std::string& folder, const DateTimeSource& now,
                                     const FolderWait& wait) {
    return RunProcessing(subject, answers, folder, now, wait).error;
}

} // namespace selvo
