// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The administration in progress, kept on disk answer by answer so that a crash, a power cut or
// a window closed by mistake does not make the subject start again. The file is a data file
// holding the answers and, in the notes field, the time the administration started; it holds
// nothing that names the subject, since those fields are typed only at the end.
#include "administration/Administration.h"
#include "platform/Clock.h"
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Locks.h"

#include <optional>
#include <string>
#include <string_view>

namespace selvo {

inline constexpr const char* kRecoveryFileName = "SELVO_somministrazione_in_corso.csv";

struct InterruptedAdministration {
    AnswerSet answers;
    std::string startedAt; // "dd/mm/yyyy hh:mm:ss"
    int answeredItems = 0; // items with every answer they need
};

// The recovery file's bytes for the answers of an administration started at `startedAt`.
std::string ComposeRecoveryFile(const AnswerSet& answers, const std::string& startedAt);

struct RecoveryParse {
    std::optional<InterruptedAdministration> administration;
    std::string fault; // Italian reason, set when there is no administration
};
RecoveryParse parseRecoveryFile(std::string_view bytes);

// An answer has just been given: the first one marks when the administration started.
void NoteAnswerGiven(Administration& administration, const DateTimeSource& now);

// What start-up finds in the folder.
struct RecoveryFinding {
    std::optional<InterruptedAdministration> administration;
    // A file that cannot be read: why, and the name it is kept under from now on. When it could
    // not be moved aside, `keptAs` is empty and `moveError` says why.
    std::optional<std::string> unreadable;
    std::string keptAs;
    std::optional<FileError> moveError;
};

// The one recovery file of this user, in the program's data folder, which only its owner may
// read. Only the copy of the program holding the folder's lock reads, writes or removes it.
class RecoveryStore {
public:
    struct Opening;
    // Creates the folder when missing and takes its lock. A folder that cannot be written
    // still gives a store, to read from only: an administration left there is never hidden.
    static Opening open(const std::string& folder);

    // The recovery file, then the temporaries a killed save left behind are removed.
    RecoveryFinding look();
    std::optional<FileError> save(const Administration& administration);
    // What a save of the administration writes, for saving it elsewhere than on this thread; or why
    // nothing can be saved here.
    FileResult<PendingFile> fileToSave(const Administration& administration) const;
    std::optional<FileError> discard();

    std::string filePath() const;
    const std::string& folder() const { return m_folder; }
    // Why nothing can be saved in the folder; nothing when it can.
    const std::optional<FileError>& unwritable() const { return m_unwritable; }

private:
    RecoveryStore(std::string folder, ExclusiveLock lock, std::optional<FileError> unwritable)
        : m_folder(std::move(folder)), m_lock(std::move(lock)),
          m_unwritable(std::move(unwritable)) {}
    std::string pathOf(const std::string& name) const;
    RecoveryFinding lookAtFile();
    RecoveryFinding setAside(std::string fault);

    std::string m_folder;
    ExclusiveLock m_lock;
    std::optional<FileError> m_unwritable;
    // An unreadable file that could not be moved aside is left exactly as it is.
    bool m_frozen = false;
};

struct RecoveryStore::Opening {
    std::optional<RecoveryStore> store;
    bool heldByAnotherCopy = false;
    std::optional<FileError> error; // the folder cannot be made
};

} // namespace selvo
