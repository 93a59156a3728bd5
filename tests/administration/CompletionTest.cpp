// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/Completion.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

using namespace selvo;

namespace {

// An item answered 5 to 7 without its distress answer is not answered: every count agrees.
TEST(MissingItems, CountsAnUnansweredItemAndAHighAgreementWithoutDistress) {
    AnswerSet answers = testsupport::answersWhere([](int) { return 3; }, [](int) { return 0; });
    EXPECT_TRUE(MissingItems(answers).empty());
    answers.agreement[52] = 0;
    answers.agreement[17] = 6; // raised to 5..7, distress not yet given
    answers.agreement[94] = 0;
    answers.agreement[30] = 7;
    answers.distress[30] = 2;
    answers.distress[40] = 3; // a stray distress answer below 5 asks for nothing
    EXPECT_EQ(MissingItems(answers), (std::vector<int>{17, 52, 94}));
    EXPECT_FALSE(AnswersComplete(answers));
    EXPECT_EQ(AnsweredItems(answers), 91);
}

TEST(MissingItemsMessage, NamesUpToTenItemsAndCountsTheRest) {
    const auto range = [](int last) {
        std::vector<int> items;
        for (int i = 1; i <= last; ++i) {
            items.push_back(i);
        }
        return items;
    };
    EXPECT_EQ(MissingItemsMessage({17}), "Manca la risposta all'item 17.");
    EXPECT_EQ(MissingItemsMessage({17, 52}), "Mancano le risposte agli item 17 e 52.");
    EXPECT_EQ(MissingItemsMessage({17, 52, 94}), "Mancano le risposte agli item 17, 52 e 94.");
    EXPECT_EQ(MissingItemsMessage(range(10)),
              "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9 e 10.");
    EXPECT_EQ(MissingItemsMessage(range(11)),
              "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e un altro.");
    EXPECT_EQ(MissingItemsMessage(range(94)),
              "Mancano le risposte agli item 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e altri 84.");
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
    Administration administration;
    for (int i = 1; i <= 94; ++i) {
        administration.answers.agreement[i] = c.agreement;
        administration.answers.distress[i] = c.distress;
    }
    if (c.changedItem != 0) {
        administration.answers.agreement[c.changedItem] = c.changedAgreement;
        administration.answers.distress[c.changedItem] = c.changedDistress;
    }
    administration.allAnswered = !c.complete; // must be overwritten either way
    EXPECT_EQ(CheckCompletion(administration), c.complete);
    EXPECT_EQ(administration.allAnswered, std::optional<bool>(c.complete));
    EXPECT_EQ(AnsweredItems(administration.answers) == 94, c.complete);
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
    AnswerSet answers;
    for (int i = 1; i <= 94; ++i)
        answers.agreement[i] = 1;
    answers.agreement[0] = 0;
    EXPECT_TRUE(AnswersComplete(answers));
}

} // namespace
