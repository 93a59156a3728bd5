// SPDX-License-Identifier: GPL-3.0-or-later
// Reloading a data file: the subject form filled from it, the folder later outputs go to,
// and the files refused with the reader's reason.

#include "app/Reload.h"

#include "ReloadFixture.h"
#include "administration/ui/Form1.h"
#include "datafiles/DataFile.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace reload_fixture;

TEST(ReloadDataFile, ShowsTheSubjectFormFilledWithTheReloadedSubject) {
    const TempDir dir;
    Program program;
    const fs::path file =
        writeDataFile(dir.file("saved.csv"), testsupport::dataFileOf(savedSubject()));
    QStringList checked;
    QString surname;
    whenSubjectFormOpens([&](frmLogin& form) {
        checked = checkedOptions(form);
        surname = form.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->text();
    });
    ReloadDataFile(program.app, file.string());

    EXPECT_EQ(checked, QStringList({"FEMMINA", "Divorziato/a", "Laurea/Specializzazione"}));
    EXPECT_EQ(surname, "GRP1");
    ASSERT_TRUE(program.state.setOnDisk);
    EXPECT_EQ(program.state.setOnDisk->dataFile, file.string());
    EXPECT_EQ(program.state.subject.card, 7);
    EXPECT_TRUE(selvo::isTrue(program.state.administration.allAnswered));
    EXPECT_FALSE(program.app.form1().isVisible()); // brought in line, not shown
}

// The reloaded file's folder receives that subject's files and those of the next subjects of
// the sitting; the folder the program started in gets none.
TEST(ReloadDataFile, LaterSubjectsOfTheSittingWriteBesideTheReloadedFile) {
    const TempDir dir;
    fs::create_directory(dir.file("altrove"));
    const fs::path file = writeDataFile(dir.file("altrove") / "SELVO_GRP1_S01.csv",
                                        testsupport::dataFileOf(savedSubject()));
    Program program;
    MessageBoxRecorder boxes;
    const auto confirm = [](frmLogin& form) {
        form.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    };
    whenSubjectFormOpens(confirm, false);
    ReloadDataFile(program.app, file.string());

    program.app.beginNewSubject();
    program.state.subject.name = "S02";
    program.state.subject.surname = "GRP2";
    program.state.subject.age = "40";
    program.state.subject.sex = program.state.subject.marital = program.state.subject.education =
        "1";
    frmLogin& next = program.app.login();
    next.showSubjectRecord(selvo::SubjectEntryOf(program.state.subject));
    next.show();
    confirm(next);

    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"altrove"});
    for (const char* name : {"SELVO_GRP1_S01.csv", "SELVO_GRP2_S02.csv"}) {
        EXPECT_TRUE(fs::exists(dir.file("altrove") / name)) << name;
    }
    EXPECT_EQ(namesIn(dir.file("altrove")).size(), 6u) << boxes.texts().join("\n").toStdString();
}

// A save cut short on a FAT stick leaves zeros after the record: the subject is loaded, and the
// operator is told the file was damaged before the form opens.
TEST(ReloadDataFile, AWholeRecordBeforeZeroBytesLoadsWithANote) {
    const TempDir dir;
    Program program;
    const fs::path file = writeDataFile(
        dir.file("saved.csv"), testsupport::dataFileOf(savedSubject()) + std::string(512, '\0'));
    MessageBoxRecorder boxes;
    bool formOpened = false;
    whenSubjectFormOpens([&](frmLogin&) { formOpened = boxes.boxes().size() == 1; });
    ReloadDataFile(program.app, file.string());

    ASSERT_TRUE(formOpened);
    EXPECT_EQ(boxes.boxes()[0].title, "FILE DANNEGGIATO");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("512 byte nulli"))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_EQ(program.state.subject.surname, "GRP1");
    EXPECT_TRUE(selvo::isTrue(program.state.administration.allAnswered));
}

TEST(ReloadDataFile, RefillsAFormAlreadyLoadedWithAnotherSubject) {
    const TempDir dir;
    Program program;
    program.state.subject.name = "Altro";
    program.state.subject.sex = "1";
    program.app.login(); // loaded with the earlier subject
    const fs::path file =
        writeDataFile(dir.file("saved.csv"), testsupport::dataFileOf(savedSubject()));
    QString name;
    QStringList checked;
    whenSubjectFormOpens([&](frmLogin& form) {
        name = form.findChild<QLineEdit*>(QStringLiteral("txtUserName"))->text();
        checked = checkedOptions(form);
    });
    ReloadDataFile(program.app, file.string());
    EXPECT_EQ(name, "S01");
    EXPECT_EQ(checked, QStringList({"FEMMINA", "Divorziato/a", "Laurea/Specializzazione"}));
}

TEST(ReloadDataFile, CodesOfZeroSelectNothing) {
    const TempDir dir;
    Program program;
    testsupport::TestSubject saved = savedSubject();
    saved.subject.sex = saved.subject.marital = saved.subject.education = "0";
    const fs::path file = writeDataFile(dir.file("saved.csv"), testsupport::dataFileOf(saved));
    QStringList checked{"not inspected"};
    whenSubjectFormOpens([&](frmLogin& form) { checked = checkedOptions(form); });
    ReloadDataFile(program.app, file.string());
    EXPECT_TRUE(checked.isEmpty()) << checked.join(',').toStdString();
}

