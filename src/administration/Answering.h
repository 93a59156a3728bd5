// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The answer rules of the administration window, apart from its widgets: the texts the window
// shows for a chosen step, how a choice is recorded, and the bounds of moving between items.
#include "administration/Administration.h"
#include "questionnaire/Questionnaire.h"

#include <string>

namespace selvo {

// "( k )" and the scale caption, e.g. "( 3 )  tendenzialmente in disaccordo".
std::string AgreementCaption(int step);
std::string DistressCaption(int step);

// The progress counter: " 5 di  94" (number text on both sides).
std::string ProgressText(const Administration& administration);

// Whether an agreement step asks the distress question too.
constexpr bool AsksDistress(int agreementStep) {
    return questionnaire::asksDistress(agreementStep);
}

// Stores an agreement step for the current item; a step of 1..4 also drops the item's distress
// answer, which means nothing below 5. Nothing is stored on the notice page.
void RecordAgreement(Administration& administration, int step);

// Stores a distress step for the current item; nothing is stored on the notice page.
void RecordDistress(Administration& administration, int step);

// Moves one item on or back, staying within the notice page and the last item.
void MoveForward(Administration& administration);
void MoveBack(Administration& administration);

} // namespace selvo
