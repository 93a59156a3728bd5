// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/StatisticsExport.h"

#include "datafiles/CaseVariables.h"
#include "datafiles/SpssText.h"
#include "questionnaire/Product.h"
#include "questionnaire/SubjectFiles.h"
#include "text/Cp1252.h"
#include "text/CrLfLines.h"
#include "text/NumberText.h"

#include <algorithm>
#include <array>
#include <variant>

namespace selvo {
namespace {

namespace q = questionnaire;
using namespace statistics;

// A box line: asterisk, two blanks, the text, blanks up to the closing asterisk in column 34.
std::string bannerLine(const std::string& text) {
    std::string line = "*  " + text;
    line.resize(33, ' ');
    return line + "*";
}

// SPSS free format splits values at blanks, tabs and commas and treats quotes as string
// delimiters: such a value (or an empty one, which would vanish) goes out as a quoted string,
// so every later value keeps its column. Free format knows no doubled apostrophe and ends the
// value at the first matching quote: a text holding an apostrophe ("trent'anni") goes in
// quotation marks, and one holding both has its quotation marks turned into apostrophes.
std::string freeFormatValue(std::string_view text) {
    std::string line = SpssOneLine(text);
    if (!line.empty() && line.find_first_of(" \t,'\"") == std::string::npos) {
        return line;
    }
    if (line.find('\'') == std::string::npos) {
        return "'" + line + "'";
    }
    std::replace(line.begin(), line.end(), '"', '\'');
    return "\"" + line + "\"";
}

std::string quotedFileName(const std::string& fileName) {
    return SpssQuoted(".\\" + fileName);
}

std::string subjectPart(const SubjectRecord& subject) {
    return subject.surname + "_" + subject.name;
}

// The definitions are the same for every case: built once. The header and the answers fill
// the first line, the scores the second.
const std::array<std::string, 2>& definitionLines() {
    static const std::array<std::string, 2> lines = [] {
        std::array<std::string, 2> built{"DATA LIST FREE/ ", ""};
        for (const CaseVariable& variable : caseVariables()) {
            const bool scores =
                variable.part == Part::Dimensional || variable.part == Part::Categorical;
            std::string& line = built[scores ? 1 : 0];
            if (variable.part == Part::Header || variable.part == Part::Distress) {
                line += ' ';
            }
            line += variable.name + "(" + std::string(variable.format) + ")";
            // No blank after the case code: the first answer's definition follows it directly.
            if (variable.name != kCaseCodeVariable) {
                line += ' ';
            }
        }
        built[1] += ".";
        return built;
    }();
    return lines;
}

// The case's 462 values on one line of free-format data.
std::string dataLine(const CaseInput& input) {
    std::string line;
    line.reserve(2048); // 462 values
    const auto format = Formats{
        // A number: sign blank or minus, the digits, the blank that follows every number, and
        // the blank between values.
        [&line](double number) {
            appendNumberText(line, number);
            line += "  ";
        },
        [&line](std::string_view text) {
            line += freeFormatValue(text);
            line += ' ';
        },
        [&line](Integer answer) {
            line += ' ';
            appendIntegerText(line, answer);
        },
    };
    for (const CaseVariable& variable : caseVariables()) {
        std::visit(format, variable.value(input));
    }
    return line + " ";
}

std::string labelLine(std::string_view name, std::string_view label) {
    return "variable labels  " + std::string(name) + "  '" + std::string(label) + "'.";
}

void addLabelLines(CrLfLines& lines, const std::vector<VariableLabel>& labels) {
    for (const auto& [name, label] : labels) {
        lines.add(labelLine(name, label));
    }
}

// The header's label lines are the same for every case: built once.
const std::string& headerLabelLines() {
    static const std::string text = [] {
        CrLfLines lines;
        addLabelLines(lines, headerLabels(false));
        return lines.take();
    }();
    return text;
}

// So are the scores' label lines, from the blank line after the items' labels to the one
// after the last threshold's.
const std::string& scoreLabelLines() {
    static const std::string text = [] {
        CrLfLines lines;
        lines.add(" ");
        lines.add(std::string(18, '*'));
        lines.add("Scale Dimensionali");
        lines.add(" ");
        addLabelLines(lines, dimensionalLabels());
        for (int algorithm = 0; algorithm < q::kAlgorithmCount; ++algorithm) {
            lines.add(" ");
            addLabelLines(lines, categoricalLabels(static_cast<q::Algorithm>(algorithm)));
        }
        lines.add(" ");
        return lines.take();
    }();
    return text;
}

} // namespace

std::string StatisticsExportFileName(const SubjectRecord& subject) {
    return SubjectCommandFileName(subject);
}

std::string ComposeStatisticsExport(const SubjectRecord& subject, const AnswerSet& answers,
                                    const Scores& scores, ItemLabelTexts itemTexts) {
    CrLfLines lines({}, 32 * 1024); // a command file is about 24 KB
    const std::string stars(34, '*');
    const std::string hollow = "*" + std::string(32, ' ') + "*";
    lines.add(stars);
    lines.add(hollow);
    lines.add(bannerLine("Dati SELVO, tutti i soggetti"));
    lines.add(bannerLine("Comandi SPSS, edizione" + printedVersion()));
    lines.add(hollow);
    lines.add(stars);
    lines.addEmpty(2);

    for (const std::string& line : definitionLines()) {
        lines.add(line);
    }
    lines.add("BEGIN DATA");
    lines.add(dataLine({subject, answers, scores}));
    lines.add("END DATA.");
    lines.addEmpty(2);
    lines.add("CLEAR TRANSFORMATION.");
    lines.addEmpty(2);
    lines.add(std::string(59, '*'));
    lines.add("*VARNAMES ");
    lines.add(" ");

    lines.addLines(headerLabelLines());
    std::string label;
    for (const CaseVariable& variable : caseVariables()) {
        if (variable.part == Part::Agreement) {
            cleanLabelTextInto(label, itemText(itemTexts, variable.item));
            lines.add({"variable labels   ", variable.name, "  'It:", label, " '."});
        }
    }
    lines.addLines(scoreLabelLines());

    // Apostrophes in a surname such as D'Amico are doubled inside the quoted file names.
    const std::string subjectNames = subjectPart(subject);
    lines.add(" SAVE OUTFILE=" + quotedFileName("SELVO_SS000_" + subjectNames + "_sav.sav") +
              "  /COMPRESSED.");
    lines.add(" ");
    lines.add(" ");
    lines.add("* importa il file scid-ii del soggetto");
    lines.add(" ");
    lines.add("* MATCH FILES /FILE=*");
    lines.add("* /FILE=" + quotedFileName("SCIDII_Crit_" + subjectNames + "_sav.sav"));
    lines.add("* /RENAME (Card CODICE Eta Sex STCIV TITSTUD = d0 d1 d2 d3 d4 d5)");
    lines.add("* /DROP= d0 d1 d2 d3 d4 d5.");
    lines.add("* EXECUTE.");
    lines.add(" ");
    lines.add(" ");
    lines.add("* SAVE OUTFILE=" + quotedFileName("SELVO_SCIDII_" + subjectNames + "_sav.sav") +
              "  /COMPRESSED.");
    return lines.take();
}

PendingFile PrepareStatisticsExport(const SubjectRecord& subject, const AnswerSet& answers,
                                    const Scores& scores, ItemLabelTexts itemTexts) {
    std::string text = ComposeStatisticsExport(subject, answers, scores, itemTexts);
    // The names travel inside the file: when one does not fit code page 1252 the whole file
    // goes out in UTF-8, marked so that SPSS and PSPP read it as such.
    if (!toCp1252InPlace(text)) {
        text.insert(0, kUtf8Bom);
    }
    return {StatisticsExportFileName(subject), std::move(text)};
}

} // namespace selvo
