#pragma once
#include <QWidget>

class Shell;

class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(Shell& shell);

private:
    Shell& m_shell;
};
