// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the data-file tests share: the ordinary subject and its documented line, lines made
// from it with a field or a piece swapped, and a file read back as the reload reads it.
#include "datafiles/DataFile.h"
#include "questionnaire/SubjectFiles.h"
#include "support/TestSubjects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace datafile_fixture {

using testsupport::TestSubject;

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Subject S01 of group GRP1, agreement 1,2,..,7 repeating, distress 1,2,3 repeating.
inline TestSubject ordinarySubject() {
    TestSubject state{testsupport::subjectRecord({.education = "4"}), {}};
    for (int k = 1; k <= 94; ++k) {
        state.answers.agreement[k] = static_cast<selvo::Integer>(1 + (k - 1) % 7);
        state.answers.distress[k] = static_cast<selvo::Integer>(1 + (k - 1) % 3);
    }
    return state;
}

inline std::string repeated(const std::string& cycle, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += cycle;
    }
    return text;
}

inline const std::string kOrdinaryLine = "0,\"S01\",\"GRP1\",\"35\",\"1\",\"2\",\"4\",\"\"," +
                                         repeated("1,2,3,4,5,6,7,", 13) + "1,2,3," +
                                         repeated("1,2,3,", 31) + "1\r\n";

inline void expectSameRecord(const TestSubject& actual, const TestSubject& expected) {
    EXPECT_EQ(actual.subject.card, expected.subject.card);
    EXPECT_EQ(actual.subject.name, expected.subject.name);
    EXPECT_EQ(actual.subject.surname, expected.subject.surname);
    EXPECT_EQ(actual.subject.age, expected.subject.age);
    EXPECT_EQ(actual.subject.sex, expected.subject.sex);
    EXPECT_EQ(actual.subject.marital, expected.subject.marital);
    EXPECT_EQ(actual.subject.education, expected.subject.education);
    EXPECT_EQ(actual.subject.notes, expected.subject.notes);
    EXPECT_TRUE(actual.answers.agreement == expected.answers.agreement);
    EXPECT_TRUE(actual.answers.distress == expected.answers.distress);
}

// Reads the file as the reload does: in one step, or not at all.
inline std::optional<selvo::FileError> readInto(TestSubject& state, const std::string& path) {
    selvo::FileResult<selvo::DataFileContent> read = selvo::ReadDataFile(path);
    if (!read.ok()) {
        return read.error();
    }
    state = {std::move(read.value().subject), read.value().answers};
    return std::nullopt;
}

// A subject's data file saved into `folder`, as a run saves it there.
inline std::optional<selvo::FileError> writeDataFile(const TestSubject& state,
                                                     const std::string& folder) {
    const selvo::PendingFile file = selvo::PrepareDataFile(state.subject, state.answers, folder);
    return selvo::saveFileAtomically(file.path, file.bytes);
}

inline TestSubject readBack(const std::string& fileName) {
    TestSubject state;
    const auto error = readInto(state, fileName);
    EXPECT_FALSE(error) << error->message();
    return state;
}

inline std::string withoutLineEnd(std::string line) {
    line.resize(line.size() - 2);
    return line;
}

inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

inline std::string fieldReplaced(int number, const std::string& value) {
    // Rebuilds the ordinary line with one field swapped.
    std::vector<std::string> fields;
    std::string line = withoutLineEnd(kOrdinaryLine);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    fields.at(static_cast<std::size_t>(number - 1)) = value;
    std::string joined;
    for (const auto& field : fields) {
        joined += (joined.empty() ? "" : ",") + field;
    }
    return joined + "\r\n";
}

} // namespace datafile_fixture
