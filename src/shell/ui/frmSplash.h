#pragma once
#include <QWidget>

class Shell;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(Shell& shell);

private:
    Shell& m_shell;
};
