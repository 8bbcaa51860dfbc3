// Processes and the program's own folder on POSIX.
#include "platform.h"
#include "platform_internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace tarnix::platform {
namespace {

std::mutex overrideMutex;
std::string overriddenDir;

std::string withSeparator(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? utf8ToCp1251(buffer) : std::string();
}

}  // namespace

std::string programDirSystemName() {
    {
        std::lock_guard lock(overrideMutex);
        if (!overriddenDir.empty()) return overriddenDir;
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        char cwd[PATH_MAX];
        return withSeparator(::getcwd(cwd, sizeof cwd) ? cwd : "");
    }
    const std::string exe(buffer, static_cast<std::size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

std::string programDir() { return utf8ToCp1251(programDirSystemName()); }

void overrideProgramDir(const std::string& dir) {
    std::lock_guard lock(overrideMutex);
    overriddenDir = dir.empty() ? dir : withSeparator(dir);
}

char separator() { return '/'; }
bool isSeparator(char c) { return c == '/'; }

std::string userHomeDir() {
    const char* home = std::getenv("HOME");
    return withSeparator(utf8ToCp1251(home && *home ? home : "/"));
}

namespace {

// A descriptor that becomes readable when `pid` ends: a pidfd where the kernel has them,
// otherwise one end of a socket pair that a thread, sleeping in waitid until then, writes to.
// Neither reaps the program, so its pid (and its process group) stays taken until wait() or
// endGroup(). The reading end may be closed first (wait(), release()): the thread's write then
// fails quietly, never with SIGPIPE, which would end the whole program.
int openEndHandle(pid_t pid) {
#ifdef SYS_pidfd_open
    const long fd = detail::endHandleWithoutPidfd ? -1 : ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return static_cast<int>(fd);
    }
#endif
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return -1;
    std::thread([pid, writeEnd = ends[1]] {
        siginfo_t info{};
        while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
        }
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::send(writeEnd, &byte, 1, MSG_NOSIGNAL);
        ::close(writeEnd);
    }).detach();
    return ends[0];
}

// The processes of `group` that have not ended yet, each as a descriptor that becomes
// readable when it ends (Linux: found by their entries in /proc).
std::vector<int> groupMembers(pid_t group) {
    std::vector<int> members;
#ifdef SYS_pidfd_open
    DIR* proc = ::opendir("/proc");
    if (!proc) return members;
    while (const dirent* entry = ::readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0) continue;
        const long fd = ::syscall(SYS_pidfd_open, pid, 0);
        if (fd < 0) continue;
        if (::getpgid(pid) == group)
            members.push_back(static_cast<int>(fd));
        else
            ::close(static_cast<int>(fd));
    }
    ::closedir(proc);
#endif
    return members;
}

ProcessEnd reap(pid_t pid) {
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    if (r < 0) return {};
    if (WIFSIGNALED(status)) return ProcessEnd::signalled(WTERMSIG(status));
    return ProcessEnd::exited(WEXITSTATUS(status));
}

}  // namespace

Process::Process(std::intptr_t pid) : pid_(pid), endFd_(openEndHandle(static_cast<pid_t>(pid))) {}

// A program not waited for goes on running; it is reaped here if it has already ended.
void Process::release() {
    if (pid_ > 0) ::waitpid(static_cast<pid_t>(pid_), nullptr, WNOHANG);
    if (endFd_ >= 0) ::close(endFd_);
    pid_ = 0;
    endFd_ = -1;
}

Process::Process(Process&& other) noexcept : pid_(other.pid_), endFd_(other.endFd_) {
    other.pid_ = 0;
    other.endFd_ = -1;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        release();
        pid_ = other.pid_;
        endFd_ = other.endFd_;
        other.pid_ = 0;
        other.endFd_ = -1;
    }
    return *this;
}

Process::~Process() { release(); }

ProcessEnd Process::wait() {
    if (pid_ <= 0) return {};
    const ProcessEnd end = reap(static_cast<pid_t>(pid_));
    pid_ = 0;
    release();
    return end;
}

