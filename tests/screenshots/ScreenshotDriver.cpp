// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures of docs/manuale.md, taken from BrivanSelvo as the user starts it, on a real
// display (an X server: scripts/make-screenshots.sh runs this under xvfb-run). An operator and a
// subject are scripted at the keyboard and the mouse; at each moment the manual shows, the
// screen is grabbed and cropped to the windows on it (the root window is black: Xvfb -br).
//
//   selvo-screenshots OUTPUT_FOLDER          the sitting, from the title window to the profile
//   selvo-screenshots --screen FILE.png      the screen as another program left it (Kalvexlib)
//
// Every picture it takes is named on stdout ("shot<TAB>path"). It exits with status 1 when a
// picture could not be taken or an unexpected message box appeared, 2 on a usage error.
#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "app/Program.h"
#include "menu/ui/frmMain.h"
#include "menu/ui/frmSplash.h"
#include "profile/ui/ResultsWindow.h"
#include "state/ProgramState.h"
#include "subject/ui/frmLogin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

void say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString& why) {
    say(QStringLiteral("error\t") + why);
    std::exit(1);
}

template <typename W> W& control(QWidget& window, const char* name) {
    W* found = window.findChild<W*>(QString::fromLatin1(name));
    if (found == nullptr) {
        fail(QStringLiteral("no control ") + name);
    }
    return *found;
}

// The smallest rectangle holding every pixel that is not the black of the bare screen; empty
// when nothing is drawn yet.
QRect drawnArea(const QImage& screen) {
    int left = screen.width();
    int top = screen.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < screen.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            if ((row[x] & 0xFFFFFFu) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The screen as it is now, cropped to what is drawn on it, saved as `path`: taken once two grabs
// a moment apart agree (the windows painted and still), tried for up to `patience` ms while the
// screen is bare or still changing.
void shoot(const QString& path, int patience = 5000) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        fail(QStringLiteral("no screen: run under an X server (xvfb-run)"));
    }
    QElapsedTimer waited;
    waited.start();
    QImage previous;
    for (;;) {
        QApplication::processEvents();
        const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        const QRect drawn = drawnArea(image);
        if (drawn.isValid() && image == previous) {
            if (!image.copy(drawn).save(path, "PNG")) {
                fail(QStringLiteral("cannot write ") + path);
            }
            say(QStringLiteral("shot\t") + path);
            return;
        }
        if (waited.elapsed() > patience) {
            fail(QStringLiteral("the screen stayed empty or kept changing: ") + path);
        }
        previous = image;
        QTest::qWait(200);
    }
}

// What the scripted subject answers: the same varied pattern as the program's other drivers,
// agreement 1-7 and, for 5-7, distress 1-3.
int agreementOf(int item) {
    return (item * 5 + 3) % 7 + 1;
}
int distressOf(int item) {
    return item % 3 + 1;
}

// The sitting as a list of steps, each run once the screen has been quiet for a while (no box,
// no new window): the program's own timers and repaints come first.
class Sitting {
public:
    Sitting(Application& app, QString folder) : m_app(app), m_folder(std::move(folder)) {
        m_steps = {
            [this] {
                shoot(picture("01-titolo"));
                QTest::keyClick(&m_app.splash(), Qt::Key_Space);
            },
            [this] {
                shoot(picture("02-menu-principale"));
                QTest::mouseClick(&control<QPushButton>(m_app.mainMenu(), "cmdMainSOMM"),
                                  Qt::LeftButton);
            },
            [this] {
                shoot(picture("03-avvertenze"));
                QTest::keyClick(keys(), Qt::Key_Return);
            },
            [this] {
                // Item 1 with its answer chosen (2: no distress question).
                answer(1);
            },
            [this] {
                shoot(picture("04-primo-item"));
                QTest::keyClick(keys(), Qt::Key_Return);
                // Item 2 is answered 7: the distress question appears, answered too.
                answer(2);
            },
            [this] {
                shoot(picture("05-item-sofferenza"));
                // AVANTI after the last answer too: that move finds the answers complete and
                // shows ELABORAZIONE DATI.
                for (int item = 2; item <= 94; ++item) {
                    if (item > 2) {
                        answer(item);
                    }
                    QTest::keyClick(keys(), Qt::Key_Return);
                }
            },
            [this] {
                if (!control<QPushButton>(m_app.form1(), "CommSaveData").isVisible()) {
                    fail(QStringLiteral("ELABORAZIONE DATI is not shown after item 94"));
                }
                shoot(picture("06-ultimo-item"));
                // The subject form opens modally: pressed once this step has returned.
                QTimer::singleShot(0, &m_poll, [this] {
                    QTest::mouseClick(&control<QPushButton>(m_app.form1(), "CommSaveData"),
                                      Qt::LeftButton);
                });
            },
        };
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { tick(); });
        m_poll.start(20);
    }

