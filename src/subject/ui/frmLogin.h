#pragma once
#include <QDialog>

class Shell;

// The subject data form: collects and checks the subject's data, then starts processing.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(Shell& shell);

    // Puts the subject record into the controls (the reload's fill; selects, never deselects).
    void showSubjectRecord();

private:
    Shell& m_shell;
};
