// SPDX-License-Identifier: GPL-3.0-or-later

// The questionnaire's answers reaching the recovery file, and what ends it.
#include "administration/ui/RecoveryKeeper.h"
#include "administration/Recovery.h"
#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "menu/ui/frmMain.h"
#include "platform/DiskWrites.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A USB stick or a busy network folder: every flush takes half a second.
struct SlowDisk {
    SlowDisk() { selvo::delayFlushesForTesting(500ms); }
    ~SlowDisk() { selvo::delayFlushesForTesting(0ms); }
    SlowDisk(const SlowDisk&) = delete;
    SlowDisk& operator=(const SlowDisk&) = delete;
};

class KeptAdministration : public ::testing::Test {
protected:
    KeptAdministration() {
        app.recovery().useFolder(selvo::utf8Of(dir.file("dati")));
        form = &app.form1();
        form->showMessage = [](const QString&) {};
        form->show();
        keys = form->findChild<QWidget*>(QStringLiteral("CommAvanti"));
        QTest::keyClick(keys, Qt::Key_Return); // past the notice page
    }
    fs::path recoveryFile() const { return dir.file("dati") / selvo::kRecoveryFileName; }
    // Once the saves under way are written.
    selvo::RecoveryParse kept() {
        app.recovery().waitForSaves();
        return selvo::parseRecoveryFile(fileBytes(recoveryFile()));
    }

    TempDir dir;
    selvo::ProgramState state;
    Application app{state};
    Form1* form = nullptr;
    QWidget* keys = nullptr;
};

TEST_F(KeptAdministration, EachAnswerIsSaved) {
    QTest::keyClick(keys, '6');
    ASSERT_TRUE(kept().administration);
    EXPECT_EQ(kept().administration->answers.agreement[1], 6);
    EXPECT_EQ(kept().administration->answers.distress[1], 0);
    QTest::keyClick(keys, 'w');
    EXPECT_EQ(kept().administration->answers.distress[1], 2);
    EXPECT_EQ(kept().administration->startedAt, state.administration.startedAt);
    // A change of mind is kept too, and drops the distress answer with it.
    QTest::keyClick(keys, '2');
    EXPECT_EQ(kept().administration->answers.agreement[1], 2);
    EXPECT_EQ(kept().administration->answers.distress[1], 0);
}

// One answer, one save, by key or by mouse; showing stored answers again saves nothing.
TEST_F(KeptAdministration, EachAnswerSavesOnceAndMovingSavesNothing) {
    const auto savesFor = [this](const std::function<void()>& act) {
        const std::uint64_t before = selvo::diskWriteCounts().committedSets;
        act();
        app.recovery().waitForSaves();
        return selvo::diskWriteCounts().committedSets - before;
    };
    const auto click = [this](const char* name) {
        auto* option = form->findChild<QRadioButton*>(QString::fromLatin1(name));
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    };
    EXPECT_EQ(savesFor([&] { QTest::keyClick(keys, '6'); }), 1u) << "agreement by key";
    EXPECT_EQ(savesFor([&] { QTest::keyClick(keys, 'w'); }), 1u) << "distress by key";
    QTest::keyClick(keys, Qt::Key_Return);
    EXPECT_EQ(savesFor([&] { click("Option5"); }), 1u) << "agreement by mouse";
    EXPECT_EQ(savesFor([&] { click("OptionD3"); }), 1u) << "distress by mouse";
    EXPECT_EQ(savesFor([&] {
                  QTest::keyClick(keys, '5'); // the answer already given
                  QTest::keyClick(form->findChild<QWidget*>(QStringLiteral("CommIndietro")),
                                  Qt::Key_Space);
                  QTest::keyClick(keys, Qt::Key_Return);
              }),
              0u);
    EXPECT_EQ(state.administration.answers.distress[2], 3);
}

