// Helpers shared by the POSIX sources of the platform layer.
#pragma once

#include <string>
#include <string_view>

#include "platform.h"

namespace tarnix::platform::detail {

// `path` (code page 1251) as the system wants it: letter case resolved, UTF-8.
std::string nativePath(const std::string& path);

// `name` made absolute against `base` when it is relative; both in code page 1251.
std::string joinPath(const std::string& base, const std::string& name);

// What a program file holds, judged by its first bytes: a Windows executable begins with "MZ",
// and its PE header, when it has a whole one, names the processor it was built for. A file
// that cannot be read counts as native, so that starting it fails as it would have.
enum class ProgramKind { Native, Windows32, Windows64 };
ProgramKind programKind(const std::string& nativeName);

// Reads a whole file; false (errno set) when it cannot be read.
bool readWholeFile(const std::string& nativeName, std::string& bytes);

// writeFile for a name that is already the system's (letter case resolved, UTF-8).
bool writeNativeFile(const std::string& nativeName, std::string_view bytes, Durability durability);

// The steps of writeFile, named so that a test can make each of them fail.
enum class WriteStep { Create, Write, Flush, Sync, Rename, Reserve, Restore };
// When set, asked before every step; an answer other than 0 makes that step fail with that
// errno. A failing write stops part-way, as a full disk makes it. Tests only.
using WriteFault = int (*)(WriteStep);
extern WriteFault writeFault;

}  // namespace tarnix::platform::detail
