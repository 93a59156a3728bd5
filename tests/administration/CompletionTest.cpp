// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/Completion.h"

#include "state/Startup.h"

#include <gtest/gtest.h>

namespace {

selvo::ProgramState allAnsweredBelowFive() {
    selvo::ProgramState state;
    selvo::SetProgramConstants(state);
    for (int item = 1; item <= 94; ++item) {
        state.AnswerT[item] = 3;
    }
    return state;
}

TEST(MissingItems, CountsAnUnansweredItemAndAHighAgreementWithoutDistress) {
    selvo::ProgramState state = allAnsweredBelowFive();
    EXPECT_TRUE(selvo::MissingItems(state).empty());
    state.AnswerT[52] = 0;
    state.AnswerT[17] = 6; // raised to 5..7, distress not yet given
    state.AnswerT[94] = 0;
    state.AnswerT[30] = 7;
    state.AnswerD[30] = 2;
    state.AnswerD[40] = 3; // a stray distress answer below 5 asks for nothing
    EXPECT_EQ(selvo::MissingItems(state), (std::vector<int>{17, 52, 94}));
    EXPECT_FALSE(selvo::AnswersComplete(state));
}

TEST(MissingItemsMessage, NamesUpToTenItemsAndCountsTheRest) {
    const auto range = [](int last) {
        std::vector<int> items;
        for (int i = 1; i <= last; ++i) {
            items.push_back(i);
        }
        return items;
    };
    EXPECT_EQ(selvo::MissingItemsMessage({17}), "Manca la risposta all'item 17.");
    EXPECT_EQ(selvo::MissingItemsMessage({17, 52}), "Mancano le risposte agli item 17 e 52.");
    EXPECT_EQ(selvo::MissingItemsMessage({17, 52, 94}),
              "Mancano le risposte agli item 17, 52 e 94.");
    EXPECT_EQ(selvo::MissingItemsMessage(range(10)),
              "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9 e 10.");
    EXPECT_EQ(selvo::MissingItemsMessage(range(11)),
              "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e un altro.");
    EXPECT_EQ(selvo::MissingItemsMessage(range(94)),
              "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e altri 84.");
}

TEST(StartNewSubject, LeavesNothingOfThePreviousSubject) {
    selvo::ProgramState state = allAnsweredBelowFive();
    state.AnswerT[5] = 6;
    state.AnswerD[5] = 2;
    state.AllAnswered = true;
    state.SetProcessed = true;
    state.CurrentItem = 94;
    state.Card = 12;
    state.SubjectName = "Mario";
    state.SubjectSurname = "Rossi";
    state.SubjectAge = "41";
    state.SubjectNotes = "prima visita";
    state.SubjectSex = "1";
    state.SubjectMarital = "2";
    state.SubjectEducation = "5";

    selvo::StartNewSubject(state);

    selvo::ProgramState fresh;
    selvo::SetProgramConstants(fresh);
    EXPECT_EQ(state.AnswerT, fresh.AnswerT);
    EXPECT_EQ(state.AnswerD, fresh.AnswerD);
    EXPECT_FALSE(selvo::isTrue(state.AllAnswered));
    EXPECT_FALSE(state.SetProcessed);
    EXPECT_EQ(state.CurrentItem, 0);
    EXPECT_EQ(state.Card, 0);
    for (const std::string* text :
         {&state.SubjectName, &state.SubjectSurname, &state.SubjectAge, &state.SubjectNotes}) {
        EXPECT_EQ(*text, "");
    }
    for (const std::string* code :
         {&state.SubjectSex, &state.SubjectMarital, &state.SubjectEducation}) {
        EXPECT_EQ(*code, "0");
    }
    EXPECT_EQ(state.ItemCount.asInt(), 94); // the constants stay
}

} // namespace
