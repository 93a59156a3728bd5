// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// BrivanSelvo core: how data flows.
//   answers typed on Form1 (or read back from a data file) live in ProgramState::AnswerT/AnswerD;
//   ProcessData takes them and the subject record as values and scores them once
//   (dimensional totals, then the criteria under T > 4 and T > 5: scoring/Scores.h);
//   the writers turn them into text: the RTF report, the one-line data file, the SPSS command
//   file; the three are committed together into the output folder the caller names.
// Everything here is plain C++: the forms read and write this record and nothing else.

#include "platform/Paths.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "text/NumberOrEmpty.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace selvo {

using questionnaire::Algorithm;
using questionnaire::Disorder;
using questionnaire::kAlgorithmCount;
using questionnaire::kDisorderCount;
using enum questionnaire::Disorder;
using enum questionnaire::Algorithm;

// A data file and the surname and name of the set it holds. The identity tells the file from
// another that takes its path later (a set written anew is a new file).
struct StoredSet {
    std::string dataFile; // absolute
    FileIdentity identity;
    std::string surname, name;
};

struct ProgramState {
    // Constants, set at start-up and again by every load of the item bank.
    std::string ProgramTitle;
    NumberOrEmpty ItemCount, FirstItem, ScalePoints, DistressPoints;

    // Item bank.
    std::array<std::string, 151> ItemText;
    std::array<std::string, 8> ScaleLabels;
    std::array<std::string, 4> DistressLabels;
    std::array<std::vector<std::string>, kDisorderCount> CriteriaText;

    // Answers.
    AnswerTable AnswerT, AnswerD;

    // Administration cursor. AllAnswered is empty until the first completeness check.
    Integer CurrentItem = 0;
    std::string AnswerTextT, AnswerTextD;
    std::optional<bool> AllAnswered;
    // Whether the set in hand (typed or reloaded) has been processed successfully: the next
    // administration from the main menu then belongs to a new subject.
    bool SetProcessed = false;
    // When the first answer of the administration in hand was given ("dd/mm/yyyy hh:mm:ss"),
    // empty for a set that did not come from the questionnaire (a reload).
    std::string AdministrationStarted;

    // Subject record.
    Integer Card = 0;
    std::string SubjectName, SubjectSurname, SubjectAge, SubjectSex, SubjectMarital,
        SubjectEducation, SubjectNotes;

    // The file the operator picked in the open dialog, handed on to the reload.
    std::string SelectedFile;
    // Where processing writes a subject's files (absolute): the folder the program was started
    // in, then the folder of each data file reloaded.
    std::string OutputFolder;
    // The data file on disk that holds the set in hand, when there is one: the file a reload
    // read, then the one each processing run in the window wrote. A run under another surname
    // or name leaves that file's set behind, which the operator is offered to discard.
    std::optional<StoredSet> SetOnDisk;
};

// The subject record and the answers in hand, as values for the composers.
SubjectRecord SubjectOf(const ProgramState& state);
AnswerSet AnswersOf(const ProgramState& state);

// Puts a subject record and its answers (items 1..94) into the state in one step, as a reload
// and selvo-batch take in a data file.
void StoreSubjectSet(ProgramState& state, SubjectRecord subject, const AnswerSet& answers);

// Forgets the subject in hand so that nothing of it reaches the next one: no answers, no
// scores, an empty subject record with the three codes "0", the cursor on the notice page.
void StartNewSubject(ProgramState& state);

inline bool isTrue(const std::optional<bool>& flag) {
    return flag.value_or(false);
}

} // namespace selvo
