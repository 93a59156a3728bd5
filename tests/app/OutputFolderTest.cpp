// SPDX-License-Identifier: GPL-3.0-or-later
// Where a clinic's files go: a folder of the clinic's, shown and chosen on the subject form,
// kept from one start to the next; and no visit replaced by another one without a question.
#include "app/OutputFolder.h"
#include "app/Application.h"
#include "datafiles/DataFile.h"
#include "datafiles/ui/OpenDialog.h"
#include "subject/ui/frmLogin.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/SubjectForm.h"
#include "support/TempDir.h"
#include "widgets/ElidedPathLabel.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

QString qpath(const fs::path& path) {
    return QDir::cleanPath(QString::fromStdString(selvo::utf8Of(path)));
}

TEST(OutputFolder, StartsWhereAClinicsFilesBelongOrInTheDocumentsFolder) {
    const TempDir dir;
    for (const char* folder : {"prog/bin", "win/System32", "casa/Pazienti", "sola-lettura"}) {
        fs::create_directories(dir.file(folder));
    }
    const StartFolders around{{},
                              qpath(dir.file("prog")),
                              qpath(dir.file("win")),
                              qpath(dir.file("casa")),
                              qpath(dir.file("casa/Documenti"))};
    const QString documents = qpath(dir.file("casa/Documenti/BrivanSelvo"));
    const auto writable = [](const QString& folder) { return !folder.endsWith("sola-lettura"); };
    const std::vector<std::pair<const char*, QString>> cases{
        {"casa/Pazienti", qpath(dir.file("casa/Pazienti"))},
        {"prog", documents},
        {"prog/bin", documents},
        {"win/System32", documents},
        {"casa", documents},
        {"sola-lettura", documents},
    };
    for (const auto& [started, expected] : cases) {
        StartFolders folders = around;
        folders.started = qpath(dir.file(started));
        EXPECT_EQ(DefaultOutputFolder(folders, writable), expected) << started;
    }

    const auto exists = [](const QString& folder) { return !folder.contains("chiavetta"); };
    EXPECT_EQ(StartingOutputFolder({}, documents, exists).folder, documents);
    const StartingFolder kept = StartingOutputFolder("/studio/dati", documents, exists);
    EXPECT_EQ(kept.folder, "/studio/dati");
    EXPECT_TRUE(kept.note.isEmpty());
    const StartingFolder gone = StartingOutputFolder("/media/chiavetta", documents, exists);
    EXPECT_EQ(gone.folder, documents);
    EXPECT_THAT(gone.note.toStdString(), HasSubstr("chiavetta\", non è raggiungibile"));
}

// As the Start-menu entry starts it on Windows: in the program's own folder.
TEST(OutputFolder, StartedInItsOwnFolderTheProgramWritesIntoTheDocumentsFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(selvo::pathFromUtf8(corePath(QCoreApplication::applicationDirPath())));
    const StartFolders folders = CurrentStartFolders();
    fs::current_path(before);
    EXPECT_EQ(DefaultOutputFolder(folders, [](const QString&) { return true; }),
              QDir::cleanPath(folders.documents + "/BrivanSelvo"));
    EXPECT_FALSE(folders.documents.isEmpty());
}

// A subject with a complete set of answers, as the questionnaire leaves it.
struct Program {
    selvo::ProgramState state;
    Application app{state};
    QStringList remembered;
    explicit Program(int seed) {
        answer(seed);
        app.rememberFolder = [this](const QString& folder) { remembered << folder; };
    }
    void answer(int seed) {
        for (int item = 1; item <= 94; ++item) {
            state.administration.answers.agreement[item] =
                static_cast<selvo::Integer>((item + seed) % 7 + 1);
            state.administration.answers.distress[item] = static_cast<selvo::Integer>(
                state.administration.answers.agreement[item] >= 5 ? 2 : 0);
        }
        state.setProcessed = false;
    }
    // The subject form, filled and confirmed (after `before` acts on it); closed with
    // "Annulla" when it is still open once the confirmation has run.
    void processFromForm(const std::function<void(frmLogin&)>& before = {}) {
        QTimer::singleShot(0, &app, [before] {
            // The form on screen: while it is shown modally, login() would make another.
            auto& form = *qobject_cast<frmLogin*>(QApplication::activeModalWidget());
            if (before) {
                before(form);
            }
            fillSubjectFormAndConfirm(form, QStringLiteral("nota"));
            if (form.isVisible()) {
                form.reject();
            }
        });
        app.execSubjectForm();
    }
};

