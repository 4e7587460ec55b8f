// Temporary folders and files for the tests, written in binary so line ends stay as given.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

struct TempDir {
    std::filesystem::path dir;
    TempDir() {
        static int serial;
        auto base = std::filesystem::temp_directory_path();
        do {
            dir = base / ("vorrak-test-" + std::to_string(std::rand()) + "-" +
                          std::to_string(++serial));
        } while (std::filesystem::exists(dir));
        std::filesystem::create_directories(dir);
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
