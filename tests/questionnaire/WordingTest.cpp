// SPDX-License-Identifier: GPL-3.0-or-later

#include "questionnaire/content/Wording.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>
#include <string>

using namespace selvo;
using namespace selvo::questionnaire;

namespace {

std::size_t characterCount(const std::string& utf8) {
    std::size_t count = 0;
    for (const unsigned char c : utf8)
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

TEST(Wording, ItemTextsAreNumberedAndFreeOfParagraphMarks) {
    for (int i = 0; i <= 94; ++i) {
        const std::string& text = ItemText(i);
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(text.find("\xC2\xA7"), std::string::npos);
        EXPECT_TRUE(isValidUtf8(text)); // the mark is two bytes: a half-replaced one breaks UTF-8
        EXPECT_TRUE(fitsCp1252(text));  // the SPSS export and the report are written in cp 1252
        if (i > 0) {
            EXPECT_EQ(text.rfind(std::to_string(i) + ") ", 0), 0u);
            EXPECT_LE(characterCount(text), 200u);
            EXPECT_EQ(text.find('\r'), std::string::npos);
        }
    }
    EXPECT_THROW(ItemText(95), std::out_of_range);
}

TEST(Wording, NoticePageHasEmptyLinesWhereParagraphsBreak) {
    const std::string notice = ItemText(0);
    EXPECT_EQ(notice.rfind("Questionario SELVO\r\n\r\n", 0), 0u);
    EXPECT_NE(notice.find("Note e norme sull'utilizzo:\r\n"), std::string::npos);
    EXPECT_NE(notice.find("\r\n\r\nConsegna: "), std::string::npos);
    EXPECT_EQ(notice.find("\r\n\r\n\r\n"), std::string::npos);
}

TEST(Wording, LegendsListEveryStepOnItsOwnLine) {
    EXPECT_EQ(AgreementLegend(), "( 1 )  In completo disaccordo\r\n"
                                 "( 2 )  In disaccordo\r\n"
                                 "( 3 )  tendenzialmente in disaccordo\r\n"
                                 "( 4 )  N\xC3\xA8 in accordo N\xC3\xA8 in disaccordo\r\n"
                                 "( 5 )  Tendenzialmente d'accordo\r\n"
                                 "( 6 )  D'accordo\r\n"
                                 "( 7 )  Completamente d'accordo\r\n");
    EXPECT_EQ(DistressLegend(), "( 1 )  No mai\r\n"
                                "( 2 )  In qualche modo\r\n"
                                "( 3 )  Sicuramente si\r\n");
    EXPECT_EQ(AgreementLabel(0), "SCELGA UNA RISPOSTA");
    EXPECT_THROW(DistressLabel(4), std::out_of_range);
}

struct CriteriaCase {
    Disorder disorder;
    const char* label;
    std::size_t criteria;
};

void PrintTo(const CriteriaCase& c, std::ostream* os) {
    *os << c.label;
}

class CriteriaTable : public testing::TestWithParam<CriteriaCase> {};

TEST_P(CriteriaTable, HasHeadingAndNumberedCriteria) {
    const auto& table = CriteriaTexts()[GetParam().disorder];
    ASSERT_EQ(table.size(), GetParam().criteria + 1);
    EXPECT_EQ(table[0].rfind(std::string(GetParam().label) + ": ", 0), 0u) << table[0];
    for (std::size_t k = 1; k < table.size(); ++k) {
        const std::string prefix =
            GetParam().disorder == AS && k == 8 ? "CD (ITEM_86 SELVO) " : std::to_string(k) + ")  ";
        EXPECT_EQ(table[k].rfind(prefix, 0), 0u) << table[k];
        EXPECT_NE(table[k].at(prefix.size()), ' ') << table[k];
        EXPECT_TRUE(fitsCp1252(table[k])) << table[k];
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllDisorders, CriteriaTable,
    testing::Values(CriteriaCase{PAR, "PARANOID", 7}, CriteriaCase{SZ, "SCHIZOID", 7},
                    CriteriaCase{ST, "SCHIZOTYPAL", 9}, CriteriaCase{AS, "ANTISOCIAL", 8},
                    CriteriaCase{BDL, "BORDERLINE", 9}, CriteriaCase{HIS, "HISTRIONIC", 8},
                    CriteriaCase{NAR, "NARCISSISTIC", 9}, CriteriaCase{AV, "AVOIDANT", 7},
                    CriteriaCase{DEP, "DEPENDENT", 8}, CriteriaCase{OC, "OBSESSIVE-COMPULSIVE", 8},
                    CriteriaCase{DE, "NOS-DEPRESSIVE", 7},
                    CriteriaCase{PA, "NOS PASSIVE-AGGRESSIVE", 7}),
    [](const auto& info) {
        std::string name = info.param.label;
        std::erase_if(name, [](char c) { return c == ' ' || c == '-'; });
        return name;
    });

TEST(Wording, ConductDisorderEntryQuotesItem86) {
    EXPECT_EQ(CriteriaTexts()[AS][8], "CD (ITEM_86 SELVO) " + ItemText(86).substr(4));
}

} // namespace
