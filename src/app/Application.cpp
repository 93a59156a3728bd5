// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Application.h"

#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "app/OutputFolder.h"
#include "app/Reload.h"
#include "datafiles/ui/OpenDialog.h"
#include "menu/ui/frmAbout.h"
#include "menu/ui/frmMain.h"
#include "menu/ui/frmSplash.h"
#include "questionnaire/Product.h"
#include "subject/SubjectChecks.h"
#include "subject/ui/frmLogin.h"
#include "widgets/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <memory>

namespace {

// "BrivanSELVO (V. 1.18)", the main menu's title.
std::string programTitle() {
    return std::string(selvo::kProductName) + " (V." + selvo::printedVersion() + ")";
}

// Closing a window that deletes itself on close clears that attribute and schedules the
// deletion: from then on the instance is on its way out and must not be shown again.
template <typename W> bool isLive(const QPointer<W>& window) {
    return !window.isNull() && window->testAttribute(Qt::WA_DeleteOnClose);
}

// Windows are destroyed when closed, so a closed window is reloaded on its next use: `make`
// creates the new instance, `wire` connects it once it is marked.
template <typename W, typename Make, typename Wire>
W& loaded(QPointer<W>& window, const Make& make, const Wire& wire) {
    if (!isLive(window)) {
        // A closed instance still waiting for deletion goes by itself.
        window.clear();
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
        wire(*window);
    }
    return *window;
}

// For the end of the program: nothing is running inside these windows any more.
template <typename W> void destroy(QPointer<W>& window) {
    std::unique_ptr<W> owned(window.data());
    window.clear();
}

// For a window unloading itself from its own event handler: it goes once the handler returns,
// and the next use creates a new instance. Hidden, not closed: closing the last visible window
// would end the program while the splash hands over to the main menu.
template <typename W> void unload(QPointer<W>& window) {
    W* going = window.data();
    window.clear();
    if (going != nullptr) {
        going->hide();
        going->deleteLater();
    }
}

// As unload, but closed: when it was the last window open, the program ends with it.
template <typename W> void unloadClosing(QPointer<W>& window) {
    W* going = window.data();
    window.clear();
    if (going != nullptr) {
        going->close();
    }
}

} // namespace

Application::Application(selvo::ProgramState& state)
    : endProgram([] { QApplication::exit(0); }),
      reloadDataFile([this](const std::string& path) { ReloadDataFile(*this, path); }),
      chooseFolder(ChooseOutputFolder), rememberFolder(RememberOutputFolder), m_state(state),
      m_recovery(std::make_unique<RecoveryKeeper>(state, [this] { showResumedQuestionnaire(); })) {
    m_state.outputFolder = corePath(QDir::currentPath());
    InstallItalianQtTexts();
}

Application::~Application() {
    // Windows unloaded by their own handlers may still be waiting for deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    destroy(m_login);
    destroy(m_about);
    destroy(m_form1);
    destroy(m_main);
    destroy(m_splash);
}

void Application::beginNewSubject() {
    m_recovery->administrationEnded();
    selvo::StartNewSubject(m_state);
    if (isForm1Loaded()) {
        m_form1->BeginNewSubject();
    }
    if (isLoginLoaded()) {
        m_login->showSubjectRecord(selvo::SubjectEntryOf(m_state.subject));
    }
}

void InstallItalianQtTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    const QString name = QStringLiteral("selvo-qt-italian");
    if (app == nullptr || app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
        return;
    }
    // Dates and sizes in the file dialog read as an Italian user expects them.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(app); // owned by the application
    translator->setObjectName(name);
    // Qt's own folder on Linux; beside the program where it is installed with its DLLs
    // (Windows).
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QCoreApplication::applicationDirPath() + "/translations"};
    for (const QString& folder : folders) {
        if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            break;
        }
    }
}

frmSplash& Application::splash() {
    return loaded(
        m_splash, [] { return new frmSplash; }, [this](frmSplash& w) { connectSplash(w); });
}
frmMain& Application::mainMenu() {
    return loaded(
        m_main, [] { return new frmMain(programTitle()); },
        [this](frmMain& w) { connectMainMenu(w); });
}
frmAbout& Application::about() {
    return loaded(
        m_about, [] { return new frmAbout; },
        [this](frmAbout& w) {
            connect(&w, &frmAbout::closeRequested, this, &Application::unloadAbout);
        });
}
Form1& Application::form1() {
    return loaded(
        m_form1,
        [this] {
            // A complete set of answers survives a new load of the window; so do answers a
            // reload has just read, complete or not, since that load comes from the reload.
            const bool keep = selvo::isTrue(m_state.administration.allAnswered) || loadingForReload;
            if (!keep) {
                const selvo::SubjectRecord cleared = selvo::EmptySubject();
                m_state.subject.sex = cleared.sex;
                m_state.subject.marital = cleared.marital;
                m_state.subject.education = cleared.education;
            }
            return new Form1(m_state.administration, keep);
        },
        [this](Form1& w) { connectQuestionnaire(w); });
}
frmLogin& Application::login() {
    return loaded(
        m_login, [] { return new frmLogin; }, [this](frmLogin& w) { connectSubjectForm(w); });
}

