// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "menu/ui/frmAbout.h"
#include "menu/ui/frmMain.h"
#include "menu/ui/frmSplash.h"
#include "questionnaire/ProgramVersion.h"
#include "widgets/WindowPlacement.h"

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
    Application app{state};
    int ends = 0;

    Program() {
        app.endProgram = [this] { ++ends; };
        Main(app);
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
    QTest::keyClick(&program.app.splash(), Qt::Key_A);
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
    QTest::keyClick(&program.app.splash(), GetParam().key);
    const int expected = GetParam().opensMainMenu ? 1 : 0;
    EXPECT_EQ(windowsOfKind<frmMain>(), expected);
    EXPECT_EQ(windowsOfKind<frmSplash>(), 1 - expected);
    if (GetParam().opensMainMenu) {
        EXPECT_TRUE(program.app.mainMenu().isVisible());
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
    frmSplash& splash = program.app.splash();
    QTest::keyClick(&splash, Qt::Key_Return);
    QTest::keyClick(&splash, Qt::Key_Space);
    EXPECT_EQ(windowsOfKind<frmMain>(), 1);
    EXPECT_FALSE(program.app.isSplashLoaded());
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
    frmSplash& splash = program.app.splash();
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
    QTest::mouseClick(control(program.app.splash(), "Frame1"), Qt::RightButton, {}, QPoint(4, 4));
    EXPECT_EQ(windowsOfKind<frmMain>(), 0);
}

TEST(Captions, VersionReadsAsNumberTextInBothWindows) {
    Program program;
    const QString version = QString::fromUtf8(selvo::kProgramVersion);
    EXPECT_EQ(control<QLabel>(program.app.splash(), "lblVersion")->text(), "Versione  " + version);
    dismissSplash(program);
    EXPECT_EQ(program.app.mainMenu().windowTitle(), "BrivanSELVO (V. " + version + ")");
}

// The core's texts break lines with CR LF; a text box reads CR and LF as two breaks.
TEST(Captions, CrLfTextsShowOneLineBreakEach) {
    Program program;
    dismissSplash(program);
    const QString references =
        control<QPlainTextEdit>(program.app.mainMenu(), "TextRef")->toPlainText();
    EXPECT_TRUE(references.startsWith("References\n\nManuale d'uso del questionario SELVO"));
    EXPECT_EQ(references.count("\n\n"), 2);
    EXPECT_FALSE(references.contains('\r'));

    const QString instructions =
        control<QTextEdit>(program.app.about(), "TextISTRU")->toPlainText();
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
        showWindow(program.app.about());
    }
    if (GetParam().form1Open) {
        QTest::mouseClick(control(program.app.mainMenu(), "cmdMainSOMM"), Qt::LeftButton);
    }
    QTest::mouseClick(control(program.app.mainMenu(), "cmdMainQUIT"), Qt::LeftButton);
    EXPECT_EQ(program.ends, 1);
    EXPECT_FALSE(program.app.isMainMenuLoaded());
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
    QWidget* somm = control(program.app.mainMenu(), "cmdMainSOMM");
    QTest::mouseClick(somm, Qt::LeftButton);
    QTest::mouseClick(somm, Qt::LeftButton);
    EXPECT_EQ(windowsOfKind<Form1>(), 1);
    EXPECT_TRUE(program.app.form1().isVisible());
    EXPECT_TRUE(program.app.mainMenu().isVisible());

    // Closed, it is created anew on the next press.
    program.app.form1().close();
    EXPECT_FALSE(program.app.isForm1Loaded());
    QTest::mouseClick(somm, Qt::LeftButton);
    EXPECT_EQ(windowsOfKind<Form1>(), 1);
    EXPECT_TRUE(program.app.form1().isVisible());
}

TEST(MainMenu, CancelledReloadDialogChangesNothing) {
    Program program;
    dismissSplash(program);
    program.state.selectedFile = "SELVO_Rossi_Anna.csv";
    program.state.subject.name = "Anna";
    program.state.administration.answers.agreement[12] = 6;
    QWidget* owner = nullptr;
    int dialogs = 0;
    program.app.showOpenDialog = [&](QWidget* o) {
        owner = o;
        ++dialogs;
        return std::string();
    };
    ModalWatch watch;
    QTest::mouseClick(control(program.app.mainMenu(), "cmdMainSS"), Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(owner, &program.app.mainMenu());
    EXPECT_EQ(program.state.selectedFile, "");
    EXPECT_EQ(program.state.subject.name, "Anna");
    EXPECT_EQ(program.state.administration.answers.agreement[12], 6);
    EXPECT_TRUE(watch.seenTitle.isEmpty()) << watch.seenTitle.toStdString();
    EXPECT_FALSE(program.app.isForm1Loaded());
}

TEST(Instructions, OneInstanceUntilChiudi) {
    Program program;
    frmAbout& first = program.app.about();
    showWindow(first);
    showWindow(program.app.about());
    EXPECT_EQ(&program.app.about(), &first);
    EXPECT_EQ(windowsOfKind<frmAbout>(), 1);
    EXPECT_EQ(first.windowTitle(), "Istruzioni");

    QTest::mouseClick(control(first, "cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(program.app.isAboutLoaded());
    EXPECT_EQ(windowsOfKind<frmAbout>(), 0);
}

TEST(Instructions, EnterAndEscCloseItWithTheFocusOnTheText) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        Program program;
        frmAbout& about = program.app.about();
        showWindow(about);
        QApplication::setActiveWindow(&about);
        QWidget* text = control(about, "TextISTRU");
        text->setFocus();
        QTest::keyClick(text, key);
        QApplication::processEvents();
        EXPECT_FALSE(program.app.isAboutLoaded()) << key;
    }
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
        {&program.app.splash(), "lblProductName", "Brivan SELVO"},
        {&program.app.splash(), "lblVersion", "Versione  1.18"},
        {&program.app.splash(), "lblCompanyProduct", "Questionnaire SELVO  -  Italian version"},
        {&program.app.mainMenu(), "cmdMainSOMM", "SOMMINISTRAZIONE TEST"},
        {&program.app.mainMenu(), "cmdMainSS", "ELABORAZIONE DATI"},
        {&program.app.mainMenu(), "cmdMainQUIT", "Quit"},
        {&program.app.mainMenu(), "TextRef", "References"},
        {&program.app.about(), "cmdOK", "Chiudi"},
        {&program.app.about(), "TextISTRU", "Istruzioni"},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* found =
            findByName(QAccessible::queryAccessibleInterface(c.window), c.name);
        ASSERT_NE(found, nullptr) << c.name;
        EXPECT_EQ(found->object()->objectName(), c.control) << c.name;
    }
}

} // namespace
