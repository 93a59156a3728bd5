// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the administration window's tests share: one run of the program with the window on
// screen, and a way to look at the next modal window and close it.
#include "administration/ui/Form1.h"
#include "app/Application.h"
#include "state/ProgramState.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Failures print the text, not its UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace form1_fixture {

using selvo::ProgramState;

inline const QString kPrompt = QStringLiteral("SCELGA UNA RISPOSTA");

// One run of the program: its state, its windows and the administration window on screen.
// Message boxes are recorded instead of waiting for an OK.
class Session {
public:
    Session() { open(); }

    void open() {
        form = &app.form1();
        form->showMessage = [this](const QString& text) { messages.push_back(text); };
        form->show();
    }

    // Closing unloads the window; the next use loads a new one.
    void reopen() {
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(app.isForm1Loaded());
        open();
    }

    template <typename W> W* control(const char* name) const {
        W* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    bool shown(const char* name) const { return control<QWidget>(name)->isVisible(); }
    QRadioButton* agreement(int step) const {
        return control<QRadioButton>(("Option" + std::to_string(step)).c_str());
    }
    QRadioButton* distress(int step) const {
        return control<QRadioButton>(("OptionD" + std::to_string(step)).c_str());
    }
    int selectedAgreement() const { return selected("Option", 7); }
    int selectedDistress() const { return selected("OptionD", 3); }

    void click(const char* name) const {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // On the indicator: a radio button takes clicks on its circle and caption only.
    void click(QAbstractButton* button) const {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    void forward(int times = 1) const {
        for (int i = 0; i < times; ++i) {
            click("CommAvanti");
        }
    }
    void back() const { click("CommIndietro"); }

    // Keys go to whichever control has the focus; the window must see them first.
    void key(char character) const { QTest::keyClick(focusTarget(), character); }
    void key(Qt::Key code) const { QTest::keyClick(focusTarget(), code); }

    // Answers every item 1..94 with an agreement from the pattern and distress 2 where asked.
    void answerAll(const std::function<int(int)>& agreementOf) const {
        for (int item = 1; item <= 94; ++item) {
            forward();
            click(agreement(agreementOf(item)));
            if (agreementOf(item) >= 5) {
                click(distress(2));
            }
        }
    }

    ProgramState state;
    Application app{state};
    Form1* form = nullptr;
    std::vector<QString> messages;

private:
    QWidget* focusTarget() const { return agreement(1); }
    int selected(const std::string& prefix, int steps) const {
        int found = 0;
        for (int step = 1; step <= steps; ++step) {
            if (control<QRadioButton>((prefix + std::to_string(step)).c_str())->isChecked()) {
                EXPECT_EQ(found, 0) << "two buttons selected in " << prefix;
                found = step;
            }
        }
        return found;
    }
};

// Closes the next modal window once it is up, after letting the test look at it. Gives up after
// a few seconds, so a window that never opened cannot close one of a later test.
inline void whenModalOpens(const std::function<void(QWidget&)>& inspect) {
    auto* poll = new QTimer;
    auto triesLeft = std::make_shared<int>(500);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect, triesLeft] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && --*triesLeft > 0) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (modal != nullptr) {
            inspect(*modal);
            modal->close();
        }
    });
    poll->start(10);
}

} // namespace form1_fixture
