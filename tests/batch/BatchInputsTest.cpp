// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs selvo-batch takes besides data files: a study folder and a list of files.

#include "BatchFixture.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

// A study folder given whole: its data files, whatever their names, and neither the files of
// the folders inside nor what earlier runs wrote beside them (a dataset, a key of codes).
TEST(SelvoBatchInputs, AFolderStandsForItsDataFilesAndAListForItsLines) {
    const TempDir dir;
    fs::create_directories(dir.file("studio/dentro"));
    write(dir.file("studio/b.csv"), testsupport::dataFileOf(subject(2, "B")));
    write(dir.file("studio/A.CSV"), testsupport::dataFileOf(subject(1, "A")));
    write(dir.file("studio/dentro/c.csv"), testsupport::dataFileOf(subject(3, "C")));
    write(dir.file("studio/vecchio.csv"), "\xEF\xBB\xBFID,Card,Sex\r\nS0001,0,1\r\n");
    write(dir.file("studio/vecchio_chiave.csv"), "\xEF\xBB\xBF"
                                                 "Codice,File di dati,Cognome,Nome\r\n");
    write(dir.file("studio/note.txt"), "not a data file");
    const BatchRun folder = batch({"--out", "out", "--dataset", "tutti", "studio"});
    EXPECT_EQ(folder.status, 0) << folder.err;
    EXPECT_THAT(folder.out, HasSubstr("selvo-batch: 2 file elaborati, 0 non riusciti; 2 casi"));
    EXPECT_EQ(tableRows(fileBytes(dir.file("out/tutti.csv")).substr(3))[1][0], "A");
    EXPECT_THAT(folder.err, HasSubstr((fs::path("studio") / "vecchio.csv").string() +
                                      ": lasciato fuori: è il dataset di un'esecuzione di "
                                      "selvo-batch, non un file di dati."));
    EXPECT_THAT(folder.err,
                HasSubstr("vecchio_chiave.csv: lasciato fuori: è una chiave dei codici"));

    // A list as an editor saves it: a byte-order mark, CR LF, blank lines; a folder in it too.
    write(dir.file("elenco.txt"), "\xEF\xBB\xBFstudio/b.csv\r\n\r\n  \r\nstudio/dentro\r\n");
    const BatchRun listed = batch({"--out", "out2", "--elenco", "elenco.txt"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "selvo-batch: 2 file elaborati, 0 non riusciti.\n");
    EXPECT_EQ(filesIn(dir.file("out2")).size(), 6u);

    write(dir.file("rotto.txt"), "studio/b.csv\nstudio/Citt\xE0.csv\n");
    const BatchRun broken = batch({"--elenco=rotto.txt", "studio/b.csv"});
    EXPECT_EQ(broken.status, 2);
    EXPECT_THAT(broken.err, HasSubstr("l'elenco \"rotto.txt\": la riga 2 non è testo UTF-8"));
}

} // namespace
