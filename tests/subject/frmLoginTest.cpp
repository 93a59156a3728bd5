// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/ui/frmLogin.h"

#include "app/Application.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

// A program that has just finished a questionnaire: constants, item bank, every item answered,
// coded fields "0" as the administration form leaves them.
struct Program {
    selvo::ProgramState state;
    Application app{state};

    Program() {
        for (int item = 1; item <= 94; ++item) {
            state.administration.answers.agreement[item] = static_cast<selvo::Integer>(item % 7 + 1);
            state.administration.answers.distress[item] = state.administration.answers.agreement[item] >= 5 ? 2 : 0;
        }
        state.administration.allAnswered = true;
        state.subject.sex = state.subject.marital = state.subject.education = "0";
    }

    frmLogin& shownForm() {
        frmLogin& form = app.login();
        form.show();
        return form;
    }
};

template <typename W> W& control(QWidget& form, const char* name) {
    W* found = form.findChild<W*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *found;
}

void type(QWidget& form, const char* name, const QString& text) {
    auto& box = control<QLineEdit>(form, name);
    box.clear();
    QTest::keyClicks(&box, text);
}

void fillCompletely(QWidget& form, const QString& surname = QStringLiteral("GRP1")) {
    type(form, "txtUserName", QStringLiteral("S01"));
    type(form, "txtPassword", surname);
    type(form, "txtEta", QStringLiteral("35"));
    control<QRadioButton>(form, "Option1_SFemale").click();
    control<QRadioButton>(form, "Option1_ST2").click();
    control<QRadioButton>(form, "Option1_stud4").click();
}

void confirm(QWidget& form) {
    QTest::mouseClick(&control<QPushButton>(form, "cmdOK"), Qt::LeftButton);
}

