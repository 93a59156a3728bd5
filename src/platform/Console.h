// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A command-line program's arguments and its console, the same on every system: arguments
// arrive as UTF-8 and text is written as UTF-8 (a Windows console is given UTF-16).
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace selvo {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> commandLineArguments(int argc, char* argv[]);

// How a progress line on the standard error can be taken back: not at all (not a console: no
// progress is shown), with the terminal's erase sequence, or by writing blanks over it (a
// console that shows escape sequences as text).
enum class ProgressLine { None, EraseSequence, Blanks };
ProgressLine progressLineOnStandardError();

// Ctrl+C, SIGTERM and the closing of the console window (on Windows) no longer end the program
// at once: each is noted, for interruptionRequested() to tell, and the program stops where it
// can stop cleanly. A second Ctrl+C ends it at once.
void catchInterruptions();
bool interruptionRequested();
// Called once the program has finished what it had in hand: a console window being closed,
// which waits for the program a few seconds, may end it now.
void interruptionHandled();

// The whole standard input, byte for byte (no line ends translated); nothing when it cannot be
// read.
std::optional<std::string> readStandardInput();

// The standard output and error, taking UTF-8 text whatever the console expects.
class ConsoleStreams {
public:
    ConsoleStreams();
    ~ConsoleStreams();
    ConsoleStreams(const ConsoleStreams&) = delete;
    ConsoleStreams& operator=(const ConsoleStreams&) = delete;
    std::ostream& out();
    std::ostream& err();

private:
    struct Streams;
    std::unique_ptr<Streams> m_streams;
};

} // namespace selvo
