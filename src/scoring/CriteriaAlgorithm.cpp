#include "scoring/CriteriaAlgorithm.h"

#include "scoring/CriteriaTable.h"

namespace selvo {
namespace {

using criteria::kClusters;
using criteria::kDisorders;
using criteria::kItemCriteria;

constexpr int kDistressMinimum = 2;

void setItemCriteria(ProgramState& state, int traitMinimum) {
    ScoreRecord& scores = state.Scores;
    for (const auto& [slot, item] : kItemCriteria) {
        const bool met =
            state.ScoreD[item] >= kDistressMinimum && state.ScoreT[item] >= traitMinimum;
        scores.*slot = met ? 1 : 0;
    }
    // Either half of borderline criterion 5 meets the whole criterion, and it counts once.
    scores.BDL56 = (scores.BDL5 >= 1 || scores.BDL6 >= 1) ? 1 : 0;
}

void setCountAndDiagnosis(ScoreRecord& scores, const criteria::DisorderCriteria& disorder) {
    int count = 0;
    for (int k = 0; k < disorder.criterionCount; ++k) {
        count += (scores.*disorder.criteria[static_cast<std::size_t>(k)]).asInt();
    }
    scores.*disorder.count = count;
    bool diagnosed = count >= disorder.threshold;
    if (disorder.alsoRequired != nullptr) {
        diagnosed = diagnosed && scores.*disorder.alsoRequired >= 1;
    }
    scores.*disorder.diagnosis = diagnosed ? 1 : 0;
}

void setClusterTotals(ScoreRecord& scores) {
    int allCriteria = 0;
    int allDiagnoses = 0;
    for (const auto& cluster : kClusters) {
        int criteriaMet = 0;
        int diagnoses = 0;
        for (int m = 0; m < cluster.memberCount; ++m) {
            const auto& disorder = kDisorders[cluster.members[static_cast<std::size_t>(m)]];
            criteriaMet += (scores.*disorder.count).asInt();
            diagnoses += (scores.*disorder.diagnosis).asInt();
        }
        scores.*cluster.criteriaTotal = criteriaMet;
        scores.*cluster.diagnosisTotal = diagnoses;
        allCriteria += criteriaMet;
        allDiagnoses += diagnoses;
    }
    scores.TOTTOT = allCriteria;
    scores.TOTD = allDiagnoses;
}

} // namespace

void ComputeCriteria(ProgramState& state, int traitMinimum) {
    setItemCriteria(state, traitMinimum);
    for (const auto& disorder : kDisorders) {
        setCountAndDiagnosis(state.Scores, disorder);
    }
    setClusterTotals(state.Scores);
}

void ComputeCriteriaX4(ProgramState& state) {
    ComputeCriteria(state, 5);
}

void ComputeCriteriaX5(ProgramState& state) {
    ComputeCriteria(state, 6);
}

} // namespace selvo
