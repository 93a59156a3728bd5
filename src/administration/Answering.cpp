// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/Answering.h"

#include "text/NumberText.h"

namespace selvo {

namespace {

std::string caption(int step, const std::string& label) {
    return "(" + numberText(step) + " ) " + label;
}

} // namespace

std::string AgreementCaption(const ProgramState& state, int step) {
    return caption(step, state.ScaleLabels.at(static_cast<std::size_t>(step)));
}

std::string DistressCaption(const ProgramState& state, int step) {
    return caption(step, state.DistressLabels.at(static_cast<std::size_t>(step)));
}

std::string ProgressText(const ProgramState& state) {
    return numberText(state.CurrentItem) + " di " + numberText(state.ItemCount);
}

void RecordAgreement(ProgramState& state, int step) {
    const int item = state.CurrentItem;
    if (item == 0) {
        return;
    }
    state.AnswerT[item] = static_cast<Integer>(step);
    if (!AsksDistress(step)) {
        state.AnswerD[item] = 0;
    }
}

void RecordDistress(ProgramState& state, int step) {
    const int item = state.CurrentItem;
    if (item != 0) {
        state.AnswerD[item] = static_cast<Integer>(step);
    }
}

void MoveForward(ProgramState& state) {
    if (state.CurrentItem < state.ItemCount.asInt()) {
        ++state.CurrentItem;
    }
}

void MoveBack(ProgramState& state) {
    if (state.CurrentItem > 0) {
        --state.CurrentItem;
    }
}

} // namespace selvo
