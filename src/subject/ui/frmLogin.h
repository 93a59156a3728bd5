// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include "subject/SubjectChecks.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class ElidedPathLabel;

// The subject data form: collects the subject's data; "ELABORAZIONE DATI" hands them on.
// Shown modally; "Annulla", Esc and a finished run only hide it, so the next showing finds
// the controls as they were left. Only its close button unloads it.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    frmLogin();

    // Puts the subject record into the controls, exactly: an option group whose code is "0"
    // (or not a code) shows nothing selected.
    void showSubjectRecord(const selvo::SubjectEntry& record);

    // What the controls hold now.
    selvo::SubjectEntry entry() const;

    // After a refused confirmation: the first field still empty, or the field at fault,
    // selected for retyping.
    void focusFirstMissingField();
    void focusUnsafeField(selvo::UnsafeName::Field field);

    // The folder the three files will be written into, and why it is not the one the operator
    // chose last (empty when it is).
    void showOutputFolder(const QString& folder, const QString& note = {});
    QString outputFolder() const;

    // A box about the subject's data, owned by the form.
    void showInformation(const QString& text);

    // The form outlives its showings: a modal showing ends by hiding it ("Annulla", Esc, a
    // completed run); only the title-bar close button unloads it.
    int exec() override;
    void done(int result) override;

signals:
    // "ELABORAZIONE DATI": the operator confirms what the controls hold.
    void confirmed();
    // "Cambia cartella...": the operator wants the files written elsewhere.
    void folderChangeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildLayout();
    void styleControls();

    void cmdCancel_Click();
    void selectCodedOptions(const selvo::SubjectEntry& record);

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
    QLabel* lblCartella = nullptr;
    ElidedPathLabel* lblPercorso = nullptr;
    QLabel* lblNotaCartella = nullptr;
    QPushButton* cmdCartella = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
