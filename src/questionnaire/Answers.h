// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The answers of one administration, as the form records them and a data file holds them.
#include "questionnaire/Questionnaire.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace selvo {

using Integer = std::int16_t;

// One answer per item, slot k for item k; slot 0 belongs to the notice page. 0 is no answer.
// An index outside 0..94 is a programming error and throws instead of being followed.
class AnswerTable {
public:
    static constexpr int kSlots = questionnaire::kItemCount + 1;
    Integer& operator[](int item) { return m_slots[checked(item)]; }
    Integer operator[](int item) const { return m_slots[checked(item)]; }
    void clear() { m_slots.fill(0); }
    bool operator==(const AnswerTable&) const = default;

private:
    // Inline, as scoring reads every slot many times; only the throw is out of line.
    static std::size_t checked(int item) {
        if (item < 0 || item >= kSlots) {
            outOfRange(item);
        }
        return static_cast<std::size_t>(item);
    }
    [[noreturn]] static void outOfRange(int item);
    std::array<Integer, kSlots> m_slots{};
};

// Agreement (1..7) and distress (1..3, asked for an agreement of 5 to 7) answers, item by item.
struct AnswerSet {
    AnswerTable agreement;
    AnswerTable distress;
    bool operator==(const AnswerSet&) const = default;
};

} // namespace selvo
