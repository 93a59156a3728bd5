// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunProperties.h"

#include "datafiles/CsvFields.h"
#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"
#include "datafiles/StatisticsExport.h"
#include "report/Report.h"
#include "subject/SubjectChecks.h"
#include "text/Cp1252.h"
#include "text/TextSafety.h"
#include "text/Utf8.h"

#include "support/TestSubjects.h"

#include <map>
#include <vector>

namespace {

using testsupport::TestSubject;

// The record as the window holds it once reloaded: notes with CR LF line ends.
TestSubject stateOf(const selvo::DataFileContent& record) {
    TestSubject state{record.subject, record.answers};
    state.subject.notes = selvo::NotesWithWindowsLineEnds(record.subject.notes);
    return state;
}

struct Outputs {
    std::string report, commands;
};

// The processing run's three texts, as ProcessData composes them, with a fixed date.
Outputs processInMemory(testsupport::TestSubject state) {
    const std::string dateTime = "01/02/2026 10:20:30";
    const selvo::SubjectRecord subject = state.subject;
    const selvo::Scores scores = selvo::ScoreAnswers(state.answers);
    Outputs out;
    out.report = selvo::ComposeReport({subject, scores, dateTime});
    out.commands = selvo::ComposeStatisticsExport(subject, state.answers, scores);
    return out;
}

// The same subject with plain texts: what the structure of every file must be.
testsupport::TestSubject neutral(testsupport::TestSubject state) {
    state.subject.name = state.subject.surname = state.subject.age = "x";
    state.subject.notes = "x";
    return state;
}

// The report's structure: every group and control word, except the escapes that carry text
// (\line for a line break of the notes, \tab for a tab, \uN for a character outside code page
// 1252, and the escaped \ { }). Empty when the braces do not balance.
std::optional<std::vector<std::string>> rtfStructure(std::string_view rtf) {
    std::vector<std::string> tokens;
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
            if (depth < 0) {
                return std::nullopt;
            }
            tokens.emplace_back(1, c);
        } else if (c == '\\' && i + 1 < rtf.size()) {
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < rtf.size() &&
                   ((rtf[end] >= 'a' && rtf[end] <= 'z') || (rtf[end] >= 'A' && rtf[end] <= 'Z'))) {
                ++end;
            }
            const std::string word(rtf.substr(i, end - i));
            if (word != "\\line" && word != "\\tab" && word != "\\u") {
                tokens.push_back(word);
            }
            i = end - 1;
        }
    }
    if (depth != 0) {
        return std::nullopt;
    }
    return tokens;
}

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> all;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos;
         start = end + 2) {
        all.emplace_back(text.substr(start, end - start));
    }
    all.emplace_back(text.substr(start));
    return all;
}

// The values of a line of free-format data as SPSS and PSPP split it: at blanks and commas,
// a value in apostrophes or quotation marks running to the next matching one.
std::vector<std::string> freeFormatValues(std::string_view line) {
    std::vector<std::string> values;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == ',') {
            ++i;
            continue;
        }
        if (line[i] == '\'' || line[i] == '"') {
            const std::size_t close = line.find(line[i], i + 1);
            if (close == std::string_view::npos) {
                values.emplace_back("<unterminated>");
                return values;
            }
            values.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            if (i < line.size() && line[i] != ' ' && line[i] != ',') {
                values.emplace_back("<joined>");
            }
            continue;
        }
        const std::size_t end = line.find_first_of(" ,", i);
        values.emplace_back(line.substr(i, end - i));
        i = end == std::string_view::npos ? line.size() : end;
    }
    return values;
}

// The text of a command's apostrophe string, doubled apostrophes undone; nothing when the
// quoting is broken.
std::optional<std::string> commandString(std::string_view quoted) {
    if (quoted.size() < 2 || quoted.front() != '\'' || quoted.back() != '\'') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\'') {
            if (i + 2 >= quoted.size() || quoted[i + 1] != '\'') {
                return std::nullopt;
            }
            ++i;
        }
        text.push_back(quoted[i]);
    }
    return text;
}

// What a text becomes on one line of the command file: control and format characters blank.
std::string onOneLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        const selvo::Utf8Char c = selvo::decodeUtf8At(text, i);
        if (c.valid && selvo::isControlOrFormat(c.codePoint)) {
            line.push_back(' ');
        } else {
            line.append(text.substr(i, c.length));
        }
        i += c.length;
    }
    return line;
}

