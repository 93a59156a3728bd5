// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the selvo-batch tests share: subjects as the window leaves them, a run of the batch in
// this process, and readers of the files and tables it writes.
#include "batch/BatchRun.h"
#include "datafiles/StatisticsExport.h"
#include "processing/ProcessData.h"
#include "support/FileBytes.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace fs = std::filesystem;

namespace batch_fixture {

inline std::string fixedClock() {
    return "07/12/2026 10:20:30";
}

// A subject as the window would leave it after a questionnaire: answers vary with `seed`.
inline testsupport::TestSubject subject(int seed, const std::string& name = "S01") {
    testsupport::TestSubject made{testsupport::studySubject(seed, "GRP1", name),
                                  testsupport::variedAnswers(seed)};
    made.subject.card = static_cast<selvo::Integer>(seed);
    made.subject.notes = "nota, con virgola " + std::to_string(seed);
    return made;
}

inline void write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The three files the window writes for a subject, by name.
inline std::map<std::string, std::string> filesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = fileBytes(entry.path());
        }
    }
    return files;
}

// What processing writes for this subject, in a folder of its own.
inline std::map<std::string, std::string> processedBySingleRun(testsupport::TestSubject state,
                                                               const fs::path& folder) {
    fs::create_directories(folder);
    const auto error = selvo::ProcessData(state.subject, state.answers,
                                          selvo::utf8Of(fs::absolute(folder)), fixedClock);
    EXPECT_FALSE(error.has_value()) << error->message();
    return filesIn(folder);
}

struct BatchRun {
    int status;
    std::string out;
    std::string err;
};

inline BatchRun batch(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const auto parsed = selvo::ParseBatchArguments(args);
    const auto& options = std::get<selvo::BatchOptions>(parsed);
    const int status = selvo::RunBatch(options, {out, err, selvo::ProgressLine::None}, fixedClock);
    return {status, out.str(), err.str()};
}

// The rows of a dataset table whose values hold no comma, quote or line break.
inline std::vector<std::vector<std::string>> tableRows(const std::string& bytes) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::vector<std::string> row;
        std::stringstream line(bytes.substr(start, end - start));
        for (std::string value; std::getline(line, value, ',');) {
            row.push_back(value);
        }
        rows.push_back(row);
    }
    EXPECT_EQ(start, bytes.size()) << "the table does not end with CR LF";
    return rows;
}

// The values of the data line of a subject's command file.
inline std::vector<std::string> dataLineValues(const fs::path& commandFile) {
    std::istringstream in(fileBytes(commandFile));
    for (std::string line; std::getline(in, line);) {
        if (line == "BEGIN DATA\r" && std::getline(in, line)) {
            std::vector<std::string> values;
            std::istringstream fields(line);
            for (std::string value; fields >> value;) {
                values.push_back(value);
            }
            return values;
        }
    }
    ADD_FAILURE() << "no data line in " << commandFile;
    return {};
}

// The values a row of the dataset starts with, then the case's.
inline std::vector<std::string> joined(std::vector<std::string> first,
                                       const std::vector<std::string>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

inline std::vector<std::string> variableNames() {
    std::vector<std::string> names;
    for (const auto& variable : selvo::StatisticsVariables()) {
        names.push_back(variable.name);
    }
    return names;
}

} // namespace batch_fixture
