// SPDX-License-Identifier: GPL-3.0-or-later
// selvo-batch --pseudonimi: a dataset that names nobody, and the key of codes kept apart.

#include "BatchFixture.h"

#include "batch/DatasetKeyLock.h"
#include "datafiles/AdministrationFingerprint.h"
#include "datafiles/DataFile.h"
#include "datafiles/DatasetTable.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

// A study whose subjects' names must not travel: names, surnames and notes are chosen so that
// no other text of the files holds them.
constexpr std::array<const char*, 3> kPrivate{"Zebedeo", "Quaglierini", "riservata"};

std::string privateSubject(int seed, const std::string& name) {
    testsupport::TestSubject state = subject(seed, kPrivate[0] + name);
    state.subject.surname = kPrivate[1];
    state.subject.notes = std::string("nota ") + kPrivate[2];
    return selvo::ComposeDataFile(state.subject, state.answers);
}

// The fingerprint a key holds for the administration of subject(seed).
std::string fingerprintOf(int seed) {
    const testsupport::TestSubject state = subject(seed);
    return selvo::AdministrationFingerprint(state.subject, state.answers);
}

std::vector<std::vector<std::string>> keyRows(const fs::path& key) {
    const std::string bytes = fileBytes(key);
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    return tableRows(bytes.substr(3));
}

