#include "shell/TextFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace {

TEST(Cp1252, ConvertsItalianTextAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(selvo::toCp1252("Età è € perché"), std::string("Et\xE0 \xE8 \x80 perch\xE9"));
    EXPECT_FALSE(selvo::toCp1252("\xC8\x98tefan").has_value()); // Ș
    EXPECT_FALSE(selvo::toCp1252("\xFF broken").has_value());
    EXPECT_EQ(selvo::fromCp1252("Et\xE0 \x80"), "Età €");
    EXPECT_EQ(selvo::fromCp1252(std::string("\x81", 1)), "\xC2\x81");
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

TEST(SaveFileAtomically, NameNearTheLengthLimitStillSaves) {
    TempDir dir;
    const std::string longName = std::string(245, 'x') + ".csv";
    EXPECT_FALSE(selvo::saveFileAtomically(longName, "data"));
    EXPECT_EQ(fileBytes(dir.file(longName)), "data");
}

TEST(ReadWholeFile, RefusesMissingAndOversizedFiles) {
    TempDir dir;
    EXPECT_TRUE(selvo::readWholeFile("absent.csv", 100).error);
    ASSERT_FALSE(selvo::saveFileAtomically("big.csv", std::string(200, 'x')));
    EXPECT_TRUE(selvo::readWholeFile("big.csv", 100).error);
    const auto ok = selvo::readWholeFile("big.csv", 1000);
    ASSERT_TRUE(ok.bytes);
    EXPECT_EQ(ok.bytes->size(), 200u);
}

} // namespace