TEST(OutputFolder, TheSubjectFormShowsTheFolderAndChangingItIsKept) {
    const TempDir dir;
    fs::create_directory(dir.file("scelta"));
    Program program(0);
    program.app.setOutputFolder(selvo::utf8Of(dir.path()), QStringLiteral("una nota"));
    QStringList offered;
    program.app.chooseFolder = [&](QWidget*, const QString& current) {
        offered << current;
        return offered.size() == 1 ? qpath(dir.file("manca")) : qpath(dir.file("scelta"));
    };
    MessageBoxRecorder boxes;
    QString shownBefore;
    program.processFromForm([&](frmLogin& form) {
        shownBefore = form.findChild<ElidedPathLabel*>()->path();
        QPushButton* change = form.findChild<QPushButton*>("cmdCartella");
        ASSERT_NE(change, nullptr);
        EXPECT_EQ(change->text(), "Cambia cartella...");
        change->click(); // a folder that cannot be written is refused
        EXPECT_EQ(form.outputFolder(), QDir::toNativeSeparators(qpath(dir.path())));
        change->click();
        EXPECT_EQ(form.outputFolder(), QDir::toNativeSeparators(qpath(dir.file("scelta"))));
        EXPECT_TRUE(form.findChild<ElidedPathLabel*>()->text().endsWith("scelta"));
    });
    EXPECT_EQ(shownBefore, QDir::toNativeSeparators(qpath(dir.path())));
    EXPECT_EQ(offered.size(), 2);
    ASSERT_GE(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].title, "CARTELLA NON UTILIZZABILE");
    EXPECT_EQ(program.remembered, QStringList{qpath(dir.file("scelta"))});
    EXPECT_TRUE(fs::exists(dir.file("scelta") / "SELVO_GRP1_S01.csv"));
    EXPECT_FALSE(fs::exists(dir.file("SELVO_GRP1_S01.csv")));
}

TEST(OutputFolder, TheDocumentsFolderIsMadeByTheFirstRun) {
    const TempDir dir;
    Program program(0);
    program.app.setOutputFolder(selvo::utf8Of(dir.file("Documenti") / "BrivanSelvo"), {}, true);
    MessageBoxRecorder boxes;
    program.processFromForm();
    EXPECT_TRUE(fs::exists(dir.file("Documenti") / "BrivanSelvo" / "SELVO_GRP1_S01.csv"));
}

// Another visit of the same surname and name is replaced only when the operator says so; the
// same administration processed again asks nothing.
TEST(OutputFolder, AnotherAdministrationIsReplacedOnlyAfterAYes) {
    const TempDir dir;
    const fs::path dataFile = dir.file("SELVO_GRP1_S01.csv");
    {
        Program first(0);
        first.app.setOutputFolder(selvo::utf8Of(dir.path()));
        MessageBoxRecorder boxes;
        first.processFromForm();
        first.processFromForm();
        EXPECT_EQ(boxes.boxes().size(), 2u) << "two profiles, no question";
    }
    const std::string firstVisit = fileBytes(dataFile);

    Program retest(3);
    retest.app.setOutputFolder(selvo::utf8Of(dir.path()));
    {
        MessageBoxRecorder boxes;
        retest.processFromForm();
        ASSERT_EQ(boxes.boxes().size(), 1u);
        const ShownBox& asked = boxes.boxes()[0];
        EXPECT_EQ(asked.title, "ALTRA SOMMINISTRAZIONE");
        EXPECT_THAT(asked.text.toStdString(), HasSubstr("\"SELVO_GRP1_S01.csv\" di GRP1 S01"));
        EXPECT_THAT(asked.text.toStdString(), HasSubstr("risposte diverse"));
        EXPECT_THAT(asked.text.toStdString(), HasSubstr("\"S01_T2\""));
        EXPECT_EQ(fileBytes(dataFile), firstVisit) << "No, the default, writes nothing";
    }
    {
        MessageBoxRecorder boxes;
        boxes.answerWith(QStringLiteral("Sì"));
        retest.processFromForm();
        ASSERT_EQ(boxes.boxes().size(), 2u);
        EXPECT_EQ(boxes.boxes()[1].title, "BrivanSELVO - Profilo");
        EXPECT_NE(fileBytes(dataFile), firstVisit);
    }
}

} // namespace
