// SPDX-License-Identifier: GPL-3.0-or-later

// The controls of the administration window and their arrangement. The subject reads this
// window, often without help: large item text, the two questions set apart, the counter always
// in sight, and everything fitting a 1024 x 768 screen.
#include "administration/ui/Form1.h"
#include "questionnaire/Questionnaire.h"
#include "widgets/WidgetText.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kItemTextPoints = 16;
constexpr int kQuestionPoints = 13;
constexpr int kAnswerPoints = 13;
constexpr int kLegendPoints = 11;

template <typename W> W* named(W* widget, const QString& name, const QString& accessibleName) {
    widget->setObjectName(name);
    widget->setAccessibleName(accessibleName);
    return widget;
}

void setPoints(QWidget* widget, int points, bool bold = false) {
    QFont font = widget->font();
    font.setPointSize(points);
    font.setBold(bold);
    widget->setFont(font);
}

QLineEdit* answerBox(const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* box = named(new QLineEdit(parent), name, accessibleName);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    setPoints(box, kAnswerPoints, true);
    return box;
}

// A legend shows all its lines at once: no scrolling, no editing.
QPlainTextEdit* legendBox(const QString& name, const QString& accessibleName, int lines,
                          QWidget* parent) {
    auto* box = named(new QPlainTextEdit(parent), name, accessibleName);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setPoints(box, kLegendPoints);
    const int margins =
        2 * (box->frameWidth() + static_cast<int>(box->document()->documentMargin()));
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + margins + 4);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(
                           QStringLiteral("( 4 )  Nè in accordo Nè in disaccordo")) +
                       margins + 12);
    return box;
}

QGroupBox* answerFrame(const QString& name, QWidget* parent) {
    auto* frame =
        named(new QGroupBox(QStringLiteral("RISPOSTA"), parent), name, QStringLiteral("RISPOSTA"));
    setPoints(frame, kLegendPoints, true);
    return frame;
}

QRadioButton* stepButton(int step, QWidget* parent, const QString& prefix) {
    const QString caption = QString::number(step);
    auto* button = named(new QRadioButton(caption, parent), prefix + caption, caption);
    setPoints(button, 14, true);
    // A circle big enough to hit and to see at a glance; equal widths line the distress steps
    // up under the first agreement steps.
    button->setStyleSheet(QStringLiteral("QRadioButton::indicator { width: 20px; height: 20px; }"));
    button->setFixedWidth(88);
    return button;
}

QFrame* line(int number, QFrame::Shape shape, QWidget* parent) {
    auto* rule = named(new QFrame(parent), QStringLiteral("Line%1").arg(number), QString());
    rule->setFrameShape(shape);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

// The distress section hides and shows as the answers ask; the window must not jump about.
void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

void Form1::buildControls() {
    setWindowTitle(productName());
    setObjectName(QStringLiteral("Form1"));
    setAccessibleName(productName());

    Label1 = named(new QLabel(QStringLiteral("DOMANDA:"), this), QStringLiteral("Label1"),
                   QStringLiteral("DOMANDA:"));
    setPoints(Label1, kQuestionPoints, true);

    TextDom =
        named(new QPlainTextEdit(this), QStringLiteral("TextDom"), QStringLiteral("DOMANDA:"));
    TextDom->setReadOnly(true);
    TextDom->setFocusPolicy(Qt::NoFocus);
    setPoints(TextDom, kItemTextPoints);
    Label1->setBuddy(TextDom);

    TextCurrentItem =
        answerBox(QStringLiteral("TextCurrentItem"), QStringLiteral("Domanda numero"), this);
    TextCurrentItem->setAlignment(Qt::AlignCenter);
    TextCurrentItem->setFixedWidth(
        TextCurrentItem->fontMetrics().horizontalAdvance(QStringLiteral(" 94 di  94")) + 24);

    const QString agreementQuestion =
        QStringLiteral("Relativamente a te stesso, quanto sei d'accordo con questa affermazione?");
    LabelQScala = named(new QLabel(agreementQuestion, this), QStringLiteral("LabelQScala"),
                        agreementQuestion);
    LabelQScala->setWordWrap(true);
    setPoints(LabelQScala, kQuestionPoints, true);

    Frame1 = answerFrame(QStringLiteral("Frame1"), this);
    m_agreementGroup = new QButtonGroup(this);
    for (int step = 1; step <= selvo::questionnaire::kAgreementSteps; ++step) {
        Option[step - 1] = stepButton(step, Frame1, QStringLiteral("Option"));
        m_agreementGroup->addButton(Option[step - 1], step);
    }
    Text1 = answerBox(QStringLiteral("Text1"), QStringLiteral("Risposta scelta"), this);
    TextScala = legendBox(QStringLiteral("TextScala"), QStringLiteral("Scala di accordo"), 7, this);

    const QString distressQuestion =
        QStringLiteral("Questo aspetto ha mai causato a te  o ad altri qualche problema o è stato "
                       "fonte di sofferenza?");
    LabelQScalaD =
        named(new QLabel(distressQuestion, this), QStringLiteral("LabelQScalaD"), distressQuestion);
    LabelQScalaD->setWordWrap(true);
    setPoints(LabelQScalaD, kQuestionPoints, true);

    Frame2 = answerFrame(QStringLiteral("Frame2"), this);
    m_distressGroup = new QButtonGroup(this);
    for (int step = 1; step <= 3; ++step) {
        OptionD[step - 1] = stepButton(step, Frame2, QStringLiteral("OptionD"));
        m_distressGroup->addButton(OptionD[step - 1], step);
    }
    TextD = answerBox(QStringLiteral("TextD"), QStringLiteral("Risposta scelta sulla sofferenza"),
                      this);
    TextScala2 =
        legendBox(QStringLiteral("TextScala2"), QStringLiteral("Scala di sofferenza"), 3, this);

    Line[0] = line(1, QFrame::HLine, this);
    Line[1] = line(2, QFrame::HLine, this);
    Line[2] = line(3, QFrame::VLine, this);
    Line[3] = line(4, QFrame::VLine, this);

    TextItemValue = named(new QLineEdit(this), QStringLiteral("TextItemValue"),
                          QStringLiteral("Valore della risposta"));
    TextItemValue->setVisible(false);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* pushButton = named(new QPushButton(caption, this), name, caption);
        pushButton->setAutoDefault(false);
        setPoints(pushButton, kQuestionPoints, true);
        pushButton->setMinimumHeight(44);
        return pushButton;
    };
    CommAvanti = button(QStringLiteral("CommAvanti"), QStringLiteral("AVANTI"));
    CommIndietro = button(QStringLiteral("CommIndietro"), QStringLiteral("INDIETRO"));
    CommIstru = button(QStringLiteral("CommIstru"), QStringLiteral("Istruzioni"));
    CommSaveData = button(QStringLiteral("CommSaveData"), QStringLiteral("ELABORAZIONE DATI"));
    CommSaveData->setVisible(false);
    CommSaveData->setMinimumWidth(240);
    cmdLoadData = named(new QPushButton(QStringLiteral("Ss"), this), QStringLiteral("cmdLoadData"),
                        QStringLiteral("Ss"));
    cmdLoadData->setAutoDefault(false);
    cmdLoadData->setFixedSize(32, 24);
    CommAvanti->setMinimumWidth(180);
    CommIndietro->setMinimumWidth(160);
}

