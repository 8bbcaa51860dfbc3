// Files and folders on Windows. The file system compares names without regard to letter case
// itself, and the calls take names in the system's code page, so names pass unchanged.
#include "platform.h"
#include "platform_internal.h"
#include "win32_internal.h"

#include <memory>

namespace tarnix::platform {
namespace detail {

std::string nativePath(const std::string& path) { return path; }

std::string joinPath(const std::string& base, const std::string& name) {
    const bool absolute = (!name.empty() && isSeparator(name.front())) || (name.size() >= 2 && name[1] == ':');
    if (name.empty() || absolute || base.empty()) return name;
    return isSeparator(base.back()) ? base + name : base + '\\' + name;
}

bool readWholeFile(const std::string& nativeName, std::string& bytes) {
    const HANDLE file = ::CreateFileA(nativeName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD n = 0;
    bool ok;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &n, nullptr) != 0) && n > 0) bytes.append(buffer, n);
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    return ok || failWith(error);
}

std::string existingSpelling(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return path;
    const DWORD error = ::GetLastError();
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA(path.c_str(), &entry);
    ::SetLastError(error);
    if (find == INVALID_HANDLE_VALUE) return path;
    ::FindClose(find);
    const auto separator = path.find_last_of("\\/:");
    return path.substr(0, separator == std::string::npos ? 0 : separator + 1) + entry.cFileName;
}

}  // namespace detail

namespace {

DWORD attributesOf(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

}  // namespace

std::string resolvePath(const std::string& path) { return path; }
std::string systemPath(const std::string& path) { return path; }

void adviseLargePages(void*, std::size_t) {}  // Windows gives large pages only to programs with the right to lock memory

bool fileExists(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool deleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool renameFile(const std::string& from, const std::string& to) { return ::MoveFileA(from.c_str(), to.c_str()) != 0; }

bool replaceFile(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), detail::existingSpelling(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool makeDirectory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool fileWritable(const std::string& path) {
    const DWORD a = attributesOf(path);
    if (a == INVALID_FILE_ATTRIBUTES) return false;
    if (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return detail::failWith(ERROR_ACCESS_DENIED);
    // The attributes do not tell of the file's access rights or of a program that holds it
    // open without sharing: opening it for writing does.
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    // Every entry is listed and matched here: the system's own matching also tries the short
    // (8.3) names, by which "*.tmp" would take in "notes.tmpl" as well.
    const std::string all = folder.empty() ? std::string("*") : detail::joinPath(folder, "*");
    WIN32_FIND_DATAA entry;
    const HANDLE find = ::FindFirstFileA(all.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (wildcardMatch(pattern, name)) names.push_back(name);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
}

std::string lastSystemErrorText() {
    const DWORD error = ::GetLastError();
    char* buffer = nullptr;
    // English, as every message of the program is; the system's own language where the
    // system has no English texts.
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const WORD languages[] = {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)};
    DWORD n = 0;
    for (const WORD language : languages) {
        n = ::FormatMessageA(flags, nullptr, error, language, reinterpret_cast<char*>(&buffer), 0, nullptr);
        if (n > 0) break;
    }
    if (n == 0) return "System error " + std::to_string(error) + ".";
    std::string text(buffer, n);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    ::SetLastError(error);
    return text;
}

std::string lastIoErrorText(bool /*writing*/) {
    const DWORD error = ::GetLastError();
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return "File not found";
        // A file that is written is created, so a missing name there means a missing folder.
        case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME: case ERROR_BAD_PATHNAME: case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY: case ERROR_INVALID_DRIVE:
            return "Invalid filename";
        case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: case ERROR_WRITE_PROTECT:
            return "File access denied";
        case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return "Disk full";
        case ERROR_TOO_MANY_OPEN_FILES: return "Too many open files";
        default: return "I/O error " + std::to_string(error);
    }
}

}  // namespace tarnix::platform
