#include "datafiles/DatasetCommands.h"

#include "datafiles/DatasetTable.h"
#include "datafiles/StatisticsExport.h"
#include "text/NumberText.h"
#include "state/Startup.h"
#include "platform/TextFile.h"
#include "text/TextSafety.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace selvo {
namespace {

// Continuation lines of a command are indented, as SPSS wants them in files it includes.
constexpr std::string_view kIndent = "  ";

// The variable list is packed into lines a person can read.
constexpr std::size_t kListWidth = 80;

struct CodeLabels {
    const char* variable;
    std::vector<const char*> labels; // code 1, 2, ...
};

// The subject form's options, code by code ("Elementare" spelt as the report's legend spells
// it).
const std::array<CodeLabels, 3> kCodeLabels{{
    {"Sex", {"MASCHIO", "FEMMINA"}},
    {"STCIV", {"Celibe/Nubile", "Coniugato/a", "Separato/a", "Divorziato/a", "Vedovo/a"}},
    {"TITSTUD",
     {"Nessuno/Non indicato", "Elementare", "Media Inferiore", "Media Superiore",
      "Laurea/Specializzazione"}},
}};

class CommandLines {
public:
    void add(std::string_view line) {
        m_text += line;
        m_text += kCrLf;
    }

    // `lead`, then the text as a quoted string (an apostrophe inside doubled, a control
    // character as a blank), then `tail`. A string too long for one line goes on in pieces
    // joined with "+", which SPSS and PSPP read as one string; no piece splits a character.
    void addQuoted(std::string_view lead, std::string_view text, std::string_view tail) {
        // Room kept on every line for the closing quote and whichever is longer, " +" or tail.
        const std::size_t reserve = 1 + std::max<std::size_t>(2, tail.size());
        std::string line = std::string(lead) + "'";
        for (std::size_t i = 0; i < text.size();) {
            const Utf8Char c = decodeUtf8At(text, i);
            std::string piece = c.valid && isControlOrFormat(c.codePoint)
                                    ? std::string(" ")
                                    : std::string(text.substr(i, c.length));
            if (piece == "'") {
                piece = "''";
            }
            if (line.size() + piece.size() + reserve > kMaxCommandLineBytes) {
                add(line + "' +");
                line = std::string(kIndent) + "'";
            }
            line += piece;
            i += c.length;
        }
        add(line + "'" + std::string(tail));
    }

    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

void addHeaderComment(CommandLines& lines) {
    // Each comment ends with a period at the end of a line: SPSS reads a comment on to the
    // first such period.
    lines.add("* Dati SELVO: un caso per ogni soggetto elaborato da selvo-batch (BrivanSelvo" +
              numberText(kProgramVersion) + ").");
    lines.add(
        "* Legge i casi dal file .csv che ha il nome di questo file e li salva nel file .sav.");
    lines.add("* I due file sono cercati nella cartella di lavoro, non in quella di questo file:");
    lines.add("* eseguire i comandi con la cartella di questo file come cartella di lavoro (in "
              "SPSS: CD).");
    lines.add("");
}

void addGetData(CommandLines& lines, const std::string& name) {
    lines.add("GET DATA /TYPE=TXT");
    lines.addQuoted("  /FILE=", DatasetTableName(name), "");
    // The header row is skipped, so its byte-order mark never reaches the data.
    for (const char* subcommand :
         {"  /ENCODING='UTF8'", "  /ARRANGEMENT=DELIMITED", "  /DELCASE=LINE", "  /FIRSTCASE=2",
          "  /DELIMITERS=\",\"", "  /QUALIFIER='\"'", "  /VARIABLES="}) {
        lines.add(subcommand);
    }
    std::string line(kIndent);
    for (const StatisticsVariable& variable : StatisticsVariables()) {
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

void addVariableLabels(CommandLines& lines, const ProgramState& state) {
    lines.add("VARIABLE LABELS");
    const std::vector<VariableLabel> labels = StatisticsVariableLabels(state);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::string lead = std::string(kIndent) + (i == 0 ? "" : "/") + labels[i].name + " ";
        lines.addQuoted(lead, labels[i].label, i + 1 == labels.size() ? "." : "");
    }
}

void addValueLabels(CommandLines& lines) {
    lines.add("VALUE LABELS");
    for (std::size_t v = 0; v < kCodeLabels.size(); ++v) {
        const CodeLabels& coded = kCodeLabels[v];
        std::string line = std::string(kIndent) + (v == 0 ? "" : "/") + coded.variable;
        for (std::size_t code = 1; code <= coded.labels.size(); ++code) {
            line += " " + std::to_string(code) + " '" + coded.labels[code - 1] + "'";
        }
        lines.add(line + (v + 1 == kCodeLabels.size() ? "." : ""));
    }
}

} // namespace

std::string ComposeDatasetCommands(const std::string& name, const ProgramState& state) {
    CommandLines lines;
    addHeaderComment(lines);
    addGetData(lines, name);
    lines.add("");
    addVariableLabels(lines, state);
    lines.add("");
    addValueLabels(lines);
    lines.add("");
    lines.addQuoted("SAVE OUTFILE=", name + ".sav", "");
    lines.add("  /COMPRESSED.");
    return std::string(kUtf8Bom) + lines.take();
}

} // namespace selvo
