// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A fresh folder for one test, made the current directory while the test runs (the program
// writes its files into the current directory), removed afterwards.
#include <filesystem>
#include <random>
#include <string>

class TempDir {
public:
    TempDir() : m_previous(std::filesystem::current_path()) {
        std::random_device entropy;
        std::mt19937_64 pick(entropy());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        do {
            m_path = base / ("selvo-test-" + std::to_string(pick() % 1000000000));
        } while (!std::filesystem::create_directory(m_path));
        m_path = std::filesystem::canonical(m_path);
        std::filesystem::current_path(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path file(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
