// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QWidget>

#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The main menu: start an administration, reprocess a saved data file, or quit.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(const std::string& title);

    // For a command this copy of the program does not offer.
    void showNotYetAvailable();

signals:
    void administrationRequested(); // "SOMMINISTRAZIONE TEST"
    void reprocessingRequested();   // "ELABORAZIONE DATI"
    void quitRequested();           // "Quit"

private:
    QPushButton* cmdMainSOMM;
    QPushButton* cmdMainSS;
    QPushButton* cmdMainQUIT;
    QLabel* lblCompanyProduct;
    QPlainTextEdit* TextRef;
};
