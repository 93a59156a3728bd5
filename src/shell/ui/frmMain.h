#pragma once
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class Shell;

// The main menu: start an administration, reprocess a saved data file, or quit.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(Shell& shell);

private:
    void cmdMainSOMM_Click();
    void cmdMainSS_Click();
    void cmdMainQUIT_Click();
    void reloadSelectedFile();

    Shell& m_shell;
    QPushButton* cmdMainSOMM;
    QPushButton* cmdMainSS;
    QPushButton* cmdMainQUIT;
    QLabel* lblCompanyProduct;
    QPlainTextEdit* TextRef;
};
