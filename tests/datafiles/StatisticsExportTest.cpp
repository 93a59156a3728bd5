// SPDX-License-Identifier: GPL-3.0-or-later

#include "datafiles/StatisticsExport.h"
#include "ExportFixture.h"
#include "platform/FileError.h"
#include "platform/Paths.h"
#include "scoring/Scores.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#ifndef _WIN32
#include "support/Unprivileged.h"
#include <sys/stat.h>
#endif

namespace {

std::vector<std::string> exportLines(ExportSubject& state) {
    return linesOf(composedExport(state));
}

// Names declared by the two definition lines, in order.
std::vector<std::string> definedNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    const std::regex definition(R"(([A-Za-z][A-Za-z0-9_]*)\((F8\.0|F8|A10)\))");
    for (const std::string& line : {lines.at(8), lines.at(9)}) {
        for (std::sregex_iterator it(line.begin(), line.end(), definition), end; it != end; ++it) {
            names.push_back((*it)[1]);
        }
    }
    return names;
}

std::vector<std::string> blankSeparated(const std::string& line) {
    std::vector<std::string> values;
    std::istringstream in(line);
    for (std::string value; in >> value;) {
        values.push_back(value);
    }
    return values;
}

TEST(StatisticsExport, OpensWithTheBannerAndTheDefinitionOfTheFirstVariables) {
    ExportSubject state = scoredSubject();
    const auto lines = exportLines(state);
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[0], std::string(34, '*'));
    EXPECT_EQ(lines[1], "*" + std::string(32, ' ') + "*");
    for (int row : {2, 3}) {
        EXPECT_EQ(lines[row].size(), 34u) << lines[row];
        EXPECT_EQ(lines[row].substr(0, 3), "*  ");
        EXPECT_EQ(lines[row].back(), '*');
    }
    EXPECT_EQ(lines[4], lines[1]);
    EXPECT_EQ(lines[5], lines[0]);
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "");
    EXPECT_TRUE(lines[8].starts_with("DATA LIST FREE/  Card(F8.0)  Sex(F8.0)  Eta(F8.0)  "
                                     "STCIV(F8.0)  TITSTUD(F8.0)  CODICE(A10)t1_1(F8) "
                                     "t2_1(F8) t3_1(F8) "))
        << lines[8];
    EXPECT_NE(lines[8].find(" t93_1(F8) t94_1(F8)  d1_1(F8.0)  d2_1(F8.0) "), std::string::npos);
    EXPECT_TRUE(lines[8].ends_with(" d93_1(F8.0)  d94_1(F8.0) "));
    EXPECT_TRUE(lines[9].starts_with("par1t(F8.0) sz1t(F8.0) "));
    EXPECT_TRUE(lines[9].ends_with("CLCDX5(F8.0) TOTDX5(F8.0) ."));
    EXPECT_EQ(lines[10], "BEGIN DATA");
    EXPECT_EQ(lines[12], "END DATA.");
}

TEST(StatisticsExport, DefinesTheFourHundredSixtyTwoVariablesInOrder) {
    ExportSubject state = scoredSubject();
    const auto names = definedNames(exportLines(state));
    ASSERT_EQ(names.size(), 462u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 462u);
    const std::vector<std::pair<std::size_t, std::string>> landmarks = {
        {0, "Card"},       {4, "TITSTUD"},  {5, "CODICE"},     {6, "t1_1"},     {99, "t94_1"},
        {100, "d1_1"},     {193, "d94_1"},  {194, "par1t"},    {206, "clA1t"},  {209, "tot1t"},
        {210, "PARTOTX4"}, {218, "PARDX4"}, {254, "BDL56X4"},  {255, "BDL7X4"}, {258, "BDL10X4"},
        {328, "CLATOTX4"}, {335, "TOTDX4"}, {336, "PARTOTX5"}, {461, "TOTDX5"}};
    for (const auto& [index, name] : landmarks) {
        EXPECT_EQ(names[index], name) << "variable " << index;
    }
}

