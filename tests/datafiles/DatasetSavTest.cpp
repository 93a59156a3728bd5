// SPDX-License-Identifier: GPL-3.0-or-later
// The study dataset's .sav and codebook as composed in memory, and the numbers of its cells as
// SPSS and PSPP read them. What PSPP, R and others make of the files is in the interop tests.
#include "datafiles/DatasetSav.h"
#include "ExportFixture.h"
#include "datafiles/DatasetCodebook.h"
#include "datafiles/DatasetTable.h"
#include "datafiles/SpssNumber.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

struct FieldCase {
    const char* field;
    std::optional<double> number;
};

// Each as PSPP 1.6 read it from a dataset's table.
TEST(SpssFieldNumber, ReadsAFieldAsPsppReadsItIntoAnFFormat) {
    const std::optional<double> missing;
    for (const auto& [field, number] :
         std::vector<FieldCase>{{"35", 35},
                                {" 35 ", 35},
                                {"+35", 35},
                                {"- 3", -3},
                                {"3.5", 3.5},
                                {".5", 0.5},
                                {"5.", 5},
                                {"1e3", 1000},
                                {"1E+3", 1000},
                                {"1e-2", 0.01},
                                {"1d2", 100},
                                {"1+3", 1000},
                                {"1-3", 0.001},
                                {"-.5e1", -5},
                                {"+", 0},
                                {"", missing},
                                {"  ", missing},
                                {".", missing},
                                {"-", missing},
                                {"--3", missing},
                                {"1,5", missing},
                                {"35 anni", missing},
                                {"trent'anni", missing},
                                {"'=1+1", missing},
                                {"1 000", missing},
                                {"1e", missing},
                                {"e3", missing},
                                {"1.2.3", missing},
                                {"inf", missing},
                                {"0x10", missing},
                                {"1e400", missing},
                                {"1e-310", missing},
                                {"12345678901234567890", 12345678901234567890.0}}) {
        EXPECT_EQ(selvo::SpssFieldNumber(field), number) << "«" << field << "»";
    }
}

std::vector<selvo::DatasetVariable> variables(std::size_t idWidth) {
    const std::vector<selvo::DatasetTextColumn> id{{"ID", idWidth, " Identificativo", "Chi è"}};
    return selvo::DatasetVariables(id, scoredSubject().itemTexts);
}

selvo::DatasetTable tableOf(const std::vector<std::string>& ids, const std::string& age) {
    selvo::DatasetTable table({"ID"});
    for (const std::string& id : ids) {
        std::vector<std::string> values(selvo::StatisticsVariables().size() + 1, "1");
        values[0] = id;
        values[3] = age;
        table.addCase(values);
    }
    return table;
}

// The table is read back, cell by cell, as a reader of it gets each one: unquoted, with the
// formula guard.
TEST(DatasetTable, ReadsBackEveryCellAsAReaderGetsIt) {
    selvo::DatasetTable table({"ID"});
    const std::vector<std::string> first{"-prova", "\"circa\" 40, forse", "l'età\r\n", "", "-2"};
    table.addCase(first);
    table.addCase({"b", "=1"});
    std::vector<std::vector<std::string>> read;
    table.forEachCase([&read](const std::vector<std::string>& cells) { read.push_back(cells); });
    EXPECT_EQ(read, (std::vector<std::vector<std::string>>{
                        {"'-prova", "\"circa\" 40, forse", "l'età\r\n", "", "-2"}, {"b", "'=1"}}));
    EXPECT_EQ(selvo::DatasetCellText("-prova"), "'-prova");
}

// The header is dated as the reports are, whatever the system's time zone, and nothing else
// in the file depends on when or where it was composed.
TEST(DatasetSav, IsDatedWithTheRunsTimeAndOtherwiseTheSameEveryTime) {
    const selvo::DatasetTable table = tableOf({"a", "b"}, "35");
    const auto first = selvo::ComposeDatasetSav(variables(1), table, "07/12/2026 10:20:30");
    const auto again = selvo::ComposeDatasetSav(variables(1), table, "07/12/2026 10:20:30");
    ASSERT_TRUE(std::holds_alternative<std::string>(first));
    const std::string& bytes = std::get<std::string>(first);
    EXPECT_TRUE(bytes.starts_with("$FL2"));
    EXPECT_EQ(bytes.substr(92, 17), "07 Dec 2610:20:30");
    EXPECT_EQ(bytes, std::get<std::string>(again));
    const auto later = selvo::ComposeDatasetSav(variables(1), table, "31/01/2027 23:59:59");
    EXPECT_EQ(std::get<std::string>(later).substr(92, 17), "31 Jan 2723:59:59");
    EXPECT_TRUE(std::holds_alternative<selvo::SavFault>(
        selvo::ComposeDatasetSav(variables(1), table, "2026-12-07 10:20")));
}

// A reader would cut a text wider than its variable: no file is better than a cut ID.
TEST(DatasetSav, ATextWiderThanItsVariableIsRefusedWithTheReason) {
    const auto composed =
        selvo::ComposeDatasetSav(variables(2), tableOf({"ab", "abc"}, "35"), "07/12/2026 10:20:30");
    ASSERT_TRUE(std::holds_alternative<selvo::SavFault>(composed));
    EXPECT_EQ(std::get<selvo::SavFault>(composed).reason,
              "il testo di ID supera i 2 byte della variabile.");
}

TEST(DatasetCodebook, DescribesEveryVariableInTheDatasetsOrder) {
    const auto defined = variables(12);
    const std::string bytes = selvo::ComposeDatasetCodebook(defined);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    const auto lines = linesOf(bytes.substr(3));
    ASSERT_EQ(lines.size(), 1 + defined.size());
    EXPECT_EQ(lines[0], "Variabile,Etichetta,Descrizione,Tipo,Etichette dei valori");
    EXPECT_EQ(lines[1], "ID,Identificativo,Chi è,testo (A12),");
    EXPECT_EQ(lines[3], "Sex,Sex,Sesso,numerico (F8.0),1 = MASCHIO; 2 = FEMMINA");
    EXPECT_EQ(lines[9], "t2_1,It:Testo di prova dell^elemento 2,\"Item 2: accordo, da 1 a 7 "
                        "(0 senza risposta)\",numerico (F8.0),");
    // A variable the command file leaves unlabelled is still described.
    const auto criterion = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("PAR1X4,");
    });
    ASSERT_NE(criterion, lines.end());
    EXPECT_EQ(*criterion, "PAR1X4,,\"Criterio 1 del disturbo Paranoide (item 1) soddisfatto, "
                          "soglia X4 (accordo almeno 5 e disagio almeno 2): 1 sì, 0 no\","
                          "numerico (F8.0),");
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find(",,,"), std::string::npos) << "a variable without a description";
    }
}

} // namespace
