#include "scoring/ProcessData.h"

#include "datafiles/DataFile.h"
#include "datafiles/StatisticsExport.h"
#include "scoring/DimensionalScores.h"

namespace selvo {
namespace {

// A data file the reader would refuse is never written: the reload and selvo-batch could not
// read it back. It can only grow this large from a data file made elsewhere, whose notes grow
// when their line ends become CR LF.
std::optional<FileError> unreadableDataFile(const PendingFile& file) {
    if (file.bytes.size() <= kMaxDataFileBytes) {
        return std::nullopt;
    }
    return FileError{file.path,
                     "il file di dati sarebbe di " + std::to_string(file.bytes.size()) +
                         " byte, più di 1 MiB (" + std::to_string(kMaxDataFileBytes) +
                         " byte), il massimo che il programma e selvo-batch rileggono. Nessun "
                         "file è stato scritto: accorciare le note e ripetere l'elaborazione."};
}

} // namespace

CommitResult RunProcessing(ProgramState& state, const std::string& folder,
                           const DateTimeSource& now, const FolderWait& wait) {
    BuildReportHeader(state);
    BuildReportTitle(state, now); // the report's date is this moment's, taken before scoring
    BuildReportSubject(state);
    CopyAnswers(state);
    ComputeDimensionalScores(state);
    std::vector<PendingFile> files{PrepareDataFile(state)};
    if (auto refused = unreadableDataFile(files.front())) {
        return {std::move(refused), {}};
    }
    PreparedFile report = PrepareReport(state);
    if (report.error) {
        return {report.error, {}};
    }
    files.push_back(std::move(*report.file));
    files.push_back(PrepareStatisticsExport(state));
    for (PendingFile& file : files) {
        file.path = pathInFolder(folder, file.path);
    }
    return commitFileSet(files, wait);
}

std::optional<FileError> ProcessData(ProgramState& state, const std::string& folder,
                                     const DateTimeSource& now, const FolderWait& wait) {
    return RunProcessing(state, folder, now, wait).error;
}

} // namespace selvo
