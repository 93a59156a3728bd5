#pragma once
#include <QWidget>

class Shell;

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Shell& shell);

private:
    Shell& m_shell;
};
