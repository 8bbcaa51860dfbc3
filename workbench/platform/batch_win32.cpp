// A batch file run by the system's command interpreter, hidden, and waited for.
#include "platform.h"
#include "platform_internal.h"
#include "win32_internal.h"

namespace tarnix::platform {
namespace {

// The command interpreter: %ComSpec%, or cmd.exe in the system folder.
std::string commandInterpreter() {
    char buffer[MAX_PATH];
    const DWORD n = ::GetEnvironmentVariableA("ComSpec", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return std::string(buffer, n);
    const UINT m = ::GetSystemDirectoryA(buffer, sizeof buffer);
    return m > 0 && m < sizeof buffer ? detail::joinPath(std::string(buffer, m), "cmd.exe") : "cmd.exe";
}

}  // namespace

bool runBatchFile(const std::string& path, const std::string& currentDir) {
    std::string ignored;
    if (!detail::readWholeFile(path, ignored)) return false;
    const std::string interpreter = commandInterpreter();
    // "/s /c" takes everything after it as the command, once the outer pair of quotes is gone:
    // the inner pair then keeps a batch path whole that holds blanks or "&", "(" and ")"
    // (as "Program Files (x86)" does).
    std::string commandLine = "\"" + interpreter + "\" /s /c \"\"" + path + "\"\"";
    PROCESS_INFORMATION started{};
    // No console either: what the commands print has nowhere to go.
    if (!detail::createHiddenProcess(interpreter, commandLine.data(), currentDir, CREATE_NO_WINDOW, started))
        return true;  // as a command that fails, which is not reported
    ::WaitForSingleObject(started.hProcess, INFINITE);
    ::CloseHandle(started.hProcess);
    ::CloseHandle(started.hThread);
    return true;
}

}  // namespace tarnix::platform
