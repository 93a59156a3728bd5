// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/CategoricalSections.h"

#include "report/RtfText.h"
#include "text/NumberText.h"

#include <string_view>

namespace selvo {
namespace {

namespace q = questionnaire;

// "SELVO CATEGORICAL DIAGNOSTICS (algorithm T > 4 & D > 1)" and its three companions.
std::string categoricalTitle(q::Algorithm algorithm) {
    return "SELVO CATEGORICAL DIAGNOSTICS (algorithm " +
           std::string(q::kThresholds[algorithm].caption) + ")";
}

// The closing line; `part` names the criteria section, empty for the categorical one.
std::string algorithmEnd(q::Algorithm algorithm, std::string_view part) {
    std::string end = "SELVO Algorithm " + std::string(q::kThresholds[algorithm].caption);
    if (!part.empty()) {
        end += " - ";
        end += part;
    }
    return end + " - End ";
}

constexpr std::string_view kCriteriaPart = "DSM IV CRITERIA";

// "A+B+C": the letters of every cluster.
std::string allClusterLetters() {
    std::string letters;
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        if (!letters.empty()) {
            letters += '+';
        }
        letters += cluster.letter;
    }
    return letters;
}

// bold(label), two TABs, ":  ", bold(value): the shape of every count and total line.
void addCountLine(std::string& out, std::string_view label, int value) {
    appendBold(out, label);
    out += "\t\t:  {\\b ";
    appendNumberText(out, value);
    out += '}';
    out += kPar;
}

void addTotalsLines(std::string& out, std::string_view letters, const CountTotals& totals) {
    std::string label = "CLUSTER [" + std::string(letters) + "] TOT. N. OF ";
    const std::size_t prefix = label.size();
    label += "CRITERIA";
    addCountLine(out, label, totals.criteriaMet);
    label.resize(prefix);
    label += "DIAGNOSIS";
    addCountLine(out, label, totals.diagnoses);
}

// The cluster a disorder closes, as its last member; none for the others.
const q::ClusterDefinition* clusterClosedBy(q::Disorder disorder) {
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        if (cluster.memberList().back() == disorder) {
            return &cluster;
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

} // namespace

std::string BuildCategoricalSection(const CategoricalScores& categorical, q::Algorithm algorithm) {
    std::string out;
    out.reserve(8 * 1024);
    addParagraph(out, kRule);
    addBoldParagraph(out, categoricalTitle(algorithm));
    out += kPar;
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        const DisorderOutcome& outcome = categorical.disorders[disorder.disorder];
        addBoldParagraph(out, disorder.heading);
        for (int k = 1; k <= disorder.criterionCount; ++k) {
            const bool met = outcome.criteria[static_cast<std::size_t>(k - 1)].met;
            // bold(PAR_k), two TABs, "+/-:  ", bold(flag), in place: most lines are these.
            out += "{\\b ";
            out += disorder.shortName;
            out += '_';
            appendIntegerText(out, k);
            out += "}\t\t+/-:  {\\b ";
            appendNumberText(out, met ? 1 : 0);
            out += '}';
            out += kPar;
        }
        out += kPar;
        addCountLine(out, "N. OF CRITERIA", outcome.criteriaMet);
        appendBold(out, disorder.thresholdLabel);
        out += "\t\t";
        appendBold(out, "Diagnosis:  " + numberText(outcome.diagnosed ? 1 : 0));
        out += kPar;
        if (const q::ClusterDefinition* cluster = clusterClosedBy(disorder.disorder)) {
            out += kPar;
            addTotalsLines(out, cluster->letter, categorical.clusters[cluster->cluster]);
        }
        if (&disorder == &q::kDisorders.back()) { // the last disorder closes the section
            out += kPar;
            addTotalsLines(out, allClusterLetters(), categorical.allClusters);
            out += kPar;
            addBoldParagraph(out, algorithmEnd(algorithm, ""));
            addParagraph(out, kRule);
        } else {
            out += kPar;
            out += kPar;
        }
    }
    return out;
}

std::string BuildCriteriaSection(const CategoricalScores& categorical,
                                 const CriteriaTexts& criteriaTexts, q::Algorithm algorithm) {
    std::string out;
    out.reserve(8 * 1024);
    addParagraph(out, kRule);
    addBoldParagraph(out, categoricalTitle(algorithm) + " " + std::string(kCriteriaPart));
    out += kPar;
    std::string block; // one disorder's paragraphs, shown when a criterion is met
    block.reserve(2048);
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        const DisorderOutcome& outcome = categorical.disorders[disorder.disorder];
        const auto& texts = criteriaTexts[disorder.disorder];
        block.assign(kPar);
        appendRtfText(block, entry(texts, 0));
        block += kPar;
        bool anyMet = false;
        for (int k = 1; k <= disorder.criterionCount; ++k) {
            const auto criterion = static_cast<std::size_t>(k - 1);
            const CriterionOutcome& result = outcome.criteria[criterion];
            if (result.met) {
                appendRtfText(block, entry(texts, k));
                block += kPar;
                anyMet = true;
            }
            // Which of the two items behind a two-item criterion said so; not a criterion.
            const q::Criterion& items = disorder.criteria[criterion];
            if (items.itemCount == 2) {
                for (std::size_t part = 0; part < 2; ++part) {
                    if (result.itemMet[part]) {
                        addParagraph(block, "[SELVO ITEM " + integerText(items.items[part]) +
                                                " - CRITERIA PART " +
                                                integerText(static_cast<long>(part) + 1) + "]");
                    }
                }
            }
        }
        if (anyMet) {
            out += block;
        }
    }
    out += kPar;
    addBoldParagraph(out, algorithmEnd(algorithm, kCriteriaPart));
    addParagraph(out, kRule);
    return out;
}

} // namespace selvo
