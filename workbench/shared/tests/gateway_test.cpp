#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Unit4.h"
#include "platform/platform.h"
#include "platform/tests/temp_folder.h"
#include "tests/workspace.h"

#ifndef _WIN32
#include <signal.h>
#endif

namespace tarnix {
namespace {

class Gateway : public ::testing::Test {
protected:
    Gateway() { ws.installEngines(); }
    test::Workspace ws;
    std::string code = "stale", value = "stale";
};

TEST_F(Gateway, WritesTheGoalExactlyWithoutTerminator)
{
    ws.script("goal *\ncode 0\n");
    RunGoal(" ", code, value);
    EXPECT_EQ(ws.read(ws.work + "invc23.ari"), " ");
    RunGoal("opt(1,1,1,1,ru_comp).", code, value);
    EXPECT_EQ(ws.read(ws.work + "invc23.ari"), "opt(1,1,1,1,ru_comp).");
    EXPECT_EQ(ws.engineLog(), " \nopt(1,1,1,1,ru_comp).\n");
}

TEST_F(Gateway, FourLineAnswerGivesCodeAndValueWithoutMessage)
{
    ws.script("goal *\ncode 0\nvalue 42\n");
    RunGoal("opt(1,2,3,4,oblist).", code, value);
    EXPECT_EQ(code, "0");
    EXPECT_EQ(value, "42");
    EXPECT_TRUE(ws.ui.shown().empty());
}

TEST_F(Gateway, ShortAnswersReadMissingLinesAsEmpty)
{
    ws.script("goal *\ncode 1\nvalue 9\nresult-lines 1\n");
    RunGoal("g.", code, value);
    EXPECT_EQ(code, "1");
    EXPECT_EQ(value, "");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - "});

    ws.ui.clear();
    ws.script("goal *\nresult-lines 0\n");
    RunGoal("g.", code, value);
    EXPECT_EQ(code, "");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - "});
}

TEST_F(Gateway, CodeMustBeExactlyZero)
{
    for (const char* c : {" 0", "0 ", "00"}) {
        ws.ui.clear();
        ws.script(std::string("goal *\ncode ") + c + "\nmessage bad\n");
        RunGoal("g.", code, value);
        EXPECT_EQ(code, c);
        EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - bad"}) << c;
    }
}

TEST_F(Gateway, EachVariantReportsFailureItsOwnWay)
{
    ws.script("goal *\ncode 5\nmessage oops\n");
    RunGoalQuiet("g.", code, value);
    EXPECT_EQ(code, "5");
    EXPECT_TRUE(ws.ui.messages().empty());

    RunCompileGoal("g.", code, value);
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - oops"});

    ws.ui.clear();
    RunShellGoal(" ", code, value);
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"true"});
    EXPECT_EQ(code, "5");

    ws.ui.clear();
    ws.script("");
    RunShellGoal(" ", code, value);  // the stand-in builds vrexn.exe in the home folder
    std::rename((ws.home + "vrexn.exe").c_str(), (ws.work + "vrexn.exe").c_str());
    ws.script("goal *\ncode 5\nmessage oops\n");
    ws.ui.clear();
    RunTaskGoal("opt(1,1,1,1,ru_run).", code, value);
    EXPECT_EQ(code, "5");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{cp1251("Ошибка выполнения - oops")});
}

TEST_F(Gateway, ProgramThatCannotStartGivesCodeTwoAndNeverAnOldAnswer)
{
    ws.write(ws.work + "ovc17.ari", "0\r\n\r\n77\r\n\r\n");
    std::remove((ws.home + "vrex.exe").c_str());
    RunGoal("g.", code, value);
    EXPECT_EQ(code, "2");
    EXPECT_EQ(value, "");
    ASSERT_EQ(ws.ui.messages().size(), 1u);
    EXPECT_EQ(ws.ui.messages()[0].rfind("Error in creating CG - ", 0), 0u);
    EXPECT_NE(ws.ui.messages()[0].find("vrex.exe"), std::string::npos);

    ws.ui.clear();
    RunGoalQuiet("g.", code, value);
    EXPECT_EQ(code, "2");
    EXPECT_TRUE(ws.ui.shown().empty());

    std::remove((ws.home + "sh.exe").c_str());
    RunShellGoal(" ", code, value);
    EXPECT_EQ(code, "2");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"false"});
}