bool waitForEnd(EndHandle endHandle, int timeoutMs) {
    if (endHandle < 0) return false;
    pollfd ended{static_cast<int>(endHandle), POLLIN, 0};
    int ready;
    while ((ready = ::poll(&ended, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return ready > 0;
}

ProcessEnd Process::endGroup(int graceMs) {
    if (pid_ <= 0) return {};
    const pid_t group = static_cast<pid_t>(pid_);
    ::kill(-group, SIGTERM);
    waitForEnd(endFd_, graceMs);
    // The program, ended or not, is not reaped yet, so the group's number cannot have passed
    // to another program: what is left of the group (a child that ignored the request, or
    // the program itself) is killed for sure.
    ::kill(-group, SIGKILL);
    // A killed process is gone only once the system has ended it; wait for that (briefly:
    // SIGKILL cannot be refused) for every member, the ones the program started included.
    for (const int member : groupMembers(group)) {
        waitForEnd(member, 2000);
        ::close(member);
    }
    return wait();
}

namespace detail {

bool endHandleWithoutPidfd = false;

std::string killedBy(int signal) {
    // The untranslated description: messages must not depend on the user's locale.
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
    const char* name = ::sigdescr_np(signal);
#else
    const char* name = ::strsignal(signal);
#endif
    return "ended by signal " + std::to_string(signal) + " (" + (name ? name : "unknown signal") + ")";
}

ProgramKind programKind(const std::string& nativeName) {
    const int fd = ::open(nativeName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ProgramKind::Native;
    // The DOS header begins with "MZ" and holds at 0x3C where the PE header lies; that begins
    // with "PE\0\0" and the machine the program is for.
    unsigned char dos[0x40] = {};
    unsigned char pe[6] = {};
    const ssize_t dosBytes = ::pread(fd, dos, sizeof dos, 0);
    ssize_t peBytes = 0;
    if (dosBytes == static_cast<ssize_t>(sizeof dos)) {
        const std::uint32_t offset = dos[0x3C] | dos[0x3D] << 8 | dos[0x3E] << 16 | std::uint32_t{dos[0x3F]} << 24;
        peBytes = ::pread(fd, pe, sizeof pe, static_cast<off_t>(offset));
    }
    ::close(fd);
    if (dosBytes < 2 || dos[0] != 'M' || dos[1] != 'Z') return ProgramKind::Native;
    constexpr unsigned machineAmd64 = 0x8664;  // IMAGE_FILE_MACHINE_AMD64
    const bool pe64 = peBytes == static_cast<ssize_t>(sizeof pe) && std::memcmp(pe, "PE\0\0", 4) == 0 &&
                      (pe[4] | pe[5] << 8) == machineAmd64;
    // An i386 program, and one whose header is cut short or names another machine, goes to
    // the loader that Wine starts every kind of program with.
    return pe64 ? ProgramKind::Windows64 : ProgramKind::Windows32;
}

}  // namespace detail

namespace {

// The file `name` names: itself when it holds a '/', otherwise the first executable of that
// name on PATH (searched as the shell does), then in `extraFolder`. Empty when there is none.
std::string findProgram(const std::string& name, const std::string& extraFolder = {}) {
    if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/bin:/usr/bin";
    if (!extraFolder.empty()) folders += ':' + extraFolder;
    for (std::size_t begin = 0; begin <= folders.size();) {
        std::size_t end = folders.find(':', begin);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > begin ? folders.substr(begin, end - begin) : ".";
        const std::string candidate = withSeparator(folder) + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        begin = end + 1;
    }
    return {};
}

// The Wine loader for a Windows program: the one TARNIX_WINE names, otherwise "wine64" for a
// 64-bit program (where "wine" may be a 32-bit loader this system cannot run) and "wine" for
// the others, on PATH or where Debian keeps them. Empty when Wine is not installed.
std::string wineLoader(detail::ProgramKind kind) {
    if (const char* chosen = std::getenv("TARNIX_WINE"); chosen && *chosen) return findProgram(chosen);
    const std::vector<const char*> names = kind == detail::ProgramKind::Windows64
                                               ? std::vector<const char*>{"wine64", "wine"}
                                               : std::vector<const char*>{"wine"};
    for (const char* name : names)
        if (std::string loader = findProgram(name, "/usr/lib/wine"); !loader.empty()) return loader;
    return {};
}

// The command that starts `program`: the program alone, or for a Windows program the Wine
// loader with the program's path as its one argument (the program itself still gets none).
// Empty for a Windows program when Wine is not installed.
std::vector<std::string> commandFor(const std::string& program) {
    const detail::ProgramKind kind = detail::programKind(program);
    if (kind == detail::ProgramKind::Native) return {program};
    std::string loader = wineLoader(kind);
    if (loader.empty()) return {};
    return {std::move(loader), program};
}

}  // namespace

namespace {

// Starts `command` (its first word the program) in `folder`: nothing of ours reaches it but the
// environment (standard streams to the null device, other descriptors closed, signals as for a
// fresh process), in a process group of its own, so that ending the group ends what it started
// as well. Its pid, or 0 (errno set) when it could not be started.
pid_t spawn(std::vector<std::string> command, const std::string& folder) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> environment;
    for (char** variable = environ; variable && *variable; ++variable) environment.push_back(*variable);
    // Wine's diagnostics are not even produced, unless the caller has asked for them.
    std::string quietWine = "WINEDEBUG=-all";
    if (command.size() > 1 && !std::getenv("WINEDEBUG")) environment.push_back(quietWine.data());
    environment.push_back(nullptr);

    // glibc reports a failed exec (or chdir) in the child as the result of posix_spawn, so a
    // program that cannot run is never mistaken for one that ran and failed.
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        errno = error;
        return 0;
    }
    return pid;
}

// The program's path taken against our own current folder, not the one it starts in.
std::string programName(const std::string& path) {
    return detail::nativePath(path.empty() || path.front() == '/' ? path : detail::joinPath(currentDirectory(), path));
}

// Whether Wine's prefix (WINEPREFIX, or ~/.wine) has been set up, or its set-up begun: Wine
// stamps a prefix when it sets it up, and sets up any prefix without the stamp.
bool wineSetUp() {
    const char* prefix = std::getenv("WINEPREFIX");
    const char* home = std::getenv("HOME");
    std::string folder = prefix && *prefix ? prefix : std::string(home ? home : "") + "/.wine";
    struct stat st {};
    return ::stat((folder + "/.update-timestamp").c_str(), &st) == 0;
}

}  // namespace

Process startProgram(const std::string& path, const std::string& currentDir) {
    std::vector<std::string> command = commandFor(programName(path));
    if (command.empty()) {
        errno = ENOEXEC;  // a Windows program, and no Wine to run it
        return Process();
    }
    const pid_t pid = spawn(std::move(command), detail::nativePath(currentDir));
    return pid > 0 ? Process(pid) : Process();
}

// Wine's own set-up of its prefix, run apart from the program: cancelling the program must
// never end it half-way, which would leave the prefix broken for every later Windows program.
Process prepareToStart(const std::string& path) {
    const std::vector<std::string> command = commandFor(programName(path));
    if (command.size() < 2 || wineSetUp()) return Process();
    const pid_t pid = spawn({command.front(), "wineboot", "--init"}, {});
    return pid > 0 ? Process(pid) : Process();
}

}  // namespace tarnix::platform
