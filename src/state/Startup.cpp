// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/Startup.h"

#include "questionnaire/Product.h"

namespace selvo {

void SetItemConstants(ProgramState& state) {
    state.ItemCount = questionnaire::kItemCount;
    state.FirstItem = questionnaire::kFirstItem;
    state.ScalePoints = questionnaire::kAgreementSteps;
    state.DistressPoints = questionnaire::kDistressSteps;
}

void SetProgramConstants(ProgramState& state) {
    state.ProgramTitle = std::string(kProductName) + " (V." + printedVersion() + ")";
    SetItemConstants(state);
}

} // namespace selvo
