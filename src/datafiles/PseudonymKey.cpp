// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/PseudonymKey.h"

#include "datafiles/AdministrationFingerprint.h"
#include "datafiles/CsvFields.h"
#include "datafiles/DatasetTable.h"
#include "text/Cp1252.h"
#include "text/CrLfLines.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace selvo {
namespace {

constexpr std::array<std::string_view, 5> kHeader{"Codice", "File di dati", "Cognome", "Nome",
                                                  "Impronta"};
// A key written before fingerprints, read as it always was.
constexpr std::size_t kOlderColumns = 4;

// More digits than this would not fit an int; no study has that many subjects.
constexpr std::size_t kMaxCodeDigits = 9;

using Row = std::vector<std::string>;

// The rows of the key's text (splitCsvRows), the formula guard taken off each cell as the data
// file's reader takes it off.
std::optional<std::vector<Row>> rowsOf(std::string_view text) {
    std::optional<std::vector<Row>> rows = splitCsvRows(text);
    if (rows) {
        for (Row& each : *rows) {
            for (std::string& value : each) {
                value = withoutFormulaGuard(value);
            }
        }
    }
    return rows;
}

// The number of a code as codeFor gives them; nothing for anything else.
std::optional<int> codeNumber(std::string_view code) {
    if (code.size() < 5 || code.size() > 1 + kMaxCodeDigits || code[0] != 'S') {
        return std::nullopt;
    }
    int number = 0;
    for (const char c : code.substr(1)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

std::string onLine(std::size_t row, const std::string& what) {
    return "alla riga " + std::to_string(row + 1) + " " + what;
}

} // namespace

std::string PseudonymCode(int number) {
    std::string digits = std::to_string(number);
    return "S" + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

std::variant<PseudonymKey, std::string> PseudonymKey::parse(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    if (!isValidUtf8(bytes)) {
        return std::string("non è un testo UTF-8 (forse è stato salvato con un'altra codifica)");
    }
    const std::optional<std::vector<Row>> rows = rowsOf(bytes);
    if (!rows) {
        return std::string("ha virgolette non chiuse o fuori posto");
    }
    const std::size_t columns = rows->empty() ? 0 : rows->front().size();
    if ((columns != kHeader.size() && columns != kOlderColumns) ||
        !std::equal(rows->front().begin(), rows->front().end(), kHeader.begin())) {
        return std::string("non inizia con la riga di intestazione «Codice,File di dati,Cognome,"
                           "Nome,Impronta» (o «Codice,File di dati,Cognome,Nome»)");
    }
    PseudonymKey key;
    std::set<int> numbers;
    std::set<std::string> unprinted; // files of the rows without fingerprint
    for (std::size_t r = 1; r < rows->size(); ++r) {
        const Row& row = (*rows)[r];
        if (row.size() == 1 && row[0].empty()) {
            continue; // a blank line, as an editor may leave at the end
        }
        if (row.size() != columns) {
            return onLine(r, "ha " + std::to_string(row.size()) + " campi invece di " +
                                 std::to_string(columns));
        }
        const std::optional<int> number = codeNumber(row[0]);
        if (!number) {
            return onLine(r, "il codice «" + row[0] + "» non è nella forma S0001");
        }
        if (!numbers.insert(*number).second) {
            return onLine(r, "il codice " + row[0] + " compare più volte");
        }
        const std::string fingerprint = columns == kOlderColumns ? std::string() : row[4];
        if (!fingerprint.empty() && !isAdministrationFingerprint(fingerprint)) {
            return onLine(r, "l'impronta «" + fingerprint + "» non è di 16 cifre esadecimali");
        }
        // Without fingerprints a file name is all that tells two rows apart.
        if (row[1].empty() || (fingerprint.empty() && !unprinted.insert(row[1]).second)) {
            return onLine(r, "il file di dati «" + row[1] + "» è vuoto o compare più volte");
        }
        key.add({row[0], row[1], row[2], row[3], fingerprint});
        key.m_highest = std::max(key.m_highest, *number);
    }
    return key;
}

void PseudonymKey::add(PseudonymEntry entry) {
    const std::size_t at = m_entries.size();
    m_byFile.emplace(entry.dataFile, at);
    if (!entry.fingerprint.empty()) {
        m_byFingerprint.emplace(entry.fingerprint, at);
    }
    m_entries.push_back(std::move(entry));
    m_taken.push_back(false);
}

void PseudonymKey::reserveFileNames(std::set<std::string> dataFiles) {
    m_reserved = std::move(dataFiles);
}

// The row the administration takes, if any: see codeFor.
std::optional<std::size_t> PseudonymKey::rowFor(const std::string& dataFile,
                                                const std::string& fingerprint) const {
    const auto [first, last] = m_byFingerprint.equal_range(fingerprint);
    for (auto at = first; at != last; ++at) {
        if (!m_taken[at->second] && m_entries[at->second].dataFile == dataFile) {
            return at->second;
        }
    }
    for (auto at = first; at != last; ++at) {
        if (!m_taken[at->second] && !m_reserved.contains(m_entries[at->second].dataFile)) {
            return at->second;
        }
    }
    const auto [named, end] = m_byFile.equal_range(dataFile);
    for (auto at = named; at != end; ++at) {
        if (!m_taken[at->second] && m_entries[at->second].fingerprint.empty()) {
            return at->second;
        }
    }
    return std::nullopt;
}

KeyCode PseudonymKey::codeFor(const std::string& dataFile, const std::string& surname,
                              const std::string& name, const std::string& fingerprint) {
    const std::optional<std::size_t> row = rowFor(dataFile, fingerprint);
    if (!row) {
        KeyCode given{PseudonymCode(++m_highest), std::nullopt};
        if (const auto named = m_byFile.find(dataFile); named != m_byFile.end()) {
            given.sameFileCode = m_entries[named->second].code;
        }
        add({given.code, dataFile, surname, name, fingerprint});
        m_taken.back() = true;
        return given;
    }
    PseudonymEntry& entry = m_entries[*row];
    if (entry.dataFile != dataFile) {
        const auto [first, last] = m_byFile.equal_range(entry.dataFile);
        m_byFile.erase(
            std::find_if(first, last, [&](const auto& at) { return at.second == *row; }));
        m_byFile.emplace(dataFile, *row);
        entry.dataFile = dataFile;
    }
    if (entry.fingerprint.empty()) {
        entry.fingerprint = fingerprint;
        m_byFingerprint.emplace(fingerprint, *row);
    }
    entry.surname = surname;
    entry.name = name;
    m_taken[*row] = true;
    return {entry.code, std::nullopt};
}

std::string PseudonymKey::bytes() const {
    CrLfLines rows(kUtf8Bom);
    rows.add(DatasetCsvRow({kHeader.begin(), kHeader.end()}));
    for (const PseudonymEntry& entry : m_entries) {
        rows.add(DatasetCsvRow(
            {entry.code, entry.dataFile, entry.surname, entry.name, entry.fingerprint}));
    }
    return rows.take();
}

} // namespace selvo
