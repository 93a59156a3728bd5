// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the report tests share: subjects and answer sets with short stand-ins for the criteria
// texts, their report dated kDate, and the expected paragraphs more than one test file checks.
#include "ReportExpectations.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "report/Report.h"
#include "text/Cp1252.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace selvo::testing_report {

using namespace selvo::questionnaire;

// A subject, its answers and the criteria texts its report quotes.
struct ReportSubject {
    SubjectRecord subject;
    AnswerSet answers;
    CriteriaTextTable criteriaTexts;
};

inline const std::string kRule(kRuleText);
inline constexpr const char* kDate = "07/12/2026 09:05:03";

inline const std::array<std::string, kDisorderCount> kCodes{"PAR", "SZ", "ST",  "AS", "BDL", "HIS",
                                                            "NAR", "AV", "DEP", "OC", "DE",  "PA"};
inline constexpr std::array<int, kDisorderCount> kCriterionCounts{7, 7, 9, 8, 9, 8,
                                                                  9, 7, 8, 8, 7, 7};

// Short stand-ins for the criteria texts; one holds the characters RTF must escape.
inline void fillFixtureCriteriaTexts(ReportSubject& state) {
    for (int d = 0; d < kDisorderCount; ++d) {
        auto& texts = state.criteriaTexts[static_cast<std::size_t>(d)];
        texts = {kCodes[d] + ": intestazione di prova"};
        for (int k = 1; k <= kCriterionCounts[d]; ++k) {
            texts.push_back(std::to_string(k) + ")  criterio " + std::to_string(k) + " di " +
                            kCodes[d]);
        }
    }
    state.criteriaTexts[ST][8] = "8)  testo con \\ e {graffe}";
}

struct Subject {
    std::string name, surname, age, sex, marital, education, notes;
};

inline ReportSubject preparedState(const Subject& subject) {
    ReportSubject state;
    fillFixtureCriteriaTexts(state);
    state.subject.name = subject.name;
    state.subject.surname = subject.surname;
    state.subject.age = subject.age;
    state.subject.sex = subject.sex;
    state.subject.marital = subject.marital;
    state.subject.education = subject.education;
    state.subject.notes = subject.notes;
    return state;
}

// The report of the subject, answers and criteria texts a state holds, dated kDate.
inline std::string composeReport(const ReportSubject& state) {
    const SubjectRecord subject = state.subject;
    const Scores scores = ScoreAnswers(state.answers);
    const std::string date = kDate;
    return ComposeReport({subject, scores, date, state.criteriaTexts});
}

// The report saved into the current folder, as a run saves it into its own.
inline std::optional<FileError> writeReport(const ReportSubject& state) {
    const SubjectRecord subject = state.subject;
    const Scores scores = ScoreAnswers(state.answers);
    const std::string date = kDate;
    const FileResult<PendingFile> report =
        PrepareReport({subject, scores, date, state.criteriaTexts});
    if (!report.ok()) {
        return report.error();
    }
    return saveFileAtomically(report.value().path, report.value().bytes);
}

// Every item answered 4: no criterion can be met.
inline ReportSubject answerSetMiddle() {
    ReportSubject state = preparedState({"S01", "GRP1", "41", "1", "2", "4", ""});
    for (int item = 1; item <= 94; ++item) {
        state.answers.agreement[item] = 4;
    }
    return state;
}

// Answers 3 except these: criteria met under T > 4 only, under both, and never.
inline ReportSubject answerSetMixed() {
    ReportSubject state =
        preparedState({"S02", "GRP1", "34", "2", "3", "5", "Prima riga è\r\nseconda {riga}"});
    for (int item = 1; item <= 94; ++item) {
        state.answers.agreement[item] = 3;
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
        state.answers.agreement[item] = static_cast<Integer>(t);
        state.answers.distress[item] = static_cast<Integer>(d);
    }
    return state;
}

inline const std::vector<std::string> kTitleParagraphs = {
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

inline std::vector<std::string> subjectParagraphs(const std::array<std::string, 7>& bolded,
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

inline std::vector<std::string> criteriaParagraphs(char trait,
                                                   const std::vector<std::string>& met) {
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

} // namespace selvo::testing_report
