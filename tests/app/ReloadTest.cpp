// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Reload.h"

#include "administration/ItemBank.h"
#include "administration/Recovery.h"
#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "datafiles/DataFile.h"
#include "datafiles/ui/OpenDialog.h"
#include "menu/ui/frmMain.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"
#include "processing/ProcessData.h"
#include "state/Startup.h"
#include "subject/ui/frmLogin.h"
#include "support/FileBytes.h"
#include "support/MessageBoxes.h"
#include "support/TempDir.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Program {
    selvo::ProgramState state;
    Application app{state};
    Program() { selvo::SetProgramConstants(state); }
};

// A subject as a data file holds it; `answered` items get agreement 6 and distress 2.
selvo::ProgramState savedSubject(int answered = 94) {
    selvo::ProgramState saved;
    selvo::SetProgramConstants(saved);
    saved.Card = 7;
    saved.SubjectName = "S01";
    saved.SubjectSurname = "GRP1";
    saved.SubjectAge = "35";
    saved.SubjectSex = "2";
    saved.SubjectMarital = "4";
    saved.SubjectEducation = "5";
    saved.SubjectNotes = "nota";
    for (int item = 1; item <= answered; ++item) {
        saved.AnswerT[item] = 6;
        saved.AnswerD[item] = 2;
    }
    return saved;
}

fs::path writeDataFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// While the subject form is up, runs `inspect` on it and then presses "Annulla" (or nothing,
// when `inspect` ends the showing itself).
void whenSubjectFormOpens(const std::function<void(frmLogin&)>& inspect, bool cancel = true) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect, cancel] {
        auto* form = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (form == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        inspect(*form);
        if (cancel) {
            form->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        }
    });
    poll->start(5);
}

QStringList checkedOptions(QWidget& form) {
    QStringList captions;
    for (QRadioButton* option : form.findChildren<QRadioButton*>()) {
        if (option->isChecked()) {
            captions << option->text();
        }
    }
    return captions;
}

TEST(ReloadDataFile, ShowsTheSubjectFormFilledWithTheReloadedSubject) {
    const TempDir dir;
    Program program;
    const fs::path file =
        writeDataFile(dir.file("saved.csv"), selvo::ComposeDataFile(savedSubject()));
    QStringList checked;
    QString surname;
    whenSubjectFormOpens([&](frmLogin& form) {
        checked = checkedOptions(form);
        surname = form.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->text();
    });
    ReloadDataFile(program.app, file.string());

    EXPECT_EQ(checked, QStringList({"FEMMINA", "Divorziato/a", "Laurea/Specializzazione"}));
    EXPECT_EQ(surname, "GRP1");
    ASSERT_TRUE(program.state.SetOnDisk);
    EXPECT_EQ(program.state.SetOnDisk->dataFile, file.string());
    EXPECT_EQ(program.state.Card, 7);
    EXPECT_TRUE(selvo::isTrue(program.state.AllAnswered));
    EXPECT_FALSE(program.app.form1().isVisible()); // brought in line, not shown
}

// The reloaded file's folder receives that subject's files and those of the next subjects of
// the sitting; the folder the program started in gets none.
TEST(ReloadDataFile, LaterSubjectsOfTheSittingWriteBesideTheReloadedFile) {
    const TempDir dir;
    fs::create_directory(dir.file("altrove"));
    const fs::path file = writeDataFile(dir.file("altrove") / "SELVO_GRP1_S01.csv",
                                        selvo::ComposeDataFile(savedSubject()));
    Program program;
    MessageBoxRecorder boxes;
    const auto confirm = [](frmLogin& form) {
        form.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    };
    whenSubjectFormOpens(confirm, false);
    ReloadDataFile(program.app, file.string());

    program.app.beginNewSubject();
    program.state.SubjectName = "S02";
    program.state.SubjectSurname = "GRP2";
    program.state.SubjectAge = "40";
    program.state.SubjectSex = program.state.SubjectMarital = program.state.SubjectEducation = "1";
    frmLogin& next = program.app.login();
    next.showSubjectRecord(selvo::SubjectEntryOf(program.state));
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
        dir.file("saved.csv"), selvo::ComposeDataFile(savedSubject()) + std::string(512, '\0'));
    MessageBoxRecorder boxes;
    bool formOpened = false;
    whenSubjectFormOpens([&](frmLogin&) { formOpened = boxes.boxes().size() == 1; });
    ReloadDataFile(program.app, file.string());

    ASSERT_TRUE(formOpened);
    EXPECT_EQ(boxes.boxes()[0].title, "FILE DANNEGGIATO");
    EXPECT_TRUE(boxes.boxes()[0].text.contains("512 byte nulli"))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_EQ(program.state.SubjectSurname, "GRP1");
    EXPECT_TRUE(selvo::isTrue(program.state.AllAnswered));
}