void Form1::buildLayout() {
    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addStretch(1);
    top->addWidget(TextCurrentItem);
    top->addSpacing(16);
    top->addWidget(CommIstru);

    auto* agreementButtons = new QHBoxLayout(Frame1);
    for (QRadioButton* option : Option) {
        agreementButtons->addWidget(option);
    }
    agreementButtons->addStretch(1);
    auto* agreement = new QGridLayout;
    agreement->addWidget(LabelQScala, 0, 0, 1, 2);
    agreement->addWidget(Frame1, 1, 0);
    agreement->addWidget(Text1, 2, 0);
    agreement->addWidget(TextScala, 1, 1, 2, 1, Qt::AlignTop);
    agreement->setColumnStretch(0, 1);

    auto* distressButtons = new QHBoxLayout(Frame2);
    for (QRadioButton* option : OptionD) {
        distressButtons->addWidget(option);
    }
    distressButtons->addStretch(1);
    // Line1..Line4 draw a box round the distress question, so it reads as a question of its own.
    auto* distress = new QGridLayout;
    distress->addWidget(Line[0], 0, 0, 1, 4);
    distress->addWidget(Line[2], 1, 0, 3, 1);
    distress->addWidget(LabelQScalaD, 1, 1, 1, 2);
    distress->addWidget(Frame2, 2, 1);
    distress->addWidget(TextD, 3, 1);
    distress->addWidget(TextScala2, 2, 2, 2, 1, Qt::AlignTop);
    distress->addWidget(Line[3], 1, 3, 3, 1);
    distress->addWidget(Line[1], 4, 0, 1, 4);
    distress->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CommIndietro);
    bottom->addWidget(CommAvanti);
    bottom->addStretch(1);
    bottom->addWidget(CommSaveData);
    bottom->addSpacing(16);
    bottom->addWidget(cmdLoadData, 0, Qt::AlignBottom);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(TextDom, 1);
    page->addSpacing(6);
    page->addLayout(agreement);
    page->addSpacing(10);
    page->addLayout(distress);
    page->addSpacing(6);
    page->addLayout(bottom);

    const std::initializer_list<QWidget*> steadyParts{
        LabelQScalaD, Frame2,  TextD,   TextScala2, Line[0],
        Line[1],      Line[2], Line[3], Label1,     CommSaveData};
    for (QWidget* part : steadyParts) {
        keepPlaceWhenHidden(part);
    }
    TextDom->setMinimumHeight(TextDom->fontMetrics().lineSpacing() * 5);
    // Room for the notice page on a 1024 x 768 screen, less on a smaller one.
    QSize size(1000, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(0, 40));
    }
    resize(size);
}
