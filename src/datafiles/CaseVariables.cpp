// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/CaseVariables.h"

#include "datafiles/SpssText.h"
#include "text/AsciiCase.h"
#include "text/NumberText.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace selvo::statistics {
namespace {

namespace q = questionnaire;

// Not the subject's name: the case carries no name or surname.
constexpr std::string_view kCaseCode = "pz";

// The three clusters together, as the statistics files name and label them.
constexpr std::string_view kAllClustersStem = "TOT"; // TOTTOTX4, TOTDX4
constexpr std::string_view kAllClustersTotal = "tot1t";
constexpr std::string_view kAllClustersTotalLabel = "TotCLU tot";
constexpr std::string_view kAllClustersCriteriaLabel = "CLTOT";

CaseVariable& add(std::vector<CaseVariable>& list, std::string name, std::string_view format,
                  Part part, std::function<CaseValue(const CaseInput&)> value) {
    CaseVariable& variable = list.emplace_back();
    variable.name = std::move(name);
    variable.format = format;
    variable.part = part;
    variable.value = std::move(value);
    return variable;
}

// The subject's record number and coded fields, the age and the case code. A variable of the
// header is labelled with its name after a blank; the case code's label says " Note".
void addHeader(std::vector<CaseVariable>& list) {
    const auto header = [&list](std::string_view name, std::string_view format,
                                std::function<CaseValue(const CaseInput&)> value,
                                std::string description) {
        CaseVariable& variable =
            add(list, std::string(name), format, Part::Header, std::move(value));
        variable.label = " " + std::string(name);
        variable.description = std::move(description);
    };
    const auto text = [](std::string SubjectRecord::*field) {
        return
            [field](const CaseInput& in) { return CaseValue(std::string_view(in.subject.*field)); };
    };
    header(
        "Card", "F8.0",
        [](const CaseInput& in) { return CaseValue(static_cast<double>(in.subject.card)); },
        "Numero di scheda del soggetto");
    header(q::kSex.variable, "F8.0", text(&SubjectRecord::sex), "Sesso");
    header("Eta", "F8.0", text(&SubjectRecord::age),
           "Età in anni; mancante se non è scritta come un numero");
    header(q::kMarital.variable, "F8.0", text(&SubjectRecord::marital), "Stato civile");
    header(q::kEducation.variable, "F8.0", text(&SubjectRecord::education), "Titolo di studio");
    header(
        kCaseCodeVariable, "A10", [](const CaseInput&) { return CaseValue(kCaseCode); },
        "Sempre «" + std::string(kCaseCode) + "»: le note del soggetto non fanno parte del caso");
    list.back().label = " Note";
}

void addAnswers(std::vector<CaseVariable>& list) {
    for (int k = q::kFirstItem; k <= q::kItemCount; ++k) {
        CaseVariable& variable =
            add(list, "t" + std::to_string(k) + "_1", "F8", Part::Agreement,
                [k](const CaseInput& in) { return CaseValue(in.answers.agreement[k]); });
        variable.item = k;
        variable.description = "Item " + std::to_string(k) + ": accordo, da 1 a " +
                               std::to_string(q::kAgreementSteps) + " (0 senza risposta)";
    }
    for (int k = q::kFirstItem; k <= q::kItemCount; ++k) {
        CaseVariable& variable =
            add(list, "d" + std::to_string(k) + "_1", "F8.0", Part::Distress,
                [k](const CaseInput& in) { return CaseValue(in.answers.distress[k]); });
        variable.item = k;
        variable.description = "Item " + std::to_string(k) + ": disagio, da 1 a " +
                               std::to_string(q::kDistressSteps) +
                               ", chiesto solo con un accordo da 5 a " +
                               std::to_string(q::kAgreementSteps) + " (altrimenti 0)";
    }
}

// What a dimensional total adds up.
std::string agreementSum(std::string_view whose, int items) {
    return "Punteggio dimensionale " + std::string(whose) + ": somma dell'accordo a " +
           std::to_string(items) + " item";
}

std::string disorderName(const q::DisorderDefinition& disorder) {
    return "del disturbo " + std::string(disorder.screenName);
}

// A total of the dimensional scores, picked from them.
template <class Pick> std::function<CaseValue(const CaseInput&)> dimensional(Pick pick) {
    return [pick](const CaseInput& in) {
        return CaseValue(static_cast<double>(pick(in.scores.dimensional).total));
    };
}

void addDimensionalTotals(std::vector<CaseVariable>& list) {
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        const q::Disorder d = disorder.disorder;
        CaseVariable& variable =
            add(list, asciiLowered(disorder.code) + "1t", "F8.0", Part::Dimensional,
                dimensional([d](const DimensionalScores& s) { return s.disorders[d]; }));
        variable.label = std::string(disorder.statisticsLabels.total) + " tot";
        variable.description = agreementSum(disorderName(disorder), q::scaleItemCount(disorder));
    }
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        const q::Cluster c = cluster.cluster;
        const std::string letter(cluster.letter);
        CaseVariable& variable =
            add(list, "cl" + letter + "1t", "F8.0", Part::Dimensional,
                dimensional([c](const DimensionalScores& s) { return s.clusters[c]; }));
        variable.label = "CLU_" + letter + " tot";
        variable.description = agreementSum("del cluster " + letter, q::clusterItemCount(cluster));
    }
    CaseVariable& all = add(list, std::string(kAllClustersTotal), "F8.0", Part::Dimensional,
                            dimensional([](const DimensionalScores& s) { return s.allClusters; }));
    all.label = std::string(kAllClustersTotalLabel);
    all.description = agreementSum("dei tre cluster", q::allClustersItemCount());
}

