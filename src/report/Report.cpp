// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/Report.h"

#include "questionnaire/Product.h"
#include "questionnaire/SubjectFiles.h"
#include "report/CategoricalSections.h"
#include "report/ReportContent.h"
#include "report/RtfText.h"
#include "text/CrLfLines.h"
#include "text/NumberText.h"

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

namespace q = questionnaire;

// "(1=Celibe/Nubile; 2=Coniugato/a; ...)": the codes of a coded field and their labels.
std::string codeLegend(const q::CodedField& field) {
    std::string legend = "(";
    for (int code = 1; code <= field.optionCount; ++code) {
        if (code > 1) {
            legend += "; ";
        }
        legend += integerText(code) + "=";
        legend += field.valueLabels[static_cast<std::size_t>(code - 1)];
    }
    return legend + ")";
}

// Label and score share one paragraph: the label record has no paragraph mark.
void addScaleRow(CrLfLines& records, std::string_view label, std::string_view lead,
                 const ScaleScore& scale) {
    records.add(bold(label));
    std::string score(lead);
    score += "{\\b ";
    appendNumberText(score, scale.total);
    score += "  (";
    appendNumberText(score, scale.percentage);
    score += "%)}";
    score += kPar;
    records.add(score);
}

void addGroupHeading(CrLfLines& records, std::string_view heading, bool first) {
    if (!first) {
        records.add(kPar);
    }
    records.add(paragraph(bold(heading)));
}

void addDisorderRow(CrLfLines& records, const q::DisorderDefinition& disorder,
                    const DimensionalScores& scores) {
    addScaleRow(records, disorder.shortName,
                "\t\tR score " + std::string(disorder.rangeLabel) + ":  ",
                scores.disorders[disorder.disorder]);
}

// Each cluster's disorders, then those of no cluster, then the cluster totals.
void addDimensionalSection(CrLfLines& records, const DimensionalScores& scores) {
    records.add(paragraph(bold("SELVO DIMENSIONAL SCORES")));
    records.add(std::string(kPar) + std::string(kPar));
    records.add(kPar);
    bool first = true;
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        addGroupHeading(records, "CLUSTER " + std::string(cluster.letter), first);
        first = false;
        for (const q::Disorder member : cluster.memberList()) {
            addDisorderRow(records, q::kDisorders[member], scores);
        }
    }
    addGroupHeading(records, "N.O.S.", first);
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        if (!q::inAnyCluster(disorder.disorder)) {
            addDisorderRow(records, disorder, scores);
        }
    }
    addGroupHeading(records, "CLUSTERS", false);
    records.add(kPar);
    std::string allLetters;
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        addScaleRow(records, "CLT " + std::string(cluster.letter),
                    "\t\t" + std::string(cluster.rangeLabel) + ":  ",
                    scores.clusters[cluster.cluster]);
        allLetters += (allLetters.empty() ? "" : "+") + std::string(cluster.letter);
    }
    addScaleRow(records, "CLTOT " + allLetters,
                "\t" + std::string(q::kAllClustersRangeLabel) + ":  ", scores.allClusters);
    records.add(std::string(kPar) + std::string(kPar));
}

void addCriteriaSections(CrLfLines& records, const ReportInput& input, q::Algorithm algorithm) {
    const CategoricalScores& categorical = input.scores.categorical[algorithm];
    records.add(BuildCategoricalSection(categorical, algorithm));
    records.add(BuildCriteriaSection(categorical, input.criteriaTexts, algorithm));
}

// A name or surname that holds a folder separator would put the report outside the output
// folder, or fail there with a puzzling reason: refuse it with one that says what to change.
std::optional<FileError> checkFileNameParts(const SubjectRecord& subject, const std::string& name) {
    for (const std::string* part : {&subject.surname, &subject.name}) {
        if (refusedNamePartCharacter(*part, NamePartRule::Minimal)) {
            return FileError{name, "il nome o il cognome contiene il carattere \"/\", che non può "
                                   "comparire nel nome di un file. Lo sostituisca con un altro "
                                   "carattere e ripeta l'elaborazione."};
        }
    }
    return std::nullopt;
}

} // namespace

std::string BuildReportHeader() {
    CrLfLines header({}, 4096);
    for (const std::string_view chunk : kHeaderChunks) {
        header.add(chunk);
    }
    return header.take();
}

std::string BuildReportTitle(const std::string& dateTime) {
    std::string t;
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
    t += "Software product: Brivan SELVO Ver. " + printedVersion() + " Software - ";
    t += "Report V.1.0. Last usage date/time:" + rtfText(dateTime);
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
    return t;
}

std::string BuildReportSubject(const SubjectRecord& subject) {
    std::string s;
    addParagraph(s, kRule);
    addParagraph(s, kRule);
    addParagraph(s, "DATI SOGGETTO: ");
    addSubjectLine(s, "NOME: ", 5, subject.name);
    addSubjectLine(s, "COGNOME: ", 4, subject.surname);
    addSubjectLine(s, "ETA': ", 5, subject.age);
    addSubjectLine(s, "SESSO (1=M / 2=F): ", 3, subject.sex);
    addSubjectLine(s, "STATO CIVILE: ", 3, subject.marital);
    addParagraph(s, codeLegend(q::kMarital));
    addSubjectLine(s, "TITOLO DI STUDIO: ", 3, subject.education);
    addParagraph(s, codeLegend(q::kEducation));
    addParagraph(s, "NOTE ALLA SOMMINISTRAZIONE: ");
    addTextParagraph(s, subject.notes);
    addParagraph(s, kRule);
    addParagraph(s, kRule);
    return s;
}

std::string ReportFileName(const SubjectRecord& subject) {
    return SubjectReportFileName(subject);
}

std::string ComposeReport(const ReportInput& input) {
    // The report file is a sequence of records, each a text followed by CR LF; a report is about
    // 20 KB.
    CrLfLines records({}, 32 * 1024);
    records.add(BuildReportHeader());
    records.add(BuildReportTitle(input.dateTime));
    records.add(BuildReportSubject(input.subject));
    records.add(kPage);
    addDimensionalSection(records, input.scores.dimensional);
    addCriteriaSections(records, input, q::X4);
    addCriteriaSections(records, input, q::X5);
    records.add(std::string(kPar) + std::string(kPar));
    records.add("}");
    return records.take();
}

FileResult<PendingFile> PrepareReport(const ReportInput& input) {
    const std::string name = ReportFileName(input.subject);
    if (auto refused = checkFileNameParts(input.subject, name)) {
        return *refused;
    }
    std::string bytes = ComposeReport(input);
    if (!toCp1252InPlace(bytes)) {
        // Every text goes through rtfText, so this means a fixed text of the program is wrong.
        return FileError{name, "il rapporto contiene caratteri che la codifica Windows-1252 non "
                               "può rappresentare; il file non è stato scritto."};
    }
    return PendingFile{name, std::move(bytes)};
}

} // namespace selvo
