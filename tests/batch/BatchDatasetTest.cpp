// SPDX-License-Identifier: GPL-3.0-or-later
// selvo-batch --dataset: the study's table, command file, SPSS file and codebook.

#include "BatchFixture.h"

#include "datafiles/DataFile.h"
#include "datafiles/DatasetCodebook.h"
#include "datafiles/DatasetCommands.h"
#include "datafiles/DatasetTable.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

TEST(SelvoBatchDataset, HoldsTheCasesOfTheProcessedFilesInTheOrderGiven) {
    const TempDir dir;
    write(dir.file("c.csv"), testsupport::dataFileOf(subject(3, "C")));
    write(dir.file("bad.csv"), "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"3\",\"\",4\r\n");
    write(dir.file("a.csv"), testsupport::dataFileOf(subject(1, "A")));
    write(dir.file("b.csv"), testsupport::dataFileOf(subject(5, "B")));
    const std::vector<std::string> inputs{"c.csv", "bad.csv", "a.csv", "b.csv"};

    std::vector<std::string> args{"--out", "out", "--dataset", "studio"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const BatchRun run = batch(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "selvo-batch: 3 file elaborati, 1 non riuscito; 3 casi scritti in " +
                           (fs::path("out") / "studio.csv").string() + ".\n");
    EXPECT_THAT(run.err, HasSubstr("bad.csv: lettura non riuscita"));

    const std::string table = fileBytes(dir.file("out") / "studio.csv");
    ASSERT_TRUE(table.starts_with("\xEF\xBB\xBF"));
    const auto rows = tableRows(table.substr(3));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], joined({"ID", "Cognome", "Nome"}, variableNames()));
    // Each row names its input, past the one that failed.
    const fs::path out = dir.file("out");
    EXPECT_EQ(rows[1],
              joined({"c", "GRP1", "C"}, dataLineValues(out / "SELVO_SS000_GRP1_C_sps.sps")));
    EXPECT_EQ(rows[2],
              joined({"a", "GRP1", "A"}, dataLineValues(out / "SELVO_SS000_GRP1_A_sps.sps")));
    EXPECT_EQ(rows[3],
              joined({"b", "GRP1", "B"}, dataLineValues(out / "SELVO_SS000_GRP1_B_sps.sps")));

    const std::vector<selvo::DatasetTextColumn> identity{
        {"ID", 1, " Identificativo",
         "Nome del file di dati del soggetto, senza cartella ed estensione"},
        {"Cognome", 4, " Cognome", "Cognome del soggetto"},
        {"Nome", 1, " Nome", "Nome del soggetto"}};
    EXPECT_EQ(fileBytes(out / "studio.sps"), selvo::ComposeDatasetCommands("studio", identity));
    EXPECT_EQ(fileBytes(out / "studio_codebook.csv"),
              selvo::ComposeDatasetCodebook(selvo::DatasetVariables(identity)));
    EXPECT_EQ(fileBytes(out / "studio.sav").substr(92, 17), "07 Dec 2610:20:30");

    // The subjects' own files are those of a run without a dataset.
    auto withDataset = filesIn(out);
    for (const std::string& file : selvo::DatasetFileNames("studio")) {
        EXPECT_EQ(withDataset.erase(file), 1u) << file;
    }
    args = {"--out", "plain"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    batch(args);
    EXPECT_EQ(withDataset, filesIn(dir.file("plain")));
}

TEST(SelvoBatchDataset, GoesToTheCurrentFolderWithoutAnOutputFolder) {
    const TempDir dir;
    fs::create_directory(dir.file("study"));
    write(dir.file("study") / "a.csv", testsupport::dataFileOf(subject(1, "A")));
    const BatchRun run = batch({"--dataset=studio", "study/a.csv"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 0 non riusciti; 1 caso scritto in "
                       "studio.csv.\n");
    EXPECT_TRUE(fs::exists(dir.file("studio.csv")));
    EXPECT_TRUE(fs::exists(dir.file("studio.sps")));
    EXPECT_EQ(filesIn(dir.file("study")).size(), 4u);
}

TEST(SelvoBatchDataset, ARerunReplacesTheWholeOlderDataset) {
    const TempDir dir;
    write(dir.file("a.csv"), testsupport::dataFileOf(subject(1, "A")));
    write(dir.file("b.csv"), testsupport::dataFileOf(subject(2, "B")));
    ASSERT_EQ(batch({"--out", "out", "--dataset", "studio", "a.csv", "b.csv"}).status, 0);
    ASSERT_EQ(tableRows(fileBytes(dir.file("out") / "studio.csv").substr(3)).size(), 3u);
    ASSERT_EQ(batch({"--out", "out", "--dataset", "studio", "b.csv"}).status, 0);
    const auto rows = tableRows(fileBytes(dir.file("out") / "studio.csv").substr(3));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], joined({"b", "GRP1", "B"},
                              dataLineValues(dir.file("out") / "SELVO_SS000_GRP1_B_sps.sps")));
}

