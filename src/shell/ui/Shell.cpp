#include "shell/ui/Shell.h"

#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "state/Startup.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSplash.h"
#include "subject/ui/frmLogin.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <memory>

namespace {

// Closing a window that deletes itself on close clears that attribute and schedules the
// deletion: from then on the instance is on its way out and must not be shown again.
template <typename W> bool isLive(const QPointer<W>& window) {
    return !window.isNull() && window->testAttribute(Qt::WA_DeleteOnClose);
}

// Windows are destroyed when closed, so a closed window is reloaded on its next use.
template <typename W> W& loaded(QPointer<W>& window, Shell& shell) {
    if (!isLive(window)) {
        // A closed instance still waiting for deletion goes by itself.
        window.clear();
        window = new W(shell);
        window->setAttribute(Qt::WA_DeleteOnClose);
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

Shell::Shell(selvo::ProgramState& state)
    : endProgram([] { QApplication::exit(0); }), m_state(state),
      m_recovery(std::make_unique<RecoveryKeeper>(*this)) {
    InstallItalianQtTexts();
}

void Shell::beginNewSubject() {
    m_recovery->administrationEnded();
    selvo::StartNewSubject(m_state);
    if (isForm1Loaded()) {
        m_form1->BeginNewSubject();
    }
    if (isLoginLoaded()) {
        m_login->showSubjectRecord();
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

Shell::~Shell() {
    // Windows unloaded by their own handlers may still be waiting for deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    destroy(m_login);
    destroy(m_about);
    destroy(m_form1);
    destroy(m_main);
    destroy(m_splash);
}

frmSplash& Shell::splash() {
    return loaded(m_splash, *this);
}
frmMain& Shell::mainMenu() {
    return loaded(m_main, *this);
}
frmAbout& Shell::about() {
    return loaded(m_about, *this);
}
Form1& Shell::form1() {
    return loaded(m_form1, *this);
}
frmLogin& Shell::login() {
    return loaded(m_login, *this);
}

Form1& Shell::form1KeepingAnswers() {
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

bool Shell::isSplashLoaded() const {
    return isLive(m_splash);
}
bool Shell::isMainMenuLoaded() const {
    return isLive(m_main);
}
bool Shell::isAboutLoaded() const {
    return isLive(m_about);
}
bool Shell::isForm1Loaded() const {
    return isLive(m_form1);
}
bool Shell::isLoginLoaded() const {
    return isLive(m_login);
}

void Shell::unloadSplash() {
    unload(m_splash);
}
void Shell::unloadMainMenu() {
    unload(m_main);
}
void Shell::unloadAbout() {
    unloadClosing(m_about);
}

void Shell::centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

void Shell::showWindow(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

void Main(Shell& shell) {
    Shell::showWindow(shell.splash());
    selvo::SetProgramConstants(shell.state());
}
