// SPDX-License-Identifier: GPL-3.0-or-later

#include "batch/BatchRun.h"
#include "platform/Console.h"

int main(int argc, char* argv[]) {
    selvo::ConsoleStreams console;
    return selvo::BatchMain(selvo::commandLineArguments(argc, argv), console.out(), console.err(),
                            selvo::progressLineOnStandardError());
}
