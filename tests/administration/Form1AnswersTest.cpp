// SPDX-License-Identifier: GPL-3.0-or-later

// What the administration window records as answers are chosen and shown again.
#include "Form1Fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace form1_fixture;

TEST(Form1Answers, ChoosingOneToFourDropsTheDistressAnswerAndItsQuestion) {
    Session s;
    s.forward(5);
    s.click(s.agreement(6));
    EXPECT_EQ(s.text("Text1"), "( 6 )  D'accordo");
    EXPECT_TRUE(s.shown("Frame2"));
    s.click(s.distress(2));
    EXPECT_EQ(s.state.administration.answers.distress[5], 2);
    EXPECT_EQ(s.text("TextD"), "( 2 )  In qualche modo");

    s.click(s.agreement(3));
    EXPECT_EQ(s.state.administration.answers.agreement[5], 3);
    EXPECT_EQ(s.state.administration.answers.distress[5], 0);
    EXPECT_FALSE(s.shown("Frame2"));
    EXPECT_EQ(s.text("TextItemValue"), " 3");

    s.forward();
    s.back();
    EXPECT_EQ(s.selectedAgreement(), 3);
    EXPECT_EQ(s.text("Text1"), "( 3 )  tendenzialmente in disaccordo");
    EXPECT_FALSE(s.shown("Frame2"));
}

// Raising the agreement again on the same item must not show the dropped choice as if stored.
TEST(Form1Answers, DroppedDistressAnswerIsNotShownWhenTheQuestionReturns) {
    Session s;
    s.forward();
    s.click(s.agreement(7));
    s.click(s.distress(3));
    s.click(s.agreement(2));
    s.click(s.agreement(5));
    EXPECT_TRUE(s.shown("Frame2"));
    EXPECT_EQ(s.selectedDistress(), 0);
    EXPECT_EQ(s.text("TextD"), kPrompt);
    s.click(s.distress(3));
    EXPECT_EQ(s.state.administration.answers.distress[1], 3) << "the same button records again";
}

TEST(Form1Answers, NoticePageRecordsNothing) {
    Session s;
    s.click(s.agreement(6));
    s.key('w');
    EXPECT_EQ(s.selectedDistress(), 2);
    EXPECT_EQ(s.state.administration.answers.agreement[0], 0);
    EXPECT_EQ(s.state.administration.answers.distress[0], 0);
    EXPECT_TRUE(s.shown("Frame2"));
}

// A choice tried on the notice page leaves its button selected; an item stored with the same
// step must still show its own caption and no distress question.
TEST(Form1Answers, NoticePageChoiceDoesNotHideTheStoredAnswerOfTheNextItem) {
    Session s;
    s.answerAll([](int) { return 3; });
    s.forward();
    s.reopen();
    s.key('3');
    s.key('e');
    s.forward();
    EXPECT_EQ(s.text("Text1"), "( 3 )  tendenzialmente in disaccordo");
    EXPECT_FALSE(s.shown("Frame2"));
    EXPECT_EQ(s.selectedDistress(), 0);
}

} // namespace
