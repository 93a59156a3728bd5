// SPDX-License-Identifier: GPL-3.0-or-later

#include "menu/ui/frmMain.h"

#include "menu/ui/MenuTexts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/WidgetText.h"
#include "widgets/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setMinimumSize(260, 48);
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() + 1);
    font.setBold(true);
    button->setFont(font);
    return button;
}

} // namespace

frmMain::frmMain(const std::string& title) {
    setObjectName("frmMain");
    // Load handler: caption and references.
    setWindowTitle(QString::fromStdString(title));

    cmdMainSOMM = makeButton(this, "cmdMainSOMM", "SOMMINISTRAZIONE TEST");
    cmdMainSS = makeButton(this, "cmdMainSS", "ELABORAZIONE DATI");
    cmdMainQUIT = makeButton(this, "cmdMainQUIT", "Quit");

    lblCompanyProduct = new QLabel(QString::fromUtf8(selvo::kCompanyProduct), this);
    lblCompanyProduct->setObjectName("lblCompanyProduct");
    lblCompanyProduct->setAccessibleName(lblCompanyProduct->text());
    lblCompanyProduct->setStyleSheet("color: #555555;");

    TextRef = new QPlainTextEdit(this);
    TextRef->setObjectName("TextRef");
    TextRef->setAccessibleName("References");
    TextRef->setReadOnly(true);
    TextRef->setPlainText(screenText(selvo::referencesText()));
    TextRef->document()->setDocumentMargin(10);
    QFont textFont = TextRef->font();
    textFont.setPointSizeF(textFont.pointSizeF() + 1);
    TextRef->setFont(textFont);

    auto* commands = new QVBoxLayout;
    commands->setSpacing(12);
    commands->addWidget(cmdMainSOMM);
    commands->addWidget(cmdMainSS);
    commands->addStretch();
    commands->addWidget(cmdMainQUIT);
    auto* body = new QHBoxLayout;
    body->setSpacing(18);
    body->addWidget(TextRef, 1);
    body->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->addLayout(body, 1);
    layout->addWidget(lblCompanyProduct, 0, Qt::AlignRight);
    resize(700, 380);
    centreOnScreen(*this);

    connect(cmdMainSOMM, &QPushButton::clicked, this, &frmMain::administrationRequested);
    connect(cmdMainSS, &QPushButton::clicked, this, &frmMain::reprocessingRequested);
    connect(cmdMainQUIT, &QPushButton::clicked, this, &frmMain::quitRequested);
}

void frmMain::showNotYetAvailable() {
    showMessage(this, QMessageBox::Information, QStringLiteral("Funzione non disponibile"),
                QStringLiteral("Questa funzione non \u00e8 ancora disponibile in questa "
                               "versione del programma."));
}
