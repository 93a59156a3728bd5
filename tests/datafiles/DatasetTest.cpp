// SPDX-License-Identifier: GPL-3.0-or-later

#include "ExportFixture.h"
#include "datafiles/DatasetCommands.h"
#include "datafiles/DatasetTable.h"
#include "datafiles/PseudonymKey.h"
#include "datafiles/StatisticsExport.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(DatasetTable, StartsWithTheMarkAndAHeaderRowOfTheVariableNames) {
    const selvo::DatasetTable table;
    EXPECT_EQ(table.cases(), 0u);
    const std::string& bytes = table.bytes();
    ASSERT_TRUE(bytes.starts_with(kBom + "Card,Sex,Eta,STCIV,TITSTUD,CODICE,t1_1,t2_1,"));
    EXPECT_TRUE(bytes.ends_with(",CLCDX5,TOTDX5\r\n"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), ','), 461);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1);
}

TEST(DatasetTable, QuotesOnlyTheValuesThatNeedItAndDoublesTheirQuotes) {
    selvo::DatasetTable table;
    const std::size_t header = table.bytes().size();
    table.addCase({"7", "2", "35", "3", "4", "pz"});
    table.addCase({"8", "1", "35,5", "\"circa\" 40", "l'età\r\n", ""});
    EXPECT_EQ(table.cases(), 2u);
    EXPECT_EQ(table.bytes().substr(header), "7,2,35,3,4,pz\r\n"
                                            "8,1,\"35,5\",\"\"\"circa\"\" 40\",\"l'età\r\n\",\r\n");
}

// A text cell that begins like a formula gets the guard inside quotes; a negative number stays
// a number.
TEST(DatasetTable, NoTextCellIsAFormula) {
    selvo::DatasetTable table;
    const std::size_t header = table.bytes().size();
    table.addCase({"-7", "=1+1", "@SUM(A1)", "+39", "-2.5", "'-x", "\tx", "-", "a=b", "'x"});
    EXPECT_EQ(table.bytes().substr(header),
              "-7,\"'=1+1\",\"'@SUM(A1)\",\"'+39\",-2.5,\"''-x\",\"'\tx\",\"'-\",a=b,'x\r\n");
}

struct NameCase {
    const char* label;
    std::string name;
    const char* fault; // a part of the message, or nullptr when the name is accepted
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.label;
}

class DatasetName : public testing::TestWithParam<NameCase> {};

