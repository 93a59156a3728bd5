// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The core's UTF-8 strings as the widgets show them.
#include "questionnaire/Product.h"

#include <QString>
#include <string>

// The program's name, the title of its windows and message boxes.
inline QString productName() {
    return QString::fromUtf8(selvo::kProductName);
}

// Italian text for the program's message boxes, from the core's UTF-8 strings.
inline QString qtext(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A multi-line text for a text box: the core's CR LF line breaks become the widget's one break
// (a text document would read CR and LF as two).
inline QString screenText(const std::string& utf8) {
    return QString::fromStdString(utf8).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
