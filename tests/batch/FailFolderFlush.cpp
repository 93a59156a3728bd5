// SPDX-License-Identifier: GPL-3.0-or-later

// Loaded into selvo-batch with LD_PRELOAD, a disk as a test needs it:
// - SELVO_TEST_FAIL_FOLDER_FLUSH=N fails the Nth flush of a folder and every later one, as a
//   failing disk makes them fail;
// - SELVO_TEST_FAIL_FILE_FLUSH=N fails the Nth flush of a file's bytes the same way (a block the
//   disk could not write), and every flush of a whole file system, which tells of that block too;
// - while SELVO_TEST_SKIP_FLUSH is set, nothing waits for the disk and each rename takes up to
//   half a millisecond, as on a slow share (runs that test only how they take turns need no
//   disk, and a wider window between renames shows a mix);
// - while SELVO_TEST_FAST_DISK is set, nothing waits for the disk and renames are the system's
//   (a study of thousands of files, whose flushes would only slow the test);
// - SELVO_TEST_PAUSE_AFTER_RENAME=N stops the program right after its Nth rename, between two
//   renames of a set: it creates "paused" in SELVO_TEST_PAUSE_DIR and waits there until
//   "continue" appears, so a test can kill or interrupt it at that point.
// Otherwise fsync and rename are the system's.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const Fsync system = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    struct stat info {};
    if (const char* from = std::getenv("SELVO_TEST_FAIL_FOLDER_FLUSH");
        from != nullptr && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        static long folderFlushes = 0;
        if (++folderFlushes >= std::atol(from)) {
            errno = EIO;
            return -1;
        }
    }
    if (const char* nth = std::getenv("SELVO_TEST_FAIL_FILE_FLUSH");
        nth != nullptr && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        static long flushes = 0;
        if (++flushes == std::atol(nth)) {
            errno = EIO;
            return -1;
        }
    }
    if (std::getenv("SELVO_TEST_SKIP_FLUSH") != nullptr ||
        std::getenv("SELVO_TEST_FAST_DISK") != nullptr) {
        return 0;
    }
    return system(fd);
}

extern "C" int syncfs(int fd) {
    using Syncfs = int (*)(int);
    static const Syncfs system = reinterpret_cast<Syncfs>(dlsym(RTLD_NEXT, "syncfs"));
    if (std::getenv("SELVO_TEST_FAIL_FILE_FLUSH") != nullptr) {
        errno = EIO;
        return -1;
    }
    const bool skipped = std::getenv("SELVO_TEST_SKIP_FLUSH") != nullptr ||
                         std::getenv("SELVO_TEST_FAST_DISK") != nullptr;
    return skipped ? 0 : system(fd);
}

extern "C" int rename(const char* from, const char* to) {
    using Rename = int (*)(const char*, const char*);
    static const Rename system = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    if (std::getenv("SELVO_TEST_SKIP_FLUSH") != nullptr) {
        static unsigned seed = static_cast<unsigned>(getpid());
        seed = seed * 1664525u + 1013904223u;
        usleep((seed >> 8) % 500); // renames of two runs overtake each other
    }
    const int result = system(from, to);
    if (const char* nth = std::getenv("SELVO_TEST_PAUSE_AFTER_RENAME")) {
        static std::atomic<long> renames = 0;
        if (++renames == std::atol(nth)) {
            const std::string dir = std::getenv("SELVO_TEST_PAUSE_DIR");
            std::fclose(std::fopen((dir + "/paused").c_str(), "w"));
            while (access((dir + "/continue").c_str(), F_OK) != 0) {
                usleep(2000);
            }
        }
    }
    return result;
}
