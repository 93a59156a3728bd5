// SPDX-License-Identifier: GPL-3.0-or-later
// Showing, cancelling and closing the subject form.

#include "subject/ui/frmLogin.h"

#include "frmLoginFixture.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace login_fixture;

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

} // namespace
