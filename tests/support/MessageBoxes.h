// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Message boxes are modal: while one is open the test's own code does not run. This answers
// every box that opens while the recorder lives, pressing its default button (or the one whose
// caption the test chose), and keeps what it showed so the test can check titles, texts and
// button captions afterwards. The profile window a run ends with is kept and closed the same
// way: its text is the folder and the files written.
#include "profile/ui/ResultsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <vector>

struct ShownBox {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QStringList buttons;
};

class MessageBoxRecorder {
public:
    // onBox may act on the box before it is answered (e.g. take a screenshot).
    explicit MessageBoxRecorder(std::function<void(QMessageBox&)> onBox = {},
                                std::function<void(ResultsWindow&)> onResults = {})
        : m_onBox(std::move(onBox)), m_onResults(std::move(onResults)) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { answerOpenBox(); });
        m_timer.start();
    }

    // Boxes that offer a button with this caption are answered with it.
    void answerWith(const QString& caption) { m_answer = caption; }
    // The next boxes are answered with these captions, one each, before answerWith applies.
    void answerInTurn(const QStringList& captions) { m_inTurn = captions; }

    const std::vector<ShownBox>& boxes() const { return m_boxes; }
    QStringList texts() const {
        QStringList all;
        for (const ShownBox& box : m_boxes) {
            all << box.text;
        }
        return all;
    }

private:
    void answerOpenBox() {
        if (auto* results = qobject_cast<ResultsWindow*>(QApplication::activeModalWidget());
            results != nullptr && results->isVisible() && !m_answering) {
            m_answering = true;
            m_boxes.push_back({QMessageBox::Information,
                               results->windowTitle(),
                               results->writtenFilesText(),
                               {QStringLiteral("Chiudi")}});
            if (m_onResults) {
                m_onResults(*results);
            }
            results->accept();
            m_answering = false;
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || m_answering) {
            return;
        }
        m_answering = true;
        QStringList captions;
        QAbstractButton* button = box->defaultButton();
        const QString answer = m_inTurn.isEmpty() ? m_answer : m_inTurn.takeFirst();
        const QList<QAbstractButton*> buttons = box->buttons();
        for (QAbstractButton* offered : buttons) {
            captions << offered->text();
            if (!answer.isEmpty() && offered->text() == answer) {
                button = offered;
            }
        }
        m_boxes.push_back({box->icon(), box->windowTitle(), box->text(), captions});
        if (m_onBox) {
            m_onBox(*box);
        }
        if (button == nullptr) {
            button = buttons.value(0);
        }
        button->click();
        m_answering = false;
    }

    std::function<void(QMessageBox&)> m_onBox;
    std::function<void(ResultsWindow&)> m_onResults;
    QString m_answer;
    QStringList m_inTurn;
    QTimer m_timer;
    std::vector<ShownBox> m_boxes;
    bool m_answering = false;
};
