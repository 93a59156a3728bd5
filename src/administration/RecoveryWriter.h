// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recovery file saved on a thread of its own, so that the subject never waits for the disk:
// a slow USB stick or a busy network folder holding the user's profile takes its time there,
// not between two items. One thread writes the saves in the order they are given; a save given
// while another is being written waits for it, and replaces any save still waiting, since the
// newest one holds every answer of the older ones.
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace selvo {

class RecoveryWriter {
public:
    // `outcomeReady` is called on the writer's thread after each save; takeOutcomes() then
    // tells how it went.
    explicit RecoveryWriter(std::function<void()> outcomeReady);
    // The save still waiting is written first: ending the program loses no answer.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void save(PendingFile file);

    // Before the file is removed: the save still waiting is dropped and the one being written
    // is waited for, so that none can bring the file back afterwards. Their outcomes go too.
    void cancel();

    // Until every save given so far is on the disk (or has failed).
    void waitUntilIdle();

    // What the saves finished since the last call came to, oldest first: nothing for a save
    // that succeeded, otherwise why it failed.
    std::vector<std::optional<FileError>> takeOutcomes();

private:
    void run();

    std::function<void()> m_outcomeReady;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<PendingFile> m_waiting;
    bool m_writing = false;
    bool m_ending = false;
    std::vector<std::optional<FileError>> m_outcomes;
    std::thread m_thread; // last: it starts once everything it uses is ready
};

} // namespace selvo
