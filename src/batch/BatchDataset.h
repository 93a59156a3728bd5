#pragma once
// A selvo-batch run's dataset: the cases of the subjects processed, in the order given, and
// their writing as NAME.csv and NAME.sps once every subject is done.
#include "datafiles/DatasetTable.h"
#include "platform/TextFile.h"
#include "questionnaire/Answers.h"
#include "questionnaire/Subject.h"
#include "scoring/Scores.h"

#include <filesystem>
#include <optional>
#include <string>

namespace selvo {

class BatchDataset {
public:
    // `shownFolder` is the folder as the person typed it ("" for the current one), for the
    // closing line.
    BatchDataset(std::filesystem::path folder, std::string shownFolder, std::string name);

    // The case of a subject whose three files have just been written, from the scores its
    // command file was composed from.
    void addCase(const SubjectRecord& subject, const AnswerSet& answers, const Scores& scores);

    struct Outcome {
        std::string said; // the closing line's part: "; 48 casi scritti in studio.csv"
        std::optional<FileError> error; // why the two files could not be written
    };
    // Writes both files as one set, or none: with no case at all, or on a failure, any older
    // NAME.csv and NAME.sps stay as they were.
    Outcome write(const FolderWait& wait) const;

private:
    std::string shown(const std::string& file) const;

    std::filesystem::path m_folder;
    std::string m_shownFolder;
    std::string m_name;
    DatasetTable m_table;
};

} // namespace selvo
