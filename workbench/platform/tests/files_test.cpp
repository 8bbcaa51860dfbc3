#include "platform.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace tarnix::platform {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

const std::string kLowerReport = "\xEE\xF2\xF7\xB8\xF2.txt";  // отчёт.txt
const std::string kUpperReport = "\xCE\xD2\xD7\xA8\xD2.TXT";  // ОТЧЁТ.TXT

TEST(Files, NamesResolveWithoutRegardToCase) {
    TempFolder dir;
    writeBytes(dir / "prestrac.ari", "trace");
    std::filesystem::create_directory(dir / "Sub");
    writeBytes(dir / "Sub/Ordo.ini", "x");
    writeBytes(dir / cp1251ToUtf8(kLowerReport), "r");

    EXPECT_EQ(resolvePath(dir / "Prestrac.ari"), dir / "prestrac.ari");
    EXPECT_TRUE(fileExists(dir / "PRESTRAC.ARI"));
    EXPECT_EQ(resolvePath(dir / "sub/ordo.ini"), dir / "Sub/Ordo.ini");
    EXPECT_TRUE(fileExists(dir / kUpperReport));
    EXPECT_EQ(readBytes(systemPath(dir / kUpperReport)), "r");
    EXPECT_TRUE(directoryExists(dir / "SUB"));
    EXPECT_FALSE(fileExists(dir / "sub"));
    EXPECT_FALSE(directoryExists(dir / "prestrac.ari"));
    // A name that does not exist keeps the spelling given; existing folders are resolved.
    EXPECT_EQ(resolvePath(dir / "SUB/New.ari"), dir / "Sub/New.ari");
    EXPECT_EQ(resolvePath(dir / "none/New.ari"), dir / "none/New.ari");
    EXPECT_FALSE(fileExists(dir / "prestrac.ar"));
}

TEST(Files, AnExactSpellingWinsAndTwoCandidatesResolveTheSameWayEveryTime) {
    TempFolder dir;
    writeBytes(dir / "a.ari", "lower");
    writeBytes(dir / "A.ARI", "upper");
    EXPECT_EQ(resolvePath(dir / "a.ari"), dir / "a.ari");
    EXPECT_EQ(resolvePath(dir / "A.ARI"), dir / "A.ARI");
    EXPECT_EQ(resolvePath(dir / "A.ari"), dir / "A.ARI");  // the first in byte order
}

TEST(Files, DeleteRemovesFilesOnly) {
    TempFolder dir;
    writeBytes(dir / "kbmov4c.ari", "x");
    std::filesystem::create_directory(dir / "folder");
    EXPECT_TRUE(deleteFile(dir / "KbMov4c.ari"));
    EXPECT_FALSE(std::filesystem::exists(dir / "kbmov4c.ari"));
    EXPECT_FALSE(deleteFile(dir / "kbmov4c.ari"));
    EXPECT_EQ(lastIoErrorText(false), "File not found");
    EXPECT_FALSE(deleteFile(dir / "folder"));
    EXPECT_TRUE(std::filesystem::exists(dir / "folder"));
}

TEST(Files, RenameNeverReplacesAnExistingTarget) {
    TempFolder dir;
    writeBytes(dir / "old.tsk", "old");
    writeBytes(dir / "old.BAK", "backup");
    EXPECT_FALSE(renameFile(dir / "old.tsk", dir / "OLD.bak"));
    EXPECT_EQ(lastSystemErrorText(), "Cannot create a file when that file already exists.");
    EXPECT_EQ(readBytes(dir / "old.BAK"), "backup");
    EXPECT_EQ(readBytes(dir / "old.tsk"), "old");

    ASSERT_TRUE(deleteFile(dir / "old.bak"));
    EXPECT_TRUE(renameFile(dir / "OLD.TSK", dir / "old.BAK"));
    EXPECT_EQ(readBytes(dir / "old.BAK"), "old");
    EXPECT_FALSE(fileExists(dir / "old.tsk"));
    EXPECT_FALSE(renameFile(dir / "missing", dir / "other"));
}

TEST(Files, RenameMayChangeOnlyTheLetterCase) {
    TempFolder dir;
    writeBytes(dir / "notes.txt", "n");
    EXPECT_TRUE(renameFile(dir / "notes.txt", dir / "Notes.TXT"));
    const auto names = findFiles(dir.path(), "*");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "Notes.TXT");
}

TEST(Files, ReplaceOverwritesTheTargetInOneStep) {
    TempFolder dir;
    writeBytes(dir / "Task2.tsk", "old");
    writeBytes(dir / "save.new", "new");
    EXPECT_TRUE(replaceFile(dir / "save.new", dir / "task2.tsk"));
    EXPECT_EQ(readBytes(dir / "Task2.tsk"), "new");  // the existing spelling is kept
    EXPECT_FALSE(fileExists(dir / "save.new"));
}

TEST(Files, MakeDirectoryAndFindFiles) {
    TempFolder dir;
    EXPECT_TRUE(makeDirectory(dir / "Proj"));
    EXPECT_FALSE(makeDirectory(dir / "proj"));  // exists, whatever the case
    EXPECT_FALSE(makeDirectory(dir / "no/such/folder"));
    writeBytes(dir / "a.tmp", "");
    writeBytes(dir / "B.TMP", "");
    writeBytes(dir / "c.tmpl", "");
    writeBytes(dir / cp1251ToUtf8(kLowerReport), "");
    std::filesystem::create_directory(dir / "d.tmp");

    auto tmp = findFiles(dir.path(), "*.tmp");
    std::sort(tmp.begin(), tmp.end());
    EXPECT_EQ(tmp, (std::vector<std::string>{"B.TMP", "a.tmp", "d.tmp"}));
    EXPECT_EQ(findFiles(dir.path(), "\xCE\xD2*"), std::vector<std::string>{kLowerReport});
    EXPECT_EQ(findFiles(dir.path(), "*").size(), 6u);  // never "." or ".."
    EXPECT_TRUE(findFiles(dir / "missing", "*").empty());
}

TEST(Files, ErrorTextsFollowTheWindowsWording) {
    struct Case {
        int error;
        const char* reading;
        const char* writing;
        const char* system;
    };
    const Case cases[] = {
        {ENOENT, "File not found", "Invalid filename", "The system cannot find the file specified."},
        {ENOTDIR, "Invalid filename", "Invalid filename", "The system cannot find the path specified."},
        {EACCES, "File access denied", "File access denied", "Access is denied."},
        {EROFS, "File access denied", "File access denied", "Access is denied."},
        {EISDIR, "File access denied", "File access denied", "Access is denied."},
        {ENOSPC, "Disk full", "Disk full", "There is not enough space on the disk."},
    };
    for (const Case& c : cases) {
        errno = c.error;
        EXPECT_EQ(lastIoErrorText(false), c.reading) << c.error;
        EXPECT_EQ(lastIoErrorText(true), c.writing) << c.error;
        EXPECT_EQ(lastSystemErrorText(), c.system) << c.error;
    }
}

TEST(Files, ProgramFolderEndsWithItsSeparatorAndCanBeOverridden) {
    const std::string own = programDir();
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.back(), '/');
    EXPECT_TRUE(directoryExists(own));
    overrideProgramDir("/tmp/home");
    EXPECT_EQ(programDir(), "/tmp/home/");
    overrideProgramDir("");
    EXPECT_EQ(programDir(), own);
    EXPECT_EQ(userHomeDir().back(), '/');
}

}  // namespace
}  // namespace tarnix::platform
