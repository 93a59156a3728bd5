// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/ProgramState.h"
#include "state/Startup.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(AnswerTable, AcceptsTheNoticePageAndEveryItem) {
    selvo::AnswerTable table;
    table[0] = 1;
    table[94] = 7;
    EXPECT_EQ(table[0], 1);
    EXPECT_EQ(table[94], 7);
    table.clear();
    EXPECT_EQ(table[94], 0);
}

TEST(AnswerTable, RejectsAnIndexOutsideTheTable) {
    selvo::AnswerTable table;
    EXPECT_THROW(table[95], std::out_of_range);
    EXPECT_THROW(table[-1], std::out_of_range);
    const selvo::AnswerTable& view = table;
    EXPECT_THROW(static_cast<void>(view[95]), std::out_of_range);
}

TEST(ProgramState, StartsEmptyAndStartupSetsTheConstants) {
    selvo::ProgramState state;
    EXPECT_FALSE(state.AllAnswered.has_value());
    EXPECT_TRUE(state.ItemCount.isEmpty());
    EXPECT_EQ(state.Card, 0);
    selvo::SetProgramConstants(state);
    EXPECT_EQ(state.ProgramTitle, "BrivanSELVO (V. 1.18)");
    EXPECT_EQ(state.ItemCount.asInt(), 94);
    EXPECT_EQ(state.FirstItem.asInt(), 1);
    EXPECT_EQ(state.ScalePoints.asInt(), 7);
    EXPECT_EQ(state.DistressPoints.asInt(), 3);
}

} // namespace
