#include "workspace.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <string>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/mount.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "Unit4.h"
#include "platform/platform.h"
#include "platform/tests/temp_folder.h"

namespace fs = std::filesystem;

namespace tarnix::test {

Workspace::Workspace(const std::string& projectName)
{
    const char separator = platform::separator();
    root = platform::testing::newTempFolder("tarnix") + separator;
    home = root + "home" + separator;
    work = root + projectName + separator;
    fs::create_directories(home);
    fs::create_directories(work);
    write(home + "Ordo.ini", "[Files]\r\nkbpath=" + work + "\r\n");
    platform::overrideProgramDir(platform::cp1251ToUtf8(home));
    platform::testing::setEnvironment("TARNIX_STANDIN_SCRIPT", "");
    context = Context{};
    context.HomeDir = home;
    context.WorkDir = work;
    setUi(&ui);
}

namespace {

// The immutable flag of Linux file systems, which binds root too.
bool setImmutable(const std::string& path, bool on)
{
#ifdef __linux__
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
#else
    (void)path, (void)on;
    return false;
#endif
}

bool runningAsRoot()
{
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

bool writable(const std::string& path)
{
    if (fs::is_directory(path)) {
        const std::string probe = path + "/.probe";
        if (!std::ofstream(probe))
            return false;
        fs::remove(probe);
        return true;
    }
    return static_cast<bool>(std::ofstream(path, std::ios::app));
}

}  // namespace

// On Windows a folder's read-only attribute does not stop anyone from writing into it, so a
// folder cannot be made read-only there.
bool Workspace::makeReadOnly(const std::string& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (runningAsRoot())
        setImmutable(path, true);
    locked_.push_back(path);
    return !writable(path);
}

std::string Workspace::smallDisk(std::size_t bytes)
{
#ifdef __linux__
    const std::string folder = root + "small" + std::to_string(mounted_.size()) + "/";
    fs::create_directory(folder);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return {};
    mounted_.push_back(folder);
    return folder;
#else
    (void)bytes;
    return {};
#endif
}

Workspace::~Workspace()
{
#ifdef __linux__
    for (const auto& folder : mounted_)
        ::umount(folder.c_str());
#endif
    for (const auto& path : locked_)
        setImmutable(path, false);
    setUi(nullptr);
    platform::overrideProgramDir("");
    platform::testing::setEnvironment("TARNIX_STANDIN_SCRIPT", "");
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

void Workspace::installEngines()
{
    for (const char* name : {"vrex.exe", "vrext.exe", "sh.exe"}) {
#ifdef _WIN32
        fs::copy_file(fs::path(TARNIX_BIN_DIR) / name, home + name);  // Windows knows no links to programs
#else
        fs::create_symlink(fs::path(TARNIX_BIN_DIR) / name, home + name);
#endif
    }
}

void Workspace::installDemo()
{
    for (const auto& file : fs::directory_iterator(TARNIX_DEMO_DIR))
        fs::copy_file(file.path(), work + file.path().filename().string(), fs::copy_options::overwrite_existing);
}

void Workspace::script(const std::string& text)
{
    write(root + "script.txt", text);
    platform::testing::setEnvironment("TARNIX_STANDIN_SCRIPT", root + "script.txt");
}

void Workspace::write(const std::string& path, const std::string& bytes) const
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Workspace::read(const std::string& path) const
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Workspace::exists(const std::string& path) const { return fs::exists(path); }

std::string Workspace::engineLog() const
{
    std::string log = read(work + "standin.log");
    std::erase(log, '\r');
    return log;
}

int Workspace::childGroup(const std::string& name) const
{
    for (int tries = 0; tries < 500; ++tries) {
        const std::string pid = exists(work + name) ? read(work + name) : std::string();
        if (!pid.empty() && pid.back() == '\n') {  // written whole
#ifdef _WIN32
            return std::atoi(pid.c_str());
#else
            return ::getpgid(std::atoi(pid.c_str()));
#endif
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

#ifdef _WIN32
bool Workspace::groupAlive(int group)
{
    // The child's end comes a moment after the call that ends it: Windows ends processes
    // asynchronously.
    const HANDLE child = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(group));
    if (!child)
        return false;
    const bool alive = ::WaitForSingleObject(child, 2000) == WAIT_TIMEOUT;
    ::CloseHandle(child);
    return alive;
}
#else
bool Workspace::groupAlive(int group)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        // pid (name) state ppid pgrp ...: the name may hold blanks, so count from its end.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        char state = 0;
        int parent = 0, pgrp = 0;
        if (rest >> state >> parent >> pgrp && pgrp == group && state != 'Z' && state != 'X')
            return true;
    }
    return false;
}
#endif

}  // namespace tarnix::test
