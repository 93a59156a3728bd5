// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/DatasetKeyLock.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace selvo {
namespace {

// Beside the key, so that every run that names it, through a link or not, locks one file. A
// name too long for the folder gives way to one lock for all its keys.
std::string lockFileFor(const std::string& key) {
    const fs::path path = pathFromUtf8(key);
    const std::string folder = utf8Of(path.parent_path());
    std::string name = "." + utf8Of(path.filename()) + ".lock";
    if (!fileNameFits(folder, name)) {
        name = ".selvo-chiave.lock";
    }
    return utf8Of(path.parent_path() / pathFromUtf8(name));
}

} // namespace

KeyLock LockDatasetKey(const std::string& key, const KeyWait& wait) {
    const std::string lockFile = lockFileFor(key);
    const auto started = std::chrono::steady_clock::now();
    bool said = false;
    for (int refused = 0;;) {
        ExclusiveLock::Attempt attempt =
            ExclusiveLock::take(lockFile, ExclusiveLock::LockFile::Removed);
        // A lock file that cannot be made may be on its way out (Windows refuses it while the
        // last holder's copy is being deleted): it is tried again for a moment.
        constexpr int kMostRefusals = 50;
        if (attempt.lock.held() || (attempt.error && ++refused > kMostRefusals)) {
            return {std::move(attempt.lock), false};
        }
        if (wait.stop && wait.stop()) {
            return {{}, true};
        }
        if (!said && std::chrono::steady_clock::now() - started >= wait.patience) {
            said = true;
            if (wait.sayWaiting) {
                wait.sayWaiting();
            }
        }
        // The other run holds it for the whole of its run: seconds, or minutes.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace selvo
