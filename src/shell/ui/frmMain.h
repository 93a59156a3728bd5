#pragma once
#include <QWidget>

class Shell;

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(Shell& shell);

private:
    Shell& m_shell;
};
