// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/ui/Form1.h"

#include "administration/Answering.h"
#include "administration/Completion.h"
#include "administration/ItemBank.h"
#include "state/ProgramState.h"
#include "text/NumberText.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"
#include "widgets/WindowPlacement.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kTitle = productName();

// An exclusive group always keeps one button selected once any is: clearing them all needs
// exclusivity off for a moment.
void deselectAll(QButtonGroup* group) {
    group->setExclusive(false);
    const QList<QAbstractButton*> buttons = group->buttons();
    for (QAbstractButton* button : buttons) {
        button->setChecked(false);
    }
    group->setExclusive(true);
}

} // namespace

Form1::Form1(selvo::ProgramState& state, bool keepAnswersJustRead) : m_state(state) {
    showMessage = [this](const QString& text) {
        ::showMessage(this, QMessageBox::Information, kTitle, text);
    };
    buildControls();
    buildLayout();
    connectControls();
    installKeyPreview();
    centreOnScreen(*this);
    Form_Load(keepAnswersJustRead);
}

selvo::ProgramState& Form1::state() {
    return m_state;
}

void Form1::connectControls() {
    // toggled(true) fires when a button becomes selected, by a click or from code, and not for a
    // button already selected: a second click on the same step records nothing.
    // A stored answer put on screen selects its button too: that records nothing.
    for (QRadioButton* option : Option) {
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected && !m_showingStoredAnswer) {
                OnAgreementChosen();
            }
        });
    }
    for (QRadioButton* option : OptionD) {
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected && !m_showingStoredAnswer) {
                OnDistressChosen();
            }
        });
    }
    connect(CommAvanti, &QPushButton::clicked, this, &Form1::CommAvanti_Click);
    connect(CommIndietro, &QPushButton::clicked, this, &Form1::CommIndietro_Click);
    connect(CommIstru, &QPushButton::clicked, this, &Form1::CommIstru_Click);
    connect(CommSaveData, &QPushButton::clicked, this, &Form1::CommSaveData_Click);
    connect(cmdLoadData, &QPushButton::clicked, this, &Form1::cmdLoadData_Click);
}

// The window sees every key before the control that has the focus.
void Form1::installKeyPreview() {
    installEventFilter(this);
    const QList<QWidget*> children = findChildren<QWidget*>();
    for (QWidget* child : children) {
        child->installEventFilter(this);
    }
}

void Form1::Form_Load(bool keepAnswersJustRead) {
    selvo::ProgramState& s = state();
    // A complete set of answers survives a new load; so do answers a reload has just read,
    // complete or not, since that load comes from the reload itself.
    const bool keepAnswers = selvo::isTrue(s.AllAnswered) || keepAnswersJustRead;

    if (!keepAnswers) {
        s.SubjectSex = "0";
        s.SubjectMarital = "0";
        s.SubjectEducation = "0";
    }
    selvo::LoadItemBank(s);
    showScaleButtons();

    s.CurrentItem = 0;
    s.AnswerTextT = s.ScaleLabels[0];
    s.AnswerTextD = s.DistressLabels[0];

    CommSaveData->hide(); // until a move finds the answers complete
    Text1->setText(QStringLiteral("Prema 'Avanti' per iniziare"));
    TextD->setText(screenText(s.AnswerTextD));
    TextCurrentItem->setText(QStringLiteral(" "));
    Label1->hide();
    deselectAll(m_agreementGroup);
    deselectAll(m_distressGroup);

    if (!keepAnswers) {
        selvo::ClearAnswers(s);
    }
    TextDom->setPlainText(QStringLiteral("\n") + screenText(s.ItemText[0]));
    TextScala->setPlainText(screenText(selvo::AgreementLegend(s)));
    TextScala2->setPlainText(screenText(selvo::DistressLegend(s)));
    deselectAll(m_agreementGroup);
    deselectAll(m_distressGroup);
}

void Form1::BeginNewSubject() {
    Form_Load(false);
}

// The number of steps of each scale is set by its constant.
void Form1::showScaleButtons() {
    const selvo::ProgramState& s = state();
    for (std::size_t k = 0; k < Option.size(); ++k) {
        Option[k]->setVisible(static_cast<int>(k) < s.ScalePoints.asInt());
    }
    for (std::size_t k = 0; k < OptionD.size(); ++k) {
        OptionD[k]->setVisible(static_cast<int>(k) < s.DistressPoints.asInt());
    }
}

