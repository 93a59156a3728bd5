// SPDX-License-Identifier: GPL-3.0-or-later
#include "administration/RecoveryWriter.h"

#include <utility>

namespace selvo {

RecoveryWriter::RecoveryWriter(std::function<void()> outcomeReady)
    : m_outcomeReady(std::move(outcomeReady)), m_thread([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void RecoveryWriter::save(PendingFile file) {
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(file);
    }
    m_changed.notify_all();
}

void RecoveryWriter::cancel() {
    std::unique_lock lock(m_mutex);
    m_waiting.reset();
    m_changed.wait(lock, [this] { return !m_writing; });
    m_outcomes.clear();
}

void RecoveryWriter::waitUntilIdle() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_writing && !m_waiting; });
}

std::vector<std::optional<FileError>> RecoveryWriter::takeOutcomes() {
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_outcomes, {});
}

void RecoveryWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_waiting || m_ending; });
        if (!m_waiting) {
            return; // ending, with everything written
        }
        const PendingFile file = std::move(*m_waiting);
        m_waiting.reset();
        m_writing = true;
        lock.unlock();
        std::optional<FileError> outcome = saveFileAtomically(file.path, file.bytes, file.privacy);
        lock.lock();
        m_writing = false;
        m_outcomes.push_back(std::move(outcome));
        m_changed.notify_all();
        lock.unlock();
        m_outcomeReady();
        lock.lock();
    }
}

} // namespace selvo
