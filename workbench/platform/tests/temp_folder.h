// A fresh folder per test, removed with everything in it afterwards.
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

class TempFolder {
public:
    // A folder of a new random name: creating it fails when the name is taken, so nothing of
    // another test or program is ever in it.
    TempFolder() {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int tries = 0; tries < 100 && path_.empty(); ++tries) {
            char name[32];
            std::snprintf(name, sizeof name, "tarnix-%08x", static_cast<unsigned>(random()));
            if (std::filesystem::create_directory(base / name)) path_ = (base / name).string() + separator();
        }
        if (path_.empty()) std::abort();
    }
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

}  // namespace tarnix::platform::testing
