// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The questionnaire, once: its items and answer scales, the twelve disorders with the items
// behind each criterion, the thresholds, the clusters, and the subject record's coded fields.
// Scoring, the report, the exports and the checks of the form and of selvo-batch all read
// these tables; nothing else in the program restates them.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace selvo::questionnaire {

// Items 1..94; slot 0 of an answer table belongs to the notice page.
inline constexpr int kFirstItem = 1;
inline constexpr int kItemCount = 94;
inline constexpr int kAgreementSteps = 7;
inline constexpr int kDistressSteps = 3;

// An agreement of 5, 6 or 7 asks the distress question too.
constexpr bool asksDistress(int agreement) {
    return agreement >= 5 && agreement <= kAgreementSteps;
}

// The twelve disorders, in the one order every table, score, section and export follows.
enum Disorder { PAR, SZ, ST, AS, BDL, HIS, NAR, AV, DEP, OC, DE, PA, kDisorderCount };

// The two categorical thresholds.
enum Algorithm { X4, X5, kAlgorithmCount };

struct Threshold {
    std::string_view caption; // as the report and the screens name it
    int agreementMinimum;
    std::string_view variableSuffix; // "X4": ends the names of its statistics variables
};

// A criterion is met when the distress answer is at least kDistressMinimum and the agreement
// answer at least the threshold's minimum.
inline constexpr int kDistressMinimum = 2;
inline constexpr std::array<Threshold, kAlgorithmCount> kThresholds{{
    {"T > 4 & D > 1", 5, "X4"},
    {"T > 5 & D > 1", 6, "X5"},
}};

// The items behind one criterion. Borderline criterion 5 has two halves (items 53 and 65):
// either one meets it, and it counts once.
struct Criterion {
    std::array<int, 2> items;
    int itemCount = 1;
};

inline constexpr int kMostCriteria = 9;

// How the statistics files label a disorder's variables. The code spells most of these labels
// but not all ("O_C tot" for OC, "NOS DE" for DE), so every disorder gives its own.
struct StatisticsLabels {
    std::string_view total;    // "O_C": its dimensional total is "O_C tot"
    std::string_view criteria; // "OC": "OC tot criteri X4", "OC  DIAGNOSI X4"
};

struct DisorderDefinition {
    Disorder disorder;
    std::string_view code;       // "PAR": the stem of its variable names
    std::string_view shortName;  // "PAR", "O-C": the report's and the screens' short label
    std::string_view heading;    // "Paranoid PD"
    std::string_view screenName; // "Paranoide": how the profile on screen names it
    int criterionCount;
    std::array<Criterion, kMostCriteria> criteria;
    int diagnosisThreshold; // the least number of criteria met that gives the diagnosis
    // A criterion (1-based) without which there is no diagnosis; 0 for none. Antisocial:
    // the childhood conduct-disorder criterion.
    int requiredCriterion;
    // The report's threshold line, as it is printed: its wording is not derived from the
    // number above (some lines say "min", others "min.").
    std::string_view thresholdLabel;
    // The report's range of the raw score. Every disorder's range starts at 7, the lowest
    // total the percentage counts from, whatever its number of items.
    std::string_view rangeLabel;
    StatisticsLabels statisticsLabels;

    constexpr std::span<const Criterion> criteriaList() const {
        return {criteria.data(), static_cast<std::size_t>(criterionCount)};
    }
};

constexpr Criterion one(int item) {
    return {{item, 0}, 1};
}

