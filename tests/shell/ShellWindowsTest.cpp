#include "administration/ui/Form1.h"
#include "shell/ui/Shell.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSplash.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>

namespace {

// A started program whose end is recorded instead of ending the test process.
struct Program {
    selvo::ProgramState state;
    Shell shell{state};
    int ends = 0;

    Program() {
        shell.endProgram = [this] { ++ends; };
        Main(shell);
    }
};

// Windows unloaded by their own handlers go when the event loop next runs.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <typename W> int windowsOfKind() {
    settle();
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        count += qobject_cast<W*>(window) != nullptr ? 1 : 0;
    }
    return count;
}

template <typename T = QWidget> T* control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void dismissSplash(Program& program) {
    QTest::keyClick(&program.shell.splash(), Qt::Key_A);
    settle();
}

// Closes a modal box the code under test opens, so a wrong message box fails the test instead
// of blocking it; records the title it saw.
struct ModalWatch {
    QObject context;
    QString seenTitle;

    ModalWatch() {
        QTimer::singleShot(0, &context, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seenTitle = modal->windowTitle();
                modal->close();
            }
        });
    }
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    bool opensMainMenu;
};
void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class SplashKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SplashKey, OnlyACharacterKeyOpensTheMainMenu) {
    Program program;
    QTest::keyClick(&program.shell.splash(), GetParam().key);
    const int expected = GetParam().opensMainMenu ? 1 : 0;
    EXPECT_EQ(windowsOfKind<frmMain>(), expected);
    EXPECT_EQ(windowsOfKind<frmSplash>(), 1 - expected);
    if (GetParam().opensMainMenu) {
        EXPECT_TRUE(program.shell.mainMenu().isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SplashKey,
    ::testing::Values(KeyCase{"Letter", Qt::Key_S, true}, KeyCase{"Digit", Qt::Key_7, true},
                      KeyCase{"Enter", Qt::Key_Return, true},
                      KeyCase{"Escape", Qt::Key_Escape, true},
                      KeyCase{"Space", Qt::Key_Space, true}, KeyCase{"Shift", Qt::Key_Shift, false},
                      KeyCase{"Arrow", Qt::Key_Down, false}, KeyCase{"F1", Qt::Key_F1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Splash, KeysArrivingTogetherOpenOneMainMenu) {
    Program program;
    frmSplash& splash = program.shell.splash();
    QTest::keyClick(&splash, Qt::Key_Return);
    QTest::keyClick(&splash, Qt::Key_Space);
    EXPECT_EQ(windowsOfKind<frmMain>(), 1);
    EXPECT_FALSE(program.shell.isSplashLoaded());
}

struct ClickCase {
    const char* control;
    bool opensMainMenu;
};
void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.control;
}

class SplashClick : public ::testing::TestWithParam<ClickCase> {};

TEST_P(SplashClick, FrameAndProductTextsDismissLogoAndOtherLabelsDoNot) {
    Program program;
    frmSplash& splash = program.shell.splash();
    QWidget* target = control(splash, GetParam().control);
    ASSERT_NE(target, nullptr);
    // A corner of the frame, away from the controls inside it.
    const QPoint where = target->objectName() == "Frame1" ? QPoint(4, 4) : target->rect().center();
    QTest::mouseClick(target, Qt::LeftButton, {}, where);
    EXPECT_EQ(windowsOfKind<frmMain>(), GetParam().opensMainMenu ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SplashClick,
    ::testing::Values(ClickCase{"Frame1", true}, ClickCase{"lblCompanyProduct", true},
                      ClickCase{"lblProductName", true}, ClickCase{"imgLogo", false},
                      ClickCase{"lblVersion", false}, ClickCase{"Label2", false}),
    [](const auto& info) { return std::string(info.param.control); });

TEST(Splash, RightClickOnTheFrameDoesNothing) {
    Program program;
    QTest::mouseClick(control(program.shell.splash(), "Frame1"), Qt::RightButton, {}, QPoint(4, 4));
    EXPECT_EQ(windowsOfKind<frmMain>(), 0);
}

TEST(Captions, VersionReadsAsNumberTextInBothWindows) {
    Program program;
    EXPECT_EQ(control<QLabel>(program.shell.splash(), "lblVersion")->text(), "Versione  1.18");
    dismissSplash(program);
    EXPECT_EQ(program.shell.mainMenu().windowTitle(), "BrivanSELVO (V. 1.18)");
}

// The core's texts break lines with CR LF; a text box reads CR and LF as two breaks.
TEST(Captions, CrLfTextsShowOneLineBreakEach) {
    Program program;
    dismissSplash(program);
    const QString references =
        control<QPlainTextEdit>(program.shell.mainMenu(), "TextRef")->toPlainText();
    EXPECT_TRUE(references.startsWith("References\n\nManuale d'uso del questionario SELVO"));
    EXPECT_EQ(references.count("\n\n"), 2);
    EXPECT_FALSE(references.contains('\r'));

    const QString instructions =
        control<QTextEdit>(program.shell.about(), "TextISTRU")->toPlainText();
    EXPECT_TRUE(instructions.startsWith("\n\nGentile Signora, Gentile Signore,\n\n    "));
    EXPECT_TRUE(instructions.contains("\n\nGrazie per la collaborazione!\n\n\nRisponda"));
    EXPECT_FALSE(instructions.contains('\r'));
}

struct QuitCase {
    const char* name;
    bool aboutOpen;
    bool form1Open;
};
void PrintTo(const QuitCase& c, std::ostream* os) {
    *os << c.name;
}

class Quit : public ::testing::TestWithParam<QuitCase> {};

TEST_P(Quit, EndsTheProgramOnceWhateverIsOpen) {
    Program program;
    dismissSplash(program);
    if (GetParam().aboutOpen) {
        Shell::showWindow(program.shell.about());
    }
    if (GetParam().form1Open) {
        QTest::mouseClick(control(program.shell.mainMenu(), "cmdMainSOMM"), Qt::LeftButton);
    }
    QTest::mouseClick(control(program.shell.mainMenu(), "cmdMainQUIT"), Qt::LeftButton);
    EXPECT_EQ(program.ends, 1);
    EXPECT_FALSE(program.shell.isMainMenuLoaded());
    EXPECT_EQ(windowsOfKind<frmMain>(), 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, Quit,
                         ::testing::Values(QuitCase{"MainMenuOnly", false, false},
                                           QuitCase{"InstructionsOpen", true, false},
                                           QuitCase{"AdministrationOpen", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainMenu, AdministrationOpensOnceAndComesToTheFront) {
    Program program;
    dismissSplash(program);
    QWidget* somm = control(program.shell.mainMenu(), "cmdMainSOMM");
    QTest::mouseClick(somm, Qt::LeftButton);
    QTest::mouseClick(somm, Qt::LeftButton);
    EXPECT_EQ(windowsOfKind<Form1>(), 1);
    EXPECT_TRUE(program.shell.form1().isVisible());
    EXPECT_TRUE(program.shell.mainMenu().isVisible());

    // Closed, it is created anew on the next press.
    program.shell.form1().close();
    EXPECT_FALSE(program.shell.isForm1Loaded());
    QTest::mouseClick(somm, Qt::LeftButton);
    EXPECT_EQ(windowsOfKind<Form1>(), 1);
    EXPECT_TRUE(program.shell.form1().isVisible());
}

TEST(MainMenu, CancelledReloadDialogChangesNothing) {
    Program program;
    dismissSplash(program);
    program.state.SelectedFile = "SELVO_Rossi_Anna.csv";
    program.state.SubjectName = "Anna";
    program.state.AnswerT[12] = 6;
    QWidget* owner = nullptr;
    int dialogs = 0;
    program.shell.showOpenDialog = [&](QWidget* o) {
        owner = o;
        ++dialogs;
        return std::string();
    };
    ModalWatch watch;
    QTest::mouseClick(control(program.shell.mainMenu(), "cmdMainSS"), Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(owner, &program.shell.mainMenu());
    EXPECT_EQ(program.state.SelectedFile, "");
    EXPECT_EQ(program.state.SubjectName, "Anna");
    EXPECT_EQ(program.state.AnswerT[12], 6);
    EXPECT_TRUE(watch.seenTitle.isEmpty()) << watch.seenTitle.toStdString();
    EXPECT_FALSE(program.shell.isForm1Loaded());
}

TEST(Instructions, OneInstanceUntilChiudi) {
    Program program;
    frmAbout& first = program.shell.about();
    Shell::showWindow(first);
    Shell::showWindow(program.shell.about());
    EXPECT_EQ(&program.shell.about(), &first);
    EXPECT_EQ(windowsOfKind<frmAbout>(), 1);
    EXPECT_EQ(first.windowTitle(), "Istruzioni");

    QTest::mouseClick(control(first, "cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(program.shell.isAboutLoaded());
    EXPECT_EQ(windowsOfKind<frmAbout>(), 0);
}

// A screen reader, or a test driving the accessibility interface, finds each control by its
// Italian caption.
QAccessibleInterface* findByName(QAccessibleInterface* parent, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child->text(QAccessible::Name) == name) {
            return child;
        }
        if (QAccessibleInterface* found = findByName(child, name)) {
            return found;
        }
    }
    return nullptr;
}

TEST(Accessibility, EveryControlHasItsCaptionAsName) {
    Program program;
    const struct {
        QWidget* window;
        const char* control;
        const char* name;
    } cases[] = {
        {&program.shell.splash(), "lblProductName", "Brivan SELVO"},
        {&program.shell.splash(), "lblVersion", "Versione  1.18"},
        {&program.shell.splash(), "lblCompanyProduct", "Questionnaire SELVO  -  Italian version"},
        {&program.shell.mainMenu(), "cmdMainSOMM", "SOMMINISTRAZIONE TEST"},
        {&program.shell.mainMenu(), "cmdMainSS", "ELABORAZIONE DATI"},
        {&program.shell.mainMenu(), "cmdMainQUIT", "Quit"},
        {&program.shell.mainMenu(), "TextRef", "References"},
        {&program.shell.about(), "cmdOK", "Chiudi"},
        {&program.shell.about(), "TextISTRU", "Istruzioni"},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* found =
            findByName(QAccessible::queryAccessibleInterface(c.window), c.name);
        ASSERT_NE(found, nullptr) << c.name;
        EXPECT_EQ(found->object()->objectName(), c.control) << c.name;
    }
}

} // namespace
