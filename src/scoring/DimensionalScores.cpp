#include "scoring/DimensionalScores.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace selvo {
namespace {

using Slot = NumberOrEmpty ScoreRecord::*;

// Highest total minus 7, as the questionnaire fixes it: a percentage of 0 always means a total
// of 7, whatever the number of items on the scale.
struct Scale {
    Slot total;
    Slot percentage;
    int divisor;
};

constexpr std::array<Scale, 16> kScales{{
    {&ScoreRecord::par1t, &ScoreRecord::par1p, 42},
    {&ScoreRecord::sz1t, &ScoreRecord::sz1p, 42},
    {&ScoreRecord::st1t, &ScoreRecord::st1p, 56},
    {&ScoreRecord::as1t, &ScoreRecord::as1p, 49},
    {&ScoreRecord::bdl1t, &ScoreRecord::bdl1p, 63},
    {&ScoreRecord::his1t, &ScoreRecord::his1p, 49},
    {&ScoreRecord::nar1t, &ScoreRecord::nar1p, 56},
    {&ScoreRecord::av1t, &ScoreRecord::av1p, 42},
    {&ScoreRecord::dep1t, &ScoreRecord::dep1p, 49},
    {&ScoreRecord::oc1t, &ScoreRecord::oc1p, 49},
    {&ScoreRecord::de1t, &ScoreRecord::de1p, 42},
    {&ScoreRecord::pa1t, &ScoreRecord::pa1p, 42},
    {&ScoreRecord::clA1t, &ScoreRecord::clA1p, 154},
    {&ScoreRecord::clB1t, &ScoreRecord::clB1p, 238},
    {&ScoreRecord::clC1t, &ScoreRecord::clC1p, 154},
    {&ScoreRecord::tot1t, &ScoreRecord::tot1p, 560},
}};

// Totals are 16-bit integers; a sum that leaves that range is refused, never wrapped.
Integer add16(Integer sum, Integer term) {
    Integer result = 0;
    if (__builtin_add_overflow(sum, term, &result)) {
        throw std::overflow_error("dimensional total outside the 16-bit range");
    }
    return result;
}

Integer sumOfItems(const AnswerTable& answers, std::initializer_list<int> items) {
    Integer total = 0;
    for (const int item : items) {
        total = add16(total, answers[item]);
    }
    return total;
}

Integer sumOfTotals(const ScoreRecord& scores, std::initializer_list<Slot> totals) {
    Integer total = 0;
    for (const Slot slot : totals) {
        total = add16(total, static_cast<Integer>((scores.*slot).value()));
    }
    return total;
}

} // namespace

void CopyAnswers(ProgramState& state) {
    const int itemCount = state.ItemCount.asInt();
    for (int i = 0; i <= itemCount; ++i) {
        state.ScoreT[i] = state.AnswerT[i];
        state.ScoreD[i] = state.AnswerD[i];
    }
}

void ComputeDimensionalScores(ProgramState& state) {
    const AnswerTable& t = state.ScoreT;
    ScoreRecord& s = state.Scores;

    s.par1t = sumOfItems(t, {1, 13, 25, 37, 49, 61, 73});
    s.sz1t = sumOfItems(t, {2, 14, 26, 38, 50, 62, 74});
    s.st1t = sumOfItems(t, {3, 15, 27, 39, 50, 51, 63, 75, 85});
    s.as1t = sumOfItems(t, {4, 16, 28, 40, 52, 64, 76, 86});
    s.bdl1t = sumOfItems(t, {5, 17, 29, 41, 53, 65, 77, 87, 92, 94});
    s.his1t = sumOfItems(t, {6, 18, 30, 42, 54, 66, 78, 88});
    s.nar1t = sumOfItems(t, {7, 19, 31, 43, 55, 67, 79, 89, 93});
    s.av1t = sumOfItems(t, {8, 20, 32, 44, 56, 68, 80});
    s.dep1t = sumOfItems(t, {9, 21, 33, 45, 57, 69, 81, 90});
    s.oc1t = sumOfItems(t, {10, 22, 34, 46, 58, 70, 82, 91});
    s.de1t = sumOfItems(t, {11, 23, 35, 47, 59, 71, 83});
    s.pa1t = sumOfItems(t, {12, 24, 36, 48, 60, 72, 84});

    s.clA1t = sumOfTotals(s, {&ScoreRecord::par1t, &ScoreRecord::sz1t, &ScoreRecord::st1t});
    s.clB1t = sumOfTotals(
        s, {&ScoreRecord::as1t, &ScoreRecord::bdl1t, &ScoreRecord::his1t, &ScoreRecord::nar1t});
    s.clC1t = sumOfTotals(s, {&ScoreRecord::av1t, &ScoreRecord::dep1t, &ScoreRecord::oc1t});
    s.tot1t = sumOfTotals(s, {&ScoreRecord::clA1t, &ScoreRecord::clB1t, &ScoreRecord::clC1t});

    for (const auto& [total, percentage, divisor] : kScales) {
        const double fraction = ((s.*total).value() - 7.0) / divisor;
        s.*percentage = TruncateTo2(fraction) * 100.0;
    }
}

double TruncateTo2(double x) {
    return std::trunc(x * 100.0) / 100.0;
}

} // namespace selvo
