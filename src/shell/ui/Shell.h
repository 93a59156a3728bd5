#pragma once
// The application's context: the one program state and the one instance of each window.
// Forms reach each other and the state only through here.
#include "state/ProgramState.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QWidget;
class frmSplash;
class frmMain;
class frmAbout;
class Form1;
class frmLogin;
class RecoveryKeeper;

class Shell {
public:
    explicit Shell(selvo::ProgramState& state);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    selvo::ProgramState& state() { return m_state; }

    // One process-wide instance each, created (and loaded) on first use.
    frmSplash& splash();
    frmMain& mainMenu();
    frmAbout& about();
    Form1& form1();
    frmLogin& login();

    // Form1 for answers already in hand (a reload, a resumed administration): its first load
    // keeps them instead of starting clean.
    Form1& form1KeepingAnswers();

    // The administration in progress, kept on disk for a crash or a power cut.
    RecoveryKeeper& recovery() { return *m_recovery; }

    // Whether a window is loaded now, without loading it. A window closed a moment ago and only
    // waiting for deletion is no longer loaded.
    bool isSplashLoaded() const;
    bool isMainMenuLoaded() const;
    bool isAboutLoaded() const;
    bool isForm1Loaded() const;
    bool isLoginLoaded() const;

    // Unloads (destroys) the window if it is loaded; its next use creates a new instance.
    void unloadSplash();
    void unloadMainMenu();
    void unloadAbout();

    // Shows a window modeless and brings it to the front: opening a window that is already
    // open shows the same instance again, in front of the others.
    static void showWindow(QWidget& window);

    // Places a window in the middle of the screen, where a new window is looked for.
    static void centreOnScreen(QWidget& window);

    // Forgets the subject in hand, in the state and in the windows already loaded: the
    // questionnaire back on its notice page with nothing answered, the subject form empty.
    void beginNewSubject();

    // Ends the program at once. Replaceable so a test can observe it.
    std::function<void()> endProgram;

    // The open-file dialog: full path of the chosen file, or empty when cancelled.
    // Replaceable so a test can answer it.
    std::function<std::string(QWidget* owner)> showOpenDialog;

    // Set while form1KeepingAnswers creates Form1: its load keeps the answers and subject
    // codes in hand.
    bool loadingForReload = false;

private:
    selvo::ProgramState& m_state;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    QPointer<frmSplash> m_splash;
    QPointer<frmMain> m_main;
    QPointer<frmAbout> m_about;
    QPointer<Form1> m_form1;
    QPointer<frmLogin> m_login;
};

// Qt's own texts (standard buttons, the file dialog, context menus) in Italian, like the rest
// of the program. Installed once per application; harmless to call again.
void InstallItalianQtTexts();

// Start-up: shows the splash and sets the program constants.
void Main(Shell& shell);

// Italian text for the program's message boxes, from the core's UTF-8 strings.
inline QString qtext(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A multi-line text for a text box: the core's CR LF line breaks become the widget's one break
// (a text document would read CR and LF as two).
inline QString screenText(const std::string& utf8) {
    return QString::fromStdString(utf8).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
