// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles/DatasetCodebook.h"

#include "datafiles/DatasetTable.h"
#include "text/Cp1252.h"
#include "text/CrLfLines.h"

namespace selvo {
namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

} // namespace

std::string ComposeDatasetCodebook(std::span<const DatasetVariable> variables) {
    CrLfLines rows(kUtf8Bom);
    rows.add(
        DatasetCsvRow({"Variabile", "Etichetta", "Descrizione", "Tipo", "Etichette dei valori"}));
    for (const DatasetVariable& variable : variables) {
        std::string values;
        for (const DatasetValueLabel& value : variable.valueLabels) {
            values +=
                (values.empty() ? "" : "; ") + std::to_string(value.code) + " = " + value.label;
        }
        rows.add(DatasetCsvRow({variable.name, trimmed(variable.label), variable.description,
                                std::string(variable.isText() ? "testo" : "numerico") + " (" +
                                    DatasetShownFormat(variable) + ")",
                                values}));
    }
    return rows.take();
}

} // namespace selvo
