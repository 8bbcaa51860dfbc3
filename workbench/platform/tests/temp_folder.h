// Test helpers: a fresh folder per test, removed with everything in it afterwards; whole-file
// reads and writes; the environment the programs a test starts inherit.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform.h"

namespace tarnix::platform::testing {

// Creates a new folder "<stem>-<random>" in the system's folder for temporary files and returns
// its path, without a trailing separator. The folder did not exist before, so nothing of another
// test or program is in it.
inline std::string newTempFolder(const std::string& stem) {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int tries = 0; tries < 100; ++tries) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const std::filesystem::path folder = base / (stem + "-" + suffix);
        if (std::filesystem::create_directory(folder)) return folder.string();
    }
    std::abort();
}

class TempFolder {
public:
    TempFolder() : path_(newTempFolder("tarnix") + separator()) {}
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with its trailing separator; file names are glued on as the workbench does.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sets an environment variable of this process, which the programs it starts inherit; an empty
// value removes it.
inline void setEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value.c_str());
#else
    if (value.empty())
        ::unsetenv(name.c_str());
    else
        ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

}  // namespace tarnix::platform::testing
