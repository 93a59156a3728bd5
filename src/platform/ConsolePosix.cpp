// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Console.h"
#include "platform/LocalTime.h"

#include <iostream>
#include <unistd.h>

namespace selvo {

std::vector<std::string> commandLineArguments(int argc, char* argv[]) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

ProgressLine progressLineOnStandardError() {
    return ::isatty(STDERR_FILENO) == 1 ? ProgressLine::EraseSequence : ProgressLine::None;
}

struct ConsoleStreams::Streams {};

ConsoleStreams::ConsoleStreams() = default;
ConsoleStreams::~ConsoleStreams() = default;

std::ostream& ConsoleStreams::out() {
    return std::cout;
}

std::ostream& ConsoleStreams::err() {
    return std::cerr;
}

std::tm localTime(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    return local;
}

} // namespace selvo
