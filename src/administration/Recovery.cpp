// SPDX-License-Identifier: GPL-3.0-or-later

#include "administration/Recovery.h"

#include "administration/Completion.h"
#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"
#include "platform/FolderFiles.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"

namespace selvo {
namespace {

constexpr const char* kLockFileName = "SELVO_somministrazione_in_corso.lock";
constexpr std::size_t kMaxRecoveryBytes = 64 * 1024;

// "dd/mm/yyyy hh:mm:ss", as the program writes times.
bool looksLikeTime(std::string_view text) {
    constexpr std::string_view shape = "00/00/0000 00:00:00";
    if (text.size() != shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ComposeRecoveryFile(const AnswerSet& answers, const std::string& startedAt) {
    SubjectRecord kept; // of the subject record, only the empty fields and the "0" codes
    kept.sex = "0";
    kept.marital = "0";
    kept.education = "0";
    kept.notes = startedAt;
    return ComposeDataFile(kept, answers);
}

RecoveryParse parseRecoveryFile(std::string_view bytes) {
    RecoveryParse parse;
    DataFileParse read = parseDataFile(bytes);
    if (!read.record) {
        parse.fault = std::move(read.fault);
        return parse;
    }
    const SubjectRecord& subject = read.record->subject;
    // Anything naming a subject means the file is not one the program wrote for this purpose.
    const bool anonymous = subject.card == 0 && subject.name.empty() && subject.surname.empty() &&
                           subject.age.empty() && subject.sex == "0" && subject.marital == "0" &&
                           subject.education == "0";
    if (!anonymous || !looksLikeTime(subject.notes)) {
        parse.fault = "non è un file di ripresa scritto dal programma.";
        return parse;
    }
    InterruptedAdministration administration;
    administration.answers = read.record->answers;
    administration.startedAt = subject.notes;
    administration.answeredItems = AnsweredItems(administration.answers);
    parse.administration = std::move(administration);
    return parse;
}

void NoteAnswerGiven(Administration& administration, const DateTimeSource& now) {
    if (administration.startedAt.empty()) {
        administration.startedAt = now();
    }
}

RecoveryStore::Opening RecoveryStore::open(const std::string& folder) {
    Opening opening;
    if (auto error = createPrivateFolder(folder)) {
        opening.error = std::move(error);
        return opening;
    }
    ExclusiveLock::Attempt attempt = ExclusiveLock::take(folder + "/" + kLockFileName);
    if (attempt.heldElsewhere) {
        opening.heldByAnotherCopy = true;
        return opening;
    }
    // Without the lock nothing is written, so no second copy can be harmed by reading.
    std::optional<FileError> unwritable =
        attempt.error ? std::move(attempt.error) : checkFolderWritable(folder);
    opening.store = RecoveryStore(folder, std::move(attempt.lock), std::move(unwritable));
    return opening;
}

std::string RecoveryStore::pathOf(const std::string& name) const {
    return m_folder + "/" + name;
}

std::string RecoveryStore::filePath() const {
    return pathOf(kRecoveryFileName);
}

RecoveryFinding RecoveryStore::look() {
    RecoveryFinding finding = lookAtFile();
    // Read first: whatever a killed save left unfinished goes only once the file is known.
    if (!m_unwritable) {
        removeLeftTemporaries(m_folder);
    }
    return finding;
}

RecoveryFinding RecoveryStore::lookAtFile() {
    RecoveryFinding finding;
    const std::string path = filePath();
    if (m_frozen || !pathExists(path)) {
        return finding;
    }
    const FileResult<std::string> read = readWholeFile(path, kMaxRecoveryBytes);
    if (!read.ok()) {
        return setAside(read.error().reason);
    }
    RecoveryParse parse = parseRecoveryFile(read.value());
    if (!parse.administration) {
        return setAside(std::move(parse.fault));
    }
    if (parse.administration->answeredItems == 0 &&
        parse.administration->answers.agreement == AnswerTable{}) {
        discard(); // nothing was answered: nothing to offer
        return finding;
    }
    finding.administration = std::move(parse.administration);
    return finding;
}

// Never deleted: the first free numbered name keeps it for whoever wants to look at it.
RecoveryFinding RecoveryStore::setAside(std::string fault) {
    RecoveryFinding finding;
    finding.unreadable = std::move(fault);
    for (int number = 1; number < 1000; ++number) {
        const std::string aside =
            pathOf("SELVO_somministrazione_illeggibile_" + std::to_string(number) + ".csv");
        if (pathExists(aside)) {
            continue;
        }
        if (auto error = renameWithoutReplacing(filePath(), aside)) {
            finding.moveError = std::move(error);
            break;
        }
        finding.keptAs = aside;
        return finding;
    }
    if (!finding.moveError) {
        finding.moveError = FileError{filePath(), "troppi file di ripresa già messi da parte."};
    }
    m_frozen = true;
    return finding;
}

std::optional<FileError> RecoveryStore::save(const Administration& administration) {
    const FileResult<PendingFile> file = fileToSave(administration);
    if (!file.ok()) {
        return file.error();
    }
    return saveFileAtomically(file.value().path, file.value().bytes, file.value().privacy);
}

FileResult<PendingFile> RecoveryStore::fileToSave(const Administration& administration) const {
    if (m_frozen) {
        return FileError{filePath(), "il file di ripresa precedente non è leggibile e non è stato "
                                     "possibile metterlo da parte."};
    }
    if (m_unwritable) {
        return FileError{filePath(), m_unwritable->reason, FileAccess::Write,
                         absolutePath(filePath())};
    }
    return PendingFile{filePath(),
                       ComposeRecoveryFile(administration.answers, administration.startedAt),
                       Privacy::OwnerOnly};
}

std::optional<FileError> RecoveryStore::discard() {
    if (m_frozen) {
        return std::nullopt;
    }
    return removeFileIfPresent(filePath());
}

} // namespace selvo
