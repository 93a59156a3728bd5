// SPDX-License-Identifier: GPL-3.0-or-later

// The recovery file and its folder, apart from the windows.
#include "administration/Recovery.h"
#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"
#include "state/ProgramState.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <fstream>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using selvo::ProgramState;
using selvo::RecoveryStore;

namespace {

// A subject part-way through: items 1..n answered, item 6 (agreement 6) still lacking its
// distress answer.
ProgramState partWay(int answered) {
    ProgramState state;
    state.administration.answers = testsupport::answersWhere(
        [](int item) { return item % 7 + 1; }, [](int item) { return item % 3 + 1; }, answered);
    state.administration.answers.distress[6] = 0;
    state.administration.startedAt = "08/12/2026 09:15:02";
    return state;
}

std::string recoveryFileOf(const ProgramState& state) {
    return selvo::ComposeRecoveryFile(state.administration.answers, state.administration.startedAt);
}

std::string utf8(const fs::path& path) {
    return selvo::utf8Of(path);
}

TEST(RecoveryFile, HoldsTheAnswersAndStartTimeAndNothingThatNamesTheSubject) {
    ProgramState state = partWay(40);
    state.subject.card = 12;
    state.subject.name = "Niccolò";
    state.subject.surname = "Rossi";
    state.subject.age = "35";
    state.subject.sex = "2";
    state.subject.notes = "seconda visita";
    const std::string bytes = recoveryFileOf(state);
    EXPECT_TRUE(bytes.starts_with("0,\"\",\"\",\"\",\"0\",\"0\",\"0\",\"08/12/2026 09:15:02\","))
        << bytes;
    EXPECT_EQ(bytes.find("Rossi"), std::string::npos);

    // The data-file reader reads it back.
    ASSERT_TRUE(selvo::parseDataFile(bytes).record.has_value());
    const selvo::RecoveryParse parse = selvo::parseRecoveryFile(bytes);
    ASSERT_TRUE(parse.administration) << parse.fault;
    EXPECT_EQ(parse.administration->answers.agreement, state.administration.answers.agreement);
    EXPECT_EQ(parse.administration->answers.distress, state.administration.answers.distress);
    EXPECT_EQ(parse.administration->startedAt, "08/12/2026 09:15:02");
    EXPECT_EQ(parse.administration->answeredItems, 39); // item 6 still needs its distress
}

TEST(RecoveryFile, AFileNamingASubjectOrLackingAStartTimeIsNotOne) {
    ProgramState named = partWay(94);
    named.subject.name = "S01";
    named.subject.surname = "GRP1";
    EXPECT_FALSE(selvo::parseRecoveryFile(
                     selvo::ComposeDataFile(named.subject, named.administration.answers))
                     .administration);

    ProgramState untimed = partWay(10);
    untimed.administration.startedAt = "ieri";
    EXPECT_FALSE(selvo::parseRecoveryFile(recoveryFileOf(untimed)).administration);

    const std::string whole = recoveryFileOf(partWay(10));
    const selvo::RecoveryParse cut = selvo::parseRecoveryFile(whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(cut.administration);
    EXPECT_FALSE(cut.fault.empty());
}

TEST(RecoveryFile, ResumingForgetsTheSubjectBefore) {
    ProgramState state = partWay(94);
    state.subject.name = "Mario";
    state.subject.notes = "note di un altro";
    state.setProcessed = true;
    const ProgramState kept = partWay(20);
    const auto parse = selvo::parseRecoveryFile(recoveryFileOf(kept));
    ASSERT_TRUE(parse.administration);

    selvo::ResumeAdministration(state, *parse.administration);
    EXPECT_EQ(state.administration.answers.agreement, kept.administration.answers.agreement);
    EXPECT_EQ(state.administration.answers.distress, kept.administration.answers.distress);
    EXPECT_EQ(state.administration.startedAt, kept.administration.startedAt);
    EXPECT_TRUE(state.subject.name.empty());
    EXPECT_TRUE(state.subject.notes.empty());
    EXPECT_FALSE(state.setProcessed);
}

TEST(RecoveryFile, TheStartIsTheFirstAnswersTime) {
    ProgramState state;
    int calls = 0;
    const auto clock = [&calls] { return ++calls == 1 ? "first" : "later"; };
    selvo::NoteAnswerGiven(state.administration, clock);
    selvo::NoteAnswerGiven(state.administration, clock);
    EXPECT_EQ(state.administration.startedAt, "first");
    selvo::StartNewSubject(state);
    EXPECT_TRUE(state.administration.startedAt.empty());
}

TEST(RecoveryStore, OneHolderAtATimeAndTheFolderIsMadeWhenMissing) {
    const TempDir dir;
    const std::string folder = utf8(dir.file("dati") / "BrivanSelvo");
    {
        RecoveryStore::Opening first = RecoveryStore::open(folder);
        ASSERT_TRUE(first.store) << (first.error ? first.error->message() : "held");
        const RecoveryStore::Opening second = RecoveryStore::open(folder);
        EXPECT_FALSE(second.store);
        EXPECT_TRUE(second.heldByAnotherCopy);
    }
    EXPECT_TRUE(RecoveryStore::open(folder).store) << "a dropped lock is free again";
}

TEST(RecoveryStore, SavesReadsBackAndDiscards) {
    const TempDir dir;
    RecoveryStore::Opening opening = RecoveryStore::open(utf8(dir.path()));
    ASSERT_TRUE(opening.store);
    RecoveryStore& store = *opening.store;
    EXPECT_FALSE(store.look().administration);
    EXPECT_FALSE(store.discard()) << "nothing to remove is not an error";

    const ProgramState state = partWay(40);
    ASSERT_FALSE(store.save(state.administration));
    const selvo::RecoveryFinding found = store.look();
    ASSERT_TRUE(found.administration);
    EXPECT_EQ(found.administration->answers.agreement, state.administration.answers.agreement);

    EXPECT_FALSE(store.discard());
    EXPECT_FALSE(fs::exists(store.filePath()));
}

TEST(RecoveryStore, AnUnreadableFileGoesUnderTheFirstFreeNameAndNothingIsReplaced) {
    const TempDir dir;
    RecoveryStore::Opening opening = RecoveryStore::open(utf8(dir.path()));
    ASSERT_TRUE(opening.store);
    RecoveryStore& store = *opening.store;
    std::ofstream(dir.file("SELVO_somministrazione_illeggibile_1.csv")) << "older";
    std::ofstream(store.filePath(), std::ios::binary) << "non è un file di ripresa";

    const selvo::RecoveryFinding found = store.look();
    ASSERT_TRUE(found.unreadable);
    EXPECT_FALSE(found.administration);
    EXPECT_EQ(found.keptAs, utf8(dir.path()) + "/SELVO_somministrazione_illeggibile_2.csv");
    EXPECT_EQ(fileBytes(dir.file("SELVO_somministrazione_illeggibile_2.csv")),
              "non è un file di ripresa");
    EXPECT_EQ(fileBytes(dir.file("SELVO_somministrazione_illeggibile_1.csv")), "older");
    EXPECT_FALSE(fs::exists(store.filePath()));
    EXPECT_FALSE(store.look().unreadable) << "reported once";
}

#ifndef _WIN32 // POSIX permissions, links and users
unsigned modeOf(const fs::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(RecoveryStore, TheAnswersAndTheirFolderAreTheOwnersAloneWhateverTheUmask) {
    const TempDir dir;
    const mode_t previous = umask(022);
    RecoveryStore::Opening opening = RecoveryStore::open(utf8(dir.file("share") / "BrivanSelvo"));
    ASSERT_TRUE(opening.store);
    EXPECT_FALSE(opening.store->unwritable());
    ASSERT_FALSE(opening.store->save(partWay(3).administration));
    umask(previous);
    EXPECT_EQ(modeOf(dir.file("share")), 0755u);
    EXPECT_EQ(modeOf(dir.file("share") / "BrivanSelvo"), 0700u);
    EXPECT_EQ(modeOf(opening.store->filePath()), 0600u);
    EXPECT_EQ(modeOf(dir.file("share") / "BrivanSelvo" / "SELVO_somministrazione_in_corso.lock"),
              0600u);
}

TEST(RecoveryStore, ADataFolderThatIsALinkToAFolderIsUsed) {
    const TempDir dir;
    fs::create_directory(dir.file("altrove"));
    fs::create_directory_symlink(dir.file("altrove"), dir.file("BrivanSelvo"));
    RecoveryStore::Opening opening = RecoveryStore::open(utf8(dir.file("BrivanSelvo")));
    ASSERT_TRUE(opening.store) << (opening.error ? opening.error->message() : "held");
    ASSERT_FALSE(opening.store->save(partWay(3).administration));
    EXPECT_TRUE(fs::is_regular_file(dir.file("altrove") / selvo::kRecoveryFileName));
    EXPECT_TRUE(opening.store->look().administration);
}

TEST(RecoveryStore, TemporariesAKilledSaveLeftGoOnceTheFileIsReadAndNothingElse) {
    const TempDir dir;
    RecoveryStore::Opening opening = RecoveryStore::open(utf8(dir.path()));
    ASSERT_TRUE(opening.store);
    ASSERT_FALSE(opening.store->save(partWay(3).administration));
    for (const char* name :
         {".selvo-a1B2c3", ".selvo-ZZZZZZ", ".selvo-a1B2c", ".selvo-a1B2c3d", ".selvo.lock",
          ".selvo-a1_2c3", "SELVO_somministrazione_illeggibile_1.csv", ".selvo-theirs"}) {
        std::ofstream(dir.file(name)) << "x";
    }
    fs::create_directory(dir.file(".selvo-folder"));
    fs::create_symlink(dir.file(".selvo.lock"), dir.file(".selvo-linked"));
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir.file(".selvo-theirs").c_str(), 65534, 65534), 0);
    }