inline constexpr std::array<DisorderDefinition, kDisorderCount> kDisorders{{
    {PAR,
     "PAR",
     "PAR",
     "Paranoid PD",
     "Paranoide",
     7,
     {one(1), one(13), one(25), one(37), one(49), one(61), one(73)},
     4,
     0,
     "Threshold: > 3 (4 criteria min) 1=yes / 0=no: ",
     "(7-49)",
     {"PAR", "PAR"}},
    {SZ,
     "SZ",
     "SZ",
     "Schizoid PD",
     "Schizoide",
     7,
     {one(2), one(14), one(26), one(38), one(50), one(62), one(74)},
     4,
     0,
     "Threshold: > 3 (4 criteria min) 1=yes / 0=no: ",
     "(7-49)",
     {"SZ", "SZ"}},
    // Item 50 stands for a criterion of the schizoid and of the schizotypal disorder.
    {ST,
     "ST",
     "ST",
     "Schizotypal PD",
     "Schizotipico",
     9,
     {one(3), one(15), one(27), one(39), one(51), one(63), one(75), one(50), one(85)},
     5,
     0,
     "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: ",
     "(7-63)",
     {"ST", "ST"}},
    {AS,
     "AS",
     "AS",
     "Antisocial PD (previously called psychopathic or sociopathic)",
     "Antisociale",
     8,
     {one(4), one(16), one(28), one(40), one(52), one(64), one(76), one(86)},
     3,
     8,
     "Threshold: > 2 + CD (it86) (2+CD criteria min.) 1=yes / 0=no: ",
     "(7-56)",
     {"AS", "AS"}},
    {BDL,
     "BDL",
     "BDL",
     "Borderline PD",
     "Borderline",
     9,
     {one(5), one(17), one(29), one(41), Criterion{{53, 65}, 2}, one(77), one(87), one(92),
      one(94)},
     5,
     0,
     "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: ",
     "(7-70)",
     {"BDL", "BDL"}},
    {HIS,
     "HIS",
     "HIS",
     "Histrionic PD",
     "Istrionico",
     8,
     {one(6), one(18), one(30), one(42), one(54), one(66), one(78), one(88)},
     5,
     0,
     "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: ",
     "(7-56)",
     {"HIS", "HIS"}},
    {NAR,
     "NAR",
     "NAR",
     "Narcissistic PD",
     "Narcisistico",
     9,
     {one(7), one(19), one(31), one(43), one(55), one(67), one(79), one(89), one(93)},
     5,
     0,
     "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: ",
     "(7-63)",
     {"NAR", "NAR"}},
    {AV,
     "AV",
     "AV",
     "Avoidant PD",
     "Evitante",
     7,
     {one(8), one(20), one(32), one(44), one(56), one(68), one(80)},
     4,
     0,
     "Threshold: > 3 (4 criteria min) 1=yes / 0=no: ",
     "(7-49)",
     {"AV", "AV"}},
    {DEP,
     "DEP",
     "DEP",
     "Dependent PD",
     "Dipendente",
     8,
     {one(9), one(21), one(33), one(45), one(57), one(69), one(81), one(90)},
     5,
     0,
     "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: ",
     "(7-56)",
     {"DEP", "DEP"}},
    {OC,
     "OC",
     "O-C",
     "Obsessive-Compulsive PD",
     "Ossessivo-compulsivo",
     8,
     {one(10), one(22), one(34), one(46), one(58), one(70), one(82), one(91)},
     4,
     0,
     "Threshold: > 3 (4 criteria min.) 1=yes / 0=no: ",
     "(7-56)",
     {"O_C", "OC"}},
    {DE,
     "DE",
     "DE",
     "NOS-DE PD",
     "Depressivo",
     7,
     {one(11), one(23), one(35), one(47), one(59), one(71), one(83)},
     5,
     0,
     "Threshold: > 4 (5 criteria min.) 1=yes / 0=no: ",
     "(7-49)",
     {"NOS_DE", "NOS DE"}},
    {PA,
     "PA",
     "PA",
     "NOS-PA PD",
     "Passivo-aggressivo",
     7,
     {one(12), one(24), one(36), one(48), one(60), one(72), one(84)},
     4,
     0,
     "Threshold: > 3 (4 criteria min) 1=yes / 0=no: ",
     "(7-49)",
     {"NOS_PA", "NOS PA"}},
}};

// The items a disorder's dimensional total adds up: every item behind its criteria.
constexpr int scaleItemCount(const DisorderDefinition& disorder) {
    int count = 0;
    for (const Criterion& criterion : disorder.criteriaList()) {
        count += criterion.itemCount;
    }
    return count;
}

// The three clusters; DE and PA belong to none.
enum Cluster { ClusterA, ClusterB, ClusterC, kClusterCount };

struct ClusterDefinition {
    Cluster cluster;
    std::string_view letter; // "A"
    int memberCount;
    std::array<Disorder, 4> members;
    std::string_view rangeLabel; // the report's, from the number of items to seven times it

