// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/ProgramState.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(AnswerTable, AcceptsTheNoticePageAndEveryItem) {
    selvo::AnswerTable table;
    table[0] = 1;
    table[94] = 7;
    EXPECT_EQ(table[0], 1);
    EXPECT_EQ(table[94], 7);
    table.clear();
    EXPECT_EQ(table[94], 0);
}

TEST(AnswerTable, RejectsAnIndexOutsideTheTable) {
    selvo::AnswerTable table;
    EXPECT_THROW(table[95], std::out_of_range);
    EXPECT_THROW(table[-1], std::out_of_range);
    const selvo::AnswerTable& view = table;
    EXPECT_THROW(static_cast<void>(view[95]), std::out_of_range);
}

TEST(ProgramState, StartsEmpty) {
    selvo::ProgramState state;
    EXPECT_FALSE(state.administration.allAnswered.has_value());
    EXPECT_EQ(state.subject.card, 0);
    EXPECT_EQ(state.administration.currentItem, 0);
}

TEST(StartNewSubject, LeavesNothingOfThePreviousSubject) {
    selvo::ProgramState state;
    for (int item = 1; item <= 94; ++item) {
        state.administration.answers.agreement[item] = 3;
    }
    state.administration.answers.agreement[5] = 6;
    state.administration.answers.distress[5] = 2;
    state.administration.allAnswered = true;
    state.setProcessed = true;
    state.administration.currentItem = 94;
    state.subject.card = 12;
    state.subject.name = "Mario";
    state.subject.surname = "Rossi";
    state.subject.age = "41";
    state.subject.notes = "prima visita";
    state.subject.sex = "1";
    state.subject.marital = "2";
    state.subject.education = "5";

    selvo::StartNewSubject(state);

    selvo::ProgramState fresh;
    EXPECT_EQ(state.administration.answers.agreement, fresh.administration.answers.agreement);
    EXPECT_EQ(state.administration.answers.distress, fresh.administration.answers.distress);
    EXPECT_FALSE(selvo::isTrue(state.administration.allAnswered));
    EXPECT_FALSE(state.setProcessed);
    EXPECT_EQ(state.administration.currentItem, 0);
    EXPECT_EQ(state.subject.card, 0);
    for (const std::string* text :
         {&state.subject.name, &state.subject.surname, &state.subject.age, &state.subject.notes}) {
        EXPECT_EQ(*text, "");
    }
    for (const std::string* code :
         {&state.subject.sex, &state.subject.marital, &state.subject.education}) {
        EXPECT_EQ(*code, "0");
    }
}

} // namespace
