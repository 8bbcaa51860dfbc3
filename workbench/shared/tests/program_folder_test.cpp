// The per-user program folder of an installed workbench: made on the first start, and the
// user's things in it left alone on every later one.
#include <filesystem>
#include <gtest/gtest.h>

#include "errors.h"
#include "program_folder.h"
#include "tests/workspace.h"

namespace tarnix {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, FirstStartMakesItAndLaterStartsKeepTheUsersThings)
{
    test::Workspace ws;
    const InstalledFiles installed{ws.root + "libexec/", ws.root + "demo/"};
    fs::create_directories(installed.engines);
    fs::create_directories(installed.demo + "sub");
    for (const char* engine : {"vrex.exe", "vrext.exe", "sh.exe"})
        ws.write(installed.engines + engine, "engine");
    ws.write(installed.demo + "KbMovem1.rul", "rules");
    ws.write(installed.demo + "sub/notes.txt", "notes");
    fs::permissions(installed.demo + "KbMovem1.rul", fs::perms::owner_read);  // installed read-only
    const std::string folder = ws.root + "data/tarnix/", copy = ws.root + "user/Tarnix/demo";

    PreparePerUserProgramFolder(folder, installed, copy);
    EXPECT_EQ(fs::read_symlink(folder + "vrex.exe"), fs::path(installed.engines + "vrex.exe"));
    EXPECT_EQ(ws.read(copy + "/sub/notes.txt"), "notes");
    EXPECT_NE(fs::status(copy + "/KbMovem1.rul").permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(ws.read(folder + "Ordo.ini"), "[Files]\r\nkbpath=" + copy +
                                                 "/\r\ncurrKb=Kb1\r\ncurrentTask=task2.tsk\r\nrusource=KbMovem1.rul\r\n");

    // The user's edits, settings and own engine stay; a link left pointing nowhere is made anew.
    ws.write(copy + "/KbMovem1.rul", "my rules");
    ws.write(folder + "Ordo.ini", "[Files]\r\nkbpath=/elsewhere/\r\n");
    fs::remove(folder + "sh.exe");
    ws.write(folder + "sh.exe", "my shell");
    fs::remove(folder + "vrext.exe");
    fs::create_symlink(ws.root + "gone/vrext.exe", folder + "vrext.exe");
    PreparePerUserProgramFolder(folder, installed, copy);
    EXPECT_EQ(ws.read(copy + "/KbMovem1.rul"), "my rules");
    EXPECT_EQ(ws.read(folder + "Ordo.ini"), "[Files]\r\nkbpath=/elsewhere/\r\n");
    EXPECT_EQ(ws.read(folder + "sh.exe"), "my shell");
    EXPECT_EQ(ws.read(folder + "vrext.exe"), "engine");
    EXPECT_FALSE(fs::exists(copy + ".part"));
}

TEST(ProgramFolder, AFolderThatCannotBeMadeSaysWhich)
{
    test::Workspace ws;
    ws.write(ws.root + "file", "");
    try {
        PreparePerUserProgramFolder(ws.root + "file/tarnix/", {ws.root, ws.root}, ws.root + "copy");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(ws.root + "file/tarnix/"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tarnix
