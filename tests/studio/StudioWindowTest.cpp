// SPDX-License-Identifier: GPL-3.0-or-later

// The real Studio window, driven offscreen: what it plans before writing, what it writes
// (selvo-batch's files, byte for byte), and how it stops.
#include "studio/StudioWindow.h"
#include "studio/StudioList.h"

#include "batch/BatchRun.h"
#include "datafiles/DataFile.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <QCheckBox>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

// A subject whose answers vary with `seed`, as a questionnaire would leave them.
testsupport::TestSubject subject(int seed, const std::string& name) {
    return {testsupport::studySubject(seed, "Studio", name), testsupport::variedAnswers(seed)};
}

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// `count` data files named d000.csv, d001.csv, ... in `folder`, each its own subject.
void writeSubjects(const fs::path& folder, int count) {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "d%03d.csv", i);
        write(folder / name, testsupport::dataFileOf(subject(i, "N" + std::to_string(i))));
    }
}

std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = fileBytes(entry.path());
    }
    return files;
}

template <typename Done> bool waitFor(Done done, int milliseconds = 60000) {
    for (int waited = 0; !done() && waited < milliseconds; waited += 10) {
        QTest::qWait(10);
    }
    return done();
}

std::map<StudioRow::State, int> statesOf(const StudioWindow& window) {
    std::map<StudioRow::State, int> states;
    for (const StudioRow& row : window.rows().rows()) {
        ++states[row.state];
    }
    return states;
}

const StudioRow& rowOf(const StudioWindow& window, const std::string& fileName) {
    for (const StudioRow& row : window.rows().rows()) {
        if (fs::path(row.file.toStdString()).filename() == fileName) {
            return row;
        }
    }
    throw std::runtime_error("no row for " + fileName);
}

// A window with the folder's files planned, writing into `out`.
struct PlannedWindow {
    StudioWindow window;
    PlannedWindow(const fs::path& inputs, const fs::path& out) {
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        window.show();
        window.setOutputFolder(QString::fromStdString(out.string()));
        window.addPaths({QString::fromStdString(inputs.string())});
        EXPECT_TRUE(waitFor([this] { return !window.planning(); }));
    }
    void enter() { QTest::keyClick(&window, Qt::Key_Return); }
};

TEST(StudioWindow, ShowsRefusalsBeforeRunningAndWritesWhatSelvoBatchWrites) {
    const TempDir dir;
    writeSubjects(dir.file("study"), 27);
    write(dir.file("study") / "unreadable.csv", "not,a,data,file\r\n");
    write(dir.file("study") / "visit1.csv", testsupport::dataFileOf(subject(90, "Twice")));
    write(dir.file("study") / "visit2.csv", testsupport::dataFileOf(subject(91, "Twice")));
    fs::create_directories(dir.file("out"));
    PlannedWindow planned(dir.file("study"), dir.file("out"));
    StudioWindow& window = planned.window;

    ASSERT_EQ(window.rows().rows().size(), 30u);
    EXPECT_EQ(statesOf(window)[StudioRow::State::Refused], 3);
    EXPECT_FALSE(rowOf(window, "unreadable.csv").detail.isEmpty());
    EXPECT_TRUE(rowOf(window, "visit1.csv").detail.contains(QStringLiteral("visit2.csv")));
    EXPECT_TRUE(rowOf(window, "visit2.csv").detail.contains(QStringLiteral("visit1.csv")));
    EXPECT_TRUE(fs::is_empty(dir.file("out"))) << "planning writes nothing";

    window.findChild<QCheckBox*>(QStringLiteral("pseudonyms"))->setChecked(true);
    ASSERT_TRUE(waitFor([&window] { return !window.planning(); }));
    planned.enter();
    ASSERT_TRUE(waitFor([&window] { return !window.running(); }));
    EXPECT_EQ(statesOf(window)[StudioRow::State::Written], 27);
    EXPECT_EQ(statesOf(window)[StudioRow::State::Failed], 3);

    // selvo-batch over the same folder with the same options.
    fs::create_directories(dir.file("clikey"));
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(
        selvo::BatchMain({"--out", dir.file("cli").string(), "--dataset", "studio", "--pseudonimi",
                          "--chiave", (dir.file("clikey") / "studio_chiave.csv").string(),
                          dir.file("study").string()},
                         out, err, selvo::ProgressLine::None),
        1);
    const auto written = filesIn(dir.file("out"));
    EXPECT_EQ(written.size(), 27u * 3 + 4);
    EXPECT_EQ(written, filesIn(dir.file("cli")));
    EXPECT_EQ(fileBytes(dir.file("chiavi") / "studio_chiave.csv"),
              fileBytes(dir.file("clikey") / "studio_chiave.csv"));
    const QString counts = QStringLiteral("27 file elaborati, 3 non riusciti; 27 casi scritti in ");
    EXPECT_TRUE(window.summary().startsWith(counts)) << window.summary().toStdString();
    EXPECT_NE(out.str().find(counts.toStdString()), std::string::npos);

    // The list a spreadsheet opens: UTF-8 with a byte-order mark, CR LF, one line per row.
    const fs::path list = dir.file("elenco.csv");
    ASSERT_FALSE(SaveStudioList(list.string(), window.rows().rows()));
    const std::string saved = fileBytes(list);
    EXPECT_EQ(saved.rfind("\xEF\xBB\xBF\"Cognome\"", 0), 0u);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 31);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\r'), 31);
}

