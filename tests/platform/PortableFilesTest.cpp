// SPDX-License-Identifier: GPL-3.0-or-later

// What the file layer does the same way on every system: these run on Linux and, built for
// Windows, under Wine.
#include "platform/CommitFileSet.h"
#include "platform/FileNames.h"
#include "platform/Locks.h"
#include "platform/Paths.h"
#include "platform/ReadFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr unsigned char kUnassigned[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

bool unassigned(unsigned char b) {
    return std::find(std::begin(kUnassigned), std::end(kUnassigned), b) != std::end(kUnassigned);
}

TEST(Cp1252Table, EveryAssignedByteComesBackAndTheFiveUnassignedAreReadButNeverWritten) {
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::string utf8 = selvo::fromCp1252(byte);
        ASSERT_TRUE(selvo::isValidUtf8(utf8)) << value;
        if (unassigned(static_cast<unsigned char>(value))) {
            // The C1 control of the same number: nothing lost on reading.
            EXPECT_EQ(utf8, std::string({static_cast<char>(0xC2), static_cast<char>(value)}));
            EXPECT_FALSE(selvo::toCp1252(utf8)) << value;
        } else {
            EXPECT_EQ(selvo::toCp1252(utf8), byte) << value;
        }
    }
    EXPECT_EQ(selvo::fromCp1252("\x80\x8A\x9F\xE0\xFF"), "€ŠŸàÿ");
    EXPECT_EQ(selvo::toCp1252("“Niccolò” – ‰ ™ …"), "\x93Nicc"
                                                    "ol\xF2\x94 \x96 \x89 \x99 \x85");
    EXPECT_FALSE(selvo::toCp1252("\xC2\x80")) << "U+0080 has no place: 0x80 is the euro sign";
    EXPECT_FALSE(selvo::toCp1252("Łukasz"));
}

TEST(PortableFiles, NamesBeyondTheAnsiCodePageAreWrittenAndReadBackAsTheyAre) {
    const TempDir dir;
    const std::set<std::string> names = {"SELVO_Bruni_Niccolò.csv", "SELVO_Popescu_Ștefan.csv",
                                         "SELVO_Wójcik_Łukasz.csv"};
    for (const std::string& name : names) {
        ASSERT_FALSE(selvo::saveFileAtomically(name, name + "\r\n"));
        EXPECT_EQ(selvo::readWholeFile(name, 1000).value(), name + "\r\n");
        EXPECT_EQ(fileBytes(dir.path() / selvo::pathFromUtf8(name)), name + "\r\n");
    }
    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        onDisk.insert(selvo::utf8Of(entry.path().filename()));
    }
    EXPECT_EQ(onDisk, names);
}

TEST(PortableFiles, BytesAreReadAsTheyAreWithLineEndsAndEndOfFileMarks) {
    const TempDir dir;
    const std::string bytes("riga uno\r\nriga due\x1A dopo\r\n\0fine", 32);
    std::ofstream("notes.csv", std::ios::binary) << bytes;
    EXPECT_EQ(selvo::readWholeFile("notes.csv", 1000).value(), bytes);
}

TEST(PortableFiles, ASecondSetReplacesTheFirstAndSaysSo) {
    const TempDir dir;
    const std::vector<selvo::PendingFile> first = {{"a.csv", "first a"}, {"b.rtf", "first b"}};
    const std::vector<selvo::PendingFile> second = {{"a.csv", "second"}, {"b.rtf", "2"}};
    const selvo::CommitResult before = selvo::commitFileSet(first);
    ASSERT_FALSE(before.error);
    EXPECT_FALSE(before.files[0].replaced);
    const selvo::CommitResult after = selvo::commitFileSet(second);
    ASSERT_FALSE(after.error) << after.error->message();
    EXPECT_TRUE(after.files[0].replaced && after.files[1].replaced);
    EXPECT_EQ(fileBytes(dir.file("a.csv")), "second");
    EXPECT_EQ(fileBytes(dir.file("b.rtf")), "2");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(PortableFiles, AFolderIsNamedAsAFolderWhenReadOrWritten) {
    const TempDir dir;
    fs::create_directory("studio");
    const auto read = selvo::readWholeFile("studio", 1000);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().reason, "il nome indica una cartella, non un file.");
    const auto written = selvo::saveFileAtomically("studio", "x");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->reason, "il nome indica una cartella, non un file.");
}