TEST(StatisticsExport, DataLineCarriesOneValuePerVariableFromTheState) {
    ExportSubject state = scoredSubject();
    const selvo::AnswerSet answers = state.answers;
    const selvo::DimensionalScores dimensional = selvo::ComputeDimensionalScores(answers.agreement);
    const selvo::CategoricalScores x4 = selvo::ComputeCriteriaX4(answers);
    const selvo::CategoricalScores x5 = selvo::ComputeCriteriaX5(answers);

    const auto lines = exportLines(state);
    const std::string& line = lines.at(11);
    EXPECT_TRUE(
        line.starts_with(" 7  2 35 3 4 pz  " + std::to_string(state.answers.agreement[1]) + " "))
        << line;
    EXPECT_TRUE(line.ends_with("  " + std::to_string(x5.allClusters.diagnoses) + "   ")) << line;

    const auto values = blankSeparated(line);
    ASSERT_EQ(values.size(), 462u);
    const auto names = definedNames(lines);
    const auto valueOf = [&](const std::string& name) {
        return values.at(
            static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin()));
    };
    EXPECT_EQ(valueOf("t94_1"), std::to_string(state.answers.agreement[94]));
    EXPECT_EQ(valueOf("d94_1"), std::to_string(state.answers.distress[94]));
    EXPECT_EQ(valueOf("par1t"),
              std::to_string(dimensional.disorders[selvo::questionnaire::PAR].total));
    EXPECT_EQ(valueOf("tot1t"), std::to_string(dimensional.allClusters.total));
    EXPECT_EQ(valueOf("PARTOTX4"),
              std::to_string(x4.disorders[selvo::questionnaire::PAR].criteriaMet));
    EXPECT_EQ(valueOf("BDL56X4"), std::to_string(static_cast<int>(
                                      x4.disorders[selvo::questionnaire::BDL].criteria[4].met)));
    EXPECT_EQ(valueOf("TOTTOTX4"), std::to_string(x4.allClusters.criteriaMet));
    EXPECT_EQ(valueOf("PARTOTX5"),
              std::to_string(x5.disorders[selvo::questionnaire::PAR].criteriaMet));
    EXPECT_EQ(valueOf("TOTTOTX5"), std::to_string(x5.allClusters.criteriaMet));
    // The two thresholds must differ for this subject, or the test could not tell them apart.
    EXPECT_NE(x4.allClusters.criteriaMet, x5.allClusters.criteriaMet);
}

TEST(StatisticsExport, CarriesTheCaseCodeAndTheX5Results) {
    ExportSubject state = scoredSubject();
    const selvo::CategoricalScores x5 = selvo::ComputeCriteriaX5(state.answers);
    const auto lines = exportLines(state);
    const auto values = blankSeparated(lines.at(11));
    const auto names = definedNames(lines);
    const auto valueOf = [&](const std::string& name) {
        return values.at(
            static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin()));
    };
    EXPECT_EQ(valueOf("CODICE"), "pz");
    EXPECT_EQ(valueOf("TOTTOTX5"), std::to_string(x5.allClusters.criteriaMet));
    EXPECT_EQ(valueOf("PARDX5"),
              std::to_string(static_cast<int>(x5.disorders[selvo::questionnaire::PAR].diagnosed)));
}

// Other writers take the case from these three; they must agree with the command file itself.
TEST(StatisticsCase, VariablesAreTheDefinitionsOfTheCommandFile) {
    ExportSubject state = scoredSubject();
    const auto lines = exportLines(state);
    std::vector<std::pair<std::string, std::string>> defined;
    const std::regex definition(R"(([A-Za-z][A-Za-z0-9_]*)\((F8\.0|F8|A10)\))");
    for (const std::string& line : {lines.at(8), lines.at(9)}) {
        for (std::sregex_iterator it(line.begin(), line.end(), definition), end; it != end; ++it) {
            defined.emplace_back((*it)[1], (*it)[2]);
        }
    }
    std::vector<std::pair<std::string, std::string>> variables;
    for (const auto& variable : selvo::StatisticsVariables()) {
        variables.emplace_back(variable.name, variable.format);
    }
    EXPECT_EQ(variables, defined);
}

TEST(StatisticsCase, ValuesAreTheDataLinesValuesWithoutTheirQuotes) {
    ExportSubject state = scoredSubject();
    const auto onTheLine = blankSeparated(exportLines(state).at(11));
    const auto values = caseValues(state);
    EXPECT_EQ(values, onTheLine);
    EXPECT_EQ(values.at(5), "pz");

    // A text the data line must quote is the plain text here, still on one line.
    state.subject.age = "35 anni,\r\n\"circa\"";
    EXPECT_EQ(caseValues(state).at(2), "35 anni,  \"circa\"");
}