TEST(StudioWindow, CancelHalfWayLeavesTheTableTheFolderAndTheOlderDatasetInAgreement) {
    const TempDir dir;
    writeSubjects(dir.file("study"), 300);
    fs::create_directories(dir.file("out"));
    write(dir.file("out") / "studio.csv", "an older dataset");
    PlannedWindow planned(dir.file("study"), dir.file("out"));
    StudioWindow& window = planned.window;
    window.setProgressHookForTest([&window](std::size_t seen) {
        if (seen == 150) {
            window.requestStop();
        }
    });
    planned.enter();
    ASSERT_TRUE(waitFor([&window] { return !window.running(); }));

    EXPECT_EQ(statesOf(window)[StudioRow::State::Written], 150);
    EXPECT_EQ(statesOf(window)[StudioRow::State::NotReached], 150);
    for (const StudioRow& row : window.rows().rows()) {
        const fs::path report =
            dir.file("out") / ("SELVO_Studio_" + row.name.toStdString() + ".csv");
        EXPECT_EQ(fs::exists(report), row.state == StudioRow::State::Written) << report;
    }
    for (const auto& [name, bytes] : filesIn(dir.file("out"))) {
        EXPECT_NE(name.rfind(".selvo-", 0), 0u) << "temporary left: " << name;
    }
    EXPECT_EQ(fileBytes(dir.file("out") / "studio.csv"), "an older dataset");
    EXPECT_TRUE(window.summary().contains(QStringLiteral("interrotta: 150 file non sono stati "
                                                         "elaborati")))
        << window.summary().toStdString();
}

// A name or a reason comes from a data file: a spreadsheet must show it, never run it.
TEST(StudioList, QuotesEveryFieldAndGuardsFormulas) {
    const StudioRow row{QStringLiteral("a.csv"),          QStringLiteral("=1+1"),
                        QStringLiteral("Mario \"Bepi\""), QStringLiteral("C:/studio"),
                        StudioRow::State::Written,        {}};
    EXPECT_EQ(ComposeStudioList({row}),
              "\xEF\xBB\xBF\"Cognome\",\"Nome\",\"File\",\"Cartella\",\"Stato\"\r\n"
              "\"'=1+1\",\"Mario \"\"Bepi\"\"\",\"a.csv\",\"C:/studio\",\"Scritto\"\r\n");
}

