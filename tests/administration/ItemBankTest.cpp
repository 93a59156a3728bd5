// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/ItemBank.h"
#include "administration/Completion.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace selvo;

namespace {

ProgramState loadedState() {
    ProgramState state; // no start-up constants: the loader must set its own
    LoadItemBank(state);
    return state;
}

std::size_t characterCount(const std::string& utf8) {
    std::size_t count = 0;
    for (const unsigned char c : utf8)
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

TEST(ItemBank, ItemTextsAreNumberedAndFreeOfParagraphMarks) {
    const ProgramState state = loadedState();
    for (int i = 0; i <= 94; ++i) {
        const std::string& text = state.ItemText[i];
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
    for (int i = 95; i <= 150; ++i)
        EXPECT_TRUE(state.ItemText[i].empty()) << "slot " << i;
}

TEST(ItemBank, NoticePageHasEmptyLinesWhereParagraphsBreak) {
    const std::string notice = loadedState().ItemText[0];
    EXPECT_EQ(notice.rfind("Questionario SELVO\r\n\r\n", 0), 0u);
    EXPECT_NE(notice.find("Note e norme sull'utilizzo:\r\n"), std::string::npos);
    EXPECT_NE(notice.find("\r\n\r\nConsegna: "), std::string::npos);
    EXPECT_EQ(notice.find("\r\n\r\n\r\n"), std::string::npos);
}

TEST(ItemBank, LoadingTwiceGivesTheSameTables) {
    ProgramState state = loadedState();
    const ProgramState first = state;
    LoadItemBank(state);
    EXPECT_EQ(state.ItemText, first.ItemText);
    EXPECT_EQ(state.CriteriaText, first.CriteriaText);
    EXPECT_EQ(state.ScaleLabels, first.ScaleLabels);
    EXPECT_EQ(state.DistressLabels, first.DistressLabels);
}

TEST(ItemBank, LegendsListEveryStepOnItsOwnLine) {
    ProgramState state = loadedState();
    EXPECT_EQ(AgreementLegend(state), "( 1 )  In completo disaccordo\r\n"
                                      "( 2 )  In disaccordo\r\n"
                                      "( 3 )  tendenzialmente in disaccordo\r\n"
                                      "( 4 )  N\xC3\xA8 in accordo N\xC3\xA8 in disaccordo\r\n"
                                      "( 5 )  Tendenzialmente d'accordo\r\n"
                                      "( 6 )  D'accordo\r\n"
                                      "( 7 )  Completamente d'accordo\r\n");
    EXPECT_EQ(DistressLegend(state), "( 1 )  No mai\r\n"
                                     "( 2 )  In qualche modo\r\n"
                                     "( 3 )  Sicuramente si\r\n");

    // The legend length is fixed; an empty caption is left out rather than shown bare.
    state.ScalePoints = 3;
    state.DistressLabels[2].clear();
    const std::string agreement = AgreementLegend(state);
    EXPECT_EQ(std::count(agreement.begin(), agreement.end(), '\n'), 7);
    EXPECT_EQ(DistressLegend(state), "( 1 )  No mai\r\n( 3 )  Sicuramente si\r\n");
}

TEST(ItemBank, ClearAnswersEmptiesEverySlotIncludingTheNoticePage) {
    ProgramState state = loadedState();
    for (int i = 0; i <= 94; ++i) {
        state.AnswerT[i] = 6;
        state.AnswerD[i] = 2;
    }
    ClearAnswers(state);
    EXPECT_EQ(state.AnswerT, AnswerTable{});
    EXPECT_EQ(state.AnswerD, AnswerTable{});
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
    const ProgramState state = loadedState();
    const auto& table = state.CriteriaText[GetParam().disorder];
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

TEST(ItemBank, ConductDisorderEntryQuotesItem86) {
    const ProgramState state = loadedState();
    EXPECT_EQ(state.CriteriaText[AS][8], "CD (ITEM_86 SELVO) " + state.ItemText[86].substr(4));
}

struct CompletionCase {
    const char* name;
    Integer agreement; // given to every item
    Integer distress;  // given to every item
    int changedItem;   // 0: none
    Integer changedAgreement, changedDistress;
    bool complete;
};

void PrintTo(const CompletionCase& c, std::ostream* os) {
    *os << c.name;
}

class Completion : public testing::TestWithParam<CompletionCase> {};

TEST_P(Completion, NeedsEveryAgreementAndTheDistressOfEveryHighOne) {
    const CompletionCase& c = GetParam();
    ProgramState state = loadedState();
    for (int i = 1; i <= 94; ++i) {
        state.AnswerT[i] = c.agreement;
        state.AnswerD[i] = c.distress;
    }
    if (c.changedItem != 0) {
        state.AnswerT[c.changedItem] = c.changedAgreement;
        state.AnswerD[c.changedItem] = c.changedDistress;
    }
    state.AllAnswered = !c.complete; // must be overwritten either way
    EXPECT_EQ(CheckCompletion(state), c.complete);
    EXPECT_EQ(state.AllAnswered, std::optional<bool>(c.complete));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Completion,
    testing::Values(CompletionCase{"LowAgreementsNeedNoDistress", 4, 0, 0, 0, 0, true},
                    CompletionCase{"HighAgreementsWithDistress", 7, 1, 0, 0, 0, true},
                    CompletionCase{"MixedAnswers", 2, 0, 50, 5, 3, true},
                    CompletionCase{"HighAgreementWithoutDistress", 3, 0, 94, 6, 0, false},
                    CompletionCase{"FirstItemUnanswered", 3, 0, 1, 0, 0, false},
                    CompletionCase{"LastItemUnanswered", 5, 2, 94, 0, 2, false},
                    CompletionCase{"NothingAnswered", 0, 0, 0, 0, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Completion, IgnoresTheNoticePageSlot) {
    ProgramState state = loadedState();
    for (int i = 1; i <= 94; ++i)
        state.AnswerT[i] = 1;
    state.AnswerT[0] = 0;
    EXPECT_TRUE(AnswersComplete(state));
}

} // namespace
