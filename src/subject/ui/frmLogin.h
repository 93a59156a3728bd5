#pragma once
#include <QDialog>

class Shell;

class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(Shell& shell);

private:
    Shell& m_shell;
};
