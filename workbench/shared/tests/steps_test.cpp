#include <gtest/gtest.h>

#include "Unit4.h"
#include "platform/platform.h"
#include "tests/workspace.h"

namespace tarnix {
namespace {

TEST(RunSteps, IntermediateNameDropsThreeCharactersAfterTheFirstDot)
{
    EXPECT_EQ(IntermediateName("task2.tsk"), "task2.arb");
    EXPECT_EQ(IntermediateName("t.x.tsk"), "t.skarb");
    EXPECT_EQ(IntermediateName("task2"), "k2arb");
    EXPECT_EQ(IntermediateName("ab"), "arb");
    EXPECT_EQ(IntermediateName("."), ".arb");
    EXPECT_EQ(IntermediateName("t.ts"), "t.arb");
    EXPECT_EQ(IntermediateName(""), "arb");
}

TEST(RunSteps, TermItemsDoubleTheirApostrophes)
{
    EXPECT_EQ(QuotedTermItem(""), "''");
    EXPECT_EQ(QuotedTermItem("kb.rul"), "'kb.rul'");
    EXPECT_EQ(QuotedTermItem("it's"), "'it''s'");
}

TEST(BuildSteps, BatchTargetsAreQuotedWithPercentDoubled)
{
    EXPECT_EQ(BuildBatchLines("D:\\p\\"),
              (Lines{"move vrexn.exe \"D:\\p\\vrexn.exe\"", "copy ordo.ini \"D:\\p\\ordo.ini\""}));
    EXPECT_EQ(BuildBatchLines("/a b/%x%&/")[0], "move vrexn.exe \"/a b/%%x%%&/vrexn.exe\"");
}

TEST(BuildSteps, FoldersNoBatchLineCanNameAreRefused)
{
    for (const char* folder : {"/a\"b/", "/\"/", "/a\nmove x y/", "/a\rb/"}) {
        EXPECT_THROW(CheckBuildFolder(folder), Failure) << folder;
        EXPECT_THROW(BuildBatchLines(folder), Failure) << folder;
    }
    EXPECT_NO_THROW(CheckBuildFolder("/a b/'%^&|<>/"));
}

TEST(Documents, ExtensionIsTheLastDotOfTheFileName)
{
    EXPECT_EQ(ChangeFileExt("/d/old.tsk", ".BAK"), "/d/old.BAK");
    EXPECT_EQ(ChangeFileExt("/d/notes", ".txt"), "/d/notes.txt");
    EXPECT_EQ(ChangeFileExt("/d.x/notes", ".txt"), "/d.x/notes.txt");
    EXPECT_EQ(ChangeFileExt("/d/a.b.c", ".BAK"), "/d/a.b.BAK");
}

TEST(Documents, BackupNeverReplacesAnEarlierOne)
{
    test::Workspace ws;
    MakeBackup(ws.work + "none.tsk");  // nothing to keep: no backup, no error
    EXPECT_FALSE(ws.exists(ws.work + "none.BAK"));

    ws.write(ws.work + "old.tsk", "1");
    MakeBackup(ws.work + "old.tsk");
    EXPECT_EQ(ws.read(ws.work + "old.BAK"), "1");
    EXPECT_FALSE(ws.exists(ws.work + "old.tsk"));

    ws.write(ws.work + "old.tsk", "2");
    try {
        MakeBackup(ws.work + "old.tsk");
        FAIL();
    } catch (const Failure& e) {
        EXPECT_STREQ(e.what(), "Unable to create backup file.");
    }
    EXPECT_EQ(ws.read(ws.work + "old.BAK"), "1");
    EXPECT_EQ(ws.read(ws.work + "old.tsk"), "2");
}

TEST(ActivationHook, RunsAfterEachMessageOnlyWhileInstalled)
{
    test::Workspace ws;
    int runs = 0;
    ShowMessage("before");
    {
        ActivationHook hook([&] { ++runs; });
        ws.ui.onMessage = [&](const std::string&) { EXPECT_EQ(runs, 0); };
        ShowMessage("one");
        ws.ui.onMessage = nullptr;
        ShowMessage("two");
    }
    ShowMessage("after");
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(ws.ui.messages(), (std::vector<std::string>{"before", "one", "two", "after"}));
}

// The main window's three commands step by step, through the shared unit alone, on the demo
// project with the demo engine: compile the knowledge base, build the expert system (the batch
// file moves it into the project folder), run the task with it.
TEST(DemoProject, CompilesBuildsAndRunsThroughTheEngines)
{
    test::Workspace ws;
    ws.installEngines();
    ws.installDemo();
    const auto holds = [&](const std::string& path, const std::string& text) {
        return ws.read(path).find(cp1251(text)) != std::string::npos;
    };
    std::string code, value;

    comprules("KbMovem1.rul");
    EXPECT_TRUE(holds(ws.work + files::Listing, "Правил: 15, ошибок: 0"));

    CheckBuildFolder(context.WorkDir);
    RunShellGoal(goals::BuildProject, code, value);
    EXPECT_TRUE(holds(ws.home + files::BuildLog, "Готово"));
    WriteBuildBatch();
    ASSERT_TRUE(platform::fileExists(ws.home + files::BuiltProgram));
    StartAndWait(files::BuildBatch);
    EXPECT_FALSE(platform::fileExists(ws.home + files::BuiltProgram));
    EXPECT_TRUE(platform::fileExists(ws.work + files::BuiltProgram));
    EXPECT_TRUE(platform::fileExists(ws.work + "ordo.ini"));

    ASSERT_TRUE(WriteRunParameters({"KbMovem1.rul", "task2.tsk", "5", "100"}));
    RunTaskGoal(goals::RunTask, code, value);
    EXPECT_EQ(code, "0");
    EXPECT_EQ(value, cp1251("Иван Васильевич меняет профессию"));
    EXPECT_TRUE(holds(ws.work + files::Results, "Ответ: фильм = Иван Васильевич меняет профессию"));
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"true"});  // the build program's start, nothing else
    EXPECT_EQ(ws.engineLog(), "opt(1,1,1,1,ru_comp).\n \nopt(1,1,1,1,ru_run).\n");
}

}  // namespace
}  // namespace tarnix
