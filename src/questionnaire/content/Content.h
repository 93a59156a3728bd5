// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The questionnaire's wording as shipped with the program, kept apart from the loaders so the
// texts can be reviewed and revised without touching any logic. UTF-8; in the item texts "§"
// marks a line break ("§§" an empty line), turned into CR LF when the bank is loaded.
#include "questionnaire/Questionnaire.h"

#include <array>
#include <span>
#include <string_view>

namespace selvo::content {

// Slot 0 the notice page, slots 1..94 the items, each starting "k) ".
extern const std::array<std::string_view, 95> kItemTexts;

// Entry 0 the heading ("LABEL: description"), entries 1..n the criteria ("k)  ...").
// The antisocial table stops at its seventh criterion: the loader appends the conduct-disorder
// entry from item 86 so that the two texts can never drift apart.
std::span<const std::string_view> criteriaTexts(questionnaire::Disorder disorder);

} // namespace selvo::content