std::optional<std::string> commandFileFault(const testsupport::TestSubject& state,
                                            const std::string& hostile, const std::string& plain) {
    const std::vector<std::string> got = lines(hostile);
    const std::vector<std::string> want = lines(plain);
    if (got.size() != want.size()) {
        return "the command file has " + std::to_string(got.size()) + " lines instead of " +
               std::to_string(want.size());
    }
    const std::string subject = state.subject.surname + "_" + state.subject.name;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (selvo::firstHiddenCharacter(got[i])) {
            return "line " + std::to_string(i + 1) +
                   " of the command file holds a control "
                   "or format character";
        }
        if (got[i] == want[i]) {
            continue;
        }
        if (i > 0 && want[i - 1] == "BEGIN DATA") {
            const auto values = freeFormatValues(got[i]);
            const auto expected = freeFormatValues(want[i]);
            if (values.size() != expected.size()) {
                return "the data line splits into " + std::to_string(values.size()) +
                       " values instead of " + std::to_string(expected.size());
            }
            for (std::size_t v = 0; v < values.size(); ++v) {
                if (v == 2) {
                    continue; // the age: checked below
                }
                if (values[v] != expected[v]) {
                    return "data value " + std::to_string(v + 1) + " moved or changed";
                }
            }
            std::string age = onOneLine(state.subject.age);
            std::string read = values[2];
            // An age holding both quotes has its quotation marks turned into apostrophes.
            for (std::string* text : {&age, &read}) {
                for (char& c : *text) {
                    c = c == '"' ? '\'' : c;
                }
            }
            if (read != age) {
                return "the age reads back as \"" + values[2] + "\"";
            }
            continue;
        }
        // A line naming a case file: the same command around one correctly quoted name.
        const std::size_t open = want[i].find("'.\\");
        const std::size_t close = want[i].rfind('\'');
        if (open == std::string::npos || close <= open) {
            return "line " + std::to_string(i + 1) + " of the command file changed: " + got[i];
        }
        const std::string prefix = want[i].substr(0, open);
        const std::string suffix = want[i].substr(close + 1);
        if (!got[i].starts_with(prefix) || !got[i].ends_with(suffix) ||
            got[i].size() < prefix.size() + suffix.size()) {
            return "line " + std::to_string(i + 1) + " lost its command: " + got[i];
        }
        const auto name = commandString(std::string_view(got[i]).substr(
            prefix.size(), got[i].size() - prefix.size() - suffix.size()));
        const std::string plainName = *commandString(want[i].substr(open, close - open + 1));
        const std::string expectedName = plainName.substr(0, plainName.find("x_x")) +
                                         onOneLine(subject) +
                                         plainName.substr(plainName.find("x_x") + 3);
        if (!name || *name != expectedName) {
            return "line " + std::to_string(i + 1) + " quotes the file name wrongly: " + got[i];
        }
    }
    return std::nullopt;
}

// How often each control character (C0, DEL, C1) stands raw in the UTF-8 text.
std::map<char32_t, int> rawControls(std::string_view text) {
    std::map<char32_t, int> counts;
    for (std::size_t i = 0; i < text.size();) {
        const selvo::Utf8Char c = selvo::decodeUtf8At(text, i);
        if (c.valid && (c.codePoint < 0x20 || (c.codePoint >= 0x7F && c.codePoint <= 0x9F))) {
            ++counts[c.codePoint];
        }
        i += c.length;
    }
    return counts;
}

// A spreadsheet runs a cell that begins with one of these as a formula.
bool beginsLikeAFormula(std::string_view cell) {
    return !cell.empty() &&
           std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos;
}

std::optional<std::string> formulaCellFault(std::string_view bytes) {
    if (bytes.starts_with(selvo::kUtf8Bom)) {
        bytes.remove_prefix(selvo::kUtf8Bom.size());
    }
    const selvo::CsvSplit split = selvo::splitCsvFields(bytes, selvo::kDataFileFields);
    for (std::size_t i = 1; i < 8 && i < split.fields.size(); ++i) {
        if (beginsLikeAFormula(split.fields[i].text)) {
            return "field " + std::to_string(i + 1) + " of the data file begins like a formula";
        }
    }
    return std::nullopt;
}

bool sameRecord(const selvo::DataFileContent& a, const selvo::DataFileContent& b) {
    return a.subject.card == b.subject.card && a.subject.name == b.subject.name &&
           a.subject.surname == b.subject.surname && a.subject.age == b.subject.age &&
           a.subject.sex == b.subject.sex && a.subject.marital == b.subject.marital &&
           a.subject.education == b.subject.education &&
           selvo::NotesWithWindowsLineEnds(a.subject.notes) ==
               selvo::NotesWithWindowsLineEnds(b.subject.notes) &&
           a.answers == b.answers;
}

} // namespace

std::optional<std::string> brokenRunProperty(std::string_view bytes) {
    const selvo::DataFileParse parse = selvo::parseDataFile(bytes);
    if (!parse.record) {
        if (parse.fault.empty()) {
            return "a refusal that does not say why";
        }
        return std::nullopt;
    }
    const testsupport::TestSubject state = stateOf(*parse.record);
    const Outputs hostile = processInMemory(state);
    const Outputs plain = processInMemory(neutral(state));

    const selvo::PendingFile file = selvo::PrepareDataFile(state.subject, state.answers, "");
    const selvo::DataFileParse reread = selvo::parseDataFile(file.bytes);
    if (!reread.record || !sameRecord(*parse.record, *reread.record)) {
        return "the data file does not read back as the same record";
    }
    if (const auto fault = formulaCellFault(file.bytes)) {
        return fault;
    }
    if (rawControls(hostile.report) != rawControls(plain.report)) {
        return "a text of the record put a raw control character into the report";
    }

    const auto structure = rtfStructure(hostile.report);
    if (!structure) {
        return "the report's braces do not balance";
    }
    if (*structure != *rtfStructure(plain.report)) {
        return "a text of the record added a paragraph, group or control word to the report";
    }
    return commandFileFault(state, hostile.commands, plain.commands);
}
