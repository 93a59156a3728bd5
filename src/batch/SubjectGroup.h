#pragma once
// The subjects of a selvo-batch run whose files are committed together, a group at a time: a
// subject is told written, or failed and why, only once its group has been committed.
#include "platform/TextFile.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <cstddef>
#include <functional>
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
};

class SubjectGroup {
public:
    // Called for each subject once its group is committed, in the order added, with the
    // reason when its files were not written.
    using Done = std::function<void(const WaitingSubject&, const std::optional<FileError>&)>;

    SubjectGroup(std::size_t size, FolderWait wait, Done done);

    // Writes the subject's files beside their targets, committing the group once it is full.
    void add(WaitingSubject subject, const std::vector<PendingFile>& files);
    // Commits the subjects still waiting.
    void finish();

private:
    std::size_t m_size;
    CommitGroup m_commits;
    std::vector<WaitingSubject> m_waiting;
    Done m_done;
};

} // namespace selvo
