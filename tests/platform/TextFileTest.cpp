// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CommitFileSet.h"
#include "platform/DiskWrites.h"
#include "platform/FileError.h"
#include "platform/FolderFiles.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/ReadFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "text/Cp1252.h"
#include "text/TextSafety.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace {

TEST(Cp1252, ConvertsItalianTextAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(selvo::toCp1252("Età è € perché"), std::string("Et\xE0 \xE8 \x80 perch\xE9"));
    EXPECT_FALSE(selvo::toCp1252("\xC8\x98tefan").has_value()); // Ș
    EXPECT_FALSE(selvo::toCp1252("\xFF broken").has_value());
    EXPECT_EQ(selvo::fromCp1252("Et\xE0 \x80"), "Età €");
    EXPECT_EQ(selvo::fromCp1252(std::string("\x81", 1)), "\xC2\x81");
}

// ASCII is copied a block at a time: a character anywhere in, before or after a block comes out
// the same, and one that does not fit is refused wherever it stands.
TEST(Cp1252, ConvertsACharacterAtEveryPlaceAroundTheBlocks) {
    for (std::size_t before = 0; before <= 40; ++before) {
        for (const std::size_t after : {0, 1, 15, 16, 17, 31}) {
            const std::string a(before, 'a');
            const std::string b(after, 'b');
            EXPECT_EQ(selvo::toCp1252(a + "è" + b + "€"), a + "\xE8" + b + "\x80")
                << before << " before, " << after << " after";
            EXPECT_EQ(selvo::fromCp1252(a + "\xE8" + b + "\x80"), a + "è" + b + "€");
            EXPECT_FALSE(selvo::toCp1252(a + "è" + b + "Ș")) << before << ", " << after;
            EXPECT_FALSE(selvo::isValidUtf8(a + "è" + b + "\xC3")) << before << ", " << after;
        }
    }
}

TEST(Cp1252, InPlaceConversionLeavesARefusedTextAsItWas) {
    for (const std::size_t before : {0, 5, 16, 33}) {
        for (const std::string refused : {"Ștefan", "\xFF", "\xE2\x82"}) {
            const std::string original =
                std::string(before, 'a') + "perché € “citato” " + std::string(20, 'x') + refused;
            std::string text = original;
            EXPECT_FALSE(selvo::toCp1252InPlace(text)) << before;
            EXPECT_EQ(text, original);
        }
    }
    std::string fits = "Età è € perché";
    EXPECT_TRUE(selvo::toCp1252InPlace(fits));
    EXPECT_EQ(fits, "Et\xE0 \xE8 \x80 perch\xE9");
}

