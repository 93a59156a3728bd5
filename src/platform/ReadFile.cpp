// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ReadFile.h"

#include "platform/Paths.h"
#include "platform/Platform.h"

#include <algorithm>

namespace selvo {

FileResult<std::string> readWholeFile(const std::string& path, std::size_t maxBytes) {
    platform::RawRead read = platform::readRegularFile(path, maxBytes);
    if (read.tooLarge) {
        return FileError{path, "il file è troppo grande per essere un file di dati.",
                         FileAccess::Read, absolutePath(path)};
    }
    if (read.error != 0) {
        return FileError::ofErrno(path, read.error, FileAccess::Read);
    }
    return std::move(read.bytes);
}

FileResult<std::string> readFileStart(const std::string& path, std::size_t count) {
    platform::RawRead read = platform::readRegularFile(path, count);
    if (read.error != 0) {
        return FileError::ofErrno(path, read.error, FileAccess::Read);
    }
    read.bytes.resize(std::min(read.bytes.size(), count));
    return std::move(read.bytes);
}

} // namespace selvo
