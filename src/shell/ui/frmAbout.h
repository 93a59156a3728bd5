#pragma once
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class Shell;

// The instructions the subject reads before answering.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(Shell& shell);

private:
    void cmdOK_Click();

    Shell& m_shell;
    QPlainTextEdit* TextISTRU;
    QPushButton* cmdOK;
};
