// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DiskWrites.h"

#include "platform/Platform.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace selvo {

namespace {

// selvo-batch commits one group on a thread of its own while it writes the next.
std::atomic<std::uint64_t> g_committedSets = 0;
std::atomic<std::uint64_t> g_fileFlushes = 0;
std::atomic<std::uint64_t> g_folderFlushes = 0;
std::atomic<std::uint64_t> g_fileSystemFlushes = 0;
std::atomic<std::chrono::milliseconds::rep> g_flushDelayMs = 0;

// Every flush is counted right after it: the slow disk a test asks for is paid there too.
void waitAsASlowDisk() {
    if (const auto delay = g_flushDelayMs.load(); delay > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    }
}

} // namespace

void platform::countFileFlush() {
    ++g_fileFlushes;
    waitAsASlowDisk();
}

void platform::countFolderFlush() {
    ++g_folderFlushes;
    waitAsASlowDisk();
}

void platform::countFileSystemFlush() {
    ++g_fileSystemFlushes;
    waitAsASlowDisk();
}

void delayFlushesForTesting(std::chrono::milliseconds delay) {
    g_flushDelayMs = delay.count();
}

void platform::countCommittedSet() {
    ++g_committedSets;
}

DiskWriteCounts diskWriteCounts() {
    return {g_committedSets, g_fileFlushes, g_folderFlushes, g_fileSystemFlushes};
}

} // namespace selvo
