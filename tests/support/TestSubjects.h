// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Subjects for tests, built as the window or a data file would leave them: a subject record
// with every required field, and answers item by item.
#include "datafiles/DataFile.h"
#include "platform/Paths.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Questionnaire.h"
#include "questionnaire/Subject.h"

#include <functional>
#include <string>

namespace testsupport {

// A subject record and its answers, as a processing run takes them.
struct TestSubject {
    selvo::SubjectRecord subject;
    selvo::AnswerSet answers;
};

// The fields of a subject record; each test names only those it cares about, in this order:
// subjectRecord({.surname = "Rossi", .name = "Mario"}).
struct SubjectFields {
    std::string surname = "GRP1";
    std::string name = "S01";
    std::string age = "35";
    std::string sex = "1";
    std::string marital = "2";
    std::string education = "3";
    std::string notes = {};
    int card = 0;
};

inline selvo::SubjectRecord subjectRecord(const SubjectFields& fields = {}) {
    return {fields.name,    fields.surname,   fields.age,   fields.sex,
            fields.marital, fields.education, fields.notes, static_cast<std::int16_t>(fields.card)};
}

// Items 1..`last` answered: agreement(item), and distress(item) where the agreement asks for it.
inline selvo::AnswerSet answersWhere(const std::function<int(int item)>& agreement,
                                     const std::function<int(int item)>& distress,
                                     int last = selvo::questionnaire::kItemCount) {
    selvo::AnswerSet answers;
    for (int item = 1; item <= last; ++item) {
        const int step = agreement(item);
        answers.agreement[item] = static_cast<selvo::Integer>(step);
        answers.distress[item] = static_cast<selvo::Integer>(
            selvo::questionnaire::asksDistress(step) ? distress(item) : 0);
    }
    return answers;
}

// Complete answers that differ with `seed`, as a questionnaire would leave them.
inline selvo::AnswerSet variedAnswers(int seed) {
    return answersWhere([seed](int item) { return (item * 3 + seed) % 7 + 1; },
                        [seed](int item) { return (item + seed) % 3 + 1; });
}

// A subject of a study, its fields and answers varying with `seed`.
inline selvo::SubjectRecord studySubject(int seed, const std::string& surname,
                                         const std::string& name) {
    return subjectRecord({.surname = surname,
                          .name = name,
                          .age = std::to_string(20 + seed % 50),
                          .sex = seed % 2 == 0 ? "1" : "2",
                          .marital = std::to_string(seed % 5 + 1),
                          .education = std::to_string((seed + 2) % 5 + 1)});
}

// The subject's data file, as the program writes it.
inline std::string dataFileOf(const TestSubject& subject) {
    return selvo::ComposeDataFile(subject.subject, subject.answers);
}

} // namespace testsupport
