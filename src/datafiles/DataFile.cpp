// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/DataFile.h"

#include "datafiles/CsvFields.h"
#include "datafiles/DataFileRecord.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"
#include "questionnaire/SubjectFiles.h"
#include "text/Cp1252.h"
#include "text/InvisibleCharacters.h"
#include "text/NumberText.h"
#include "text/TextSafety.h"
#include "text/Utf8.h"

#include <charconv>
#include <limits>

namespace selvo {
namespace {

// Field numbers of the subject part of the record.
enum SubjectField { kCard = 1, kName, kSurname, kAge, kSex, kMarital, kEducation, kNotes };
constexpr std::size_t kFirstAgreement = 9;
constexpr std::size_t kFirstDistress = kFirstAgreement + kDataFileItems;

std::string fieldLabel(std::size_t number) {
    return "campo " + std::to_string(number);
}

// A field's text as a message quotes it: whatever it holds is shown, never obeyed.
std::string quotedValue(const std::string& text) {
    return "\"" + visibleText(text) + "\"";
}

// Name, surname and age are one line each: a line break there could only come from a file
// made by hand, and would end a command of the command file; an invisible character makes a
// name that looks like another's but names other files.
std::optional<std::string> oneLineFault(std::size_t number, const char* what,
                                        const std::string& text) {
    const std::optional<UnseenCharacter> unseen = firstUnseenCharacter(text);
    if (!unseen) {
        return std::nullopt;
    }
    const char32_t c = unseen->codePoint;
    if (c < 0xA0) {
        return fieldLabel(number) + ": " + what + " contiene il carattere " + visibleEscape(c) +
               ", un carattere di controllo che un campo di una riga non può contenere.";
    }
    return fieldLabel(number) + ": " + what + " " + quotedValue(text) + " contiene un carattere " +
           (breaksLine(c) ? "che va a capo" : "invisibile") + ": " +
           nthCharacter(unseen->position) + " è " + invisibleCharacterName(c) +
           ", che un campo di una riga non può contenere (il testo sembrerebbe uguale a un altro "
           "ma darebbe altri file). Togliere il carattere dal file con un editor di testo.";
}

// What to do with a data file another program saved in its own way.
constexpr const char* kFromTheOriginal =
    "Rielaborare il soggetto dal file di dati originale scritto da BrivanSelvo, oppure aprire "
    "questo file in LibreOffice Calc e salvarlo come «Testo CSV» scegliendo la virgola come "
    "separatore di campo e «Unicode (UTF-8)» come set di caratteri.";

// The byte order of a UTF-16 text ("testo Unicode" in the save dialogs): by its mark, or by the
// zero bytes that stand beside almost every character of a mostly-ASCII text. Nothing when
// the bytes are not such a text.
std::optional<const char*> utf16Order(std::string_view bytes, bool markOnly) {
    if (bytes.starts_with("\xFF\xFE")) {
        return "little-endian";
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return "big-endian";
    }
    if (markOnly) {
        return std::nullopt;
    }
    std::size_t low = 0;
    std::size_t high = 0;
    const std::size_t pairs = bytes.size() / 2;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        low += bytes[i] != '\0' && bytes[i + 1] == '\0' ? 1 : 0;
        high += bytes[i] == '\0' && bytes[i + 1] != '\0' ? 1 : 0;
    }
    if (low * 2 > pairs) {
        return "little-endian";
    }
    if (high * 2 > pairs) {
        return "big-endian";
    }
    return std::nullopt;
}

std::string utf16Fault(const char* order) {
    return std::string("il file è in UTF-16 ") + order +
           ", la codifica dei salvataggi come «Testo Unicode», non in quella di un file di dati "
           "SELVO (UTF-8 o la codifica di Windows). " +
           kFromTheOriginal;
}

// A file that ends in zero bytes where its text should: what a FAT stick holds when the power
// went while the file was being saved. The record before them may still be whole.
constexpr const char* kZeroTail =
    "byte nulli, come quelli che lascia un'interruzione della corrente mentre il file viene "
    "salvato su una chiavetta";

// A whole number with an optional sign and blanks around it, as the old reader accepted.
std::optional<long long> integerValue(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return std::nullopt;
        }
    }
    long long value = 0;
    const char* const last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, value);
    if (ptr != last) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        return std::numeric_limits<long long>::max();
    }
    if (ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

// Checks one answer field; the fault names the field, the item and the allowed range.
std::optional<std::string> readAnswer(const CsvField& field, std::size_t number, int item,
                                      const char* scale, int maximum, Integer& answer) {
    const auto value = integerValue(field.text);
    if (value && *value >= 0 && *value <= maximum) {
        answer = static_cast<Integer>(*value);
        return std::nullopt;
    }
    const std::string where =
        fieldLabel(number) + " (" + scale + ", item " + std::to_string(item) + "): ";
    if (!value) {
        if (field.text.empty()) {
            return where + "la risposta manca.";
        }
        return where + "la risposta " + quotedValue(field.text) + " non è un numero intero.";
    }
    return where + "la risposta " + quotedValue(field.text) + " non è tra 0 e " +
           std::to_string(maximum) + ".";
}

std::optional<std::string> readCode(const CsvField& field, std::size_t number, const char* what,
                                    char highest, std::string& code) {
    const std::string& text = field.text;
    if (text.size() != 1 || text[0] < '0' || text[0] > highest) {
        const std::string allowed = highest == '2' ? "0, 1 o 2" : std::string("da 0 a ") + highest;
        return fieldLabel(number) + ": " + what + " " + quotedValue(text) +
               " non è un codice valido (" + allowed + ").";
    }
    code = text;
    return std::nullopt;
}

// The record of a file whose bytes hold no zero byte, after any byte-order mark.
DataFileParse parseText(std::string_view bytes, bool marked) {
    DataFileParse parse;
    const auto fail = [&parse](std::string fault) {
        parse.fault = std::move(fault);
        return parse;
    };
    const bool validUtf8 = isValidUtf8(bytes);
    if (marked && !validUtf8) {
        return fail("il file si dichiara in UTF-8 ma contiene caratteri non validi in quella "
                    "codifica.");
    }
    // A file saved by a text editor is usually UTF-8 without a mark. Accented letters of code
    // page 1252 almost never happen to form valid UTF-8 sequences, so a file that is valid UTF-8
    // throughout and holds a byte beyond ASCII is read as UTF-8; a plain ASCII file reads the
    // same either way.
    const bool utf8 = marked || (validUtf8 && asciiRunFrom(bytes, 0) < bytes.size());

    const CsvSplit split = splitCsvFields(bytes, kDataFileFields);
    // An Italian spreadsheet saves its CSV with semicolons: the comma reading then breaks on the
    // first quoted field, or finds one long field.
    if ((split.fault || split.count != kDataFileFields) &&
        separatorsOutsideQuotes(bytes, ';') + 1 == kDataFileFields) {
        return fail(std::string("i campi del file sono separati da punti e virgola, non da "
                                "virgole: un foglio di calcolo (per esempio Excel in italiano) "
                                "lo ha salvato di nuovo cambiando il separatore. ") +
                    kFromTheOriginal);
    }
    if (split.fault) {
        return fail(*split.fault);
    }
    if (split.count == 0) {
        return fail("il file è vuoto.");
    }
    if (split.count != kDataFileFields) {
        return fail("il file ha " + std::to_string(split.count) +
                    " campi, ma un file di dati SELVO ne ha " + std::to_string(kDataFileFields) +
                    " (file troncato o di altro tipo?).");
    }
    const auto field = [&split](std::size_t number) -> const CsvField& {
        return split.fields[number - 1];
    };
    // The writer guards every text against spreadsheet formulas; the guard is ASCII, the same
    // in both encodings.
    const auto text = [&](std::size_t number) {
        const std::string unguarded = withoutFormulaGuard(field(number).text);
        return utf8 ? unguarded : fromCp1252(unguarded);
    };

    DataFileContent record;
    const auto card = integerValue(field(kCard).text);
    if (!card) {
        return fail(fieldLabel(kCard) + ": il numero di scheda " + quotedValue(field(kCard).text) +
                    " non è un numero intero.");
    }
    if (*card < std::numeric_limits<Integer>::min() ||
        *card > std::numeric_limits<Integer>::max()) {
        return fail(fieldLabel(kCard) + ": il numero di scheda " + quotedValue(field(kCard).text) +
                    " è fuori dall'intervallo ammesso (da -32768 a 32767).");
    }
    record.subject.card = static_cast<Integer>(*card);

    std::optional<std::string> fault;
    if ((fault = readCode(field(kSex), kSex, "il sesso", '2', record.subject.sex)) ||
        (fault =
             readCode(field(kMarital), kMarital, "lo stato civile", '5', record.subject.marital)) ||
        (fault = readCode(field(kEducation), kEducation, "il titolo di studio", '5',
                          record.subject.education))) {
        return fail(*fault);
    }
    for (int item = 1; item <= kDataFileItems; ++item) {
        const std::size_t number = kFirstAgreement + static_cast<std::size_t>(item) - 1;
        if ((fault = readAnswer(field(number), number, item, "accordo", 7,
                                record.answers.agreement[item]))) {
            return fail(*fault);
        }
    }
    for (int item = 1; item <= kDataFileItems; ++item) {
        const std::size_t number = kFirstDistress + static_cast<std::size_t>(item) - 1;
        if ((fault = readAnswer(field(number), number, item, "disagio", 3,
                                record.answers.distress[item]))) {
            return fail(*fault);
        }
    }

    record.subject.name = text(kName);
    record.subject.surname = text(kSurname);
    record.subject.age = text(kAge);
    record.subject.notes = text(kNotes);
    if ((fault = oneLineFault(kName, "il nome", record.subject.name)) ||
        (fault = oneLineFault(kSurname, "il cognome", record.subject.surname)) ||
        (fault = oneLineFault(kAge, "l'età", record.subject.age))) {
        return fail(*fault);
    }
    parse.record = std::move(record);
    return parse;
}

} // namespace

