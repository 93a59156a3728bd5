// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/Answering.h"

#include "questionnaire/content/Wording.h"
#include "text/NumberText.h"

namespace selvo {
namespace {

std::string caption(int step, std::string_view label) {
    return "(" + numberText(step) + " ) " + std::string(label);
}

} // namespace

std::string AgreementCaption(int step) {
    return caption(step, questionnaire::AgreementLabel(step));
}

std::string DistressCaption(int step) {
    return caption(step, questionnaire::DistressLabel(step));
}

std::string ProgressText(const Administration& administration) {
    return numberText(administration.currentItem) + " di " + numberText(questionnaire::kItemCount);
}

void RecordAgreement(Administration& administration, int step) {
    const int item = administration.currentItem;
    if (item == 0) {
        return;
    }
    administration.answers.agreement[item] = static_cast<Integer>(step);
    if (!AsksDistress(step)) {
        administration.answers.distress[item] = 0;
    }
}

void RecordDistress(Administration& administration, int step) {
    const int item = administration.currentItem;
    if (item != 0) {
        administration.answers.distress[item] = static_cast<Integer>(step);
    }
}

void MoveForward(Administration& administration) {
    if (administration.currentItem < questionnaire::kItemCount) {
        ++administration.currentItem;
    }
}

void MoveBack(Administration& administration) {
    if (administration.currentItem > 0) {
        --administration.currentItem;
    }
}

} // namespace selvo
