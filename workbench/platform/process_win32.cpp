// Processes and the program's own folder on Windows.
#include "platform.h"
#include "platform_internal.h"
#include "win32_internal.h"

#include <cstdio>
#include <mutex>

namespace tarnix::platform {
namespace {

std::mutex overrideMutex;
std::string overriddenDir;

std::string withSeparator(std::string dir) {
    if (dir.empty() || !isSeparator(dir.back())) dir += '\\';
    return dir;
}

// The exit code a cancelled program is given: the one of a program interrupted by the user,
// an error status, so that it reads as ended from outside and not as an exit of its own.
constexpr DWORD EndedByCancel = 0xC000013AUL;  // STATUS_CONTROL_C_EXIT

// Exit codes from 0xC0000000 up are NTSTATUS errors: the system ended the program (an
// unhandled exception) or another program did.
ProcessEnd endFromExitCode(DWORD code) {
    if (code >= 0xC0000000UL) return ProcessEnd::signalled(static_cast<int>(code));
    return ProcessEnd::exited(static_cast<int>(code));
}

const char* exceptionName(DWORD code) {
    switch (code) {
        case 0xC0000005UL: return "access violation";
        case 0xC000001DUL: return "illegal instruction";
        case 0xC0000094UL: return "integer division by zero";
        case 0xC00000FDUL: return "stack overflow";
        case 0xC000013AUL: return "interrupted";
        case 0xC0000409UL: return "stack buffer overrun";
        default: return nullptr;
    }
}

}  // namespace

std::string programDirSystemName() {
    {
        std::lock_guard lock(overrideMutex);
        if (!overriddenDir.empty()) return overriddenDir;
    }
    std::string exe(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (n == 0) {
            const DWORD length = ::GetCurrentDirectoryA(0, nullptr);
            std::string cwd(length, '\0');
            cwd.resize(::GetCurrentDirectoryA(length, cwd.data()));
            return withSeparator(cwd);
        }
        if (n < exe.size()) {  // a name that fills the buffer may have been cut
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    return exe.substr(0, exe.find_last_of("\\/") + 1);
}

// The system's names are code page bytes already.
std::string programDir() { return programDirSystemName(); }

void overrideProgramDir(const std::string& dir) {
    std::lock_guard lock(overrideMutex);
    overriddenDir = dir.empty() ? dir : withSeparator(dir);
}

char separator() { return '\\'; }
bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string userHomeDir() {
    char home[MAX_PATH];
    const DWORD n = ::GetEnvironmentVariableA("USERPROFILE", home, sizeof home);
    return withSeparator(n > 0 && n < sizeof home ? std::string(home, n) : std::string("C:\\"));
}

// A program not waited for goes on running; only our handles of it are closed.
void Process::release() {
    for (void* handle : {process_, thread_, job_})
        if (handle) ::CloseHandle(handle);
    process_ = thread_ = job_ = nullptr;
}

Process::Process(Process&& other) noexcept : process_(other.process_), thread_(other.thread_), job_(other.job_) {
    other.process_ = other.thread_ = other.job_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        release();
        process_ = other.process_;
        thread_ = other.thread_;
        job_ = other.job_;
        other.process_ = other.thread_ = other.job_ = nullptr;
    }
    return *this;
}

Process::~Process() { release(); }

ProcessEnd Process::wait() {
    if (!process_) return {};
    ::WaitForSingleObject(process_, INFINITE);
    DWORD code = 0;
    const bool known = ::GetExitCodeProcess(process_, &code) != 0;
    // The program has ended; terminating it once more changes nothing but makes sure that no
    // handle is closed on a program still running.
    ::TerminateProcess(process_, code);
    ::CloseHandle(process_);
    ::CloseHandle(thread_);
    process_ = thread_ = nullptr;
    release();
    return known ? endFromExitCode(code) : ProcessEnd{};
}

bool waitForEnd(EndHandle endHandle, int timeoutMs) {
    if (endHandle == NoEndHandle || endHandle == 0) return false;
    const DWORD timeout = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    return ::WaitForSingleObject(reinterpret_cast<HANDLE>(endHandle), timeout) == WAIT_OBJECT_0;
}

ProcessEnd Process::endGroup(int graceMs) {
    if (!process_) return {};
    // A program of no window has no polite way to be asked to end: it is given the grace time
    // to end by itself, then it and whatever it started are ended.
    waitForEnd(endHandle(), graceMs);
    if (job_) {
        ::TerminateJobObject(job_, EndedByCancel);
        // Terminating only starts the end of each process; wait (briefly: it cannot be
        // refused) until the job is empty, the programs it started included.
        for (int waited = 0; waited < 2000; waited += 10) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
            if (!::QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting,
                                             sizeof accounting, nullptr) ||
                accounting.ActiveProcesses == 0)
                break;
            ::Sleep(10);
        }
    } else {
        ::TerminateProcess(process_, EndedByCancel);
    }
    return wait();
}

namespace detail {

std::string killedBy(int exception) {
    const auto code = static_cast<DWORD>(exception);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    const char* name = exceptionName(code);
    return std::string("ended by exception ") + hex + (name ? std::string(" (") + name + ")" : "");
}

bool createHiddenProcess(const std::string& application, char* commandLine, const std::string& currentDir,
                         DWORD flags, PROCESS_INFORMATION& started) {
    STARTUPINFOA startup;
    ::ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    return ::CreateProcessA(application.c_str(), commandLine, nullptr, nullptr, FALSE,
                            CREATE_DEFAULT_ERROR_MODE | flags, nullptr,
                            currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &started) != 0;
}

}  // namespace detail

// Windows runs its own programs: nothing to prepare.
Process prepareToStart(const std::string&) { return Process(); }

Process startProgram(const std::string& path, const std::string& currentDir) {
    // The program gets no command line (it finds its name alone). A relative program path is
    // taken against our own current folder.
    PROCESS_INFORMATION started{};
    // Created suspended and resumed only once it is in a job object of its own: a program it
    // started before that would be outside the job, and cancelling would leave it running.
    if (!detail::createHiddenProcess(path, nullptr, currentDir, CREATE_SUSPENDED, started)) return Process();
    // Where no job can be had (a system that does not nest jobs, inside a job that forbids
    // breaking away), the program runs without one and cancelling ends it alone.
    HANDLE job = ::CreateJobObjectA(nullptr, nullptr);
    if (job && !::AssignProcessToJobObject(job, started.hProcess)) {
        ::CloseHandle(job);
        job = nullptr;
    }
    if (::ResumeThread(started.hThread) == static_cast<DWORD>(-1)) {
        const DWORD error = ::GetLastError();
        ::TerminateProcess(started.hProcess, EndedByCancel);
        Process(started.hProcess, started.hThread, job).wait();
        ::SetLastError(error);
        return Process();
    }
    return Process(started.hProcess, started.hThread, job);
}

}  // namespace tarnix::platform