    constexpr std::span<const Disorder> memberList() const {
        return {members.data(), static_cast<std::size_t>(memberCount)};
    }
};

inline constexpr std::array<ClusterDefinition, kClusterCount> kClusters{{
    {ClusterA, "A", 3, {PAR, SZ, ST}, "(23-161)"},
    {ClusterB, "B", 4, {AS, BDL, HIS, NAR}, "(35-245)"},
    {ClusterC, "C", 3, {AV, DEP, OC}, "(23-161)"},
}};

// DE and PA belong to no cluster: the report lists them apart, the profile sets them apart.
constexpr bool inAnyCluster(Disorder disorder) {
    for (const ClusterDefinition& cluster : kClusters) {
        for (const Disorder member : cluster.memberList()) {
            if (member == disorder) {
                return true;
            }
        }
    }
    return false;
}

// The report's range of the three clusters together. Its lower end is the questionnaire's
// item count, not the 81 items the clusters hold; the report has always printed it so.
inline constexpr std::string_view kAllClustersRangeLabel = "(94-567)";

constexpr int clusterItemCount(const ClusterDefinition& cluster) {
    int count = 0;
    for (const Disorder member : cluster.memberList()) {
        count += scaleItemCount(kDisorders[member]);
    }
    return count;
}

constexpr int allClustersItemCount() {
    int count = 0;
    for (const ClusterDefinition& cluster : kClusters) {
        count += clusterItemCount(cluster);
    }
    return count;
}

// The percentage of a dimensional total counts from 7 to the scale's highest total: a
// percentage of 0 always means a total of 7, whatever the number of items.
constexpr int percentageDivisor(int itemCount) {
    return itemCount * kAgreementSteps - 7;
}

// The subject record's coded fields: the options of the form, code 1 first.
struct CodedField {
    std::string_view variable; // the command file's name for it
    int optionCount;
    // The subject form's captions. The form spells the second education option
    // "Elemantare"; the report's legend and the value labels spell it "Elementare".
    std::array<std::string_view, 5> formCaptions;
    std::array<std::string_view, 5> valueLabels; // the statistics files' value labels
};

inline constexpr CodedField kSex{"Sex", 2, {"MASCHIO", "FEMMINA"}, {"MASCHIO", "FEMMINA"}};
inline constexpr CodedField kMarital{
    "STCIV",
    5,
    {"Celibe/Nubile", "Coniugato/a", "Separato/a", "Divorziato/a", "Vedovo/a"},
    {"Celibe/Nubile", "Coniugato/a", "Separato/a", "Divorziato/a", "Vedovo/a"}};
inline constexpr CodedField kEducation{"TITSTUD",
                                       5,
                                       {"Nessuno/Non indicato", "Elemantare", "Media Inferiore",
                                        "Media Superiore", "Laurea/Specializzazione"},
                                       {"Nessuno/Non indicato", "Elementare", "Media Inferiore",
                                        "Media Superiore", "Laurea/Specializzazione"}};
inline constexpr std::array<const CodedField*, 3> kCodedFields{&kSex, &kMarital, &kEducation};

// The subject fields a processing run needs, in the order the form checks them, with the
// message that asks for a missing one and the name selvo-batch lists it under.
enum class SubjectField { Name, Surname, Age, Sex, Marital, Education };
struct RequiredField {
    SubjectField field;
    std::string_view missingMessage;
    std::string_view listedAs;
    bool coded; // one of the coded fields: "0" when none was chosen
};
inline constexpr std::array<RequiredField, 6> kRequiredFields{{
    {SubjectField::Name, "Inserire il Nome/Codice. Grazie!", "Nome/Codice", false},
    {SubjectField::Surname, "Inserire il Cognome/Codice. Grazie!", "Cognome/Codice", false},
    {SubjectField::Age, "Inserire Età. Grazie!", "Età", false},
    {SubjectField::Sex, "Inserire il sesso. Grazie!", "sesso", true},
    {SubjectField::Marital, "Inserire lo Stato Civile. Grazie!", "stato civile", true},
    {SubjectField::Education, "Inserire il Titolo di Studio. Grazie!", "titolo di studio", true},
}};

} // namespace selvo::questionnaire
