#include "datafiles/StatisticsExport.h"

#include "questionnaire/SubjectFiles.h"
#include "scoring/CriteriaAlgorithm.h"
#include "text/NumberText.h"
#include "state/Startup.h"
#include "text/TextSafety.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

namespace selvo {
namespace {

constexpr int kItems = questionnaire::kItemCount;

struct ScoreSlot {
    const char* name;
    NumberOrEmpty ScoreRecord::*member;
};

struct LabelledSlot {
    const char* name;
    const char* label;
    NumberOrEmpty ScoreRecord::*member;
};

using R = ScoreRecord;

constexpr std::array<LabelledSlot, 16> kDimensionalTotals{{
    {"par1t", "PAR tot", &R::par1t},
    {"sz1t", "SZ tot", &R::sz1t},
    {"st1t", "ST tot", &R::st1t},
    {"as1t", "AS tot", &R::as1t},
    {"bdl1t", "BDL tot", &R::bdl1t},
    {"his1t", "HIS tot", &R::his1t},
    {"nar1t", "NAR tot", &R::nar1t},
    {"av1t", "AV tot", &R::av1t},
    {"dep1t", "DEP tot", &R::dep1t},
    {"oc1t", "O_C tot", &R::oc1t},
    {"de1t", "NOS_DE tot", &R::de1t},
    {"pa1t", "NOS_PA tot", &R::pa1t},
    {"clA1t", "CLU_A tot", &R::clA1t},
    {"clB1t", "CLU_B tot", &R::clB1t},
    {"clC1t", "CLU_C tot", &R::clC1t},
    {"tot1t", "TotCLU tot", &R::tot1t},
}};

// Each scale's count, criteria and diagnosis, then the clusters: the order of the variables.
constexpr std::array<ScoreSlot, 126> kCriteriaSlots{{
    {"PARTOT", &R::PARTOT}, {"PAR1", &R::PAR1},     {"PAR2", &R::PAR2},     {"PAR3", &R::PAR3},
    {"PAR4", &R::PAR4},     {"PAR5", &R::PAR5},     {"PAR6", &R::PAR6},     {"PAR7", &R::PAR7},
    {"PARD", &R::PARD},     {"SZTOT", &R::SZTOT},   {"SZ1", &R::SZ1},       {"SZ2", &R::SZ2},
    {"SZ3", &R::SZ3},       {"SZ4", &R::SZ4},       {"SZ5", &R::SZ5},       {"SZ6", &R::SZ6},
    {"SZ7", &R::SZ7},       {"SZD", &R::SZD},       {"STTOT", &R::STTOT},   {"ST1", &R::ST1},
    {"ST2", &R::ST2},       {"ST3", &R::ST3},       {"ST4", &R::ST4},       {"ST5", &R::ST5},
    {"ST6", &R::ST6},       {"ST7", &R::ST7},       {"ST8", &R::ST8},       {"ST9", &R::ST9},
    {"STD", &R::STD},       {"ASTOT", &R::ASTOT},   {"AS1", &R::AS1},       {"AS2", &R::AS2},
    {"AS3", &R::AS3},       {"AS4", &R::AS4},       {"AS5", &R::AS5},       {"AS6", &R::AS6},
    {"AS7", &R::AS7},       {"AS8", &R::AS8},       {"ASD", &R::ASD},       {"BDLTOT", &R::BDLTOT},
    {"BDL1", &R::BDL1},     {"BDL2", &R::BDL2},     {"BDL3", &R::BDL3},     {"BDL4", &R::BDL4},
    {"BDL56", &R::BDL56},   {"BDL7", &R::BDL7},     {"BDL8", &R::BDL8},     {"BDL9", &R::BDL9},
    {"BDL10", &R::BDL10},   {"BDLD", &R::BDLD},     {"HISTOT", &R::HISTOT}, {"HIS1", &R::HIS1},
    {"HIS2", &R::HIS2},     {"HIS3", &R::HIS3},     {"HIS4", &R::HIS4},     {"HIS5", &R::HIS5},
    {"HIS6", &R::HIS6},     {"HIS7", &R::HIS7},     {"HIS8", &R::HIS8},     {"HISD", &R::HISD},
    {"NARTOT", &R::NARTOT}, {"NAR1", &R::NAR1},     {"NAR2", &R::NAR2},     {"NAR3", &R::NAR3},
    {"NAR4", &R::NAR4},     {"NAR5", &R::NAR5},     {"NAR6", &R::NAR6},     {"NAR7", &R::NAR7},
    {"NAR8", &R::NAR8},     {"NAR9", &R::NAR9},     {"NARD", &R::NARD},     {"AVTOT", &R::AVTOT},
    {"AV1", &R::AV1},       {"AV2", &R::AV2},       {"AV3", &R::AV3},       {"AV4", &R::AV4},
    {"AV5", &R::AV5},       {"AV6", &R::AV6},       {"AV7", &R::AV7},       {"AVD", &R::AVD},
    {"DEPTOT", &R::DEPTOT}, {"DEP1", &R::DEP1},     {"DEP2", &R::DEP2},     {"DEP3", &R::DEP3},
    {"DEP4", &R::DEP4},     {"DEP5", &R::DEP5},     {"DEP6", &R::DEP6},     {"DEP7", &R::DEP7},
    {"DEP8", &R::DEP8},     {"DEPD", &R::DEPD},     {"OCTOT", &R::OCTOT},   {"OC1", &R::OC1},
    {"OC2", &R::OC2},       {"OC3", &R::OC3},       {"OC4", &R::OC4},       {"OC5", &R::OC5},
    {"OC6", &R::OC6},       {"OC7", &R::OC7},       {"OC8", &R::OC8},       {"OCD", &R::OCD},
    {"DETOT", &R::DETOT},   {"DE1", &R::DE1},       {"DE2", &R::DE2},       {"DE3", &R::DE3},
    {"DE4", &R::DE4},       {"DE5", &R::DE5},       {"DE6", &R::DE6},       {"DE7", &R::DE7},
    {"DED", &R::DED},       {"PATOT", &R::PATOT},   {"PA1", &R::PA1},       {"PA2", &R::PA2},
    {"PA3", &R::PA3},       {"PA4", &R::PA4},       {"PA5", &R::PA5},       {"PA6", &R::PA6},
    {"PA7", &R::PA7},       {"PAD", &R::PAD},       {"CLATOT", &R::CLATOT}, {"CLBTOT", &R::CLBTOT},
    {"CLCTOT", &R::CLCTOT}, {"TOTTOT", &R::TOTTOT}, {"CLAD", &R::CLAD},     {"CLBD", &R::CLBD},
    {"CLCD", &R::CLCD},     {"TOTD", &R::TOTD},
}};

struct ScaleLabel {
    const char* count;
    const char* diagnosis;
    const char* shortLabel;
    bool cluster;
};

// Counts and diagnoses as the label lines list them.
constexpr std::array<ScaleLabel, 16> kScaleLabels{{
    {"PARTOT", "PARD", "PAR", false},
    {"SZTOT", "SZD", "SZ", false},
    {"STTOT", "STD", "ST", false},
    {"ASTOT", "ASD", "AS", false},
    {"BDLTOT", "BDLD", "BDL", false},
    {"HISTOT", "HISD", "HIS", false},
    {"NARTOT", "NARD", "NAR", false},
    {"AVTOT", "AVD", "AV", false},
    {"DEPTOT", "DEPD", "DEP", false},
    {"OCTOT", "OCD", "OC", false},
    {"DETOT", "DED", "NOS DE", false},
    {"PATOT", "PAD", "NOS PA", false},
    {"CLATOT", "CLAD", "CLA", true},
    {"CLBTOT", "CLBD", "CLB", true},
    {"CLCTOT", "CLCD", "CLC", true},
    {"TOTTOT", "TOTD", "CLTOT", true},
}};

// The header's labels. Nome and Cognome are labelled although the case has no such variables.
constexpr std::array<std::pair<const char*, const char*>, 8> kHeaderLabels{{
    {"Card", " Card"},
    {"Nome", " Nome"},
    {"Cognome", " Cognome"},
    {"Eta", " Eta"},
    {"Sex", " Sex"},
    {"STCIV", " STCIV"},
    {"TITSTUD", " TITSTUD"},
    {"CODICE", " Note"},
}};

// Not the subject's name: the case carries no name or surname.
constexpr const char* kCaseCode = "pz";

// The command file is built line by line; every line ends in CR LF.
class Lines {
public:
    Lines() { m_text.reserve(32 * 1024); } // a command file is about 24 KB
    void add(std::string_view line) {
        m_text += line;
        m_text += kCrLf;
    }
    // Pieces of one line, without building the line first.
    void add(std::initializer_list<std::string_view> pieces) {
        for (const std::string_view piece : pieces) {
            m_text += piece;
        }
        m_text += kCrLf;
    }
    // Lines already ended with CR LF.
    void addLines(std::string_view lines) { m_text += lines; }
    void addEmpty(int count) {
        for (int i = 0; i < count; ++i) {
            m_text += kCrLf;
        }
    }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

// A box line: asterisk, two blanks, the text, blanks up to the closing asterisk in column 34.
std::string bannerLine(const std::string& text) {
    std::string line = "*  " + text;
    line.resize(33, ' ');
    return line + "*";
}

std::string apostrophesDoubled(std::string_view text) {
    std::string doubled;
    for (const char c : text) {
        if (c == '\'') {
            doubled.push_back('\'');
        }
        doubled.push_back(c);
    }
    return doubled;
}

// No text of the record may end a command line or start another, whatever it holds: control
// and format characters become blanks.
std::string oneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char decoded = decodeUtf8At(text, i);
        if (decoded.valid && isControlOrFormat(decoded.codePoint)) {
            line.push_back(' ');
        } else {
            line.append(text.substr(i, decoded.length));
        }
        i += decoded.length;
    }
    return line;
}

// Where a quoted text stands: in a command, whose strings take a doubled apostrophe, or among
// the inline data, where free format knows no doubling and ends the value at the first
// matching quote.
enum class Quoted { InCommand, InData };

// The one way a text of the record goes into the command file, always on one line. In a
// command: in apostrophes, an apostrophe inside doubled. Among the data: in apostrophes, or in
// quotation marks when the text holds an apostrophe ("trent'anni"); a text holding both
// has its quotation marks turned into apostrophes, so the value still ends where it should.
std::string quotedText(std::string_view text, Quoted where) {
    std::string line = oneLine(text);
    if (where == Quoted::InCommand) {
        return "'" + apostrophesDoubled(line) + "'";
    }
    if (line.find('\'') == std::string::npos) {
        return "'" + line + "'";
    }
    std::replace(line.begin(), line.end(), '"', '\'');
    return "\"" + line + "\"";
}

// SPSS free format splits values at blanks, tabs and commas and treats quotes as string
// delimiters: such a value (or an empty one, which would vanish) goes out as a quoted string,
// so every later value keeps its column.
std::string freeFormatValue(const std::string& text) {
    if (!text.empty() && oneLine(text).find_first_of(" \t,'\"") == std::string::npos) {
        return text;
    }
    return quotedText(text, Quoted::InData);
}

// "As a number": sign blank or minus, the digits, and the blank that follows every number.
// A slot never filled goes out as 0 rather than as nothing, so later values keep their column.
void appendNumberField(std::string& out, const NumberOrEmpty& value) {
    appendNumberText(out, value.value());
    out += ' ';
}

std::string quotedFileName(const std::string& fileName) {
    return quotedText(".\\" + fileName, Quoted::InCommand);
}

std::string subjectPart(const ProgramState& state) {
    return state.SubjectSurname + "_" + state.SubjectName;
}

// The definitions are the same for every case: built once.
std::array<std::string, 2> definitionLines() {
    std::string first = "DATA LIST FREE/ ";
    for (const char* header :
         {" Card(F8.0) ", " Sex(F8.0) ", " Eta(F8.0) ", " STCIV(F8.0) ", " TITSTUD(F8.0) "}) {
        first += header;
    }
    // No blank after the case code: the first answer's definition follows it directly.
    first += " CODICE(A10)";
    for (int k = 1; k <= kItems; ++k) {
        first += "t" + std::to_string(k) + "_1(F8) ";
    }
    for (int k = 1; k <= kItems; ++k) {
        first += " d" + std::to_string(k) + "_1(F8.0) ";
    }
    std::string second;
    for (const auto& slot : kDimensionalTotals) {
        second += std::string(slot.name) + "(F8.0) ";
    }
    for (const char* suffix : {"X4", "X5"}) {
        for (const auto& slot : kCriteriaSlots) {
            second += std::string(slot.name) + suffix + "(F8.0) ";
        }
    }
    return {first, second + "."};
}

void addDefinitions(Lines& lines) {
    static const std::array<std::string, 2> definitions = definitionLines();
    for (const std::string& line : definitions) {
        lines.add(line);
    }
}

// Lets one call of forEachCaseValue hand each kind of value to its own formatting.
template <class... Format> struct Formats : Format... { using Format::operator()...; };
template <class... Format> Formats(Format...) -> Formats<Format...>;

// Every value of the case in variable order, as the record holds it: a number, a text of the
// record or an answer. Runs both criteria algorithms on the way, as the X4 and X5 values come
// from the one shared set of slots.
template <class Sink> void forEachCaseValue(ProgramState& state, Sink&& sink) {
    sink(NumberOrEmpty(state.Card));
    for (const std::string* text : {&state.SubjectSex, &state.SubjectAge, &state.SubjectMarital,
                                    &state.SubjectEducation, &state.CaseCode}) {
        sink(*text);
    }
    for (int k = 1; k <= kItems; ++k) {
        sink(state.AnswerT[k]);
    }
    for (int k = 1; k <= kItems; ++k) {
        sink(state.AnswerD[k]);
    }
    for (const auto& slot : kDimensionalTotals) {
        sink(state.Scores.*slot.member);
    }
    ComputeCriteriaX4(state);
    for (const auto& slot : kCriteriaSlots) {
        sink(state.Scores.*slot.member);
    }
    ComputeCriteriaX5(state);
    for (const auto& slot : kCriteriaSlots) {
        sink(state.Scores.*slot.member);
    }
}

// The case's 462 values on one line of free-format data.
std::string dataLine(ProgramState& state) {
    std::string line;
    line.reserve(2048); // 462 values
    forEachCaseValue(state, Formats{
                                [&line](const NumberOrEmpty& number) {
                                    appendNumberField(line, number);
                                    line += ' ';
                                },
                                [&line](const std::string& text) {
                                    line += freeFormatValue(text);
                                    line += ' ';
                                },
                                [&line](Integer answer) {
                                    line += ' ';
                                    appendIntegerText(line, answer);
                                },
                            });
    return line + " ";
}

std::string labelLine(std::string_view name, std::string_view label) {
    return "variable labels  " + std::string(name) + "  '" + std::string(label) + "'.";
}

// The 32 labelled criteria variables of one algorithm: the counts, then the diagnoses.
std::vector<VariableLabel> criteriaLabels(const std::string& algorithm) {
    std::vector<VariableLabel> labels;
    for (const auto& scale : kScaleLabels) {
        labels.push_back(
            {scale.count + algorithm, std::string(scale.shortLabel) + " tot criteri " + algorithm});
    }
    for (const auto& scale : kScaleLabels) {
        const char* const kind = scale.cluster ? " tot DIAGNOSI " : "  DIAGNOSI ";
        labels.push_back({scale.diagnosis + algorithm, scale.shortLabel + (kind + algorithm)});
    }
    return labels;
}

void addCriteriaLabels(Lines& lines, const std::string& algorithm) {
    for (const auto& [name, label] : criteriaLabels(algorithm)) {
        lines.add(labelLine(name, label));
    }
}

// The item's label, kept inside the single quotes that delimit it.
std::string itemLabel(const ProgramState& state, int k) {
    return "It:" + CleanLabelText(state.ItemText.at(static_cast<std::size_t>(k))) + " ";
}

// The same lines for every case: each algorithm's are built once.
const std::string& criteriaLabelLines(Algorithm algorithm) {
    static const std::array<std::string, kAlgorithmCount> labels = [] {
        std::array<std::string, kAlgorithmCount> built;
        for (const auto& [which, suffix] : {std::pair{X4, "X4"}, std::pair{X5, "X5"}}) {
            Lines lines;
            addCriteriaLabels(lines, suffix);
            built[which] = lines.take();
        }
        return built;
    }();
    return labels[algorithm];
}

// CleanLabelText into a buffer that is used again for every item.
void cleanLabelTextInto(std::string& clean, std::string_view text) {
    clean.assign(text);
    for (const auto& [from, to] :
         {std::pair{'\'', '^'}, std::pair{'\r', '-'}, std::pair{'\n', '-'}}) {
        for (std::size_t at = clean.find(from); at != std::string::npos;
             at = clean.find(from, at + 1)) {
            clean[at] = to;
        }
    }
}

} // namespace