std::vector<std::string> filesUnder(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> kSubjectFiles{"SELVO_GRP1_S01.csv", "SELVO_GRP1_S01_report.rtf",
                                             "SELVO_SS000_GRP1_S01_sps.sps"};

TEST(frmLogin, UntouchedFormAsksForSixFieldsInOrderAndProcessesNothing) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    MessageBoxRecorder boxes;
    confirm(form);

    ASSERT_EQ(boxes.boxes().size(), 6u);
    EXPECT_EQ(boxes.texts(),
              QStringList({"Inserire il Nome/Codice. Grazie!",
                           "Inserire il Cognome/Codice. Grazie!", "Inserire Età. Grazie!",
                           "Inserire il sesso. Grazie!", "Inserire lo Stato Civile. Grazie!",
                           "Inserire il Titolo di Studio. Grazie!"}));
    for (const ShownBox& box : boxes.boxes()) {
        EXPECT_EQ(box.title, "INFORMAZIONE NECESSARIA");
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
}

TEST(frmLogin, OnlyTheAgeMissingShowsExactlyItsMessage) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtEta").clear();
    MessageBoxRecorder boxes;
    confirm(form);

    EXPECT_EQ(boxes.texts(), QStringList({"Inserire Età. Grazie!"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
}

TEST(frmLogin, EnterInTheNameBoxConfirms) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    MessageBoxRecorder boxes;
    QTest::keyClick(&control<QLineEdit>(form, "txtUserName"), Qt::Key_Return);
    EXPECT_EQ(boxes.boxes().size(), 6u);
}

TEST(frmLogin, EscHidesTheFormLikeAnnullaWithoutUnloadingIt) {
    Program program;
    frmLogin& form = program.shownForm();
    QTest::keyClick(&control<QLineEdit>(form, "txtUserName"), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(program.app.isLoginLoaded());
}

// A button that has the focus takes Enter, as on any dialog: the default button answers
// Enter only while no other button is focused.
TEST(frmLogin, EnterOnTheFocusedAnnullaCancelsInsteadOfProcessing) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    fillCompletely(form);
    auto& annulla = control<QPushButton>(form, "cmdCancel");
    annulla.setFocus();
    MessageBoxRecorder boxes;
    QTest::keyClick(&annulla, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
    EXPECT_EQ(program.state.subject.name, "");

    // Back in a text box, Enter confirms again.
    program.shownForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto& age = control<QLineEdit>(form, "txtEta");
    age.setFocus();
    QTest::keyClick(&age, Qt::Key_Return);
    EXPECT_EQ(boxes.boxes().size(), 1u); // the files are reported
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(filesUnder(dir.path()), kSubjectFiles);
}

TEST(frmLogin, ModalShowingEndsOnAnnullaAndOnACompletedRunWithTheFormKept) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.app.login();
    QTimer::singleShot(0, &form, [&form] { control<QPushButton>(form, "cmdCancel").click(); });
    EXPECT_EQ(form.exec(), QDialog::Rejected);

    fillCompletely(form);
    QTimer::singleShot(0, &form, [&form] { confirm(form); });
    {
        MessageBoxRecorder done;
        EXPECT_EQ(form.exec(), QDialog::Accepted);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(program.app.isLoginLoaded());
    EXPECT_EQ(filesUnder(dir.path()), kSubjectFiles);

    QTimer::singleShot(0, &form, [&form] { form.close(); });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(program.app.isLoginLoaded());
}

TEST(frmLogin, AnnullaKeepsTheTypedNameInTheBoxButNotInTheRecord) {
    Program program;
    program.state.subject.name = "Prima";
    frmLogin& form = program.shownForm();
    type(form, "txtUserName", QStringLiteral("Mario"));
    QTest::mouseClick(&control<QPushButton>(form, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(program.state.subject.name, "Prima");

    frmLogin& again = program.shownForm();
    EXPECT_EQ(&again, &form);
    EXPECT_EQ(control<QLineEdit>(again, "txtUserName").text(), "Mario");
}

TEST(frmLogin, CloseButtonUnloadsAndTheNextShowingLoadsTheRecordAgain) {
    Program program;
    program.state.subject.name = "Prima";
    frmLogin& form = program.shownForm();
    type(form, "txtUserName", QStringLiteral("Mario"));
    form.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(program.app.isLoginLoaded());
    EXPECT_EQ(program.state.subject.name, "Prima");
    EXPECT_EQ(control<QLineEdit>(program.shownForm(), "txtUserName").text(), "Prima");
}

TEST(frmLogin, ReloadedCodesSelectTheirOptions) {
    Program program;
    frmLogin& form = program.shownForm();
    program.state.subject.name = "S01";
    program.state.subject.surname = "GRP1";
    program.state.subject.age = "35";
    program.state.subject.notes = "prima riga\r\nseconda riga";
    program.state.subject.sex = "2";
    program.state.subject.marital = "4";
    program.state.subject.education = "5";
    form.showSubjectRecord(selvo::SubjectEntryOf(program.state));

    const auto checkedCaption = [&form](const char* frame) {
        for (QRadioButton* option : control<QGroupBox>(form, frame).findChildren<QRadioButton*>()) {
            if (option->isChecked()) {
                return option->text();
            }
        }
        return QString();
    };
    EXPECT_EQ(checkedCaption("FrameSesso"), "FEMMINA");
    EXPECT_EQ(checkedCaption("FrameStatoCivile"), "Divorziato/a");
    EXPECT_EQ(checkedCaption("FrameStudio"), "Laurea/Specializzazione");
    EXPECT_EQ(control<QLineEdit>(form, "txtPassword").text(), "GRP1");
    EXPECT_EQ(control<QPlainTextEdit>(form, "TxtNote").toPlainText(), "prima riga\nseconda riga");
}

TEST(frmLogin, CodesThatAreNotOptionsSelectNothingOnLoad) {
    Program program;
    program.state.subject.sex = "x";
    program.state.subject.marital = "0";
    program.state.subject.education = "9";
    frmLogin& form = program.shownForm();
    for (QRadioButton* option : form.findChildren<QRadioButton*>()) {
        EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();
    }
}

TEST(frmLogin, ConfirmedRunWritesTheThreeFilesSaysWhereAndHides) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtEta").setText(QStringLiteral("   "));
    QTest::keyClicks(&control<QPlainTextEdit>(form, "TxtNote"), QStringLiteral("a"));
    QTest::keyClick(&control<QPlainTextEdit>(form, "TxtNote"), Qt::Key_Return);
    QTest::keyClicks(&control<QPlainTextEdit>(form, "TxtNote"), QStringLiteral("b"));
    bool formHiddenUnderTheProfile = false;
    MessageBoxRecorder boxes({}, [&form, &formHiddenUnderTheProfile](ResultsWindow&) {
        formHiddenUnderTheProfile = !form.isVisible();
    });
    confirm(form);

    ASSERT_EQ(boxes.boxes().size(), 1u);
    const ShownBox& done = boxes.boxes()[0];
    EXPECT_EQ(done.title, "BrivanSELVO - Profilo");
    EXPECT_EQ(done.icon, QMessageBox::Information);
    EXPECT_TRUE(done.text.contains(QString::fromStdString(dir.path().string())))
        << done.text.toStdString();
    for (const std::string& name : kSubjectFiles) {
        EXPECT_TRUE(done.text.contains(QString::fromStdString(name))) << name;
    }
    EXPECT_FALSE(done.text.contains("sostituit")) << "nothing was there before";
    EXPECT_TRUE(formHiddenUnderTheProfile);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(filesUnder(dir.path()), kSubjectFiles);
    EXPECT_TRUE(program.state.setProcessed);

    // The same subject again: the profile window says the older files were replaced.
    form.show();
    confirm(form);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(boxes.boxes()[1].text.contains("sostituiti"))
        << boxes.boxes()[1].text.toStdString();
    EXPECT_EQ(program.state.subject.age, "   ");
    EXPECT_EQ(program.state.subject.sex, "2");
    EXPECT_EQ(program.state.subject.marital, "2");
    EXPECT_EQ(program.state.subject.education, "4");
    // Notes keep Windows line ends in the record, as every file of the program does.
    EXPECT_EQ(program.state.subject.notes, "a\r\nb");
}

class UnsafeSurnameOnTheForm : public testing::TestWithParam<const char*> {};

TEST_P(UnsafeSurnameOnTheForm, WritesNothingAnywhereAndKeepsTheFormOpen) {
    const TempDir outer;
    fs::create_directory(outer.file("work"));
    fs::current_path(outer.file("work"));
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form, QString::fromUtf8(GetParam()));
    MessageBoxRecorder boxes;
    confirm(form);

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "INFORMAZIONE NECESSARIA");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Cognome/Codice"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(filesUnder(outer.path()), std::vector<std::string>{"work"});
}

INSTANTIATE_TEST_SUITE_P(Surnames, UnsafeSurnameOnTheForm, testing::Values("../x", "a/b", "x:"));

#ifndef _WIN32 // POSIX permissions
TEST(frmLogin, ReadOnlyFolderShowsTheErrorKeepsTheOlderReportAndTheFormOpen) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    {
        MessageBoxRecorder boxes;
        confirm(form);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        ASSERT_EQ(boxes.boxes()[0].title, "BrivanSELVO - Profilo");
    }
    const std::string olderReport = fileBytes(dir.file("SELVO_GRP1_S01_report.rtf"));

    form.show();
    type(form, "txtEta", QStringLiteral("36"));
    fs::permissions(dir.path(), fs::perms(0555));
    MessageBoxRecorder boxes;
    {
        const Unprivileged asOperator;
        confirm(form);
    }
    fs::permissions(dir.path(), fs::perms(0755));

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes.boxes()[0].text.contains("SELVO_GRP1_S01.csv"));
    EXPECT_TRUE(boxes.boxes()[0].text.contains("permesso negato"));
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Nessun file è stato scritto"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(fileBytes(dir.file("SELVO_GRP1_S01_report.rtf")), olderReport);
    EXPECT_EQ(filesUnder(dir.path()), kSubjectFiles); // no temporary file left behind
}
#endif

