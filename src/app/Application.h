// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The application: the one program state and the one instance of each window. The windows
// know nothing of each other; what one asks for, the application does, with the others.
#include "state/ProgramState.h"

#include <QObject>
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

namespace selvo {
struct CommitResult;
struct FileError;
struct ProcessedSubject;
} // namespace selvo

class Application : public QObject {
    Q_OBJECT
public:
    // The folder processing writes into is, until a reload, the one the program starts in:
    // the current folder now.
    explicit Application(selvo::ProgramState& state);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

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

    // Forgets the subject in hand, in the state and in the windows already loaded: the
    // questionnaire back on its notice page with nothing answered, the subject form empty.
    void beginNewSubject();

    // Ends the program at once. Replaceable so a test can observe it.
    std::function<void()> endProgram;

    // The open-file dialog: full path of the chosen file, or empty when cancelled.
    // Replaceable so a test can answer it.
    std::function<std::string(QWidget* owner)> showOpenDialog;

    // The reload of a saved data file, ReloadDataFile unless a test replaces it.
    std::function<void(const std::string& path)> reloadDataFile;

    // "Cambia cartella...": the folder dialog, opened on the current folder (the chosen folder,
    // or empty when cancelled), and where the choice is kept for the next start. Replaceable so
    // a test can answer and observe them.
    std::function<QString(QWidget* owner, const QString& current)> chooseFolder;
    std::function<void(const QString& folder)> rememberFolder;

    // The folder the subject's files are written into from now on (absolute), shown on the
    // subject form with `note` when there is something to say about it. `createWhenWriting`:
    // the folder is made, when missing, by the first run that writes into it.
    void setOutputFolder(const std::string& folder, const QString& note = {},
                         bool createWhenWriting = false);

    // The subject form, shown modally with the output folder as it is now.
    void execSubjectForm();

    // Set while form1KeepingAnswers creates Form1: its load keeps the answers and subject
    // codes in hand.
    bool loadingForReload = false;

private:
    void connectSplash(frmSplash& splash);
    void connectMainMenu(frmMain& menu);
    void connectQuestionnaire(Form1& questionnaire);
    void connectSubjectForm(frmLogin& subject);

    void startAdministration();
    // The reload's first steps, from the window `owner`: may the answers in hand go, which
    // file; `notAvailable` tells when this copy has no open-file dialog.
    void chooseFileToReload(QWidget& owner, const std::function<void()>& notAvailable);
    void showResumedQuestionnaire();

    // The subject form confirmed: the record checked and stored, the files written, the
    // outcome told, the form hidden after a run that wrote them.
    void processSubject(frmLogin& subject);
    void changeOutputFolder(frmLogin& subject);
    // Whether the set in hand may take its data file's name in the output folder: asked when a
    // file there holds another administration.
    bool mayReplaceDataFile(frmLogin& subject);
    bool makeOutputFolder(frmLogin& subject);
    void showRunFailure(frmLogin& subject, const selvo::FileError& error, bool filesInPlace);
    void offerOlderSet(frmLogin& subject, const QString& written, const selvo::CommitResult& run);
    void showResults(const selvo::ProcessedSubject& run, const QString& written);

    selvo::ProgramState& m_state;
    QString m_folderNote;
    bool m_createFolder = false;
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
void Main(Application& app);
