#include <gtest/gtest.h>

#include <filesystem>

#include "Unit4.h"
#include "platform/platform.h"
#include "tests/workspace.h"

namespace tarnix {
namespace {

TEST(Settings, MissingFileGivesTheDefaults)
{
    test::Workspace ws;
    // An empty project folder is no folder: it would be the current one.
    for (const char* settings : {"[Files]\r\nkbpath=\r\n", "[Files]\r\nkbpath =  \r\n"}) {
        ws.write(ws.home + "Ordo.ini", settings);
        LoadProjectSettings();
        EXPECT_EQ(context.WorkDir, defaultKbPath()) << settings;
    }
    std::remove((ws.home + "Ordo.ini").c_str());
    LoadProjectSettings();
    EXPECT_EQ(context.HomeDir, ws.home);
    EXPECT_EQ(context.WorkDir, defaultKbPath());
    EXPECT_EQ(context.CurrentKb.str(), "Kb1");
    EXPECT_EQ(context.CurrentTask, "task2");
    EXPECT_EQ(context.KbFilePath, defaultKbPath() + "Kb1");
    EXPECT_EQ(context.KbSourceName, "KbMovem1.rul");
    EXPECT_EQ(context.CompiledRules, "KbMov4c.ari");
    EXPECT_EQ(context.ListingFile, "comp.ari");
    EXPECT_EQ(context.ObjectListFile, "cgo.ari");
    EXPECT_EQ(context.CheckRuleFile, "crule.ari");
}

TEST(Settings, KeysAreReadCaseBlindAndAFolderGetsItsSeparator)
{
    test::Workspace ws;
    ws.write(ws.home + "Ordo.ini", "; a comment\r\n[files]\r\nKBPATH=" + ws.root + "proj\r\nCurrKB=" +
                                       std::string(300, 'b') + "\r\ncurrentTask=t7.tsk\r\n");
    LoadProjectSettings();
    const std::string proj = ws.root + "proj" + platform::separator();
    EXPECT_EQ(context.WorkDir, proj);
    EXPECT_EQ(context.CurrentKb.str().size(), 254u);
    EXPECT_EQ(context.CurrentTask, "t7.tsk");
    EXPECT_EQ(context.KbFilePath, proj + std::string(254, 'b'));
}

TEST(Settings, GarbageSettingsFileGivesDefaults)
{
    test::Workspace ws;
    std::string garbage;
    for (int i = 0; i < 65536; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    ws.write(ws.home + "Ordo.ini", garbage);
    EXPECT_NO_THROW(LoadProjectSettings());
    EXPECT_EQ(context.CurrentTask, "task2");
}

TEST(Settings, WriteReplacesOneKeyAndReportsFailure)
{
    test::Workspace ws;
    ws.write(ws.home + "Ordo.ini", "[Files]\r\nkbpath=c:\\zvod\\Tessel\\Ordo\\\r\ncurrentTask=old\r\n");
    WriteSetting("currentTask", "new.tsk");
    EXPECT_EQ(ws.read(ws.home + "Ordo.ini"), "[Files]\r\nkbpath=c:\\zvod\\Tessel\\Ordo\\\r\ncurrentTask=new.tsk\r\n");
    if (!ws.makeReadOnly(ws.home + "Ordo.ini"))
        GTEST_SKIP() << "cannot make a file read-only here";
    try {
        WriteSetting("currentTask", "x");
        FAIL();
    } catch (const Failure& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + ws.home + "Ordo.ini");
    }
}

TEST(Settings, RunParametersMissingLinesReadEmpty)
{
    test::Workspace ws;
    EXPECT_FALSE(ReadRunParameters());
    ws.write(ws.work + "espar.txt", "espar\r\nkb.rul\r\nt.tsk\r\n");
    auto p = ReadRunParameters();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kb, "kb.rul");
    EXPECT_EQ(p->task, "t.tsk");
    EXPECT_EQ(p->depth, "");
    EXPECT_EQ(p->length, "");
}

TEST(Project, RecordHoldsLengthNameAndZeros)
{
    const std::string r = ProjectRecord("/p/p1");
    ASSERT_EQ(r.size(), 605u);
    EXPECT_EQ(r[0], 5);
    EXPECT_EQ(r.substr(1, 5), "/p/p1");
    EXPECT_EQ(r.find_first_not_of('\0', 6), std::string::npos);
    const std::string longName(150, 'n');
    const std::string l = ProjectRecord(longName);
    EXPECT_EQ(static_cast<unsigned char>(l[0]), 100u);
    EXPECT_EQ(l.substr(1, 100), std::string(100, 'n'));
    EXPECT_EQ(l[101], '\0');
}

TEST(Project, TempFilesGoInOnePassAndUndeletableOnesAreSkipped)
{
    test::Workspace ws;
    ws.write(ws.work + "a.tmp", "");
    ws.write(ws.work + "B.TMP", "");
    ws.write(ws.work + "keep.txt", "");
    std::filesystem::create_directory(ws.work + "dir.tmp");
    DeleteTempFiles();
    EXPECT_FALSE(ws.exists(ws.work + "a.tmp"));
    EXPECT_FALSE(ws.exists(ws.work + "B.TMP"));
    EXPECT_TRUE(ws.exists(ws.work + "keep.txt"));
    EXPECT_TRUE(ws.exists(ws.work + "dir.tmp"));
}

}  // namespace
}  // namespace tarnix