Form1& Application::form1KeepingAnswers() {
    if (isForm1Loaded()) {
        return *m_form1;
    }
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{loadingForReload};
    loadingForReload = true;
    return form1();
}

bool Application::isSplashLoaded() const {
    return isLive(m_splash);
}
bool Application::isMainMenuLoaded() const {
    return isLive(m_main);
}
bool Application::isAboutLoaded() const {
    return isLive(m_about);
}
bool Application::isForm1Loaded() const {
    return isLive(m_form1);
}
bool Application::isLoginLoaded() const {
    return isLive(m_login);
}

void Application::unloadSplash() {
    unload(m_splash);
}
void Application::unloadMainMenu() {
    unload(m_main);
}
void Application::unloadAbout() {
    unloadClosing(m_about);
}

void Application::connectSplash(frmSplash& splash) {
    connect(&splash, &frmSplash::dismissed, this, [this] {
        unloadSplash();
        frmMain& menu = mainMenu();
        showWindow(menu);
        // Once the menu is on screen: an interrupted administration is offered over it.
        QTimer::singleShot(0, &menu, [this] { recovery().offerAtStartUp(); });
    });
}

void Application::connectMainMenu(frmMain& menu) {
    connect(&menu, &frmMain::administrationRequested, this, &Application::startAdministration);
    connect(&menu, &frmMain::reprocessingRequested, this, [this, window = &menu] {
        chooseFileToReload(*window, [window] { window->showNotYetAvailable(); });
    });
    connect(&menu, &frmMain::quitRequested, this, [this] {
        // Ends at once, whatever else is open: no prompt, nothing saved.
        unloadMainMenu();
        endProgram();
    });
}

void Application::connectQuestionnaire(Form1& questionnaire) {
    connect(&questionnaire, &Form1::answerGiven, this, [this] { recovery().answerGiven(); });
    connect(&questionnaire, &Form1::instructionsRequested, this, [this] { showWindow(about()); });
    connect(&questionnaire, &Form1::processingRequested, this, [this] { execSubjectForm(); });
    connect(&questionnaire, &Form1::reloadRequested, this, [this, window = &questionnaire] {
        chooseFileToReload(*window, [window] {
            window->showMessage(QStringLiteral("Funzione non ancora disponibile."));
        });
    });
}

void Application::connectSubjectForm(frmLogin& subject) {
    subject.showSubjectRecord(selvo::SubjectEntryOf(m_state.subject));
    subject.showOutputFolder(qtPath(m_state.outputFolder), m_folderNote);
    connect(&subject, &frmLogin::confirmed, this,
            [this, form = &subject] { processSubject(*form); });
    connect(&subject, &frmLogin::folderChangeRequested, this,
            [this, form = &subject] { changeOutputFolder(*form); });
}

void Application::setOutputFolder(const std::string& folder, const QString& note,
                                  bool createWhenWriting) {
    m_state.outputFolder = folder;
    m_folderNote = note;
    m_createFolder = createWhenWriting;
    // Also while the form is shown modally, when it does not count as loaded.
    if (!m_login.isNull()) {
        m_login->showOutputFolder(qtPath(folder), note);
    }
}

void Application::execSubjectForm() {
    frmLogin& subject = login();
    subject.showOutputFolder(qtPath(m_state.outputFolder), m_folderNote);
    subject.exec();
}

void Application::startAdministration() {
    // Once a set has been processed, the next administration is another subject's.
    if (m_state.setProcessed) {
        beginNewSubject();
    } else if (!isForm1Loaded() && recovery().offerOnReopen()) {
        return; // the questionnaire is on screen with the answers kept
    }
    // Shown modeless and brought to the front, also when it was already open behind the menu.
    showWindow(form1());
}

void Application::chooseFileToReload(QWidget& owner, const std::function<void()>& notAvailable) {
    if (!showOpenDialog) {
        m_state.selectedFile = "";
        notAvailable();
        return;
    }
    if (!MayReplaceAnswersInHand(m_state, &owner)) {
        return;
    }
    m_state.selectedFile = showOpenDialog(&owner);
    // A cancelled dialog ends the command with nothing changed.
    if (!m_state.selectedFile.empty()) {
        reloadDataFile(m_state.selectedFile);
    }
}

void Application::showResumedQuestionnaire() {
    Form1& questionnaire = form1KeepingAnswers();
    questionnaire.ShowFirstMissingItem();
    showWindow(questionnaire);
}

void Main(Application& app) {
    showWindow(app.splash());
}
