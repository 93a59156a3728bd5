// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The answer rules of the administration window, apart from its widgets: the texts the window
// shows for a chosen step, how a choice is recorded, and the bounds of moving between items.
#include "state/ProgramState.h"

#include <string>

namespace selvo {

// "( k )" and the scale caption, e.g. "( 3 )  tendenzialmente in disaccordo".
std::string AgreementCaption(const ProgramState& state, int step);
std::string DistressCaption(const ProgramState& state, int step);

// The progress counter: " 5 di  94" (number text on both sides).
std::string ProgressText(const ProgramState& state);

// Whether an agreement step asks the distress question too.
constexpr bool AsksDistress(int agreementStep) {
    return questionnaire::asksDistress(agreementStep);
}

// Stores an agreement step for CurrentItem; a step of 1..4 also drops the item's distress
// answer, which means nothing below 5. Nothing is stored on the notice page.
void RecordAgreement(ProgramState& state, int step);

// Stores a distress step for CurrentItem; nothing is stored on the notice page.
void RecordDistress(ProgramState& state, int step);

// Moves CurrentItem one item on or back, staying within the notice page and ItemCount.
void MoveForward(ProgramState& state);
void MoveBack(ProgramState& state);

} // namespace selvo
