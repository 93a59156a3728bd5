// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A subject with answers and fixture item texts, shared by the export tests and the PSPP checks.
#include "datafiles/StatisticsExport.h"
#include "scoring/Scores.h"
#include "state/ProgramState.h"
#include "state/Startup.h"

#include <optional>
#include <string>
#include <vector>

inline selvo::ProgramState scoredSubject() {
    selvo::ProgramState state;
    selvo::SetProgramConstants(state);
    state.SubjectName = "S01";
    state.SubjectSurname = "GRP1";
    state.SubjectAge = "35";
    state.SubjectSex = "2";
    state.SubjectMarital = "3";
    state.SubjectEducation = "4";
    state.SubjectNotes = "nota, con virgola";
    state.Card = 7;
    for (int k = 1; k <= 94; ++k) {
        state.ItemText.at(static_cast<std::size_t>(k)) =
            "Testo di prova dell'elemento " + std::to_string(k);
        const int agreement = 1 + (k * 5) % 7;
        state.AnswerT[k] = static_cast<selvo::Integer>(agreement);
        state.AnswerD[k] = static_cast<selvo::Integer>(agreement >= 5 ? 1 + k % 3 : 0);
    }
    state.ItemText[3] = "Prima riga con l'apostrofo\r\nseconda riga";
    state.ItemText[4] = "Perché sì, è così";
    return state;
}

// The subject's command file and its case as a processing run composes them from the state.
inline std::string composedExport(const selvo::ProgramState& state) {
    const selvo::AnswerSet answers = selvo::AnswersOf(state);
    return selvo::ComposeStatisticsExport(selvo::SubjectOf(state), answers,
                                          selvo::ScoreAnswers(answers), state.ItemText);
}
inline std::optional<selvo::FileError> writeExport(const selvo::ProgramState& state) {
    const selvo::AnswerSet answers = selvo::AnswersOf(state);
    return selvo::WriteStatisticsExport(selvo::SubjectOf(state), answers,
                                        selvo::ScoreAnswers(answers), state.ItemText);
}
inline std::vector<std::string> caseValues(const selvo::ProgramState& state) {
    const selvo::AnswerSet answers = selvo::AnswersOf(state);
    return selvo::StatisticsCaseValues(selvo::SubjectOf(state), answers,
                                       selvo::ScoreAnswers(answers));
}
inline std::string exportFileName(const selvo::ProgramState& state) {
    return selvo::StatisticsExportFileName(selvo::SubjectOf(state));
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
