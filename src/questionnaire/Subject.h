#pragma once
// The subject record as the operator typed it (or a data file held it): the texts every output
// quotes, and the three coded fields as their codes ("1".."5", "0" for none chosen).
#include <cstdint>
#include <string>

namespace selvo {

struct SubjectRecord {
    std::string name, surname, age, sex, marital, education, notes;
    std::int16_t card = 0; // the record number a data file held; 0 for a subject typed in
    bool operator==(const SubjectRecord&) const = default;
};

} // namespace selvo
