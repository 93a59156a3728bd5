// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

namespace selvo {
namespace {

// Values below this are written in full by the 15-digit form, so a whole number below it is
// its digits. Scores and counts are all whole numbers of that kind, and take the short way.
constexpr double kWholeDigitsBelow = 1e15;

// std::to_chars writes as printf would in the C locale, without printf's cost; the buffer
// holds any double in these forms.
std::string_view printed(char (&buffer)[64], double value, std::chars_format format,
                         int precision) {
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return error == std::errc() ? std::string_view(buffer, static_cast<std::size_t>(end - buffer))
                                : std::string_view();
}

// The general form switches to an exponent below 0.0001 and from 15 digits before the point;
// number text never does, so such a value is spelt out from its 15 significant digits.
std::string plainDecimal(double value) {
    char buffer[64];
    // d.dddddddddddddde+XX
    const std::string_view text =
        printed(buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    std::string digits = std::string(text.substr(0, 1)) + std::string(text.substr(2, e - 2));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string plain;
    if (exponent < 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
        plain = digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
        const auto point = static_cast<std::size_t>(exponent) + 1;
        plain = digits.substr(0, point) + "." + digits.substr(point);
    }
    return std::signbit(value) ? "-" + plain : plain;
}

// Values that are not whole numbers below kWholeDigitsBelow, with their sign blank.
std::string fractionText(double value) {
    char buffer[64];
    std::string text(printed(buffer, value, std::chars_format::general, 15));
    if (!std::isfinite(value)) {
        // As printf's "%G" spells them: "INF", "-INF", "NAN".
        for (char& c : text) {
            c = static_cast<char>(c - ('a' <= c && c <= 'z' ? 'a' - 'A' : 0));
        }
    } else if (text.find('e') != std::string::npos) {
        text = plainDecimal(value);
    }
    if (text.front() != '-') {
        text.insert(text.begin(), ' ');
    }
    return text;
}

} // namespace

void appendNumberText(std::string& out, double value) {
    if (std::fabs(value) < kWholeDigitsBelow) {
        // -0 prints as " 0": the integer conversion has no negative zero.
        const auto whole = static_cast<long long>(value);
        if (static_cast<double>(whole) == value) {
            char digits[24];
            const auto [end, error] = std::to_chars(digits, digits + sizeof digits, whole);
            if (whole >= 0) {
                out += ' ';
            }
            out.append(digits, static_cast<std::size_t>(end - digits));
            return;
        }
    }
    out += fractionText(value);
}

std::string numberText(double value) {
    std::string text;
    appendNumberText(text, value);
    return text;
}

std::string integerText(long value) {
    std::string text;
    appendIntegerText(text, value);
    return text;
}

void appendIntegerText(std::string& out, long value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<std::size_t>(end - buffer));
}

} // namespace selvo
