#pragma once
#include <QWidget>

class Shell;

// The window on which the subject answers the questionnaire.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Shell& shell);

    // Also driven by the reload of a saved data file.
    void ShowAgreementAnswer(int item);
    void ShowDistressAnswer(int item);
    void CheckCompletion();

private:
    Shell& m_shell;
};