// An empty table would replace the study's older one: with no case, nothing is written.
TEST(SelvoBatchDataset, WithNoProcessedFileNothingIsWrittenAndTheOlderDatasetStays) {
    const TempDir dir;
    write(dir.file("studio.csv"), "older table\r\n");
    const BatchRun run = batch({"--dataset", "studio", "assente.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "selvo-batch: 0 file elaborati, 1 non riuscito; studio.csv, studio.sps, "
                       "studio.sav e studio_codebook.csv non sono stati scritti: nessun caso.\n");
    EXPECT_EQ(fileBytes(dir.file("studio.csv")), "older table\r\n");
    EXPECT_FALSE(fs::exists(dir.file("studio.sps")));
}

// Whichever of the dataset's files cannot be written, none is: the older ones stay whole.
TEST(SelvoBatchDataset, ADatasetThatCannotBeWrittenFailsTheRunAndLeavesTheOlderOne) {
    for (const std::string& blocked : selvo::DatasetFileNames("studio")) {
        const TempDir dir;
        write(dir.file("a.csv"), testsupport::dataFileOf(subject(1, "A")));
        fs::create_directories(dir.file("out") / blocked); // a folder where a file should go
        for (const std::string& file : selvo::DatasetFileNames("studio")) {
            if (file != blocked) {
                write(dir.file("out") / file, "older " + file);
            }
        }
        const BatchRun run = batch({"--out", "out", "--dataset", "studio", "a.csv"});
        EXPECT_EQ(run.status, 1) << blocked;
        const std::string shown = (fs::path("out") / "studio").string();
        EXPECT_EQ(run.out, "selvo-batch: 1 file elaborato, 0 non riusciti; " + shown + ".csv, " +
                               shown + ".sps, " + shown + ".sav e " + shown +
                               "_codebook.csv non sono stati scritti.\n");
        EXPECT_THAT(run.err, HasSubstr("Impossibile scrivere il file \"" +
                                       (dir.file("out") / blocked).string() +
                                       "\": il nome indica una cartella, non un file."));
        for (const std::string& file : selvo::DatasetFileNames("studio")) {
            if (file != blocked) {
                EXPECT_EQ(fileBytes(dir.file("out") / file), "older " + file) << blocked;
            }
        }
        EXPECT_TRUE(fs::exists(dir.file("out") / "SELVO_GRP1_A_report.rtf"));
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.file("out"))) {
            ++entries;
        }
        EXPECT_EQ(entries, 7u) << "a temporary file was left behind";
    }
}

// A study folder often holds the dataset of the run before, and "*.csv" picks it up.
TEST(SelvoBatchDataset, ANameThatWouldReplaceAnInputRefusesTheRunBeforeAnythingIsWritten) {
    const TempDir dir;
    fs::create_directory(dir.file("out"));
    write(dir.file("out") / "studio.csv", "older table\r\n");
    write(dir.file("a.csv"), testsupport::dataFileOf(subject(1, "A")));
    const BatchRun run = batch({"--out", "out", "--dataset", "studio", "a.csv", "out/studio.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("selvo-batch: --dataset studio: studio.csv sostituirebbe "
                                   "out/studio.csv, indicato in questa stessa esecuzione"));
    EXPECT_THAT(run.err, HasSubstr("Nessun file è stato scritto."));
    EXPECT_EQ(filesIn(dir.file("out")).size(), 1u);
    EXPECT_EQ(fileBytes(dir.file("out") / "studio.csv"), "older table\r\n");
}

TEST(SelvoBatchDataset, ANameThatIsASubjectsFileRefusesTheRun) {
    const TempDir dir;
    write(dir.file("a.csv"), testsupport::dataFileOf(subject(1, "A")));
    const BatchRun run = batch({"--dataset", "SELVO_GRP1_A", "a.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr("SELVO_GRP1_A.csv avrebbe lo stesso nome di un file del "
                                   "soggetto di a.csv nella stessa cartella"));
    EXPECT_EQ(filesIn(dir.path()).size(), 1u);

    // Names are compared as the file system compares them.
    write(dir.file("studio.csv"), "older table\r\n");
    const BatchRun shouting = batch({"--dataset", "STUDIO", "a.csv", "studio.csv"});
#ifdef _WIN32
    EXPECT_EQ(shouting.status, 2);
    EXPECT_THAT(shouting.err, HasSubstr("STUDIO.csv sostituirebbe studio.csv"));
#else
    EXPECT_EQ(shouting.status, 1) << shouting.err; // studio.csv is no data file
    EXPECT_TRUE(fs::exists(dir.file("STUDIO.csv")));
#endif
    EXPECT_EQ(fileBytes(dir.file("studio.csv")), "older table\r\n");
}

// Two data files of one name from two folders would be two rows of one ID.
TEST(SelvoBatchDataset, TwoDataFilesOfOneNameAreBothRefused) {
    const TempDir dir;
    for (const char* folder : {"a", "b"}) {
        fs::create_directory(dir.file(folder));
        write(dir.file(folder) / "x.csv", testsupport::dataFileOf(subject(1, folder)));
    }
    const BatchRun run = batch({"--dataset", "studio", "a/x.csv", "b/x.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("a/x.csv: ha lo stesso nome di b/x.csv: nel dataset"));
    EXPECT_THAT(run.err, HasSubstr("b/x.csv: ha lo stesso nome di a/x.csv"));
    EXPECT_FALSE(fs::exists(dir.file("studio.csv")));
}

} // namespace
