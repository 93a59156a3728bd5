// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The key of a pseudonymised dataset: which administration (its fingerprint), data file,
// surname and name each code stands for. It is kept apart from the dataset, and read
// again by the next run so that every administration keeps its code, whatever its data file is
// called now.
#include <cstddef>
#include <map>
#include <optional>
#include <set>
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
    std::string fingerprint; // AdministrationFingerprint; empty in a row of an older key
};

// "S" and the number in at least four digits: S0001, S0042, S12345.
std::string PseudonymCode(int number);

// A subject's code, and the code its data file's name already has in the key for another
// administration, when it has one (a namesake, a retest).
struct KeyCode {
    std::string code;
    std::optional<std::string> sameFileCode;
};

class PseudonymKey {
public:
    // An existing key's bytes (as bytes() writes them, or as an older version wrote them,
    // without fingerprints); the Italian reason, naming the line, when they are not such a key.
    static std::variant<PseudonymKey, std::string> parse(std::string_view bytes);

    // The names of the data files of the subjects about to be coded: a row that names one of
    // them is left to that file, even when another file holds the same answers.
    void reserveFileNames(std::set<std::string> dataFiles);

    // The subject's code: the code of its administration (by fingerprint, under this file name
    // first, then under another), else the code of a row without fingerprint under this file
    // name (which then gets it), else the one after the highest code so far. A row gives its
    // code once per run. The entry takes the file name, surname and name given.
    KeyCode codeFor(const std::string& dataFile, const std::string& surname,
                    const std::string& name, const std::string& fingerprint);

    // UTF-8 with a byte-order mark, a header row, one row per code in the order given, cells
    // as the dataset's table spells them.
    std::string bytes() const;

    const std::vector<PseudonymEntry>& entries() const { return m_entries; }

private:
    std::optional<std::size_t> rowFor(const std::string& dataFile,
                                      const std::string& fingerprint) const;
    void add(PseudonymEntry entry);

    std::vector<PseudonymEntry> m_entries;
    std::vector<bool> m_taken; // given to a subject of this run
    std::multimap<std::string, std::size_t> m_byFingerprint;
    std::multimap<std::string, std::size_t> m_byFile;
    std::set<std::string> m_reserved;
    int m_highest = 0;
};

} // namespace selvo
