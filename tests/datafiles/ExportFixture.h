// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A subject with answers and fixture item texts, shared by the export tests and the PSPP checks.
#include "datafiles/StatisticsExport.h"
#include "scoring/Scores.h"
#include "support/TestSubjects.h"

#include <optional>
#include <string>
#include <vector>

// A subject with its answers, and stand-ins for the item texts that label the variables.
struct ExportSubject {
    selvo::SubjectRecord subject;
    selvo::AnswerSet answers;
    selvo::questionnaire::ItemTextTable itemTexts;
};

inline ExportSubject scoredSubject() {
    ExportSubject state{testsupport::subjectRecord({.surname = "GRP1",
                                                    .name = "S01",
                                                    .age = "35",
                                                    .sex = "2",
                                                    .marital = "3",
                                                    .education = "4",
                                                    .notes = "nota, con virgola",
                                                    .card = 7}),
                        testsupport::answersWhere([](int k) { return 1 + (k * 5) % 7; },
                                                  [](int k) { return 1 + k % 3; }),
                        {}};
    for (int k = 1; k <= 94; ++k) {
        state.itemTexts.at(static_cast<std::size_t>(k)) =
            "Testo di prova dell'elemento " + std::to_string(k);
    }
    state.itemTexts[3] = "Prima riga con l'apostrofo\r\nseconda riga";
    state.itemTexts[4] = "Perché sì, è così";
    return state;
}

// The subject's command file and its case as a processing run composes them.
inline std::string composedExport(const ExportSubject& state) {
    return selvo::ComposeStatisticsExport(state.subject, state.answers,
                                          selvo::ScoreAnswers(state.answers), state.itemTexts);
}
// The command file saved into `folder`, as a run saves it there.
inline std::optional<selvo::FileError> writeExport(const ExportSubject& state,
                                                   const std::string& folder) {
    const selvo::PendingFile file = selvo::PrepareStatisticsExport(
        state.subject, state.answers, selvo::ScoreAnswers(state.answers), state.itemTexts);
    return selvo::saveFileAtomically(selvo::pathInFolder(folder, file.path), file.bytes);
}
inline std::vector<std::string> caseValues(const ExportSubject& state) {
    return selvo::StatisticsCaseValues(state.subject, state.answers,
                                       selvo::ScoreAnswers(state.answers));
}
inline std::string exportFileName(const ExportSubject& state) {
    return selvo::StatisticsExportFileName(state.subject);
}

// The file's lines without their CR LF; a final piece without CR LF is kept as a line too.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
