// SPDX-License-Identifier: GPL-3.0-or-later
#include "subject/OtherAdministration.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

selvo::SubjectRecord mario() {
    return {"Mario", "Rossi", "41", "1", "2", "4", "prima riga\r\nseconda", 0};
}

selvo::AnswerSet answers(int seed) {
    selvo::AnswerSet set;
    for (int item = 1; item <= 94; ++item) {
        set.agreement[item] = static_cast<selvo::Integer>((item + seed) % 7 + 1);
        set.distress[item] = static_cast<selvo::Integer>(set.agreement[item] >= 5 ? 2 : 0);
    }
    return set;
}

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(OtherAdministration, TellsAnotherAdministrationFromTheSameOne) {
    const TempDir dir;
    const std::string file = selvo::utf8Of(dir.file("SELVO_Rossi_Mario.csv"));
    EXPECT_FALSE(selvo::OtherAdministrationAt(file, mario(), answers(0)));

    write(file, selvo::ComposeDataFile(mario(), answers(0)));
    EXPECT_FALSE(selvo::OtherAdministrationAt(file, mario(), answers(0))) << "the same one";
    selvo::SubjectRecord lineFeeds = mario();
    lineFeeds.notes = "prima riga\nseconda";
    lineFeeds.card = 7;
    EXPECT_FALSE(selvo::OtherAdministrationAt(file, lineFeeds, answers(0)))
        << "notes' line ends and the card number are no other administration";
    EXPECT_FALSE(selvo::OtherAdministrationAt(file, mario(), answers(3), selvo::fileIdentity(file)))
        << "the file the set was read from is its own";

    selvo::AnswerSet oneChanged = answers(0);
    oneChanged.distress[94] = 3;
    const auto retest = selvo::OtherAdministrationAt(file, mario(), oneChanged);
    ASSERT_TRUE(retest);
    EXPECT_EQ(retest->differentAnswers, 1);
    EXPECT_TRUE(retest->modified.has_value());
    EXPECT_THAT(selvo::ReplaceAdministrationQuestion(*retest, mario()),
                HasSubstr("contiene un'altra somministrazione: 1 risposta diversa."));

    selvo::SubjectRecord older = mario();
    older.age = "67";
    older.notes = "altro centro";
    const auto namesake = selvo::OtherAdministrationAt(file, older, answers(0));
    ASSERT_TRUE(namesake);
    EXPECT_EQ(namesake->differentFields, (std::vector<std::string>{"Età", "note"}));
    const std::string question = selvo::ReplaceAdministrationQuestion(*namesake, older);
    EXPECT_THAT(question, HasSubstr("\"SELVO_Rossi_Mario.csv\" di Rossi Mario, del "));
    EXPECT_THAT(question, HasSubstr("le stesse risposte, ma diversi: Età e note."));
    EXPECT_THAT(question, HasSubstr("andrà persa"));
    EXPECT_THAT(question, HasSubstr("\"Mario_T2\""));

    write(file, "0,\"troncato");
    const auto unreadable = selvo::OtherAdministrationAt(file, mario(), answers(0));
    ASSERT_TRUE(unreadable);
    ASSERT_TRUE(unreadable->unreadable);
    EXPECT_THAT(selvo::OtherAdministrationRefusal(*unreadable),
                HasSubstr("non si può leggere come file di dati"));
}

TEST(OtherAdministration, SuggestsTheNextVisitsName) {
    const std::vector<std::pair<std::string, std::string>> cases{{"Mario", "Mario_T2"},
                                                                 {"Mario_T2", "Mario_T3"},
                                                                 {"Mario_T9", "Mario_T10"},
                                                                 {"S_T", "S_T_T2"},
                                                                 {"Mario_Tx", "Mario_Tx_T2"}};
    for (const auto& [name, next] : cases) {
        EXPECT_EQ(selvo::NameForAnotherAdministration(name), next) << name;
    }
}

} // namespace
