// Helpers shared by the sources of the platform layer, both halves.
#pragma once

#include <string>
#include <string_view>

#include "platform.h"

namespace tarnix::platform::detail {

// `path` (code page 1251) as the system wants it: on POSIX letter case resolved and UTF-8;
// on Windows, whose file system is case-blind and whose calls take code page bytes, unchanged.
std::string nativePath(const std::string& path);

// `name` made absolute against `base` when it is relative; both in code page 1251.
std::string joinPath(const std::string& base, const std::string& name);

// What a program file holds, judged by its first bytes: a Windows executable begins with "MZ",
// and its PE header, when it has a whole one, names the processor it was built for. A file
// that cannot be read counts as native, so that starting it fails as it would have. (POSIX,
// where a Windows program starts through Wine.)
enum class ProgramKind { Native, Windows32, Windows64 };
ProgramKind programKind(const std::string& nativeName);

// Reads a whole file; false (the system error set) when it cannot be read.
bool readWholeFile(const std::string& nativeName, std::string& bytes);

// writeFile for a name that is already the system's (see nativePath).
bool writeNativeFile(const std::string& nativeName, std::string_view bytes, Durability durability);

// What describe() says of a program killed by `number`: the signal (POSIX) or the exception
// code (Windows) of ProcessEnd::Kind::Signalled.
std::string killedBy(int number);

// True when a profile entry of these names and value can be written as one line that reads
// back as written: no line breaks, a key that is no comment or section header, no "=" in the
// key, no "]" in the section, no blanks around either name, none longer than ProfileTextMax.
bool profileEntryWritable(std::string_view section, std::string_view key, std::string_view value);
// The characters profile files take for blanks around names and values: blanks, tabs, vertical
// tabs, form feeds, and Ctrl-Z, which old tools leave at the end of a file.
constexpr bool isProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

// Makes end handles use the fallback of kernels without pidfds (before Linux 5.3), so that
// it is tested on every machine. Tests only; POSIX.
extern bool endHandleWithoutPidfd;

// The steps of writeFile, named so that a test can make each of them fail.
enum class WriteStep { Create, Write, Flush, Sync, Rename, Reserve, Restore };
// When set, asked before every step; an answer other than 0 makes that step fail with that
// error (an errno value on POSIX, a system error code on Windows). A failing write stops
// part-way, as a full disk makes it. Tests only.
using WriteFault = int (*)(WriteStep);
extern WriteFault writeFault;

}  // namespace tarnix::platform::detail
