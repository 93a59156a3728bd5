// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the whole processing run: for every data file the reader accepts,
// the three files it leads to must keep their shape (see RunProperties.h).
#include "RunProperties.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto broken = brokenRunProperty(bytes)) {
        std::fprintf(stderr, "%s\n", broken->c_str());
        std::abort();
    }
    return 0;
}
