// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/DatasetCommands.h"

#include "datafiles/DatasetTable.h"
#include "datafiles/SpssText.h"
#include "datafiles/StatisticsExport.h"
#include "questionnaire/Product.h"
#include "text/Cp1252.h"
#include "text/CrLfLines.h"
#include "text/Utf8.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace selvo {
namespace {

// Continuation lines of a command are indented, as SPSS wants them in files it includes.
constexpr std::string_view kIndent = "  ";

// The variable list is packed into lines a person can read.
constexpr std::size_t kListWidth = 80;

class CommandLines : public CrLfLines {
public:
    // The file starts with the UTF-8 byte-order mark.
    CommandLines() : CrLfLines(kUtf8Bom) {}

    // `lead`, then the text as a quoted string (SpssQuoted), then `tail`. A string too long for
    // one line goes on in pieces joined with "+", which SPSS and PSPP read as one string; no
    // piece splits a character or a doubled apostrophe.
    void addQuoted(std::string_view lead, std::string_view text, std::string_view tail) {
        const std::string quoted = SpssQuoted(text);
        const std::string_view inside = std::string_view(quoted).substr(1, quoted.size() - 2);
        // Room kept on every line for the closing quote and whichever is longer, " +" or tail.
        const std::size_t reserve = 1 + std::max<std::size_t>(2, tail.size());
        std::string line = std::string(lead) + "'";
        for (std::size_t i = 0; i < inside.size();) {
            const std::size_t length = inside[i] == '\'' ? 2 : decodeUtf8At(inside, i).length;
            if (line.size() + length + reserve > kMaxCommandLineBytes) {
                add(line + "' +");
                line = std::string(kIndent) + "'";
            }
            line.append(inside.substr(i, length));
            i += length;
        }
        add(line + "'" + std::string(tail));
    }
};

void addHeaderComment(CommandLines& lines) {
    // Each comment ends with a period at the end of a line: SPSS reads a comment on to the
    // first such period.
    lines.add("* Dati SELVO: un caso per ogni soggetto elaborato da selvo-batch (BrivanSelvo" +
              printedVersion() + ").");
    lines.add(
        "* Legge i casi dal file .csv che ha il nome di questo file e li salva nel file .sav.");
    lines.add("* I due file sono cercati nella cartella di lavoro, non in quella di questo file:");
    lines.add("* eseguire i comandi con la cartella di questo file come cartella di lavoro (in "
              "SPSS: CD).");
    lines.add("");
}

void addGetData(CommandLines& lines, const std::string& name,
                std::span<const DatasetVariable> variables) {
    lines.add("GET DATA /TYPE=TXT");
    lines.addQuoted("  /FILE=", DatasetTableName(name), "");
    // The header row is skipped, so its byte-order mark never reaches the data.
    for (const char* subcommand :
         {"  /ENCODING='UTF8'", "  /ARRANGEMENT=DELIMITED", "  /DELCASE=LINE", "  /FIRSTCASE=2",
          "  /DELIMITERS=\",\"", "  /QUALIFIER='\"'", "  /VARIABLES="}) {
        lines.add(subcommand);
    }
    std::string line(kIndent);
    for (const DatasetVariable& variable : variables) {
        const std::string entry = variable.name + " " + variable.format;
        if (line.size() > kIndent.size() && line.size() + 1 + entry.size() > kListWidth) {
            lines.add(line);
            line = kIndent;
        }
        line += (line.size() > kIndent.size() ? " " : "") + entry;
    }
    // A blank before the period, so it cannot be read as part of the last format.
    lines.add(line + " .");
}

void addVariableLabels(CommandLines& lines, std::span<const DatasetTextColumn> leading,
                       ItemLabelTexts itemTexts) {
    lines.add("VARIABLE LABELS");
    std::vector<VariableLabel> labels;
    for (const DatasetTextColumn& column : leading) {
        labels.push_back({column.name, column.label});
    }
    for (VariableLabel& label : StatisticsVariableLabels(itemTexts)) {
        labels.push_back(std::move(label));
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::string lead = std::string(kIndent) + (i == 0 ? "" : "/") + labels[i].name + " ";
        lines.addQuoted(lead, labels[i].label, i + 1 == labels.size() ? "." : "");
    }
}

// The subject form's options, code by code, as the questionnaire labels them.
void addValueLabels(CommandLines& lines, std::span<const DatasetVariable> variables) {
    lines.add("VALUE LABELS");
    std::vector<const DatasetVariable*> coded;
    for (const DatasetVariable& variable : variables) {
        if (!variable.valueLabels.empty()) {
            coded.push_back(&variable);
        }
    }
    for (std::size_t f = 0; f < coded.size(); ++f) {
        std::string line = std::string(kIndent) + (f == 0 ? "" : "/") + coded[f]->name;
        for (const DatasetValueLabel& value : coded[f]->valueLabels) {
            line += " " + std::to_string(value.code) + " " + SpssQuoted(value.label);
        }
        lines.add(line + (f + 1 == coded.size() ? "." : ""));
    }
}

} // namespace

std::string ComposeDatasetCommands(const std::string& name,
                                   std::span<const DatasetTextColumn> leading,
                                   ItemLabelTexts itemTexts) {
    CommandLines lines;
    const std::vector<DatasetVariable> variables = DatasetVariables(leading, itemTexts);
    addHeaderComment(lines);
    addGetData(lines, name, variables);
    lines.add("");
    addVariableLabels(lines, leading, itemTexts);
    lines.add("");
    addValueLabels(lines, variables);
    lines.add("");
    lines.addQuoted("SAVE OUTFILE=", name + ".sav", "");
    lines.add("  /COMPRESSED.");
    return lines.take();
}

} // namespace selvo