TEST(StatisticsCase, LabelsAreTheCommandFilesLabelsOfItsVariables) {
    ExportSubject state = scoredSubject();
    std::vector<std::pair<std::string, std::string>> written;
    const std::regex labelLine(R"(variable labels +(\S+) +'(.*)'\.)");
    for (const std::string& line : exportLines(state)) {
        std::smatch match;
        if (std::regex_match(line, match, labelLine) && match[1] != "Nome" &&
            match[1] != "Cognome") {
            written.emplace_back(match[1], match[2]);
        }
    }
    std::vector<std::pair<std::string, std::string>> labels;
    for (const auto& label : selvo::StatisticsVariableLabels(state.itemTexts)) {
        labels.emplace_back(label.name, label.label);
    }
    ASSERT_EQ(labels.size(), 6u + 94u + 16u + 64u);
    EXPECT_EQ(labels, written);
}

struct FreeFormatCase {
    const char* name;
    std::string age;
    std::string written;
};
void PrintTo(const FreeFormatCase& c, std::ostream* os) {
    *os << c.name;
}

class AgeOnTheDataLine : public testing::TestWithParam<FreeFormatCase> {};

TEST_P(AgeOnTheDataLine, StaysOneValue) {
    ExportSubject state = scoredSubject();
    state.subject.age = GetParam().age;
    const std::string line = exportLines(state).at(11);
    EXPECT_TRUE(line.starts_with(" 7  2 " + GetParam().written + " 3 4 pz  ")) << line;
}