void Form1::showCurrentItem() {
    selvo::ProgramState& s = state();
    Label1->show();
    TextCurrentItem->setText(QString::fromStdString(selvo::ProgressText(s)));
    ShowAgreementAnswer(s.CurrentItem);
    ShowDistressAnswer(s.CurrentItem);
    TextItemValue->setText(QString::fromStdString(selvo::numberText(s.AnswerT[s.CurrentItem])));
    TextDom->setPlainText(QStringLiteral("\n") +
                          screenText(s.ItemText.at(static_cast<std::size_t>(s.CurrentItem))));
    CheckCompletion();
}

void Form1::setDistressShown(bool shown) {
    m_distressShown = shown;
    for (QWidget* part : std::initializer_list<QWidget*>{LabelQScalaD, Frame2, TextD, TextScala2,
                                                         Line[0], Line[1], Line[2], Line[3]}) {
        part->setVisible(shown);
    }
}

void Form1::showAgreementStep(int step) {
    selvo::ProgramState& s = state();
    s.AnswerTextT = selvo::AgreementCaption(s, step);
    Text1->setText(screenText(s.AnswerTextT));
}

void Form1::showDistressStep(int step) {
    selvo::ProgramState& s = state();
    s.AnswerTextD = selvo::DistressCaption(s, step);
    TextD->setText(screenText(s.AnswerTextD));
}

void Form1::clearDistressChoice() {
    selvo::ProgramState& s = state();
    deselectAll(m_distressGroup);
    s.AnswerTextD = s.DistressLabels[0];
    TextD->setText(screenText(s.AnswerTextD));
}

void Form1::ShowAgreementAnswer(int item) {
    selvo::ProgramState& s = state();
    const int step = s.AnswerT[item];
    if (step < 1 || step > s.ScalePoints.asInt()) {
        deselectAll(m_agreementGroup);
        s.AnswerTextT = s.ScaleLabels[0];
        Text1->setText(screenText(s.AnswerTextT));
        setDistressShown(false);
    } else {
        // Only the button is selected here, never the answer recorded: the step's texts and
        // the distress question are put on screen below.
        showStoredChoice(*Option[static_cast<std::size_t>(step - 1)]);
        if (!selvo::AsksDistress(step)) {
            deselectAll(m_distressGroup);
        }
        showAgreementStep(step);
        setDistressShown(selvo::AsksDistress(step));
    }
    if (item == 0) {
        setDistressShown(true);
    }
}

void Form1::ShowDistressAnswer(int item) {
    selvo::ProgramState& s = state();
    const int step = s.AnswerD[item];
    if (step < 1 || step > s.DistressPoints.asInt()) {
        clearDistressChoice();
    } else {
        showStoredChoice(*OptionD[static_cast<std::size_t>(step - 1)]);
        showDistressStep(step);
    }
}

void Form1::showStoredChoice(QRadioButton& option) {
    m_showingStoredAnswer = true;
    option.setChecked(true);
    m_showingStoredAnswer = false;
}

void Form1::OnAgreementChosen() {
    selvo::ProgramState& s = state();
    setDistressShown(false);
    if (s.CurrentItem == 0) {
        // The notice page lets the subject try both scales; nothing is recorded there.
        setDistressShown(true);
        return;
    }
    const int step = m_agreementGroup->checkedId();
    if (step > 0) {
        showAgreementStep(step);
        selvo::RecordAgreement(s, step);
        emit answerGiven();
        if (selvo::AsksDistress(step)) {
            setDistressShown(true);
        } else {
            // The stored distress answer is gone: the screen must not keep showing it.
            clearDistressChoice();
        }
    }
    TextItemValue->setText(QString::fromStdString(selvo::numberText(s.AnswerT[s.CurrentItem])));
}

void Form1::OnDistressChosen() {
    selvo::ProgramState& s = state();
    if (s.CurrentItem == 0) {
        return;
    }
    const int step = m_distressGroup->checkedId();
    if (step > 0) {
        showDistressStep(step);
        selvo::RecordDistress(s, step);
        emit answerGiven();
    }
}

void Form1::CheckCompletion() {
    // Once shown the button stays: a later change may make the answers incomplete again, and
    // the operator still sees where processing starts.
    if (selvo::CheckCompletion(state())) {
        CommSaveData->show();
    }
}

