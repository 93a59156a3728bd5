// SPDX-License-Identifier: GPL-3.0-or-later

// Runs the statistics package's free counterpart and a stock CSV reader on the files the
// program writes, the way a researcher would.
#include "ExportFixture.h"
#include "datafiles/DataFile.h"
#include "datafiles/StatisticsExport.h"
#include "scoring/Scores.h"
#include "support/ExternalTool.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

namespace {

// PSPP's diagnostics, one per entry, wrapped lines joined.
std::vector<std::string> diagnostics(const std::string& output, const std::string& kind) {
    std::vector<std::string> found;
    std::string flat = std::regex_replace(output, std::regex(R"(\s+)"), " ");
    const std::regex message(R"(\S+:\d[\d.\-]*: )" + kind + R"(: (.*?)(?= \S+:\d[\d.\-]*: |$))");
    for (std::sregex_iterator it(flat.begin(), flat.end(), message), end; it != end; ++it) {
        std::string text = (*it)[1];
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        found.push_back(text);
    }
    return found;
}

// The errors the command file causes by design in PSPP: it lacks the command that clears
// pending transformations, and the file labels two names the data list does not define.
bool isExpectedError(const std::string& message) {
    return message.find("CLEAR TRANSFORMATIONS is not yet implemented") != std::string::npos ||
           message == "VARIABLE LABELS: Nome is not a variable name." ||
           message == "VARIABLE LABELS: Cognome is not a variable name.";
}

// PSPP on Linux does not read ".\" as the current folder: the case file may carry it in its
// name. Either way it must exist.
std::filesystem::path savedCaseFile(const std::string& name) {
    for (const std::string& candidate : {".\\" + name, name}) {
        if (std::filesystem::exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::vector<std::string> commaSeparated(const std::string& line) {
    std::vector<std::string> values;
    std::stringstream in(line);
    for (std::string value; std::getline(in, value, ',');) {
        values.push_back(value);
    }
    if (!line.empty() && line.back() == ',') {
        values.emplace_back();
    }
    return values;
}

// The case as PSPP saved it, variable name -> value text.
std::map<std::string, std::string> caseValues(const std::filesystem::path& savFile,
                                              std::size_t& variableCount) {
    run("pspp-convert " + shellQuoted(savFile.string()) + " case.csv");
    std::istringstream csv(fileBytes("case.csv"));
    std::string header, values;
    std::getline(csv, header);
    std::getline(csv, values);
    const auto names = commaSeparated(header);
    const auto data = commaSeparated(values);
    variableCount = names.size();
    std::map<std::string, std::string> byName;
    for (std::size_t i = 0; i < names.size() && i < data.size(); ++i) {
        byName[names[i]] = data[i];
    }
    return byName;
}

std::string integer(double value) {
    return std::to_string(static_cast<long>(value));
}

struct Expected {
    std::map<std::string, std::string> values;
};

// What the program itself computed for the variables the check compares.
Expected programValues(const ExportSubject& state) {
    const selvo::AnswerSet answers = state.answers;
    const selvo::DimensionalScores dimensional = selvo::ComputeDimensionalScores(answers.agreement);
    const selvo::CategoricalScores x4 = selvo::ComputeCriteriaX4(answers);
    const selvo::CategoricalScores x5 = selvo::ComputeCriteriaX5(answers);
    Expected expected;
    auto& v = expected.values;
    v["Card"] = integer(state.subject.card);
    v["Sex"] = state.subject.sex;
    v["STCIV"] = state.subject.marital;
    v["TITSTUD"] = state.subject.education;
    v["CODICE"] = "pz";
    for (int k = 1; k <= 94; ++k) {
        v["t" + std::to_string(k) + "_1"] = integer(state.answers.agreement[k]);
        v["d" + std::to_string(k) + "_1"] = integer(state.answers.distress[k]);
    }
    v["par1t"] = integer(dimensional.disorders[selvo::questionnaire::PAR].total);
    v["tot1t"] = integer(dimensional.allClusters.total);
    v["PARTOTX4"] = integer(x4.disorders[selvo::questionnaire::PAR].criteriaMet);
    v["TOTTOTX4"] = integer(x4.allClusters.criteriaMet);
    v["TOTDX4"] = integer(x4.allClusters.diagnoses);
    v["PARTOTX5"] = integer(x5.disorders[selvo::questionnaire::PAR].criteriaMet);
    v["TOTTOTX5"] = integer(x5.allClusters.criteriaMet);
    v["TOTDX5"] = integer(x5.allClusters.diagnoses);
    return expected;
}

struct PsppRun {
    std::string output;
    std::map<std::string, std::string> values;
    std::size_t variableCount = 0;
    bool caseFileFound = false;
};

PsppRun runExport(ExportSubject& state, bool codePage1252) {
    // PSPP resolves the file names inside the command file against its working folder.
    EXPECT_FALSE(writeExport(state, selvo::utf8Of(std::filesystem::current_path())));
    const std::string commandFile = exportFileName(state);
    PsppRun result;
    result.output =
        run(std::string("pspp ") + (codePage1252 ? "--syntax-encoding=windows-1252 " : "") +
            shellQuoted(commandFile));
    const auto savFile = savedCaseFile("SELVO_SS000_" + state.subject.surname + "_" +
                                       state.subject.name + "_sav.sav");
    result.caseFileFound = !savFile.empty();
    if (result.caseFileFound) {
        result.values = caseValues(savFile, result.variableCount);
    }
    return result;
}

void expectOnlyDesignErrors(const std::string& output) {
    const auto errors = diagnostics(output, "error");
    EXPECT_EQ(errors.size(), 3u) << output;
    for (const std::string& error : errors) {
        EXPECT_TRUE(isExpectedError(error)) << "unexpected PSPP error: " << error;
    }
}

void expectValues(const PsppRun& run, const Expected& expected) {
    EXPECT_EQ(run.variableCount, 462u);
    for (const auto& [name, value] : expected.values) {
        const auto found = run.values.find(name);
        ASSERT_NE(found, run.values.end()) << name;
        EXPECT_EQ(found->second, value) << name;
    }
}

TEST(PsppInterop, OrdinarySubjectGivesTheProgramsValues) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    const Expected expected = programValues(state);
    const PsppRun pspp = runExport(state, true);
    expectOnlyDesignErrors(pspp.output);
    EXPECT_TRUE(diagnostics(pspp.output, "warning").empty()) << pspp.output;
    ASSERT_TRUE(pspp.caseFileFound) << pspp.output;
    expectValues(pspp, expected);
    EXPECT_EQ(pspp.values.at("Eta"), "35");
}

TEST(PsppInterop, AgeWithBlankAndSurnameWithApostropheKeepEveryValueInPlace) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    state.subject.age = "35 anni";
    state.subject.surname = "D'Amico";
    const Expected expected = programValues(state);
    const PsppRun pspp = runExport(state, true);
    expectOnlyDesignErrors(pspp.output);
    // A text age cannot fill the numeric age variable: PSPP warns and leaves it missing.
    for (const std::string& warning : diagnostics(pspp.output, "warning")) {
        EXPECT_NE(warning.find("Data for variable Eta is not valid"), std::string::npos) << warning;
    }
    ASSERT_TRUE(pspp.caseFileFound) << pspp.output;
    expectValues(pspp, expected);
    EXPECT_EQ(pspp.values.at("Eta"), " ");
}

std::string everyPrintableAscii() {
    std::string text = "x"; // a leading "=", "+", "-" or "@" is refused before any run
    for (char c = ' '; c <= '~'; ++c) {
        text += c;
    }
    return text;
}

// The age reaches the case's data, the names its file names: every printable character and
// both quotes, in both, leave the command file's commands as they are.
TEST(PsppInterop, EveryPrintableCharacterAndQuotesStayInsideTheirValues) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    state.subject.age = everyPrintableAscii();
    state.subject.surname = "O'Neil!#$%&'()+,;=@[]^`{}~"; // all a file name may hold
    state.subject.name = "S'x'(1)";
    const Expected expected = programValues(state);
    const PsppRun pspp = runExport(state, true);
    expectOnlyDesignErrors(pspp.output);
    for (const std::string& warning : diagnostics(pspp.output, "warning")) {
        EXPECT_NE(warning.find("Data for variable Eta is not valid"), std::string::npos) << warning;
    }
    ASSERT_TRUE(pspp.caseFileFound) << pspp.output;
    expectValues(pspp, expected);
}

// A record no reader accepts, written anyway: the age's line breaks become blanks, so the
// commands hidden in it stay text and the shell command never runs.
TEST(PsppInterop, ControlCharactersCannotStartACommand) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    state.subject.age = "35\r\nHOST COMMAND=['touch hacked'].\r\nEXECUTE.\n\x1B[2J\v\f";
    const PsppRun pspp = runExport(state, true);
    EXPECT_FALSE(std::filesystem::exists("hacked")) << pspp.output;
    expectOnlyDesignErrors(pspp.output);
    ASSERT_TRUE(pspp.caseFileFound) << pspp.output;
    EXPECT_EQ(pspp.variableCount, 462u);
}

