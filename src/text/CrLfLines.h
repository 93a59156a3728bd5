// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A text built line by line, every line ended with CR LF: the report, the SPSS command files and
// the comma-separated files the program writes.
#include "text/Cp1252.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace selvo {

class CrLfLines {
public:
    // `start` goes before the first line as it is (a byte-order mark); `expectedBytes` is room
    // kept for the whole text, so that a large one is not copied as it grows.
    explicit CrLfLines(std::string_view start = {}, std::size_t expectedBytes = 0) {
        m_text.reserve(expectedBytes);
        m_text += start;
    }

    void add(std::string_view line) {
        m_text += line;
        m_text += kCrLf;
    }
    // Pieces of one line, without building the line first.
    void add(std::initializer_list<std::string_view> pieces) {
        for (const std::string_view piece : pieces) {
            m_text += piece;
        }
        m_text += kCrLf;
    }
    // Lines already ended with CR LF.
    void addLines(std::string_view lines) { m_text += lines; }
    void addEmpty(int count) {
        for (int i = 0; i < count; ++i) {
            m_text += kCrLf;
        }
    }

    const std::string& text() const { return m_text; }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

} // namespace selvo