// Also while the last answers are still being saved: no save left over brings the file back.
TEST_F(KeptAdministration, ANewSubjectOrAProcessedSetLeavesNothingToRecover) {
    const std::vector<std::function<void()>> endings{
        [this] { app.beginNewSubject(); }, [this] { app.recovery().administrationProcessed(); }};
    for (const auto& end : endings) {
        QTest::keyClick(keys, '3');
        ASSERT_TRUE(kept().administration);
        {
            const SlowDisk slow;
            QTest::keyClick(keys, '4'); // being written
            QTest::keyClick(keys, '5'); // waiting its turn
            end();
        }
        EXPECT_FALSE(fs::exists(recoveryFile()));
        app.recovery().waitForSaves();
        EXPECT_FALSE(fs::exists(recoveryFile()));
        QTest::keyClick(keys, Qt::Key_Return);
    }
}

// Each key acts at once on the item on screen while the answers before it are written, and the
// answers reach the disk in the order given: the file never goes back to fewer answers.
TEST_F(KeptAdministration, ASlowDiskNeverHoldsUpTheSubject) {
    const auto* shownItem = form->findChild<QLineEdit*>(QStringLiteral("TextCurrentItem"));
    const auto onScreenWithin = [](const std::function<void()>& act) {
        QElapsedTimer clock;
        clock.start();
        act();
        QCoreApplication::processEvents(); // drawn
        return clock.elapsed();
    };
    const auto holdEnter = [this] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", false);
        QApplication::sendEvent(keys, &press);
        for (int repeat = 0; repeat < 10; ++repeat) {
            QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
            QApplication::sendEvent(keys, &again);
        }
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r", false);
        QApplication::sendEvent(keys, &release);
    };
    const std::vector<std::pair<char, char>> given{{'3', 0}, {'6', 'w'}, {'2', 0}, {'7', 'e'}};
    int onDisk = 0;
    const auto answeredOnDisk = [this] {
        const selvo::RecoveryParse read =
            selvo::parseRecoveryFile(fs::exists(recoveryFile()) ? fileBytes(recoveryFile()) : "");
        return read.administration ? read.administration->answeredItems : 0;
    };
    const SlowDisk slow;
    for (std::size_t at = 0; at < given.size(); ++at) {
        const int item = static_cast<int>(at) + 1;
        // Named copies, not a structured binding: clang 14 cannot capture bindings in lambdas.
        const char agreement = given[at].first;
        const char distress = given[at].second;
        EXPECT_LT(onScreenWithin([&] { QTest::keyClick(keys, agreement); }), 250) << item;
        EXPECT_EQ(state.administration.answers.agreement[item], agreement - '0');
        if (distress != 0) {
            EXPECT_LT(onScreenWithin([&] { QTest::keyClick(keys, distress); }), 250) << item;
            EXPECT_NE(state.administration.answers.distress[item], 0) << item;
        }
        EXPECT_LT(onScreenWithin(holdEnter), 250) << item;
        EXPECT_EQ(state.administration.currentItem, item + 1) << "a held Enter moves one item";
        EXPECT_EQ(shownItem->text().simplified(), QStringLiteral("%1 di 94").arg(item + 1));
        EXPECT_GE(answeredOnDisk(), onDisk);
        onDisk = answeredOnDisk();
    }
    // Watched while the last saves are written, then once the writer is idle.
    QElapsedTimer watch;
    watch.start();
    while (onDisk < 4 && watch.elapsed() < 10000) {
        QTest::qWait(20);
        EXPECT_GE(answeredOnDisk(), onDisk);
        onDisk = answeredOnDisk();
    }
    ASSERT_TRUE(kept().administration);
    for (std::size_t at = 0; at < given.size(); ++at) {
        const int item = static_cast<int>(at) + 1;
        EXPECT_EQ(kept().administration->answers.agreement[item], given[at].first - '0') << item;
        EXPECT_EQ(kept().administration->answers.distress[item],
                  state.administration.answers.distress[item])
            << item;
    }
}

