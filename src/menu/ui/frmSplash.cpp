// SPDX-License-Identifier: GPL-3.0-or-later

#include "menu/ui/frmSplash.h"

#include "menu/ui/MenuTexts.h"
#include "menu/ui/SplashLogo.h"
#include "questionnaire/Product.h"
#include "widgets/WindowPlacement.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int pointSizeDelta,
                  bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() + pointSizeDelta);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// A click: the left button released over the control it was pressed on.
bool isClick(const QObject* watched, const QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return mouse->button() == Qt::LeftButton && widget != nullptr &&
           widget->rect().contains(mouse->position().toPoint());
}

} // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setWindowTitle("Brivan SELVO");

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setStyleSheet("#Frame1 { background: white; border: 2px solid #1f5f8b; }");

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setAccessibleName("Logo Brivan SELVO");
    imgLogo->setPixmap(splashLogo(128, devicePixelRatioF()));
    imgLogo->setFixedSize(128, 128);

    // Load handler: product name and version.
    lblProductName = makeLabel(Frame1, "lblProductName", "Brivan SELVO", 14, true);
    lblProductName->setStyleSheet("color: #1f5f8b;");
    lblVersion = makeLabel(Frame1, "lblVersion",
                           QString::fromStdString("Versione " + selvo::printedVersion()), 1, false);
    Label2 = makeLabel(Frame1, "Label2", QString::fromUtf8(selvo::kQuestionnaireTitle), 2, false);
    Label2->setWordWrap(true);
    lblCompanyProduct =
        makeLabel(Frame1, "lblCompanyProduct", QString::fromUtf8(selvo::kCompanyProduct), 0, false);
    lblCompanyProduct->setStyleSheet("color: #555555;");

    auto* names = new QVBoxLayout;
    names->addStretch();
    names->addWidget(lblProductName);
    names->addWidget(lblVersion);
    names->addStretch();
    auto* top = new QHBoxLayout;
    top->setSpacing(24);
    top->addWidget(imgLogo);
    top->addLayout(names, 1);
    auto* inside = new QVBoxLayout(Frame1);
    inside->setContentsMargins(28, 28, 28, 20);
    inside->setSpacing(14);
    inside->addLayout(top);
    inside->addSpacing(6);
    inside->addWidget(Label2);
    inside->addStretch();
    inside->addWidget(lblCompanyProduct, 0, Qt::AlignRight);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Frame1);

    // Clicks on the logo and on the other labels must not reach the frame behind them.
    for (QLabel* inert : {imgLogo, lblVersion, Label2}) {
        inert->setAttribute(Qt::WA_NoMousePropagation);
    }
    for (QWidget* clickable : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(lblProductName),
                               static_cast<QWidget*>(lblCompanyProduct)}) {
        clickable->installEventFilter(this);
    }
    setFocusPolicy(Qt::StrongFocus);
    resize(560, 300);
    centreOnScreen(*this);
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Without a title bar the window manager may not focus it; the keys must reach it.
    activateWindow();
    setFocus();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    // Only keys that produce a character (Enter, Escape and Space included) dismiss.
    if (!event->text().isEmpty()) {
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (isClick(watched, event)) {
        if (watched == Frame1) {
            Frame1_Click();
        } else if (watched == lblCompanyProduct) {
            lblCompanyProduct_Click();
        } else if (watched == lblProductName) {
            lblProductName_Click();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::dismiss() {
    // Two events can arrive before the splash is gone; the main menu opens for the first only.
    if (m_dismissed) {
        return;
    }
    m_dismissed = true;
    emit dismissed();
}
