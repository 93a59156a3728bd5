// SPDX-License-Identifier: GPL-3.0-or-later
// What selvo-batch shows on the console and takes from the environment: text made safe for
// a terminal, the progress line, SOURCE_DATE_EPOCH.

#include "BatchFixture.h"

#include "datafiles/DataFile.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using testing::HasSubstr;
using testing::Not;

namespace {

using namespace batch_fixture;

// A file can carry terminal escape sequences in a refused field and in its own name: the
// terminal must be shown them, never sent them.
TEST(SelvoBatch, EscapeSequencesReachTheTerminalOnlyAsVisibleText) {
    const TempDir dir;
    testsupport::TestSubject slash = subject(1, "a/b\x1B]0;titolo\x07");
    write(dir.file("slash.csv"), selvo::ComposeDataFile(slash.subject, slash.answers));
    const std::string oddName = "odd\x1B[2J.csv";
    write(dir.file(oddName), "not a data file\r\n");
    const BatchRun run = batch({"slash.csv", oddName});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\x07'), std::string::npos) << run.err;
    EXPECT_THAT(run.err, HasSubstr("slash.csv: lettura non riuscita: campo 2: il nome contiene il "
                                   "carattere \\x1B"));
    EXPECT_THAT(run.err, HasSubstr("odd\\x1B[2J.csv: lettura non riuscita"));

    const BatchRun usage = [] {
        std::ostringstream out, err;
        const int status =
            selvo::BatchMain({"--bogus\x1B[8m"}, out, err, selvo::ProgressLine::None);
        return BatchRun{status, out.str(), err.str()};
    }();
    EXPECT_EQ(usage.status, 2);
    EXPECT_THAT(usage.err, HasSubstr("opzione sconosciuta: --bogus\\x1B[8m"));
}

// What the progress line leaves on the console between messages, for each kind of console.
std::string progressShown(selvo::ProgressLine style) {
    const TempDir dir;
    std::vector<std::string> args;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "P" + std::to_string(i);
        write(dir.file(name + ".csv"), testsupport::dataFileOf(subject(i, name)));
        args.push_back(name + ".csv");
    }
    args.push_back("absent.csv");
    std::ostringstream out;
    std::ostringstream err;
    const auto options = std::get<selvo::BatchOptions>(selvo::ParseBatchArguments(args));
    selvo::RunBatch(options, {out, err, style}, fixedClock);
    return err.str();
}

TEST(SelvoBatch, TheProgressLineIsTakenBackAsTheConsoleAllows) {
    const std::string terminal = progressShown(selvo::ProgressLine::EraseSequence);
    EXPECT_THAT(terminal, HasSubstr("\rselvo-batch: file 6 di 7"));
    EXPECT_THAT(terminal, HasSubstr("\r\x1b[Kselvo-batch: absent.csv: "));

    // A console that would print the escape sequence as text gets blanks over the line.
    const std::string console = progressShown(selvo::ProgressLine::Blanks);
    EXPECT_EQ(console.find('\x1b'), std::string::npos);
    EXPECT_THAT(console,
                HasSubstr("\rselvo-batch: file 6 di 7\r" +
                          std::string(std::string("selvo-batch: file 6 di 7").size(), ' ') +
                          "\rselvo-batch: absent.csv: "));

    const std::string redirected = progressShown(selvo::ProgressLine::None);
    EXPECT_EQ(redirected.find('\r'), std::string::npos);
}

TEST(SelvoBatch, SourceDateEpochFixesTheReportTimeInUtc) {
    const auto fixed = [](const char* epoch) {
        return std::get<selvo::DateTimeSource>(selvo::BatchDateTimeSource(epoch))();
    };
    EXPECT_EQ(fixed("0"), "01/01/1970 00:00:00");
    EXPECT_EQ(fixed("951782400"), "29/02/2000 00:00:00");
    EXPECT_EQ(fixed("1796000000"), "30/11/2026 00:53:20");
    EXPECT_EQ(fixed("4102444799"), "31/12/2099 23:59:59");
    EXPECT_EQ(fixed("253402300799"), "31/12/9999 23:59:59");
    // Unset: the clock's time, as without it.
    for (const char* clock : {static_cast<const char*>(nullptr), ""}) {
        const std::string text = fixed(clock);
        EXPECT_TRUE(std::regex_match(text, std::regex("[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9:]{8}")))
            << text;
        EXPECT_NE(text, "01/01/1970 00:00:00");
    }
}

void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

// Anything but whole seconds from 1970 to the end of year 9999 stops the run as a usage error,
// before any file is read: never the clock's time in its place, nor a year of twelve digits.
TEST(SelvoBatch, AMalformedSourceDateEpochIsAUsageError) {
    const char* const given = std::getenv("SOURCE_DATE_EPOCH");
    const std::string before = given == nullptr ? "" : given;
    for (const char* epoch : {"-1", "abc", "1e9", "12x", " 5", "+5", "1.5", "253402300800",
                              "9223372036854775807", "99999999999999999999"}) {
        setEnvironment("SOURCE_DATE_EPOCH", epoch);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(selvo::BatchMain({"assente.csv"}, out, err, selvo::ProgressLine::None), 2)
            << epoch;
        EXPECT_THAT(err.str(), HasSubstr("SOURCE_DATE_EPOCH vale «" + std::string(epoch) +
                                         "», ma deve essere un numero intero di secondi"));
        EXPECT_THAT(err.str(), Not(HasSubstr("assente.csv")));
    }
    setEnvironment("SOURCE_DATE_EPOCH", before.c_str());
}

} // namespace
