#include "os.h"

#include "platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#endif

namespace tarnix::standin {

namespace p = tarnix::platform;

#ifdef _WIN32

std::string ownPath() {
    char buffer[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string currentFolder() {
    char buffer[MAX_PATH];
    const DWORD n = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(".");
}

bool makeExecutable(const std::string&) { return true; }

long startSleepingChild() {
    const std::string self = ownPath();
    std::string commandLine = "\"" + self + "\" " + SleepingChildArgument;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!::CreateProcessA(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &child))
        return 0;
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    return static_cast<long>(child.dwProcessId);
}

void sleepAsChild() { ::Sleep(3600 * 1000); }

void crash() {
    // abort() would have Wine start its debugger; an access violation's status is what a
    // crashed Windows program ends with.
    ::TerminateProcess(::GetCurrentProcess(), 0xC0000005);
    ::ExitProcess(0xC0000005);
}

#else

std::string ownPath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? p::utf8ToCp1251(std::string_view(buffer, static_cast<std::size_t>(n))) : std::string();
}

std::string currentFolder() {
    char buffer[PATH_MAX];
    return p::utf8ToCp1251(::getcwd(buffer, sizeof buffer) ? buffer : ".");
}

bool makeExecutable(const std::string& path) { return ::chmod(p::systemPath(path).c_str(), 0755) == 0; }

long startSleepingChild() {
    const pid_t child = ::fork();
    if (child == 0) {
        sleepAsChild();
        ::_exit(0);
    }
    return child > 0 ? child : 0;
}

void sleepAsChild() { ::sleep(3600); }

void crash() {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);  // a crash on purpose leaves no core file behind
    std::abort();
}

#endif

}  // namespace tarnix::standin
