// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Salva elenco...": the table as a CSV file a spreadsheet opens as it is shown.
#include "studio/StudioRows.h"

#include <optional>
#include <string>
#include <vector>

// UTF-8 with a byte-order mark (so a spreadsheet reads the accents), CR LF line ends, every
// field quoted and guarded against formulas: a name or a reason comes from a data file.
std::string ComposeStudioList(const std::vector<StudioRow>& rows);

// Writes it atomically to `path`; the Italian reason when it cannot be written.
std::optional<std::string> SaveStudioList(const std::string& path,
                                          const std::vector<StudioRow>& rows);
