// SPDX-License-Identifier: GPL-3.0-or-later
// The subject form filled from a record: reloaded codes, and a record over the limits.

#include "subject/ui/frmLogin.h"

#include "frmLoginFixture.h"
#include "support/MessageBoxes.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <string>

namespace {

using namespace login_fixture;

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
    form.showSubjectRecord(selvo::SubjectEntryOf(program.state.subject));

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
