#pragma once
// The application's context: the one program state and the one instance of each window.
// Forms reach each other and the state only through here.
#include "shell/ProgramState.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <string>

class QWidget;
class frmSplash;
class frmMain;
class frmAbout;
class Form1;
class frmLogin;

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

    // Whether a window is loaded now, without loading it.
    bool isSplashLoaded() const { return !m_splash.isNull(); }
    bool isMainMenuLoaded() const { return !m_main.isNull(); }
    bool isAboutLoaded() const { return !m_about.isNull(); }
    bool isForm1Loaded() const { return !m_form1.isNull(); }
    bool isLoginLoaded() const { return !m_login.isNull(); }

    // Unloads (destroys) the window if it is loaded.
    void unloadSplash();
    void unloadMainMenu();

    // Ends the program at once. Replaceable so a test can observe it.
    std::function<void()> endProgram;

    // The open-file dialog: full path of the chosen file, or empty when cancelled.
    // Replaceable so a test can answer it.
    std::function<std::string(QWidget* owner)> showOpenDialog;

    // Set while a reload is creating Form1 for the first time: its load must keep the answers
    // and subject codes just read.
    bool loadingForReload = false;

private:
    selvo::ProgramState& m_state;
    QPointer<frmSplash> m_splash;
    QPointer<frmMain> m_main;
    QPointer<frmAbout> m_about;
    QPointer<Form1> m_form1;
    QPointer<frmLogin> m_login;
};

// Start-up: shows the splash and sets the program constants.
void Main(Shell& shell);

// Italian text for the program's message boxes, from the core's UTF-8 strings.
inline QString qtext(const std::string& utf8) { return QString::fromStdString(utf8); }
