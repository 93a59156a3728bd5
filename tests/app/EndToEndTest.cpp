// SPDX-License-Identifier: GPL-3.0-or-later

// One administration through the windows, as an operator and a subject go through it, and the
// reload of the data file it leaves behind.
#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "datafiles/ui/OpenDialog.h"
#include "menu/ui/frmMain.h"
#include "menu/ui/frmSplash.h"
#include "processing/ProcessData.h"
#include "profile/ui/ResultsWindow.h"
#include "subject/ui/frmLogin.h"
#include "support/ExternalTool.h"
#include "support/FileBytes.h"
#include "support/ProfileOnScreen.h"
#include "support/SubjectForm.h"
#include "support/TempDir.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const kData = "SELVO_GRP1_S01.csv";
const char* const kReport = "SELVO_GRP1_S01_report.rtf";
const char* const kExport = "SELVO_SS000_GRP1_S01_sps.sps";

// The subject's answers: every step of both scales occurs.
int agreementOf(int item) {
    return (item * 5 + 3) % 7 + 1;
}
int distressOf(int item) {
    return item % 3 + 1;
}

struct Program {
    selvo::ProgramState state;
    Application app{state};
    Program() {
        app.showOpenDialog = ShowOpenDialog;
        Main(app);
        QTest::keyClick(&app.splash(), Qt::Key_A);
        QApplication::processEvents();
    }
};

template <typename W> W& control(QWidget& window, const char* name) {
    W* found = window.findChild<W*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *found;
}

// Runs `act` on each modal window as it comes up, until `act` says it is done.
void whileModalsOpen(const std::function<bool(QWidget&)>& act) {
    auto* poll = new QTimer; // deletes itself once done
    auto handled = std::make_shared<QPointer<QWidget>>();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handled, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == handled->data() || !modal->isVisible()) {
            return;
        }
        *handled = modal;
        if (act(*modal)) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

void fillAndConfirm(frmLogin& form) {
    fillSubjectFormAndConfirm(form, QStringLiteral("prima visita"));
}

// The profile window that ends a successful run: its files text and its table are kept, and
// it is closed.
std::map<std::string, std::string> g_profileTable;
bool answerSuccessBox(QWidget& modal, QString* text = nullptr) {
    auto* results = qobject_cast<ResultsWindow*>(&modal);
    if (results == nullptr) {
        return false;
    }
    if (text != nullptr) {
        *text = results->writtenFilesText();
    }
    g_profileTable = tableDimensionalScores(*results);
    QTest::mouseClick(&control<QPushButton>(*results, "cmdClose"), Qt::LeftButton);
    return true;
}

// Main menu, questionnaire, every item from the keyboard, subject form filled and confirmed.
void administer(Program& program, QString* successText = nullptr) {
    QTest::mouseClick(&control<QPushButton>(program.app.mainMenu(), "cmdMainSOMM"), Qt::LeftButton);
    Form1& questionnaire = program.app.form1();
    ASSERT_TRUE(questionnaire.isVisible());
    // Whatever control has the focus, the window sees the keys first.
    QWidget* keys = &control<QWidget>(questionnaire, "CommAvanti");
    QTest::keyClick(keys, Qt::Key_Return); // past the notice page
    for (int item = 1; item <= 94; ++item) {
        QTest::keyClick(keys, static_cast<char>('0' + agreementOf(item)));
        if (agreementOf(item) >= 5) {
            QTest::keyClick(keys, "qwe"[distressOf(item) - 1]);
        }
        QTest::keyClick(keys, Qt::Key_Return);
    }
    QPushButton& process = control<QPushButton>(questionnaire, "CommSaveData");
    ASSERT_TRUE(process.isVisible());

    whileModalsOpen([successText](QWidget& modal) {
        if (auto* form = qobject_cast<frmLogin*>(&modal)) {
            // Confirmed outside this poll, which must still run to answer the box that follows.
            QTimer::singleShot(0, form, [form] { fillAndConfirm(*form); });
            return false;
        }
        if (answerSuccessBox(modal, successText)) {
            return true;
        }
        ADD_FAILURE() << "unexpected window " << modal.windowTitle().toStdString();
        modal.close();
        return false;
    });
    QTest::mouseClick(&process, Qt::LeftButton);
}

