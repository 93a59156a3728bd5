// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The key of a pseudonymised dataset: which data file, surname and name each code stands for.
// It is kept apart from the dataset, and read again by the next run so that every subject
// keeps its code.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace selvo {

struct PseudonymEntry {
    std::string code;     // "S0001"
    std::string dataFile; // the data file's name, without folder
    std::string surname;
    std::string name;
};

// "S" and the number in at least four digits: S0001, S0042, S12345.
std::string PseudonymCode(int number);

class PseudonymKey {
public:
    // An existing key's bytes (as bytes() writes them); the Italian reason, naming the line,
    // when they are not such a key.
    static std::variant<PseudonymKey, std::string> parse(std::string_view bytes);

    // The subject's code: the one the key holds for this data file, or else the one after the
    // highest code so far. The entry takes the surname and name given.
    std::string codeFor(const std::string& dataFile, const std::string& surname,
                        const std::string& name);

    // UTF-8 with a byte-order mark, a header row, one row per code in the order given, cells
    // as the dataset's table spells them.
    std::string bytes() const;

    const std::vector<PseudonymEntry>& entries() const { return m_entries; }

private:
    std::vector<PseudonymEntry> m_entries;
    std::map<std::string, std::size_t> m_byFile;
    int m_highest = 0;
};

} // namespace selvo
