// SPDX-License-Identifier: GPL-3.0-or-later
// selvo-batch's command line: the status and message of each mistake, and the exit status
// of the installed program.

#include "BatchFixture.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/wait.h>
#endif

using testing::HasSubstr;

namespace {

using namespace batch_fixture;

struct ArgsCase {
    const char* label;
    std::vector<std::string> args;
    int status;
    const char* said; // on stderr for errors, on stdout for help
};
void PrintTo(const ArgsCase& c, std::ostream* os) {
    *os << c.label;
}

class SelvoBatchCommandLine : public testing::TestWithParam<ArgsCase> {};

TEST_P(SelvoBatchCommandLine, AnswersWithItsStatus) {
    const TempDir dir;
    write(dir.file("taken"), "a file where a folder is asked for");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(selvo::BatchMain(GetParam().args, out, err, selvo::ProgressLine::None),
              GetParam().status);
    EXPECT_THAT(out.str() + err.str(), HasSubstr(GetParam().said));
}

INSTANTIATE_TEST_SUITE_P(
    Args, SelvoBatchCommandLine,
    testing::Values(
        ArgsCase{"NoFiles", {}, 2, "nessun file di dati indicato"},
        ArgsCase{"OutWithoutFolder", {"--out"}, 2, "--out richiede"},
        ArgsCase{"EmptyOut", {"--out=", "a.csv"}, 2, "--out richiede"},
        ArgsCase{"OutTwice", {"--out", "a", "--out", "b", "x.csv"}, 2, "più volte"},
        ArgsCase{"UnknownOption", {"-v", "x.csv"}, 2, "opzione sconosciuta: -v"},
        ArgsCase{
            "Help",
            {"--help"},
            0,
            "Uso: selvo-batch [--out CARTELLA] [--sostituisci] [--dataset NOME\n                  "
            "[--pseudonimi [--chiave FILE]]] [--elenco ELENCO] FILE..."},
        ArgsCase{"DatasetWithoutName", {"x.csv", "--dataset"}, 2, "--dataset richiede un nome"},
        ArgsCase{"EmptyDataset", {"--dataset=", "x.csv"}, 2, "--dataset richiede un nome"},
        ArgsCase{"DatasetTwice",
                 {"--dataset", "a", "--dataset=b", "x.csv"},
                 2,
                 "--dataset indicato più volte"},
        ArgsCase{"DatasetInAFolder",
                 {"--dataset", "out/studio", "x.csv"},
                 2,
                 "contiene una cartella: indicare solo il nome"},
        ArgsCase{"DatasetWithExtension", {"--dataset=studio.csv", "x.csv"}, 2, "senza estensione"},
        ArgsCase{"OptionTakenForADatasetName",
                 {"--dataset", "--out", "o", "x.csv"},
                 2,
                 "come un'opzione"},
        ArgsCase{"OutIsAFile", {"--out", "taken", "x.csv"}, 2, "taken"},
        // 252 letters fit, but 252 + ".csv" do not: refused before x.csv is looked at.
        ArgsCase{"DatasetNameTooLongForTheFolder",
                 {"--dataset", std::string(252, 'd'), "x.csv"},
                 2,
                 ".csv supera i 255 "},
        ArgsCase{"KeyWithoutPseudonyms",
                 {"--dataset", "studio", "--chiave", "k.csv", "x.csv"},
                 2,
                 "--chiave indica dove scrivere la chiave dei codici, che esiste solo con "
                 "--pseudonimi"},
        ArgsCase{"PseudonymsWithoutDataset", {"--pseudonimi", "x.csv"}, 2, "aggiungere --dataset"},
        ArgsCase{"KeyInAMissingFolder",
                 {"--dataset", "s", "--pseudonimi", "--chiave", "assente/k.csv", "x.csv"},
                 2,
                 "non esiste: crearla prima"},
        ArgsCase{"KeyIsADevice",
                 {"--dataset", "s", "--pseudonimi", "--chiave", "CON.csv", "x.csv"},
                 2,
                 "il nome «CON.csv» è un nome che Windows riserva ai dispositivi"},
        ArgsCase{"KeyIsADeviceInAFolder",
                 {"--dataset", "s", "--pseudonimi", "--chiave=chiavi/lpt²", "x.csv"},
                 2,
                 "riserva ai dispositivi"},
        ArgsCase{"KeyIsADeviceInAWindowsFolder",
                 {"--dataset", "s", "--pseudonimi", "--chiave", "chiavi\\conout$. ", "x.csv"},
                 2,
                 "riserva ai dispositivi"},
        ArgsCase{"DashDashThenDashFile", {"--", "-x.csv"}, 1, "-x.csv: lettura"},
        ArgsCase{"ListWithoutFile", {"--elenco"}, 2, "--elenco richiede il nome di un file"},
        ArgsCase{"MissingList", {"--elenco", "assente.txt"}, 2, "Impossibile leggere il file"},
        ArgsCase{"FolderWithoutDataFiles", {"."}, 2, "nessun file di dati da elaborare"},
        ArgsCase{"MissingFile", {"assente.csv"}, 1, "0 file elaborati, 1 non riuscito."}),
    [](const testing::TestParamInfo<ArgsCase>& info) { return info.param.label; });

// The installed program itself: its exit status reaches the shell.
TEST(SelvoBatchProgram, ExitStatusTellsSuccessFailureAndUsage) {
    const TempDir dir;
    write(dir.file("s.csv"), testsupport::dataFileOf(subject(1)));
#ifdef _WIN32
    // Under Wine the program's Linux path reaches cmd.exe as a Windows one on drive Z:.
    std::string program = std::string("Z:") + SELVO_BATCH;
    std::replace(program.begin(), program.end(), '/', '\\');
    const auto status = [&program](const std::string& args) {
        return std::system(("\"" + program + "\" " + args + " >NUL 2>&1").c_str());
    };
#else
    const auto status = [](const std::string& args) {
        const int raw =
            std::system((std::string(SELVO_BATCH) + " " + args + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
#endif
    EXPECT_EQ(status("s.csv"), 0);
    EXPECT_EQ(status("s.csv assente.csv"), 1);
    EXPECT_EQ(status(""), 2);
}

} // namespace
