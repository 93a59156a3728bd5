#pragma once
// The exact bytes of a file the program wrote, for whole-output comparisons.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