TEST_F(KeptAdministration, ProcessingAReloadedSetKeepsAnotherAdministrationsAnswers) {
    QTest::keyClick(keys, '3');
    state.administration.startedAt.clear(); // as a reload leaves it
    app.recovery().administrationProcessed();
    app.recovery().waitForSaves();
    EXPECT_TRUE(fs::exists(recoveryFile()));
}

TEST_F(KeptAdministration, AFailedSaveIsReportedOnceAndTheAdministrationGoesOn) {
    fs::create_directory(recoveryFile()); // a folder where the file should go
    const MessageBoxRecorder boxes;
    QTest::keyClick(keys, '3');
    QTest::keyClick(keys, Qt::Key_Return);
    QTest::keyClick(keys, '4');
    app.recovery().waitForSaves();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "BrivanSELVO");
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith(
        "Impossibile salvare le risposte per riprendere la somministrazione"));
    EXPECT_EQ(state.administration.answers.agreement[2], 4);
}

// The questionnaire closed by mistake part-way and opened again from the main menu.
class ClosedByMistake : public KeptAdministration {
protected:
    ClosedByMistake() {
        for (const char step : {'3', '2', '4'}) {
            QTest::keyClick(keys, step);
            QTest::keyClick(keys, Qt::Key_Return);
        }
        app.recovery().waitForSaves();
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void reopen() {
        app.mainMenu().findChild<QPushButton*>(QStringLiteral("cmdMainSOMM"))->click();
    }
};

TEST_F(ClosedByMistake, ReopeningOffersToGoOnWhereTheSubjectWas) {
    MessageBoxRecorder boxes;
    boxes.answerWith(QStringLiteral("Sì"));
    reopen();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.contains("contiene le risposte a 3 dei 94 item"));
    ASSERT_TRUE(app.isForm1Loaded());
    EXPECT_TRUE(app.form1().isVisible());
    EXPECT_EQ(state.administration.currentItem, 4);
    EXPECT_EQ(state.administration.answers.agreement[3], 4);
    EXPECT_TRUE(fs::exists(recoveryFile()));
}

TEST_F(ClosedByMistake, StartingAfreshAsksOnceMoreThenClearsTheAnswersAndTheFile) {
    MessageBoxRecorder boxes;
    boxes.answerInTurn({QStringLiteral("No"), QStringLiteral("Sì")});
    reopen();
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(boxes.boxes()[1].text.contains("Eliminarle?"));
    EXPECT_EQ(state.administration.currentItem, 0);
    EXPECT_EQ(state.administration.answers.agreement[1], 0);
    EXPECT_FALSE(fs::exists(recoveryFile()));
}

#ifndef _WIN32 // POSIX permissions and users
// The folder is the clinician's own (made 0700 for root here), so the test user may not
// remove the answers left in it.
TEST_F(ClosedByMistake, AFailedRemovalIsToldWithThePathAndTheReason) {
    chmod(dir.path().c_str(), 0755);
    MessageBoxRecorder boxes;
    boxes.answerInTurn({QStringLiteral("No"), QStringLiteral("Sì")});
    {
        const Unprivileged asUser;
        reopen();
    }
    ASSERT_EQ(boxes.boxes().size(), 3u) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(boxes.boxes()[2].text,
              QStringLiteral("Impossibile eliminare il file con le risposte della "
                             "somministrazione interrotta, \"%1\": permesso negato (la "
                             "cartella o il file non sono scrivibili).\n\nIl file è rimasto "
                             "nella cartella e, finché resta lì, all'avvio il programma "
                             "proporrà di riprendere quelle risposte. Per eliminarle, "
                             "cancellare il file a mano.")
                  .arg(QString::fromStdString(recoveryFile().string())));
    EXPECT_TRUE(fs::exists(recoveryFile()));
}

