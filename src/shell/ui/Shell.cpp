#include "shell/ui/Shell.h"

#include "administration/ui/Form1.h"
#include "shell/Startup.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSplash.h"
#include "subject/ui/frmLogin.h"

#include <QApplication>
#include <memory>

namespace {

// Windows are destroyed when closed, so a closed window is reloaded on its next use.
template <typename W> W& loaded(QPointer<W>& window, Shell& shell) {
    if (window.isNull()) {
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
// and the next use creates a new instance.
template <typename W> void unload(QPointer<W>& window) {
    W* going = window.data();
    window.clear();
    if (going != nullptr) {
        going->hide();
        going->deleteLater();
    }
}

} // namespace

Shell::Shell(selvo::ProgramState& state)
    : endProgram([] { QApplication::exit(0); }), m_state(state) {}

Shell::~Shell() {
    destroy(m_login);
    destroy(m_about);
    destroy(m_form1);
    destroy(m_main);
    destroy(m_splash);
}

frmSplash& Shell::splash() { return loaded(m_splash, *this); }
frmMain& Shell::mainMenu() { return loaded(m_main, *this); }
frmAbout& Shell::about() { return loaded(m_about, *this); }
Form1& Shell::form1() { return loaded(m_form1, *this); }
frmLogin& Shell::login() { return loaded(m_login, *this); }

void Shell::unloadSplash() { unload(m_splash); }
void Shell::unloadMainMenu() { unload(m_main); }

void Main(Shell& shell) {
    shell.splash().show();
    selvo::SetProgramConstants(shell.state());
}
