// The one writer of files on Windows: a file is replaced whole or not at all.
#include "platform.h"
#include "platform_internal.h"
#include "win32_internal.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace tarnix::platform {
namespace detail {

WriteFault writeFault = nullptr;

}  // namespace detail

namespace {

using detail::failWith;
using detail::WriteStep;

// The system error a test wants `step` to fail with, or 0.
DWORD injected(WriteStep step) { return detail::writeFault ? static_cast<DWORD>(detail::writeFault(step)) : 0; }

std::string folderOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// Writes all of `bytes`. A write that fails part-way leaves what it wrote.
bool writeAll(HANDLE file, std::string_view bytes) {
    if (const DWORD error = injected(WriteStep::Write)) {
        DWORD n = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() / 2), &n, nullptr);
        return failWith(error);
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD n = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &n, nullptr)) return false;
        if (n == 0) return failWith(ERROR_DISK_FULL);
        bytes.remove_prefix(n);
    }
    return true;
}

bool flushToDisk(HANDLE file, Durability durability) {
    if (durability == Durability::Unsynced) return true;
    if (const DWORD error = injected(WriteStep::Sync)) return failWith(error);
    return ::FlushFileBuffers(file) != 0;
}

bool closeFile(HANDLE file) {
    const DWORD error = injected(WriteStep::Flush);
    return ::CloseHandle(file) != 0 && (error == 0 || failWith(error));
}

// Creates a new file of a name no entry of `folder` has, and answers its handle and name.
// The name is short, so that a target name of any length leaves room for it.
HANDLE createTemporary(const std::string& folder, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const unsigned seed = ::GetTickCount();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char unique[64];
        std::snprintf(unique, sizeof unique, ".~tnx%lu-%u-%x", static_cast<unsigned long>(::GetCurrentProcessId()),
                      ++counter, seed);
        name = folder + unique;
        if (const DWORD error = injected(WriteStep::Create)) {
            failWith(error);
            return INVALID_HANDLE_VALUE;
        }
        // CREATE_NEW never opens what is there already.
        const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                          nullptr);
        if (file != INVALID_HANDLE_VALUE || (::GetLastError() != ERROR_FILE_EXISTS &&
                                             ::GetLastError() != ERROR_ALREADY_EXISTS))
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Puts the written temporary file in the place of `target`. ReplaceFile keeps what the old
// file had besides its bytes (attributes, access rights, creation time, short name).
bool moveIntoPlace(const std::string& temporary, const std::string& target, bool existed) {
    if (const DWORD error = injected(WriteStep::Rename)) return failWith(error);
    constexpr DWORD moveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!existed) return ::MoveFileExA(temporary.c_str(), target.c_str(), moveFlags) != 0;
    if (::ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // This failure has removed the old file already; the new bytes are then only in the
    // temporary file, which must reach the target's name.
    if (::GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        return ::MoveFileExA(temporary.c_str(), target.c_str(), moveFlags) != 0;
    return false;
}

}  // namespace

namespace detail {

bool writeNativeFile(const std::string& path, std::string_view bytes, Durability durability) {
    const std::string target = existingSpelling(path);
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed && ::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    if (existed && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return failWith(ERROR_ACCESS_DENIED);
    std::string temporary;
    const HANDLE file = createTemporary(folderOf(target), temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD error = 0;
    if (!writeAll(file, bytes) || !flushToDisk(file, durability)) error = ::GetLastError();
    if (!closeFile(file) && error == 0) error = ::GetLastError();
    // The new file takes the old one's attributes (hidden, system, archive, not indexed),
    // where the replacing call does not carry them over itself.
    if (error == 0 && existed) ::SetFileAttributesA(temporary.c_str(), attributes);
    if (error == 0 && !moveIntoPlace(temporary, target, existed)) error = ::GetLastError();
    if (error == 0) return true;
    // Where the old file is gone and the new bytes could not take its name, the temporary
    // file holds the only copy of them and stays.
    if (fileExists(target) || !existed) ::DeleteFileA(temporary.c_str());
    return failWith(error);
}

}  // namespace detail

bool writeFile(const std::string& path, std::string_view bytes, Durability durability) {
    return detail::writeNativeFile(path, bytes, durability);
}

// This writer never rewrites a file in place, so no write leaves one damaged.
std::string damagedFileCopy() { return {}; }

}  // namespace tarnix::platform
