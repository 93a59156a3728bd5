// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the data-file reader. Besides never crashing, whatever it accepts
// must survive a write and a second read unchanged.
#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

selvo::ProgramState stateOf(const selvo::DataFileRecord& record) {
    selvo::ProgramState state;
    state.Card = record.Card;
    state.SubjectName = record.SubjectName;
    state.SubjectSurname = record.SubjectSurname;
    state.SubjectAge = record.SubjectAge;
    state.SubjectSex = record.SubjectSex;
    state.SubjectMarital = record.SubjectMarital;
    state.SubjectEducation = record.SubjectEducation;
    state.SubjectNotes = record.SubjectNotes;
    for (int k = 1; k <= selvo::kDataFileItems; ++k) {
        state.AnswerT[k] = record.AnswerT[static_cast<std::size_t>(k)];
        state.AnswerD[k] = record.AnswerD[static_cast<std::size_t>(k)];
    }
    return state;
}

bool sameRecord(const selvo::DataFileRecord& a, const selvo::DataFileRecord& b) {
    return a.Card == b.Card && a.SubjectName == b.SubjectName &&
           a.SubjectSurname == b.SubjectSurname && a.SubjectAge == b.SubjectAge &&
           a.SubjectSex == b.SubjectSex && a.SubjectMarital == b.SubjectMarital &&
           a.SubjectEducation == b.SubjectEducation && a.SubjectNotes == b.SubjectNotes &&
           a.AnswerT == b.AnswerT && a.AnswerD == b.AnswerD;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const selvo::DataFileParse first = selvo::parseDataFile(bytes);
    if (!first.record) {
        if (first.fault.empty()) {
            std::abort(); // a refusal must always say why
        }
        return 0;
    }
    const std::string written = selvo::ComposeDataFile(stateOf(*first.record));
    const selvo::DataFileParse second = selvo::parseDataFile(written);
    if (!second.record || !sameRecord(*first.record, *second.record)) {
        std::abort();
    }
    return 0;
}
