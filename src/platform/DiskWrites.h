// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the program asks of the disk, counted for the tests and benchmarks of a save's cost.
#include <chrono>
#include <cstdint>

namespace selvo {

// What this process has asked of the disk so far, for the tests and benchmarks that measure
// what a save costs: sets committed, and flushes that wait for the disk (a file's bytes, a
// folder's entries).
struct DiskWriteCounts {
    std::uint64_t committedSets = 0;
    std::uint64_t fileFlushes = 0;
    std::uint64_t folderFlushes = 0;
    std::uint64_t fileSystemFlushes = 0; // a whole file system asked to write out (Linux)
};
DiskWriteCounts diskWriteCounts();

// For the tests and benchmarks of a slow disk (a USB stick, a busy network folder): from now on
// every flush that waits for the disk takes `delay` longer. Zero, as at start, adds nothing.
void delayFlushesForTesting(std::chrono::milliseconds delay);

} // namespace selvo
