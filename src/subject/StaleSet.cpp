// SPDX-License-Identifier: GPL-3.0-or-later

#include "subject/StaleSet.h"

#include "questionnaire/SubjectFiles.h"

#include <algorithm>
#include <filesystem>

namespace selvo {
namespace {

// A link or a folder is never taken for a file of the set.
bool isPlainFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(pathFromUtf8(path), error).type() ==
           std::filesystem::file_type::regular;
}

std::string folderOf(const std::string& path) {
    const std::string folder = utf8Of(pathFromUtf8(path).parent_path());
    return folder.empty() ? "." : folder;
}

} // namespace

std::optional<StoredSet> StoredSetAt(const std::string& dataFile, const SubjectRecord& subject) {
    const std::optional<FileIdentity> identity = fileIdentity(dataFile);
    if (!identity) {
        return std::nullopt;
    }
    return StoredSet{absolutePath(dataFile), *identity, subject.surname, subject.name};
}

std::vector<std::string> StaleSetFiles(const StoredSet& older, const SubjectRecord& subject,
                                       const std::string& runFolder,
                                       const std::vector<CommittedFile>& written) {
    if (older.surname == subject.surname && older.name == subject.name) {
        return {};
    }
    const std::optional<FileIdentity> folder = fileIdentity(runFolder);
    std::vector<std::optional<FileIdentity>> writtenFiles;
    for (const CommittedFile& file : written) {
        writtenFiles.push_back(fileIdentity(file.path));
    }
    const auto leftHere = [&](const std::string& path) {
        const std::optional<FileIdentity> identity = fileIdentity(path);
        return folder && identity && isPlainFile(path) && fileIdentity(folderOf(path)) == folder &&
               std::find(writtenFiles.begin(), writtenFiles.end(), identity) == writtenFiles.end();
    };
    if (fileIdentity(older.dataFile) != older.identity || !leftHere(older.dataFile)) {
        return {};
    }
    std::vector<std::string> files{older.dataFile};
    SubjectRecord named;
    named.surname = older.surname;
    named.name = older.name;
    for (const std::string& name : {SubjectReportFileName(named), SubjectCommandFileName(named)}) {
        const std::string path = pathInFolder(runFolder, name);
        if (leftHere(path)) {
            files.push_back(path);
        }
    }
    return files;
}

} // namespace selvo
