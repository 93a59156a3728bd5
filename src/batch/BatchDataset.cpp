// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchDataset.h"

#include "datafiles/AdministrationFingerprint.h"
#include "datafiles/DatasetCodebook.h"
#include "datafiles/DatasetCommands.h"
#include "datafiles/DatasetSav.h"
#include "datafiles/SpssText.h"
#include "datafiles/StatisticsExport.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Locks.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"
#include "text/TextSafety.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// A key is a short table; anything much larger is not one.
constexpr std::size_t kMaxKeyBytes = 16 * 1024 * 1024;

// Labelled as the subject's command file labels its header: a blank, then the word.
std::vector<DatasetTextColumn> identityColumns(bool pseudonymised) {
    if (pseudonymised) {
        return {{"ID", 1, " Identificativo",
                 "Codice del soggetto; la chiave dei codici dice di chi è"}};
    }
    return {{"ID", 1, " Identificativo",
             "Nome del file di dati del soggetto, senza cartella ed estensione"},
            {"Cognome", 1, " Cognome", "Cognome del soggetto"},
            {"Nome", 1, " Nome", "Nome del soggetto"}};
}

std::vector<std::string> namesOf(const std::vector<DatasetTextColumn>& columns) {
    std::vector<std::string> names;
    for (const DatasetTextColumn& column : columns) {
        names.push_back(column.name);
    }
    return names;
}

} // namespace

std::string DatasetSubjectId(const std::string& dataFile) {
    return utf8Of(pathFromUtf8(dataFile).stem());
}

std::variant<PseudonymKey, std::string> ReadDatasetKey(const fs::path& file) {
    if (!pathExists(utf8Of(file))) {
        return PseudonymKey{};
    }
    const FileResult<std::string> read = readWholeFile(utf8Of(file), kMaxKeyBytes);
    if (!read.ok()) {
        return read.error().message();
    }
    auto parsed = PseudonymKey::parse(read.value());
    if (const auto* fault = std::get_if<std::string>(&parsed)) {
        return "il file non è una chiave dei codici di selvo-batch: " + *fault +
               ". Indicare con --chiave la chiave giusta, o un file che non esiste ancora per "
               "una chiave nuova.";
    }
    return parsed;
}

BatchDataset::BatchDataset(DatasetPaths paths, std::string shownFolder, std::string name,
                           std::optional<DatasetKey> key)
    : m_paths(std::move(paths)), m_shownFolder(std::move(shownFolder)), m_name(std::move(name)),
      m_key(std::move(key)), m_columns(identityColumns(m_key.has_value())),
      m_table(namesOf(m_columns)) {}

std::optional<std::string> BatchDataset::addCase(const std::string& dataFile,
                                                 const SubjectRecord& subject,
                                                 const AnswerSet& answers, const Scores& scores) {
    // Every text of the row stays on one line, as the case's own texts do.
    std::vector<std::string> values;
    std::optional<std::string> note;
    if (m_key) {
        const std::string file = utf8Of(pathFromUtf8(dataFile).filename());
        KeyCode coded = m_key->codes.codeFor(file, subject.surname, subject.name,
                                             AdministrationFingerprint(subject, answers));
        if (coded.sameFileCode) {
            note = "nella chiave dei codici il nome " + file + " ha già il codice " +
                   *coded.sameFileCode +
                   ", ma per un'altra somministrazione (altre risposte o altri dati): questa "
                   "riceve il codice "
                   "nuovo " +
                   coded.code + ".";
        }
        values.push_back(std::move(coded.code));
    } else {
        values = {SpssOneLine(DatasetSubjectId(dataFile)), SpssOneLine(subject.surname),
                  SpssOneLine(subject.name)};
    }
    // As wide as the text a reader of the table gets, the formula guard included.
    for (std::size_t i = 0; i < values.size(); ++i) {
        m_columns[i].width = std::max(m_columns[i].width, DatasetCellText(values[i]).size());
    }
    for (std::string& value : StatisticsCaseValues(subject, answers, scores)) {
        values.push_back(std::move(value));
    }
    m_table.addCase(values);
    return note;
}

BatchDataset::Outcome BatchDataset::write(const FolderWait& wait,
                                          const std::string& createdAt) const {
    const std::vector<std::string> names = DatasetFileNames(m_name);
    // A run where every file failed would otherwise replace an older dataset with an empty one.
    if (m_table.cases() == 0) {
        return {notWritten(": nessun caso"), std::nullopt};
    }
    const std::vector<DatasetVariable> variables = DatasetVariables(m_columns);
    const auto path = [this](std::size_t file) { return utf8Of(m_paths.files[file]); };
    auto sav = ComposeDatasetSav(variables, m_table, createdAt);
    if (const auto* fault = std::get_if<SavFault>(&sav)) {
        return {notWritten(""), FileError(path(2), fault->reason)};
    }
    std::vector<PendingFile> files{
        {path(0), m_table.bytes()},
        {path(1), ComposeDatasetCommands(m_name, m_columns)},
        {path(2), std::get<std::string>(std::move(sav))},
        {path(3), ComposeDatasetCodebook(variables)},
    };
    // The key goes with the dataset or not at all: a dataset whose codes no key explains
    // could never be traced back.
    if (m_key) {
        files.push_back({utf8Of(m_key->file), m_key->codes.bytes(), Privacy::OwnerOnly});
    }
    const CommitResult result = commitFileSet(files, wait);
    if (result.error) {
        return {notWritten(""), result.error};
    }
    const std::size_t cases = m_table.cases();
    std::string said = "; " + std::to_string(cases) +
                       (cases == 1 ? " caso scritto in " : " casi scritti in ") + shown(names[0]);
    if (m_key) {
        said += ". La chiave dei codici è in " + visibleText(m_key->shown) +
                ": conservarla a parte, non inviarla insieme al dataset";
    }
    return {said, std::nullopt};
}

std::string BatchDataset::notWritten(const std::string& why) const {
    const std::vector<std::string> names = DatasetFileNames(m_name);
    std::string said = "; ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        said += (i == 0 ? "" : i + 1 == names.size() ? " e " : ", ") + shown(names[i]);
    }
    return said + " non sono stati scritti" +
           (m_key && m_table.cases() > 0 ? ", né la chiave" : "") + why;
}

std::string BatchDataset::shown(const std::string& file) const {
    const fs::path path = m_shownFolder.empty() ? pathFromUtf8(file)
                                                : pathFromUtf8(m_shownFolder) / pathFromUtf8(file);
    return visibleText(utf8Of(path));
}

} // namespace selvo
