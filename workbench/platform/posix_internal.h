// Helpers shared by the POSIX sources of the platform layer.
#pragma once

#include <string>

namespace tarnix::platform::detail {

// `path` (code page 1251) as the system wants it: letter case resolved, UTF-8.
std::string nativePath(const std::string& path);

// `name` made absolute against `base` when it is relative; both in code page 1251.
std::string joinPath(const std::string& base, const std::string& name);

// Reads a whole file; false (errno set) when it cannot be read.
bool readWholeFile(const std::string& nativeName, std::string& bytes);

// Writes `bytes` to a new file beside `nativeName` and puts it in that file's place in one
// step, keeping the permissions of the file it replaces. False (errno set) on failure; the
// old file is then untouched.
bool writeFileAtomically(const std::string& nativeName, const std::string& bytes);

}  // namespace tarnix::platform::detail
