// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/Report.h"

#include "ReportExpectations.h"
#include "administration/ItemBank.h"
#include "platform/Clock.h"
#include "report/CategoricalSections.h"
#include "report/RtfText.h"
#include "state/Startup.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "text/Cp1252.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>
#ifndef _WIN32
#include "support/Unprivileged.h"
#endif

namespace selvo {
namespace {

using namespace testing_report;

const std::string kRule(kRuleText);
constexpr const char* kDate = "07/12/2026 09:05:03";

const std::array<std::string, kDisorderCount> kCodes{"PAR", "SZ", "ST",  "AS", "BDL", "HIS",
                                                     "NAR", "AV", "DEP", "OC", "DE",  "PA"};
constexpr std::array<int, kDisorderCount> kCriterionCounts{7, 7, 9, 8, 9, 8, 9, 7, 8, 8, 7, 7};

// Short stand-ins for the criteria texts; one holds the characters RTF must escape.
void fillFixtureCriteriaTexts(ProgramState& state) {
    for (int d = 0; d < kDisorderCount; ++d) {
        auto& texts = state.CriteriaText[static_cast<std::size_t>(d)];
        texts = {kCodes[d] + ": intestazione di prova"};
        for (int k = 1; k <= kCriterionCounts[d]; ++k) {
            texts.push_back(std::to_string(k) + ")  criterio " + std::to_string(k) + " di " +
                            kCodes[d]);
        }
    }
    state.CriteriaText[ST][8] = "8)  testo con \\ e {graffe}";
}

struct Subject {
    std::string name, surname, age, sex, marital, education, notes;
};

ProgramState preparedState(const Subject& subject) {
    ProgramState state;
    SetProgramConstants(state);
    fillFixtureCriteriaTexts(state);
    state.SubjectName = subject.name;
    state.SubjectSurname = subject.surname;
    state.SubjectAge = subject.age;
    state.SubjectSex = subject.sex;
    state.SubjectMarital = subject.marital;
    state.SubjectEducation = subject.education;
    state.SubjectNotes = subject.notes;
    return state;
}

// The report of the subject, answers and criteria texts a state holds, dated kDate.
std::string composeReport(const ProgramState& state) {
    const SubjectRecord subject = SubjectOf(state);
    const Scores scores = ScoreAnswers(AnswersOf(state));
    const std::string date = kDate;
    return ComposeReport({subject, scores, date, state.CriteriaText});
}

std::optional<FileError> writeReport(const ProgramState& state) {
    const SubjectRecord subject = SubjectOf(state);
    const Scores scores = ScoreAnswers(AnswersOf(state));
    const std::string date = kDate;
    return WriteReport({subject, scores, date, state.CriteriaText});
}

// Every item answered 4: no criterion can be met.
ProgramState answerSetMiddle() {
    ProgramState state = preparedState({"S01", "GRP1", "41", "1", "2", "4", ""});
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = 4;
    }
    return state;
}

// Answers 3 except these: criteria met under T > 4 only, under both, and never.
ProgramState answerSetMixed() {
    ProgramState state =
        preparedState({"S02", "GRP1", "34", "2", "3", "5", "Prima riga è\r\nseconda {riga}"});
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = 3;
    }
    const std::vector<std::array<int, 3>> answers = {
        {1, 5, 2},  {13, 7, 3}, {25, 7, 3}, {37, 7, 3}, // paranoid: 4 under T > 4, 3 under T > 5
        {50, 6, 2},                                     // schizoid 5 and schizotypal 8
        {53, 7, 3}, {65, 5, 3},                         // the two halves of borderline 5
        {4, 6, 3},  {16, 5, 2}, {86, 7, 2},             // antisocial with conduct disorder
        {11, 7, 1},                                     // strong agreement, never a problem
        {12, 6, 0},                                     // distress left unanswered
    };
    for (const auto& [item, t, d] : answers) {
        state.AnswerT[item] = static_cast<Integer>(t);
        state.AnswerD[item] = static_cast<Integer>(d);
    }
    return state;
}

// ---- Expected text, written out -------------------------------------------------------------

const std::vector<std::string> kHeaderLines = {
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
    "",
};

