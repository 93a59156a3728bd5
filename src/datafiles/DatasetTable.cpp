// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/DatasetTable.h"

#include "datafiles/CsvFields.h"
#include "datafiles/StatisticsExport.h"
#include "text/AsciiCase.h"
#include "text/InvisibleCharacters.h"
#include "text/TextSafety.h"
#include "text/WindowsNames.h"

#include <algorithm>
#include <string_view>

namespace selvo {
namespace {

// A number as the case values spell them: "-12", "3.5". A spreadsheet reads it as a number, so
// its minus sign needs no guard (the card may be negative).
bool isPlainNumber(std::string_view value) {
    if (value.starts_with('-')) {
        value.remove_prefix(1);
    }
    const std::size_t point = value.find('.');
    const std::string_view whole = value.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view("0") : value.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return !part.empty() &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return digits(whole) && digits(fraction);
}

bool takesFormulaGuard(const std::string& value) {
    return needsFormulaGuard(value) && !isPlainNumber(value);
}

} // namespace

std::string DatasetCsvValue(const std::string& value) {
    // A text age such as "=1+1" must show in a spreadsheet, not run: the guard's apostrophe
    // goes inside the quotes.
    if (takesFormulaGuard(value)) {
        return quoteCsvText(withFormulaGuard(value));
    }
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        return value;
    }
    return quoteCsvText(value);
}

std::string DatasetCellText(const std::string& value) {
    return takesFormulaGuard(value) ? withFormulaGuard(value) : value;
}

namespace {

// "studio.csv" or "studio.SPS" would give "studio.csv.csv": an extension is a slip, in any case.
bool endsWithExtension(const std::string& name) {
    const std::string lower = asciiLowered(name);
    return lower.ends_with(".csv") || lower.ends_with(".sps") || lower.ends_with(".sav");
}

} // namespace

std::string DatasetTableName(const std::string& name) {
    return name + ".csv";
}

std::string DatasetCommandsName(const std::string& name) {
    return name + ".sps";
}

std::string DatasetDataFileName(const std::string& name) {
    return name + ".sav";
}

std::string DatasetCodebookName(const std::string& name) {
    return name + "_codebook.csv";
}

std::vector<std::string> DatasetFileNames(const std::string& name) {
    return {DatasetTableName(name), DatasetCommandsName(name), DatasetDataFileName(name),
            DatasetCodebookName(name)};
}

std::string DatasetKeyName(const std::string& name) {
    return name + "_chiave.csv";
}

std::optional<std::string> DatasetNameFault(const std::string& name) {
    if (name.empty()) {
        return "--dataset richiede un nome.";
    }
    const std::string quoted = "«" + visibleText(name) + "»";
    if (name.find_first_of("/\\") != std::string::npos) {
        return "il nome del dataset " + quoted +
               " contiene una cartella: indicare solo il nome e scegliere la cartella con --out.";
    }
    if (name.front() == '-') {
        return "il nome del dataset " + quoted + " inizia con «-», come un'opzione.";
    }
    for (const char c : name) {
        if (kRefusedByWindows.find(c) != std::string_view::npos) {
            return "il nome del dataset " + quoted + " contiene il carattere «" +
                   std::string(1, c) + "», che non può far parte del nome di un file.";
        }
    }
    if (!isValidUtf8(name) || firstUnseenCharacter(name)) {
        return "il nome del dataset " + quoted +
               " contiene un carattere di controllo o invisibile.";
    }
    if (isWindowsDeviceName(name)) {
        return "il nome del dataset " + quoted + " è un nome che Windows riserva ai dispositivi (" +
               kWindowsDeviceNames +
               "): su Windows i suoi file non si potrebbero aprire. Scegliere un altro nome.";
    }
    if (name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
        return "il nome del dataset " + quoted +
               " non può essere il nome di un file (è «.» o «..», o termina con un punto o uno "
               "spazio).";
    }
    if (endsWithExtension(name)) {
        return "il nome del dataset " + quoted +
               " va indicato senza estensione: selvo-batch vi aggiunge .csv, .sps e .sav.";
    }
    return std::nullopt;
}

std::string DatasetCsvRow(const std::vector<std::string>& cells) {
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            row += ',';
        }
        row += DatasetCsvValue(cells[i]);
    }
    return row;
}

DatasetTable::DatasetTable(const std::vector<std::string>& leading) : m_rows(kUtf8Bom) {
    std::vector<std::string> names = leading;
    for (StatisticsVariable& variable : StatisticsVariables()) {
        names.push_back(std::move(variable.name));
    }
    m_rows.add(DatasetCsvRow(names));
}

void DatasetTable::addCase(const std::vector<std::string>& values) {
    m_rows.add(DatasetCsvRow(values));
    ++m_cases;
}

void DatasetTable::forEachCase(
    const std::function<void(const std::vector<std::string>&)>& visit) const {
    // Past the byte-order mark and the header row. A cell is quoted only as DatasetCsvValue
    // quotes it: whole, its quotation marks doubled.
    const std::string& bytes = m_rows.text();
    std::size_t at = bytes.find(kCrLf) + kCrLf.size();
    std::vector<std::string> cells;
    while (at < bytes.size()) {
        std::string cell;
        if (bytes[at] == '"') {
            for (++at; !(bytes[at] == '"' && bytes[at + 1] != '"'); ++at) {
                at += bytes[at] == '"' ? 1 : 0;
                cell += bytes[at];
            }
            ++at;
        } else {
            const std::size_t end = bytes.find_first_of(",\r", at);
            cell = bytes.substr(at, end - at);
            at = end;
        }
        cells.push_back(std::move(cell));
        if (bytes[at] == ',') {
            ++at;
        } else {
            at += kCrLf.size();
            visit(cells);
            cells.clear();
        }
    }
}

} // namespace selvo