TEST(Utf8, RecognisesMalformedSequences) {
    EXPECT_TRUE(selvo::isValidUtf8("Łukasz Ștefan €"));
    EXPECT_FALSE(selvo::isValidUtf8("\xC3"));
    EXPECT_FALSE(selvo::isValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(selvo::isValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(selvo::isValidUtf8("\xE2\x82"));     // truncated
}

TEST(SaveFileAtomically, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    ASSERT_FALSE(selvo::saveFileAtomically("out.txt", "first version, longer\r\n"));
    ASSERT_FALSE(selvo::saveFileAtomically("out.txt", "second\r\n"));
    EXPECT_EQ(fileBytes(dir.file("out.txt")), "second\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(SaveFileAtomically, ReadOnlyFolderKeepsTheOlderFileAndNamesTheReason) {
    {
        TempDir dir;
        ASSERT_FALSE(selvo::saveFileAtomically("old.txt", "old"));
        chmod(dir.path().c_str(), 0555);
        std::optional<selvo::FileError> error;
        {
            Unprivileged asUser;
            error = selvo::saveFileAtomically("old.txt", "new");
        }
        chmod(dir.path().c_str(), 0755);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->fileName, "old.txt");
        EXPECT_EQ(error->reason, "permesso negato (la cartella o il file non sono scrivibili).");
        EXPECT_EQ(fileBytes(dir.file("old.txt")), "old");
    }
    const auto missing = selvo::saveFileAtomically("no-such-folder/x.txt", "x");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->fileName, "no-such-folder/x.txt");
    EXPECT_EQ(missing->reason, "file o cartella inesistente.");
}
#endif

TEST(SaveFileAtomically, NameNearTheLengthLimitStillSaves) {
    TempDir dir;
    const std::string longName = std::string(245, 'x') + ".csv";
    EXPECT_FALSE(selvo::saveFileAtomically(longName, "data"));
    EXPECT_EQ(fileBytes(dir.file(longName)), "data");
}

// A group waits for each folder twice however many sets it holds (for the record of its
// renames, then for the renames); a set that cannot be written fails alone; a group dropped
// before its commit leaves nothing behind, its record included.
TEST(CommitGroup, FlushesEachFolderTwiceWhateverItsSizeAndASetFailsAlone) {
    TempDir dir;
    std::filesystem::create_directories("out/b.rtf"); // a folder where a file should go
    ASSERT_FALSE(selvo::saveFileAtomically("out/c.csv", "old c"));
    const selvo::DiskWriteCounts before = selvo::diskWriteCounts();
    std::vector<selvo::CommitResult> results;
    {
        selvo::CommitGroup group;
        group.add({{"out/a.csv", "a"}, {"out/a.rtf", "A"}});
        group.add({{"out/b.csv", "b"}, {"out/b.rtf", "B"}});
        group.add({{"out/c.csv", "c"}, {"out/c.rtf", "C"}});
        results = group.commit();
        group.add({{"out/d.csv", "d"}});
    }
    ASSERT_EQ(results.size(), 3u);
    EXPECT_FALSE(results[0].error);
    ASSERT_TRUE(results[1].error);
    EXPECT_EQ(results[1].error->fileName, "out/b.rtf");
    ASSERT_FALSE(results[2].error);
    EXPECT_TRUE(results[2].files[0].replaced);
    EXPECT_FALSE(results[2].files[1].replaced);
    EXPECT_EQ(fileBytes(dir.file("out/c.csv")), "c");
    EXPECT_EQ(namesIn(dir.file("out")),
              (std::vector<std::string>{"a.csv", "a.rtf", "b.rtf", "c.csv", "c.rtf"}));

    const selvo::DiskWriteCounts after = selvo::diskWriteCounts();
    EXPECT_EQ(after.committedSets - before.committedSets, 2u);
    const bool told = selvo::platform::fileSystemFlushTellsErrors();
    EXPECT_EQ(after.fileFlushes - before.fileFlushes, told ? 1u : 5u); // and the record's
    EXPECT_EQ(after.fileSystemFlushes - before.fileSystemFlushes, told ? 1u : 0u);
#ifdef _WIN32
    EXPECT_EQ(after.folderFlushes - before.folderFlushes, 4u); // each rename writes through
#else
    EXPECT_EQ(after.folderFlushes - before.folderFlushes, 2u);
#endif
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(CommitFileSet, AFileThatCannotBeWrittenLeavesTheWholeOlderSet) {
    TempDir dir;
    chmod(dir.path().c_str(), 0755); // the test user must reach the folders inside
    std::filesystem::create_directory("open");
    chmod("open", 0777);
    std::filesystem::create_directory("locked");
    ASSERT_FALSE(selvo::commitFileSet({{"open/a.csv", "old a"}, {"locked/b.rtf", "old b"}}).error);
    chmod("locked", 0555);
    selvo::CommitResult result;
    {
        Unprivileged asUser;
        result = selvo::commitFileSet({{"open/a.csv", "new a"}, {"locked/b.rtf", "new b"}});
    }
    chmod("locked", 0755);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->fileName, "locked/b.rtf");
    EXPECT_TRUE(result.files.empty());
    EXPECT_EQ(fileBytes(dir.file("open/a.csv")), "old a");
    EXPECT_EQ(fileBytes(dir.file("locked/b.rtf")), "old b");
    EXPECT_EQ(namesIn(dir.file("open")), std::vector<std::string>{"a.csv"});
}
#endif

// In a folder with the sticky bit only a file's owner may replace it: the second rename of
// the set fails after the first has been made, and the first must be undone.
#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(CommitFileSet, AFailedRenamePutsBackTheFilesAlreadyReplaced) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to own a file the test user cannot replace";
    }
    TempDir dir;
    chmod(dir.path().c_str(), 0755);
    std::filesystem::create_directory("shared");
    chmod("shared", 01777);
    ASSERT_FALSE(selvo::saveFileAtomically("shared/b.rtf", "old b")); // owned by root
    selvo::CommitResult result;
    {
        Unprivileged asUser;
        ASSERT_FALSE(selvo::saveFileAtomically("shared/a.csv", "old a"));
        result = selvo::commitFileSet(
            {{"shared/a.csv", "new a"}, {"shared/b.rtf", "new b"}, {"shared/c.sps", "new c"}});
    }
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->fileName, "shared/b.rtf");
    EXPECT_EQ(fileBytes(dir.file("shared/a.csv")), "old a");
    EXPECT_EQ(fileBytes(dir.file("shared/b.rtf")), "old b");
    EXPECT_EQ(namesIn(dir.file("shared")), (std::vector<std::string>{"a.csv", "b.rtf"}));
}
#endif

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(PathInFolder, PutsOneSeparatorBetweenAndNamesTheCurrentFolderPlainly) {
    EXPECT_EQ(selvo::pathInFolder("/studio", "a.csv"), "/studio/a.csv");
    EXPECT_EQ(selvo::pathInFolder("/studio/", "a.csv"), "/studio/a.csv");
    EXPECT_EQ(selvo::pathInFolder("/", "a.csv"), "/a.csv");
    EXPECT_EQ(selvo::pathInFolder("", "a.csv"), "a.csv");
    const TempDir dir;
    EXPECT_EQ(selvo::currentFolder(), selvo::utf8Of(dir.path()));
    // A file named in it is the file the current folder holds, spelled as before.
    EXPECT_EQ(selvo::pathInFolder(selvo::currentFolder(), "a.csv"), selvo::absolutePath("a.csv"));
}