void drop(StudioWindow& window, const fs::path& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
    // A drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

// A dropped folder gives its data files, with its subfolders' when asked; an earlier run's
// dataset beside them is left out, and a file dropped twice is planned once.
TEST(StudioWindow, DroppedFoldersGiveTheirDataFilesAndARepeatIsShownAsSuch) {
    const TempDir dir;
    writeSubjects(dir.file("study"), 1);
    writeSubjects(dir.file("study") / "sub", 0);
    write(dir.file("study") / "sub" / "b.csv", testsupport::dataFileOf(subject(7, "B")));
    write(dir.file("study") / "studio.csv", "ID,Cognome,Nome\r\n");
    StudioWindow window;
    drop(window, dir.file("study"));
    window.findChild<QCheckBox*>(QStringLiteral("subfolders"))->setChecked(true);
    drop(window, dir.file("study"));
    ASSERT_TRUE(waitFor([&window] { return !window.planning(); }));

    ASSERT_EQ(window.rows().rows().size(), 3u);
    const std::vector<std::string> names{"d000.csv", "d000.csv", "b.csv"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(fs::path(window.rows().rows()[i].file.toStdString()).filename(), names[i]);
    }
    EXPECT_EQ(window.rows().rows()[1].state, StudioRow::State::Repeated);
    EXPECT_EQ(statesOf(window)[StudioRow::State::Ready], 2);
}

// selvo-batch would refuse the whole run: the window says why and Enter writes nothing.
TEST(StudioWindow, ADatasetThatWouldReplaceAnInputIsRefusedBeforeRunning) {
    const TempDir dir;
    fs::create_directories(dir.file("study"));
    write(dir.file("study") / "studio.csv", testsupport::dataFileOf(subject(1, "A")));
    PlannedWindow planned(dir.file("study"), dir.file("study"));
    const auto before = filesIn(dir.file("study"));
    planned.enter();
    EXPECT_FALSE(planned.window.running());
    EXPECT_TRUE(planned.window.summary().startsWith(QStringLiteral("Il dataset «studio»: "
                                                                   "studio.csv sostituirebbe")))
        << planned.window.summary().toStdString();
    EXPECT_FALSE(planned.window.summary().contains(QStringLiteral("--")));
    EXPECT_EQ(filesIn(dir.file("study")), before);
}

// Two files of one subject are both refused; removing one (Del) plans the other afresh.
TEST(StudioWindow, DelRemovesTheSelectedInputAndThePlanFollows) {
    const TempDir dir;
    fs::create_directories(dir.file("study"));
    write(dir.file("study") / "visit1.csv", testsupport::dataFileOf(subject(90, "Twice")));
    write(dir.file("study") / "visit2.csv", testsupport::dataFileOf(subject(91, "Twice")));
    fs::create_directories(dir.file("out"));
    PlannedWindow planned(dir.file("study"), dir.file("out"));
    StudioWindow& window = planned.window;
    ASSERT_EQ(statesOf(window)[StudioRow::State::Refused], 2);

    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* table = window.findChild<QTableView*>();
    table->setFocus();
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_Delete);
    ASSERT_TRUE(waitFor([&window] { return !window.planning(); }));
    ASSERT_EQ(window.rows().rows().size(), 1u);
    EXPECT_EQ(rowOf(window, "visit2.csv").state, StudioRow::State::Ready);
}

// Esc asks first, "No" the default, so a stray Esc never stops a long run; "Sì" stops it.
TEST(StudioWindow, EscAsksBeforeCancellingAndEnterStarts) {
    const TempDir dir;
    writeSubjects(dir.file("study"), 20);
    fs::create_directories(dir.file("out"));
    PlannedWindow planned(dir.file("study"), dir.file("out"));
    StudioWindow& window = planned.window;
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    window.setProgressHookForTest([&held, &release](std::size_t seen) {
        if (seen == 5) {
            held = true;
            while (!release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    for (const bool stop : {false, true}) {
        held = false;
        release = false;
        planned.enter();
        ASSERT_TRUE(waitFor([&held] { return held.load(); }));
        MessageBoxRecorder boxes;
        if (stop) {
            boxes.answerWith(QStringLiteral("Sì"));
        }
        QTest::keyClick(&window, Qt::Key_Escape);
        release = true;
        ASSERT_TRUE(waitFor([&window] { return !window.running(); }));
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(statesOf(window)[StudioRow::State::Written], stop ? 5 : 20);
        EXPECT_EQ(window.summary().contains(QStringLiteral("interrotta")), stop);
    }
}

} // namespace
