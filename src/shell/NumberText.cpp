#include "shell/NumberText.h"

#include <cmath>
#include <cstdio>

namespace selvo {

std::string numberText(double value) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.15G", value);
    std::string text = digits;
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

std::string integerText(long value) { return std::to_string(value); }

} // namespace selvo
