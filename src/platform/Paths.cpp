// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Paths.h"

#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "platform/Platform.h"

#include <chrono>
#include <ctime>
#include <filesystem>

namespace selvo {

std::string absolutePath(const std::string& path) {
    return platform::absolute(path);
}

std::string currentFolder() {
    std::string folder = platform::absolute(".");
    // POSIX puts the folder in front of "." as it is; Windows resolves it.
    if (folder.size() >= 2 && folder.back() == '.' &&
        platform::isSeparator(folder[folder.size() - 2])) {
        folder.pop_back();
        if (folder.size() > 1) {
            folder.pop_back();
        }
    }
    return folder;
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
    return platform::joinPath(folder, name);
}

std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    return platform::identity(path);
}

std::optional<std::string> whereLinksLead(const std::string& path) {
    constexpr int kMostLinks = 40; // as many as the system itself follows
    std::filesystem::path at = pathFromUtf8(path);
    for (int links = 0; links <= kMostLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(at, error))) {
            return utf8Of(at);
        }
        const std::filesystem::path target = std::filesystem::read_symlink(at, error);
        if (error) {
            return utf8Of(at);
        }
        // Not normalised: ".." after a folder that is itself a link is the system's to resolve.
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return std::nullopt;
}

bool pathExists(const std::string& path) {
    return platform::kindOf(path) != platform::Kind::None;
}

bool folderExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(pathFromUtf8(path), ignored);
}

bool isRegularFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(pathFromUtf8(path), ignored);
}

std::optional<std::string> modifiedDateText(const std::string& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(pathFromUtf8(path), error);
    if (error) {
        return std::nullopt;
    }
    const auto since1970 = std::chrono::file_clock::to_sys(written);
    return dateMinuteText(localTime(std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(since1970))));
}

} // namespace selvo
