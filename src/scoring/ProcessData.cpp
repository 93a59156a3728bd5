#include "scoring/ProcessData.h"

#include "datafiles/DataFile.h"
#include "datafiles/StatisticsExport.h"
#include "questionnaire/SubjectFiles.h"
#include "scoring/DimensionalScores.h"

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

CommitResult RunProcessing(ProgramState& state, const std::string& folder,
                           const DateTimeSource& now, const FolderWait& wait) {
    const SubjectRecord subject = SubjectOf(state);
    const AnswerSet answers = AnswersOf(state);
    BuildReportHeader(state);
    BuildReportTitle(state, now); // the report's date is this moment's, taken before scoring
    BuildReportSubject(state);
    CopyAnswers(state);
    ComputeDimensionalScores(state);
    // A refusal names the file alone, as the operator knows it; the commit names the folder.
    std::string dataFile = ComposeDataFile(subject, answers);
    if (auto refused = unreadableDataFile(SubjectDataFileName(subject), dataFile)) {
        return {std::move(refused), {}};
    }
    std::vector<PendingFile> files{
        {pathInFolder(folder, SubjectDataFileName(subject)), std::move(dataFile)}};
    PreparedFile report = PrepareReport(state);
    if (report.error) {
        return {report.error, {}};
    }
    files.push_back(std::move(*report.file));
    files.push_back(PrepareStatisticsExport(state));
    // The writers name their files; the run puts them in its folder.
    for (std::size_t k = 1; k < files.size(); ++k) {
        files[k].path = pathInFolder(folder, files[k].path);
    }
    CommitResult result = commitFileSet(files, wait);
    // A failure names the file as the run's writers name it; its full path says where.
    const std::string inFolder = pathInFolder(folder, "");
    if (result.error && !inFolder.empty() && result.error->fileName.starts_with(inFolder)) {
        result.error->fileName.erase(0, inFolder.size());
    }
    return result;
}

std::optional<FileError> ProcessData(ProgramState& state, const std::string& folder,
                                     const DateTimeSource& now, const FolderWait& wait) {
    return RunProcessing(state, folder, now, wait).error;
}

} // namespace selvo
