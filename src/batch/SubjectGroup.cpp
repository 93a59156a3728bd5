// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/SubjectGroup.h"

#include "processing/ProcessData.h"

#include <utility>

namespace selvo {

SubjectGroup::SubjectGroup(std::chrono::milliseconds patience, Busy busy,
                           std::function<bool()> stop, Done done)
    : m_patience(patience), m_busy(std::move(busy)), m_stop(std::move(stop)),
      m_done(std::move(done)), m_filling(fresh()) {}

SubjectGroup::~SubjectGroup() {
    if (m_results.valid()) {
        m_results.wait();
    }
}

// The committing thread never writes to the run's output: a folder it waits for is noted,
// and the run's thread says so.
SubjectGroup::Group SubjectGroup::fresh() {
    FolderWait wait{m_patience,
                    [this](const std::string& folder) {
                        const std::lock_guard<std::mutex> hold(m_busyMutex);
                        m_busyFolders.push_back(folder);
                        return true;
                    },
                    m_stop};
    return {std::make_unique<CommitGroup>(std::move(wait)), {}};
}

void SubjectGroup::add(WaitingSubject subject, const std::vector<PendingFile>& files) {
    m_filling.commits->add(files);
    m_filling.waiting.push_back(std::move(subject));
    tellBusyFolders();
    if (m_filling.commits->full()) {
        tellCommitted();
        m_committing = std::exchange(m_filling, fresh());
        m_results = std::async(std::launch::async, [commits = m_committing.commits.get()] {
            return commits->commit();
        });
    }
}

void SubjectGroup::finish() {
    tellCommitted();
    m_committing = std::exchange(m_filling, fresh());
    m_results = std::async(std::launch::async,
                           [commits = m_committing.commits.get()] { return commits->commit(); });
    tellCommitted();
}

// Waits for the group being committed, if any, and tells of each of its subjects.
void SubjectGroup::tellCommitted() {
    if (!m_results.valid()) {
        return;
    }
    while (m_results.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout) {
        tellBusyFolders();
    }
    std::vector<CommitResult> results = m_results.get();
    tellBusyFolders();
    for (std::size_t i = 0; i < m_committing.waiting.size(); ++i) {
        NameFileAsWritten(results[i], m_committing.waiting[i].folder);
        m_done(m_committing.waiting[i], results[i].error);
    }
    m_committing = {};
}

void SubjectGroup::tellBusyFolders() {
    std::vector<std::string> folders;
    {
        const std::lock_guard<std::mutex> hold(m_busyMutex);
        folders.swap(m_busyFolders);
    }
    for (const std::string& folder : folders) {
        m_busy(folder);
    }
}

} // namespace selvo
