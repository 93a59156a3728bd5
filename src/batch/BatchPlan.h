// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The first half of a selvo-batch run: every input read and every output planned before
// anything is written. Files are told apart by their identity on disk, never by spelling.
#include "batch/BatchRun.h"
#include "datafiles/DataFileRecord.h"
#include "platform/FileNames.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace selvo {

struct PlannedInput {
    std::string file;                   // as given on the command line
    DataFileContent content;            // what it holds, with what the reader noted
    std::filesystem::path folder;       // where its three files go
    std::optional<std::string> refusal; // why nothing is written for it
    // The same file, given earlier in the run under this spelling: it is processed there.
    std::optional<std::string> sameFileAs;
};

// Reads every input and refuses, naming the others, those that cannot be read or completed
// and those whose outputs would be another input's outputs or would replace another input
// of the run (an input rewritten as its own data file is fine). A file given again is
// planned once, where it is first given. Output names are compared as their folder compares
// them. The output folder, when given, must exist already.
std::vector<PlannedInput> PlanBatch(const BatchOptions& options, FolderNames& names);

// The names (without folder) of the data files of the subjects the run will process.
std::set<std::string> DataFileNames(const std::vector<PlannedInput>& plan);

// A file the dataset writes: its folder (absolute), its name there, how messages name it and
// what to do when it is taken ("scegliere un altro nome con --dataset").
struct DatasetOutput {
    std::filesystem::path folder;
    std::string name;
    std::string shown;
    std::string remedy;
};

// Why the run's dataset files (DatasetFileNames, the key) may not be written: one would
// replace an input of the run (refused or not), is one of the files a subject writes there,
// or is another of them. Names are compared as their folder compares them. Nothing when they
// may.
std::optional<std::string> DatasetConflict(const std::vector<PlannedInput>& plan,
                                           const std::vector<DatasetOutput>& files,
                                           FolderNames& names);

// Why the dataset's files (DatasetFileNames), and with `withKey` NAME_chiave.csv, cannot be
// created in `folder`: a name too long for its file
// system. Nothing when they can.
std::optional<std::string> DatasetNameTooLong(const std::filesystem::path& folder,
                                              const std::string& name, bool withKey = false);

} // namespace selvo
