// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Runs the programs our users open the files with (PSPP, LibreOffice, Python) from the current
// folder, the way a researcher would type the command.
#include "support/FileBytes.h"

#include <cstdlib>
#include <string>
#ifndef _WIN32
#include <sys/wait.h>
#endif

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

struct ToolRun {
    int status = -1;    // the exit status, -1 when the program did not exit normally
    std::string output; // both streams
};

inline ToolRun runTool(const std::string& command) {
    const int raw = std::system((command + " > tool-output.txt 2>&1").c_str());
    ToolRun result;
#ifndef _WIN32
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#else
    result.status = raw;
#endif
    result.output = fileBytes("tool-output.txt");
    return result;
}

// The output alone: PSPP exits non-zero whenever it reported an error, expected ones included.
inline std::string run(const std::string& command) {
    return runTool(command).output;
}