TEST(frmLogin, AReportThatCannotBeWrittenLeavesNoFileOfTheSet) {
    const TempDir dir;
    fs::create_directory(dir.file("SELVO_GRP1_S01_report.rtf"));
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    MessageBoxRecorder boxes;
    confirm(form);

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "ELABORAZIONE NON COMPLETATA");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("SELVO_GRP1_S01_report.rtf"));
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Nessun file è stato scritto"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(program.state.setProcessed);
    EXPECT_EQ(filesUnder(dir.path()), std::vector<std::string>{"SELVO_GRP1_S01_report.rtf"});
}

// Pasted text can hold what a keyboard cannot type: it is refused, and the box shows it.
TEST(frmLogin, ControlAndFormatCharactersAreRefusedAndShownAsText) {
    const TempDir dir;
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtPassword").setText(QString::fromUtf8("GRP1\x1B]0;x\x07"));
    MessageBoxRecorder boxes;
    confirm(form);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "INFORMAZIONE NECESSARIA");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Cognome/Codice"));
    EXPECT_TRUE(boxes.boxes()[0].text.contains("\\x1B")) << boxes.boxes()[0].text.toStdString();
    EXPECT_FALSE(boxes.boxes()[0].text.contains(QChar(0x1B)));

    control<QLineEdit>(form, "txtPassword").setText(QStringLiteral("GRP1"));
    control<QLineEdit>(form, "txtEta")
        .setText(QString::fromUtf8("3\xE2\x80\xAE"
                                   "5"));
    confirm(form);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(boxes.boxes()[1].text.contains("Età"));
    EXPECT_TRUE(boxes.boxes()[1].text.contains("\\u202E"));
    EXPECT_EQ(form.focusWidget(), &control<QLineEdit>(form, "txtEta"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(filesUnder(dir.path()).empty());
}

TEST(frmLogin, AfterTheMessagesTheFocusIsOnTheFieldToFix) {
    Program program;
    frmLogin& form = program.shownForm();
    fillCompletely(form);
    control<QLineEdit>(form, "txtEta").clear();
    {
        MessageBoxRecorder boxes;
        confirm(form);
    }
    EXPECT_EQ(form.focusWidget(), &control<QLineEdit>(form, "txtEta"));

    type(form, "txtPassword", QStringLiteral("a/b"));
    type(form, "txtEta", QStringLiteral("35"));
    {
        MessageBoxRecorder boxes;
        confirm(form);
    }
    EXPECT_EQ(form.focusWidget(), &control<QLineEdit>(form, "txtPassword"));
    EXPECT_EQ(control<QLineEdit>(form, "txtPassword").selectedText(), "a/b");
}

TEST(frmLogin, EveryControlHasAnAccessibleName) {
    Program program;
    frmLogin& form = program.shownForm();
    const QList<QWidget*> controls = form.findChildren<QWidget*>();
    int named = 0;
    for (QWidget* widget : controls) {
        if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QPlainTextEdit*>(widget) &&
            !qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QGroupBox*>(widget)) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << widget->objectName().toStdString();
        ++named;
    }
    EXPECT_EQ(named, 4 + 2 + 5 + 5 + 3 + 3); // the buttons: OK, Annulla, Cambia cartella
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&control<QLineEdit>(form, "txtEta"))
                  ->text(QAccessible::Name),
              "Età (Anni)");
}