std::string withoutDate(std::string report) {
    return std::regex_replace(report, std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)"), "<date>");
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> split;
    std::stringstream in(line.substr(0, line.find("\r\n")));
    for (std::string field; std::getline(in, field, ',');) {
        split.push_back(field);
    }
    return split;
}

// What the core writes for the same subject and answers.
std::map<std::string, std::string> coreFiles(const fs::path& folder, selvo::ProgramState& core) {
    for (int item = 1; item <= 94; ++item) {
        core.administration.answers.agreement[item] =
            static_cast<selvo::Integer>(agreementOf(item));
        core.administration.answers.distress[item] =
            static_cast<selvo::Integer>(agreementOf(item) >= 5 ? distressOf(item) : 0);
    }
    core.subject.name = "S01";
    core.subject.surname = "GRP1";
    core.subject.age = "35";
    core.subject.sex = "2";
    core.subject.marital = "2";
    core.subject.education = "4";
    core.subject.notes = "prima visita";
    fs::create_directories(folder);
    EXPECT_FALSE(selvo::ProcessData(core.subject, core.administration.answers,
                                    selvo::utf8Of(fs::absolute(folder)))
                     .has_value());
    return {{kData, fileBytes(folder / kData)},
            {kReport, fileBytes(folder / kReport)},
            {kExport, fileBytes(folder / kExport)}};
}

TEST(EndToEnd, AdministrationThroughTheWindowsWritesTheThreeFiles) {
    const TempDir dir;
    fs::create_directory(dir.file("session"));
    fs::current_path(dir.file("session"));
    Program program;
    administer(program);

    EXPECT_FALSE(program.app.login().isVisible());
    EXPECT_TRUE(program.app.form1().isVisible()); // back to the questionnaire, answers kept
    // The profile showed the report's numbers.
    EXPECT_EQ(g_profileTable, reportDimensionalScores(fileBytes(dir.file("session") / kReport)));
    EXPECT_EQ(namesIn(dir.file("session")), (std::vector<std::string>{kData, kReport, kExport}));

    const std::vector<std::string> data = fields(fileBytes(dir.file("session") / kData));
    ASSERT_EQ(data.size(), 196u);
    EXPECT_EQ(std::vector<std::string>(data.begin(), data.begin() + 8),
              (std::vector<std::string>{"0", "\"S01\"", "\"GRP1\"", "\"35\"", "\"2\"", "\"2\"",
                                        "\"4\"", "\"prima visita\""}));
    for (int item = 1; item <= 94; ++item) {
        const int distress = agreementOf(item) >= 5 ? distressOf(item) : 0;
        EXPECT_EQ(data[static_cast<std::size_t>(7 + item)], std::to_string(agreementOf(item)))
            << "agreement of item " << item;
        EXPECT_EQ(data[static_cast<std::size_t>(101 + item)], std::to_string(distress))
            << "distress of item " << item;
    }

    selvo::ProgramState core;
    const auto expected = coreFiles(dir.file("core"), core);
    EXPECT_EQ(fileBytes(dir.file("session") / kData), expected.at(kData));
    EXPECT_EQ(fileBytes(dir.file("session") / kExport), expected.at(kExport));
    EXPECT_EQ(withoutDate(fileBytes(dir.file("session") / kReport)),
              withoutDate(expected.at(kReport)));
    EXPECT_EQ(selvo::ScoreAnswers(program.state.administration.answers),
              selvo::ScoreAnswers(core.administration.answers));
}

