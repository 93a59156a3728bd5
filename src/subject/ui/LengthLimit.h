// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keeps a text box within a field's limit whatever reaches it: typing, a paste, a dropped text
// or a text put in by the program. What goes beyond is cut at once, so the box never holds a
// text the data file could not carry.
#include <QtGlobal>

#include <functional>

class QLineEdit;
class QPlainTextEdit;

// After every change of the box's text, a text longer than `limit` UTF-16 units loses the
// units in excess just before the cursor (the end of what was typed or pasted), or its end
// when the cursor is nearer the start than that (a text put in whole); a character is never
// split in half. `shortened` runs after each such cut.
void keepWithinLimit(QLineEdit& box, qsizetype limit, std::function<void()> shortened);
void keepWithinLimit(QPlainTextEdit& box, qsizetype limit, std::function<void()> shortened);