INSTANTIATE_TEST_SUITE_P(
    StatisticsExport, AgeOnTheDataLine,
    testing::Values(FreeFormatCase{"PlainNumber", "35", "35"},
                    FreeFormatCase{"WithBlank", "35 anni", "'35 anni'"},
                    FreeFormatCase{"Empty", "", "''"},
                    FreeFormatCase{"WithComma", "35,5", "'35,5'"},
                    FreeFormatCase{"TabBecomesABlank", "35\tanni", "'35 anni'"},
                    // Free-format data knows no doubled apostrophe: a
                    // doubled one ended the value and shifted the rest.
                    FreeFormatCase{"WithApostropheInQuotationMarks", "trent'anni",
                                   "\"trent'anni\""},
                    FreeFormatCase{"WithDoubleQuote", "\"35\"", "'\"35\"'"},
                    FreeFormatCase{"WithBothQuotes", "l'età \"35\"", "\"l'età '35'\""},
                    FreeFormatCase{"LineBreaksBecomeBlanks", "35\r\nHOST COMMAND=['x'].",
                                   "\"35  HOST COMMAND=['x'].\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatisticsExport, LabelsItemsWithTheFilteredText) {
    ExportSubject state = scoredSubject();
    const auto lines = exportLines(state);
    EXPECT_EQ(lines.at(20), " ");
    EXPECT_EQ(lines.at(21), "variable labels  Card  ' Card'.");
    EXPECT_EQ(lines.at(28), "variable labels  CODICE  ' Note'.");
    EXPECT_EQ(lines.at(29), "variable labels   t1_1  'It:Testo di prova dell^elemento 1 '.");
    EXPECT_EQ(lines.at(31), "variable labels   t3_1  'It:Prima riga con l^apostrofo--seconda "
                            "riga '.");
    EXPECT_EQ(lines.at(32), "variable labels   t4_1  'It:Perché sì, è così '.");
    EXPECT_EQ(lines.at(122), "variable labels   t94_1  'It:Testo di prova dell^elemento 94 '.");
}

TEST(StatisticsExport, LabelsScalesCountsAndDiagnoses) {
    ExportSubject state = scoredSubject();
    const auto lines = exportLines(state);
    const std::vector<std::pair<std::size_t, std::string>> expected = {
        {123, " "},
        {124, std::string(18, '*')},
        {125, "Scale Dimensionali"},
        {126, " "},
        {127, "variable labels  par1t  'PAR tot'."},
        {136, "variable labels  oc1t  'O_C tot'."},
        {142, "variable labels  tot1t  'TotCLU tot'."},
        {143, " "},
        {144, "variable labels  PARTOTX4  'PAR tot criteri X4'."},
        {154, "variable labels  DETOTX4  'NOS DE tot criteri X4'."},
        {159, "variable labels  TOTTOTX4  'CLTOT tot criteri X4'."},
        {160, "variable labels  PARDX4  'PAR  DIAGNOSI X4'."},
        {171, "variable labels  PADX4  'NOS PA  DIAGNOSI X4'."},
        {172, "variable labels  CLADX4  'CLA tot DIAGNOSI X4'."},
        {175, "variable labels  TOTDX4  'CLTOT tot DIAGNOSI X4'."},
        {176, " "},
        {177, "variable labels  PARTOTX5  'PAR tot criteri X5'."},
        {208, "variable labels  TOTDX5  'CLTOT tot DIAGNOSI X5'."}};
    for (const auto& [index, line] : expected) {
        EXPECT_EQ(lines.at(index), line) << "line " << index;
    }
}

TEST(StatisticsExport, EndsWithTheSaveAndTheCommentedMergeWithApostrophesDoubled) {
    ExportSubject state = scoredSubject();
    state.subject.surname = "D'Amico";
    const std::string text = composedExport(state);
    const auto lines = linesOf(text);
    ASSERT_EQ(lines.size(), 223u);
    const std::vector<std::string> tail(lines.begin() + 209, lines.end());
    const std::vector<std::string> expected = {
        " ",
        " SAVE OUTFILE='.\\SELVO_SS000_D''Amico_S01_sav.sav'  /COMPRESSED.",
        " ",
        " ",
        "* importa il file scid-ii del soggetto",
        " ",
        "* MATCH FILES /FILE=*",
        "* /FILE='.\\SCIDII_Crit_D''Amico_S01_sav.sav'",
        "* /RENAME (Card CODICE Eta Sex STCIV TITSTUD = d0 d1 d2 d3 d4 d5)",
        "* /DROP= d0 d1 d2 d3 d4 d5.",
        "* EXECUTE.",
        " ",
        " ",
        "* SAVE OUTFILE='.\\SELVO_SCIDII_D''Amico_S01_sav.sav'  /COMPRESSED."};
    EXPECT_EQ(tail, expected);
    EXPECT_TRUE(text.ends_with("/COMPRESSED.\r\n"));
    EXPECT_EQ(lines.at(13), "");
    EXPECT_EQ(lines.at(15), "CLEAR TRANSFORMATION.");
    EXPECT_EQ(lines.at(18), std::string(59, '*'));
    EXPECT_EQ(lines.at(19), "*VARNAMES ");
}

TEST(CleanLabelText, KeepsTheLabelInsideItsQuotes) {
    EXPECT_EQ(selvo::CleanLabelText("l'altro\r\nrigo\ne 'fine'"), "l^altro--rigo-e ^fine^");
    EXPECT_EQ(selvo::CleanLabelText("Perché \"sì\""), "Perché \"sì\"");
    EXPECT_EQ(selvo::CleanLabelText(""), "");
}

TEST(WriteStatisticsExport, NamesTheFileAfterTheSubjectInCodePage1252) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    ASSERT_FALSE(writeExport(state, selvo::utf8Of(dir.path())));
    EXPECT_EQ(exportFileName(state), "SELVO_SS000_GRP1_S01_sps.sps");
    const std::string bytes = fileBytes(dir.file(exportFileName(state)));
    EXPECT_TRUE(bytes.starts_with(std::string(34, '*') + "\r\n"));
    EXPECT_NE(bytes.find("'It:Perch\xE9 s\xEC, \xE8 cos\xEC '."), std::string::npos);
}

TEST(WriteStatisticsExport, NameOutsideCodePage1252GoesOutAsMarkedUtf8) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    state.subject.surname = "Ștefan";
    ASSERT_FALSE(writeExport(state, selvo::utf8Of(dir.path())));
    EXPECT_EQ(exportFileName(state), "SELVO_SS000_Ștefan_S01_sps.sps");
    const std::string bytes = fileBytes(dir.path() / selvo::pathFromUtf8(exportFileName(state)));
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF" + std::string(34, '*')));
    EXPECT_NE(bytes.find("OUTFILE='.\\SELVO_SS000_Ștefan_S01_sav.sav'"), std::string::npos);
    EXPECT_NE(bytes.find("'It:Perché sì, è così '."), std::string::npos);
}

#ifndef _WIN32 // POSIX permissions, links and pipes
TEST(WriteStatisticsExport, ReadOnlyFolderKeepsTheOlderFileAndReportsNameAndReason) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    ASSERT_FALSE(writeExport(state, selvo::utf8Of(dir.path())));
    const std::string before = fileBytes(dir.file(exportFileName(state)));
    state.subject.age = "36";
    chmod(dir.path().c_str(), 0555);
    std::optional<selvo::FileError> error;
    {
        Unprivileged asUser;
        error = writeExport(state, selvo::utf8Of(dir.path()));
    }
    chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(error);
    EXPECT_EQ(std::filesystem::path(error->fileName).filename(), "SELVO_SS000_GRP1_S01_sps.sps");
    EXPECT_EQ(error->reason, "permesso negato (la cartella o il file non sono scrivibili).");
    EXPECT_EQ(fileBytes(dir.file("SELVO_SS000_GRP1_S01_sps.sps")), before);
}
#endif

} // namespace
