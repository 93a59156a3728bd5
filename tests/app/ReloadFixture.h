// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the reload tests share: a program with its windows, a subject as a data file holds it,
// and a look at the subject form while it is up.
#include "app/Application.h"
#include "datafiles/DataFile.h"
#include "subject/ui/frmLogin.h"

#include "support/TestSubjects.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace reload_fixture {

struct Program {
    selvo::ProgramState state;
    Application app{state};
};

// A subject as a data file holds it; `answered` items get agreement 6 and distress 2.
inline testsupport::TestSubject savedSubject(int answered = 94) {
    return {testsupport::subjectRecord(
                {.sex = "2", .marital = "4", .education = "5", .notes = "nota", .card = 7}),
            testsupport::answersWhere([](int) { return 6; }, [](int) { return 2; }, answered)};
}

inline fs::path writeDataFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// While the subject form is up, runs `inspect` on it and then presses "Annulla" (or nothing,
// when `inspect` ends the showing itself).
inline void whenSubjectFormOpens(const std::function<void(frmLogin&)>& inspect,
                                 bool cancel = true) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect, cancel] {
        auto* form = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
        if (form == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        inspect(*form);
        if (cancel) {
            form->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        }
    });
    poll->start(5);
}

inline QStringList checkedOptions(QWidget& form) {
    QStringList captions;
    for (QRadioButton* option : form.findChildren<QRadioButton*>()) {
        if (option->isChecked()) {
            captions << option->text();
        }
    }
    return captions;
}

} // namespace reload_fixture
