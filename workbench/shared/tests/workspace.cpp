#include "workspace.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <string>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/mount.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Unit4.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace tarnix::test {

Workspace::Workspace(const std::string& projectName)
{
    std::string pattern = (fs::temp_directory_path() / "tarnix-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    root = pattern + "/";
    home = root + "home/";
    work = root + projectName + "/";
    fs::create_directories(home);
    fs::create_directories(work);
    write(home + "Ordo.ini", "[Files]\r\nkbpath=" + work + "\r\n");
    platform::overrideProgramDir(platform::cp1251ToUtf8(home));
    ::unsetenv("TARNIX_STANDIN_SCRIPT");
    context = Context{};
    context.HomeDir = home;
    context.WorkDir = work;
    setUi(&ui);
}

namespace {

bool setImmutable(const std::string& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

bool writable(const std::string& path)
{
    if (fs::is_directory(path)) {
        const std::string probe = path + "/.probe";
        const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(probe.c_str());
        return true;
    }
    const int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

bool Workspace::makeReadOnly(const std::string& path)
{
    ::chmod(path.c_str(), fs::is_directory(path) ? 0555 : 0444);
    if (::geteuid() == 0)
        setImmutable(path, true);
    locked_.push_back(path);
    return !writable(path);
}

std::string Workspace::smallDisk(std::size_t bytes)
{
    const std::string folder = root + "small" + std::to_string(mounted_.size()) + "/";
    fs::create_directory(folder);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return {};
    mounted_.push_back(folder);
    return folder;
}

Workspace::~Workspace()
{
    for (const auto& folder : mounted_)
        ::umount(folder.c_str());
    for (const auto& path : locked_)
        setImmutable(path, false);
    setUi(nullptr);
    platform::overrideProgramDir("");
    ::unsetenv("TARNIX_STANDIN_SCRIPT");
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

void Workspace::installEngines()
{
    for (const char* name : {"vrex.exe", "vrext.exe", "sh.exe"})
        fs::create_symlink(fs::path(TARNIX_BIN_DIR) / name, home + name);
}

void Workspace::script(const std::string& text)
{
    write(root + "script.txt", text);
    ::setenv("TARNIX_STANDIN_SCRIPT", (root + "script.txt").c_str(), 1);
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
        if (!pid.empty() && pid.back() == '\n')  // written whole
            return ::getpgid(std::atoi(pid.c_str()));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

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

}  // namespace tarnix::test
