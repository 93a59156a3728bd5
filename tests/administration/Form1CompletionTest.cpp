// SPDX-License-Identifier: GPL-3.0-or-later

// The administration window's completion: when processing is offered, and what
// reopening the window keeps.
#include "Form1Fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace form1_fixture;

TEST(Form1Completion, ButtonAppearsAfterTheMoveFollowingTheLastAnswerAndStays) {
    Session s;
    s.answerAll([](int item) { return item % 7 + 1; });
    EXPECT_FALSE(s.shown("CommSaveData")) << "no move since the last answer";
    s.forward();
    EXPECT_EQ(s.state.administration.currentItem, 94);
    EXPECT_TRUE(s.shown("CommSaveData"));
    EXPECT_TRUE(selvo::isTrue(s.state.administration.allAnswered));

    s.click(s.agreement(2));
    s.click(s.agreement(6)); // item 94 now lacks its distress answer
    s.back();
    EXPECT_FALSE(selvo::isTrue(s.state.administration.allAnswered));
    EXPECT_TRUE(s.shown("CommSaveData"));
}

TEST(Form1Completion, AgreementsOfOneToFourNeedNoDistressAnswer) {
    Session s;
    s.answerAll([](int item) { return item % 4 + 1; });
    s.back();
    EXPECT_TRUE(selvo::isTrue(s.state.administration.allAnswered));
    EXPECT_TRUE(s.shown("CommSaveData"));
    for (int item = 0; item <= 94; ++item) {
        EXPECT_EQ(s.state.administration.answers.distress[item], 0) << item;
    }
}

TEST(Form1Completion, ReopeningKeepsCompleteAnswersAndSubjectCodes) {
    Session s;
    s.answerAll([](int item) { return item % 7 + 1; });
    s.forward();
    s.state.subject.sex = "2";
    const selvo::AnswerTable answersT = s.state.administration.answers.agreement;
    const selvo::AnswerTable answersD = s.state.administration.answers.distress;

    s.reopen();
    EXPECT_EQ(s.state.administration.answers.agreement, answersT);
    EXPECT_EQ(s.state.administration.answers.distress, answersD);
    EXPECT_EQ(s.state.subject.sex, "2");
    EXPECT_EQ(s.state.administration.currentItem, 0);
    EXPECT_FALSE(s.shown("CommSaveData")) << "a new load waits for the next move";
    s.forward(3);
    EXPECT_EQ(s.selectedAgreement(), 4);
    EXPECT_TRUE(s.shown("CommSaveData"));
}

TEST(Form1Completion, ReopeningClearsIncompleteAnswersAndSubjectCodes) {
    Session s;
    s.forward();
    s.click(s.agreement(6));
    s.click(s.distress(1));
    s.forward();
    s.state.subject.marital = "3";

    s.reopen();
    EXPECT_EQ(s.state.administration.answers.agreement[1], 0);
    EXPECT_EQ(s.state.administration.answers.distress[1], 0);
    EXPECT_EQ(s.state.subject.marital, "0");
    EXPECT_EQ(s.state.subject.sex, "0");
}

// The load that a reload causes must keep what was just read, even an incomplete file.
TEST(Form1Completion, LoadForAReloadKeepsIncompleteAnswersJustRead) {
    ProgramState state;
    Application app(state);
    state.administration.answers.agreement[1] = 6;
    state.administration.answers.distress[1] = 2;
    state.subject.education = "4";
    state.administration.allAnswered = false;
    app.loadingForReload = true;
    app.form1();
    EXPECT_EQ(state.administration.answers.agreement[1], 6);
    EXPECT_EQ(state.administration.answers.distress[1], 2);
    EXPECT_EQ(state.subject.education, "4");
}

} // namespace
