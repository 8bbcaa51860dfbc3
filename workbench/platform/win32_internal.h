// Helpers shared by the Windows sources of the platform layer.
#pragma once

#include <windows.h>

#include <string>

namespace tarnix::platform::detail {

// Starts `application` the way every program of ours is started: no window shows, none of our
// handles is inherited, our environment, `currentDir` (empty: ours) as its current folder.
// `commandLine` may be null (the program then gets no command line); `flags` adds creation
// flags. False, with the system error set, when it cannot be started.
bool createHiddenProcess(const std::string& application, char* commandLine, const std::string& currentDir,
                         DWORD flags, PROCESS_INFORMATION& started);

// `path` with its last part spelt as the existing entry spells it (names compare without
// regard to case), or unchanged when there is none: a file replaced keeps its name.
std::string existingSpelling(const std::string& path);

// Sets the system error to `error` and answers false.
inline bool failWith(DWORD error) {
    ::SetLastError(error);
    return false;
}

}  // namespace tarnix::platform::detail
