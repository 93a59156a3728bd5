// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The subject record as the operator typed it (or a data file held it): the texts every output
// quotes, the three coded fields as their codes ("1".."5", "0" for none chosen), and the card
// number the data file carries.
#include "questionnaire/Questionnaire.h"

#include <cstdint>
#include <string>

namespace selvo {

struct SubjectRecord {
    std::string name, surname, age, sex, marital, education, notes;
    std::int16_t card = 0; // the record number a data file held; 0 for a subject typed in
    bool operator==(const SubjectRecord&) const = default;

    const std::string& operator[](questionnaire::SubjectField field) const {
        using enum questionnaire::SubjectField;
        switch (field) {
        case Name:
            return name;
        case Surname:
            return surname;
        case Age:
            return age;
        case Sex:
            return sex;
        case Marital:
            return marital;
        case Education:
            break;
        }
        return education;
    }
};

} // namespace selvo
