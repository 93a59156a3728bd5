// SPDX-License-Identifier: GPL-3.0-or-later
// Processing from the subject form: the three files written, or none and the form kept
// open.

#include "subject/ui/frmLogin.h"

#include "frmLoginFixture.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>
#ifndef _WIN32
#include "support/Unprivileged.h"
#endif

namespace {

using namespace login_fixture;

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

} // namespace