TEST(ReloadDataFile, RefillsAFormAlreadyLoadedWithAnotherSubject) {
    const TempDir dir;
    Program program;
    program.state.SubjectName = "Altro";
    program.state.SubjectSex = "1";
    program.app.login(); // loaded with the earlier subject
    const fs::path file =
        writeDataFile(dir.file("saved.csv"), selvo::ComposeDataFile(savedSubject()));
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
    selvo::ProgramState saved = savedSubject();
    saved.SubjectSex = saved.SubjectMarital = saved.SubjectEducation = "0";
    const fs::path file = writeDataFile(dir.file("saved.csv"), selvo::ComposeDataFile(saved));
    QStringList checked{"not inspected"};
    whenSubjectFormOpens([&](frmLogin& form) { checked = checkedOptions(form); });
    ReloadDataFile(program.app, file.string());
    EXPECT_TRUE(checked.isEmpty()) << checked.join(',').toStdString();
}

TEST(ReloadDataFile, IncompleteFileKeepsItsAnswersWhenTheAdministrationFormWasNeverLoaded) {
    const TempDir dir;
    Program program;
    const selvo::ProgramState saved = savedSubject(50);
    const fs::path file = writeDataFile(dir.file("saved.csv"), selvo::ComposeDataFile(saved));
    MessageBoxRecorder question;
    question.answerWith(QStringLiteral("Sì"));
    whenSubjectFormOpens([](frmLogin&) {});
    ReloadDataFile(program.app, file.string());

    EXPECT_EQ(program.state.AnswerT, saved.AnswerT);
    EXPECT_EQ(program.state.AnswerD, saved.AnswerD);
    EXPECT_EQ(program.state.SubjectSex, "2");
    EXPECT_EQ(program.state.SubjectEducation, "5");
    EXPECT_FALSE(selvo::isTrue(program.state.AllAnswered));
    EXPECT_FALSE(program.app.loadingForReload);
}

TEST(ReloadDataFile, IncompleteFileAsksFirstAndOpensTheSubjectFormOnlyOnSi) {
    const TempDir dir;
    Program program;
    selvo::ProgramState saved = savedSubject();
    saved.AnswerT[17] = 0;
    saved.AnswerD[52] = 0; // agreement 6 without its distress answer
    saved.AnswerT[94] = 0;
    const fs::path file = writeDataFile(dir.file("saved.csv"), selvo::ComposeDataFile(saved));

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
    program.state.SetOnDisk = selvo::StoredSet{"/earlier.csv", {}, "Rossi", "Anna"};
    program.state.SubjectName = "Anna";
    program.state.AnswerT[12] = 3;
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
    ASSERT_TRUE(program.state.SetOnDisk);
    EXPECT_EQ(program.state.SetOnDisk->dataFile, before.SetOnDisk->dataFile);
    EXPECT_EQ(program.state.SubjectName, before.SubjectName);
    EXPECT_EQ(program.state.AnswerT, before.AnswerT);
    EXPECT_FALSE(program.app.isLoginLoaded());
    EXPECT_FALSE(program.app.isForm1Loaded());
    EXPECT_EQ(selvo::pathFromUtf8(program.state.OutputFolder), dir.path())
        << "the next outputs would land beside it";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReloadRefuses,
    testing::Values(BadFile{"Missing", "", false, "inesistente"},
                    BadFile{"Empty", "", true, "vuoto"},
                    BadFile{"Truncated", "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"3\",\"\",1,2\r\n",
                            true, "campi"}),
    [](const testing::TestParamInfo<BadFile>& info) { return info.param.label; });

#ifndef _WIN32 // the recycle bin of Windows is the desktop's, not a test's

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const fs::path& value)
        : m_name(name), m_before(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
        qputenv(name, QFile::encodeName(QString::fromStdString(selvo::utf8Of(value))));
    }
    ~ScopedVariable() { m_had ? qputenv(m_name, m_before) : qunsetenv(m_name); }

