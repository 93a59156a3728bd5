// SPDX-License-Identifier: GPL-3.0-or-later

// BrivanSelvo started as the user starts it, with a scripted operator and subject at the
// keyboard, so a test can interrupt the real program and start it again. Every message box is
// reported on stdout ("box<TAB>title<TAB>text") and answered with the next caption given.
//
//   ProgramDriver [--boxes Sì,No,...] [--until ITEM] [--process] [--hold]
//
// --until answers the questionnaire up to that item (opened from the main menu unless a resumed
// administration has opened it already), --process fills the subject form and processes,
// --hold prints "ready" and waits to be killed; otherwise the program ends.
#include "administration/ui/Form1.h"
#include "administration/ui/RecoveryKeeper.h"
#include "app/Application.h"
#include "app/Program.h"
#include "menu/ui/frmMain.h"
#include "menu/ui/frmSplash.h"
#include "profile/ui/ResultsWindow.h"
#include "state/ProgramState.h"
#include "subject/ui/frmLogin.h"
#include "support/SubjectForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <deque>

namespace {

int agreementOf(int item) {
    return (item * 5 + 3) % 7 + 1;
}
int distressOf(int item) {
    return item % 3 + 1;
}

struct Script {
    std::deque<QString> boxAnswers;
    int until = 0;
    bool process = false;
    bool hold = false;
};

Script scriptFrom(const QStringList& args) {
    Script script;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--boxes" && i + 1 < args.size()) {
            for (const QString& caption : args[++i].split(',')) {
                script.boxAnswers.push_back(caption);
            }
        } else if (args[i] == "--until" && i + 1 < args.size()) {
            script.until = args[++i].toInt();
        } else if (args[i] == "--process") {
            script.process = true;
        } else if (args[i] == "--hold") {
            script.hold = true;
        }
    }
    return script;
}

void say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

template <typename W> W& control(QWidget& window, const char* name) {
    W* found = window.findChild<W*>(QString::fromLatin1(name));
    if (found == nullptr) {
        say(QStringLiteral("error\tno control ") + name);
        std::exit(3);
    }
    return *found;
}

class Driver {
public:
    Driver(Application& app, Script script) : m_app(app), m_script(std::move(script)) {
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { tick(); });
        m_poll.start(10);
    }

private:
    // Boxes first, whenever one is open; the next step once the screen has been quiet a while.
    void tick() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer(*box);
            return;
        }
        // The profile a run ends with: said like a box, with its files text, and closed.
        if (auto* results = qobject_cast<ResultsWindow*>(QApplication::activeModalWidget())) {
            if (results->isVisible()) {
                m_quiet = 0;
                say("box\t" + results->windowTitle() + "\t" +
                    results->writtenFilesText().replace('\n', " / "));
                results->accept();
            }
            return;
        }
        if (auto* form = qobject_cast<frmLogin*>(QApplication::activeModalWidget())) {
            if (form != m_filled) {
                m_filled = form;
                QTimer::singleShot(0, form, [form] { fillAndConfirm(*form); });
            }
            return;
        }
        if (QApplication::activeModalWidget() != nullptr || ++m_quiet < 20) {
            return;
        }
        m_quiet = 0;
        step();
    }

    void answer(QMessageBox& box) {
        if (!box.isVisible()) {
            return;
        }
        m_quiet = 0;
        say("box\t" + box.windowTitle() + "\t" + QString(box.text()).replace('\n', " / "));
        QAbstractButton* button = box.defaultButton();
        if (!m_script.boxAnswers.empty()) {
            const QString caption = m_script.boxAnswers.front();
            m_script.boxAnswers.pop_front();
            for (QAbstractButton* offered : box.buttons()) {
                if (offered->text() == caption) {
                    button = offered;
                }
            }
        }
        if (button == nullptr) {
            button = box.buttons().value(0);
        }
        button->click();
    }

    void step() {
        switch (m_stage++) {
        case 0:
            QTest::keyClick(&m_app.splash(), Qt::Key_A);
            break;
        case 1:
            if (m_script.until > 0) {
                answerUpTo(m_script.until);
            }
            break;
        case 2:
            if (m_script.process) {
                // Processing opens modal windows: it runs once this step has returned.
                QTimer::singleShot(0, &m_poll, [this] {
                    QTest::mouseClick(&control<QPushButton>(m_app.form1(), "CommSaveData"),
                                      Qt::LeftButton);
                    say("processed");
                });
            }
            break;
        case 3:
            if (m_script.hold) {
                // Killed from now on: every answer given is on the disk.
                m_app.recovery().waitForSaves();
                say("ready");
                m_poll.stop();
            } else {
                QApplication::exit(0);
            }
            break;
        default:
            break;
        }
    }

    void answerUpTo(int last) {
        if (!m_app.isForm1Loaded() || !m_app.form1().isVisible()) {
            QTest::mouseClick(&control<QPushButton>(m_app.mainMenu(), "cmdMainSOMM"),
                              Qt::LeftButton);
            QTest::keyClick(&control<QWidget>(m_app.form1(), "CommAvanti"), Qt::Key_Return);
        }
        say(QStringLiteral("item\t%1").arg(m_app.state().administration.currentItem));
        QWidget* keys = &control<QWidget>(m_app.form1(), "CommAvanti");
        for (int item = m_app.state().administration.currentItem; item <= last; ++item) {
            QTest::keyClick(keys, static_cast<char>('0' + agreementOf(item)));
            if (agreementOf(item) >= 5) {
                QTest::keyClick(keys, "qwe"[distressOf(item) - 1]);
            }
            if (item < 94) {
                QTest::keyClick(keys, Qt::Key_Return);
            }
        }
    }

    static void fillAndConfirm(frmLogin& form) {
        fillSubjectFormAndConfirm(form, QStringLiteral("ripresa"));
    }

    Application& m_app;
    Script m_script;
    QTimer m_poll;
    int m_quiet = 0;
    int m_stage = 0;
    frmLogin* m_filled = nullptr;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    selvo::ProgramState state;
    Application app(state);
    StartProgram(app);
    Driver driver(app, scriptFrom(QApplication::arguments()));
    return QApplication::exec();
}