const std::vector<std::string> kTitleParagraphs = {
    R"({\b Brivan SELVO QUESTIONNAIRE})",
    "",
    "Software product for the quick assessment of the:",
    R"({\b SELVO QUESTIONNAIRE})",
    R"({\b Self-report Evaluation of Lasting Variants of Outlook (SELVO)}{\b  a self-report measure})",
    "",
    "",
    "SELVO Questionnaire - Software for the Italian Version  ",
    "Coordinamento del software: gruppo di sviluppo BrivanSelvo",
    "Servizio di valutazione psicologica, unità per la ricerca clinica",
    "Laboratorio di informatica per la psicometria",
    "",
    "E-mail: software@example.org",
    "",
    "",
    "SELVO Questionnaire ",
    "Responsabile scientifico del questionario SELVO",
    "Gruppo di ricerca sul questionario SELVO - E-mail: questionario@example.org",
    "",
    "Software product: Brivan SELVO Ver.  1.18 Software - Report V.1.0. Last usage "
    "date/time:07/12/2026 09:05:03 (For the best printing use Times New Roman cp. 10, justified).",
    "",
    "",
    "REFERENCES",
    "- Manuale d'uso del questionario SELVO, versione italiana: somministrazione, punteggi e "
    "lettura del rapporto.",
    "- Questionario SELVO, versione italiana: note sull'adattamento e sulla validazione, "
    "documentazione del programma BrivanSelvo.",
    "- Questionario SELVO: descrizione dello strumento, dei suoi 94 item e delle due scale di "
    "risposta, documentazione del programma.",
    "- Questionario SELVO: criteri di punteggio dimensionale e categoriale, documentazione del "
    "programma.",
    "",
    "",
    kRule,
    "SUBMINISTRATION REPORT AND SCORING                                             ",
    kRule,
    kRule,
};

std::vector<std::string> subjectParagraphs(const std::array<std::string, 7>& bolded,
                                           const std::string& notes) {
    return {
        kRule,
        kRule,
        "DATI SOGGETTO: ",
        "NOME: \t\t\t\t\t{\\b " + bolded[0] + "}",
        "COGNOME: \t\t\t\t{\\b " + bolded[1] + "}",
        "ETA': \t\t\t\t\t{\\b " + bolded[2] + "}",
        "SESSO (1=M / 2=F): \t\t\t{\\b " + bolded[3] + "}",
        "STATO CIVILE: \t\t\t{\\b " + bolded[4] + "}",
        "(1=Celibe/Nubile; 2=Coniugato/a; 3=Separato/a; 4=Divorziato/a; 5=Vedovo/a)",
        "TITOLO DI STUDIO: \t\t\t{\\b " + bolded[5] + "}",
        "(1=Nessuno/Non indicato; 2=Elementare; 3=Media Inferiore; 4=Media Superiore; "
        "5=Laurea/Specializzazione)",
        "NOTE ALLA SOMMINISTRAZIONE: ",
        notes,
        kRule,
        kRule,
    };
}

// Raw score and percentage of the sixteen scales, in report order.
using Scores16 = std::array<std::array<int, 2>, 16>;

std::vector<std::string> dimensionalRecords(const Scores16& s) {
    const auto score = [&](int i, const std::string& lead) {
        return lead + "{\\b  " + std::to_string(s[i][0]) + "  ( " + std::to_string(s[i][1]) +
               "%)}\\par ";
    };
    return {
        "{\\b SELVO DIMENSIONAL SCORES}\\par ",
        "\\par \\par ",
        "\\par ",
        "{\\b CLUSTER A}\\par ",
        "{\\b PAR}",
        score(0, "\t\tR score (7-49):  "),
        "{\\b SZ}",
        score(1, "\t\tR score (7-49):  "),
        "{\\b ST}",
        score(2, "\t\tR score (7-63):  "),
        "\\par ",
        "{\\b CLUSTER B}\\par ",
        "{\\b AS}",
        score(3, "\t\tR score (7-56):  "),
        "{\\b BDL}",
        score(4, "\t\tR score (7-70):  "),
        "{\\b HIS}",
        score(5, "\t\tR score (7-56):  "),
        "{\\b NAR}",
        score(6, "\t\tR score (7-63):  "),
        "\\par ",
        "{\\b CLUSTER C}\\par ",
        "{\\b AV}",
        score(7, "\t\tR score (7-49):  "),
        "{\\b DEP}",
        score(8, "\t\tR score (7-56):  "),
        "{\\b O-C}",
        score(9, "\t\tR score (7-56):  "),
        "\\par ",
        "{\\b N.O.S.}\\par ",
        "{\\b DE}",
        score(10, "\t\tR score (7-49):  "),
        "{\\b PA}",
        score(11, "\t\tR score (7-49):  "),
        "\\par ",
        "{\\b CLUSTERS}\\par ",
        "\\par ",
        "{\\b CLT A}",
        score(12, "\t\t(23-161):  "),
        "{\\b CLT B}",
        score(13, "\t\t(35-245):  "),
        "{\\b CLT C}",
        score(14, "\t\t(23-161):  "),
        "{\\b CLTOT A+B+C}",
        score(15, "\t(94-567):  "),
        "\\par \\par ",
    };
}

