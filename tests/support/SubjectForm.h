// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Fills the subject form as an operator would, by typing and clicking, and confirms it with
// Return: one adult subject, the same in every test that needs a complete set.

#include "subject/ui/frmLogin.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QString>
#include <QTest>

#include <stdexcept>
#include <string>

template <typename W> W& formControl(QWidget& form, const char* name) {
    auto* widget = form.findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *widget;
}

inline void fillSubjectFormAndConfirm(frmLogin& form, const QString& notes) {
    const auto type = [&form](const char* name, const char* text) {
        auto& box = formControl<QLineEdit>(form, name);
        box.clear();
        QTest::keyClicks(&box, QString::fromUtf8(text));
    };
    type("txtUserName", "S01");
    type("txtPassword", "GRP1");
    type("txtEta", "35");
    formControl<QRadioButton>(form, "Option1_SFemale").click();
    formControl<QRadioButton>(form, "Option1_ST2").click();
    formControl<QRadioButton>(form, "Option1_stud4").click();
    QTest::keyClicks(&formControl<QPlainTextEdit>(form, "TxtNote"), notes);
    QTest::keyClick(&formControl<QLineEdit>(form, "txtUserName"), Qt::Key_Return);
}