private:
    QString picture(const char* name) const {
        return QDir(m_folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    }

    QWidget* keys() { return &control<QWidget>(m_app.form1(), "CommAvanti"); }

    void answer(int item) {
        QTest::keyClick(keys(), static_cast<char>('0' + agreementOf(item)));
        if (agreementOf(item) >= 5) {
            QTest::keyClick(keys(), "qwe"[distressOf(item) - 1]);
        }
    }

    // The subject form, as the operator fills it in: typed, clicked, then confirmed.
    void fill(frmLogin& form) {
        const auto type = [&form](const char* name, const QString& text) {
            auto& box = control<QLineEdit>(form, name);
            box.clear();
            QTest::keyClicks(&box, text);
        };
        type("txtUserName", QStringLiteral("S01"));
        type("txtPassword", QStringLiteral("GRP1"));
        type("txtEta", QStringLiteral("35"));
        control<QRadioButton>(form, "Option1_SFemale").click();
        control<QRadioButton>(form, "Option1_ST2").click();
        control<QRadioButton>(form, "Option1_stud4").click();
        QTest::keyClicks(&control<QPlainTextEdit>(form, "TxtNote"),
                         QStringLiteral("Prima somministrazione."));
        QTest::qWait(300);
        shoot(picture("07-scheda-soggetto"));
        QTest::keyClick(&control<QLineEdit>(form, "txtUserName"), Qt::Key_Return);
    }

    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->isVisible()) {
                fail(QStringLiteral("unexpected message box: ") + box->windowTitle() + " - " +
                     QString(box->text()).replace('\n', ' '));
            }
            return;
        }
        if (auto* form = qobject_cast<frmLogin*>(modal)) {
            if (form != m_filled && form->isVisible()) {
                m_filled = form;
                QTimer::singleShot(0, form, [this, form] { fill(*form); });
            }
            return;
        }
        if (auto* results = qobject_cast<ResultsWindow*>(modal)) {
            if (results->isVisible() && !m_profileTaken) {
                m_profileTaken = true;
                QTimer::singleShot(0, results, [this, results] {
                    QTest::qWait(500);
                    shoot(picture("08-profilo"));
                    results->accept();
                    QApplication::exit(0);
                });
            }
            return;
        }
        if (modal != nullptr || ++m_quiet < 25) {
            return;
        }
        m_quiet = 0;
        if (m_next >= m_steps.size()) {
            fail(QStringLiteral("the profile never appeared"));
        }
        m_steps[m_next++]();
    }

    Application& m_app;
    QString m_folder;
    std::vector<std::function<void()>> m_steps;
    std::size_t m_next = 0;
    QTimer m_poll;
    int m_quiet = 0;
    frmLogin* m_filled = nullptr;
    bool m_profileTaken = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--screen")) {
        shoot(args[2], 20000);
        return 0;
    }
    if (args.size() != 2 || args[1].startsWith('-')) {
        std::fputs("usage: selvo-screenshots OUTPUT_FOLDER | --screen FILE.png\n", stderr);
        return 2;
    }
    if (!QDir().mkpath(args[1])) {
        fail(QStringLiteral("cannot make ") + args[1]);
    }
    selvo::ProgramState state;
    Application app(state);
    StartProgram(app);
    Sitting sitting(app, args[1]);
    return QApplication::exec();
}
