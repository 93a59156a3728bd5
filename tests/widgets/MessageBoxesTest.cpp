// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/MessageBoxes.h"

#include "support/MessageBoxes.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

TEST(MessageBoxesTest, ShortTextsAreShownUnchanged) {
    const QString text =
        QStringLiteral("Impossibile scrivere il file \"/tmp/x.csv\": disco pieno.");
    EXPECT_EQ(boundedMessageText(text), text);
}

// A pasted novel, a name of a million letters without a blank, ten thousand lines: the box
// stays on the screen with its button, and the text keeps its start and end.
TEST(MessageBoxesTest, BoxWithAHugeTextStaysOnTheScreenWithItsButton) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QString word =
        QStringLiteral("Inizio") + QString(1000000, QLatin1Char('x')) + QStringLiteral("Fine.csv");
    const QStringList texts = {QStringLiteral("Il campo «%1» è troppo lungo.").arg(word),
                               QStringLiteral("riga di testo ").repeated(100000),
                               QStringLiteral("riga\n").repeated(10000)};
    for (const QString& text : texts) {
        const QString shown = boundedMessageText(text);
        EXPECT_LT(shown.size(), 2000);
        EXPECT_TRUE(shown.startsWith(text.left(10)));
        QRect frame;
        bool buttonVisible = false;
        MessageBoxRecorder boxes([&](QMessageBox& box) {
            frame = box.geometry();
            const QAbstractButton* ok = box.buttons().value(0);
            buttonVisible = ok != nullptr && ok->isVisible() &&
                            screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()));
        });
        showMessage(nullptr, QMessageBox::Warning, QStringLiteral("BrivanSELVO"), text);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_LE(frame.width(), screen.width());
        EXPECT_LE(frame.height(), screen.height());
        EXPECT_TRUE(buttonVisible);
    }
    EXPECT_TRUE(boundedMessageText(texts[0]).contains(QStringLiteral("Fine.csv")));
}

} // namespace