TEST(SelvoBatchPseudonyms, TheDatasetNamesNobodyAndTheKeyMapsEveryCodeToItsFile) {
    const TempDir dir;
    write(dir.file("SELVO_C.csv"), privateSubject(3, "C"));
    write(dir.file("bad.csv"), "0,\"S01\"\r\n");
    write(dir.file("SELVO_A.csv"), privateSubject(1, "A"));
    const BatchRun run = batch({"--out", "out", "--dataset", "studio", "--pseudonimi",
                                "SELVO_C.csv", "bad.csv", "SELVO_A.csv"});
    EXPECT_EQ(run.status, 1);
    const fs::path out = dir.file("out");
    EXPECT_EQ(run.out, "selvo-batch: 2 file elaborati, 1 non riuscito; 2 casi scritti in " +
                           (fs::path("out") / "studio.csv").string() +
                           ". La chiave dei codici è in " +
                           (fs::path("out") / "studio_chiave.csv").string() +
                           ": conservarla a parte, non inviarla insieme al dataset.\n");
    const auto rows = tableRows(fileBytes(out / "studio.csv").substr(3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], joined({"ID"}, variableNames()));
    EXPECT_EQ(rows[1],
              joined({"S0001"}, dataLineValues(out / "SELVO_SS000_Quaglierini_ZebedeoC_sps.sps")));
    EXPECT_EQ(rows[2],
              joined({"S0002"}, dataLineValues(out / "SELVO_SS000_Quaglierini_ZebedeoA_sps.sps")));
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        for (const char* word : kPrivate) {
            EXPECT_THAT(fileBytes(out / file), testing::Not(HasSubstr(word))) << file;
        }
    }
    EXPECT_EQ(keyRows(out / "studio_chiave.csv"),
              (std::vector<std::vector<std::string>>{
                  {"Codice", "File di dati", "Cognome", "Nome", "Impronta"},
                  {"S0001", "SELVO_C.csv", "Quaglierini", "ZebedeoC", fingerprintOf(3)},
                  {"S0002", "SELVO_A.csv", "Quaglierini", "ZebedeoA", fingerprintOf(1)}}));
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(::stat((out / "studio_chiave.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST(SelvoBatchPseudonyms, ARerunKeepsEachSubjectsCodeAndGivesANewOneTheNext) {
    const TempDir dir;
    for (const char* name : {"A", "B", "C"}) {
        write(dir.file(std::string(name) + ".csv"), privateSubject(name[0], name));
    }
    fs::create_directory(dir.file("chiavi"));
    const std::vector<std::string> options{"--dataset", "studio", "--pseudonimi", "--chiave",
                                           "chiavi/studio.csv"};
    ASSERT_EQ(batch(joined(options, {"A.csv", "B.csv"})).status, 0);
    EXPECT_FALSE(fs::exists(dir.file("studio_chiave.csv")));
    // A key someone opened up is narrowed again when it is rewritten.
    fs::permissions(dir.file("chiavi") / "studio.csv", fs::perms(0644));
    const BatchRun again = batch(joined(options, {"C.csv", "B.csv"}));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("La chiave dei codici è in chiavi/studio.csv:"));
    const auto rows = tableRows(fileBytes(dir.file("studio.csv")).substr(3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "S0003");
    EXPECT_EQ(rows[2][0], "S0002");
    // The subject missing from this run keeps its code too.
    const auto key = keyRows(dir.file("chiavi") / "studio.csv");
    ASSERT_EQ(key.size(), 4u);
    EXPECT_EQ(key[1][0] + key[1][1], "S0001A.csv");
    EXPECT_EQ(key[2][0] + key[2][1], "S0002B.csv");
    EXPECT_EQ(key[3][0] + key[3][1], "S0003C.csv");
#ifndef _WIN32
    EXPECT_EQ(fs::status(dir.file("chiavi") / "studio.csv").permissions(), fs::perms(0600));
#endif
}

// The codes of a dataset's rows, in order.
std::vector<std::string> datasetCodes(const fs::path& table) {
    std::vector<std::string> codes;
    for (const auto& row : tableRows(fileBytes(table).substr(3))) {
        codes.push_back(row[0]);
    }
    codes.erase(codes.begin()); // the header
    return codes;
}

const std::vector<std::string> kWithKey{"--dataset", "studio", "--pseudonimi", "--chiave",
                                        "chiave.csv"};

// Another Mario Rossi, from another centre's folder under the same file name, is another
// administration: he gets a code of his own, told on the console, and the first keeps his row.
TEST(SelvoBatchPseudonyms, AnotherSubjectUnderAKnownFileNameGetsANewCode) {
    const TempDir dir;
    for (const auto& [folder, seed, age] :
         {std::tuple("centro1", 1, "45"), std::tuple("centro2", 2, "67")}) {
        testsupport::TestSubject mario = subject(seed, "Mario");
        mario.subject.surname = "Rossi";
        mario.subject.age = age;
        fs::create_directory(dir.file(folder));
        write(dir.file(folder) / "SELVO_Rossi_Mario.csv",
              selvo::ComposeDataFile(mario.subject, mario.answers));
    }
    ASSERT_EQ(batch(joined(kWithKey, {"--out", "out1", "centro1/SELVO_Rossi_Mario.csv"})).status,
              0);
    const auto first = keyRows(dir.file("chiave.csv"));
    const BatchRun second =
        batch(joined(kWithKey, {"--out", "out2", "centro2/SELVO_Rossi_Mario.csv"}));
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(datasetCodes(dir.file("out2") / "studio.csv"), std::vector<std::string>{"S0002"});
    EXPECT_THAT(second.err, HasSubstr("centro2/SELVO_Rossi_Mario.csv: nella chiave dei codici il "
                                      "nome SELVO_Rossi_Mario.csv ha già il codice S0001, ma per "
                                      "un'altra somministrazione"));
    const auto key = keyRows(dir.file("chiave.csv"));
    ASSERT_EQ(key.size(), 3u);
    EXPECT_EQ(key[1], first[1]);
    EXPECT_EQ(key[2][0] + key[2][3], "S0002Mario");
    EXPECT_NE(key[2][4], key[1][4]);
}

// A data file renamed after its name was corrected keeps its code; a key of an older version,
// without fingerprints, is matched by file name first and then given them.
TEST(SelvoBatchPseudonyms, ARenamedDataFileKeepsItsCodeAndAnOlderKeyGetsFingerprints) {
    const TempDir dir;
    write(dir.file("chiave.csv"), "\xEF\xBB\xBF"
                                  "Codice,File di dati,Cognome,Nome\r\n"
                                  "S0001,SELVO_GRP1_Mraio.csv,GRP1,Mraio\r\n");
    write(dir.file("SELVO_GRP1_Mraio.csv"), testsupport::dataFileOf(subject(1, "Mraio")));
    write(dir.file("SELVO_GRP1_Zoe.csv"), testsupport::dataFileOf(subject(2, "Zoe")));
    ASSERT_EQ(
        batch(joined(kWithKey, {"--out", "out", "SELVO_GRP1_Mraio.csv", "SELVO_GRP1_Zoe.csv"}))
            .status,
        0);
    EXPECT_EQ(keyRows(dir.file("chiave.csv"))[1],
              (std::vector<std::string>{"S0001", "SELVO_GRP1_Mraio.csv", "GRP1", "Mraio",
                                        fingerprintOf(1)}));

    fs::remove(dir.file("SELVO_GRP1_Mraio.csv"));
    write(dir.file("SELVO_GRP1_Mario.csv"), testsupport::dataFileOf(subject(1, "Mario")));
    const BatchRun corrected =
        batch(joined(kWithKey, {"--out", "out", "SELVO_GRP1_Zoe.csv", "SELVO_GRP1_Mario.csv"}));
    ASSERT_EQ(corrected.status, 0) << corrected.err;
    EXPECT_EQ(datasetCodes(dir.file("out") / "studio.csv"),
              (std::vector<std::string>{"S0002", "S0001"}));
    const auto key = keyRows(dir.file("chiave.csv"));
    ASSERT_EQ(key.size(), 3u);
    EXPECT_EQ(key[1], (std::vector<std::string>{"S0001", "SELVO_GRP1_Mario.csv", "GRP1", "Mario",
                                                fingerprintOf(1)}));
}

#ifndef _WIN32 // symbolic links
// A key and a dataset reached through links are written where the links lead: the links stay,
// and the key there keeps its codes.
TEST(SelvoBatchPseudonyms, AKeyOrDatasetReachedThroughALinkIsWrittenWhereItLeads) {
    const TempDir dir;
    write(dir.file("A.csv"), privateSubject(1, "A"));
    fs::create_directories(dir.file("chiavi"));
    fs::create_directories(dir.file("tabelle"));
    ASSERT_EQ(batch({"--dataset", "studio", "--pseudonimi", "--chiave", "chiavi/vera.csv", "A.csv"})
                  .status,
              0);
    fs::create_directories(dir.file("out"));
    fs::create_symlink("../chiavi/vera.csv", dir.file("out") / "studio_chiave.csv");
    fs::create_symlink(dir.file("tabelle") / "studio.csv", dir.file("out") / "studio.csv");
    write(dir.file("B.csv"), privateSubject(2, "B"));

    const BatchRun run =
        batch({"--out", "out", "--dataset", "studio", "--pseudonimi", "B.csv", "A.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(dir.file("out") / "studio_chiave.csv"));
    EXPECT_TRUE(fs::is_symlink(dir.file("out") / "studio.csv"));
    EXPECT_EQ(keyRows(dir.file("chiavi") / "vera.csv").size(), 3u);
    EXPECT_EQ(datasetCodes(dir.file("tabelle") / "studio.csv"),
              (std::vector<std::string>{"S0002", "S0001"}));
    EXPECT_EQ(fs::status(dir.file("chiavi") / "vera.csv").permissions(), fs::perms(0600));
}
#endif

// A key is one run's from its reading to its writing: a second run waits, and says so.
TEST(SelvoBatchPseudonyms, ARunWaitsForAKeyAnotherRunHolds) {
    const TempDir dir;
    write(dir.file("A.csv"), privateSubject(1, "A"));
    selvo::KeyLock held = selvo::LockDatasetKey(dir.file("chiave.csv").string(), {});
    ASSERT_TRUE(held.lock.held());
    std::thread otherRun([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        held.lock = {};
    });
    std::ostringstream out;
    std::ostringstream err;
    const auto options =
        std::get<selvo::BatchOptions>(selvo::ParseBatchArguments(joined(kWithKey, {"A.csv"})));
    const int status = selvo::RunBatch(
        options, {out, err, selvo::ProgressLine::None, std::chrono::milliseconds(100)}, fixedClock);
    otherRun.join();
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(err.str(), "selvo-batch: la chiave dei codici chiave.csv è in uso da un'altra "
                         "elaborazione di BrivanSelvo: attendo che si liberi.\n");
    for (const std::string& name : namesIn(dir.path())) {
        EXPECT_FALSE(name.starts_with(".")) << name << " left behind"; // the lock's file went
    }
}

// A key that is not one could give an old code to a new subject: nothing is written at all.
TEST(SelvoBatchPseudonyms, AKeyThatCannotBeReadRefusesTheRunBeforeAnythingIsWritten) {
    const std::vector<std::pair<std::string, std::string>> keys{
        {"Codice,File\r\n", "non inizia con la riga di intestazione"},
        {"Codice,File di dati,Cognome,Nome\r\nX1,a.csv,R,M\r\n", "alla riga 2 il codice «X1»"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,a.csv,R\r\n", "alla riga 2 ha 3 campi"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,a.csv,R,M\r\nS0002,a.csv,R,M\r\n",
         "alla riga 3 il file di dati «a.csv» è vuoto o compare più volte"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,\"a.csv,R,M\r\n",
         "ha virgolette non chiuse o fuori posto"},
        {"Codice,File di dati,Cognome,Nome\r\nS0001,a.csv,Citt\xE0,M\r\n", "non è un testo UTF-8"},
    };
    for (const auto& [bytes, why] : keys) {
        const TempDir dir;
        write(dir.file("a.csv"), privateSubject(1, "A"));
        write(dir.file("studio_chiave.csv"), bytes);
        const BatchRun run = batch({"--dataset", "studio", "--pseudonimi", "a.csv"});
        EXPECT_EQ(run.status, 2) << why;
        EXPECT_THAT(run.err, HasSubstr("chiave dei codici studio_chiave.csv: il file non è una "
                                       "chiave dei codici di selvo-batch: " +
                                       why));
        EXPECT_THAT(run.err, HasSubstr("Nessun file è stato scritto."));
        EXPECT_EQ(filesIn(dir.path()).size(), 2u) << why;
        EXPECT_EQ(fileBytes(dir.file("studio_chiave.csv")), bytes);
    }
    const TempDir dir;
    write(dir.file("a.csv"), privateSubject(1, "A"));
    fs::create_directory(dir.file("studio_chiave.csv"));
    const BatchRun folder = batch({"--dataset", "studio", "--pseudonimi", "a.csv"});
    EXPECT_EQ(folder.status, 2);
    EXPECT_THAT(folder.err, HasSubstr("Impossibile leggere il file"));
    EXPECT_EQ(filesIn(dir.path()).size(), 1u);
}

// The key is a file of the run like the dataset's two: it may replace neither an input nor
// one of them.
TEST(SelvoBatchPseudonyms, AKeyInThePlaceOfAnotherFileRefusesTheRun) {
    const TempDir dir;
    write(dir.file("a.csv"), privateSubject(1, "A"));
    write(dir.file("studio_chiave.csv"), "Codice,File di dati,Cognome,Nome\r\n");
    const BatchRun input =
        batch({"--dataset", "studio", "--pseudonimi", "a.csv", "studio_chiave.csv"});
    EXPECT_EQ(input.status, 2);
    EXPECT_THAT(input.err, HasSubstr("studio_chiave.csv sostituirebbe studio_chiave.csv"));
    const BatchRun table =
        batch({"--dataset", "studio", "--pseudonimi", "--chiave", "studio.csv", "a.csv"});
    EXPECT_EQ(table.status, 2);
    EXPECT_THAT(table.err, HasSubstr("studio.csv sarebbe lo stesso file di studio.csv"));
    EXPECT_EQ(filesIn(dir.path()).size(), 2u);
}

} // namespace
