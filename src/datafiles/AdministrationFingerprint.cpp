// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles/AdministrationFingerprint.h"

#include <algorithm>
#include <cstdint>

namespace selvo {
namespace {

class Fnv1a64 {
public:
    void add(std::uint8_t byte) {
        m_hash ^= byte;
        m_hash *= 0x100000001b3ULL;
    }
    void addText(std::string_view text) {
        for (const char c : text) {
            add(static_cast<std::uint8_t>(c));
        }
        add(0);
    }
    std::string hex() const {
        std::string text(16, '0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[text.size() - 1 - i] = "0123456789abcdef"[(m_hash >> (4 * i)) & 0xF];
        }
        return text;
    }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ULL;
};

} // namespace

std::string AdministrationFingerprint(const SubjectRecord& subject, const AnswerSet& answers) {
    Fnv1a64 hash;
    for (const AnswerTable* table : {&answers.agreement, &answers.distress}) {
        for (int item = 1; item < AnswerTable::kSlots; ++item) {
            hash.add(static_cast<std::uint8_t>((*table)[item]));
        }
    }
    for (const std::string& text : {std::to_string(subject.card), subject.age, subject.sex,
                                    subject.marital, subject.education}) {
        hash.addText(text);
    }
    return hash.hex();
}

bool isAdministrationFingerprint(std::string_view text) {
    return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

} // namespace selvo
