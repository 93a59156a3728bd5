// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/SubjectChecks.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "questionnaire/SubjectFiles.h"
#include "text/InvisibleCharacters.h"
#include "text/TextSafety.h"

namespace selvo {
namespace {

// Where the form's control and the record keep each required field. A text field is missing
// when empty, an option group when nothing in it is selected ("").
struct FieldSlots {
    std::string SubjectEntry::*entry;
    std::string SubjectRecord::*field;
};

FieldSlots slotsOf(questionnaire::SubjectField field) {
    using enum questionnaire::SubjectField;
    switch (field) {
    case Name:
        return {&SubjectEntry::name, &SubjectRecord::name};
    case Surname:
        return {&SubjectEntry::surname, &SubjectRecord::surname};
    case Age:
        return {&SubjectEntry::age, &SubjectRecord::age};
    case Sex:
        return {&SubjectEntry::sex, &SubjectRecord::sex};
    case Marital:
        return {&SubjectEntry::marital, &SubjectRecord::marital};
    case Education:
        break;
    }
    return {&SubjectEntry::education, &SubjectRecord::education};
}

// A code that was never chosen: "0" as the administration form sets it, or nothing at all
// as a fresh record holds it.
bool codeMissing(const std::string& code) {
    return code.empty() || code == "0";
}

// A character that would act instead of show: a line break or another control would split
// or rewrite the command file and the terminal, a format character reorders or hides text,
// an invisible one makes a name that looks like another's but names other files.
std::optional<std::string> hiddenCharacterFault(std::string_view label, const std::string& value) {
    const std::optional<UnseenCharacter> unseen = firstUnseenCharacter(value);
    if (!unseen) {
        return std::nullopt;
    }
    const std::string field = "Il campo " + std::string(label);
    const char32_t c = unseen->codePoint;
    if (c < 0xA0) {
        return field + " contiene un carattere non stampabile (" + visibleEscape(c) + ", codice " +
               std::to_string(static_cast<unsigned>(c)) +
               "), che non può comparire in un campo di una riga.";
    }
    return field + " «" + visibleText(value) + "» contiene un carattere " +
           (breaksLine(c) ? "che va a capo" : "invisibile") + ": " +
           nthCharacter(unseen->position) + " è " + invisibleCharacterName(c) +
           ". Un testo così sembra uguale a un altro ma darebbe altri file: cancellare il campo "
           "e riscriverlo a mano.";
}

// Spreadsheets read a cell that starts with one of these as a formula.
std::optional<std::string> formulaFault(std::string_view label, const std::string& value) {
    if (value.empty() || std::string_view("=+-@").find(value.front()) == std::string_view::npos) {
        return std::nullopt;
    }
    return "Il campo " + std::string(label) + " «" + visibleText(value) + "» inizia con «" +
           value.front() +
           "»: un foglio di calcolo lo leggerebbe come una formula. Togliere il carattere "
           "iniziale o farlo precedere da un altro.";
}

// The fault of one name, or nothing.
std::optional<std::string> nameFault(std::string_view label, const std::string& value) {
    if (value.empty()) {
        return std::nullopt; // the required-field check speaks for an empty field
    }
    const std::string field = "Il campo " + std::string(label) + " «" + visibleText(value) + "»";
    if (const auto refused = refusedNamePartCharacter(value, NamePartRule::Portable)) {
        return field + " contiene il carattere «" + *refused +
               "», che non può far parte del nome di un file.";
    }
    if (auto hidden = hiddenCharacterFault(label, value)) {
        return hidden;
    }
    if (auto formula = formulaFault(label, value)) {
        return formula;
    }
    if (value == "." || value == "..") {
        return field + " non può essere usato come nome di un file.";
    }
    if (value.back() == '.') {
        return field + " non può terminare con un punto.";
    }
    if (value.back() == ' ') {
        return field + " non può terminare con uno spazio.";
    }
    return std::nullopt;
}

// "100000" as an Italian reader groups it: "100.000".
std::string groupedDigits(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, '.');
    }
    return digits;
}

} // namespace

std::string FieldShortenedMessage(const FieldLimit& limit) {
    return "Il campo " + std::string(limit.label) + " accetta al massimo " +
           groupedDigits(limit.units) +
           " caratteri. Il testo li superava ed è stato accorciato a " +
           groupedDigits(limit.units) +
           " caratteri: controllare il campo prima di premere «ELABORAZIONE DATI».";
}

SubjectEntry SubjectEntryOf(const SubjectRecord& subject) {
    return {subject.name, subject.surname, subject.age,      subject.notes,
            subject.sex,  subject.marital, subject.education};
}

std::vector<std::string> StoreSubjectEntry(SubjectRecord& subject, const SubjectEntry& entry) {
    subject.name = entry.name;
    subject.surname = entry.surname;
    subject.age = entry.age;
    subject.notes = entry.notes;

    std::vector<std::string> missing;
    // Emptiness is tested on the exact text: blanks only count as an answer.
    for (const questionnaire::RequiredField& check : questionnaire::kRequiredFields) {
        const FieldSlots slots = slotsOf(check.field);
        if ((entry.*slots.entry).empty()) {
            missing.emplace_back(check.missingMessage);
        } else {
            subject.*slots.field = entry.*slots.entry;
        }
    }
    subject.notes = entry.notes;
    return missing;
}

bool SubjectRecordComplete(const SubjectRecord& subject) {
    return std::none_of(questionnaire::kRequiredFields.begin(),
                        questionnaire::kRequiredFields.end(),
                        [&subject](const questionnaire::RequiredField& required) {
                            const std::string& value = subject[required.field];
                            return required.coded ? codeMissing(value) : value.empty();
                        });
}

std::optional<UnsafeName> UnsafeSubjectName(const SubjectRecord& subject) {
    if (auto fault = nameFault("Nome/Codice", subject.name)) {
        return UnsafeName{UnsafeName::Name, std::move(*fault)};
    }
    if (auto fault = nameFault("Cognome/Codice", subject.surname)) {
        return UnsafeName{UnsafeName::Surname, std::move(*fault)};
    }
    // The age is free text, but one line of it, and a spreadsheet cell like the others.
    if (auto fault = hiddenCharacterFault("Età", subject.age)) {
        return UnsafeName{UnsafeName::Age, std::move(*fault)};
    }
    if (auto fault = formulaFault("Età", subject.age)) {
        return UnsafeName{UnsafeName::Age, std::move(*fault)};
    }
    return std::nullopt;
}

std::string NotesWithWindowsLineEnds(std::string_view notes) {
    std::string text;
    text.reserve(notes.size() + notes.size() / 16);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (notes[i] == '\r' || notes[i] == '\n') {
            if (notes[i] == '\r' && i + 1 < notes.size() && notes[i + 1] == '\n') {
                ++i;
            }
            text += "\r\n";
        } else {
            text += notes[i];
        }
    }
    return text;
}

std::optional<int> CodedFieldNumber(std::string_view field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    field.remove_prefix(first);
    field = field.substr(0, field.find_last_not_of(' ') + 1);
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
    }
    int number = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (error != std::errc() || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return number;
}

} // namespace selvo
