// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The comma-separated files the program reads, the data file and the key of a pseudonymised
// dataset, read and written at the byte level: the separators are ASCII, so the same code
// serves code page 1252 and UTF-8 files.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

struct CsvField {
    std::string text;
    bool quoted = false;
};

struct CsvSplit {
    std::vector<CsvField> fields;     // the first maxFields fields
    std::size_t count = 0;            // every field found, kept or not
    std::optional<std::string> fault; // Italian reason naming the field, when the text is broken
};

// Fields are separated by commas or line ends; blanks before a field are skipped; a quoted
// field runs to its closing quote, "" inside it stands for one quote and line breaks inside it
// are kept. Blanks and line ends at the very end of the text close the record.
CsvSplit splitCsvFields(std::string_view bytes, std::size_t maxFields);

// The rows of a table, as the key is: fields as above, but rows end at LF or CR LF only (a CR
// alone is text), every byte up to a separator is the cell's, blanks too, and nothing may stand
// between a closing quote and the separator. A line end at the very end closes the last row.
// Nothing when a quote is left open or stray.
std::optional<std::vector<std::vector<std::string>>> splitCsvRows(std::string_view bytes);

// How often `separator` stands outside quoted text: a record another program wrote with other
// separators shows them here.
std::size_t separatorsOutsideQuotes(std::string_view bytes, char separator);

// The text between double quotes, each double quote inside doubled.
std::string quoteCsvText(std::string_view text);

// Spreadsheets run a cell that begins with "=", "+", "-" or "@" as a formula, and some skip a
// leading tab or carriage return first. A cell whose text, after any leading apostrophes, begins
// with one of those six gets one more apostrophe in front, which makes it text; every other text
// stays as it is. Removing the guard takes off one apostrophe in exactly that case, so any text
// written with the guard reads back as it was.
std::string withFormulaGuard(std::string_view text);
std::string withoutFormulaGuard(std::string_view text);
// Whether the text would get the guard.
bool needsFormulaGuard(std::string_view text);

} // namespace selvo
