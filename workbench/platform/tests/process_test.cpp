#include "platform.h"
#include "platform_internal.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cerrno>

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

namespace tarnix::platform {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

void writeScript(const std::string& path, const std::string& body) {
    writeBytes(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms(0755));
}

TEST(Process, RunsInTheGivenFolderWithoutArgumentsAndWithTheEnvironment) {
    TempFolder bin, home;
    writeScript(bin / "vrex.exe",
                "pwd > where.txt\n"
                "echo \"$#|$TARNIX_PROCESS_PROBE\" > args.txt\n"
                "s=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                "echo \"$s\" > streams.txt\n"
                "echo noise\n"
                "exit 7\n");
    setenv("TARNIX_PROCESS_PROBE", "inherited", 1);
    Process p = startProgram(bin / "VREX.EXE", home.path());
    ASSERT_TRUE(p.started());
    EXPECT_EQ(p.wait(), ProcessEnd::exited(7));
    EXPECT_FALSE(p.started());
    EXPECT_EQ(p.wait(), ProcessEnd{});
    EXPECT_EQ(readBytes(home / "where.txt"), std::filesystem::canonical(home.path()).string() + "\n");
    EXPECT_EQ(readBytes(home / "args.txt"), "0|inherited\n");
    EXPECT_EQ(readBytes(home / "streams.txt"), "/dev/null\n/dev/null\n/dev/null\n");
    unsetenv("TARNIX_PROCESS_PROBE");
}

TEST(Process, AProgramThatCannotRunIsNotStarted) {
    TempFolder dir;
    writeBytes(dir / "plain.exe", "#!/bin/sh\nexit 0\n");  // not executable
    writeBytes(dir / "garbage.exe", "\x7F" "ELF garbage");
    std::filesystem::permissions(dir / "garbage.exe", std::filesystem::perms(0755));
    writeScript(dir / "ok.exe", "exit 0\n");

    EXPECT_FALSE(startProgram(dir / "missing.exe", dir.path()).started());
    EXPECT_EQ(lastSystemErrorText(), "The system cannot find the file specified.");
    if (geteuid() != 0) {  // root may run any file
        EXPECT_FALSE(startProgram(dir / "plain.exe", dir.path()).started());
    }
    EXPECT_FALSE(startProgram(dir / "garbage.exe", dir.path()).started());
    EXPECT_FALSE(startProgram(dir.path(), dir.path()).started());               // a folder
    EXPECT_FALSE(startProgram(dir / "ok.exe", dir / "no/such/folder").started());
    Process ok = startProgram(dir / "ok.exe", dir.path());
    ASSERT_TRUE(ok.started());
    EXPECT_EQ(ok.wait(), ProcessEnd::exited(0));
}

TEST(Process, ARelativeProgramPathIsTakenFromOurOwnFolder) {
    TempFolder dir, elsewhere;
    writeScript(dir / "sh.exe", "touch ran.txt\n");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    Process p = startProgram("sh.exe", elsewhere.path());
    std::filesystem::current_path(saved);
    ASSERT_TRUE(p.started());
    EXPECT_EQ(p.wait(), ProcessEnd::exited(0));
    EXPECT_TRUE(std::filesystem::exists(elsewhere / "ran.txt"));
}

TEST(Process, WaitTellsASignalFromAnExitAndMovesKeepOneOwner) {
    TempFolder dir;
    // A program killed after it has written its answer has still failed.
    writeScript(dir / "crash.exe", "echo 0 > ovc17.ari\nkill -ABRT $$\n");
    writeScript(dir / "exit.exe", "exit 134\n");  // the status a shell gives a killed child
    Process first = startProgram(dir / "crash.exe", dir.path());
    Process second = std::move(first);
    EXPECT_FALSE(first.started());
    ASSERT_TRUE(second.started());
    const ProcessEnd killed = second.wait();
    EXPECT_EQ(killed, ProcessEnd::signalled(SIGABRT));
    EXPECT_EQ(describe(killed), "ended by signal 6 (Aborted)");
    const ProcessEnd exited = startProgram(dir / "exit.exe", dir.path()).wait();
    EXPECT_EQ(exited, ProcessEnd::exited(134));
    EXPECT_EQ(describe(exited), "ended with exit status 134");
}

// The end handle becomes readable when the program ends, not before; endGroup ends even a
// group that ignores the request to terminate, once the grace time is over.
TEST(Process, EndHandleAndEndGroup) {
    TempFolder dir;
    writeScript(dir / "short.exe", "sleep 0.3\n");
    writeScript(dir / "stubborn.exe", "trap '' TERM\nsleep 60\n");
    EXPECT_EQ(Process().endHandle(), -1);
    EXPECT_EQ(Process().endGroup(), ProcessEnd{});

    Process quick = startProgram(dir / "short.exe", dir.path());
    ASSERT_TRUE(quick.started());
    EXPECT_FALSE(waitForEnd(quick.endHandle(), 0));
    EXPECT_TRUE(waitForEnd(quick.endHandle(), 10000));
    EXPECT_EQ(quick.wait(), ProcessEnd::exited(0));
    EXPECT_EQ(quick.endHandle(), -1);

    Process stubborn = startProgram(dir / "stubborn.exe", dir.path());
    ASSERT_TRUE(stubborn.started());
    EXPECT_FALSE(waitForEnd(stubborn.endHandle(), 200));
    EXPECT_EQ(stubborn.endGroup(100), ProcessEnd::signalled(SIGKILL));
    EXPECT_FALSE(stubborn.started());
}

// Where the kernel has no pidfds a thread tells of the end. The handle works the same, and a
// handle closed before the program ends (a released or cancelled program) costs nothing: the
// thread's late write must not end this program with SIGPIPE.
TEST(Process, EndHandleWithoutPidfds) {
    detail::endHandleWithoutPidfd = true;
    TempFolder dir;
    writeScript(dir / "short.exe", "sleep 0.2\n");
    {
        Process released = startProgram(dir / "short.exe", dir.path());
        ASSERT_TRUE(released.started());
    }  // its handle is closed while it runs
    Process waited = startProgram(dir / "short.exe", dir.path());
    EXPECT_FALSE(waitForEnd(waited.endHandle(), 0));
    EXPECT_TRUE(waitForEnd(waited.endHandle(), 10000));
    EXPECT_EQ(waited.wait(), ProcessEnd::exited(0));
    Process cancelled = startProgram(dir / "short.exe", dir.path());
    EXPECT_EQ(cancelled.endGroup(100), ProcessEnd::signalled(SIGTERM));
    ::usleep(500000);  // every thread has written by now
    detail::endHandleWithoutPidfd = false;
}

// The start of a Windows program: a DOS header whose last field points at a PE header for
// `machine`, cut after `length` bytes.
std::string windowsProgram(unsigned machine, std::size_t length = 0x100) {
    std::string bytes(0x100, '\0');
    bytes.replace(0, 2, "MZ");
    bytes[0x3C] = 0x40;
    bytes.replace(0x40, 4, std::string("PE\0\0", 4));
    bytes[0x44] = static_cast<char>(machine & 0xFF);
    bytes[0x45] = static_cast<char>(machine >> 8);
    return bytes.substr(0, length);
}

TEST(Process, WindowsProgramsAreToldByTheirHeader) {
    using detail::ProgramKind;
    TempFolder dir;
    const struct {
        const char* name;
        std::string bytes;
        ProgramKind kind;
    } cases[] = {
        {"script", "#!/bin/sh\nexit 0\n", ProgramKind::Native},
        {"empty", "", ProgramKind::Native},
        {"m", "M", ProgramKind::Native},
        {"mz-lower", "mz" + windowsProgram(0x8664).substr(2), ProgramKind::Native},
        {"i386", windowsProgram(0x14C), ProgramKind::Windows32},
        {"amd64", windowsProgram(0x8664), ProgramKind::Windows64},
        {"arm64", windowsProgram(0xAA64), ProgramKind::Windows32},
        {"mz-only", "MZ", ProgramKind::Windows32},
        {"cut-in-dos-header", windowsProgram(0x8664, 0x30), ProgramKind::Windows32},
        {"cut-in-pe-header", windowsProgram(0x8664, 0x45), ProgramKind::Windows32},
        {"ne-not-pe", [] { std::string b = windowsProgram(0x8664); b[0x41] = 'E'; b[0x40] = 'N'; return b; }(),
         ProgramKind::Windows32},
        {"header-past-end", [] { std::string b = windowsProgram(0x8664); b[0x3F] = 0x7F; return b; }(),
         ProgramKind::Windows32},
    };
    for (const auto& c : cases) {
        writeBytes(dir / c.name, c.bytes);
        EXPECT_EQ(detail::programKind(dir / c.name), c.kind) << c.name;
    }
    EXPECT_EQ(detail::programKind(dir / "missing"), ProgramKind::Native);
    EXPECT_EQ(detail::programKind(dir.path()), ProgramKind::Native);
}

// A Windows program starts through the Wine loader (here one that records how it was
// started), which gets the program's path as its only argument; a native program still
// starts directly. Without Wine a Windows program is not started.
TEST(Process, WindowsProgramsStartThroughWine) {
    TempFolder bin, home;
    writeScript(bin / "wine",
                "echo \"$#|$1|$(pwd)|$WINEDEBUG\" >> wine.txt\n"
                "s=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                "echo $s >> wine.txt\n"
                "exit 5\n");
    writeBytes(bin / "vrex.exe", windowsProgram(0x8664));  // no execute permission: Wine needs none
    writeScript(bin / "sh.exe", "echo native >> wine.txt\n");
    const std::string canonicalHome = std::filesystem::canonical(home.path()).string();
    setenv("TARNIX_WINE", (bin / "wine").c_str(), 1);
    unsetenv("WINEDEBUG");

    EXPECT_EQ(startProgram(bin / "VREX.EXE", home.path()).wait(), ProcessEnd::exited(5));
    setenv("WINEDEBUG", "err+all", 1);
    EXPECT_EQ(startProgram(bin / "vrex.exe", home.path()).wait(), ProcessEnd::exited(5));
    EXPECT_EQ(startProgram(bin / "sh.exe", home.path()).wait(), ProcessEnd::exited(0));
    unsetenv("WINEDEBUG");
    const std::string started = "1|" + bin / "vrex.exe" + "|" + canonicalHome;
    const std::string streams = "/dev/null /dev/null /dev/null\n";
    EXPECT_EQ(readBytes(home / "wine.txt"),
              started + "|-all\n" + streams + started + "|err+all\n" + streams + "native\n");

    setenv("TARNIX_WINE", (bin / "no-wine").c_str(), 1);
    errno = 0;
    EXPECT_FALSE(startProgram(bin / "vrex.exe", home.path()).started());
    EXPECT_EQ(errno, ENOEXEC);
    EXPECT_TRUE(startProgram(bin / "sh.exe", home.path()).started());
    unsetenv("TARNIX_WINE");
}

}  // namespace
}  // namespace tarnix::platform
