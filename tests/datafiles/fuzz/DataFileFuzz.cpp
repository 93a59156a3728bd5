// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the data-file reader. Besides never crashing, whatever it accepts
// must survive a write and a second read unchanged.
#include "datafiles/DataFile.h"
#include "datafiles/DataFileRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool sameRecord(const selvo::DataFileContent& a, const selvo::DataFileContent& b) {
    return a.subject == b.subject && a.answers == b.answers;
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
    const std::string written =
        selvo::ComposeDataFile(first.record->subject, first.record->answers);
    const selvo::DataFileParse second = selvo::parseDataFile(written);
    if (!second.record || !sameRecord(*first.record, *second.record)) {
        std::abort();
    }
    return 0;
}
