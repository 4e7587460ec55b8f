// Temporary folders and files for the tests, written in binary so line ends stay as given.
#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

struct TempDir {
    std::filesystem::path dir;
    TempDir() {
        // Tests run in parallel processes: claim a folder no other process has made.
        static std::random_device seed;
        auto base = std::filesystem::temp_directory_path();
        do {
            dir = base / ("vorrak-test-" + std::to_string(seed()));
        } while (!std::filesystem::create_directory(dir));
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // The folder as a "Path" prefix, with its final separator.
    std::string prefix() const { return dir.string() + "\\"; }
    std::string file(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
};
