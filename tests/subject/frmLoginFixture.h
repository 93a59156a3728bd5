// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the subject form's tests share: a program that has just finished a questionnaire, the
// form's controls found and filled by name, and the files a processing run leaves.
#include "subject/ui/frmLogin.h"

#include "app/Application.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace login_fixture {

// A program that has just finished a questionnaire: constants, item bank, every item answered,
// coded fields "0" as the administration form leaves them.
struct Program {
    selvo::ProgramState state;
    Application app{state};

    Program() {
        for (int item = 1; item <= 94; ++item) {
            state.administration.answers.agreement[item] =
                static_cast<selvo::Integer>(item % 7 + 1);
            state.administration.answers.distress[item] =
                state.administration.answers.agreement[item] >= 5 ? 2 : 0;
        }
        state.administration.allAnswered = true;
        state.subject.sex = state.subject.marital = state.subject.education = "0";
    }

    frmLogin& shownForm() {
        frmLogin& form = app.login();
        form.show();
        return form;
    }
};

template <typename W> W& control(QWidget& form, const char* name) {
    W* found = form.findChild<W*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *found;
}

inline void type(QWidget& form, const char* name, const QString& text) {
    auto& box = control<QLineEdit>(form, name);
    box.clear();
    QTest::keyClicks(&box, text);
}

inline void fillCompletely(QWidget& form, const QString& surname = QStringLiteral("GRP1")) {
    type(form, "txtUserName", QStringLiteral("S01"));
    type(form, "txtPassword", surname);
    type(form, "txtEta", QStringLiteral("35"));
    control<QRadioButton>(form, "Option1_SFemale").click();
    control<QRadioButton>(form, "Option1_ST2").click();
    control<QRadioButton>(form, "Option1_stud4").click();
}

inline void confirm(QWidget& form) {
    QTest::mouseClick(&control<QPushButton>(form, "cmdOK"), Qt::LeftButton);
}

inline std::vector<std::string> filesUnder(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline const std::vector<std::string> kSubjectFiles{
    "SELVO_GRP1_S01.csv", "SELVO_GRP1_S01_report.rtf", "SELVO_SS000_GRP1_S01_sps.sps"};

} // namespace login_fixture
