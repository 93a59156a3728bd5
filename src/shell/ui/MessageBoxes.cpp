#include "shell/ui/MessageBoxes.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <array>

namespace {

// A box this wide and tall fits the smallest screen the program runs on; where the font is
// wider, shorter runs are tried until the box fits.
constexpr std::array<qsizetype, 4> kLongestWords{120, 84, 60, 40};
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

// The widest run of the text without a blank, in the box's font: the box wraps its lines at
// blanks only, so this is the narrowest the box can be.
int widestRun(const QString& text, const QFontMetrics& metrics) {
    int widest = 0;
    const QStringList runs = text.split(QRegularExpression(QStringLiteral("\\s+")));
    for (const QString& run : runs) {
        widest = std::max(widest, metrics.horizontalAdvance(run));
    }
    return widest;
}

// The box's text, its runs shortened further while the widest would not fit the screen
// beside the icon and the margins.
void setFittingText(QMessageBox& box, const QString& text) {
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 160 : 0;
    const QFontMetrics metrics(box.font());
    QString bounded;
    for (const qsizetype longestWord : kLongestWords) {
        bounded = boundedText(text, longestWord);
        if (room <= 0 || widestRun(bounded, metrics) <= room) {
            break;
        }
    }
    box.setText(bounded);
}

} // namespace

QString boundedMessageText(const QString& text) {
    return boundedText(text, kLongestWords.front());
}

void showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                 const QString& text) {
    QMessageBox box(icon, title, QString(), QMessageBox::Ok, owner);
    setFittingText(box, text);
    box.exec();
}

bool askYesNo(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
              bool yesByDefault) {
    QMessageBox box(icon, title, QString(), QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    setFittingText(box, text);
    box.setDefaultButton(yesByDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
