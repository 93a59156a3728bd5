// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <optional>

namespace selvo {

// A numeric slot that is empty until first assigned: it prints as nothing and reads as 0.
class NumberOrEmpty {
public:
    NumberOrEmpty() = default;
    NumberOrEmpty(double value) : m_value(value) {}
    NumberOrEmpty& operator=(double value) {
        m_value = value;
        return *this;
    }
    bool isEmpty() const { return !m_value.has_value(); }
    double value() const { return m_value.value_or(0.0); }
    int asInt() const { return static_cast<int>(value()); }
    operator double() const { return value(); }

private:
    std::optional<double> m_value;
};

} // namespace selvo
