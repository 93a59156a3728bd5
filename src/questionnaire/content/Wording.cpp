// SPDX-License-Identifier: GPL-3.0-or-later

#include "questionnaire/content/Wording.h"

#include "questionnaire/content/Content.h"

#include <span>
#include <stdexcept>

namespace selvo::questionnaire {
namespace {

constexpr std::string_view kParagraphMark = "\xC2\xA7"; // "§" in UTF-8: two bytes, one mark
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kConductDisorderPrefix = "CD (ITEM_86 SELVO) ";
constexpr int kConductDisorderItem = 86;

constexpr std::array<std::string_view, kAgreementSteps + 1> kAgreementLabels = {
    "SCELGA UNA RISPOSTA",
    " In completo disaccordo",
    " In disaccordo",
    " tendenzialmente in disaccordo",
    " N\xC3\xA8 in accordo N\xC3\xA8 in disaccordo",
    " Tendenzialmente d'accordo",
    " D'accordo",
    " Completamente d'accordo",
};

constexpr std::array<std::string_view, kDistressSteps + 1> kDistressLabels = {
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

std::string legend(std::span<const std::string_view> labels) {
    std::string text;
    for (std::size_t k = 1; k < labels.size(); ++k) {
        text += "( ";
        text += std::to_string(k);
        text += " ) ";
        text += labels[k];
        text += kLineBreak;
    }
    return text;
}

template <std::size_t N>
std::string_view label(const std::array<std::string_view, N>& labels, int step) {
    if (step < 0 || static_cast<std::size_t>(step) >= N) {
        throw std::out_of_range("no caption for step " + std::to_string(step));
    }
    return labels[static_cast<std::size_t>(step)];
}

} // namespace

const ItemTextTable& ItemTexts() {
    static const ItemTextTable texts = [] {
        ItemTextTable built;
        for (std::size_t slot = 0; slot < built.size(); ++slot) {
            built[slot] = withLineBreaks(content::kItemTexts[slot]);
        }
        return built;
    }();
    return texts;
}

const std::string& ItemText(int item) {
    if (item < 0 || item > kItemCount) {
        throw std::out_of_range("no text for item " + std::to_string(item));
    }
    return ItemTexts()[static_cast<std::size_t>(item)];
}

const CriteriaTextTable& CriteriaTexts() {
    static const CriteriaTextTable texts = [] {
        CriteriaTextTable built;
        for (int d = 0; d < kDisorderCount; ++d) {
            const auto shipped = content::criteriaTexts(static_cast<Disorder>(d));
            built[static_cast<std::size_t>(d)].assign(shipped.begin(), shipped.end());
        }
        // The antisocial table ends with the conduct-disorder criterion, which is item 86's
        // wording: taken from the item so that the two can never drift apart.
        std::string conductDisorder{kConductDisorderPrefix};
        conductDisorder += itemWording(content::kItemTexts[kConductDisorderItem]);
        built[AS].push_back(std::move(conductDisorder));
        return built;
    }();
    return texts;
}

std::string_view AgreementLabel(int step) {
    return label(kAgreementLabels, step);
}

std::string_view DistressLabel(int step) {
    return label(kDistressLabels, step);
}

std::string AgreementLegend() {
    return legend(kAgreementLabels);
}

std::string DistressLegend() {
    return legend(kDistressLabels);
}

} // namespace selvo::questionnaire