private:
    const char* m_name;
    QByteArray m_before;
    bool m_had;
};

const std::vector<std::string> kOlderSet{"SELVO_GRP1_S01.csv", "SELVO_GRP1_S01_report.rtf",
                                         "SELVO_SS000_GRP1_S01_sps.sps"};
const std::vector<std::string> kCorrectedSet{"SELVO_GRP1_S02.csv", "SELVO_GRP1_S02_report.rtf",
                                             "SELVO_SS000_GRP1_S02_sps.sps"};

struct CorrectedRun {
    const char* label;
    const char* name;   // typed over the reloaded "S01"
    const char* answer; // to the question, when there is one
    bool trashBroken;
    std::vector<std::string> leftInFolder;
    std::vector<std::string> inTrash;
};
void PrintTo(const CorrectedRun& run, std::ostream* os) {
    *os << run.label;
}

class CorrectedName : public testing::TestWithParam<CorrectedRun> {};

// A reloaded subject processed under a corrected name: the set under the older name is offered
// to the trash, so that a later batch does not count the subject twice.
TEST_P(CorrectedName, OffersTheOlderSetToTheTrash) {
    const CorrectedRun& run = GetParam();
    const TempDir dir;
    const ScopedVariable home("HOME", dir.path());
    const ScopedVariable data("XDG_DATA_HOME", dir.file("dati"));
    if (run.trashBroken) {
        writeDataFile(dir.file("dati"), "not a folder");
    }
    const fs::path study = dir.file("studio");
    fs::create_directory(study);
    fs::current_path(study);
    selvo::ProgramState saved = savedSubject();
    selvo::LoadItemBank(saved);
    ASSERT_FALSE(selvo::ProcessData(saved, selvo::utf8Of(study)).has_value());
    Program program;
    selvo::LoadItemBank(program.state);

    MessageBoxRecorder boxes;
    boxes.answerWith(QString::fromUtf8(run.answer));
    whenSubjectFormOpens(
        [&run](frmLogin& form) {
            form.findChild<QLineEdit*>(QStringLiteral("txtUserName"))
                ->setText(QString::fromUtf8(run.name));
            form.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        },
        false);
    ReloadDataFile(program.app, selvo::utf8Of(study / kOlderSet[0]));

    EXPECT_EQ(namesIn(study), run.leftInFolder);
    const fs::path trash = dir.file("dati") / "Trash" / "files";
    EXPECT_EQ(fs::is_directory(trash) ? namesIn(trash) : std::vector<std::string>{}, run.inTrash);
    ASSERT_FALSE(boxes.boxes().empty());
    const ShownBox& done = boxes.boxes()[0];
    // Whatever else was asked, the run ends with the profile.
    EXPECT_EQ(boxes.boxes().back().title, "BrivanSELVO - Profilo");
    if (std::string(run.name) == "S01") {
        EXPECT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(done.icon, QMessageBox::Information);
        return;
    }
    EXPECT_EQ(done.icon, QMessageBox::Question);
    EXPECT_EQ(done.buttons, QStringList({"Sì", "No"}));
    for (const std::string& name : kOlderSet) {
        EXPECT_TRUE(done.text.contains(QString::fromStdString(name))) << name;
    }
    EXPECT_TRUE(done.text.contains("cestino")) << done.text.toStdString();
    if (std::string(run.answer) == "Sì") {
        ASSERT_EQ(boxes.boxes().size(), 3u);
        const QString outcome = boxes.boxes()[1].text;
        EXPECT_TRUE(outcome.contains(run.trashBroken ? "non è stato spostato" : "spostati"))
            << outcome.toStdString();
    } else {
        EXPECT_EQ(boxes.boxes().size(), 2u);
    }
}

std::vector<std::string> bothSets() {
    std::vector<std::string> all = kOlderSet;
    all.insert(all.end(), kCorrectedSet.begin(), kCorrectedSet.end());
    std::sort(all.begin(), all.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CorrectedName,
    testing::Values(CorrectedRun{"Si", "S02", "Sì", false, kCorrectedSet, kOlderSet},
                    CorrectedRun{"NoByDefault", "S02", "", false, bothSets(), {}},
                    CorrectedRun{"TrashUnavailable", "S02", "Sì", true, bothSets(), {}},
                    CorrectedRun{"SameNameAsksNothing", "S01", "Sì", false, kOlderSet, {}}),
    [](const testing::TestParamInfo<CorrectedRun>& info) { return info.param.label; });

#endif

// The dialog is answered from a timer: check what it offers, then choose or cancel.
void whenFileDialogOpens(const std::function<void(QFileDialog&)>& act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(*dialog);
    });
    poll->start(5);
}