TEST(ReloadDataFile, IncompleteFileKeepsItsAnswersWhenTheAdministrationFormWasNeverLoaded) {
    const TempDir dir;
    Program program;
    const testsupport::TestSubject saved = savedSubject(50);
    const fs::path file = writeDataFile(dir.file("saved.csv"), testsupport::dataFileOf(saved));
    MessageBoxRecorder question;
    question.answerWith(QStringLiteral("Sì"));
    whenSubjectFormOpens([](frmLogin&) {});
    ReloadDataFile(program.app, file.string());

    EXPECT_EQ(program.state.administration.answers.agreement, saved.answers.agreement);
    EXPECT_EQ(program.state.administration.answers.distress, saved.answers.distress);
    EXPECT_EQ(program.state.subject.sex, "2");
    EXPECT_EQ(program.state.subject.education, "5");
    EXPECT_FALSE(selvo::isTrue(program.state.administration.allAnswered));
    EXPECT_FALSE(program.app.loadingForReload);
}

TEST(ReloadDataFile, IncompleteFileAsksFirstAndOpensTheSubjectFormOnlyOnSi) {
    const TempDir dir;
    Program program;
    testsupport::TestSubject saved = savedSubject();
    saved.answers.agreement[17] = 0;
    saved.answers.distress[52] = 0; // agreement 6 without its distress answer
    saved.answers.agreement[94] = 0;
    const fs::path file = writeDataFile(dir.file("saved.csv"), testsupport::dataFileOf(saved));

    bool subjectFormOpened = false;
    {
        MessageBoxRecorder question;
        question.answerWith(QStringLiteral("No"));
        whenSubjectFormOpens([&](frmLogin&) { subjectFormOpened = true; });
        ReloadDataFile(program.app, file.string());
        ASSERT_EQ(question.boxes().size(), 1u);
        const ShownBox& box = question.boxes()[0];
        EXPECT_EQ(box.title, "BrivanSELVO");
        EXPECT_EQ(box.icon, QMessageBox::Question);
        EXPECT_TRUE(box.text.contains("Mancano le risposte agli item 17, 52 e 94."))
            << box.text.toStdString();
        EXPECT_EQ(box.buttons, QStringList({"Sì", "No"}));
    }
    QApplication::processEvents();
    EXPECT_FALSE(subjectFormOpened);
    EXPECT_FALSE(program.app.login().isVisible());

    MessageBoxRecorder question;
    question.answerWith(QStringLiteral("Sì"));
    ReloadDataFile(program.app, file.string());
    EXPECT_TRUE(subjectFormOpened);
    EXPECT_EQ(question.boxes().size(), 1u);
}

struct BadFile {
    const char* label;
    std::string bytes; // nothing is written when empty and `exists` is false
    bool exists;
    const char* reason;
};
void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.label;
}

class ReloadRefuses : public testing::TestWithParam<BadFile> {};

TEST_P(ReloadRefuses, ShowsTheReadersErrorAndChangesNothing) {
    const TempDir dir;
    Program program;
    program.state.setOnDisk = selvo::StoredSet{"/earlier.csv", {}, "Rossi", "Anna"};
    program.state.subject.name = "Anna";
    program.state.administration.answers.agreement[12] = 3;
    const selvo::ProgramState before = program.state;
    fs::create_directory(dir.file("altrove"));
    const fs::path file = dir.file("altrove") / "chosen.csv";
    if (GetParam().exists) {
        writeDataFile(file, GetParam().bytes);
    }
    MessageBoxRecorder boxes;
    ReloadDataFile(program.app, file.string());

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.contains(QString::fromStdString(file.string())))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_TRUE(boxes.boxes()[0].text.contains(QString::fromUtf8(GetParam().reason)))
        << boxes.boxes()[0].text.toStdString();
    ASSERT_TRUE(program.state.setOnDisk);
    EXPECT_EQ(program.state.setOnDisk->dataFile, before.setOnDisk->dataFile);
    EXPECT_EQ(program.state.subject.name, before.subject.name);
    EXPECT_EQ(program.state.administration.answers.agreement,
              before.administration.answers.agreement);
    EXPECT_FALSE(program.app.isLoginLoaded());
    EXPECT_FALSE(program.app.isForm1Loaded());
    EXPECT_EQ(selvo::pathFromUtf8(program.state.outputFolder), dir.path())
        << "the next outputs would land beside it";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReloadRefuses,
    testing::Values(BadFile{"Missing", "", false, "inesistente"},
                    BadFile{"Empty", "", true, "vuoto"},
                    BadFile{"Truncated", "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"3\",\"\",1,2\r\n",
                            true, "campi"}),
    [](const testing::TestParamInfo<BadFile>& info) { return info.param.label; });

} // namespace
