// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A subject processed again under a corrected surname or name gets a new set of files; the
// set under the old name stays in the folder, and a later batch over that folder would count
// the subject twice. These find that older set, so that the operator can be asked about it.
#include "platform/CommitFileSet.h"
#include "platform/Paths.h"
#include "questionnaire/Subject.h"

#include <optional>
#include <string>
#include <vector>

namespace selvo {

// A data file and the surname and name of the set it holds. The identity tells the file from
// another that takes its path later (a set written anew is a new file).
struct StoredSet {
    std::string dataFile; // absolute
    FileIdentity identity;
    std::string surname, name;
};

// The set the data file at `dataFile` holds, under the subject's surname and name; nothing
// when the file is not there to be identified.
std::optional<StoredSet> StoredSetAt(const std::string& dataFile, const SubjectRecord& subject);

// What a run that has just written `written` into `folder` (absolute), under the subject's
// surname and name, left of `older`: the older data file, when it is still the same file and
// in that folder, then the report and command file named after the older surname and name,
// those that are there. Nothing when the run kept the surname and name, or when the older data
// file is gone. Only plain files of this folder, and never a file just written (on Windows a
// name that differs only in case is the same file). Paths are absolute.
std::vector<std::string> StaleSetFiles(const StoredSet& older, const SubjectRecord& subject,
                                       const std::string& folder,
                                       const std::vector<CommittedFile>& written);

} // namespace selvo