// The names of a disorder's criteria count the items behind them: borderline criterion 5, of
// two items, is "BDL56", and the criteria after it keep the numbers of their items, BDL7...
std::vector<std::string> criterionNames(const q::DisorderDefinition& disorder) {
    std::vector<std::string> names;
    int item = 1;
    for (const q::Criterion& criterion : disorder.criteriaList()) {
        std::string name(disorder.code);
        for (int i = 0; i < criterion.itemCount; ++i) {
            name += std::to_string(item++);
        }
        names.push_back(std::move(name));
    }
    return names;
}

int clusteredDisorders() {
    int count = 0;
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        count += cluster.memberCount;
    }
    return count;
}

// "item 1", or "item 53 o 65" for a criterion of two items.
std::string criterionItems(const q::Criterion& criterion) {
    std::string items = "item " + std::to_string(criterion.items[0]);
    for (int i = 1; i < criterion.itemCount; ++i) {
        items += " o " + std::to_string(criterion.items[static_cast<std::size_t>(i)]);
    }
    return items;
}

// One threshold's variables: each disorder's count, criteria and diagnosis, then the clusters'
// counts and diagnoses.
void addCategorical(std::vector<CaseVariable>& list, q::Algorithm algorithm) {
    const q::Threshold& threshold = q::kThresholds[algorithm];
    const std::string suffix(threshold.variableSuffix);
    const std::string under = ", soglia " + suffix + " (accordo almeno " +
                              std::to_string(threshold.agreementMinimum) + " e disagio almeno " +
                              std::to_string(q::kDistressMinimum) + ")";
    const auto addOne = [&](std::string name, Role role, std::string label, auto pick,
                            std::string description) {
        CaseVariable& variable =
            add(list, std::move(name) + suffix, "F8.0", Part::Categorical,
                [algorithm, pick](const CaseInput& in) {
                    return CaseValue(static_cast<double>(pick(in.scores.categorical[algorithm])));
                });
        variable.role = role;
        variable.algorithm = algorithm;
        variable.label = role == Role::Other ? "" : std::move(label) + suffix;
        variable.description = std::move(description);
    };
    for (const q::DisorderDefinition& disorder : q::kDisorders) {
        const q::Disorder d = disorder.disorder;
        const std::string code(disorder.code);
        const std::string label(disorder.statisticsLabels.criteria);
        addOne(
            code + "TOT", Role::Count, label + " tot criteri ",
            [d](const CategoricalScores& s) { return s.disorders[d].criteriaMet; },
            "Criteri soddisfatti " + disorderName(disorder) + ", su " +
                std::to_string(disorder.criterionCount) + under);
        const std::vector<std::string> names = criterionNames(disorder);
        for (std::size_t k = 0; k < names.size(); ++k) {
            addOne(
                names[k], Role::Other, "",
                [d, k](const CategoricalScores& s) {
                    return s.disorders[d].criteria[k].met ? 1 : 0;
                },
                "Criterio " + std::to_string(k + 1) + " " + disorderName(disorder) + " (" +
                    criterionItems(disorder.criteria[k]) + ") soddisfatto" + under +
                    ": 1 sì, 0 no");
        }
        addOne(
            code + "D", Role::Diagnosis, label + "  DIAGNOSI ",
            [d](const CategoricalScores& s) { return s.disorders[d].diagnosed ? 1 : 0; },
            "Diagnosi " + disorderName(disorder) + under + ": 1 sì, 0 no (almeno " +
                std::to_string(disorder.diagnosisThreshold) + " criteri" +
                (disorder.requiredCriterion == 0
                     ? std::string()
                     : ", tra cui il criterio " + std::to_string(disorder.requiredCriterion)) +
                ")");
    }
    const std::string all(kAllClustersStem);
    const std::string allLabel(kAllClustersCriteriaLabel);
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        const q::Cluster c = cluster.cluster;
        const std::string stem = "CL" + std::string(cluster.letter);
        addOne(
            stem + "TOT", Role::Count, stem + " tot criteri ",
            [c](const CategoricalScores& s) { return s.clusters[c].criteriaMet; },
            "Criteri soddisfatti nei disturbi del cluster " + std::string(cluster.letter) + under);
    }
    addOne(
        all + "TOT", Role::Count, allLabel + " tot criteri ",
        [](const CategoricalScores& s) { return s.allClusters.criteriaMet; },
        "Criteri soddisfatti nei disturbi dei tre cluster" + under);
    for (const q::ClusterDefinition& cluster : q::kClusters) {
        const q::Cluster c = cluster.cluster;
        const std::string stem = "CL" + std::string(cluster.letter);
        addOne(
            stem + "D", Role::Diagnosis, stem + " tot DIAGNOSI ",
            [c](const CategoricalScores& s) { return s.clusters[c].diagnoses; },
            "Diagnosi nel cluster " + std::string(cluster.letter) + under + ": quanti dei suoi " +
                std::to_string(cluster.memberCount) + " disturbi");
    }
    addOne(
        all + "D", Role::Diagnosis, allLabel + " tot DIAGNOSI ",
        [](const CategoricalScores& s) { return s.allClusters.diagnoses; },
        "Diagnosi nei tre cluster" + under + ": quanti dei loro " +
            std::to_string(clusteredDisorders()) + " disturbi");
}

