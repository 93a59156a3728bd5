#include "scoring/ProcessData.h"

#include "datafiles/DataFile.h"
#include "datafiles/StatisticsExport.h"
#include "scoring/DimensionalScores.h"

namespace selvo {

std::optional<FileError> ProcessData(ProgramState& state, const DateTimeSource& now) {
    BuildReportHeader(state);
    BuildReportTitle(state, now); // the report's date is this moment's, taken before scoring
    BuildReportSubject(state);
    CopyAnswers(state);
    ComputeDimensionalScores(state);
    if (auto error = WriteDataFile(state)) {
        return error;
    }
    if (auto error = WriteReport(state)) {
        return error;
    }
    return WriteStatisticsExport(state);
}

} // namespace selvo
