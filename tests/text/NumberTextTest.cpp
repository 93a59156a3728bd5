// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct NumberCase {
    const char* name;
    double value;
    const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.name;
}

class NumberTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, PrintsAsTheReportAndScreensShowIt) {
    EXPECT_EQ(selvo::numberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, NumberTextTest,
    ::testing::Values(
        NumberCase{"Five", 5, " 5"}, NumberCase{"Version", 1.18, " 1.18"},
        NumberCase{"Percentage", 42.86, " 42.86"},
        NumberCase{"RoundsUpNoise", 28.000000000000004, " 28"},
        NumberCase{"RoundsUpBelow", 56.99999999999999, " 57"},
        NumberCase{"RoundsDownAbove", 55.00000000000001, " 55"}, NumberCase{"Negative", -16, "-16"},
        NumberCase{"Zero", 0, " 0"}, NumberCase{"NegativeZero", -0.0, " 0"},
        NumberCase{"NegativeFraction", -0.16, "-0.16"}, NumberCase{"LargeInteger", 567, " 567"},
        // Plain digits however small or large the value, never an exponent.
        NumberCase{"TinyFractionWithoutExponent", 0.00001, " 0.00001"},
        NumberCase{"TinyNegativeWithoutExponent", -1.5e-7, "-0.00000015"},
        NumberCase{"SixteenDigitsWithoutExponent", 1e15, " 1000000000000000"},
        NumberCase{"RoundedTo15DigitsWithoutExponent", 123456789012345678.0, " 123456789012346000"},
        // Either side of the whole numbers written straight from their digits.
        NumberCase{"LargestWholeOfFifteenDigits", 999999999999999.0, " 999999999999999"},
        NumberCase{"LargestNegativeWholeOfFifteenDigits", -999999999999999.0, "-999999999999999"},
        NumberCase{"Half", 0.5, " 0.5"}, NumberCase{"NegativeHalf", -0.5, "-0.5"},
        NumberCase{"FifteenDigitsWithAFraction", 123456789012.345, " 123456789012.345"},
        NumberCase{"FifteenNinesStayBelowOne", 0.999999999999999, " 0.999999999999999"},
        NumberCase{"SixteenNinesRoundToOne", 0.9999999999999999, " 1"},
        NumberCase{"Third", 100.0 / 3, " 33.3333333333333"},
        NumberCase{"SmallestWithoutExponent", 0.0001, " 0.0001"},
        NumberCase{"Infinity", std::numeric_limits<double>::infinity(), " INF"},
        NumberCase{"NegativeInfinity", -std::numeric_limits<double>::infinity(), "-INF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberText, AppendsAfterWhatTheLineHolds) {
    std::string line = "x";
    selvo::appendNumberText(line, 42.86);
    selvo::appendNumberText(line, -3);
    selvo::appendIntegerText(line, 7);
    EXPECT_EQ(line, "x 42.86-37");
}

} // namespace
