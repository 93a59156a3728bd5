// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a file whole, or its first bytes, refusing what is no regular file.
#include "platform/FileError.h"

#include <cstddef>
#include <string>

namespace selvo {

// Reads a whole regular file, refusing anything larger than maxBytes. A pipe, a device or a
// socket is refused at once, without waiting for it.
FileResult<std::string> readWholeFile(const std::string& path, std::size_t maxBytes);

// The first `count` bytes of a regular file (all of a shorter one), to tell what kind of file
// it is; a pipe, a device or a socket is refused as above.
FileResult<std::string> readFileStart(const std::string& path, std::size_t count);

} // namespace selvo
