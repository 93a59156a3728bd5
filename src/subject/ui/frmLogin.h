#pragma once
#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class Shell;

namespace selvo {
struct CommitResult;
struct FileError;
struct ProgramState;
struct SubjectEntry;
} // namespace selvo

// The subject data form: collects and checks the subject's data, then starts processing.
// Shown modally; "Annulla", Esc and a finished run only hide it, so the next showing finds
// the controls as they were left. Only its close button unloads it.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(Shell& shell);

    // Puts the subject record into the controls, exactly: an option group whose code is "0"
    // (or not a code) shows nothing selected.
    void showSubjectRecord();

    // The form outlives its showings: a modal showing ends by hiding it ("Annulla", Esc, a
    // completed run); only the title-bar close button unloads it.
    int exec() override;
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildLayout();
    void styleControls();

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    void focusFirstMissingField();
    void showRunFailure(const selvo::FileError& error, bool filesInPlace);
    void showRunSummary(const selvo::CommitResult& run);
    void selectCodedOptions();
    selvo::SubjectEntry entry() const;
    void showInformation(const QString& text);
    selvo::ProgramState& state();

    Shell& m_shell;
    bool m_closedByButton = false;

    // Labels in the order name, surname, age, notes, then the two "[Codice]" hints.
    std::array<QLabel*, 6> lblLabels{};
    QLineEdit* txtUserName = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtEta = nullptr;
    QPlainTextEdit* TxtNote = nullptr;
    QGroupBox* FrameSesso = nullptr;
    QRadioButton* Option1_SMale = nullptr;
    QRadioButton* Option1_SFemale = nullptr;
    QGroupBox* FrameStatoCivile = nullptr;
    std::array<QRadioButton*, 5> Option1_ST{};
    QGroupBox* FrameStudio = nullptr;
    std::array<QRadioButton*, 5> Option1_stud{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