TEST(ShowOpenDialog, OffersTheThreeFiltersAndStaysInTheFolderUntilTheFileIsRead) {
    const TempDir dir;
    fs::create_directory(dir.file("studio"));
    const fs::path file = writeDataFile(dir.file("studio") / "SELVO_GRP1_S01.csv", "x");
    QString title;
    QStringList filters;
    QString active;
    whenFileDialogOpens([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        active = dialog.selectedNameFilter();
        dialog.selectFile(QString::fromStdString(selvo::utf8Of(file)));
        static_cast<QDialog&>(dialog).accept();
    });
    const std::string chosen = ShowOpenDialog(nullptr);

    EXPECT_EQ(title, "Open Dialog Box");
    EXPECT_EQ(filters, QStringList({"comma separated values (*.csv)", "Text files (*.txt)",
                                    "All Files (*.*)"}));
    EXPECT_EQ(active, "comma separated values (*.csv)");
    EXPECT_EQ(selvo::pathFromUtf8(chosen), file); // by parts: "/" and "\\" alike on Windows
    EXPECT_EQ(fs::current_path(), dir.path());
}

// The chosen name reaches the core as UTF-8 on every system, so names beyond the ANSI code
// page of Windows open too, and their folder becomes the output folder once the file is read.
TEST(ShowOpenDialog, AFileNamedBeyondTheAnsiCodePageIsReadBack) {
    const TempDir dir;
    const fs::path folder = dir.path() / selvo::pathFromUtf8("studio Łódź");
    fs::create_directory(folder);
    const std::string bytes = selvo::ComposeDataFile(savedSubject());
    const fs::path file =
        writeDataFile(folder / selvo::pathFromUtf8("SELVO_Popescu_Ștefan.csv"), bytes);
    whenFileDialogOpens([&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(selvo::utf8Of(file)));
        static_cast<QDialog&>(dialog).accept();
    });
    const std::string chosen = ShowOpenDialog(nullptr);
    EXPECT_EQ(selvo::readWholeFile(chosen, bytes.size()).value(), bytes) << chosen;
    Program program;
    whenSubjectFormOpens([](frmLogin&) {});
    ReloadDataFile(program.app, chosen);
    EXPECT_EQ(selvo::pathFromUtf8(program.state.OutputFolder), folder);
}

TEST(ShowOpenDialog, CancelledGivesNothingAndStaysInTheFolder) {
    const TempDir dir;
    whenFileDialogOpens([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(ShowOpenDialog(nullptr), "");
    EXPECT_EQ(fs::current_path(), dir.path());
}

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
                      selvo::ComposeDataFile(savedSubject()));
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
    ASSERT_EQ(before.CurrentItem, 3);
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
        EXPECT_EQ(program.state.AnswerT, before.AnswerT);
        EXPECT_EQ(program.state.AnswerD, before.AnswerD);
        EXPECT_EQ(program.state.AdministrationStarted, before.AdministrationStarted);
        EXPECT_EQ(program.state.CurrentItem, 3);
        EXPECT_EQ(checkedOptions(*form), shownBefore);
        EXPECT_EQ(fileBytes(recoveryFile()), keptBefore);
        EXPECT_EQ(selvo::pathFromUtf8(program.state.OutputFolder), dir.path());
        return;
    }
    EXPECT_EQ(program.state.AnswerT, savedSubject().AnswerT);
    EXPECT_FALSE(fs::exists(recoveryFile())) << "the next start would offer the old answers";
    EXPECT_EQ(selvo::pathFromUtf8(program.state.OutputFolder), dir.file("altrove"));

    // Moving over the reloaded answers shows them without recording them; a reloaded set lives
    // in its file, so reloading over it asks nothing.
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommIndietro")),
                      Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommAvanti")), Qt::LeftButton);
    EXPECT_EQ(program.state.AnswerT[3], 6);
    EXPECT_FALSE(fs::exists(recoveryFile())) << "showing a stored answer saved it";
    EXPECT_TRUE(program.state.AdministrationStarted.empty());
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
