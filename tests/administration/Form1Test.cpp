// SPDX-License-Identifier: GPL-3.0-or-later

// The administration window driven as a subject drives it: clicks and keys on the real widgets.
#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "menu/ui/frmAbout.h"
#include "state/ProgramState.h"
#include "subject/ui/frmLogin.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Failures print the text, not its UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using selvo::ProgramState;

const QString kPrompt = QStringLiteral("SCELGA UNA RISPOSTA");

// One run of the program: its state, its windows and the administration window on screen.
// Message boxes are recorded instead of waiting for an OK.
class Session {
public:
    Session() { open(); }

    void open() {
        form = &app.form1();
        form->showMessage = [this](const QString& text) { messages.push_back(text); };
        form->show();
    }

    // Closing unloads the window; the next use loads a new one.
    void reopen() {
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(app.isForm1Loaded());
        open();
    }

    template <typename W> W* control(const char* name) const {
        W* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    bool shown(const char* name) const { return control<QWidget>(name)->isVisible(); }
    QRadioButton* agreement(int step) const {
        return control<QRadioButton>(("Option" + std::to_string(step)).c_str());
    }
    QRadioButton* distress(int step) const {
        return control<QRadioButton>(("OptionD" + std::to_string(step)).c_str());
    }
    int selectedAgreement() const { return selected("Option", 7); }
    int selectedDistress() const { return selected("OptionD", 3); }

    void click(const char* name) const {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // On the indicator: a radio button takes clicks on its circle and caption only.
    void click(QAbstractButton* button) const {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    void forward(int times = 1) const {
        for (int i = 0; i < times; ++i) {
            click("CommAvanti");
        }
    }
    void back() const { click("CommIndietro"); }

    // Keys go to whichever control has the focus; the window must see them first.
    void key(char character) const { QTest::keyClick(focusTarget(), character); }
    void key(Qt::Key code) const { QTest::keyClick(focusTarget(), code); }

    // Answers every item 1..94 with an agreement from the pattern and distress 2 where asked.
    void answerAll(const std::function<int(int)>& agreementOf) const {
        for (int item = 1; item <= 94; ++item) {
            forward();
            click(agreement(agreementOf(item)));
            if (agreementOf(item) >= 5) {
                click(distress(2));
            }
        }
    }

    ProgramState state;
    Application app{state};
    Form1* form = nullptr;
    std::vector<QString> messages;

private:
    QWidget* focusTarget() const { return agreement(1); }
    int selected(const std::string& prefix, int steps) const {
        int found = 0;
        for (int step = 1; step <= steps; ++step) {
            if (control<QRadioButton>((prefix + std::to_string(step)).c_str())->isChecked()) {
                EXPECT_EQ(found, 0) << "two buttons selected in " << prefix;
                found = step;
            }
        }
        return found;
    }
};

// Closes the next modal window once it is up, after letting the test look at it. Gives up after
// a few seconds, so a window that never opened cannot close one of a later test.
void whenModalOpens(const std::function<void(QWidget&)>& inspect) {
    auto* poll = new QTimer;
    auto triesLeft = std::make_shared<int>(500);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect, triesLeft] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && --*triesLeft > 0) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (modal != nullptr) {
            inspect(*modal);
            modal->close();
        }
    });
    poll->start(10);
}