// Answers left in a data folder that the program can no longer write (here: mode 0500).
class UnwritableFolder : public ::testing::Test {
protected:
    UnwritableFolder() {
        chmod(dir.path().c_str(), 0755);
        fs::create_directory(folder());
        EXPECT_EQ(chown(folder().c_str(), 65534, 65534), 0);
        selvo::ProgramState kept;
        for (int item = 1; item <= 3; ++item) {
            kept.administration.answers.agreement[item] = 3;
        }
        kept.administration.startedAt = "08/12/2026 09:15:02";
        {
            const Unprivileged asUser;
            selvo::RecoveryStore::Opening opening = selvo::RecoveryStore::open(utf8(folder()));
            EXPECT_TRUE(opening.store && !opening.store->save(kept.administration));
        }
        chmod(folder().c_str(), 0500);
        before = fileBytes(folder() / selvo::kRecoveryFileName);
        asUser.emplace();
    }
    ~UnwritableFolder() override { chmod(folder().c_str(), 0700); }
    fs::path folder() const { return dir.file("dati"); }
    static std::string utf8(const fs::path& path) { return selvo::utf8Of(path); }
    void startUp(const QStringList& answers) {
        boxes.answerInTurn(answers);
        app.recovery().useFolder(utf8(folder()));
        app.recovery().offerAtStartUp();
    }

    TempDir dir;
    std::string before;
    selvo::ProgramState state;
    Application app{state};
    MessageBoxRecorder boxes;
    std::optional<Unprivileged> asUser;
};

TEST_F(UnwritableFolder, TheAnswersAreOfferedWithAWarningAndResumedInMemory) {
    startUp({QStringLiteral("OK"), QStringLiteral("Sì")});
    ASSERT_EQ(boxes.boxes().size(), 2u) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(boxes.boxes()[0].text,
              QStringLiteral("Nella cartella \"%1\", in cui il programma salva le risposte "
                             "durante la somministrazione, non si può scrivere: permesso negato "
                             "(la cartella o il file non sono scrivibili).\n\nLa "
                             "somministrazione interrotta trovata lì può comunque essere "
                             "ripresa, ma le risposte date da ora in poi non potranno essere "
                             "salvate: se il programma si chiude per errore, andranno perse. "
                             "Per conservarle, rendere scrivibile la cartella e riaprire il "
                             "programma.")
                  .arg(QString::fromStdString(utf8(folder()))));
    EXPECT_TRUE(boxes.boxes()[1].text.contains("contiene le risposte a 3 dei 94 item"));
    ASSERT_TRUE(app.isForm1Loaded());
    EXPECT_EQ(state.administration.currentItem, 4);

    app.form1().showMessage = [](const QString&) {};
    QTest::keyClick(app.form1().findChild<QWidget*>(QStringLiteral("CommAvanti")), '2');
    EXPECT_EQ(state.administration.answers.agreement[4], 2);
    EXPECT_EQ(boxes.boxes().size(), 2u) << "told once, at start-up";
    EXPECT_EQ(fileBytes(folder() / selvo::kRecoveryFileName), before);
}

TEST_F(UnwritableFolder, ConfirmedRemovalThatFailsIsTold) {
    startUp({QStringLiteral("OK"), QStringLiteral("No"), QStringLiteral("Sì")});
    ASSERT_EQ(boxes.boxes().size(), 4u) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(boxes.boxes()[3].text.startsWith(
        QStringLiteral("Impossibile eliminare il file con le risposte della somministrazione "
                       "interrotta, \"%1\": permesso negato")
            .arg(QString::fromStdString(utf8(folder() / selvo::kRecoveryFileName)))))
        << boxes.boxes()[3].text.toStdString();
    EXPECT_FALSE(app.isForm1Loaded());
    EXPECT_EQ(fileBytes(folder() / selvo::kRecoveryFileName), before);
}
#endif

} // namespace
