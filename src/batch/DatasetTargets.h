// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a run's dataset and key of codes go, settled before anything is read: the dataset's
// files in the output folder (the current one without --out), the key beside them or where
// --chiave says; each written where a link of its name leads, the link kept.
#include "batch/BatchDataset.h"
#include "batch/BatchRun.h"

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace selvo {

struct DatasetTargets {
    std::filesystem::path folder;      // the dataset's folder, absolute
    std::optional<DatasetKey> key;     // with --pseudonimi: where the key goes, no codes read yet
    std::optional<DatasetPaths> paths; // with --dataset
};

// Why they cannot be used: what the message names ("--dataset studio", "chiave dei codici
// k.csv") and the reason.
struct TargetFault {
    std::string what;
    std::string why;
};

// A name too long for the folder, a key in a folder that does not exist, a link that leads
// back to itself: refused before anything is written.
std::variant<DatasetTargets, TargetFault> PlanDatasetTargets(const BatchOptions& options);

} // namespace selvo
