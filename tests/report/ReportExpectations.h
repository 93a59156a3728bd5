// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Expected report text written out by hand, and helpers that compare it piece by piece so a
// failure names the paragraph or line that differs.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace selvo::testing_report {

inline constexpr std::string_view kRuleText =
    "_______________________________________________________________________________";

// Each paragraph followed by its "\par ".
inline std::string paragraphs(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) {
        out += item;
        out += "\\par ";
    }
    return out;
}

inline std::vector<std::string> splitOn(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// Compares two lists and reports the first entry that differs, with its index.
inline void expectSameList(const std::vector<std::string>& actual,
                           const std::vector<std::string>& expected, std::string_view what) {
    const std::size_t common = std::min(actual.size(), expected.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << what << " " << i << " differs\n  actual:   " << actual[i]
                          << "\n  expected: " << expected[i];
            return;
        }
    }
    EXPECT_EQ(actual.size(), expected.size()) << what << " count";
}

inline void expectParagraphs(std::string_view actual, const std::vector<std::string>& expected) {
    expectSameList(splitOn(actual, "\\par "), splitOn(paragraphs(expected), "\\par "), "paragraph");
}

} // namespace selvo::testing_report
