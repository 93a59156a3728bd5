// SPDX-License-Identifier: GPL-3.0-or-later
#include "subject/OtherAdministration.h"

#include "datafiles/DataFile.h"
#include "subject/SubjectChecks.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <charconv>

namespace selvo {
namespace {

int answersThatDiffer(const AnswerSet& one, const AnswerSet& other) {
    int differ = 0;
    for (int item = 1; item <= questionnaire::kItemCount; ++item) {
        differ += one.agreement[item] != other.agreement[item] ||
                          one.distress[item] != other.distress[item]
                      ? 1
                      : 0;
    }
    return differ;
}

std::vector<std::string> fieldsThatDiffer(const SubjectRecord& one, const SubjectRecord& other) {
    std::vector<std::string> differ;
    for (const questionnaire::RequiredField& field : questionnaire::kRequiredFields) {
        if (one[field.field] != other[field.field]) {
            differ.emplace_back(field.listedAs);
        }
    }
    if (NotesWithWindowsLineEnds(one.notes) != NotesWithWindowsLineEnds(other.notes)) {
        differ.emplace_back("note");
    }
    return differ;
}

std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "" : (i + 1 == items.size() ? " e " : ", ")) + items[i];
    }
    return text;
}

// "del 03/06/2026 10:14" when the date is known.
std::string dated(const OtherAdministration& other) {
    return other.modified ? ", del " + *other.modified : "";
}

// What sets the file's administration apart from this one, in a few words.
std::string difference(const OtherAdministration& other) {
    if (other.unreadable) {
        return "non si può leggere come file di dati (" + *other.unreadable + ")";
    }
    std::string text = "contiene un'altra somministrazione: ";
    if (other.differentAnswers == 0) {
        text += "le stesse risposte";
    } else if (other.differentAnswers == 1) {
        text += "1 risposta diversa";
    } else {
        text += std::to_string(other.differentAnswers) + " risposte diverse";
    }
    if (!other.differentFields.empty()) {
        text += (other.differentAnswers == 0 ? ", ma " : "; diversi anche ") +
                std::string(other.differentAnswers == 0 ? "diversi: " : "") +
                listed(other.differentFields);
    }
    return text;
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::optional<OtherAdministration>
OtherAdministrationAt(const std::string& dataFile, const SubjectRecord& subject,
                      const AnswerSet& answers, const std::optional<FileIdentity>& ownFile) {
    // Only a file can hold an administration: a folder of that name fails the write itself.
    const std::optional<FileIdentity> existing = fileIdentity(dataFile);
    if (!existing || existing == ownFile || !isRegularFile(dataFile)) {
        return std::nullopt;
    }
    OtherAdministration other{dataFile, modifiedDateText(dataFile), {}, {}, 0, {}};
    const FileResult<DataFileContent> read = ReadDataFile(dataFile);
    if (!read.ok()) {
        other.unreadable = read.error().reason;
        return other;
    }
    other.subject = read.value().subject;
    other.differentAnswers = answersThatDiffer(read.value().answers, answers);
    other.differentFields = fieldsThatDiffer(read.value().subject, subject);
    if (other.differentAnswers == 0 && other.differentFields.empty()) {
        return std::nullopt;
    }
    return other;
}

std::string NameForAnotherAdministration(const std::string& name) {
    const std::size_t mark = name.rfind("_T");
    if (mark != std::string::npos && mark + 2 < name.size() && name.size() - mark <= 6) {
        const std::string digits = name.substr(mark + 2);
        int visit = 0;
        if (std::all_of(digits.begin(), digits.end(), isAsciiDigit) &&
            std::from_chars(digits.data(), digits.data() + digits.size(), visit).ec ==
                std::errc()) {
            return name.substr(0, mark + 2) + std::to_string(visit + 1);
        }
    }
    return name + "_T2";
}

std::string ReplaceAdministrationQuestion(const OtherAdministration& other,
                                          const SubjectRecord& subject) {
    const SubjectRecord& owner = other.unreadable ? subject : other.subject;
    return "Nella cartella c'è già il file di dati \"" + fileName(other.dataFile) + "\" di " +
           owner.surname + " " + owner.name + dated(other) + ", che " + difference(other) +
           ".\n\nSostituendolo, quella somministrazione andrà persa, con il suo referto e il suo "
           "file per SPSS.\n\nPer conservarla premere «No» e dare a questa somministrazione un "
           "altro Nome/Codice (ad esempio \"" +
           NameForAnotherAdministration(subject.name) +
           "\"), oppure scegliere un'altra cartella con «Cambia cartella...».\n\nSostituire il "
           "file?";
}

std::string OtherAdministrationRefusal(const OtherAdministration& other) {
    return "nella cartella c'è già " + other.dataFile + dated(other) + ", che " +
           difference(other) +
           ": sostituirlo la perderebbe. Nessun file è stato scritto per questo soggetto: "
           "elaborarlo con --out in un'altra cartella, o indicare --sostituisci per sostituire "
           "quella somministrazione.";
}

} // namespace selvo
