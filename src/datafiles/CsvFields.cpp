// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/CsvFields.h"

namespace selvo {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// How the text of a file lays out its fields. The data file is one record: any line end, CR
// alone too, separates two fields like a comma, and blanks around a field are not part of it.
// The key is a table of rows that end at LF or CR LF, and every byte between two separators
// belongs to its cell, blanks too.
enum class CsvLayout { Record, Rows };

enum class FieldEnd { Comma, LineEnd, TextEnd };
enum class FieldFault { None, OpenQuote, TextAfterQuote };

// Whether a separator starts at `pos`.
bool separatorAt(std::string_view bytes, std::size_t pos, CsvLayout layout) {
    const char c = bytes[pos];
    if (c == ',' || c == '\n') {
        return true;
    }
    return c == '\r' &&
           (layout == CsvLayout::Record || (pos + 1 < bytes.size() && bytes[pos + 1] == '\n'));
}

// Reads the field at `pos` into `field` and moves `pos` past the separator that ends it. A
// quoted field runs to its closing quote, "" inside it stands for one quote and line breaks
// inside it are kept; only a separator may follow it.
FieldFault readField(std::string_view bytes, std::size_t& pos, CsvLayout layout, CsvField& field,
                     FieldEnd& ended) {
    const std::size_t end = bytes.size();
    const bool trimBlanks = layout == CsvLayout::Record;
    while (trimBlanks && pos < end && isBlank(bytes[pos])) {
        ++pos;
    }
    if (pos < end && bytes[pos] == '"') {
        field.quoted = true;
        ++pos;
        for (;;) {
            if (pos >= end) {
                return FieldFault::OpenQuote;
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
        while (trimBlanks && pos < end && isBlank(bytes[pos])) {
            ++pos;
        }
        if (pos < end && !separatorAt(bytes, pos, layout)) {
            return FieldFault::TextAfterQuote;
        }
    } else {
        const std::size_t start = pos;
        while (pos < end && !separatorAt(bytes, pos, layout)) {
            ++pos;
        }
        std::string_view text = bytes.substr(start, pos - start);
        while (trimBlanks && !text.empty() && isBlank(text.back())) {
            text.remove_suffix(1);
        }
        field.text = text;
    }
    if (pos >= end) {
        ended = FieldEnd::TextEnd;
        return FieldFault::None;
    }
    // One separator: a comma, or a line end in any of its spellings.
    ended = bytes[pos] == ',' ? FieldEnd::Comma : FieldEnd::LineEnd;
    if (bytes[pos] == '\r' && pos + 1 < end && bytes[pos + 1] == '\n') {
        ++pos;
    }
    ++pos;
    return FieldFault::None;
}

// Why a broken field is refused; the data file's message names the field before it.
std::string faultText(FieldFault fault) {
    return fault == FieldFault::OpenQuote
               ? "le virgolette aperte non vengono mai chiuse (file troncato?)."
               : "dopo le virgolette di chiusura c'è altro testo prima della virgola (le "
                 "virgolette dentro un testo vanno raddoppiate).";
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
    while (!bytes.empty() &&
           (isBlank(bytes.back()) || bytes.back() == '\r' || bytes.back() == '\n')) {
        bytes.remove_suffix(1);
    }
    if (bytes.empty()) {
        return split;
    }
    std::size_t pos = 0;
    for (;;) {
        CsvField field;
        FieldEnd ended = FieldEnd::TextEnd;
        if (const FieldFault fault = readField(bytes, pos, CsvLayout::Record, field, ended);
            fault != FieldFault::None) {
            split.fault = fieldLabel(split.count + 1) + faultText(fault);
            return split;
        }
        ++split.count;
        if (split.fields.size() < maxFields) {
            split.fields.push_back(std::move(field));
        }
        if (ended == FieldEnd::TextEnd) {
            return split;
        }
    }
}

std::optional<std::vector<std::vector<std::string>>> splitCsvRows(std::string_view bytes) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    // A line end at the very end closes the last row; a comma there leaves one more cell.
    std::size_t pos = 0;
    while (pos < bytes.size() || !row.empty()) {
        CsvField field;
        FieldEnd ended = FieldEnd::TextEnd;
        if (readField(bytes, pos, CsvLayout::Rows, field, ended) != FieldFault::None) {
            return std::nullopt;
        }
        row.push_back(std::move(field.text));
        if (ended != FieldEnd::Comma) {
            rows.push_back(std::move(row));
            row.clear();
        }
    }
    return rows;
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
