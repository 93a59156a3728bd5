// SPDX-License-Identifier: GPL-3.0-or-later
// A reload asked for over answers not yet processed: asked first, replaced only by a
// file read.

#include "app/Reload.h"

#include "ReloadFixture.h"
#include "administration/Recovery.h"
#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "datafiles/DataFile.h"
#include "datafiles/ui/OpenDialog.h"
#include "menu/ui/frmMain.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace reload_fixture;

// Answers given on the questionnaire, not yet processed, when the operator asks for a reload.
enum class Outcome { No, Cancelled, Refused, Read };
struct OverAnswers {
    const char* label;
    const char* window; // "Form1" or "frmMain"
    const char* command;
    Outcome outcome;
};
void PrintTo(const OverAnswers& c, std::ostream* os) {
    *os << c.label;
}

class ReloadOverAnswersInProgress : public testing::TestWithParam<OverAnswers> {
protected:
    ReloadOverAnswersInProgress() {
        program.app.recovery().useFolder(selvo::utf8Of(dir.file("dati")));
        form = &program.app.form1();
        form->showMessage = [](const QString&) {};
        form->show();
        for (const char key : {'\r', '3', '\r', '6', 'w', '\r', '2'}) {
            QTest::keyClick(avanti(), key);
        }
        program.app.recovery().waitForSaves();
        fs::create_directory(dir.file("altrove"));
        writeDataFile(dir.file("altrove") / "vuoto.csv", "");
        writeDataFile(dir.file("altrove") / "SELVO_GRP1_S01.csv",
                      testsupport::dataFileOf(savedSubject()));
        program.app.showOpenDialog = [this](QWidget*) {
            ++dialogs;
            return chosen;
        };
    }
    QWidget* avanti() const { return form->findChild<QWidget*>(QStringLiteral("CommAvanti")); }
    void press(const OverAnswers& c) {
        QWidget& window = std::string(c.window) == "Form1"
                              ? static_cast<QWidget&>(*form)
                              : static_cast<QWidget&>(program.app.mainMenu());
        QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(c.command)),
                          Qt::LeftButton);
    }
    fs::path recoveryFile() const { return dir.file("dati") / selvo::kRecoveryFileName; }

    const TempDir dir;
    Program program;
    Form1* form = nullptr;
    std::string chosen;
    int dialogs = 0;
};

TEST_P(ReloadOverAnswersInProgress, AsksFirstAndReplacesOnlyWithAFileRead) {
    const OverAnswers& c = GetParam();
    const selvo::ProgramState before = program.state;
    const std::string keptBefore = fileBytes(recoveryFile());
    const QStringList shownBefore = checkedOptions(*form);
    ASSERT_EQ(before.administration.currentItem, 3);
    ASSERT_FALSE(keptBefore.empty());

    chosen = c.outcome == Outcome::Refused ? selvo::utf8Of(dir.file("altrove") / "vuoto.csv")
             : c.outcome == Outcome::Read
                 ? selvo::utf8Of(dir.file("altrove") / "SELVO_GRP1_S01.csv")
                 : std::string();
    MessageBoxRecorder boxes; // "No" is pressed as the default button
    if (c.outcome != Outcome::No) {
        boxes.answerWith(QStringLiteral("Sì"));
    }
    whenSubjectFormOpens([](frmLogin&) {});
    press(c);

    ASSERT_FALSE(boxes.boxes().empty());
    const ShownBox& question = boxes.boxes()[0];
    EXPECT_EQ(question.title, "BrivanSELVO");
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons, QStringList({"Sì", "No"}));
    EXPECT_TRUE(question.text.contains("le risposte a 3 dei 94 item"))
        << question.text.toStdString();
    EXPECT_EQ(dialogs, c.outcome == Outcome::No ? 0 : 1);
    if (c.outcome != Outcome::Read) {
        EXPECT_EQ(program.state.administration.answers.agreement,
                  before.administration.answers.agreement);
        EXPECT_EQ(program.state.administration.answers.distress,
                  before.administration.answers.distress);
        EXPECT_EQ(program.state.administration.startedAt, before.administration.startedAt);
        EXPECT_EQ(program.state.administration.currentItem, 3);
        EXPECT_EQ(checkedOptions(*form), shownBefore);
        EXPECT_EQ(fileBytes(recoveryFile()), keptBefore);
        EXPECT_EQ(selvo::pathFromUtf8(program.state.outputFolder), dir.path());
        return;
    }
    EXPECT_EQ(program.state.administration.answers.agreement, savedSubject().answers.agreement);
    EXPECT_FALSE(fs::exists(recoveryFile())) << "the next start would offer the old answers";
    EXPECT_EQ(selvo::pathFromUtf8(program.state.outputFolder), dir.file("altrove"));

    // Moving over the reloaded answers shows them without recording them; a reloaded set lives
    // in its file, so reloading over it asks nothing.
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommIndietro")),
                      Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommAvanti")), Qt::LeftButton);
    EXPECT_EQ(program.state.administration.answers.agreement[3], 6);
    EXPECT_FALSE(fs::exists(recoveryFile())) << "showing a stored answer saved it";
    EXPECT_TRUE(program.state.administration.startedAt.empty());
    chosen.clear();
    const std::size_t shown = boxes.boxes().size();
    press(c);
    EXPECT_EQ(boxes.boxes().size(), shown);
    EXPECT_EQ(dialogs, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ReloadOverAnswersInProgress,
    testing::Values(OverAnswers{"SsNo", "Form1", "cmdLoadData", Outcome::No},
                    OverAnswers{"SsCancelled", "Form1", "cmdLoadData", Outcome::Cancelled},
                    OverAnswers{"SsRefused", "Form1", "cmdLoadData", Outcome::Refused},
                    OverAnswers{"SsRead", "Form1", "cmdLoadData", Outcome::Read},
                    OverAnswers{"MenuNo", "frmMain", "cmdMainSS", Outcome::No},
                    OverAnswers{"MenuRead", "frmMain", "cmdMainSS", Outcome::Read}),
    [](const testing::TestParamInfo<OverAnswers>& info) { return info.param.label; });

} // namespace
