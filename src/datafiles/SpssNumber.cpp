// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles/SpssNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace selvo {
namespace {

class Field {
public:
    explicit Field(std::string_view text) : m_rest(text) {}
    bool empty() const { return m_rest.empty(); }
    char first() const { return m_rest.empty() ? '\0' : m_rest.front(); }
    bool take(char c) {
        if (first() != c) {
            return false;
        }
        m_rest.remove_prefix(1);
        return true;
    }
    void skipBlanks() {
        while (take(' ')) {
        }
    }
    void takeDigitsInto(std::string& number) {
        while (first() >= '0' && first() <= '9') {
            number += first();
            m_rest.remove_prefix(1);
        }
    }

private:
    std::string_view m_rest;
};

} // namespace

std::optional<double> SpssFieldNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    if (text == ".") {
        return std::nullopt;
    }
    Field field(text);
    // The number is gathered as C spells it, then converted as a whole.
    std::string number;
    if (field.take('-')) {
        number += '-';
    } else {
        field.take('+');
    }
    field.skipBlanks();
    field.takeDigitsInto(number);
    if (field.take('.')) {
        number += '.';
        field.takeDigitsInto(number);
    }
    const bool exponent = std::string_view("eEdD-+").find(field.first()) != std::string_view::npos;
    if (!number.empty() && !field.empty() && exponent) {
        number += 'e';
        if (std::string_view("eEdD").find(field.first()) != std::string_view::npos) {
            field.take(field.first());
            field.take(' ');
        }
        if (field.take('-')) {
            number += '-';
            field.take(' ');
        } else if (field.take('+')) {
            field.take(' ');
        }
        field.takeDigitsInto(number);
    }
    if (!field.empty()) {
        return std::nullopt;
    }
    // Nothing gathered (a lone "+") converts to zero, as the C library converts it.
    if (number.empty()) {
        return 0.0;
    }
    double value = 0;
    const auto [end, fault] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (fault != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    // The C library reports a result below the normal range as out of range too.
    if (value != 0 && std::fabs(value) < std::numeric_limits<double>::min()) {
        return std::nullopt;
    }
    return value;
}

} // namespace selvo
