// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles/DatasetSav.h"

#include "datafiles/SpssNumber.h"

#include <readstat.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace selvo {
namespace {

// Where the header keeps its creation date ("07 Dec 26") and time ("10:20:30").
constexpr std::size_t kCreationDateAt = 92;
constexpr std::size_t kCreationTimeAt = 101;

// PSPP shows a text no wider than this by default.
constexpr std::size_t kMaxDisplayWidth = 32;

using Writer = std::unique_ptr<readstat_writer_t, decltype(&readstat_writer_free)>;

ssize_t appendBytes(const void* data, size_t length, void* bytes) {
    static_cast<std::string*>(bytes)->append(static_cast<const char*>(data), length);
    return static_cast<ssize_t>(length);
}

SavFault readstatFault(readstat_error_t error) {
    return {std::string("ReadStat non ha potuto comporre il file: ") +
            readstat_error_message(error) + "."};
}

// ReadStat dates the header in the system's own time zone, which differs between systems and
// runs: the header is given the run's date and time as the reports carry them instead.
bool stampCreation(std::string& bytes, std::string_view createdAt) {
    static constexpr std::array<std::string_view, 12> kMonths{
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    constexpr std::string_view kShape = "00/00/0000 00:00:00";
    const bool shaped =
        createdAt.size() == kShape.size() &&
        std::equal(kShape.begin(), kShape.end(), createdAt.begin(), [](char shape, char c) {
            return shape == '0' ? c >= '0' && c <= '9' : c == shape;
        });
    const int month = shaped ? (createdAt[3] - '0') * 10 + (createdAt[4] - '0') : 0;
    if (month < 1 || month > 12 || bytes.size() < kCreationTimeAt + 8) {
        return false;
    }
    const std::string date = std::string(createdAt.substr(0, 2)) + " " +
                             std::string(kMonths[static_cast<std::size_t>(month - 1)]) + " " +
                             std::string(createdAt.substr(8, 2));
    bytes.replace(kCreationDateAt, date.size(), date);
    bytes.replace(kCreationTimeAt, 8, createdAt.substr(11, 8));
    return true;
}

readstat_variable_t* addVariable(readstat_writer_t* writer, const DatasetVariable& variable,
                                 readstat_label_set_t* labels) {
    readstat_variable_t* added = readstat_add_variable(
        writer, variable.name.c_str(),
        variable.isText() ? READSTAT_TYPE_STRING : READSTAT_TYPE_DOUBLE, variable.width);
    readstat_variable_set_label(added, variable.label.c_str());
    readstat_variable_set_format(added, variable.format.c_str());
    // As PSPP defines a variable that GET DATA reads.
    readstat_variable_set_measure(added, variable.isText() ? READSTAT_MEASURE_NOMINAL
                                                           : READSTAT_MEASURE_SCALE);
    readstat_variable_set_alignment(added, variable.isText() ? READSTAT_ALIGNMENT_LEFT
                                                             : READSTAT_ALIGNMENT_RIGHT);
    readstat_variable_set_display_width(
        added,
        variable.isText() ? static_cast<int>(std::min(variable.width, kMaxDisplayWidth)) : 8);
    if (labels != nullptr) {
        readstat_variable_set_label_set(added, labels);
    }
    return added;
}

readstat_error_t insertCell(readstat_writer_t* writer, const readstat_variable_t* variable,
                            const DatasetVariable& defined, const std::string& cell) {
    if (defined.isText()) {
        return readstat_insert_string_value(writer, variable, cell.c_str());
    }
    const std::optional<double> number = SpssFieldNumber(cell);
    return number ? readstat_insert_double_value(writer, variable, *number)
                  : readstat_insert_missing_value(writer, variable);
}

} // namespace

std::variant<std::string, SavFault> ComposeDatasetSav(std::span<const DatasetVariable> variables,
                                                      const DatasetTable& table,
                                                      std::string_view createdAt) {
    const Writer writer(readstat_writer_init(), &readstat_writer_free);
    if (!writer) {
        return SavFault{"memoria insufficiente per comporre il file."};
    }
    readstat_set_data_writer(writer.get(), appendBytes);
    // Any valid time: the header is dated afterwards.
    readstat_writer_set_file_timestamp(writer.get(), 946684800);
    // Compressed as PSPP saves it with /COMPRESSED.
    readstat_writer_set_compression(writer.get(), READSTAT_COMPRESS_ROWS);

    std::vector<readstat_variable_t*> added;
    for (const DatasetVariable& variable : variables) {
        readstat_label_set_t* labels = nullptr;
        if (!variable.valueLabels.empty()) {
            labels = readstat_add_label_set(writer.get(), READSTAT_TYPE_DOUBLE,
                                            ("labels_" + variable.name).c_str());
            for (const DatasetValueLabel& value : variable.valueLabels) {
                readstat_label_double_value(labels, value.code, value.label.c_str());
            }
        }
        added.push_back(addVariable(writer.get(), variable, labels));
    }

    std::string bytes;
    std::optional<SavFault> tooWide;
    readstat_error_t error =
        readstat_begin_writing_sav(writer.get(), &bytes, static_cast<long>(table.cases()));
    table.forEachCase([&](const std::vector<std::string>& cells) {
        if (error != READSTAT_OK || tooWide) {
            return;
        }
        error = readstat_begin_row(writer.get());
        for (std::size_t i = 0; i < added.size() && error == READSTAT_OK && !tooWide; ++i) {
            const std::string cell = i < cells.size() ? cells[i] : std::string();
            // ReadStat checks a text only against its storage, rounded up to 8 bytes: a reader
            // would cut what lies beyond the variable's width.
            if (variables[i].isText() && cell.size() > variables[i].width) {
                tooWide = SavFault{"il testo di " + variables[i].name + " supera i " +
                                   std::to_string(variables[i].width) + " byte della variabile."};
            } else {
                error = insertCell(writer.get(), added[i], variables[i], cell);
            }
        }
        if (error == READSTAT_OK && !tooWide) {
            error = readstat_end_row(writer.get());
        }
    });
    if (tooWide) {
        return *tooWide;
    }
    if (error == READSTAT_OK) {
        error = readstat_end_writing(writer.get());
    }
    if (error != READSTAT_OK) {
        return readstatFault(error);
    }
    if (!stampCreation(bytes, createdAt)) {
        return SavFault{"data di elaborazione non valida: " + std::string(createdAt) + "."};
    }
    return bytes;
}

} // namespace selvo
