// Windows programs started through Wine, shown with a Windows console program that tells how
// it was started (wine_probe.c). The build runs these tests in a Wine prefix of its own.
#include "platform.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <signal.h>
#include <stdlib.h>

namespace tarnix::platform {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;

// How Wine names a Unix folder: on drive Z:, with backslashes and no trailing one.
std::string windowsName(const std::string& folder) {
    std::string name = "Z:" + fs::canonical(folder).string();
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

// The processes whose entry `file` in /proc begins with `start`: "cmdline" holds the path a
// program was started with (Wine's process of a Windows program too), "comm" its name.
std::vector<int> processesWhose(const char* file, const std::string& start) {
    std::vector<int> found;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::string text;
        std::getline(std::ifstream(entry.path() / file), text, '\0');
        if (text.rfind(start, 0) == 0) found.push_back(std::atoi(entry.path().filename().c_str()));
    }
    return found;
}

class WineProcess : public ::testing::Test {
protected:
    WineProcess() {
        // Read, not executed, by Wine: a Windows program needs no execute permission.
        fs::copy_file(TARNIX_WINE_PROBE, bin / "vrex.exe");
        fs::permissions(bin / "vrex.exe", fs::perms(0644));
    }
    Process start(const char* variable) {
        setenv(variable, "7", 1);
        Process started = startProgram(bin / "VREX.EXE", home.path());
        unsetenv(variable);
        return started;
    }
    // Waits until the running probe has written its answer (the first start in a new prefix
    // takes long); false when it ended without one.
    bool answered(const Process& p) const {
        while (!fs::exists(home / "probe.txt"))
            if (waitForEnd(p.endHandle(), 100)) return false;
        return true;
    }

    TempFolder bin, home;
};

TEST_F(WineProcess, RunsWithoutWindowInTheGivenFolderWithoutArgumentsAndIsWaitedFor) {
    Process p = start("PROBE_EXIT");
    ASSERT_TRUE(p.started());
    EXPECT_EQ(p.wait(), ProcessEnd::exited(7));
    // Folder, arguments, a console window, visible windows of its own.
    EXPECT_EQ(readBytes(home / "probe.txt"), windowsName(home.path()) + "\r\n0\r\n0\r\n0\r\n");
}

// The first Windows program in a new prefix: Wine's set-up of it runs first, on its own and to
// its end (so cancelling the program cannot end it half-way and break the prefix), and once.
TEST_F(WineProcess, ANewPrefixIsSetUpApartBeforeTheFirstProgram) {
    TempFolder prefix;
    const char* before = std::getenv("WINEPREFIX");
    const std::string kept = before ? before : "";
    setenv("WINEPREFIX", (prefix / "wine").c_str(), 1);
    Process setUp = prepareToStart(bin / "vrex.exe");
    ASSERT_TRUE(setUp.started());
    EXPECT_TRUE(waitForEnd(setUp.endHandle(), 240000));
    EXPECT_EQ(setUp.wait(), ProcessEnd::exited(0));
    EXPECT_TRUE(fs::exists(prefix / "wine/drive_c/windows"));
    EXPECT_FALSE(prepareToStart(bin / "vrex.exe").started());
    Process p = start("PROBE_EXIT");
    EXPECT_EQ(p.wait(), ProcessEnd::exited(7));
    [[maybe_unused]] const int killed = std::system(("WINEPREFIX=" + (prefix / "wine") + " wineserver -k").c_str());
    if (before)
        setenv("WINEPREFIX", kept.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

TEST_F(WineProcess, EndGroupEndsAHangingProgramAndLeavesWineRunning) {
    Process p = start("PROBE_HANG");
    ASSERT_TRUE(p.started());
    ASSERT_TRUE(answered(p));
    EXPECT_FALSE(waitForEnd(p.endHandle(), 200));
    EXPECT_FALSE(processesWhose("cmdline", bin.path()).empty());
    const std::vector<int> servers = processesWhose("comm", "wineserver");
    EXPECT_FALSE(servers.empty());

    const auto before = std::chrono::steady_clock::now();
    EXPECT_NE(p.endGroup(), ProcessEnd{});
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_TRUE(processesWhose("cmdline", bin.path()).empty());
    // The Wine server is shared by every Windows program of the prefix: it stays.
    for (const int server : servers) EXPECT_EQ(::kill(server, 0), 0) << server;
    fs::remove(home / "probe.txt");
    EXPECT_EQ(start("PROBE_EXIT").wait(), ProcessEnd::exited(7));
    EXPECT_TRUE(fs::exists(home / "probe.txt"));
}

}  // namespace
}  // namespace tarnix::platform
