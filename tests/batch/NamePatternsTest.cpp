// SPDX-License-Identifier: GPL-3.0-or-later

// Wildcards expanded by selvo-batch itself, as Windows needs: which names match, and what a
// pattern gives in a real folder.
#include "batch/NamePatterns.h"

#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <variant>

namespace {

TEST(NamePatterns, NamesMatchAsOnAWindowsVolume) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.csv", "SELVO_Rossi_Mario.csv", true},
        {"*.csv", "SELVO_ROSSI_MARIO.CSV", true},
        {"*.CSV", "rossi.csv", true},
        {"*.csv", "rossi.csv.bak", false},
        {"*.csv", ".nascosto.csv", false},
        {".*", ".nascosto.csv", true},
        {"SELVO_?ossi*", "SELVO_Rossi_Mario.csv", true},
        {"SELVO_?ossi*", "SELVO_ossi.csv", false},
        {"?.csv", "è.csv", true}, // one character, two bytes
        {"È*", "èrba.csv", true},
        {"*a*b*c", "aXbYbZc", true},
        {"*a*b*c", "aXbYbZcd", false},
        {"**", "", true},
        {"?", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(selvo::nameMatches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    }
    EXPECT_TRUE(selvo::isNamePattern("study\\*.csv"));
    EXPECT_FALSE(selvo::isNamePattern("study\\Rossi.csv"));
}

TEST(NamePatterns, APatternGivesTheMatchingPathsInNameOrder) {
    const TempDir dir;
    for (const char* folder : {"studio", "studio/T1", "studio/T2", "studio/vuota"}) {
        std::filesystem::create_directory(dir.file(folder));
    }
    for (const char* file : {"studio/b.csv", "studio/A.CSV", "studio/note.txt", "studio/T1/c.csv",
                             "studio/T2/d.csv", "studio/T2/e.csv"}) {
        std::ofstream(dir.file(file)) << "1";
    }
    using Paths = std::vector<std::string>;
    const auto expanded = [](const std::string& pattern) {
        auto result = selvo::expandNamePattern(pattern);
        return std::holds_alternative<Paths>(result) ? std::get<Paths>(result) : Paths{};
    };
    EXPECT_EQ(expanded("studio/*.csv"), (Paths{"studio/A.CSV", "studio/b.csv"}));
    EXPECT_EQ(expanded("studio/T?/*.csv"),
              (Paths{"studio/T1/c.csv", "studio/T2/d.csv", "studio/T2/e.csv"}));
    EXPECT_EQ(expanded((dir.path() / "studio" / "T1" / "*").string()),
              (Paths{(dir.path() / "studio" / "T1" / "c.csv").string()}));

    const auto nothing = selvo::expandNamePattern("studio/vuota/*.csv");
    ASSERT_TRUE(std::holds_alternative<std::string>(nothing));
    EXPECT_THAT(std::get<std::string>(nothing),
                testing::HasSubstr("nessun file corrisponde a \"studio/vuota/*.csv\""));
}

} // namespace