std::string CleanLabelText(std::string_view text) {
    std::string clean;
    cleanLabelTextInto(clean, text);
    return clean;
}

std::string StatisticsExportFileName(const ProgramState& state) {
    return SubjectCommandFileName(SubjectOf(state));
}

std::string ComposeStatisticsExport(ProgramState& state) {
    Lines lines;
    const std::string stars(34, '*');
    const std::string hollow = "*" + std::string(32, ' ') + "*";
    lines.add(stars);
    lines.add(hollow);
    lines.add(bannerLine("Dati SELVO, tutti i soggetti"));
    lines.add(bannerLine("Comandi SPSS, edizione" + numberText(kProgramVersion)));
    lines.add(hollow);
    lines.add(stars);
    lines.addEmpty(2);

    state.CaseCode = kCaseCode;
    addDefinitions(lines);
    lines.add("BEGIN DATA");
    lines.add(dataLine(state));
    lines.add("END DATA.");
    lines.addEmpty(2);
    lines.add("CLEAR TRANSFORMATION.");
    lines.addEmpty(2);
    lines.add(std::string(59, '*'));
    lines.add("*VARNAMES ");
    lines.add(" ");

    for (const auto& [name, label] : kHeaderLabels) {
        lines.add(labelLine(name, label));
    }
    std::string label;
    for (int k = 1; k <= kItems; ++k) {
        cleanLabelTextInto(label, state.ItemText.at(static_cast<std::size_t>(k)));
        lines.add({"variable labels   t", std::to_string(k), "_1  'It:", label, " '."});
    }

    lines.add(" ");
    lines.add(std::string(18, '*'));
    lines.add("Scale Dimensionali");
    lines.add(" ");
    for (const auto& slot : kDimensionalTotals) {
        lines.add(labelLine(slot.name, slot.label));
    }
    lines.add(" ");
    lines.addLines(criteriaLabelLines(X4));
    lines.add(" ");
    lines.addLines(criteriaLabelLines(X5));
    lines.add(" ");

    // Apostrophes in a surname such as D'Amico are doubled inside the quoted file names.
    const std::string subject = subjectPart(state);
    lines.add(" SAVE OUTFILE=" + quotedFileName("SELVO_SS000_" + subject + "_sav.sav") +
              "  /COMPRESSED.");
    lines.add(" ");
    lines.add(" ");
    lines.add("* importa il file scid-ii del soggetto");
    lines.add(" ");
    lines.add("* MATCH FILES /FILE=*");
    lines.add("* /FILE=" + quotedFileName("SCIDII_Crit_" + subject + "_sav.sav"));
    lines.add("* /RENAME (Card CODICE Eta Sex STCIV TITSTUD = d0 d1 d2 d3 d4 d5)");
    lines.add("* /DROP= d0 d1 d2 d3 d4 d5.");
    lines.add("* EXECUTE.");
    lines.add(" ");
    lines.add(" ");
    lines.add("* SAVE OUTFILE=" + quotedFileName("SELVO_SCIDII_" + subject + "_sav.sav") +
              "  /COMPRESSED.");
    return lines.take();
}

