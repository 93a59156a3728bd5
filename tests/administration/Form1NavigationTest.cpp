// SPDX-License-Identifier: GPL-3.0-or-later

// Moving through the administration window: Avanti, Indietro, and the answers still
// missing named before processing.
#include "Form1Fixture.h"
#include "questionnaire/content/Wording.h"
#include "subject/ui/frmLogin.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace form1_fixture;

TEST(Form1Navigation, StaysWithinTheNoticePageAndTheLastItem) {
    Session s;
    s.back();
    EXPECT_EQ(s.state.administration.currentItem, 0);
    EXPECT_EQ(s.text("TextCurrentItem"), " 0 di  94");
    EXPECT_EQ(s.text("Text1"), kPrompt);

    s.answerAll([](int item) { return item % 4 + 1; });
    EXPECT_EQ(s.state.administration.currentItem, 94);
    s.forward();
    EXPECT_EQ(s.state.administration.currentItem, 94);
    EXPECT_TRUE(s.messages.empty()) << "nothing is missing";
    EXPECT_EQ(s.text("TextCurrentItem"), " 94 di  94");
    EXPECT_EQ(s.control<QPlainTextEdit>("TextDom")->toPlainText().mid(1, 4), "94) ");

    s.back();
    EXPECT_EQ(s.text("TextCurrentItem"), " 93 di  94");
}

TEST(Form1Navigation, AvantiOnTheLastItemNamesTheMissingItemsAndShowsTheFirst) {
    Session s;
    s.answerAll([](int item) { return item == 17 || item == 94 ? 3 : 2; });
    s.state.administration.answers.agreement[17] = 0; // skipped
    s.state.administration.answers.agreement[52] =
        6; // raised to 6 after the processing button appeared: no distress
    s.state.administration.answers.agreement[94] = 0;
    s.forward(); // on item 94 already
    EXPECT_EQ(s.messages, (std::vector<QString>{"Mancano le risposte agli item 17, 52 e 94."}));
    EXPECT_EQ(s.state.administration.currentItem, 17);
    EXPECT_EQ(s.text("TextCurrentItem"), " 17 di  94");
    EXPECT_EQ(s.selectedAgreement(), 0);

    s.messages.clear();
    s.forward(); // from 17 to 18: not the last item, nothing to say
    EXPECT_TRUE(s.messages.empty());
}

TEST(Form1Navigation, ProcessingButtonWithAnswersMissingNamesThemAndOpensNoSubjectForm) {
    ProgramState state;
    Application app(state);
    Form1& form = app.form1();
    form.show();
    QPushButton* avanti = form.findChild<QPushButton*>(QStringLiteral("CommAvanti"));
    for (int item = 1; item <= 94; ++item) {
        QTest::mouseClick(avanti, Qt::LeftButton);
        QTest::keyClick(avanti, '2');
    }
    QTest::mouseClick(avanti, Qt::LeftButton);
    QPushButton* process = form.findChild<QPushButton*>(QStringLiteral("CommSaveData"));
    ASSERT_TRUE(process->isVisible());
    // Raised from 2 to 6 after the button appeared: the distress answer is still to give.
    QTest::keyClick(avanti, '6');
    for (int item = 1; item <= 30; ++item) { // many missing: ten named, the rest counted
        state.administration.answers.agreement[item] = 0;
    }
    QString title;
    QString text;
    whenModalOpens([&](QWidget& modal) {
        title = modal.windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            text = box->text();
        }
    });
    QTest::mouseClick(process, Qt::LeftButton);
    EXPECT_EQ(title, "BrivanSELVO");
    EXPECT_EQ(text, "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e altri 21.");
    EXPECT_EQ(state.administration.currentItem, 1);
    EXPECT_FALSE(app.isLoginLoaded() && app.login().isVisible());
}

TEST(Form1Navigation, BackFromTheFirstItemReturnsToTheNoticePage) {
    Session s;
    s.forward();
    EXPECT_TRUE(s.shown("Label1"));
    EXPECT_EQ(s.text("TextCurrentItem"), " 1 di  94");
    EXPECT_FALSE(s.shown("Frame2")) << "an unanswered item asks no distress question";
    s.back();
    EXPECT_EQ(s.state.administration.currentItem, 0);
    EXPECT_TRUE(s.shown("Frame2")) << "the notice page shows both questions";
    EXPECT_EQ(s.control<QPlainTextEdit>("TextDom")->toPlainText(),
              "\n" +
                  QString::fromStdString(selvo::questionnaire::ItemText(0)).replace("\r\n", "\n"));
}

} // namespace
