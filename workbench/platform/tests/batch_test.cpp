#include "platform.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnix::platform {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

class Batch : public ::testing::Test {
protected:
    // Runs the lines as "cf.bat" in the home folder.
    bool run(const std::string& lines) {
        writeBytes(home / "cf.bat", lines);
        return runBatchFile(home / "cf.bat", home.path());
    }
    TempFolder home, work;
};

TEST_F(Batch, MovesAndCopiesIntoAFolderWithAwkwardCharacters) {
    const std::string target = work / "my proj&a|b^c%d";
    std::filesystem::create_directory(target);
    writeBytes(home / "vrexn.exe", "program");
    std::filesystem::permissions(home / "vrexn.exe", std::filesystem::perms(0755));
    writeBytes(home / "Ordo.ini", "[Files]\r\n");
    const std::string quoted = "\"" + work.path() + "my proj&a|b^c%%d/";
    ASSERT_TRUE(run("move vrexn.exe " + quoted + "vrexn.exe\"\r\ncopy ordo.ini " + quoted + "ordo.ini\"\r\n"));

    EXPECT_EQ(readBytes(target + "/vrexn.exe"), "program");
    EXPECT_FALSE(std::filesystem::exists(home / "vrexn.exe"));
    EXPECT_EQ(std::filesystem::status(target + "/vrexn.exe").permissions(), std::filesystem::perms(0755));
    EXPECT_EQ(readBytes(target + "/ordo.ini"), "[Files]\r\n");  // the spelling given
    EXPECT_EQ(readBytes(home / "Ordo.ini"), "[Files]\r\n");
}

TEST_F(Batch, UnquotedSpecialCharactersFollowTheCommandInterpreter) {
    writeBytes(home / "a.txt", "a");
    // '^' escapes outside quotes; '&' would chain commands, which is not done: the line is skipped.
    ASSERT_TRUE(run("copy a.txt " + work.path() + "x^&y.txt\ncopy a.txt " + work.path() + "p&q.txt\n"));
    EXPECT_EQ(readBytes(work / "x&y.txt"), "a");
    EXPECT_FALSE(std::filesystem::exists(work / "p"));
    EXPECT_FALSE(std::filesystem::exists(work / "p&q.txt"));
}

TEST_F(Batch, MoveReplacesAnExistingTargetAndGoesIntoFolders) {
    writeBytes(home / "VrexN.exe", "new");
    writeBytes(work / "vrexn.exe", "old");
    writeBytes(home / "b.txt", "b");
    ASSERT_TRUE(run("MOVE vrexn.exe " + work.path() + "vrexn.exe\r\n@Move b.txt " + work.path() + "\r\n"));
    EXPECT_EQ(readBytes(work / "vrexn.exe"), "new");
    EXPECT_EQ(readBytes(work / "b.txt"), "b");
    EXPECT_TRUE(std::filesystem::is_empty(home.path()) ||
                std::distance(std::filesystem::directory_iterator(home.path()), {}) == 1);  // cf.bat alone
}

TEST_F(Batch, CopyNeverEmptiesAFileCopiedOntoItself) {
    writeBytes(home / "Ordo.ini", "[Files]\r\nkbpath=/x/\r\n");
    ASSERT_TRUE(run("copy ordo.ini " + home.path() + "ordo.ini\r\n"));
    EXPECT_EQ(readBytes(home / "Ordo.ini"), "[Files]\r\nkbpath=/x/\r\n");
}

TEST_F(Batch, UnknownLinesAndBadCommandsAreSkipped) {
    writeBytes(home / "a.txt", "a");
    ASSERT_TRUE(run("@echo off\nrem copy a.txt b.txt\ndel a.txt\ncopy missing.txt c.txt\ncopy a.txt\n"
                    "copy a.txt b.txt c.txt\n\ncopy a.txt \"d e.txt\""));
    EXPECT_EQ(readBytes(home / "a.txt"), "a");
    EXPECT_FALSE(std::filesystem::exists(home / "b.txt"));
    EXPECT_FALSE(std::filesystem::exists(home / "c.txt"));
    EXPECT_EQ(readBytes(home / "d e.txt"), "a");  // the last line needs no line end
    EXPECT_FALSE(runBatchFile(home / "none.bat", home.path()));
}

}  // namespace
}  // namespace tarnix::platform
