// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/ui/Form1.h"

#include "administration/Answering.h"
#include "administration/Completion.h"
#include "questionnaire/Product.h"
#include "questionnaire/content/Wording.h"
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

namespace q = selvo::questionnaire;

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

Form1::Form1(selvo::Administration& administration, bool keepAnswers)
    : m_administration(administration) {
    showMessage = [this](const QString& text) {
        ::showMessage(this, QMessageBox::Information, kTitle, text);
    };
    buildControls();
    buildLayout();
    connectControls();
    installKeyPreview();
    centreOnScreen(*this);
    Form_Load(keepAnswers);
}

selvo::Administration& Form1::administration() {
    return m_administration;
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

void Form1::Form_Load(bool keepAnswers) {
    selvo::Administration& a = administration();
    showScaleButtons();

    a.currentItem = 0;

    CommSaveData->hide(); // until a move finds the answers complete
    Text1->setText(QStringLiteral("Prema 'Avanti' per iniziare"));
    TextD->setText(screenText(std::string(q::DistressLabel(0))));
    TextCurrentItem->setText(QStringLiteral(" "));
    Label1->hide();
    deselectAll(m_agreementGroup);
    deselectAll(m_distressGroup);

    if (!keepAnswers) {
        a.answers = {};
    }
    TextDom->setPlainText(QStringLiteral("\n") + screenText(q::ItemText(0)));
    TextScala->setPlainText(screenText(q::AgreementLegend()));
    TextScala2->setPlainText(screenText(q::DistressLegend()));
    deselectAll(m_agreementGroup);
    deselectAll(m_distressGroup);
}

void Form1::BeginNewSubject() {
    Form_Load(false);
}

// The number of steps of each scale is set by its constant.
void Form1::showScaleButtons() {
    for (std::size_t k = 0; k < Option.size(); ++k) {
        Option[k]->setVisible(static_cast<int>(k) < q::kAgreementSteps);
    }
    for (std::size_t k = 0; k < OptionD.size(); ++k) {
        OptionD[k]->setVisible(static_cast<int>(k) < q::kDistressSteps);
    }
}

void Form1::showCurrentItem() {
    selvo::Administration& a = administration();
    Label1->show();
    TextCurrentItem->setText(QString::fromStdString(selvo::ProgressText(a)));
    ShowAgreementAnswer(a.currentItem);
    ShowDistressAnswer(a.currentItem);
    TextItemValue->setText(
        QString::fromStdString(selvo::numberText(a.answers.agreement[a.currentItem])));
    TextDom->setPlainText(QStringLiteral("\n") + screenText(q::ItemText(a.currentItem)));
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
    Text1->setText(screenText(selvo::AgreementCaption(step)));
}

void Form1::showDistressStep(int step) {
    TextD->setText(screenText(selvo::DistressCaption(step)));
}

void Form1::clearDistressChoice() {
    deselectAll(m_distressGroup);
    TextD->setText(screenText(std::string(q::DistressLabel(0))));
}

void Form1::ShowAgreementAnswer(int item) {
    selvo::Administration& a = administration();
    const int step = a.answers.agreement[item];
    if (step < 1 || step > q::kAgreementSteps) {
        deselectAll(m_agreementGroup);
        Text1->setText(screenText(std::string(q::AgreementLabel(0))));
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
    selvo::Administration& a = administration();
    const int step = a.answers.distress[item];
    if (step < 1 || step > q::kDistressSteps) {
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
    selvo::Administration& a = administration();
    setDistressShown(false);
    if (a.currentItem == 0) {
        // The notice page lets the subject try both scales; nothing is recorded there.
        setDistressShown(true);
        return;
    }
    const int step = m_agreementGroup->checkedId();
    if (step > 0) {
        showAgreementStep(step);
        selvo::RecordAgreement(a, step);
        emit answerGiven();
        if (selvo::AsksDistress(step)) {
            setDistressShown(true);
        } else {
            // The stored distress answer is gone: the screen must not keep showing it.
            clearDistressChoice();
        }
    }
    TextItemValue->setText(
        QString::fromStdString(selvo::numberText(a.answers.agreement[a.currentItem])));
}

void Form1::OnDistressChosen() {
    selvo::Administration& a = administration();
    if (a.currentItem == 0) {
        return;
    }
    const int step = m_distressGroup->checkedId();
    if (step > 0) {
        showDistressStep(step);
        selvo::RecordDistress(a, step);
        emit answerGiven();
    }
}

void Form1::CheckCompletion() {
    // Once shown the button stays: a later change may make the answers incomplete again, and
    // the operator still sees where processing starts.
    if (selvo::CheckCompletion(administration())) {
        CommSaveData->show();
    }
}

void Form1::ShowFirstMissingItem() {
    selvo::Administration& a = administration();
    const std::vector<int> missing = selvo::MissingItems(a.answers);
    a.currentItem = missing.empty() ? q::kItemCount : missing.front();
    showCurrentItem();
}

void Form1::CommAvanti_Click() {
    const bool atLastItem = administration().currentItem == q::kItemCount;
    selvo::MoveForward(administration());
    showCurrentItem();
    // "AVANTI" cannot go past the last item: say what is still missing instead of nothing.
    if (atLastItem) {
        showMissingItems();
    }
}

// Names the items still missing and shows the first of them; false when nothing is missing.
bool Form1::showMissingItems() {
    selvo::Administration& a = administration();
    const std::vector<int> missing = selvo::MissingItems(a.answers);
    if (missing.empty()) {
        return false;
    }
    showMessage(qtext(selvo::MissingItemsMessage(missing)));
    a.currentItem = missing.front();
    showCurrentItem();
    return true;
}

void Form1::CommIndietro_Click() {
    selvo::MoveBack(administration());
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
