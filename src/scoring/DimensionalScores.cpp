#include "scoring/DimensionalScores.h"

#include <array>

namespace selvo {
namespace {

using Slot = NumberOrEmpty ScoreRecord::*;

// Where the score record keeps each total and percentage, until its readers take the values.
struct Scale {
    Slot total;
    Slot percentage;
};

constexpr std::array<Scale, 16> kScales{{
    {&ScoreRecord::par1t, &ScoreRecord::par1p},
    {&ScoreRecord::sz1t, &ScoreRecord::sz1p},
    {&ScoreRecord::st1t, &ScoreRecord::st1p},
    {&ScoreRecord::as1t, &ScoreRecord::as1p},
    {&ScoreRecord::bdl1t, &ScoreRecord::bdl1p},
    {&ScoreRecord::his1t, &ScoreRecord::his1p},
    {&ScoreRecord::nar1t, &ScoreRecord::nar1p},
    {&ScoreRecord::av1t, &ScoreRecord::av1p},
    {&ScoreRecord::dep1t, &ScoreRecord::dep1p},
    {&ScoreRecord::oc1t, &ScoreRecord::oc1p},
    {&ScoreRecord::de1t, &ScoreRecord::de1p},
    {&ScoreRecord::pa1t, &ScoreRecord::pa1p},
    {&ScoreRecord::clA1t, &ScoreRecord::clA1p},
    {&ScoreRecord::clB1t, &ScoreRecord::clB1p},
    {&ScoreRecord::clC1t, &ScoreRecord::clC1p},
    {&ScoreRecord::tot1t, &ScoreRecord::tot1p},
}};

} // namespace

void CopyAnswers(ProgramState& state) {
    const int itemCount = state.ItemCount.asInt();
    for (int i = 0; i <= itemCount; ++i) {
        state.ScoreT[i] = state.AnswerT[i];
        state.ScoreD[i] = state.AnswerD[i];
    }
}

void ComputeDimensionalScores(ProgramState& state) {
    const DimensionalScores scores = ComputeDimensionalScores(state.ScoreT);
    ScoreRecord& s = state.Scores;
    for (std::size_t k = 0; k < kScales.size(); ++k) {
        const ScaleScore& scale = k < questionnaire::kDisorderCount ? scores.disorders[k]
                                  : k < 15 ? scores.clusters[k - questionnaire::kDisorderCount]
                                           : scores.allClusters;
        s.*kScales[k].total = scale.total;
        s.*kScales[k].percentage = scale.percentage;
    }
}


} // namespace selvo
