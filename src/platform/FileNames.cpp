// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FileNames.h"

#include "platform/Platform.h"

namespace selvo {

std::string fileNameKey(const std::string& name) {
    return platform::foldsCaseByDefault() ? platform::foldCase(name) : name;
}

FolderNames::FolderNames() : m_probe(platform::probeFoldsCase) {}

bool FolderNames::foldsCase(const std::string& folder) {
    const auto known = m_folds.find(folder);
    if (known != m_folds.end()) {
        return known->second;
    }
    const bool folds = m_probe(folder).value_or(platform::foldsCaseByDefault());
    m_folds.emplace(folder, folds);
    return folds;
}

std::string FolderNames::key(const std::string& folder, const std::string& name) {
    return foldsCase(folder) ? platform::foldCase(name) : name;
}

FileNameLimit fileNameLimit(const std::string& folder) {
    const platform::NameLimit limit = platform::nameLimit(folder);
    return {limit.length, limit.unit};
}

bool fileNameFits(const std::string& folder, const std::string& name) {
    return platform::nameFits(folder, name);
}

} // namespace selvo
