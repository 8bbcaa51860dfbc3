// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <stdlib.h>
#endif

namespace tarnix::platform::testing {

class TempFolder {
public:
    TempFolder() {
#ifdef _WIN32
        // A name no other folder has, made by the one who finds it free.
        static unsigned counter = 0;
        const auto base = std::filesystem::temp_directory_path();
        const auto seed = std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFF;
        std::filesystem::path folder;
        do {
            folder = base / ("tarnix-" + std::to_string(_getpid()) + "-" + std::to_string(seed) + "-" +
                             std::to_string(++counter));
        } while (!std::filesystem::create_directory(folder));
        path_ = folder.string() + '\\';
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnix-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        path_ += '/';
#endif
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
