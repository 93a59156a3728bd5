#pragma once
// The subject record as the operator typed it (or a data file held it): the texts every output
// quotes, and the three coded fields as their codes ("1".."5", "0" for none chosen).
#include <string>

namespace selvo {

struct SubjectRecord {
    std::string name, surname, age, sex, marital, education, notes;
    bool operator==(const SubjectRecord&) const = default;
};

} // namespace selvo