TEST_F(Gateway, TaskProgramIsLookedForInTheProjectFolderOnly)
{
    ws.script("");
    RunShellGoal(" ", code, value);
    ASSERT_TRUE(ws.exists(ws.home + "vrexn.exe"));
    ws.ui.clear();
    RunTaskGoal("opt(1,1,1,1,ru_run).", code, value);
    EXPECT_EQ(code, "2");
    EXPECT_EQ(value, "");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{cp1251("Выполнение не запущено - ")});
}

TEST_F(Gateway, MissingResultIsFileNotFoundEvenWithAnOldOneLeft)
{
    ws.write(ws.work + "ovc17.ari", "0\r\n\r\n77\r\n\r\n");
    ws.script("goal *\nno-result\n");
    try {
        RunGoal("g.", code, value);
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_EQ(code, "");
    EXPECT_EQ(value, "");

    // The build program's answer is not used: with none, the answer is empty, not an error.
    ws.write(ws.work + "ovc17.ari", "0\r\n\r\n77\r\n\r\n");
    RunShellGoal(" ", code, value);
    EXPECT_EQ(code, "");
    EXPECT_EQ(value, "");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"true"});
}

TEST_F(Gateway, OldAnswersGoInEverySpellingOrTheCallEndsBeforeTheStart)
{
    ws.write(ws.work + "OVC17.ARI", "0\r\n\r\n77\r\n\r\n");
    ws.write(ws.work + "Ovc17.ari", "0\r\n\r\n78\r\n\r\n");
    ws.script("goal *\nno-result\n");
    EXPECT_THROW(RunGoal("g.", code, value), InOutError);
    EXPECT_FALSE(ws.exists(ws.work + "OVC17.ARI"));
    EXPECT_FALSE(ws.exists(ws.work + "Ovc17.ari"));

    // One that cannot be deleted (here a folder of that name) ends the call.
    std::filesystem::create_directory(ws.work + "ovc17.ARI");
    const std::string log = ws.engineLog();
    try {
        RunGoal("g.", code, value);
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(ws.engineLog(), log);
}

TEST_F(Gateway, EngineKilledBySignalFailsWhateverItWrote)
{
#ifdef _WIN32
    const std::string crashed = platform::describe(platform::ProcessEnd::signalled(static_cast<int>(0xC0000005)));
#else
    const std::string crashed = platform::describe(platform::ProcessEnd::signalled(SIGABRT));
#endif
    ws.script("");
    RunShellGoal(" ", code, value);  // the stand-in builds vrexn.exe in the home folder
    std::filesystem::rename(ws.home + "vrexn.exe", ws.work + "vrexn.exe");
    // A whole answer of success, then the program is killed.
    ws.script("goal *\nno-build\nfile ovc17.ari 0\\r\\n\\r\\n42\\r\\n\\r\\n\ncrash\n");
    using Run = void (*)(const std::string&, std::string&, std::string&);
    const struct {
        Run run;
        std::vector<std::string> messages;
    } cases[] = {
        {RunGoal, {"Error in creating CG - vrex.exe " + crashed}},
        {RunGoalQuiet, {}},
        {RunCompileGoal, {"Error in creating CG - vrext.exe " + crashed}},
        {RunShellGoal, {"true"}},
        {RunTaskGoal, {cp1251("Ошибка выполнения - vrexn.exe ") + crashed}},
    };
    for (const auto& c : cases) {
        ws.ui.clear();
        c.run("g.", code, value);
        EXPECT_EQ(code, "2") << c.messages.size();
        EXPECT_EQ(value, "");
        EXPECT_EQ(ws.ui.messages(), c.messages);
        EXPECT_EQ(ws.read(ws.work + "ovc17.ari"), "0\r\n\r\n42\r\n\r\n");  // it did write it
    }
}

TEST_F(Gateway, EngineIsStartedBareInTheHomeFolderWithOurEnvironment)
{
    platform::testing::setEnvironment("TARNIX_STANDIN_PROBE", "seen-by-engine");
    ws.script("goal *\nrecord seen.txt\n");
    RunGoal("g.", code, value);
    platform::testing::setEnvironment("TARNIX_STANDIN_PROBE", "");
    const std::string seen = ws.read(ws.work + "seen.txt");
    EXPECT_NE(seen.find("program=vrex.exe"), std::string::npos) << seen;
    EXPECT_NE(seen.find("argc=1"), std::string::npos) << seen;
    EXPECT_NE(seen.find("cwd=" + ws.home.substr(0, ws.home.size() - 1)), std::string::npos) << seen;
    EXPECT_NE(seen.find("probe=seen-by-engine"), std::string::npos) << seen;
}

TEST_F(Gateway, GarbageAnswersAreTakenAsText)
{
    ws.script("goal *\nno-result\nfile ovc17.ari \\x00\\xff\\x01junk\\n\\xfe\\n\n");
    RunGoal("g.", code, value);
    EXPECT_EQ(code, std::string("\0\xff\x01junk", 7));
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Error in creating CG - \xfe"});

    // A line without end is cut at the limit; the lines after it are read as usual.
    ws.ui.clear();
    const std::string huge(ResultLineLimit * 3, 'x');
    ws.script("goal *\nno-result\nfile ovc17.ari 1\\n" + huge + "\\r\\nv\\n\n");
    RunGoal("g.", code, value);
    EXPECT_EQ(code, "1");
    EXPECT_EQ(value, "v");
    ASSERT_EQ(ws.ui.messages().size(), 1u);
    EXPECT_EQ(ws.ui.messages()[0], "Error in creating CG - " + huge.substr(0, ResultLineLimit));
}

TEST_F(Gateway, UnwritableProjectFolderEndsBeforeAnyStart)
{
    context.WorkDir = ws.root + "missing/";
    try {
        RunGoal("g.", code, value);
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "Invalid filename");
    }
    context.WorkDir = ws.work;
    if (!ws.makeReadOnly(ws.work))
        GTEST_SKIP() << "cannot make a folder read-only here";
    try {
        RunGoal("g.", code, value);
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(ws.engineLog(), "");
}

// Cancel ends the engine program and the program it started, reads no answer and fails the
// call in each variant's own way; the next goal runs as usual.
TEST_F(Gateway, CancelEndsTheWholeProgramGroupAndFailsTheCall)
{
    ws.script("");
    RunShellGoal(" ", code, value);  // the stand-in builds vrexn.exe in the home folder
    std::filesystem::rename(ws.home + "vrexn.exe", ws.work + "vrexn.exe");
    ws.script("goal *\nno-build\nchild kid.pid\nhang 60\n");
    using Run = void (*)(const std::string&, std::string&, std::string&);
    const struct {
        Run run;
        std::vector<std::string> messages;
    } cases[] = {
        {RunGoal, {"Error in creating CG - cancelled"}},
        {RunGoalQuiet, {}},
        {RunCompileGoal, {"Error in creating CG - cancelled"}},
        {RunShellGoal, {"true"}},
        {RunTaskGoal, {cp1251("Ошибка выполнения - cancelled")}},
    };
    ws.ui.cancelAfter = std::chrono::seconds(1);
    for (const auto& c : cases) {
        ws.ui.clear();
        std::filesystem::remove(ws.work + "kid.pid");
        int group = 0;
        ws.ui.onWait = [&](const ScriptedUi::Wait&) { group = ws.childGroup("kid.pid"); };
        c.run("g.", code, value);  // no result file is left: reading one would throw
        EXPECT_EQ(code, "2");
        EXPECT_EQ(value, "");
        EXPECT_EQ(ws.ui.messages(), c.messages);
        ASSERT_GT(group, 0);
        EXPECT_FALSE(test::Workspace::groupAlive(group)) << c.messages.size();
        EXPECT_TRUE(ws.ui.waits().back().cancelled);
    }
    ws.ui.cancelAfter.reset();
    ws.ui.onWait = nullptr;
    ws.script("goal *\ncode 0\nvalue 7\n");
    RunGoal("opt(1,2,3,4,oblist).", code, value);
    EXPECT_EQ(code, "0");
    EXPECT_EQ(value, "7");
    EXPECT_EQ(ws.ui.waits().back(), (ScriptedUi::Wait{"vrex.exe", "opt(1,2,3,4,oblist).", false}));
}

// StartAndWait cancelled ends its program too, and says nothing.
TEST_F(Gateway, CancelledStartAndWaitEndsItsProgram)
{
    ws.script("goal *\nchild kid.pid\nhang 60\n");
    ws.write(ws.work + "invc23.ari", "g.");
    ws.ui.cancelAfter = std::chrono::milliseconds(300);
    int group = 0;
    ws.ui.onWait = [&](const ScriptedUi::Wait&) { group = ws.childGroup("kid.pid"); };
    StartAndWait("vrex.exe");
    ASSERT_GT(group, 0);
    EXPECT_FALSE(test::Workspace::groupAlive(group));
    EXPECT_TRUE(ws.ui.shown().empty());
}

}  // namespace
}  // namespace tarnix