PendingFile PrepareStatisticsExport(ProgramState& state) {
    std::string name = StatisticsExportFileName(state);
    std::string text = ComposeStatisticsExport(state);
    // The names travel inside the file: when one does not fit code page 1252 the whole file
    // goes out in UTF-8, marked so that SPSS and PSPP read it as such.
    if (!toCp1252InPlace(text)) {
        text.insert(0, kUtf8Bom);
    }
    return {std::move(name), std::move(text)};
}

std::optional<FileError> WriteStatisticsExport(ProgramState& state) {
    const PendingFile file = PrepareStatisticsExport(state);
    return saveFileAtomically(file.path, file.bytes);
}

std::vector<StatisticsVariable> StatisticsVariables() {
    std::vector<StatisticsVariable> variables;
    for (const char* name : {"Card", "Sex", "Eta", "STCIV", "TITSTUD"}) {
        variables.push_back({name, "F8.0"});
    }
    variables.push_back({"CODICE", "A10"});
    for (int k = 1; k <= kItems; ++k) {
        variables.push_back({"t" + std::to_string(k) + "_1", "F8"});
    }
    for (int k = 1; k <= kItems; ++k) {
        variables.push_back({"d" + std::to_string(k) + "_1", "F8.0"});
    }
    for (const auto& slot : kDimensionalTotals) {
        variables.push_back({slot.name, "F8.0"});
    }
    for (const char* suffix : {"X4", "X5"}) {
        for (const auto& slot : kCriteriaSlots) {
            variables.push_back({slot.name + std::string(suffix), "F8.0"});
        }
    }
    return variables;
}

