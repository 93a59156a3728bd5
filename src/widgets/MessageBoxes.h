// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The program's message boxes: Italian buttons whatever translation Qt found, and a text that
// never makes the box outgrow the screen, whatever a file or a paste put into it.
#include <QMessageBox>
#include <QString>

class QWidget;

// The text as a box shows it: a run of characters without a blank (where the box cannot wrap)
// longer than the box is wide keeps its start and end around an ellipsis, as does an overlong
// line; a text with too many lines or characters ends in an ellipsis. Short texts, and paths
// of ordinary length, come back unchanged.
QString boundedMessageText(const QString& text);

// An information, warning or error box with one "OK" button; returns when it is answered.
void showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text);

// A question with the buttons "Sì" and "No"; Esc answers "No". True for "Sì".
bool askYesNo(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
              bool yesByDefault);