TEST(FileIdentity, IsTheSameThroughALinkAndDotDot) {
    TempDir dir;
    std::filesystem::create_directory("study");
    ASSERT_FALSE(selvo::saveFileAtomically("study/x.csv", "x"));
    std::filesystem::create_directory_symlink(dir.file("study"), "link");
    const auto direct = selvo::fileIdentity("study/x.csv");
    ASSERT_TRUE(direct);
    EXPECT_EQ(selvo::fileIdentity("link/x.csv"), direct);
    EXPECT_EQ(selvo::fileIdentity("link/../study/./x.csv"), direct);
    EXPECT_EQ(selvo::fileIdentity("link"), selvo::fileIdentity("study"));
    EXPECT_NE(selvo::fileIdentity("study"), direct);
    EXPECT_FALSE(selvo::fileIdentity("study/absent.csv"));
}
#endif

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(ReadWholeFile, RefusesAPipeAtOnce) {
    TempDir dir;
    ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
    const auto started = std::chrono::steady_clock::now();
    const auto read = selvo::readWholeFile("pipe.csv", 1000);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().reason,
              "non è un file regolare (è una pipe, un dispositivo o un socket).");
    EXPECT_FALSE(selvo::readWholeFile("/dev/null", 1000).ok()) << "a device is not a data file";
}
#endif

#ifndef _WIN32 // POSIX permissions, links and pipes
struct SystemErrorCase {
    const char* label;
    std::function<std::string()> prepare; // returns the path that fails
    selvo::FileAccess access;
    const char* reason;
};
void PrintTo(const SystemErrorCase& c, std::ostream* os) {
    *os << c.label;
}

class SystemError : public testing::TestWithParam<SystemErrorCase> {};