TEST(PortableFiles, FilesGoIntoSubfoldersWithTheSystemsSeparators) {
    const TempDir dir;
    fs::create_directory("studio");
    ASSERT_FALSE(selvo::saveFileAtomically("studio/a.csv", "a"));
    EXPECT_EQ(fileBytes(dir.file("studio") / "a.csv"), "a");
#ifdef _WIN32
    ASSERT_FALSE(selvo::saveFileAtomically("studio\\b.csv", "b"));
    EXPECT_EQ(fileBytes(dir.file("studio") / "b.csv"), "b");
#endif
#ifdef _WIN32
    constexpr long kSaved = 2;
#else
    constexpr long kSaved = 1;
#endif
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("studio")), fs::directory_iterator()),
              kSaved)
        << "no temporary file is left in the folder";
    EXPECT_EQ(selvo::pathFromUtf8(selvo::absolutePath("studio/a.csv")),
              dir.file("studio") / "a.csv");
}

TEST(FileNameKey, FoldsCaseExactlyWhereTheFileSystemDoes) {
#ifdef _WIN32
    EXPECT_EQ(selvo::fileNameKey("SELVO_ROSSI_ȘTEFAN.csv"),
              selvo::fileNameKey("selvo_rossi_ștefan.csv"));
#else
    EXPECT_NE(selvo::fileNameKey("SELVO_ROSSI_ȘTEFAN.csv"),
              selvo::fileNameKey("selvo_rossi_ștefan.csv"));
#endif
    EXPECT_EQ(selvo::fileNameKey("SELVO_Rossi.csv"), selvo::fileNameKey("SELVO_Rossi.csv"));
}

// A case-insensitive folder folds the letters of Italian and other European names; a folder
// that keeps case, or cannot be probed where the system keeps case, compares them as they are.
TEST(FolderNames, FoldNamesWhereTheFolderFoldsCase) {
    struct Pair {
        const char* a;
        const char* b;
        bool sameWhenFolded;
    };
    const Pair pairs[] = {
        {"SELVO_Rossi_Mario.csv", "selvo_ROSSI_MARIO.CSV", true},
        {"SELVO_Bruni_Niccolò.csv", "SELVO_BRUNI_NICCOLÒ.csv", true},
        {"Àgata Émile Ÿves", "àgata émile ÿves", true},
        {"SELVO_Popescu_ȘTEFAN_ȚARĂ", "selvo_popescu_ștefan_țară", true},
        {"Łukasz Wójcik Čapek", "łukasz wÓjcik čAPEK", true},
        {"Ζωή Άννα Пётр", "ζΩΉ άΝΝΑ пЁТР", true},
        {"Niccolò", "Niccolo", false},
        {"Rossi×", "Rossi÷", false},
    };
    selvo::FolderNames folding([](const std::string&) { return std::optional<bool>(true); });
    selvo::FolderNames keeping([](const std::string&) { return std::optional<bool>(false); });
    for (const Pair& pair : pairs) {
        EXPECT_EQ(folding.key("f", pair.a) == folding.key("f", pair.b), pair.sameWhenFolded)
            << pair.a << " / " << pair.b;
        EXPECT_NE(keeping.key("f", pair.a), keeping.key("f", pair.b)) << pair.a;
    }
    selvo::FolderNames unknown([](const std::string&) { return std::optional<bool>(); });
    EXPECT_EQ(unknown.key("f", "ROSSI"), selvo::fileNameKey("ROSSI"));
}

TEST(FolderNames, TheProbeTellsTheFolderAndLeavesNothingBehind) {
    const TempDir dir;
    selvo::FolderNames names;
#ifdef _WIN32
    EXPECT_TRUE(names.foldsCase(dir.path().string()));
#else
    EXPECT_FALSE(names.foldsCase(dir.path().string())); // the tests' disk keeps case
#endif
    EXPECT_TRUE(fs::is_empty(dir.path()));
    // A folder that is not there keeps the system's way.
    EXPECT_EQ(names.key((dir.path() / "absent").string(), "ROSSI"), selvo::fileNameKey("ROSSI"));
}

// The window does not wait without end: it fails, nothing written, and the folder is clean.
TEST(CommitFileSet, AFolderBusyWithAnotherRunFailsTheSetOnceThePatienceIsOver) {
    const TempDir dir;
    selvo::FolderLock::Attempt held = selvo::FolderLock::take(dir.path().string(), {});
    ASSERT_TRUE(held.lock);
    const auto result =
        selvo::commitFileSet({{"a.csv", "new"}}, {std::chrono::milliseconds(50), {}});
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->message(),
              "Impossibile scrivere il file \"" + (dir.path() / "a.csv").string() +
                  "\": la cartella \"" + dir.path().string() +
                  "\" è in uso da un'altra elaborazione di BrivanSelvo, che vi sta scrivendo i "
                  "suoi file. Attendere che finisca e riprovare.");
    held.lock.reset();
    EXPECT_TRUE(fs::is_empty(dir.path())) << "a temporary or the lock's file was left behind";
    EXPECT_FALSE(selvo::commitFileSet({{"a.csv", "new"}}).error);
}

} // namespace
