#include "scoring/ProcessData.h"

#include "datafiles/DataFile.h"
#include "datafiles/StatisticsExport.h"
#include "scoring/DimensionalScores.h"

namespace selvo {

CommitResult RunProcessing(ProgramState& state, const DateTimeSource& now, const FolderWait& wait) {
    BuildReportHeader(state);
    BuildReportTitle(state, now); // the report's date is this moment's, taken before scoring
    BuildReportSubject(state);
    CopyAnswers(state);
    ComputeDimensionalScores(state);
    std::vector<PendingFile> files{PrepareDataFile(state)};
    PreparedFile report = PrepareReport(state);
    if (report.error) {
        return {report.error, {}};
    }
    files.push_back(std::move(*report.file));
    files.push_back(PrepareStatisticsExport(state));
    return commitFileSet(files, wait);
}

std::optional<FileError> ProcessData(ProgramState& state, const DateTimeSource& now,
                                     const FolderWait& wait) {
    return RunProcessing(state, now, wait).error;
}

} // namespace selvo
