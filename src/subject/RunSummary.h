#pragma once
// What the operator is told once a processing run has written a subject's files.
#include "shell/TextFile.h"

#include <string>
#include <vector>

namespace selvo {

// The folder, each file written, and which of them replaced a file of the same name.
std::string WrittenFilesMessage(const std::string& folder, const std::vector<CommittedFile>& files);

} // namespace selvo
