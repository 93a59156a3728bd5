// SPDX-License-Identifier: GPL-3.0-or-later

// Several subjects in one sitting, as a clinic runs them: each one starts clean, and nothing of
// one subject reaches the next one's screens or files.
#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "menu/ui/frmMain.h"
#include "menu/ui/frmSplash.h"
#include "subject/ui/frmLogin.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Program {
    selvo::ProgramState state;
    Application app{state};
    Program() {
        Main(app);
        QTest::keyClick(&app.splash(), Qt::Key_A);
        QApplication::processEvents();
    }
    frmMain& menu() { return app.mainMenu(); }
};

template <typename W> W& control(QWidget& window, const char* name) {
    W* found = window.findChild<W*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *found;
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(&control<QPushButton>(window, name), Qt::LeftButton);
}

QStringList checkedOptions(QWidget& window) {
    QStringList captions;
    for (QRadioButton* option : window.findChildren<QRadioButton*>()) {
        if (option->isChecked()) {
            captions << option->objectName();
        }
    }
    return captions;
}

// Every item from the keyboard, agreement 6 and distress 2, then past the last item.
void answerEveryItem(Form1& questionnaire) {
    QWidget* keys = &control<QPushButton>(questionnaire, "CommAvanti");
    for (int item = 1; item <= 94; ++item) {
        QTest::keyClick(keys, Qt::Key_Return);
        QTest::keyClick(keys, '6');
        QTest::keyClick(keys, 'w');
    }
    QTest::keyClick(keys, Qt::Key_Return);
}

// Presses the questionnaire's processing button; the subject form that opens is filled and
// confirmed, and the box that reports the files is answered.
std::vector<ShownBox> processFromTheQuestionnaire(Program& program, const QString& name) {
    MessageBoxRecorder boxes;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name] {
        auto* form = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (form == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(0, form, [form, name] {
            control<QLineEdit>(*form, "txtUserName").setText(name);
            control<QLineEdit>(*form, "txtPassword").setText(QStringLiteral("Rossi"));
            control<QLineEdit>(*form, "txtEta").setText(QStringLiteral("41"));
            control<QPlainTextEdit>(*form, "TxtNote").setPlainText(QStringLiteral("prima visita"));
            control<QRadioButton>(*form, "Option1_SMale").click();
            control<QRadioButton>(*form, "Option1_ST2").click();
            control<QRadioButton>(*form, "Option1_stud5").click();
            click(*form, "cmdOK");
        });
    });
    poll->start(5);
    click(program.app.form1(), "CommSaveData");
    return boxes.boxes();
}

class NextSubject : public testing::TestWithParam<bool> {};

TEST_P(NextSubject, AfterAProcessedSetStartsWithNothingOfThePreviousOne) {
    const TempDir dir;
    Program program;
    click(program.menu(), "cmdMainSOMM");
    answerEveryItem(program.app.form1());
    const auto boxes = processFromTheQuestionnaire(program, QStringLiteral("Mario"));
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_EQ(boxes[0].title, "BrivanSELVO - Profilo");
    const bool closedInBetween = GetParam();
    if (closedInBetween) {
        program.app.form1().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    click(program.menu(), "cmdMainSOMM");
    Form1& questionnaire = program.app.form1();
    EXPECT_TRUE(questionnaire.isVisible());
    EXPECT_EQ(program.state.administration.currentItem, 0);
    EXPECT_EQ(control<QLineEdit>(questionnaire, "Text1").text(), "Prema 'Avanti' per iniziare");
    EXPECT_FALSE(control<QPushButton>(questionnaire, "CommSaveData").isVisible());
    EXPECT_TRUE(checkedOptions(questionnaire).isEmpty());
    for (int item = 1; item <= 94; ++item) {
        click(questionnaire, "CommAvanti");
        EXPECT_EQ(program.state.administration.answers.agreement[item], 0) << item;
        EXPECT_EQ(program.state.administration.answers.distress[item], 0) << item;
        EXPECT_TRUE(checkedOptions(questionnaire).isEmpty()) << "item " << item;
    }
    EXPECT_EQ(program.state.subject.sex, "0");
    EXPECT_EQ(program.state.subject.marital, "0");
    EXPECT_EQ(program.state.subject.education, "0");

    frmLogin& subject = program.app.login();
    for (const char* box : {"txtUserName", "txtPassword", "txtEta"}) {
        EXPECT_EQ(control<QLineEdit>(subject, box).text(), "") << box;
    }
    EXPECT_EQ(control<QPlainTextEdit>(subject, "TxtNote").toPlainText(), "");
    EXPECT_TRUE(checkedOptions(subject).isEmpty())
        << checkedOptions(subject).join(',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Window, NextSubject, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "ClosedInBetween" : "LeftOpen";
                         });

TEST(NextSubject, ACompleteSetNotYetProcessedSurvivesClosingTheWindow) {
    Program program;
    click(program.menu(), "cmdMainSOMM");
    answerEveryItem(program.app.form1());
    const selvo::AnswerTable answers = program.state.administration.answers.agreement;
    program.app.form1().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    click(program.menu(), "cmdMainSOMM");
    EXPECT_EQ(program.state.administration.answers.agreement, answers);
    click(program.app.form1(), "CommAvanti");
    EXPECT_EQ(checkedOptions(program.app.form1()), QStringList({"Option6", "OptionD2"}));
}

TEST(NextSubject, ProcessingAgainFromTheQuestionnaireKeepsTheSameSubject) {
    const TempDir dir;
    Program program;
    click(program.menu(), "cmdMainSOMM");
    answerEveryItem(program.app.form1());
    ASSERT_EQ(processFromTheQuestionnaire(program, QStringLiteral("Mario")).size(), 1u);
    const selvo::AnswerTable answers = program.state.administration.answers.agreement;

    // The operator corrects the name: same answers, files under the new name; the older set is
    // offered to the trash ("No", the default, keeps it) before the profile.
    ASSERT_EQ(processFromTheQuestionnaire(program, QStringLiteral("Marco")).size(), 2u);
    EXPECT_EQ(program.state.administration.answers.agreement, answers);
    EXPECT_TRUE(std::filesystem::exists(dir.file("SELVO_Rossi_Marco.csv")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("SELVO_Rossi_Mario.csv")));
}

TEST(QtTexts, StandardButtonsAndContextMenusReadInItalian) {
    Program program;
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Save);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Sì");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Annulla");
    EXPECT_EQ(box.button(QMessageBox::Save)->text().remove('&'), "Salva");

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList actions;
    for (QAction* action : menu->actions()) {
        actions << action->text().remove('&').section('\t', 0, 0);
    }
    EXPECT_TRUE(actions.contains("Copia")) << actions.join('|').toStdString();
    EXPECT_TRUE(actions.contains("Incolla")) << actions.join('|').toStdString();
}

} // namespace
