// SPDX-License-Identifier: GPL-3.0-or-later

// The administration window driven from the keyboard: digits, letters, Enter, held keys
// and arrows.
#include "Form1Fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace form1_fixture;

struct KeyCase {
    const char* name;
    int agreementBefore; // 0: none
    char key;
    int expectedT;
    int expectedD;
    QString expectedText1;
};
void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class Form1Keys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(Form1Keys, RecordAsTheTableSays) {
    const KeyCase& c = GetParam();
    Session s;
    s.forward(2);
    if (c.agreementBefore != 0) {
        s.click(s.agreement(c.agreementBefore));
    }
    s.key(c.key);
    EXPECT_EQ(s.state.administration.answers.agreement[2], c.expectedT);
    EXPECT_EQ(s.state.administration.answers.distress[2], c.expectedD);
    EXPECT_EQ(s.selectedAgreement(), c.expectedT);
    EXPECT_EQ(s.selectedDistress(), c.expectedD);
    EXPECT_EQ(s.text("Text1"), c.expectedText1);
    EXPECT_EQ(s.state.administration.currentItem, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Form1Keys,
    ::testing::Values(
        KeyCase{"digit3SelectsThirdStep", 0, '3', 3, 0, "( 3 )  tendenzialmente in disaccordo"},
        KeyCase{"digit7", 0, '7', 7, 0, "( 7 )  Completamente d'accordo"},
        KeyCase{"digit8IsNotAnAnswer", 0, '8', 0, 0, kPrompt},
        KeyCase{"upperCaseQDoesNothing", 6, 'Q', 6, 0, "( 6 )  D'accordo"},
        KeyCase{"qWhileDistressHiddenDoesNothing", 3, 'q', 3, 0,
                "( 3 )  tendenzialmente in disaccordo"},
        KeyCase{"qOnItemAnsweredSixRecordsOne", 6, 'q', 6, 1, "( 6 )  D'accordo"},
        KeyCase{"eOnItemAnsweredFive", 5, 'e', 5, 3, "( 5 )  Tendenzialmente d'accordo"},
        KeyCase{"blankIsLeftToTheControl", 0, ' ', 1, 0, "( 1 )  In completo disaccordo"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form1KeysMore, SameDigitTwiceKeepsTheAnswer) {
    Session s;
    s.forward();
    s.key('6');
    s.key('w');
    s.key('6');
    EXPECT_EQ(s.state.administration.answers.agreement[1], 6);
    EXPECT_EQ(s.state.administration.answers.distress[1], 2);
    EXPECT_EQ(s.text("TextD"), "( 2 )  In qualche modo");
}

TEST(Form1KeysMore, EnterMovesOnLikeAvanti) {
    Session s;
    s.key(Qt::Key_Return);
    s.key(Qt::Key_Enter);
    EXPECT_EQ(s.state.administration.currentItem, 2);
}

// A key held down sends auto-repeated presses; only the physical press may act.
TEST(Form1KeysMore, AHeldKeyActsOnce) {
    Session s;
    const auto hold = [&s](int key, const QString& text) {
        QWidget* target = s.agreement(1);
        QKeyEvent first(QEvent::KeyPress, key, Qt::NoModifier, text, false);
        QApplication::sendEvent(target, &first);
        for (int repeat = 0; repeat < 35; ++repeat) {
            QKeyEvent again(QEvent::KeyPress, key, Qt::NoModifier, text, true);
            QApplication::sendEvent(target, &again);
        }
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, false);
        QApplication::sendEvent(target, &release);
    };
    hold(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(s.state.administration.currentItem, 1);
    hold(Qt::Key_5, QStringLiteral("5"));
    hold(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(s.state.administration.currentItem, 2);
    EXPECT_EQ(s.state.administration.answers.agreement[1], 5);
    EXPECT_EQ(s.state.administration.answers.agreement[2], 0)
        << "a repeated digit must not answer the next item";
    hold(Qt::Key_Right, QString());
    EXPECT_EQ(s.messages, (std::vector<QString>{"freccia dx"}));
}

// On a loaded X11 desktop a repeat can arrive as a real release and press, a moment apart.
TEST(Form1KeysMore, APressRightAfterTheReleaseOfTheSameKeyIsARepeat) {
    Session s;
    const auto send = [&s](QEvent::Type type, int key, const QString& text, quint64 at) {
        QKeyEvent event(type, key, Qt::NoModifier, text);
        event.setTimestamp(at);
        QApplication::sendEvent(s.agreement(1), &event);
    };
    const auto strokes = [&](int key, const QString& text, std::initializer_list<quint64> times) {
        for (const quint64 at : times) {
            send(QEvent::KeyPress, key, text, at);
            send(QEvent::KeyRelease, key, text, at + 50);
        }
    };
    strokes(Qt::Key_Return, "\r", {1000, 1051}); // pressed again 1 ms after the release
    EXPECT_EQ(s.state.administration.currentItem, 1);
    strokes(Qt::Key_Return, "\r", {2000, 2250}); // 200 ms: two presses
    EXPECT_EQ(s.state.administration.currentItem, 3);
    strokes(Qt::Key_Right, QString(), {3000, 3051});
    EXPECT_EQ(s.messages, (std::vector<QString>{"freccia dx"}));
    strokes(Qt::Key_6, "6", {4000});
    send(QEvent::KeyPress, Qt::Key_Return, "\r", 4051); // another key: not a repeat of "6"
    EXPECT_EQ(s.state.administration.currentItem, 4);
}

TEST(Form1KeysMore, ArrowsShowTheirMessageAndChangeNothing) {
    Session s;
    s.forward();
    s.key('4');
    s.key(Qt::Key_Left);
    s.key(Qt::Key_Right);
    EXPECT_EQ(s.messages, (std::vector<QString>{"freccia sx", "freccia dx"}));
    EXPECT_EQ(s.state.administration.answers.agreement[1], 4);
    EXPECT_EQ(s.state.administration.currentItem, 1);
}

TEST(Form1KeysMore, ArrowMessageBoxIsTitledWithTheProgramName) {
    ProgramState state;
    Application app(state);
    Form1& form = app.form1();
    form.show();
    QString title;
    QString text;
    whenModalOpens([&](QWidget& modal) {
        title = modal.windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            text = box->text();
        }
    });
    QTest::keyClick(&form, Qt::Key_Right);
    EXPECT_EQ(title, "BrivanSELVO");
    EXPECT_EQ(text, "freccia dx");
}

TEST(Form1KeysMore, WholeQuestionnaireFromTheKeyboardReachesCompletion) {
    Session s;
    const char distressKeys[] = {'q', 'w', 'e'};
    for (int item = 1; item <= 94; ++item) {
        s.key(Qt::Key_Return);
        const int agreement = (item * 3) % 7 + 1;
        s.key(static_cast<char>('0' + agreement));
        if (agreement >= 5) {
            s.key(distressKeys[item % 3]);
        }
    }
    s.key(Qt::Key_Return);
    EXPECT_TRUE(selvo::isTrue(s.state.administration.allAnswered));
    EXPECT_TRUE(s.shown("CommSaveData"));
    for (int item = 1; item <= 94; ++item) {
        const int agreement = (item * 3) % 7 + 1;
        EXPECT_EQ(s.state.administration.answers.agreement[item], agreement) << item;
        EXPECT_EQ(s.state.administration.answers.distress[item], agreement >= 5 ? item % 3 + 1 : 0)
            << item;
    }
}

} // namespace
