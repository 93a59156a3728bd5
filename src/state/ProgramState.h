#pragma once
// BrivanSelvo core: how data flows.
//   answers typed on Form1 (or read back from a data file) live in ProgramState::AnswerT/AnswerD;
//   ProcessData takes them and the subject record as values, freezes the answers into
//   ScoreT/ScoreD and fills the score record (dimensional totals, then the criteria slots
//   under T > 4 and T > 5);
//   the writers turn them into text: the RTF report, the one-line data file, the SPSS command
//   file; the three are committed together into the output folder the caller names.
// Everything here is plain C++: the forms read and write this record and nothing else.

#include "platform/TextFile.h"
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

struct ScoreRecord {
    // Dimensional totals.
    NumberOrEmpty par1t, sz1t, st1t, as1t, bdl1t, his1t, nar1t, av1t, dep1t, oc1t, de1t, pa1t;
    NumberOrEmpty clA1t, clB1t, clC1t, tot1t;

    // Criteria slots, counts and diagnoses: one set shared by both algorithms.
    NumberOrEmpty PARTOT, PARD, PAR1, PAR2, PAR3, PAR4, PAR5, PAR6, PAR7;
    NumberOrEmpty SZTOT, SZD, SZ1, SZ2, SZ3, SZ4, SZ5, SZ6, SZ7;
    NumberOrEmpty STTOT, STD, ST1, ST2, ST3, ST4, ST5, ST6, ST7, ST8, ST9;
    NumberOrEmpty ASTOT, ASD, AS1, AS2, AS3, AS4, AS5, AS6, AS7, AS8;
    NumberOrEmpty BDLTOT, BDLD, BDL1, BDL2, BDL3, BDL4, BDL5, BDL56, BDL6, BDL7, BDL8, BDL9, BDL10;
    NumberOrEmpty HISTOT, HISD, HIS1, HIS2, HIS3, HIS4, HIS5, HIS6, HIS7, HIS8;
    NumberOrEmpty NARTOT, NARD, NAR1, NAR2, NAR3, NAR4, NAR5, NAR6, NAR7, NAR8, NAR9;
    NumberOrEmpty AVTOT, AVD, AV1, AV2, AV3, AV4, AV5, AV6, AV7;
    NumberOrEmpty DEPTOT, DEPD, DEP1, DEP2, DEP3, DEP4, DEP5, DEP6, DEP7, DEP8;
    NumberOrEmpty OCTOT, OCD, OC1, OC2, OC3, OC4, OC5, OC6, OC7, OC8;
    NumberOrEmpty DETOT, DED, DE1, DE2, DE3, DE4, DE5, DE6, DE7;
    NumberOrEmpty PATOT, PAD, PA1, PA2, PA3, PA4, PA5, PA6, PA7;
    NumberOrEmpty CLATOT, CLAD, CLBTOT, CLBD, CLCTOT, CLCD, TOTTOT, TOTD;

    // Percentage scores, one per dimensional total.
    NumberOrEmpty par1p, sz1p, st1p, as1p, bdl1p, his1p, nar1p, av1p, dep1p, oc1p, de1p, pa1p;
    NumberOrEmpty clA1p, clB1p, clC1p, tot1p;
};

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

    // Answers and their scoring copies.
    AnswerTable AnswerT, AnswerD, ScoreT, ScoreD;

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

    ScoreRecord Scores;
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
