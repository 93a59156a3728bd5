// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/Console.h"
#include "platform/LocalTime.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <unistd.h>

namespace selvo {

std::vector<std::string> commandLineArguments(int argc, char* argv[]) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

ProgressLine progressLineOnStandardError() {
    return ::isatty(STDERR_FILENO) == 1 ? ProgressLine::EraseSequence : ProgressLine::None;
}

namespace {

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void noteInterruption(int) {
    g_interrupted.store(true);
}

} // namespace

// SA_RESETHAND gives the signal back to the system once it has come: a second Ctrl+C ends the
// program. SA_RESTART keeps reads and writes from failing with EINTR.
void catchInterruptions() {
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool interruptionRequested() {
    return g_interrupted.load();
}

void interruptionHandled() {}

std::optional<std::string> readStandardInput() {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0) {
            return bytes;
        }
        if (n < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (n > 0) {
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
    }
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
