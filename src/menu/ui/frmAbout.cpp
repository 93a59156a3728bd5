// SPDX-License-Identifier: GPL-3.0-or-later

#include "menu/ui/frmAbout.h"

#include "menu/ui/MenuTexts.h"
#include "widgets/WidgetText.h"
#include "widgets/WindowPlacement.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

frmAbout::frmAbout() {
    setObjectName("frmAbout");
    setWindowTitle("Istruzioni");

    // Load handler: the instructions text.
    TextISTRU = new QTextEdit(this);
    TextISTRU->setObjectName("TextISTRU");
    TextISTRU->setAccessibleName("Istruzioni");
    TextISTRU->setReadOnly(true);
    TextISTRU->setPlainText(screenText(selvo::instructionsText()));
    // The paragraphs are separated by single line breaks: a little space under each keeps
    // them apart for the reader.
    TextISTRU->document()->setDocumentMargin(14);
    QTextCursor everything(TextISTRU->document());
    everything.select(QTextCursor::Document);
    QTextBlockFormat spaced;
    spaced.setBottomMargin(5);
    everything.mergeBlockFormat(spaced);
    QFont textFont = TextISTRU->font();
    textFont.setPointSizeF(textFont.pointSizeF() + 2);
    TextISTRU->setFont(textFont);

    cmdOK = new QPushButton("Chiudi", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setAccessibleName("Chiudi");
    cmdOK->setMinimumSize(120, 36);
    cmdOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addWidget(TextISTRU, 1);
    layout->addLayout(buttons);
    resize(700, 640);
    centreOnScreen(*this);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::closeRequested);
    // The window is no dialog, so its default button would not answer Enter by itself: Enter,
    // the keypad's Enter and Esc close it, as "Chiudi" promises, wherever the focus is.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter),
                                     QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &frmAbout::closeRequested);
    }
}
