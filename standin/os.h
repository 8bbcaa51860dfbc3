// What the stand-in does through the operating system itself, the one part that differs
// between Windows and POSIX. Paths are code page 1251, as everywhere.
#pragma once

#include <string>

namespace tarnix::standin {

// The path of the running program's file, and the current folder (no trailing separator).
std::string ownPath();
std::string currentFolder();

// Lets a file written as a copy of this program be started (POSIX: its execute bits).
bool makeExecutable(const std::string& path);

// The one argument that makes the program a sleeping child instead of an engine program.
inline constexpr const char* SleepingChildArgument = "--sleeping-child";
// Starts a program of our own that sleeps for an hour, as an engine's helper that outlives its
// call would; on POSIX in our process group, on Windows as a child the engine's end does not
// end. Returns its process id, 0 when it could not be started.
long startSleepingChild();
void sleepAsChild();

// Ends the program at once as a crash does, without a core file or a debugger: on POSIX by
// SIGABRT, on Windows with the exit status of an access violation.
[[noreturn]] void crash();

}  // namespace tarnix::standin
