#include "report/CategoricalSections.h"

#include "report/RtfText.h"
#include "scoring/CriteriaTable.h"
#include "text/NumberText.h"

#include <array>
#include <string_view>

namespace selvo {
namespace {

struct DisorderLabels {
    std::string_view heading;
    std::string_view criterionPrefix; // "PAR" gives "PAR_1" .. "PAR_n"
    std::string_view threshold;
};

// Fixed texts: the threshold labels are not derived from the thresholds the algorithm applies.
constexpr std::array<DisorderLabels, kDisorderCount> kLabels{{
    {"Paranoid PD", "PAR", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
    {"Schizoid PD", "SZ", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
    {"Schizotypal PD", "ST", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Antisocial PD (previously called psychopathic or sociopathic)", "AS",
     "Threshold: > 2 + CD (it86) (2+CD criteria min.) 1=yes / 0=no: "},
    {"Borderline PD", "BDL", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Histrionic PD", "HIS", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Narcissistic PD", "NAR", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Avoidant PD", "AV", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
    {"Dependent PD", "DEP", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"Obsessive-Compulsive PD", "O-C", "Threshold: > 3 (4 criteria min.) 1=yes / 0=no: "},
    {"NOS-DE PD", "DE", "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: "},
    {"NOS-PA PD", "PA", "Threshold: > 3 (4 criteria min) 1=yes / 0=no: "},
}};

struct AlgorithmTexts {
    std::string_view categoricalTitle;
    std::string_view categoricalEnd;
    std::string_view criteriaTitle;
    std::string_view criteriaEnd;
};

constexpr std::array<AlgorithmTexts, kAlgorithmCount> kAlgorithmTexts{{
    {"SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 4 & D > 1)",
     "SELVO Algorithm T > 4 & D > 1 - End ",
     "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 4 & D > 1) DSM IV CRITERIA",
     "SELVO Algorithm T > 4 & D > 1 - DSM IV CRITERIA - End "},
    {"SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 5 & D > 1)",
     "SELVO Algorithm T > 5 & D > 1 - End ",
     "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 5 & D > 1) DSM IV CRITERIA",
     "SELVO Algorithm T > 5 & D > 1 - DSM IV CRITERIA - End "},
}};

// The totals lines that close each cluster, and the grand totals after the last disorder.
struct TotalsAfter {
    Disorder lastDisorder;
    std::string_view cluster;
    criteria::Slot criteriaTotal;
    criteria::Slot diagnosisTotal;
};

constexpr std::array<TotalsAfter, 4> kTotals{{
    {ST, "A", &ScoreRecord::CLATOT, &ScoreRecord::CLAD},
    {NAR, "B", &ScoreRecord::CLBTOT, &ScoreRecord::CLBD},
    {OC, "C", &ScoreRecord::CLCTOT, &ScoreRecord::CLCD},
    {PA, "A+B+C", &ScoreRecord::TOTTOT, &ScoreRecord::TOTD},
}};

// bold(label), two TABs, ":  ", bold(value): the shape of every count and total line.
void addCountLine(std::string& out, std::string_view label, const NumberOrEmpty& value) {
    appendBold(out, label);
    out += "\t\t:  {\\b ";
    appendNumberText(out, value);
    out += '}';
    out += kPar;
}

void addTotalsLines(std::string& out, const TotalsAfter& totals, const ScoreRecord& scores) {
    std::string label = "CLUSTER [" + std::string(totals.cluster) + "] TOT. N. OF ";
    const std::size_t prefix = label.size();
    label += "CRITERIA";
    addCountLine(out, label, scores.*totals.criteriaTotal);
    label.resize(prefix);
    label += "DIAGNOSIS";
    addCountLine(out, label, scores.*totals.diagnosisTotal);
}

const TotalsAfter* totalsAfter(Disorder disorder) {
    for (const auto& totals : kTotals) {
        if (totals.lastDisorder == disorder) {
            return &totals;
        }
    }
    return nullptr;
}

// A criteria table shorter than expected (an item bank that was never loaded) prints empty
// texts instead of reading past its end.
const std::string& entry(const std::vector<std::string>& texts, int k) {
    static const std::string kMissing;
    return k < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(k)] : kMissing;
}

bool isMet(const NumberOrEmpty& flag) {
    return flag.value() == 1.0;
}

} // namespace

void BuildCategoricalSection(ProgramState& state, Algorithm algorithm) {
    const ScoreRecord& scores = state.Scores;
    const AlgorithmTexts& texts = kAlgorithmTexts[algorithm];
    std::string out;
    out.reserve(8 * 1024);
    addParagraph(out, kRule);
    addBoldParagraph(out, texts.categoricalTitle);
    out += kPar;
    for (const auto& disorder : criteria::kDisorders) {
        const DisorderLabels& labels = kLabels[disorder.disorder];
        addBoldParagraph(out, labels.heading);
        for (int k = 1; k <= disorder.criterionCount; ++k) {
            const auto& flag = scores.*disorder.criteria[static_cast<std::size_t>(k - 1)];
            // bold(PAR_k), two TABs, "+/-:  ", bold(flag), in place: most lines are these.
            out += "{\\b ";
            out += labels.criterionPrefix;
            out += '_';
            appendIntegerText(out, k);
            out += "}\t\t+/-:  {\\b ";
            appendNumberText(out, flag);
            out += '}';
            out += kPar;
        }
        out += kPar;
        addCountLine(out, "N. OF CRITERIA", scores.*disorder.count);
        appendBold(out, labels.threshold);
        out += "\t\t";
        appendBold(out, "Diagnosis:  " + numberText(scores.*disorder.diagnosis));
        out += kPar;
        if (const TotalsAfter* totals = totalsAfter(disorder.disorder)) {
            out += kPar;
            addTotalsLines(out, *totals, scores);
        }
        if (disorder.disorder == PA) { // the last disorder closes the section
            out += kPar;
            addBoldParagraph(out, texts.categoricalEnd);
            addParagraph(out, kRule);
        } else {
            out += kPar;
            out += kPar;
        }
    }
    state.ReportCategorical[algorithm] = std::move(out);
}

void BuildCriteriaSection(ProgramState& state, Algorithm algorithm) {
    const ScoreRecord& scores = state.Scores;
    const AlgorithmTexts& texts = kAlgorithmTexts[algorithm];
    std::string out;
    out.reserve(8 * 1024);
    addParagraph(out, kRule);
    addBoldParagraph(out, texts.criteriaTitle);
    out += kPar;
    std::string block; // one disorder's paragraphs, shown when a criterion is met
    block.reserve(2048);
    for (const auto& disorder : criteria::kDisorders) {
        const auto& criteriaTexts = state.CriteriaText[disorder.disorder];
        block.assign(kPar);
        appendRtfText(block, entry(criteriaTexts, 0));
        block += kPar;
        bool anyMet = false;
        for (int k = 1; k <= disorder.criterionCount; ++k) {
            if (isMet(scores.*disorder.criteria[static_cast<std::size_t>(k - 1)])) {
                appendRtfText(block, entry(criteriaTexts, k));
                block += kPar;
                anyMet = true;
            }
            // Which of the two items behind borderline criterion 5 said so; not a criterion.
            if (disorder.disorder == BDL && k == 5) {
                if (isMet(scores.BDL5)) {
                    addParagraph(block, "[SELVO ITEM 53 - CRITERIA PART 1]");
                }
                if (isMet(scores.BDL6)) {
                    addParagraph(block, "[SELVO ITEM 65 - CRITERIA PART 2]");
                }
            }
        }
        if (anyMet) {
            out += block;
        }
    }
    out += kPar;
    addBoldParagraph(out, texts.criteriaEnd);
    addParagraph(out, kRule);
    state.ReportCriteria[algorithm] = std::move(out);
}

} // namespace selvo
