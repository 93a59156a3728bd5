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

} // namespace selvo
