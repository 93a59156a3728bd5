// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/SpssText.h"

#include "text/TextSafety.h"
#include "text/Utf8.h"

namespace selvo {

std::string SpssOneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char decoded = decodeUtf8At(text, i);
        if (decoded.valid && isControlOrFormat(decoded.codePoint)) {
            line.push_back(' ');
        } else {
            line.append(text.substr(i, decoded.length));
        }
        i += decoded.length;
    }
    return line;
}

std::string SpssQuoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : SpssOneLine(text)) {
        if (c == '\'') {
            quoted.push_back('\'');
        }
        quoted.push_back(c);
    }
    return quoted + "'";
}

} // namespace selvo