TEST_P(DatasetName, IsAcceptedOrRefusedWithTheReason) {
    const auto fault = selvo::DatasetNameFault(GetParam().name);
    if (GetParam().fault == nullptr) {
        EXPECT_FALSE(fault) << *fault;
    } else {
        ASSERT_TRUE(fault);
        EXPECT_NE(fault->find(GetParam().fault), std::string::npos) << *fault;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dataset, DatasetName,
    testing::Values(NameCase{"Plain", "studio", nullptr},
                    NameCase{"BlanksAndAccents", "studio città 2026", nullptr},
                    NameCase{"BeyondCodePage1252", "Ștefan_Łódź", nullptr},
                    NameCase{"ApostropheAndDots", "l'indagine.v2", nullptr},
                    NameCase{"Empty", "", "richiede un nome"},
                    NameCase{"Folder", "ricalcolati/studio", "contiene una cartella"},
                    NameCase{"WindowsFolder", "ricalcolati\\studio", "contiene una cartella"},
                    NameCase{"LooksLikeAnOption", "--out", "come un'opzione"},
                    NameCase{"WindowsForbidden", "a:b", "il carattere «:»"},
                    NameCase{"Control", "a\x1B[2Jb", "di controllo"},
                    NameCase{"Invisible", "a\u202Eb", "invisibile"},
                    NameCase{"NotUtf8", "a\xFF", "di controllo o invisibile"},
                    NameCase{"Dots", "..", "non può essere il nome di un file"},
                    NameCase{"TrailingBlank", "studio ", "non può essere il nome di un file"},
                    NameCase{"WithExtension", "studio.csv", "senza estensione"},
                    NameCase{"WithCommandExtension", "studio.SPS", "senza estensione"},
                    // Names Windows keeps for its devices, in any case and dress.
                    NameCase{"Con", "con", "riserva ai dispositivi"},
                    NameCase{"Prn", "PRN", "riserva ai dispositivi"},
                    NameCase{"Aux", "Aux", "riserva ai dispositivi"},
                    NameCase{"Nul", "nul", "riserva ai dispositivi"},
                    NameCase{"Com0", "com0", "riserva ai dispositivi"},
                    NameCase{"Com9", "COM9", "riserva ai dispositivi"},
                    NameCase{"Lpt1", "lpt1", "riserva ai dispositivi"},
                    NameCase{"Lpt9", "LpT9", "riserva ai dispositivi"},
                    NameCase{"ComSuperscriptOne", "com¹", "riserva ai dispositivi"},
                    NameCase{"LptSuperscriptThree", "LPT³", "riserva ai dispositivi"},
                    NameCase{"ConsoleIn", "conin$", "riserva ai dispositivi"},
                    NameCase{"ConsoleOut", "CONOUT$", "riserva ai dispositivi"},
                    NameCase{"DeviceWithExtension", "nul.sps", "riserva ai dispositivi"},
                    NameCase{"DeviceWithTwoExtensions", "aux.tar.gz", "riserva ai dispositivi"},
                    NameCase{"DeviceWithTrailingDots", "con..", "riserva ai dispositivi"},
                    NameCase{"DeviceWithTrailingBlanks", "prn  ", "riserva ai dispositivi"},
                    NameCase{"DeviceBlankExtension", "com1 .dati", "riserva ai dispositivi"},
                    NameCase{"LongerThanADevice", "console", nullptr},
                    NameCase{"PortTen", "com10", nullptr}, NameCase{"PortLetter", "lptx", nullptr},
                    NameCase{"SuperscriptFour", "com⁴", nullptr},
                    NameCase{"DeviceInside", "studio_nul", nullptr}),
    [](const testing::TestParamInfo<NameCase>& info) { return info.param.label; });

std::vector<std::string> commandLines(const std::string& name, const ExportSubject& state) {
    const std::string bytes = selvo::ComposeDatasetCommands(name, {}, state.itemTexts);
    EXPECT_TRUE(bytes.starts_with(kBom));
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    return linesOf(bytes.substr(kBom.size()));
}

// The string a quoted literal spells, its pieces joined as "+" joins them, from the line that
// starts with `lead`.
std::string literalAfter(const std::vector<std::string>& lines, const std::string& lead) {
    std::string text;
    auto line = std::find_if(lines.begin(), lines.end(),
                             [&lead](const std::string& l) { return l.starts_with(lead); });
    for (; line != lines.end(); ++line) {
        const std::size_t open = line->find('\'');
        const std::size_t close = line->rfind('\'');
        text += std::regex_replace(line->substr(open + 1, close - open - 1), std::regex("''"), "'");
        if (!line->ends_with("' +")) {
            break;
        }
    }
    return text;
}

TEST(DatasetCommands, ReadTheTableAsUtf8SkippingItsHeaderRow) {
    const auto lines = commandLines("studio", scoredSubject());
    const auto get = std::find(lines.begin(), lines.end(), "GET DATA /TYPE=TXT");
    ASSERT_NE(get, lines.end());
    const std::vector<std::string> expected = {
        "GET DATA /TYPE=TXT",       "  /FILE='studio.csv'", "  /ENCODING='UTF8'",
        "  /ARRANGEMENT=DELIMITED", "  /DELCASE=LINE",      "  /FIRSTCASE=2",
        "  /DELIMITERS=\",\"",      "  /QUALIFIER='\"'",    "  /VARIABLES="};
    EXPECT_EQ(std::vector<std::string>(get, get + 9), expected);

    // The variable list, up to the period that ends the command, defines every variable of the
    // case with its format, in order.
    std::string list;
    auto line = get + 9;
    for (; line != lines.end() && !line->ends_with(" ."); ++line) {
        list += *line + " ";
    }
    ASSERT_NE(line, lines.end());
    list += line->substr(0, line->size() - 2);
    std::string expectedList;
    for (const auto& variable : selvo::StatisticsVariables()) {
        expectedList += variable.name + " " + variable.format + " ";
    }
    EXPECT_EQ(std::regex_replace(list, std::regex(" +"), " "),
              " " + expectedList.substr(0, expectedList.size() - 1));
    EXPECT_EQ(lines.back(), "  /COMPRESSED.");
    EXPECT_EQ(lines.at(lines.size() - 2), "SAVE OUTFILE='studio.sav'");
}

TEST(DatasetCommands, LabelTheVariablesAsTheCommandFileAndTheCodesAsTheSubjectForm) {
    const ExportSubject state = scoredSubject();
    const auto lines = commandLines("studio", state);
    const auto labels = selvo::StatisticsVariableLabels(state.itemTexts);
    EXPECT_EQ(literalAfter(lines, "  Card '"), " Card");
    for (const auto& [name, label] : labels) {
        if (name != "Card") {
            EXPECT_EQ(literalAfter(lines, "  /" + name + " '"), label) << name;
        }
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  /TOTDX5 'CLTOT tot DIAGNOSI X5'."),
              lines.end());

    const auto value = std::find(lines.begin(), lines.end(), "VALUE LABELS");
    ASSERT_NE(value, lines.end());
    EXPECT_EQ(value[1], "  Sex 1 'MASCHIO' 2 'FEMMINA'");
    EXPECT_EQ(value[2], "  /STCIV 1 'Celibe/Nubile' 2 'Coniugato/a' 3 'Separato/a' "
                        "4 'Divorziato/a' 5 'Vedovo/a'");
    EXPECT_EQ(value[3], "  /TITSTUD 1 'Nessuno/Non indicato' 2 'Elementare' 3 'Media Inferiore' "
                        "4 'Media Superiore' 5 'Laurea/Specializzazione'.");
}

// Every comment must end at a period at the end of its line, or SPSS reads the next command
// as part of it.
TEST(DatasetCommands, CommentsEndBeforeTheFirstCommand) {
    const auto lines = commandLines("studio", scoredSubject());
    std::size_t i = 0;
    for (; i < lines.size() && lines[i].starts_with("*"); ++i) {
    }
    ASSERT_GT(i, 0u);
    EXPECT_TRUE(lines[i - 1].ends_with(".")) << lines[i - 1];
    EXPECT_EQ(lines[i], "");
}

TEST(DatasetCommands, LongTextsAreSplitIntoPiecesThatRejoinExactly) {
    ExportSubject state = scoredSubject();
    // Characters of two and three bytes, so that some line ends would fall inside one.
    std::string longText = "x";
    for (int i = 0; i < 60; ++i) {
        longText += "ș€";
    }
    while (longText.size() < 900) {
        longText += "Perché l'apostrofo, così è ș ł € 😀 ";
    }
    state.itemTexts[5] = longText;
    const std::string name = std::string(120, 'n') + "'città" + std::string(120, 'x');
    const auto lines = commandLines(name, state);
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), selvo::kMaxCommandLineBytes) << line;
        EXPECT_TRUE(selvo::isValidUtf8(line)) << "a piece splits a character: " << line;
    }
    EXPECT_EQ(literalAfter(lines, "  /t5_1 '"), "It:" + selvo::CleanLabelText(longText) + " ");
    EXPECT_EQ(literalAfter(lines, "  /FILE="), name + ".csv");
    EXPECT_EQ(literalAfter(lines, "SAVE OUTFILE="), name + ".sav");
    // The command goes on after the split label.
    const auto split = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("  /t5_1 '");
    });
    ASSERT_NE(split, lines.end());
    EXPECT_TRUE(split->ends_with("' +"));
}