void Form1::ShowFirstMissingItem() {
    selvo::ProgramState& s = state();
    const std::vector<int> missing = selvo::MissingItems(s);
    s.CurrentItem =
        static_cast<selvo::Integer>(missing.empty() ? s.ItemCount.asInt() : missing.front());
    showCurrentItem();
}

void Form1::CommAvanti_Click() {
    const bool atLastItem = state().CurrentItem == state().ItemCount.asInt();
    selvo::MoveForward(state());
    showCurrentItem();
    // "AVANTI" cannot go past the last item: say what is still missing instead of nothing.
    if (atLastItem) {
        showMissingItems();
    }
}

// Names the items still missing and shows the first of them; false when nothing is missing.
bool Form1::showMissingItems() {
    selvo::ProgramState& s = state();
    const std::vector<int> missing = selvo::MissingItems(s);
    if (missing.empty()) {
        return false;
    }
    showMessage(qtext(selvo::MissingItemsMessage(missing)));
    s.CurrentItem = static_cast<selvo::Integer>(missing.front());
    showCurrentItem();
    return true;
}

void Form1::CommIndietro_Click() {
    selvo::MoveBack(state());
    showCurrentItem();
}

void Form1::CommIstru_Click() {
    emit instructionsRequested();
}

void Form1::CommSaveData_Click() {
    // The button stays once shown, so an answer changed since may have left the set
    // incomplete: it is never scored silently.
    if (showMissingItems()) {
        return;
    }
    emit processingRequested();
}

void Form1::cmdLoadData_Click() {
    emit reloadRequested();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto& release = *static_cast<QKeyEvent*>(event);
        if (!release.isAutoRepeat()) {
            m_lastRelease = {release.key(), release.timestamp()};
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto& press = *static_cast<QKeyEvent*>(event);
        const bool repeat = isRepeat(press);
        m_lastRelease = {};
        if (handleKey(press, !repeat)) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Under load, X11's repeat of a held key can reach Qt as a real release and a real press (Qt
// recognises a repeat only among events already queued), yet with a repeat's time stamps: the
// press at the release's instant. 10 ms is well above the clock's step and well below the
// time a person takes to lift a finger and press the same key again (tens of milliseconds).
bool Form1::isRepeat(const QKeyEvent& press) const {
    constexpr quint64 kRepeatGapMs = 10;
    if (press.isAutoRepeat()) {
        return true;
    }
    // A time stamp of 0 is none at all (an event a program made), not an instant.
    return m_lastRelease.key == press.key() && m_lastRelease.timestamp != 0 &&
           press.timestamp() >= m_lastRelease.timestamp &&
           press.timestamp() - m_lastRelease.timestamp < kRepeatGapMs;
}

// Returns true when the key was the window's; every other key goes on to the focused control.
// A key held down repeats: only the physical press acts, so a held Enter moves one item.
bool Form1::handleKey(const QKeyEvent& event, bool act) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (act) {
            CommAvanti_Click();
        }
        return true;
    case Qt::Key_Left:
        if (act) {
            showMessage(QStringLiteral("freccia sx"));
        }
        return true;
    case Qt::Key_Right:
        if (act) {
            showMessage(QStringLiteral("freccia dx"));
        }
        return true;
    default:
        break;
    }
    const QString text = event.text();
    if (text.size() != 1) {
        return false;
    }
    const QChar key = text.front();
    if (key >= QLatin1Char('1') && key <= QLatin1Char('7')) {
        if (act) {
            chooseAgreementByKey(key.digitValue());
        }
        return true;
    }
    // Lower case only: "Q", "W", "E" belong to the focused control.
    static const QString distressKeys = QStringLiteral("qwe");
    const auto distressIndex = distressKeys.indexOf(key);
    if (distressIndex >= 0) {
        if (act) {
            chooseDistressByKey(static_cast<int>(distressIndex) + 1);
        }
        return true;
    }
    return false;
}

void Form1::chooseAgreementByKey(int step) {
    QRadioButton* option = Option[static_cast<std::size_t>(step - 1)];
    if (option->isHidden()) {
        return;
    }
    // Selecting records the answer (toggled); a step already selected is already the answer.
    option->setChecked(true);
}

// Only while the distress question is on screen: otherwise the subject would store an answer to
// a question never asked.
void Form1::chooseDistressByKey(int step) {
    QRadioButton* option = OptionD[static_cast<std::size_t>(step - 1)];
    if (!m_distressShown || option->isHidden()) {
        return;
    }
    option->setChecked(true);
}
