// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/ItemBank.h"

#include "questionnaire/content/Content.h"
#include "state/Startup.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace selvo {

namespace {

constexpr std::string_view kParagraphMark = "\xC2\xA7"; // "§" in UTF-8: two bytes, one mark
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kConductDisorderPrefix = "CD (ITEM_86 SELVO) ";
constexpr int kConductDisorderItem = 86;
constexpr int kLegendAgreementSteps = 7;
constexpr int kLegendDistressSteps = 3;

constexpr std::array<std::string_view, 8> kScaleLabels = {
    "SCELGA UNA RISPOSTA",
    " In completo disaccordo",
    " In disaccordo",
    " tendenzialmente in disaccordo",
    " N\xC3\xA8 in accordo N\xC3\xA8 in disaccordo",
    " Tendenzialmente d'accordo",
    " D'accordo",
    " Completamente d'accordo",
};

constexpr std::array<std::string_view, 4> kDistressLabels = {
    "SCELGA UNA RISPOSTA",
    " No mai",
    " In qualche modo",
    " Sicuramente si",
};

std::string withLineBreaks(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t pos = 0; pos < raw.size();) {
        if (raw.substr(pos, kParagraphMark.size()) == kParagraphMark) {
            text += kLineBreak;
            pos += kParagraphMark.size();
        } else {
            text += raw[pos++];
        }
    }
    return text;
}

// The item's wording without its "k) " number.
std::string_view itemWording(std::string_view itemText) {
    const auto afterNumber = itemText.find(") ");
    return afterNumber == std::string_view::npos ? itemText : itemText.substr(afterNumber + 2);
}

// Only the steps 1..last are listed, whatever the scale size constants hold: the legend beside
// the buttons is fixed, as the captions are.
std::string legend(std::span<const std::string> labels, int last) {
    std::string text;
    for (int k = 1; k <= last; ++k) {
        const std::string& label = labels[static_cast<std::size_t>(k)];
        if (label.empty())
            continue;
        text += "( ";
        text += std::to_string(k);
        text += " ) ";
        text += label;
        text += kLineBreak;
    }
    return text;
}

// The item and criteria tables as every load leaves them. They are fixed content, so they are
// converted once and copied into each state that loads them (selvo-batch loads them for every
// subject).
struct LoadedTexts {
    decltype(ProgramState::ItemText) items;
    decltype(ProgramState::CriteriaText) criteria;
};

const LoadedTexts& loadedTexts() {
    static const LoadedTexts texts = [] {
        ProgramState scratch;
        SetItemConstants(scratch);
        LoadItemTexts(scratch);
        LoadCriteriaTexts(scratch);
        for (int i = 0; i <= scratch.ItemCount.asInt(); ++i) {
            std::string& text = scratch.ItemText.at(static_cast<std::size_t>(i));
            text = withLineBreaks(text);
        }
        return LoadedTexts{std::move(scratch.ItemText), std::move(scratch.CriteriaText)};
    }();
    return texts;
}

} // namespace

void LoadItemBank(ProgramState& state) {
    SetItemConstants(state);
    std::copy(kScaleLabels.begin(), kScaleLabels.end(), state.ScaleLabels.begin());
    std::copy(kDistressLabels.begin(), kDistressLabels.end(), state.DistressLabels.begin());
    const LoadedTexts& texts = loadedTexts();
    state.ItemText = texts.items;
    state.CriteriaText = texts.criteria;
}

void LoadItemTexts(ProgramState& state) {
    std::copy(content::kItemTexts.begin(), content::kItemTexts.end(), state.ItemText.begin());
}

void LoadCriteriaTexts(ProgramState& state) {
    for (int d = 0; d < kDisorderCount; ++d) {
        const auto texts = content::criteriaTexts(static_cast<Disorder>(d));
        state.CriteriaText[static_cast<std::size_t>(d)].assign(texts.begin(), texts.end());
    }
    std::string conductDisorder{kConductDisorderPrefix};
    conductDisorder += itemWording(content::kItemTexts[kConductDisorderItem]);
    state.CriteriaText[AS].push_back(std::move(conductDisorder));
}

void ClearAnswers(ProgramState& state) {
    for (int i = 0; i <= state.ItemCount.asInt(); ++i) {
        state.AnswerT[i] = 0;
        state.AnswerD[i] = 0;
    }
}

std::string AgreementLegend(const ProgramState& state) {
    return legend(state.ScaleLabels, kLegendAgreementSteps);
}

std::string DistressLegend(const ProgramState& state) {
    return legend(state.DistressLabels, kLegendDistressSteps);
}

} // namespace selvo