TEST(DatasetCommands, ControlCharactersInAnItemTextStayInsideTheLabel) {
    ExportSubject state = scoredSubject();
    state.itemTexts[6] = "prima\x0B"
                         "seconda\x1B[2J";
    const auto lines = commandLines("studio", state);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  /t6_1 'It:prima seconda [2J '"),
              lines.end());
}

// Whatever a file name or a name holds, the key reads back as written, and new codes go on
// after the highest one it holds, not after the number of its rows. A blank line an editor
// left at the end is no row. A key of an older version, without fingerprints, is read too: its
// rows are taken by file name and given the fingerprint.
TEST(PseudonymKey, ReadsBackWhatItWroteAndGoesOnAfterTheHighestCode) {
    const auto parsed = selvo::PseudonymKey::parse(kBom + "Codice,File di dati,Cognome,Nome\r\n"
                                                          "S0007,a.csv,Rossi,Mario\r\n\r\n");
    ASSERT_TRUE(std::holds_alternative<selvo::PseudonymKey>(parsed));
    selvo::PseudonymKey key = std::get<selvo::PseudonymKey>(parsed);
    const std::string print(16, 'a');
    EXPECT_EQ(key.codeFor("-b,\"x\".csv", "D'Amico", "=1+1", std::string(16, 'b')).code, "S0008");
    EXPECT_EQ(key.codeFor("a.csv", "Rossi", "Maria", print).code, "S0007");
    EXPECT_EQ(key.codeFor("riga\nnuova.csv", "Ștefan", "'@a", std::string(16, 'c')).code, "S0009");

    const auto again = selvo::PseudonymKey::parse(key.bytes());
    ASSERT_TRUE(std::holds_alternative<selvo::PseudonymKey>(again));
    const auto& entries = std::get<selvo::PseudonymKey>(again).entries();
    ASSERT_EQ(entries.size(), 3u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [code, file, surname, name, fingerprint] = key.entries()[i];
        EXPECT_EQ(entries[i].code + entries[i].dataFile + entries[i].surname + entries[i].name +
                      entries[i].fingerprint,
                  code + file + surname + name + fingerprint);
    }
    EXPECT_EQ(entries[0].name, "Maria");
    EXPECT_EQ(entries[0].fingerprint, print);
    EXPECT_EQ(selvo::PseudonymCode(12345), "S12345");
}

