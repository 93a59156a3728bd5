// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/ui/LengthLimit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The span [start, end) to cut from a text of `size` units with the cursor at `cursor`.
struct Cut {
    qsizetype start;
    qsizetype end;
};

Cut excessBefore(qsizetype size, qsizetype cursor, qsizetype limit,
                 const std::function<QChar(qsizetype)>& at) {
    const qsizetype excess = size - limit;
    Cut cut{cursor >= excess ? cursor - excess : size - excess, 0};
    cut.end = cut.start + excess;
    // Both halves of a character beyond the basic plane go, or neither.
    if (cut.start > 0 && at(cut.start).isLowSurrogate()) {
        --cut.start;
    }
    if (cut.end < size && at(cut.end).isLowSurrogate()) {
        ++cut.end;
    }
    return cut;
}

} // namespace

void keepWithinLimit(QLineEdit& box, qsizetype limit, std::function<void()> shortened) {
    QObject::connect(&box, &QLineEdit::textChanged, &box,
                     [&box, limit, shortened = std::move(shortened)](const QString& text) {
                         if (text.size() <= limit) {
                             return;
                         }
                         const Cut cut = excessBefore(text.size(), box.cursorPosition(), limit,
                                                      [&text](qsizetype i) { return text.at(i); });
                         box.setText(text.left(cut.start) + text.mid(cut.end));
                         box.setCursorPosition(static_cast<int>(cut.start));
                         shortened();
                     });
}

void keepWithinLimit(QPlainTextEdit& box, qsizetype limit, std::function<void()> shortened) {
    QObject::connect(
        &box, &QPlainTextEdit::textChanged, &box, [&box, limit, shortened = std::move(shortened)] {
            QTextDocument& document = *box.document();
            // The count includes the separator after the last paragraph.
            const qsizetype size = document.characterCount() - 1;
            if (size <= limit) {
                return;
            }
            const Cut cut =
                excessBefore(size, box.textCursor().position(), limit, [&document](qsizetype i) {
                    return document.characterAt(static_cast<int>(i));
                });
            QTextCursor cursor(&document);
            cursor.setPosition(static_cast<int>(cut.start));
            cursor.setPosition(static_cast<int>(cut.end), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            box.setTextCursor(cursor);
            shortened();
        });
}
