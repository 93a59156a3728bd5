// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles/AnswerFingerprint.h"

#include <algorithm>
#include <cstdint>

namespace selvo {

std::string AnswerFingerprint(const AnswerSet& answers) {
    constexpr std::uint64_t kOffsetBasis = 0xcbf29ce484222325ULL;
    constexpr std::uint64_t kPrime = 0x100000001b3ULL;
    std::uint64_t hash = kOffsetBasis;
    for (const AnswerTable* table : {&answers.agreement, &answers.distress}) {
        for (int item = 1; item < AnswerTable::kSlots; ++item) {
            hash ^= static_cast<std::uint8_t>((*table)[item]);
            hash *= kPrime;
        }
    }
    std::string text(16, '0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[text.size() - 1 - i] = "0123456789abcdef"[(hash >> (4 * i)) & 0xF];
    }
    return text;
}

bool isAnswerFingerprint(std::string_view text) {
    return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

} // namespace selvo
