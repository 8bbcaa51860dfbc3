#include "platform.h"
#include "platform_internal.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

namespace tarnix::platform {
namespace {

namespace fs = std::filesystem;
using detail::WriteStep;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

// Each case prepares a folder around "doc.txt", writes "new" to the path it names, and checks
// what must have survived besides the new content.
TEST(FileWriter, KeepsWhatSurroundsTheFile) {
    struct Case {
        const char* what;
        std::function<std::string(const TempFolder&)> prepare;  // answers the path written to
        std::function<void(const TempFolder&)> check;
    };
    const std::string pid = std::to_string(::getpid());
    const Case cases[] = {
        {"a link is written through and stays a link",
         [](const TempFolder& d) {
             fs::create_directory(d / "real");
             writeBytes(d / "real/doc.txt", "old");
             fs::create_symlink("real/doc.txt", d / "link.txt");
             fs::create_symlink("link.txt", d / "link2.txt");
             return d / "link2.txt";
         },
         [](const TempFolder& d) {
             EXPECT_TRUE(fs::is_symlink(d / "link.txt"));
             EXPECT_TRUE(fs::is_symlink(d / "link2.txt"));
             EXPECT_EQ(readBytes(d / "real/doc.txt"), "new");
             EXPECT_EQ(entries(d / "real"), std::vector<std::string>{"doc.txt"});
         }},
        {"a dangling link gets its target made",
         [](const TempFolder& d) {
             fs::create_symlink("made.txt", d / "link.txt");
             return d / "link.txt";
         },
         [](const TempFolder& d) {
             EXPECT_TRUE(fs::is_symlink(d / "link.txt"));
             EXPECT_EQ(readBytes(d / "made.txt"), "new");
         }},
        {"the mode stays",
         [](const TempFolder& d) {
             writeBytes(d / "doc.txt", "old");
             ::chmod((d / "doc.txt").c_str(), 0600);
             return d / "doc.txt";
         },
         [](const TempFolder& d) { EXPECT_EQ(statOf(d / "doc.txt").st_mode & 07777, 0600u); }},
        {"the owner stays where it may be set",
         [](const TempFolder& d) {
             writeBytes(d / "doc.txt", "old");
             if (::geteuid() == 0 && ::chown((d / "doc.txt").c_str(), 65534, 65534) != 0) ADD_FAILURE();
             return d / "doc.txt";
         },
         [](const TempFolder& d) {
             EXPECT_EQ(statOf(d / "doc.txt").st_uid, ::geteuid() == 0 ? 65534u : ::geteuid());
         }},
        {"hard links stay linked",
         [](const TempFolder& d) {
             writeBytes(d / "doc.txt", "old and longer");
             fs::create_hard_link(d / "doc.txt", d / "other.txt");
             return d / "doc.txt";
         },
         [](const TempFolder& d) {
             EXPECT_EQ(readBytes(d / "other.txt"), "new");
             EXPECT_EQ(statOf(d / "doc.txt").st_ino, statOf(d / "other.txt").st_ino);
         }},
        {"what lies at a temporary name of earlier writers is neither followed nor touched",
         [pid](const TempFolder& d) {
             writeBytes(d / "doc.txt", "old");
             writeBytes(d / "victim", "victim");
             fs::create_symlink(d / "victim", d / "doc.txt.~sav");
             for (int n = 1; n <= 3; ++n) fs::create_symlink(d / "victim", d / (".tarnix-" + pid + "-" + std::to_string(n)));
             writeBytes(d / "DOC.TXT.~SAV", "mine");
             return d / "doc.txt";
         },
         [pid](const TempFolder& d) {
             EXPECT_EQ(readBytes(d / "victim"), "victim");
             EXPECT_EQ(readBytes(d / "DOC.TXT.~SAV"), "mine");
             EXPECT_TRUE(fs::is_symlink(d / "doc.txt.~sav"));
             EXPECT_EQ(entries(d.path()).size(), 7u);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        const std::string path = c.prepare(dir);
        ASSERT_TRUE(writeFile(path, "new")) << std::strerror(errno);
        EXPECT_EQ(readBytes(path), "new");
        c.check(dir);
    }
}

TEST(FileWriter, NamesUpToTheLongestTheSystemAllowsAreWritten) {
    TempFolder dir;
    for (std::size_t length : {250u, 251u, 254u, 255u}) {
        const std::string path = dir / std::string(length, 'n');
        writeBytes(path, "old");
        EXPECT_TRUE(writeFile(path, "new")) << length;
        EXPECT_TRUE(writeFile(path + "2", "") || length >= 255) << length;
        EXPECT_EQ(readBytes(path), "new") << length;
    }
    EXPECT_EQ(entries(dir.path()).size(), 7u);  // no temporary file stays
}

TEST(FileWriter, RefusesWhatThisUserMayNotWrite) {
    TempFolder dir;
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(writeFile(dir / "folder", "x"));
    EXPECT_EQ(lastIoErrorText(true), "File access denied");
    EXPECT_FALSE(writeFile(dir / "missing/doc.txt", "x"));
    EXPECT_EQ(lastIoErrorText(true), "Invalid filename");

    const std::string ini = dir / "Ordo.ini";
    writeBytes(ini, "[Files]\r\nkbpath=/p/\r\n");
    ::chmod(ini.c_str(), 0444);
    if (::geteuid() == 0) GTEST_SKIP() << "root may write a read-only file";
    EXPECT_FALSE(profileWrite(ini, "Files", "kbpath", "/q/"));
    EXPECT_EQ(lastIoErrorText(true), "File access denied");
    EXPECT_EQ(readBytes(ini), "[Files]\r\nkbpath=/p/\r\n");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"Ordo.ini", "folder"}));
}

// A 64 KB file system, mounted for one test where the process may mount (root).
class SmallDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a small file system here";
        mounted = true;
    }
    void TearDown() override {
        if (mounted) ::umount(dir.path().c_str());
    }
    TempFolder dir;
    bool mounted = false;
};