// Told in Italian, with the right cause for reading and for writing, and the whole path.
TEST_P(SystemError, IsToldInItalianWithTheFolder) {
    TempDir dir;
    chmod(dir.path().c_str(), 0755); // the test user reaches the folder, not what fails in it
    const std::string path = GetParam().prepare();
    std::optional<selvo::FileError> error;
    if (GetParam().access == selvo::FileAccess::Read) {
        Unprivileged asUser;
        if (const auto read = selvo::readWholeFile(path, 1000); !read.ok()) {
            error = read.error();
        }
    } else {
        Unprivileged asUser;
        error = selvo::saveFileAtomically(path, "x");
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->reason, GetParam().reason);
    EXPECT_NE(error->cause, 0) << "the system's error number is kept";
    const std::string verb = GetParam().access == selvo::FileAccess::Read ? "leggere" : "scrivere";
    EXPECT_EQ(error->message(), "Impossibile " + verb + " il file \"" +
                                    (dir.path() / path).string() + "\": " + GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SystemError,
    testing::Values(
        SystemErrorCase{"ReadThroughAFile",
                        [] {
                            std::ofstream("plain.csv") << "x";
                            return std::string("plain.csv/inside.csv");
                        },
                        selvo::FileAccess::Read, "una parte del percorso non è una cartella."},
        SystemErrorCase{"WriteThroughAFile",
                        [] {
                            std::ofstream("plain.csv") << "x";
                            return std::string("plain.csv/out.csv");
                        },
                        selvo::FileAccess::Write, "una parte del percorso non è una cartella."},
        SystemErrorCase{"LinkLoop",
                        [] {
                            std::filesystem::create_symlink("loop.csv", "loop.csv");
                            return std::string("loop.csv");
                        },
                        selvo::FileAccess::Read,
                        "il percorso contiene troppi collegamenti simbolici (forse un "
                        "collegamento che rimanda a sé stesso)."},
        SystemErrorCase{"UnreadableFile",
                        [] {
                            std::ofstream("private.csv") << "x";
                            chmod("private.csv", 0200);
                            chmod(".", 0755);
                            return std::string("private.csv");
                        },
                        selvo::FileAccess::Read,
                        "permesso negato (il file o la sua cartella non sono leggibili)."}),
    [](const auto& info) { return std::string(info.param.label); });
#endif

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(SaveFileAtomically, AReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask) {
    TempDir dir;
    ASSERT_FALSE(selvo::saveFileAtomically("private.csv", "first"));
    chmod("private.csv", 0600);
    ASSERT_FALSE(selvo::saveFileAtomically("private.csv", "second"));
    struct stat info {};
    ASSERT_EQ(stat("private.csv", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    const mode_t previous = umask(027);
    ASSERT_FALSE(selvo::saveFileAtomically("new.csv", "new"));
    umask(previous);
    ASSERT_EQ(stat("new.csv", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}
#endif

#ifndef _WIN32 // POSIX permissions and links
unsigned modeOf(const char* path) {
    struct stat info {};
    return stat(path, &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(SaveFileAtomically, OwnerOnlyIsForTheOwnerWhateverTheUmaskOrTheFileBefore) {
    TempDir dir;
    const mode_t previous = umask(022);
    ASSERT_FALSE(selvo::saveFileAtomically("new.csv", "new", selvo::Privacy::OwnerOnly));
    ASSERT_FALSE(selvo::saveFileAtomically("wide.csv", "older"));
    chmod("wide.csv", 0644);
    ASSERT_FALSE(selvo::saveFileAtomically("wide.csv", "newer", selvo::Privacy::OwnerOnly));
    umask(previous);
    EXPECT_EQ(modeOf("new.csv"), 0600u);
    EXPECT_EQ(modeOf("wide.csv"), 0600u);
    EXPECT_EQ(fileBytes(dir.file("wide.csv")), "newer");
}

TEST(CreatePrivateFolder, IsTheOwnersAloneAndALinkedFolderIsUsedAsItIs) {
    TempDir dir;
    const mode_t previous = umask(022);
    EXPECT_FALSE(selvo::createPrivateFolder("share/BrivanSelvo"));
    std::filesystem::create_directory("wide");
    chmod("wide", 0755);
    EXPECT_FALSE(selvo::createPrivateFolder("wide/"));
    std::filesystem::create_directory("chosen");
    chmod("chosen", 0750);
    std::filesystem::create_directory_symlink("chosen", "linked");
    EXPECT_FALSE(selvo::createPrivateFolder("linked"));
    umask(previous);
    EXPECT_EQ(modeOf("share"), 0755u) << "the folders above keep the usual permissions";
    EXPECT_EQ(modeOf("share/BrivanSelvo"), 0700u);
    EXPECT_EQ(modeOf("wide"), 0700u);
    EXPECT_EQ(modeOf("chosen"), 0750u);

    std::ofstream("plain") << "x";
    const auto file = selvo::createPrivateFolder("plain");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->reason, "il nome indica un file, non una cartella.");
}
#endif

TEST(VisibleText, ShowsControlFormatAndBrokenBytesAsEscapes) {
    EXPECT_EQ(selvo::visibleText("Rossi"), "Rossi");
    EXPECT_EQ(selvo::visibleText("Nicolò Ștefan"), "Nicolò Ștefan");
    EXPECT_EQ(selvo::visibleText("a\x1B]0;x\x07"
                                 "b"),
              "a\\x1B]0;x\\x07b");
    EXPECT_EQ(selvo::visibleText("a\r\nb\t"), "a\\x0D\\x0Ab\\x09");
    EXPECT_EQ(selvo::visibleText("\xC2\x9B"
                                 "2J"),
              "\\x9B2J"); // C1 CSI
    EXPECT_EQ(selvo::visibleText("abc\xE2\x80\xAE"
                                 "def"),
              "abc\\u202Edef"); // right-to-left
    EXPECT_EQ(selvo::visibleText("a\xE2\x80\x8B"
                                 "b"),
              "a\\u200Bb"); // zero width
    EXPECT_EQ(selvo::visibleText("\xFF\x1B"), "\\xFF\\x1B");
}

TEST(ReadWholeFile, RefusesMissingAndOversizedFiles) {
    TempDir dir;
    EXPECT_EQ(selvo::readWholeFile("absent.csv", 100).error().cause, ENOENT);
    ASSERT_FALSE(selvo::saveFileAtomically("big.csv", std::string(200, 'x')));
    EXPECT_EQ(selvo::readWholeFile("big.csv", 100).error().cause, 0) << "refused by the program";
    const auto ok = selvo::readWholeFile("big.csv", 1000);
    ASSERT_TRUE(ok.ok());
    EXPECT_EQ(ok.value().size(), 200u);
}

} // namespace
