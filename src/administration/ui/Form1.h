// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace selvo {
struct Administration;
}

// The window on which the subject reads the items one at a time and answers them: agreement
// on seven steps and, for an agreement of 5 to 7, distress on three.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // The first load clears the answers unless told to keep them (a complete set, a reload, a
    // resumed administration).
    Form1(selvo::Administration& administration, bool keepAnswers);

    // Also driven by the reload of a saved data file.
    void ShowAgreementAnswer(int item);
    void ShowDistressAnswer(int item);
    void CheckCompletion();

    // For a resumed administration: the first item still lacking an answer, or the last item
    // when none is.
    void ShowFirstMissingItem();

    // Back to the notice page with nothing answered, for the next subject (the administration
    // has been cleared already).
    void BeginNewSubject();

    // Information boxes (arrow keys, functions not available). Replaceable so a test can see
    // them without a modal loop.
    std::function<void(const QString& text)> showMessage;

signals:
    void answerGiven();           // an answer recorded, on the scale of either question
    void instructionsRequested(); // "ISTRUZIONI"
    void processingRequested();   // the processing button, with every item answered
    void reloadRequested();       // the button that loads a saved data file

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildLayout();
    void connectControls();
    void installKeyPreview();

    void Form_Load(bool keepAnswers);
    void showScaleButtons();
    void showCurrentItem();
    void setDistressShown(bool shown);
    void showAgreementStep(int step);
    void showDistressStep(int step);
    void clearDistressChoice();
    void showStoredChoice(QRadioButton& option);
    bool showMissingItems();
    bool isRepeat(const QKeyEvent& press) const;
    bool handleKey(const QKeyEvent& event, bool act);
    void chooseAgreementByKey(int step);
    void chooseDistressByKey(int step);

    void OnAgreementChosen();
    void OnDistressChosen();
    void CommAvanti_Click();
    void CommIndietro_Click();
    void CommIstru_Click();
    void CommSaveData_Click();
    void cmdLoadData_Click();

    selvo::Administration& administration();

    selvo::Administration& m_administration;
    bool m_distressShown = true;
    bool m_showingStoredAnswer = false;
    // The last key let go, for telling a repeat that reached Qt as a release and a press.
    struct ReleasedKey {
        int key = 0;
        quint64 timestamp = 0;
    };
    ReleasedKey m_lastRelease;

    QLabel* Label1 = nullptr;
    QPlainTextEdit* TextDom = nullptr;
    QLineEdit* TextCurrentItem = nullptr;
    QLabel* LabelQScala = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 7> Option{};
    QButtonGroup* m_agreementGroup = nullptr;
    QLineEdit* Text1 = nullptr;
    QPlainTextEdit* TextScala = nullptr;
    QLabel* LabelQScalaD = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 3> OptionD{};
    QButtonGroup* m_distressGroup = nullptr;
    QLineEdit* TextD = nullptr;
    QPlainTextEdit* TextScala2 = nullptr;
    std::array<QFrame*, 4> Line{};
    QLineEdit* TextItemValue = nullptr;
    QPushButton* CommAvanti = nullptr;
    QPushButton* CommIndietro = nullptr;
    QPushButton* CommIstru = nullptr;
    QPushButton* CommSaveData = nullptr;
    QPushButton* cmdLoadData = nullptr;
};
