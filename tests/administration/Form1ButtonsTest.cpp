// SPDX-License-Identifier: GPL-3.0-or-later

// The administration window's other buttons: instructions, processing, loading data.
#include "Form1Fixture.h"
#include "menu/ui/frmAbout.h"
#include "subject/ui/frmLogin.h"

#include <QMessageBox>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace form1_fixture;

TEST(Form1Buttons, InstructionsOpenOnceAndComeForwardAgain) {
    Session s;
    s.click("CommIstru");
    ASSERT_TRUE(s.app.isAboutLoaded());
    frmAbout* first = &s.app.about();
    EXPECT_TRUE(first->isVisible());
    s.click("CommIstru");
    EXPECT_EQ(&s.app.about(), first);
}

TEST(Form1Buttons, ProcessingButtonWaitsForTheSubjectFormAndKeepsTheAnswers) {
    Session s;
    s.answerAll([](int item) { return item % 3 + 1; });
    s.forward();
    const selvo::AnswerTable answers = s.state.administration.answers.agreement;
    bool subjectFormWasModal = false;
    whenModalOpens(
        [&](QWidget& modal) { subjectFormWasModal = qobject_cast<frmLogin*>(&modal) != nullptr; });
    s.click("CommSaveData");
    EXPECT_TRUE(subjectFormWasModal);
    EXPECT_EQ(s.state.administration.answers.agreement, answers);
    EXPECT_EQ(s.state.administration.currentItem, 94);
    EXPECT_TRUE(s.shown("CommSaveData"));
}

TEST(Form1Buttons, LoadDataAsksForAFileAndHandsItToTheReload) {
    Session s;
    std::string answer;
    s.app.showOpenDialog = [&](QWidget* owner) {
        EXPECT_EQ(owner, s.form);
        return answer;
    };
    std::vector<std::string> reloaded;
    s.app.reloadDataFile = [&](const std::string& path) { reloaded.push_back(path); };

    s.state.selectedFile = "earlier.csv";
    s.click("cmdLoadData"); // cancelled
    EXPECT_EQ(s.state.selectedFile, "");
    EXPECT_TRUE(reloaded.empty());

    answer = "/tmp/SELVO_Rossi_Anna.csv";
    s.click("cmdLoadData");
    EXPECT_EQ(s.state.selectedFile, answer);
    EXPECT_EQ(reloaded, std::vector<std::string>{answer});
    EXPECT_TRUE(s.messages.empty());
}

TEST(Form1Buttons, LoadDataOfAMissingFileSaysWhyAndChangesNothing) {
    Session s;
    s.app.showOpenDialog = [](QWidget*) { return std::string("assente.csv"); };
    s.state.administration.answers.agreement[3] = 4;
    QString shown;
    whenModalOpens([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            shown = box->text();
        }
    });
    s.click("cmdLoadData");
    EXPECT_TRUE(shown.contains("assente.csv")) << shown.toStdString();
    EXPECT_EQ(s.state.administration.answers.agreement[3], 4);
    EXPECT_FALSE(s.app.isLoginLoaded());
}

} // namespace
