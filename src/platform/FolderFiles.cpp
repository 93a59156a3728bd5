// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/FolderFiles.h"

#include "platform/Paths.h"
#include "platform/Platform.h"

#include <cerrno>
#include <filesystem>

namespace selvo {

std::optional<FileError> removeFileIfPresent(const std::string& path) {
    // Asked of the removal itself: a folder that cannot be searched hides its files from a look
    // first, and the file would be reported gone while it stays.
    if (const int error = platform::removeFile(path); error != 0 && error != ENOENT) {
        return FileError::ofErrno(path, error);
    }
    return std::nullopt;
}

std::optional<FileError> renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (const int error = platform::renameNoReplace(from, to); error != 0) {
        const std::string reason =
            error == EEXIST ? "esiste già un file con il nuovo nome." : describeErrno(error);
        return FileError{from, reason, FileAccess::Write, absolutePath(from), error};
    }
    platform::flushFolder(platform::folderOf(to));
    return std::nullopt;
}

std::optional<FileError> createPrivateFolder(const std::string& folder) {
    const auto fail = [&folder](std::string reason, int cause) {
        return FileError{folder, std::move(reason), FileAccess::Write, absolutePath(folder), cause};
    };
    // "a/b/" would name the folder a link points to, not the link.
    std::string own = folder;
    while (own.size() > 1 && platform::isSeparator(own.back())) {
        own.pop_back();
    }
    const std::filesystem::path above = pathFromUtf8(own).parent_path();
    std::error_code error;
    if (!above.empty()) {
        std::filesystem::create_directories(above, error);
    }
    if (error) {
        return fail(describeErrno(error.value()), error.value());
    }
    if (const int made = platform::makePrivateFolder(own); made != 0) {
        return fail(made == ENOTDIR ? "il nome indica un file, non una cartella."
                                    : describeErrno(made),
                    made);
    }
    return std::nullopt;
}

std::optional<FileError> checkFolderWritable(const std::string& folder) {
    // Only the folder of the target counts: the probe gets a temporary name of its own.
    const platform::Temporary probe = platform::writeTemporary(folder + "/probe", {});
    if (probe.error != 0) {
        return FileError::ofErrno(folder, probe.error);
    }
    platform::removeFile(probe.path);
    return std::nullopt;
}

void removeLeftTemporaries(const std::string& folder) {
    for (const std::string& path : platform::temporariesIn(folder)) {
        platform::removeFile(path);
    }
}

} // namespace selvo
