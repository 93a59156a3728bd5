// SPDX-License-Identifier: GPL-3.0-or-later
#include "studio/StudioList.h"

#include "datafiles/CsvFields.h"
#include "platform/CommitFileSet.h"
#include "text/Cp1252.h"

namespace {

void addField(std::string& line, const QString& text) {
    if (!line.empty()) {
        line += ',';
    }
    line += selvo::quoteCsvText(selvo::withFormulaGuard(text.toStdString()));
}

} // namespace

std::string ComposeStudioList(const std::vector<StudioRow>& rows) {
    std::string bytes(selvo::kUtf8Bom);
    bytes += "\"Cognome\",\"Nome\",\"File\",\"Cartella\",\"Stato\"\r\n";
    for (const StudioRow& row : rows) {
        std::string line;
        for (const QString& field : {row.surname, row.name, row.file, row.folder, stateText(row)}) {
            addField(line, field);
        }
        bytes += line + "\r\n";
    }
    return bytes;
}

std::optional<std::string> SaveStudioList(const std::string& path,
                                          const std::vector<StudioRow>& rows) {
    if (const auto error = selvo::saveFileAtomically(path, ComposeStudioList(rows))) {
        return error->message();
    }
    return std::nullopt;
}