#ifndef _WIN32
// The window's three files are selvo-batch's byte for byte (the report apart from its date),
// whatever the locale the window's toolkit takes from the environment. CTest also runs this
// test alone under LC_ALL=tr_TR.UTF-8 (EndToEndUnderTurkishLocale), where the C library's
// tolower leaves "I" as it is: alone, so that nothing the process keeps was built under another
// locale first.
TEST(EndToEnd, TheWindowWritesWhatSelvoBatchWrites) {
    const char* const asked = std::getenv("LC_ALL");
    if (asked != nullptr && std::string(asked) != std::setlocale(LC_ALL, nullptr)) {
        GTEST_SKIP() << "the locale " << asked << " is missing (localedef -i tr_TR -f UTF-8 "
                     << "tr_TR.UTF-8)";
    }
    const TempDir dir;
    fs::create_directory(dir.file("session"));
    fs::current_path(dir.file("session"));
    {
        Program program;
        administer(program);
    }
    const ToolRun batch =
        runTool(std::string(SELVO_BATCH) + " --out " + shellQuoted(dir.file("batch").string()) +
                " " + shellQuoted((dir.file("session") / kData).string()));

    ASSERT_EQ(batch.status, 0) << batch.output;
    EXPECT_EQ(fileBytes(dir.file("session") / kExport), fileBytes(dir.file("batch") / kExport));
    EXPECT_EQ(fileBytes(dir.file("session") / kData), fileBytes(dir.file("batch") / kData));
    EXPECT_EQ(withoutDate(fileBytes(dir.file("session") / kReport)),
              withoutDate(fileBytes(dir.file("batch") / kReport)));
}
#endif

TEST(EndToEnd, ReloadFromTheMainMenuWritesTheSameFilesBesideTheDataFile) {
    const TempDir dir;
    fs::create_directory(dir.file("session"));
    fs::create_directory(dir.file("elsewhere"));
    fs::current_path(dir.file("session"));
    std::map<std::string, std::string> first;
    g_profileTable.clear();
    {
        Program program;
        administer(program);
        for (const char* name : {kData, kReport, kExport}) {
            first[name] = fileBytes(dir.file("session") / name);
        }
    }
    fs::remove(dir.file("session") / kReport);
    fs::remove(dir.file("session") / kExport);
    g_profileTable.clear(); // the reload's profile, not the first run's
    fs::current_path(dir.file("elsewhere"));

    // A later run of the program: the questionnaire window was never opened.
    Program program;
    QStringList shownOnForm;
    whileModalsOpen([&](QWidget& modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(&modal)) {
            dialog->selectFile(QString::fromStdString((dir.file("session") / kData).string()));
            static_cast<QDialog*>(dialog)->accept();
            return false;
        }
        if (auto* form = qobject_cast<frmLogin*>(&modal)) {
            shownOnForm << control<QLineEdit>(*form, "txtPassword").text()
                        << control<QPlainTextEdit>(*form, "TxtNote").toPlainText();
            QTimer::singleShot(0, form, [form] {
                QTest::mouseClick(&control<QPushButton>(*form, "cmdOK"), Qt::LeftButton);
            });
            return false;
        }
        if (answerSuccessBox(modal)) {
            return true;
        }
        ADD_FAILURE() << "unexpected window " << modal.windowTitle().toStdString();
        modal.close();
        return false;
    });
    QTest::mouseClick(&control<QPushButton>(program.app.mainMenu(), "cmdMainSS"), Qt::LeftButton);

    EXPECT_EQ(shownOnForm, QStringList({"GRP1", "prima visita"}));
    EXPECT_EQ(g_profileTable, reportDimensionalScores(fileBytes(dir.file("session") / kReport)));
    EXPECT_TRUE(namesIn(dir.file("elsewhere")).empty());
    EXPECT_EQ(namesIn(dir.file("session")), (std::vector<std::string>{kData, kReport, kExport}));
    EXPECT_EQ(fileBytes(dir.file("session") / kData), first.at(kData));
    EXPECT_EQ(fileBytes(dir.file("session") / kExport), first.at(kExport));
    EXPECT_EQ(withoutDate(fileBytes(dir.file("session") / kReport)),
              withoutDate(first.at(kReport)));
}

} // namespace
