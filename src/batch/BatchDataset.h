// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A selvo-batch run's dataset: the cases of the subjects processed, in the order given, and
// their writing as NAME.csv, NAME.sps, NAME.sav and NAME_codebook.csv once every subject is
// done; for a pseudonymised dataset also the key of its codes.
#include "datafiles/DatasetCommands.h"
#include "datafiles/DatasetTable.h"
#include "datafiles/PseudonymKey.h"
#include "platform/FileError.h"
#include "platform/Locks.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace selvo {

// What names a subject in the dataset: its data file's name without folder and extension, as
// given on the command line ("study/SELVO_Rossi_Mario.csv" gives "SELVO_Rossi_Mario").
std::string DatasetSubjectId(const std::string& dataFile);

// The key of a pseudonymised dataset: where it goes and the codes it holds already.
struct DatasetKey {
    std::filesystem::path file; // absolute
    std::string shown;          // as the person gave it, for messages
    PseudonymKey codes;
};

// The key already at `file`, or an empty one when there is none; the Italian reason when it
// cannot be read or is not a key.
std::variant<PseudonymKey, std::string> ReadDatasetKey(const std::filesystem::path& file);

// Where the dataset's files are written, in DatasetFileNames's order: in the folder, or where
// a link of that name leads.
struct DatasetPaths {
    std::vector<std::filesystem::path> files;
};

class BatchDataset {
public:
    // `shownFolder` is the folder as the person typed it ("" for the current one), for the
    // closing line. With a key the dataset is pseudonymised: a code in place of the name.
    BatchDataset(DatasetPaths paths, std::string shownFolder, std::string name,
                 std::optional<DatasetKey> key = std::nullopt);

    // The case of a subject whose three files have just been written from `dataFile` (as
    // given), from the scores its command file was composed from. With a key, a note when the
    // data file's name has a code for another administration, and this one gets a new code.
    std::optional<std::string> addCase(const std::string& dataFile, const SubjectRecord& subject,
                                       const AnswerSet& answers, const Scores& scores);

    struct Outcome {
        std::string said; // the closing line's part: "; 48 casi scritti in studio.csv"
        std::optional<FileError> error; // why the files could not be written
    };
    // Writes the four files, and the key, as one set, or none: with no case at all, or on a
    // failure, the older ones stay as they were. NAME.sav is dated `createdAt`, the run's
    // time as its reports carry it.
    Outcome write(const FolderWait& wait, const std::string& createdAt) const;

    // The closing line's part for a dataset not written, and why: "; studio.csv e studio.sps
    // non sono stati scritti" and the reason.
    std::string notWritten(const std::string& why) const;

private:
    std::string shown(const std::string& file) const;

    DatasetPaths m_paths;
    std::string m_shownFolder;
    std::string m_name;
    std::optional<DatasetKey> m_key;
    std::vector<DatasetTextColumn> m_columns; // the subject's identification, widths so far
    DatasetTable m_table;
};

} // namespace selvo
