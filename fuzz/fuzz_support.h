// What the fuzz targets share: a scratch folder, file helpers and the check that stops a run
// when a property does not hold (libFuzzer then keeps the input that broke it).
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tarnix::fuzz {

// Bytes shown in a report: printable ASCII as is, everything else as \xHH.
inline std::string shown(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

// The lines of `bytes`, split at CR LF, LF and a CR alone; the last terminator starts no line.
inline std::vector<std::string> breakLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has begun since the last break
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.push_back(std::move(line));
            line.clear();
            open = false;
        } else {
            line += bytes[i];
            open = true;
        }
    }
    if (open) lines.push_back(std::move(line));
    return lines;
}

[[noreturn]] inline void fail(const char* property, const std::string& detail)
{
    std::fprintf(stderr, "\n*** property does not hold: %s\n%s\n", property, detail.c_str());
    std::abort();
}

}  // namespace tarnix::fuzz

// Checks a property of the input; on failure names it, prints `detail` and aborts.
#define FUZZ_CHECK(condition, detail)                                 \
    do {                                                              \
        if (!(condition)) ::tarnix::fuzz::fail(#condition, (detail)); \
    } while (0)

namespace tarnix::fuzz {

// One scratch folder per process, emptied for every input. It lies in memory (/dev/shm)
// where that exists, so that the many small writes and syncs cost little.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* base = std::getenv("TARNIX_FUZZ_TMP");
        std::string pattern = base ? base : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        pattern += "/tarnix-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            fail("a scratch folder can be made", pattern);
        root_ = pattern + '/';
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, emptied, with its trailing '/'.
    const std::string& fresh()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(root_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
            std::filesystem::remove_all(entry.path(), ignored);
        }
        return root_;
    }
    const std::string& path() const { return root_; }

private:
    std::string root_;
};

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        fail("a scratch file can be written", path);
}

// Every entry below `folder` (relative name -> what it is: a file's bytes, "<folder>", or
// "-> target" for a link), for telling what a run changed.
inline std::map<std::string, std::string> snapshot(const std::string& folder)
{
    std::map<std::string, std::string> entries;
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        const auto& p = it->path();
        const std::string name = p.lexically_relative(folder).string();
        if (it->is_symlink(ignored))
            entries[name] = "-> " + std::filesystem::read_symlink(p, ignored).string();
        else if (it->is_directory(ignored))
            entries[name] = "<folder>";
        else
            entries[name] = readFile(p.string());
    }
    return entries;
}

inline std::string describe(const std::map<std::string, std::string>& entries)
{
    std::string out;
    for (const auto& [name, what] : entries)
        out += "  " + shown(name) + ": " + shown(what.substr(0, 80)) + '\n';
    return out;
}

inline unsigned modeOf(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// The input cut into `count` fields at NUL bytes; the last field takes the rest, NULs and all.
// Missing fields are empty. Seed files stay readable: "Files\0kbpath\0value\0file bytes".
inline std::vector<std::string> fields(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    std::vector<std::string> out;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (out.size() + 1 < count) {
        const auto nul = rest.find('\0');
        if (nul == std::string_view::npos)
            break;
        out.emplace_back(rest.substr(0, nul));
        rest.remove_prefix(nul + 1);
    }
    out.emplace_back(rest);
    out.resize(count);
    return out;
}

}  // namespace tarnix::fuzz
