// SPDX-License-Identifier: GPL-3.0-or-later

// selvo-bench-floor: what writing a study's files costs with nothing else to do. It reads the
// files a selvo-batch run wrote, then writes them again and reports the time of each phase;
// scripts/bench-batch.sh compares selvo-batch with it. By default each subject's set is
// committed on its own through commitFileSet (temporary files, each flushed, renames, the
// folder flushed), as a single subject is saved. With --one-flush the same bytes go through
// the same temporary names and renames with no flush at all, and the file system is flushed
// once at the end: what the disk cannot do faster while keeping the files safe.
//
// Usage: selvo-bench-floor [--one-flush] FROM TO LIST
// LIST names one subject per line: its files in FROM, separated by tabs, in commit order.
// Prints "read WALL USER SYS" and "write WALL USER SYS", in seconds.
#include "platform/CommitFileSet.h"
#include "platform/FileError.h"
#include "platform/Platform.h"
#include "platform/ReadFile.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <vector>

namespace {

struct Clocks {
    double wall;
    double user;
    double sys;
};

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

Clocks now() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {std::chrono::duration<double>(wall).count(), seconds(usage.ru_utime),
            seconds(usage.ru_stime)};
}

void report(const char* phase, const Clocks& start, const Clocks& end) {
    std::printf("%s %.3f %.3f %.3f\n", phase, end.wall - start.wall, end.user - start.user,
                end.sys - start.sys);
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        parts.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return parts;
}

using FileSet = std::vector<selvo::PendingFile>;

// Every subject's files in memory, addressed to the folder they are written into.
std::optional<std::vector<FileSet>> readSets(const std::string& from, const std::string& to,
                                             const std::string& list) {
    constexpr std::size_t kLargest = 64 * 1024 * 1024;
    const selvo::FileResult<std::string> names = selvo::readWholeFile(list, kLargest);
    if (!names.ok()) {
        std::fprintf(stderr, "selvo-bench-floor: %s\n", names.error().message().c_str());
        return std::nullopt;
    }
    std::vector<FileSet> sets;
    for (const std::string& line : split(names.value(), '\n')) {
        FileSet set;
        for (const std::string& name : split(line, '\t')) {
            selvo::FileResult<std::string> file = selvo::readWholeFile(from + "/" + name, kLargest);
            if (!file.ok()) {
                std::fprintf(stderr, "selvo-bench-floor: %s\n", file.error().message().c_str());
                return std::nullopt;
            }
            set.push_back({to + "/" + name, std::move(file).value()});
        }
        sets.push_back(std::move(set));
    }
    return sets;
}

// The temporaries and renames of a commit, with nothing flushed.
std::optional<selvo::FileError> writeUnflushed(const FileSet& set) {
    for (const selvo::PendingFile& file : set) {
        selvo::platform::Temporary temp = selvo::platform::writeTemporary(
            file.path, file.bytes, selvo::Privacy::Usual, selvo::platform::TemporaryFlush::Later);
        int error = temp.error;
        if (error == 0) {
            error = selvo::platform::finishTemporary(temp, false);
        }
        if (error == 0) {
            error = selvo::platform::moveIntoPlace(temp, file.path);
        }
        if (error != 0) {
            return selvo::FileError::ofErrno(file.path, error);
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool oneFlush = argc == 5 && std::string_view(argv[1]) == "--one-flush";
    if (argc != 4 && !oneFlush) {
        std::fprintf(stderr, "usage: selvo-bench-floor [--one-flush] FROM TO LIST\n");
        return 2;
    }
    char** const places = argv + (oneFlush ? 2 : 1);
    const Clocks start = now();
    const auto sets = readSets(places[0], places[1], places[2]);
    if (!sets) {
        return 1;
    }
    const Clocks read = now();
    selvo::platform::FileSystemWatch watch;
    if (oneFlush) {
        watch = selvo::platform::watchFileSystem(places[1]);
    }
    for (const FileSet& set : *sets) {
        const auto error = oneFlush ? writeUnflushed(set) : selvo::commitFileSet(set).error;
        if (error) {
            std::fprintf(stderr, "selvo-bench-floor: %s\n", error->message().c_str());
            return 1;
        }
    }
    if (oneFlush) {
        const int error = selvo::platform::flushFileSystem(watch);
        selvo::platform::endWatch(watch);
        if (error != 0) {
            std::fprintf(stderr, "selvo-bench-floor: %s\n",
                         selvo::FileError::ofErrno(places[1], error).message().c_str());
            return 1;
        }
    }
    const Clocks written = now();
    report("read", start, read);
    report("write", read, written);
    return 0;
}
