// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QWidget>

class QTextEdit;
class QPushButton;

// The instructions the subject reads before answering.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout();

signals:
    // "Chiudi": the window is to go.
    void closeRequested();

private:
    QTextEdit* TextISTRU;
    QPushButton* cmdOK;
};