const CaseVariable* variableNamed(std::string_view name) {
    for (const CaseVariable& variable : caseVariables()) {
        if (variable.name == name) {
            return &variable;
        }
    }
    return nullptr;
}

template <class Keep> std::vector<VariableLabel> labelsWhere(Keep keep) {
    std::vector<VariableLabel> labels;
    for (const CaseVariable& variable : caseVariables()) {
        if (keep(variable)) {
            labels.push_back({variable.name, variable.label});
        }
    }
    return labels;
}

} // namespace

const std::vector<CaseVariable>& caseVariables() {
    static const std::vector<CaseVariable> variables = [] {
        std::vector<CaseVariable> list;
        addHeader(list);
        addAnswers(list);
        addDimensionalTotals(list);
        for (int algorithm = 0; algorithm < q::kAlgorithmCount; ++algorithm) {
            addCategorical(list, static_cast<q::Algorithm>(algorithm));
        }
        return list;
    }();
    return variables;
}

// The header's labels, in their own order. They include the subject's name and surname,
// labelled as the header's variables are although the case holds neither.
std::vector<VariableLabel> headerLabels(bool variablesOnly) {
    constexpr std::string_view sex = q::kSex.variable;
    constexpr std::string_view marital = q::kMarital.variable;
    constexpr std::string_view education = q::kEducation.variable;
    constexpr std::array<std::string_view, 8> kOrder{"Card", "Nome",  "Cognome", "Eta",
                                                     sex,    marital, education, kCaseCodeVariable};
    std::vector<VariableLabel> labels;
    for (const std::string_view name : kOrder) {
        if (const CaseVariable* variable = variableNamed(name)) {
            labels.push_back({variable->name, variable->label});
        } else if (!variablesOnly) {
            labels.push_back({std::string(name), " " + std::string(name)});
        }
    }
    return labels;
}

std::vector<VariableLabel> dimensionalLabels() {
    return labelsWhere([](const CaseVariable& v) { return v.part == Part::Dimensional; });
}

// A threshold's labelled variables: its counts, then its diagnoses.
std::vector<VariableLabel> categoricalLabels(q::Algorithm algorithm) {
    std::vector<VariableLabel> labels;
    for (const Role role : {Role::Count, Role::Diagnosis}) {
        for (VariableLabel& label : labelsWhere([=](const CaseVariable& v) {
                 return v.part == Part::Categorical && v.algorithm == algorithm && v.role == role;
             })) {
            labels.push_back(std::move(label));
        }
    }
    return labels;
}

const std::string& itemText(ItemLabelTexts itemTexts, int item) {
    const auto slot = static_cast<std::size_t>(item);
    if (slot >= itemTexts.size()) {
        throw std::out_of_range("no text for item " + std::to_string(item));
    }
    return itemTexts[slot];
}

// CleanLabelText into a buffer that is used again for every item.
void cleanLabelTextInto(std::string& clean, std::string_view text) {
    clean.assign(text);
    for (const auto& [from, to] :
         {std::pair{'\'', '^'}, std::pair{'\r', '-'}, std::pair{'\n', '-'}}) {
        for (std::size_t at = clean.find(from); at != std::string::npos;
             at = clean.find(from, at + 1)) {
            clean[at] = to;
        }
    }
}

} // namespace selvo::statistics
