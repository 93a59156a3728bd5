// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the profile window shows, read back from its controls, and what the report says of the
// same run, so that a test can hold the two side by side.
#include "profile/ui/ResultsWindow.h"

#include <QTableWidget>
#include <map>
#include <regex>
#include <string>

// Each disorder's short name to its "total | percentage" as the report prints them.
inline std::map<std::string, std::string> reportDimensionalScores(const std::string& rtf) {
    static const std::regex row(R"(\{\\b ([A-Z-]+)\}\r\n\t\tR score \(\d+-\d+\):  )"
                                R"(\{\\b +(-?[0-9.]+)  \( *(-?[0-9.]+)%\)\})");
    std::map<std::string, std::string> scores;
    for (auto match = std::sregex_iterator(rtf.begin(), rtf.end(), row);
         match != std::sregex_iterator(); ++match) {
        scores[(*match)[1]] = (*match)[2].str() + " | " + (*match)[3].str() + " %";
    }
    return scores;
}

// The same from the window's table: short name to "total | percentage".
inline std::map<std::string, std::string> tableDimensionalScores(const ResultsWindow& window) {
    const auto* table = window.findChild<QTableWidget*>(QStringLiteral("tblDisorders"));
    std::map<std::string, std::string> scores;
    for (int row = 0; table != nullptr && row < table->rowCount(); ++row) {
        const QString name = table->item(row, 0)->text().section(QStringLiteral(" - "), 0, 0);
        scores[name.toStdString()] =
            (table->item(row, 1)->text() + " | " + table->item(row, 2)->text()).toStdString();
    }
    return scores;
}
