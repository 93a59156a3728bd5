// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the subject data form checks before a processing run may start: the six required
// fields, and names that can safely become part of a file name.
#include "questionnaire/Subject.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace selvo {

// Title of every box that asks the operator to complete or correct a subject field.
inline constexpr const char* kSubjectInfoTitle = "INFORMAZIONE NECESSARIA";

// The longest text each field takes, in UTF-16 units, as the form's boxes and Windows file
// names count characters. Surname and name are part of every file name: the longest one,
// "SELVO_SS000_" surname "_" name "_sps.sps", takes 221 of the 255 units (Windows) or bytes
// (elsewhere) a file name may have when both are at their limit, so ASCII names always fit.
// Every field at its limit, each unit a character of three UTF-8 bytes, still makes a data
// file of about 300 KB, well within what the reader accepts (kMaxDataFileBytes).
struct FieldLimit {
    const char* label; // as the messages name the field
    std::size_t units;
};
inline constexpr FieldLimit kNameLimit{"Nome/Codice", 100};
inline constexpr FieldLimit kSurnameLimit{"Cognome/Codice", 100};
inline constexpr FieldLimit kAgeLimit{"Età", 30};
inline constexpr FieldLimit kNotesLimit{"Note", 100000};

// What the form says after cutting a typed, pasted or reloaded text to the field's limit.
std::string FieldShortenedMessage(const FieldLimit& limit);

// The form's controls, as plain text. A coded field is "" when no option of its group is
// selected, otherwise the code "1".."5" of the selected option.
struct SubjectEntry {
    std::string name, surname, age, notes;
    std::string sex, marital, education;
};

// The stored record as the form shows it.
SubjectEntry SubjectEntryOf(const SubjectRecord& subject);

// The confirmation's storing and checking, in the form's order: the four texts are stored
// first, then each required field is checked; a field that passes is stored, a missing one
// adds its message and leaves its coded field as it was. Returns the messages, in order.
std::vector<std::string> StoreSubjectEntry(SubjectRecord& subject, const SubjectEntry& entry);

// Processing may start only when the stored record itself is complete.
bool SubjectRecordComplete(const SubjectRecord& subject);

// Surname and name become part of every output file name. A name that could not be a file
// name in the current folder (a folder separator, a character Windows refuses, "." or "..", a
// trailing dot or blank) is refused with a message naming the field and the fault. Name,
// surname and age are one-line fields that every output and message quotes: none may hold a
// control character, a format character or an invisible one (isInvisibleCharacter, named with
// its position in the message), nor begin with "=", "+", "-" or "@"
// (a spreadsheet formula). Checked in the form's order: name, surname, age.
struct UnsafeName {
    enum Field { Name, Surname, Age } field;
    std::string message;
};
std::optional<UnsafeName> UnsafeSubjectName(const SubjectRecord& subject);

// Notes as the form stores them: every line break (CR LF, LF or CR alone) becomes CR LF, the
// line end of every file the program writes.
std::string NotesWithWindowsLineEnds(std::string_view notes);

// The number a coded field reads as ("2", " 2"); nothing when it does not read as a whole
// number. Used to select the option whose code equals it.
std::optional<int> CodedFieldNumber(std::string_view field);

} // namespace selvo
