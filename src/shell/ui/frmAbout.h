#pragma once
#include <QWidget>

class QTextEdit;
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
    QTextEdit* TextISTRU;
    QPushButton* cmdOK;
};