    EXPECT_TRUE(opening.store->look().administration);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> kept{".selvo-a1B2c",
                                  ".selvo-a1B2c3d",
                                  ".selvo-a1_2c3",
                                  ".selvo-folder",
                                  ".selvo-linked",
                                  ".selvo.lock",
                                  "SELVO_somministrazione_illeggibile_1.csv",
                                  "SELVO_somministrazione_in_corso.csv",
                                  "SELVO_somministrazione_in_corso.lock"};
    if (geteuid() == 0) {
        kept.push_back(".selvo-theirs"); // another user's
    }
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names, kept);
}

// A read-only disk refuses every write, the lock file's too; a folder without write
// permission refuses new files only. Either way the answers left there are offered.
TEST(RecoveryStore, AFolderThatCannotBeWrittenStillOffersItsAnswersAndChangesNothing) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    for (const bool lockFileLeft : {true, false}) {
        SCOPED_TRACE(lockFileLeft ? "with the lock file" : "without the lock file");
        const TempDir dir;
        chmod(dir.path().c_str(), 0755);
        const fs::path folder = dir.file("dati");
        const fs::path lockFile = folder / "SELVO_somministrazione_in_corso.lock";
        fs::create_directory(folder);
        ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
        {
            const Unprivileged asUser;
            RecoveryStore::Opening first = RecoveryStore::open(utf8(folder));
            ASSERT_TRUE(first.store);
            ASSERT_FALSE(first.store->save(partWay(40).administration));
        }
        if (lockFileLeft) {
            chmod(lockFile.c_str(), 0400);
        } else {
            fs::remove(lockFile);
        }
        chmod(folder.c_str(), 0500);
        const std::string before = fileBytes(folder / selvo::kRecoveryFileName);

        const Unprivileged asUser;
        RecoveryStore::Opening opening = RecoveryStore::open(utf8(folder));
        ASSERT_TRUE(opening.store) << (opening.error ? opening.error->message() : "held");
        RecoveryStore& store = *opening.store;
        ASSERT_TRUE(store.unwritable());
        EXPECT_EQ(store.unwritable()->reason,
                  "permesso negato (la cartella o il file non sono scrivibili).");
        const selvo::RecoveryFinding found = store.look();
        ASSERT_TRUE(found.administration);
        EXPECT_EQ(found.administration->answeredItems, 39);
        EXPECT_TRUE(store.save(partWay(41).administration));
        EXPECT_TRUE(store.discard());
        EXPECT_EQ(fileBytes(folder / selvo::kRecoveryFileName), before);
        if (lockFileLeft) {
            EXPECT_TRUE(RecoveryStore::open(utf8(folder)).heldByAnotherCopy);
        }
        chmod(folder.c_str(), 0700);
    }
}
#endif

} // namespace