TEST(Form1Load, ShowsTheNoticePageWithBothQuestionsAndNothingChosen) {
    Session s;
    EXPECT_EQ(s.form->windowTitle(), "BrivanSELVO");
    EXPECT_EQ(s.text("Text1"), "Prema 'Avanti' per iniziare");
    EXPECT_EQ(s.text("TextCurrentItem"), " ");
    EXPECT_FALSE(s.shown("Label1"));
    EXPECT_FALSE(s.shown("CommSaveData"));
    EXPECT_TRUE(s.shown("LabelQScalaD"));
    EXPECT_TRUE(s.shown("Frame2"));
    EXPECT_EQ(s.selectedAgreement(), 0);
    EXPECT_EQ(s.selectedDistress(), 0);

    const QString notice = s.control<QPlainTextEdit>("TextDom")->toPlainText();
    EXPECT_TRUE(notice.startsWith("\n")) << "a line break comes before the text";
    EXPECT_FALSE(notice.contains(QChar(0xA7)));
    EXPECT_TRUE(notice.contains("\n\n")) << "paragraphs are separated by an empty line";

    const QStringList agreementLegend =
        s.control<QPlainTextEdit>("TextScala")->toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(agreementLegend.size(), 7);
    EXPECT_EQ(agreementLegend[2], "( 3 )  tendenzialmente in disaccordo");
    EXPECT_EQ(
        s.control<QPlainTextEdit>("TextScala2")->toPlainText().split('\n', Qt::SkipEmptyParts),
        QStringList({"( 1 )  No mai", "( 2 )  In qualche modo", "( 3 )  Sicuramente si"}));
}

// Each control is found by its name and by the caption a screen reader announces.
// What a screen reader (or a test driving the accessibility interface) sees: the object names
// of the controls it finds with that role and name.
QStringList accessibleControls(QAccessibleInterface* node, QAccessible::Role role,
                               const QString& name) {
    QStringList found;
    if (node == nullptr) {
        return found;
    }
    if (node->role() == role && node->text(QAccessible::Name) == name) {
        found << node->object()->objectName();
    }
    for (int i = 0; i < node->childCount(); ++i) {
        found << accessibleControls(node->child(i), role, name);
    }
    return found;
}

TEST(Form1Load, ControlsAreFoundByTheirItalianCaptions) {
    Session s;
    s.forward();
    s.key('6'); // every control on screen, the distress section included
    struct Expected {
        QAccessible::Role role;
        QString name;
        QStringList controls;
    };
    const std::vector<Expected> expected = {
        {QAccessible::StaticText, "DOMANDA:", {"Label1"}},
        {QAccessible::StaticText,
         "Relativamente a te stesso, quanto sei d'accordo con questa affermazione?",
         {"LabelQScala"}},
        {QAccessible::StaticText,
         "Questo aspetto ha mai causato a te  o ad altri qualche problema o è stato fonte di "
         "sofferenza?",
         {"LabelQScalaD"}},
        {QAccessible::Grouping, "RISPOSTA", {"Frame1", "Frame2"}},
        {QAccessible::RadioButton, "3", {"Option3", "OptionD3"}},
        {QAccessible::RadioButton, "7", {"Option7"}},
        {QAccessible::PushButton, "AVANTI", {"CommAvanti"}},
        {QAccessible::PushButton, "INDIETRO", {"CommIndietro"}},
        {QAccessible::PushButton, "Istruzioni", {"CommIstru"}},
        {QAccessible::PushButton, "Ss", {"cmdLoadData"}},
    };
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(s.form);
    for (const Expected& e : expected) {
        EXPECT_EQ(accessibleControls(window, e.role, e.name), e.controls) << e.name.toStdString();
    }
    for (const char* textBox :
         {"TextDom", "TextCurrentItem", "Text1", "TextScala", "TextD", "TextScala2"}) {
        EXPECT_FALSE(s.control<QWidget>(textBox)->accessibleName().isEmpty()) << textBox;
    }
    EXPECT_FALSE(s.control<QWidget>("TextItemValue")->isVisible());
}

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
    s.state.administration.answers.agreement[52] = 6; // raised to 6 after the processing button appeared: no distress
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
              "\n" + QString::fromStdString(s.state.ItemText[0]).replace("\r\n", "\n"));
}

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
    EXPECT_EQ(s.state.administration.answers.agreement[2], 0) << "a repeated digit must not answer the next item";
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
        EXPECT_EQ(s.state.administration.answers.distress[item], agreement >= 5 ? item % 3 + 1 : 0) << item;
    }
}

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