std::vector<std::string> StatisticsCaseValues(ProgramState& state) {
    state.CaseCode = kCaseCode;
    std::vector<std::string> values;
    forEachCaseValue(
        state, Formats{
                   [&values](const NumberOrEmpty& number) {
                       // The number's text without the blank that stands for a
                       // plus sign.
                       std::string text = numberText(number.value());
                       values.push_back(text.starts_with(' ') ? text.substr(1) : std::move(text));
                   },
                   [&values](const std::string& text) { values.push_back(oneLine(text)); },
                   [&values](Integer answer) { values.push_back(integerText(answer)); },
               });
    return values;
}

std::vector<VariableLabel> StatisticsVariableLabels(const ProgramState& state) {
    std::vector<VariableLabel> labels;
    for (const auto& [name, label] : kHeaderLabels) {
        if (std::string_view(name) != "Nome" && std::string_view(name) != "Cognome") {
            labels.push_back({name, label});
        }
    }
    for (int k = 1; k <= kItems; ++k) {
        labels.push_back({"t" + std::to_string(k) + "_1", itemLabel(state, k)});
    }
    for (const auto& slot : kDimensionalTotals) {
        labels.push_back({slot.name, slot.label});
    }
    for (const char* algorithm : {"X4", "X5"}) {
        for (VariableLabel& label : criteriaLabels(algorithm)) {
            labels.push_back(std::move(label));
        }
    }
    return labels;
}

} // namespace selvo
