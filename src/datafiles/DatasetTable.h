// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The dataset of a selvo-batch run: every processed subject's case as one row of NAME.csv, with
// the variables, order and values of a subject's command file, for analysing a study at once.
#include "text/CrLfLines.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace selvo {

// NAME + ".csv", NAME + ".sps", NAME + ".sav" and NAME + "_codebook.csv", in the folder the
// dataset goes to.
std::string DatasetTableName(const std::string& name);
std::string DatasetCommandsName(const std::string& name);
std::string DatasetDataFileName(const std::string& name);
std::string DatasetCodebookName(const std::string& name);
// The four, in that order: the files a dataset writes, whatever its key.
std::vector<std::string> DatasetFileNames(const std::string& name);
// NAME + "_chiave.csv": the key of a pseudonymised dataset, unless it is put elsewhere.
std::string DatasetKeyName(const std::string& name);

// Why NAME cannot name the dataset's files, as an Italian sentence; nothing when it can. The
// name stands alone: no folder (the folder is --out's), no extension, nothing a file name
// cannot hold on Windows, no control or invisible character, no leading "-", and not a name
// Windows keeps for a device (isWindowsDeviceName), whatever the system.
std::optional<std::string> DatasetNameFault(const std::string& name);

// A value as a cell of NAME.csv spells it, by the rules below: also for the key of a
// pseudonymised dataset, which a spreadsheet opens too.
std::string DatasetCsvValue(const std::string& value);

// A row of NAME.csv, of its codebook or of the key, without its line end: each cell as
// DatasetCsvValue spells it, separated by commas.
std::string DatasetCsvRow(const std::vector<std::string>& cells);

// The text a reader of the table gets from the value's cell: the value, with the formula guard
// where it takes one.
std::string DatasetCellText(const std::string& value);

// NAME.csv as the run fills it: UTF-8 with a byte-order mark, a header row of the variable
// names, then one row per case; comma separated, CR LF line ends, and a value quoted, with its
// quotation marks doubled, only when it holds a comma, a quotation mark or a line break, or
// when it is a text that takes the formula guard (withFormulaGuard), which goes inside the
// quotes.
class DatasetTable {
public:
    // `leading` names the columns that come before the case's variables (the subject's
    // identification); each case's values then start with theirs.
    explicit DatasetTable(const std::vector<std::string>& leading = {});
    void addCase(const std::vector<std::string>& values);
    std::size_t cases() const { return m_cases; }
    const std::string& bytes() const { return m_rows.text(); }
    // Each case's cells as a reader gets them (DatasetCellText of each value), in the order
    // added: the table is read back from its own bytes rather than kept twice.
    void forEachCase(const std::function<void(const std::vector<std::string>&)>& visit) const;

private:
    CrLfLines m_rows;
    std::size_t m_cases = 0;
};

} // namespace selvo
