#include "report/Report.h"

#include "questionnaire/SubjectFiles.h"
#include "report/CategoricalSections.h"
#include "report/ReportContent.h"
#include "report/RtfText.h"
#include "scoring/CriteriaAlgorithm.h"
#include "text/NumberText.h"
#include "state/Startup.h"

#include <array>
#include <string_view>

namespace selvo {
namespace {

// The document group opened by the first chunk stays open until the report's last record.
// The "info" group opened in chunk 5 closes in chunk 6.
constexpr std::array<std::string_view, 10> kHeaderChunks{
    R"rtf({\rtf1\ansi\ansicpg1252\uc1 \deff0\deflang1040\deflangfe1040{\fonttbl{\f0\froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}{\f28\froman\fcharset238\fprq2 Times New Roman CE;}{\f29\froman\fcharset204\fprq2 Times New Roman Cyr;})rtf",
    R"rtf({\f31\froman\fcharset161\fprq2 Times New Roman Greek;}{\f32\froman\fcharset162\fprq2 Times New Roman Tur;}{\f33\froman\fcharset177\fprq2 Times New Roman (Hebrew);}{\f34\froman\fcharset178\fprq2 Times New Roman (Arabic);})rtf",
    R"rtf({\f35\froman\fcharset186\fprq2 Times New Roman Baltic;}}{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red0\green255\blue255;\red0\green255\blue0;\red255\green0\blue255;\red255\green0\blue0;\red255\green255\blue0;\red255\green255\blue255;)rtf",
    R"rtf(\red0\green0\blue128;\red0\green128\blue128;\red0\green128\blue0;\red128\green0\blue128;\red128\green0\blue0;\red128\green128\blue0;\red128\green128\blue128;\red192\green192\blue192;}{\stylesheet{)rtf",
    R"rtf(\ql \li0\ri0\widctlpar\aspalpha\aspnum\faauto\adjustright\rin0\lin0\itap0 \fs24\lang1033\langfe1040\cgrid\langnp1033\langfenp1040 \snext0 Normal;}{\*\cs10 \additive Default Paragraph Font;}}{\info{\author selvo}{\operator selvo})rtf",
    R"rtf({\creatim\yr2005\mo9\dy20\hr17\min22}{\revtim\yr2005\mo9\dy20\hr17\min22}{\version2}{\edmins0}{\nofpages1}{\nofwords0}{\nofchars0}{\*\company x}{\nofcharsws0}{\vern8203}}\paperw11906\paperh16838\margl1134\margr1134\margt1417\margb1134)rtf",
    R"rtf(\deftab708\widowctrl\ftnbj\aenddoc\hyphhotz283\noxlattoyen\expshrtn\noultrlspc\dntblnsbdb\nospaceforul\formshade\horzdoc\dghspace180\dgvspace180\dghorigin1701\dgvorigin1984\dghshow0\dgvshow0)rtf",
    R"rtf(\jexpand\viewkind4\viewscale100\pgbrdrhead\pgbrdrfoot\bdrrlswsix\nolnhtadjtbl \fet0\sectd \linex0\endnhere\sectdefaultcl {\*\pnseclvl1\pnucrm\pnstart1\pnindent720\pnhang{\pntxta .}}{\*\pnseclvl2\pnucltr\pnstart1\pnindent720\pnhang{\pntxta .}}{\*\pnseclvl3)rtf",
    R"rtf(\pndec\pnstart1\pnindent720\pnhang{\pntxta .}}{\*\pnseclvl4\pnlcltr\pnstart1\pnindent720\pnhang{\pntxta )}}{\*\pnseclvl5\pndec\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}{\*\pnseclvl6\pnlcltr\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}})rtf",
    R"rtf({\*\pnseclvl7\pnlcrm\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}{\*\pnseclvl8\pnlcltr\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}{\*\pnseclvl9\pnlcrm\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}}\pard\plain)rtf",
};

// One paragraph: the text and its paragraph mark.
std::string paragraph(std::string_view rtf) {
    std::string out(rtf);
    out += kPar;
    return out;
}

// Plain text as a paragraph of its own.
void addTextParagraph(std::string& out, std::string_view text) {
    appendRtfText(out, text);
    out += kPar;
}

std::string tabs(int count) {
    return std::string(static_cast<std::size_t>(count), '\t');
}

// Label, TABs and the value in bold: one line of the subject block.
void addSubjectLine(std::string& out, std::string_view label, int tabCount,
                    const std::string& value) {
    out += label;
    out += tabs(tabCount);
    appendBold(out, rtfText(value));
    out += kPar;
}

using Slot = NumberOrEmpty ScoreRecord::*;

struct ScaleRow {
    std::string_view label;
    std::string_view lead; // TABs and the range label, shown as it stands
    Slot raw;
    Slot percentage;
};

struct ScaleGroup {
    std::string_view heading;
    int rowCount;
    std::array<ScaleRow, 4> rows;
};

constexpr std::array<ScaleGroup, 5> kScaleGroups{{
    {"CLUSTER A",
     3,
     {{{"PAR", "\t\tR score (7-49):  ", &ScoreRecord::par1t, &ScoreRecord::par1p},
       {"SZ", "\t\tR score (7-49):  ", &ScoreRecord::sz1t, &ScoreRecord::sz1p},
       {"ST", "\t\tR score (7-63):  ", &ScoreRecord::st1t, &ScoreRecord::st1p}}}},
    {"CLUSTER B",
     4,
     {{{"AS", "\t\tR score (7-56):  ", &ScoreRecord::as1t, &ScoreRecord::as1p},
       {"BDL", "\t\tR score (7-70):  ", &ScoreRecord::bdl1t, &ScoreRecord::bdl1p},
       {"HIS", "\t\tR score (7-56):  ", &ScoreRecord::his1t, &ScoreRecord::his1p},
       {"NAR", "\t\tR score (7-63):  ", &ScoreRecord::nar1t, &ScoreRecord::nar1p}}}},
    {"CLUSTER C",
     3,
     {{{"AV", "\t\tR score (7-49):  ", &ScoreRecord::av1t, &ScoreRecord::av1p},
       {"DEP", "\t\tR score (7-56):  ", &ScoreRecord::dep1t, &ScoreRecord::dep1p},
       {"O-C", "\t\tR score (7-56):  ", &ScoreRecord::oc1t, &ScoreRecord::oc1p}}}},
    {"N.O.S.",
     2,
     {{{"DE", "\t\tR score (7-49):  ", &ScoreRecord::de1t, &ScoreRecord::de1p},
       {"PA", "\t\tR score (7-49):  ", &ScoreRecord::pa1t, &ScoreRecord::pa1p}}}},
    {"CLUSTERS",
     4,
     {{{"CLT A", "\t\t(23-161):  ", &ScoreRecord::clA1t, &ScoreRecord::clA1p},
       {"CLT B", "\t\t(35-245):  ", &ScoreRecord::clB1t, &ScoreRecord::clB1p},
       {"CLT C", "\t\t(23-161):  ", &ScoreRecord::clC1t, &ScoreRecord::clC1p},
       {"CLTOT A+B+C", "\t(94-567):  ", &ScoreRecord::tot1t, &ScoreRecord::tot1p}}}},
}};

// The report file is a sequence of records, each a text followed by CR LF.
class Records {
public:
    Records() { m_text.reserve(32 * 1024); } // a report is about 20 KB
    void add(std::string_view text) {
        m_text += text;
        m_text += kCrLf;
    }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

void addDimensionalSection(Records& records, const ScoreRecord& scores) {
    records.add(paragraph(bold("SELVO DIMENSIONAL SCORES")));
    records.add(std::string(kPar) + std::string(kPar));
    records.add(kPar);
    bool first = true;
    for (const auto& group : kScaleGroups) {
        if (!first) {
            records.add(kPar);
        }
        first = false;
        records.add(paragraph(bold(group.heading)));
        if (group.heading == "CLUSTERS") {
            records.add(kPar);
        }
        std::string score;
        for (int r = 0; r < group.rowCount; ++r) {
            const ScaleRow& row = group.rows[static_cast<std::size_t>(r)];
            // Label and score share one paragraph: the label record has no paragraph mark.
            records.add(bold(row.label));
            score.assign(row.lead);
            score += "{\\b ";
            appendNumberText(score, scores.*row.raw);
            score += "  (";
            appendNumberText(score, scores.*row.percentage);
            score += "%)}";
            score += kPar;
            records.add(score);
        }
    }
    records.add(std::string(kPar) + std::string(kPar));
}

void addCriteriaSections(Records& records, ProgramState& state, Algorithm algorithm) {
    BuildCategoricalSection(state, algorithm);
    records.add(state.ReportCategorical[algorithm]);
    BuildCriteriaSection(state, algorithm);
    records.add(state.ReportCriteria[algorithm]);
}

// A name or surname that holds a folder separator would put the report outside its folder,
// or fail there with a puzzling reason: refuse it with one that says what to change.
std::optional<FileError> checkFileNameParts(const ProgramState& state, const std::string& name) {
    for (const std::string* part : {&state.SubjectSurname, &state.SubjectName}) {
        if (refusedNamePartCharacter(*part, NamePartRule::Minimal)) {
            return FileError{name, "il nome o il cognome contiene il carattere \"/\", che non può "
                                   "comparire nel nome di un file. Lo sostituisca con un altro "
                                   "carattere e ripeta l'elaborazione."};
        }
    }
    return std::nullopt;
}

} // namespace

void BuildReportHeader(ProgramState& state) {
    state.ReportHeader.clear();
    state.ReportHeader.reserve(4096);
    for (const std::string_view chunk : kHeaderChunks) {
        state.ReportHeader += chunk;
        state.ReportHeader += kCrLf;
    }
}

void BuildReportTitle(ProgramState& state, const DateTimeSource& now) {
    std::string& t = state.ReportTitle;
    t.clear();
    addBoldParagraph(t, "Brivan SELVO QUESTIONNAIRE");
    t += kPar;
    addParagraph(t, "Software product for the quick assessment of the:");
    addBoldParagraph(t, "SELVO QUESTIONNAIRE");
    t += bold(rtfText(kQuestionnaireTitle)) + bold(" a self-report measure");
    addParagraph(t, kPar);
    t += kPar;
    addParagraph(t, "SELVO Questionnaire - Software for the Italian Version  ");
    const auto& software = content::kSoftwareCredits;
    addTextParagraph(t, software[0]);
    addTextParagraph(t, software[1]);
    addTextParagraph(t, software[2]);
    t += kPar;
    addTextParagraph(t, software[3]);
    t += kPar;
    t += kPar;
    addParagraph(t, "SELVO Questionnaire ");
    for (const std::string_view line : content::kQuestionnaireCredits) {
        addTextParagraph(t, line);
    }
    t += kPar;
    t += "Software product: Brivan SELVO Ver. " + numberText(kProgramVersion) + " Software - ";
    t += "Report V.1.0. Last usage date/time:" + rtfText(now());
    t += " (For the best printing use Times New Roman cp. 10, justified).";
    addParagraph(t, kPar);
    t += kPar;
    addParagraph(t, "REFERENCES");
    for (const std::string_view reference : content::kReferences) {
        addTextParagraph(t, reference);
    }
    addParagraph(t, kPar);
    addParagraph(t, kRule);
    addParagraph(t, "SUBMINISTRATION REPORT AND SCORING" + std::string(45, ' '));
    addParagraph(t, kRule);
    addParagraph(t, kRule);
}

void BuildReportSubject(ProgramState& state) {
    std::string& s = state.ReportSubject;
    s.clear();
    addParagraph(s, kRule);
    addParagraph(s, kRule);
    addParagraph(s, "DATI SOGGETTO: ");
    addSubjectLine(s, "NOME: ", 5, state.SubjectName);
    addSubjectLine(s, "COGNOME: ", 4, state.SubjectSurname);
    addSubjectLine(s, "ETA': ", 5, state.SubjectAge);
    addSubjectLine(s, "SESSO (1=M / 2=F): ", 3, state.SubjectSex);
    addSubjectLine(s, "STATO CIVILE: ", 3, state.SubjectMarital);
    addParagraph(s, "(1=Celibe/Nubile; 2=Coniugato/a; 3=Separato/a; 4=Divorziato/a; 5=Vedovo/a)");
    addSubjectLine(s, "TITOLO DI STUDIO: ", 3, state.SubjectEducation);
    addParagraph(s, "(1=Nessuno/Non indicato; 2=Elementare; 3=Media Inferiore; 4=Media Superiore; "
                    "5=Laurea/Specializzazione)");
    addParagraph(s, "NOTE ALLA SOMMINISTRAZIONE: ");
    addTextParagraph(s, state.SubjectNotes);
    addParagraph(s, kRule);
    addParagraph(s, kRule);
}

std::string ReportFileName(const ProgramState& state) {
    return SubjectReportFileName(SubjectOf(state));
}

std::string ComposeReport(ProgramState& state) {
    Records records;
    records.add(state.ReportHeader);
    records.add(state.ReportTitle);
    records.add(state.ReportSubject);
    records.add(kPage);
    addDimensionalSection(records, state.Scores);
    // Both thresholds share one set of result slots: each pair of sections is built right
    // after its own run.
    ComputeCriteriaX4(state);
    addCriteriaSections(records, state, X4);
    ComputeCriteriaX5(state);
    addCriteriaSections(records, state, X5);
    records.add(std::string(kPar) + std::string(kPar));
    records.add("}");
    return records.take();
}

PreparedFile PrepareReport(ProgramState& state) {
    const std::string name = ReportFileName(state);
    if (auto refused = checkFileNameParts(state, name)) {
        return {std::nullopt, refused};
    }
    std::string bytes = ComposeReport(state);
    if (!toCp1252InPlace(bytes)) {
        // Every text goes through rtfText, so this means a fixed text of the program is wrong.
        return {std::nullopt,
                FileError{name, "il rapporto contiene caratteri che la codifica Windows-1252 non "
                                "può rappresentare; il file non è stato scritto."}};
    }
    return {PendingFile{name, std::move(bytes)}, std::nullopt};
}

std::optional<FileError> WriteReport(ProgramState& state) {
    const PreparedFile report = PrepareReport(state);
    if (report.error) {
        return report.error;
    }
    return saveFileAtomically(report.file->path, report.file->bytes);
}

} // namespace selvo
