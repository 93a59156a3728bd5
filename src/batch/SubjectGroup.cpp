#include "batch/SubjectGroup.h"

#include "processing/ProcessData.h"

#include <utility>

namespace selvo {

SubjectGroup::SubjectGroup(std::size_t size, FolderWait wait, Done done)
    : m_size(size), m_commits(std::move(wait)), m_done(std::move(done)) {}

void SubjectGroup::add(WaitingSubject subject, const std::vector<PendingFile>& files) {
    m_commits.add(files);
    m_waiting.push_back(std::move(subject));
    if (m_waiting.size() >= m_size) {
        finish();
    }
}

void SubjectGroup::finish() {
    std::vector<CommitResult> results = m_commits.commit();
    for (std::size_t i = 0; i < m_waiting.size(); ++i) {
        NameFileAsWritten(results[i], m_waiting[i].folder);
        m_done(m_waiting[i], results[i].error);
    }
    m_waiting.clear();
}

} // namespace selvo