TEST_F(SmallDisk, AFullDiskLeavesTheOldFileWhole) {
    const std::string old(20000, 'a');
    writeBytes(dir / "doc.txt", old);
    writeBytes(dir / "linked.txt", old);
    fs::create_hard_link(dir / "linked.txt", dir / "twin.txt");
    const std::string ini = dir / "Ordo.ini";
    const std::string settings = "[Files]\r\nkbpath=/p/\r\ncurrKb=Kb1\r\n";
    writeBytes(ini, settings);
    fs::create_hard_link(ini, dir / "Ordo.bak");

    EXPECT_FALSE(writeFile(dir / "doc.txt", std::string(30000, 'b')));  // replaced: no room for both
    EXPECT_EQ(lastIoErrorText(true), "Disk full");
    EXPECT_FALSE(writeFile(dir / "linked.txt", std::string(70000, 'b')));  // in place
    EXPECT_FALSE(profileWrite(ini, "Files", "kbpath", std::string(30000, 'p')));
    EXPECT_EQ(readBytes(dir / "doc.txt"), old);
    EXPECT_EQ(readBytes(dir / "twin.txt"), old);
    EXPECT_EQ(readBytes(ini), settings);
    EXPECT_EQ(entries(dir.path()),
              (std::vector<std::string>{"Ordo.bak", "Ordo.ini", "doc.txt", "linked.txt", "twin.txt"}));

    EXPECT_TRUE(writeFile(dir / "linked.txt", std::string(20000, 'c')));  // the same size fits in place
    EXPECT_EQ(readBytes(dir / "twin.txt"), std::string(20000, 'c'));
}

// Every step the writer takes is made to fail in turn, in every way the writer can go; the file
// must then hold its old bytes and the write report the failure, or hold the new bytes and the
// write report success. Nothing else may be left in the folder.
TEST(FileWriter, AFailureAtAnyStepLeavesTheOldFileOrTheNewOne) {
    struct Case {
        const char* what;
        bool hardLinked;
        bool folderTakesNoNewFile;
        std::size_t oldSize, newSize;
    };
    const Case cases[] = {
        {"replaced, growing", false, false, 3000, 5000},
        {"replaced, shrinking", false, false, 5000, 3000},
        {"hard-linked, growing", true, false, 3000, 5000},
        {"hard-linked, shrinking", true, false, 5000, 3000},
        {"unwritable folder, growing", false, true, 3000, 5000},
        {"unwritable folder, shrinking", false, true, 5000, 3000},
    };
    // The hook's state: the steps asked so far, which of them fails, how often restoring fails.
    static std::vector<WriteStep> asked;
    static std::size_t failing;
    static int restoreFailures;
    static bool folderTakesNoNewFile;
    detail::writeFault = [](WriteStep step) {
        asked.push_back(step);
        if (step == WriteStep::Restore && restoreFailures > 0) {
            --restoreFailures;
            return EIO;
        }
        if (asked.size() - 1 == failing) return EIO;
        return step == WriteStep::Create && folderTakesNoNewFile ? EACCES : 0;
    };
    for (const Case& c : cases) {
        const std::string old(c.oldSize, 'o'), wanted(c.newSize, 'n');
        folderTakesNoNewFile = c.folderTakesNoNewFile;
        auto attempt = [&](std::size_t failAt, int restoreFails) {
            SCOPED_TRACE(std::string(c.what) + ", step " + std::to_string(failAt) + " fails, restoring fails " +
                         std::to_string(restoreFails) + " times");
            TempFolder dir;
            writeBytes(dir / "doc.txt", old);
            if (c.hardLinked) fs::create_hard_link(dir / "doc.txt", dir / "twin.txt");
            const auto before = entries(dir.path());
            asked.clear();
            failing = failAt;
            restoreFailures = restoreFails;
            const bool written = writeFile(dir / "doc.txt", wanted);
            if (!damagedFileCopy().empty()) {  // restoring failed too: the old bytes are kept in a copy
                EXPECT_TRUE(readBytes(damagedFileCopy()) == old);
                fs::remove(damagedFileCopy());
                return asked;
            }
            const std::string& expected = written ? wanted : old;
            EXPECT_TRUE(readBytes(dir / "doc.txt") == expected) << (written ? "not the new bytes" : "not the old bytes");
            if (c.hardLinked) {
                EXPECT_TRUE(readBytes(dir / "twin.txt") == expected) << "the other link differs";
            }
            EXPECT_EQ(entries(dir.path()), before);
            return asked;
        };
        const auto steps = attempt(SIZE_MAX, 0);
        ASSERT_GE(steps.size(), 2u) << c.what;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (steps[i] == WriteStep::Create && c.folderTakesNoNewFile) continue;  // fails anyway
            for (int restoreFails : {0, 1, 2, 3}) attempt(i, restoreFails);
        }
    }
    detail::writeFault = nullptr;
}

}  // namespace
}  // namespace tarnix::platform