TEST(PsppInterop, QuestionnaireItemTextsLabelWithoutComplaint) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    const PsppRun pspp = runExport(state, true);
    expectOnlyDesignErrors(pspp.output);
    EXPECT_TRUE(diagnostics(pspp.output, "warning").empty()) << pspp.output;
    EXPECT_TRUE(pspp.caseFileFound) << pspp.output;
}

TEST(PsppInterop, MarkedUtf8CommandFileRunsWithTheDefaultEncoding) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    state.subject.name = "Łukasz";
    const Expected expected = programValues(state);
    const PsppRun pspp = runExport(state, false);
    expectOnlyDesignErrors(pspp.output);
    EXPECT_TRUE(diagnostics(pspp.output, "warning").empty()) << pspp.output;
    ASSERT_TRUE(pspp.caseFileFound) << pspp.output;
    expectValues(pspp, expected);
}

struct CsvReaderCase {
    const char* name;
    std::string surname;
    const char* encoding;
};
void PrintTo(const CsvReaderCase& c, std::ostream* os) {
    *os << c.name;
}

class PythonCsvReader : public testing::TestWithParam<CsvReaderCase> {};

TEST_P(PythonCsvReader, ReadsOneRecordOf196FieldsWithTheNotesIntact) {
    TempDir dir;
    ExportSubject state = scoredSubject();
    state.subject.surname = GetParam().surname;
    state.subject.notes = "prima riga, \"citata\"\r\nseconda riga";
    const selvo::PendingFile file =
        selvo::PrepareDataFile(state.subject, state.answers, selvo::utf8Of(dir.path()));
    ASSERT_FALSE(selvo::saveFileAtomically(file.path, file.bytes));
    const std::string output =
        run("python3 -c " +
            shellQuoted("import csv, sys\n"
                        "rows = list(csv.reader(open(sys.argv[1], newline='', encoding='" +
                        std::string(GetParam().encoding) +
                        "')))\n"
                        "print(len(rows), len(rows[0]), repr(rows[0][2]), repr(rows[0][7]))\n") +
            " " + shellQuoted(file.path));
    EXPECT_EQ(output,
              "1 196 '" + GetParam().surname + "' 'prima riga, \"citata\"\\r\\nseconda riga'\n");
}

INSTANTIATE_TEST_SUITE_P(PsppInterop, PythonCsvReader,
                         testing::Values(CsvReaderCase{"CodePage1252", "Rossi", "cp1252"},
                                         CsvReaderCase{"MarkedUtf8", "Ștefan", "utf-8-sig"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