// A code follows the administration: found by its fingerprint under any file name, given once
// per run, and never taken from a file of the run that still holds its administration. Another
// administration under a known file name gets a new code, and the code it was not given.
TEST(PseudonymKey, ACodeFollowsTheAdministrationNotTheFileName) {
    const std::string a(16, 'a'), b(16, 'b'), other(16, 'f');
    const auto parsed = selvo::PseudonymKey::parse(kBom +
                                                   "Codice,File di dati,Cognome,Nome,Impronta\r\n"
                                                   "S0001,a.csv,Rossi,Mario," +
                                                   a + "\r\nS0002,b.csv,Verdi,Ada," + b + "\r\n");
    ASSERT_TRUE(std::holds_alternative<selvo::PseudonymKey>(parsed));
    selvo::PseudonymKey key = std::get<selvo::PseudonymKey>(parsed);
    key.reserveFileNames({"a.csv", "renamed.csv", "copy.csv", "again.csv"});
    struct Coding {
        const char* file;
        std::string fingerprint;
        const char* code;
        const char* sameFileCode;
    };
    for (const Coding& coding : {
             Coding{"renamed.csv", b, "S0002", ""},    // b.csv renamed after a corrected name
             Coding{"again.csv", b, "S0003", ""},      // the same answers twice in one run
             Coding{"copy.csv", a, "S0004", ""},       // a.csv is in the run: its code stays there
             Coding{"a.csv", other, "S0005", "S0001"}, // a namesake under a known file name
         }) {
        const selvo::KeyCode given = key.codeFor(coding.file, "R", "M", coding.fingerprint);
        EXPECT_EQ(given.code, coding.code) << coding.file;
        EXPECT_EQ(given.sameFileCode.value_or(""), coding.sameFileCode) << coding.file;
    }
    EXPECT_EQ(key.entries()[1].dataFile, "renamed.csv");
    EXPECT_EQ(key.entries()[0].surname + key.entries()[0].name, "RossiMario");
}

} // namespace
