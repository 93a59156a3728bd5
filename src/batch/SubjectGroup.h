// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The subjects of a selvo-batch run whose files are committed together, a group at a time: a
// subject is told written, or failed and why, only once its group has been committed. A full
// group is committed on a thread of its own while the next one is written, so the run waits
// for the disk only when the disk is the slower of the two.
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace selvo {

// What the run says of a subject once its files are committed, and puts in the dataset.
struct WaitingSubject {
    std::string file;   // the data file as given
    std::string folder; // where its files go
    SubjectRecord subject;
    AnswerSet answers;
    Scores scores;
    std::vector<int> missing; // items it left unanswered
    std::size_t input = 0;    // its place among the run's inputs
};

class SubjectGroup {
public:
    // Called on the run's thread for each subject once its group is committed, in the order
    // added, with the reason when its files were not written.
    using Done = std::function<void(const WaitingSubject&, const std::optional<FileError>&)>;
    // Called on the run's thread when a commit has waited `patience` for a folder another run
    // is writing into; the commit goes on waiting.
    using Busy = std::function<void(const std::string& folder)>;

    // `stop` tells a commit waiting for a busy folder to give up: the run is ending.
    SubjectGroup(std::chrono::milliseconds patience, Busy busy, std::function<bool()> stop,
                 Done done);
    SubjectGroup(const SubjectGroup&) = delete;
    SubjectGroup& operator=(const SubjectGroup&) = delete;
    ~SubjectGroup(); // waits for a commit still running

    // Writes the subject's files beside their targets; once the group is full, tells of the
    // group committed before and starts committing this one.
    void add(WaitingSubject subject, const std::vector<PendingFile>& files);
    // Commits the subjects still waiting and tells of every one.
    void finish();

private:
    struct Group {
        std::unique_ptr<CommitGroup> commits;
        std::vector<WaitingSubject> waiting;
    };
    Group fresh();
    void tellCommitted();
    void tellBusyFolders();

    std::chrono::milliseconds m_patience;
    Busy m_busy;
    std::function<bool()> m_stop;
    Done m_done;
    Group m_filling;
    Group m_committing;
    std::future<std::vector<CommitResult>> m_results;
    std::mutex m_busyMutex;
    std::vector<std::string> m_busyFolders; // told by the committing thread, shown by the run's
};

} // namespace selvo
