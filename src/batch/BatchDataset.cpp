#include "batch/BatchDataset.h"

#include "administration/ItemBank.h"
#include "datafiles/DatasetCommands.h"
#include "datafiles/StatisticsExport.h"
#include "state/Startup.h"
#include "platform/TextFile.h"
#include "text/TextSafety.h"

namespace fs = std::filesystem;

namespace selvo {

BatchDataset::BatchDataset(fs::path folder, std::string shownFolder, std::string name)
    : m_folder(std::move(folder)), m_shownFolder(std::move(shownFolder)), m_name(std::move(name)) {}

void BatchDataset::addCase(const SubjectRecord& subject, const AnswerSet& answers,
                           const Scores& scores) {
    m_table.addCase(StatisticsCaseValues(subject, answers, scores));
}

BatchDataset::Outcome BatchDataset::write(const FolderWait& wait) const {
    const std::string table = DatasetTableName(m_name);
    const std::string commands = DatasetCommandsName(m_name);
    const std::string notWritten =
        "; " + shown(table) + " e " + shown(commands) + " non sono stati scritti";
    // A run where every file failed would otherwise replace an older dataset with an empty one.
    if (m_table.cases() == 0) {
        return {notWritten + ": nessun caso", std::nullopt};
    }
    ProgramState labels; // the item texts label the variables
    SetProgramConstants(labels);
    LoadItemBank(labels);
    const CommitResult result = commitFileSet(
        {
            {utf8Of(m_folder / pathFromUtf8(table)), m_table.bytes()},
            {utf8Of(m_folder / pathFromUtf8(commands)),
             ComposeDatasetCommands(m_name, labels.ItemText)},
        },
        wait);
    if (result.error) {
        return {notWritten, result.error};
    }
    const std::size_t cases = m_table.cases();
    return {"; " + std::to_string(cases) +
                (cases == 1 ? " caso scritto in " : " casi scritti in ") + shown(table),
            std::nullopt};
}

std::string BatchDataset::shown(const std::string& file) const {
    const fs::path path = m_shownFolder.empty() ? pathFromUtf8(file)
                                                : pathFromUtf8(m_shownFolder) / pathFromUtf8(file);
    return visibleText(utf8Of(path));
}

} // namespace selvo
