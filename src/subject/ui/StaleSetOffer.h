// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace selvo {
struct StoredSet;
}

// The success box of a run that left an older set of the subject in the folder: `written`
// (what the run wrote) followed by the older files and the question whether to move them to
// the system's trash, "No" the default. On "Sì" each is moved and the operator told what
// moved and what stayed, and why.
void offerStaleSetToTrash(QWidget* owner, const QString& written, const selvo::StoredSet& older,
                          const std::vector<std::string>& files);