DataFileParse parseDataFile(std::string_view bytes) {
    DataFileParse parse;
    const auto fail = [&parse](std::string fault) {
        parse.fault = std::move(fault);
        return parse;
    };

    if (const auto order = utf16Order(bytes, true)) {
        return fail(utf16Fault(*order));
    }
    const bool marked = bytes.starts_with(kUtf8Bom);
    if (marked) {
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::size_t zeroTail = 0;
    if (bytes.find('\0') != std::string_view::npos) {
        const std::size_t textEnd = bytes.find_last_not_of('\0') + 1; // 0 when all are zero
        if (textEnd == 0) {
            return fail(std::string("il file contiene solo ") + kZeroTail +
                        ": i suoi dati sono andati persi. Rielaborare il soggetto da una copia "
                        "integra del file.");
        }
        if (bytes.substr(0, textEnd).find('\0') != std::string_view::npos) {
            if (const auto order = utf16Order(bytes, false)) {
                return fail(utf16Fault(*order));
            }
            return fail("il file contiene dati binari: non è un file di dati SELVO.");
        }
        zeroTail = bytes.size() - textEnd;
        bytes = bytes.substr(0, textEnd);
    }
    DataFileParse read = parseText(bytes, marked);
    if (zeroTail == 0) {
        return read;
    }
    if (!read.record) {
        read.fault += std::string(" Il file termina con ") + std::to_string(zeroTail) + " " +
                      kZeroTail +
                      ": è danneggiato. Rielaborare il soggetto da una copia "
                      "integra del file.";
        return read;
    }
    read.record->note =
        "la parte finale del file è danneggiata: dopo i dati del soggetto ci sono " +
        std::to_string(zeroTail) + " " + kZeroTail +
        ". I dati erano completi e sono stati letti; il file di dati riscritto non avrà "
        "più quei byte.";
    return read;
}

std::string ComposeDataFile(const SubjectRecord& subject, const AnswerSet& answers) {
    std::string line = integerText(subject.card);
    line.reserve(1024); // 196 fields
    for (const std::string* text : {&subject.name, &subject.surname, &subject.age, &subject.sex,
                                    &subject.marital, &subject.education, &subject.notes}) {
        // Any text, the notes above all, may begin like a formula; a spreadsheet that opens
        // the file must show it, not run it.
        line += ',' + quoteCsvText(withFormulaGuard(*text));
    }
    for (int item = 1; item <= kDataFileItems; ++item) {
        line += ',';
        appendIntegerText(line, answers.agreement[item]);
    }
    for (int item = 1; item <= kDataFileItems; ++item) {
        line += ',';
        appendIntegerText(line, answers.distress[item]);
    }
    line += kCrLf;
    // A name such as "Łukasz" has no place in code page 1252: rather than lose it, the whole
    // file goes out in UTF-8, marked so that the reader knows.
    if (toCp1252InPlace(line)) {
        return line;
    }
    return std::string(kUtf8Bom) + line;
}

PendingFile PrepareDataFile(const SubjectRecord& subject, const AnswerSet& answers,
                            const std::string& folder) {
    return {pathInFolder(folder, SubjectDataFileName(subject)), ComposeDataFile(subject, answers)};
}

FileResult<DataFileContent> ReadDataFile(const std::string& path) {
    FileResult<std::string> read = readWholeFile(path, kMaxDataFileBytes);
    if (!read.ok()) {
        return read.error();
    }
    DataFileParse parse = parseDataFile(read.value());
    if (!parse.record) {
        return FileError{path, parse.fault};
    }
    return std::move(*parse.record);
}

} // namespace selvo
