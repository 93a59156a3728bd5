// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/MessageBoxes.h"

#include <QPushButton>
#include <QStringList>

namespace {

// Qt keeps a box as wide as the screen at most, cutting off what does not fit, but lets it grow
// as tall as its text: these keep the text readable and the buttons on the screen.
constexpr qsizetype kLongestWord = 120;
constexpr qsizetype kLongestLine = 320;
constexpr qsizetype kMostLines = 24;
constexpr qsizetype kMostCharacters = 1800;

const QString kEllipsis = QStringLiteral("\u2026");

// The start and the end of an overlong text, which are what a reader recognises (the start of
// a name, the file at the end of a path).
QString keptEnds(const QString& text, qsizetype length) {
    if (text.size() <= length) {
        return text;
    }
    const qsizetype head = (length - 1) * 2 / 3;
    const qsizetype tail = length - 1 - head;
    return text.left(head) + kEllipsis + text.right(tail);
}

QString boundedLine(const QString& line, qsizetype longestWord) {
    QString bounded;
    qsizetype start = 0;
    // Blanks are where the box may wrap a line: a longer run would widen it.
    while (start < line.size()) {
        qsizetype end = start;
        while (end < line.size() && !line.at(end).isSpace()) {
            ++end;
        }
        bounded += keptEnds(line.mid(start, end - start), longestWord);
        qsizetype blanks = end;
        while (blanks < line.size() && line.at(blanks).isSpace()) {
            ++blanks;
        }
        bounded += line.mid(end, blanks - end);
        start = blanks;
    }
    return keptEnds(bounded, kLongestLine);
}

QString boundedText(const QString& text, qsizetype longestWord) {
    QStringList lines = text.split(QLatin1Char('\n'));
    const bool tooManyLines = lines.size() > kMostLines;
    if (tooManyLines) {
        lines = lines.mid(0, kMostLines - 1);
    }
    for (QString& line : lines) {
        line = boundedLine(line, longestWord);
    }
    QString bounded = lines.join(QLatin1Char('\n'));
    if (bounded.size() > kMostCharacters) {
        bounded = bounded.left(kMostCharacters - 1) + kEllipsis;
    } else if (tooManyLines) {
        bounded += QLatin1Char('\n') + kEllipsis;
    }
    return bounded;
}

} // namespace

QString boundedMessageText(const QString& text) {
    return boundedText(text, kLongestWord);
}

void showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                 const QString& text) {
    QMessageBox box(icon, title, boundedMessageText(text), QMessageBox::Ok, owner);
    box.exec();
}

bool askYesNo(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
              bool yesByDefault) {
    QMessageBox box(icon, title, boundedMessageText(text), QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(yesByDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
