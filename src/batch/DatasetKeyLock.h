// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run at a time for a key of codes: a run holds its key from the moment it reads it until
// it has written it, or two runs started together would give the same codes to different
// subjects and the key would keep only the run that wrote last.
#include "platform/Locks.h"

#include <chrono>
#include <functional>
#include <string>

namespace selvo {

struct KeyWait {
    std::chrono::milliseconds patience;
    std::function<void()> sayWaiting; // once the patience has run out; the wait goes on
    std::function<bool()> stop;       // the run was asked to end
};

struct KeyLock {
    ExclusiveLock lock; // not held where no lock file can be made: the key cannot be written
                        // there either, which its commit says
    bool stopped = false;
};

// Locks the key at `key` (a path where no link leads further) on a hidden file beside it,
// ".NAME.lock", removed when the lock is let go, waiting as long as another run holds it.
KeyLock LockDatasetKey(const std::string& key, const KeyWait& wait);

} // namespace selvo