struct DisorderResult {
    std::string flags; // one digit per criterion, in criterion order
    int count;
    int diagnosis;
};

struct CategoricalResult {
    std::array<DisorderResult, kDisorderCount> disorders;
    std::array<std::array<int, 2>, 4> clusterTotals; // A, B, C, A+B+C: criteria, diagnoses
};

const std::array<std::array<std::string, 3>, kDisorderCount> kSectionLabels{{
    {"Paranoid PD", "PAR", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
    {"Schizoid PD", "SZ", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
    {"Schizotypal PD", "ST", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Antisocial PD (previously called psychopathic or sociopathic)", "AS",
     "Threshold: > 2 + CD (it86) (2+CD criteria min.) 1=yes / 0=no: "},
    {"Borderline PD", "BDL", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Histrionic PD", "HIS", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Narcissistic PD", "NAR", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Avoidant PD", "AV", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
    {"Dependent PD", "DEP", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Obsessive-Compulsive PD", "O-C", "Threshold: > 3 (4 criteria min.) 1=yes / 0=no: "},
    {"NOS-DE PD", "DE", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"NOS-PA PD", "PA", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
}};

std::vector<std::string> categoricalParagraphs(char trait, const CategoricalResult& r) {
    const std::string algorithm = std::string("T > ") + trait + " & D > 1";
    const auto totals = [&](const std::string& cluster, int i) {
        return std::vector<std::string>{
            "{\\b CLUSTER [" + cluster + "] TOT. N. OF CRITERIA}\t\t:  {\\b  " +
                std::to_string(r.clusterTotals[i][0]) + "}",
            "{\\b CLUSTER [" + cluster + "] TOT. N. OF DIAGNOSIS}\t\t:  {\\b  " +
                std::to_string(r.clusterTotals[i][1]) + "}"};
    };
    std::vector<std::string> p = {
        kRule, "{\\b SELVO CATEGORICAL DIAGNOSTICS (algorithm " + algorithm + ")}", ""};
    for (int d = 0; d < kDisorderCount; ++d) {
        const auto& labels = kSectionLabels[d];
        const auto& result = r.disorders[d];
        p.push_back("{\\b " + labels[0] + "}");
        for (std::size_t k = 0; k < result.flags.size(); ++k) {
            p.push_back("{\\b " + labels[1] + "_" + std::to_string(k + 1) + "}\t\t+/-:  {\\b  " +
                        result.flags[k] + "}");
        }
        p.push_back("");
        p.push_back("{\\b N. OF CRITERIA}\t\t:  {\\b  " + std::to_string(result.count) + "}");
        p.push_back("{\\b " + labels[2] +
                    "}\t\t{\\b Diagnosis:   " + std::to_string(result.diagnosis) + "}");
        const std::vector<std::string> none;
        const auto& closing = d == ST    ? totals("A", 0)
                              : d == NAR ? totals("B", 1)
                              : d == OC  ? totals("C", 2)
                              : d == PA  ? totals("A+B+C", 3)
                                         : none;
        if (!closing.empty()) {
            p.push_back("");
            p.insert(p.end(), closing.begin(), closing.end());
        }
        if (d == PA) {
            p.push_back("");
            p.push_back("{\\b SELVO Algorithm " + algorithm + " - End }");
            p.push_back(kRule);
        } else {
            p.push_back("");
            p.push_back("");
        }
    }
    return p;
}

std::vector<std::string> criteriaParagraphs(char trait, const std::vector<std::string>& met) {
    const std::string algorithm = std::string("T > ") + trait + " & D > 1";
    std::vector<std::string> p = {
        kRule, "{\\b SELVO CATEGORICAL DIAGNOSTICS (algorithm " + algorithm + ") DSM IV CRITERIA}",
        ""};
    p.insert(p.end(), met.begin(), met.end());
    p.push_back("");
    p.push_back("{\\b SELVO Algorithm " + algorithm + " - DSM IV CRITERIA - End }");
    p.push_back(kRule);
    return p;
}

CategoricalResult noCriterionMet() {
    CategoricalResult r;
    for (int d = 0; d < kDisorderCount; ++d) {
        r.disorders[d] = {std::string(static_cast<std::size_t>(kCriterionCounts[d]), '0'), 0, 0};
    }
    r.clusterTotals = {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}};
    return r;
}

// The mixed answer set under T > 4 (firstThreshold) or T > 5.
CategoricalResult mixedResult(bool firstThreshold) {
    CategoricalResult r = noCriterionMet();
    if (firstThreshold) {
        r.disorders[PAR] = {"1111000", 4, 1};
        r.disorders[AS] = {"11000001", 3, 1};
        r.clusterTotals = {{{6, 1}, {4, 1}, {0, 0}, {10, 2}}};
    } else {
        r.disorders[PAR] = {"0111000", 3, 0};
        r.disorders[AS] = {"10000001", 2, 0};
        r.clusterTotals = {{{5, 0}, {3, 0}, {0, 0}, {8, 0}}};
    }
    r.disorders[SZ] = {"0000100", 1, 0};
    r.disorders[ST] = {"000000010", 1, 0};
    r.disorders[BDL] = {"000010000", 1, 0};
    return r;
}

std::vector<std::string> fileLines(const std::string& document) {
    std::vector<std::string> lines = splitOn(document, "\r\n");
    EXPECT_EQ(lines.back(), "") << "the last record ends in CR LF";
    lines.pop_back();
    return lines;
}

struct ExpectedReport {
    std::vector<std::string> subject;
    Scores16 scores;
    CategoricalResult categoricalX4, categoricalX5;
    std::vector<std::string> criteriaX4, criteriaX5;
};

void expectWholeReport(const std::string& document, const ExpectedReport& expected) {
    const std::vector<std::string> lines = fileLines(document);
    const std::vector<std::string> dimensional = dimensionalRecords(expected.scores);
    const std::size_t records = kHeaderLines.size() + 3 + dimensional.size() + 4 + 2;
    ASSERT_EQ(lines.size(), records);

    std::size_t at = 0;
    const auto next = [&] { return lines.at(at++); };
    for (const auto& header : kHeaderLines) {
        EXPECT_EQ(next(), header) << "header line " << at;
    }
    {
        SCOPED_TRACE("title block");
        expectParagraphs(next(), kTitleParagraphs);
    }
    {
        SCOPED_TRACE("subject block");
        expectParagraphs(next(), expected.subject);
    }
    EXPECT_EQ(next(), "\\page ");
    for (const auto& record : dimensional) {
        EXPECT_EQ(next(), record) << "dimensional record " << at;
    }
    {
        SCOPED_TRACE("categorical T > 4");
        expectParagraphs(next(), categoricalParagraphs('4', expected.categoricalX4));
    }
    {
        SCOPED_TRACE("criteria T > 4");
        expectParagraphs(next(), criteriaParagraphs('4', expected.criteriaX4));
    }
    {
        SCOPED_TRACE("categorical T > 5");
        expectParagraphs(next(), categoricalParagraphs('5', expected.categoricalX5));
    }
    {
        SCOPED_TRACE("criteria T > 5");
        expectParagraphs(next(), criteriaParagraphs('5', expected.criteriaX5));
    }
    EXPECT_EQ(next(), "\\par \\par ");
    EXPECT_EQ(next(), "}");
}

// ---- Whole reports ---------------------------------------------------------------------------

TEST(Report, MiddleAnswersGiveNoCriteriaAndEveryScaleHalfway) {
    ProgramState state = answerSetMiddle();
    ExpectedReport expected;
    expected.subject = subjectParagraphs({"S01", "GRP1", "41", "1", "2", "4"}, "");
    expected.scores = {{{28, 50},
                        {28, 50},
                        {36, 51},
                        {32, 51},
                        {40, 52},
                        {32, 51},
                        {36, 51},
                        {28, 50},
                        {32, 51},
                        {32, 51},
                        {28, 50},
                        {28, 50},
                        {92, 55},
                        {140, 55},
                        {92, 55},
                        {324, 56}}};
    expected.categoricalX4 = noCriterionMet();
    expected.categoricalX5 = noCriterionMet();
    expectWholeReport(composeReport(state), expected);
}

TEST(Report, MixedAnswersListTheCriteriaMetUnderEachThreshold) {
    ProgramState state = answerSetMixed();
    ExpectedReport expected;
    expected.subject = subjectParagraphs({"S02", "GRP1", "34", "2", "3", "5"},
                                         "Prima riga è\\line seconda \\{riga\\}");
    expected.scores = {{{35, 66},
                        {24, 40},
                        {30, 41},
                        {33, 53},
                        {36, 46},
                        {24, 34},
                        {27, 35},
                        {21, 33},
                        {24, 34},
                        {24, 34},
                        {25, 42},
                        {24, 40},
                        {89, 53},
                        {120, 47},
                        {69, 40},
                        {278, 48}}};
    expected.categoricalX4 = mixedResult(true);
    expected.categoricalX5 = mixedResult(false);
    expected.criteriaX4 = {
        "",
        "PAR: intestazione di prova",
        "1)  criterio 1 di PAR",
        "2)  criterio 2 di PAR",
        "3)  criterio 3 di PAR",
        "4)  criterio 4 di PAR",
        "",
        "SZ: intestazione di prova",
        "5)  criterio 5 di SZ",
        "",
        "ST: intestazione di prova",
        "8)  testo con \\\\ e \\{graffe\\}",
        "",
        "AS: intestazione di prova",
        "1)  criterio 1 di AS",
        "2)  criterio 2 di AS",
        "8)  criterio 8 di AS",
        "",
        "BDL: intestazione di prova",
        "5)  criterio 5 di BDL",
        "[SELVO ITEM 53 - CRITERIA PART 1]",
        "[SELVO ITEM 65 - CRITERIA PART 2]",
    };
    expected.criteriaX5 = {
        "",
        "PAR: intestazione di prova",
        "2)  criterio 2 di PAR",
        "3)  criterio 3 di PAR",
        "4)  criterio 4 di PAR",
        "",
        "SZ: intestazione di prova",
        "5)  criterio 5 di SZ",
        "",
        "ST: intestazione di prova",
        "8)  testo con \\\\ e \\{graffe\\}",
        "",
        "AS: intestazione di prova",
        "1)  criterio 1 di AS",
        "8)  criterio 8 di AS",
        "",
        "BDL: intestazione di prova",
        "5)  criterio 5 di BDL",
        "[SELVO ITEM 53 - CRITERIA PART 1]",
    };
    expectWholeReport(composeReport(state), expected);
}

// ---- Pieces ------------------------------------------------------------------------------------

TEST(Report, TitleShowsTheDateTextItIsGiven) {
    expectParagraphs(BuildReportTitle(kDate), kTitleParagraphs);
    EXPECT_NE(BuildReportTitle("01/01/2000 00:00:00").find("date/time:01/01/2000 00:00:00 ("),
              std::string::npos);
}

TEST(Report, CurrentDateTimeIsDayMonthYearAndClock) {
    EXPECT_TRUE(
        std::regex_match(CurrentDateTimeText(), std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")))
        << CurrentDateTimeText();
}

TEST(Report, SubjectTextIsEscapedAndAnEmptyFieldGivesAnEmptyBoldRun) {
    ProgramState state = preparedState({"Ștefan", "{a}\\b", "", "0", "0", "0", "x\ny\rz"});
    expectParagraphs(BuildReportSubject(SubjectOf(state)),
                     subjectParagraphs({"\\u536?tefan", "\\{a\\}\\\\b", "", "0", "0", "0"},
                                       "x\\line y\\line z"));
}

TEST(Report, ControlCharactersOfTheTypedTextsNeverReachTheFile) {
    ProgramState state = preparedState({"S\x07"
                                        "01",
                                        "GRP\x1B[2J1",
                                        "3\x0B"
                                        "5\xC2\x9B",
                                        "1", "2", "3",
                                        "a\x0C"
                                        "b\tc\x7F"
                                        "d\xC2\x85"});
    expectParagraphs(BuildReportSubject(SubjectOf(state)),
                     subjectParagraphs({"S01", "GRP[2J1", "35", "1", "2", "3"}, "ab\\tab cd"));
}

TEST(Report, ScaleBelowSevenShowsNegativePercentage) {
    ProgramState state = answerSetMiddle();
    for (const int item : {1, 13, 25, 37, 49, 61, 73}) {
        state.AnswerT[item] = 0;
    }
    const std::string document = composeReport(state);
    EXPECT_NE(document.find("{\\b PAR}\r\n\t\tR score (7-49):  {\\b  0  (-16%)}\\par \r\n"),
              std::string::npos);
}

// Only a criterion met shows its disorder: the item half of borderline criterion 5 alone,
// without the criterion, shows nothing.
TEST(Report, ItemHalfWithoutItsCriterionCountsAsNotMet) {
    ProgramState state = answerSetMiddle();
    CategoricalScores categorical = ScoreAnswers(AnswersOf(state)).categorical[X4];
    categorical.disorders[BDL].criteria[4].itemMet = {true, true};
    expectParagraphs(BuildCriteriaSection(categorical, state.CriteriaText, X4),
                     criteriaParagraphs('4', {}));
}

// With the questionnaire's own texts and every criterion met, each text is quoted once per
// threshold, escaped, and the whole document still fits code page 1252.
TEST(Report, QuotesEveryCriteriaTextOfTheItemBank) {
    ProgramState state = preparedState({"S03", "GRP1", "29", "2", "1", "4", ""});
    LoadItemBank(state);
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = 7;
        state.AnswerD[item] = 3;
    }
    const std::string document = composeReport(state);
    ASSERT_TRUE(toCp1252(document).has_value());
    for (int d = 0; d < kDisorderCount; ++d) {
        for (const std::string& text : state.CriteriaText[static_cast<std::size_t>(d)]) {
            const std::string quoted = "\\par " + rtfText(text) + "\\par ";
            const auto first = document.find(quoted);
            ASSERT_NE(first, std::string::npos) << text;
            EXPECT_NE(document.find(quoted, first + 1), std::string::npos) << text;
        }
    }
}

// From values alone, no program state: criteria texts never loaded print as empty paragraphs
// instead of reading past their table.
TEST(Report, CriteriaTextsNeverLoadedPrintAsEmptyParagraphs) {
    AnswerSet answers;
    for (int item = 1; item <= 94; ++item) {
        answers.agreement[item] = 7;
        answers.distress[item] = 3;
    }
    std::vector<std::string> met;
    for (int d = 0; d < kDisorderCount; ++d) {
        met.insert(met.end(), static_cast<std::size_t>(kCriterionCounts[d] + 2), "");
        if (d == BDL) {
            met.insert(met.end() - 4,
                       {"[SELVO ITEM 53 - CRITERIA PART 1]", "[SELVO ITEM 65 - CRITERIA PART 2]"});
        }
    }
    expectParagraphs(BuildCriteriaSection(ScoreAnswers(answers).categorical[X5], {}, X5),
                     criteriaParagraphs('5', met));
}

TEST(Report, FileNameIsSurnameThenName) {
    SubjectRecord subject;
    subject.surname = "GRP1";
    subject.name = "S01";
    EXPECT_EQ(ReportFileName(subject), "SELVO_GRP1_S01_report.rtf");
}

// ---- Saving ------------------------------------------------------------------------------------

TEST(ReportFile, IsWrittenInCodePage1252AndReplacesAnOlderOne) {
    TempDir dir;
    ProgramState state = answerSetMixed();
    const auto name = dir.file("SELVO_GRP1_S02_report.rtf");
    std::ofstream(name) << "older report";

    ASSERT_EQ(writeReport(state), std::nullopt);

    const std::string bytes = fileBytes(name);
    EXPECT_EQ(bytes, *toCp1252(composeReport(state)));
    EXPECT_NE(bytes.find("Prima riga \xE8\\line "), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\\par \\par \r\n}\r\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

#ifndef _WIN32 // POSIX permissions
TEST(ReportFile, ReadOnlyFolderLeavesOlderReportIntactAndSaysWhy) {
    TempDir dir;
    ProgramState state = answerSetMiddle();
    const auto name = dir.file("SELVO_GRP1_S01_report.rtf");
    std::ofstream(name) << "older report";
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0555));

    std::optional<FileError> error;
    {
        const Unprivileged asOrdinaryUser;
        error = writeReport(state);
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->fileName, "SELVO_GRP1_S01_report.rtf");
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(fileBytes(name), "older report");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
#endif

TEST(ReportFile, NameWithFolderSeparatorIsRefusedAndNothingWritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("SELVO_a"));
    ProgramState state = answerSetMiddle();
    state.SubjectSurname = "a/b";

    const std::optional<FileError> error = writeReport(state);

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->fileName, "SELVO_a/b_S01_report.rtf");
    EXPECT_NE(error->reason.find("\"/\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("SELVO_a")));
}

} // namespace
} // namespace selvo
