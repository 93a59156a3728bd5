#include "shell/NumberText.h"

#include <cmath>
#include <cstdio>

namespace selvo {
namespace {

// "%G" switches to an exponent below 0.0001 and from 15 digits before the point; number text
// never does, so such a value is spelt out from its 15 significant digits.
std::string plainDecimal(double value) {
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(value));
    const std::string text = scientific; // d.dddddddddddddde+XX
    const std::size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
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

} // namespace

std::string numberText(double value) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.15G", value);
    std::string text = digits;
    if (text.find('E') != std::string::npos) {
        text = plainDecimal(value);
    }
    if (text == "-0") {
        text = "0";
    }
    if (text.front() != '-') {
        text.insert(text.begin(), ' ');
    }
    return text;
}

std::string numberText(const NumberOrEmpty& value) {
    return value.isEmpty() ? std::string() : numberText(value.value());
}

std::string integerText(long value) {
    return std::to_string(value);
}

} // namespace selvo
