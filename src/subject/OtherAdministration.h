// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two administrations under one surname and name share their file names: a retest months
// later, or a namesake. Processing a subject replaces the files of its name, which is what an
// operator wants for the same administration processed again and never for another one: that
// one's answers would be gone. These tell the two apart before anything is written.
#include "platform/Paths.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"

#include <optional>
#include <string>
#include <vector>

namespace selvo {

// A data file that holds another administration than the one about to take its name.
struct OtherAdministration {
    std::string dataFile;                     // as the caller named it
    std::optional<std::string> modified;      // "dd/mm/yyyy hh:mm"
    std::optional<std::string> unreadable;    // why it cannot be read as a data file
    SubjectRecord subject;                    // what it holds, when it can be read
    int differentAnswers = 0;                 // items with another agreement or distress answer
    std::vector<std::string> differentFields; // as the subject form names them
};

// What `dataFile` holds when it is not this administration: nothing when no file is there,
// when it is `ownFile` (the file this set was read from, or last written to), or when it holds
// the same subject fields and answers (the card number aside, and notes whatever their line
// ends).
std::optional<OtherAdministration>
OtherAdministrationAt(const std::string& dataFile, const SubjectRecord& subject,
                      const AnswerSet& answers,
                      const std::optional<FileIdentity>& ownFile = std::nullopt);

// A name for the next administration of a subject: "Mario" gives "Mario_T2", "Mario_T2"
// gives "Mario_T3".
std::string NameForAnotherAdministration(const std::string& name);

// The window's question before replacing: the subject and the file, its date, what differs,
// what replacing loses, and how to keep both. `subject` is the administration in hand.
inline constexpr const char* kOtherAdministrationTitle = "ALTRA SOMMINISTRAZIONE";
std::string ReplaceAdministrationQuestion(const OtherAdministration& other,
                                          const SubjectRecord& subject);

// selvo-batch's reason for writing nothing for a subject.
std::string OtherAdministrationRefusal(const OtherAdministration& other);

} // namespace selvo
