// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the chart may be saved: as a PNG picture or a PDF document, and never in place of a
// file of another kind (the subject's data file or report, say), whatever name is typed in the
// save dialog.
#include "profile/ui/ProfileChart.h"

#include <QString>

// A name chosen in the save dialog, made into the file the chart is written to.
struct ChartTarget {
    QString path; // ending in .png or .pdf
    ChartFormat format = ChartFormat::Png;
    QString refusal;       // why the chart may not be written there; empty when it may
    bool replaces = false; // a picture or a PDF of that name is there already
};

// `chosen` as typed, `type` the kind of file chosen in the dialog. A name without an extension
// takes the type's; .png or .pdf decides the format whatever the type; any other extension is
// refused, and so is an existing file (or folder) that is not a PNG picture or a PDF document.
ChartTarget ChartTargetOf(const QString& chosen, ChartFormat type);
