// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/CsvFields.h"

namespace selvo {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isSeparator(char c) {
    return c == ',' || isLineEnd(c);
}

// What starts a formula in LibreOffice Calc or Excel (OWASP's list for CSV cells).
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

// Whether the text, after `apostrophes` leading apostrophes, begins a formula.
bool formulaAfterApostrophes(std::string_view text, std::size_t& apostrophes) {
    apostrophes = text.find_first_not_of('\'');
    return apostrophes != std::string_view::npos &&
           kFormulaStarts.find(text[apostrophes]) != std::string_view::npos;
}

std::string fieldLabel(std::size_t number) {
    return "campo " + std::to_string(number) + ": ";
}

} // namespace

CsvSplit splitCsvFields(std::string_view bytes, std::size_t maxFields) {
    CsvSplit split;
    split.fields.reserve(maxFields);
    // A record may end with a line break or without one; trailing blanks and blank lines are
    // what text editors leave behind, not further fields.
    while (!bytes.empty() && (isBlank(bytes.back()) || isLineEnd(bytes.back()))) {
        bytes.remove_suffix(1);
    }
    if (bytes.empty()) {
        return split;
    }

    std::size_t pos = 0;
    const std::size_t end = bytes.size();
    for (;;) {
        const std::size_t number = split.count + 1;
        CsvField field;
        while (pos < end && isBlank(bytes[pos])) {
            ++pos;
        }
        if (pos < end && bytes[pos] == '"') {
            field.quoted = true;
            ++pos;
            for (;;) {
                if (pos >= end) {
                    split.fault = fieldLabel(number) +
                                  "le virgolette aperte non vengono mai chiuse (file troncato?).";
                    return split;
                }
                if (bytes[pos] == '"') {
                    if (pos + 1 < end && bytes[pos + 1] == '"') {
                        field.text.push_back('"');
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                field.text.push_back(bytes[pos]);
                ++pos;
            }
            while (pos < end && isBlank(bytes[pos])) {
                ++pos;
            }
            if (pos < end && !isSeparator(bytes[pos])) {
                split.fault = fieldLabel(number) +
                              "dopo le virgolette di chiusura c'è altro testo prima della "
                              "virgola (le virgolette dentro un testo vanno raddoppiate).";
                return split;
            }
        } else {
            const std::size_t start = pos;
            while (pos < end && !isSeparator(bytes[pos])) {
                ++pos;
            }
            std::string_view text = bytes.substr(start, pos - start);
            while (!text.empty() && isBlank(text.back())) {
                text.remove_suffix(1);
            }
            field.text = text;
        }

        ++split.count;
        if (split.fields.size() < maxFields) {
            split.fields.push_back(std::move(field));
        }
        if (pos >= end) {
            return split;
        }
        // One separator: a comma, or a line end in any of its three spellings.
        if (bytes[pos] == '\r' && pos + 1 < end && bytes[pos + 1] == '\n') {
            ++pos;
        }
        ++pos;
    }
}

std::size_t separatorsOutsideQuotes(std::string_view bytes, char separator) {
    std::size_t count = 0;
    bool quoted = false;
    for (const char c : bytes) {
        // A doubled quote inside a text leaves the state as it was.
        quoted = c == '"' ? !quoted : quoted;
        count += !quoted && c == separator ? 1 : 0;
    }
    return count;
}

std::string quoteCsvText(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted.push_back('"');
        }
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

bool needsFormulaGuard(std::string_view text) {
    std::size_t apostrophes = 0;
    return formulaAfterApostrophes(text, apostrophes);
}

std::string withFormulaGuard(std::string_view text) {
    return needsFormulaGuard(text) ? "'" + std::string(text) : std::string(text);
}

std::string withoutFormulaGuard(std::string_view text) {
    std::size_t apostrophes = 0;
    if (formulaAfterApostrophes(text, apostrophes) && apostrophes > 0) {
        text.remove_prefix(1);
    }
    return std::string(text);
}

} // namespace selvo