// Each box of the form, its limit and the name the messages give it.
struct LimitedBox {
    const char* control;
    int limit;
    const char* label;
};
void PrintTo(const LimitedBox& box, std::ostream* os) {
    *os << box.control;
}

class FieldOverLimit : public testing::TestWithParam<LimitedBox> {};

// Text put into a box as a paste puts it, at the cursor.
void paste(QWidget& form, const LimitedBox& box, const QString& text) {
    if (auto* line = form.findChild<QLineEdit*>(QString::fromLatin1(box.control))) {
        line->insert(text);
    } else {
        control<QPlainTextEdit>(form, box.control).insertPlainText(text);
    }
}
QString boxText(QWidget& form, const LimitedBox& box) {
    if (auto* line = form.findChild<QLineEdit*>(QString::fromLatin1(box.control))) {
        return line->text();
    }
    return control<QPlainTextEdit>(form, box.control).toPlainText();
}

TEST_P(FieldOverLimit, IsCutWhereThePasteEndsAndTheOperatorIsTold) {
    const LimitedBox& box = GetParam();
    Program program;
    frmLogin& form = program.shownForm();
    paste(form, box, QStringLiteral("AB"));
    QTest::keyClick(form.findChild<QWidget*>(QString::fromLatin1(box.control)), Qt::Key_Left);
    MessageBoxRecorder boxes;
    // Lines of 80, as notes have them (one line of 100,000 takes long to lay out).
    QString pasted = QString(box.limit, QLatin1Char('x'));
    for (qsizetype at = 80; at < pasted.size(); at += 81) {
        pasted[at] = QLatin1Char('\n');
    }
    paste(form, box, pasted);

    EXPECT_EQ(boxText(form, box), "A" + pasted.left(box.limit - 2) + "B");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const QString limit = QLocale(QLocale::Italian).toString(box.limit);
    EXPECT_EQ(boxes.boxes()[0].text,
              QStringLiteral("Il campo %1 accetta al massimo %2 caratteri. Il testo li superava "
                             "ed è stato accorciato a %2 caratteri: controllare il campo prima "
                             "di premere «ELABORAZIONE DATI».")
                  .arg(QString::fromUtf8(box.label), limit));

    // Typing at the limit is refused the same way; a character is never split in half.
    QTest::keyClicks(form.findChild<QWidget*>(QString::fromLatin1(box.control)),
                     QStringLiteral("y"));
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxText(form, box).size(), box.limit);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    paste(form, box, QStringLiteral("z") + emoji); // ends across the limit: both halves go
    EXPECT_FALSE(boxText(form, box).contains(emoji.at(0)));
    EXPECT_FALSE(boxText(form, box).contains(QLatin1Char('z')));
}

INSTANTIATE_TEST_SUITE_P(Boxes, FieldOverLimit,
                         testing::Values(LimitedBox{"txtUserName", 100, "Nome/Codice"},
                                         LimitedBox{"txtPassword", 100, "Cognome/Codice"},
                                         LimitedBox{"txtEta", 30, "Età"},
                                         LimitedBox{"TxtNote", 100000, "Note"}),
                         [](const testing::TestParamInfo<LimitedBox>& info) {
                             return std::string(info.param.control);
                         });

TEST(frmLogin, AnOverlongReloadedRecordIsShownCutAndSaysSo) {
    Program program;
    std::string notes;
    while (notes.size() <= 100000) {
        notes += std::string(79, 'n') + "\n";
    }
    program.state.subject.notes = notes;
    MessageBoxRecorder boxes;
    frmLogin& form = program.shownForm();
    EXPECT_EQ(control<QPlainTextEdit>(form, "TxtNote").toPlainText().toStdString(),
              notes.substr(0, 100000));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.contains("Note")) << boxes.boxes()[0].text.toStdString();
}

} // namespace
