// The tools launcher, driven through its buttons and menu items with the scripted Ui and the
// stand-in engine.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Unit1.h"
#include "Unit10.h"
#include "Unit14.h"
#include "Unit15.h"
#include "Unit18.h"
#include "Unit3.h"
#include "Unit6.h"
#include "Unit9.h"
#include "tools_fixture.h"

namespace tarnix {
namespace {

const std::string KbFilter = cp1251("idb файлы (*.idb)|*.idb|Все файлы (*.*)|*.*");
const std::string GoalFilter = cp1251("ari файлы (*.ari)|*ARI|Все файлы (*.*)|*.*");

class Launcher : public test::ToolWindowsTest {
protected:
    Launcher() { Form1->FormActivate(); }

    void choose(const char* item)
    {
        auto* action = Form1->findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    std::string settings() const { return ws.read(ws.home + "Ordo.ini"); }
};

TEST_F(Launcher, NewKbAppendsTheExtensionOnlyWhenMissingAndNeverCreatesOverAFile)
{
    ws.write(ws.work + "kb7.idb.idb", "");  // a file the literal reading would have tested
    ws.write(ws.work + "old.idb", "@object 1 0\r\n");
    const struct {
        std::optional<std::string> chosen;
        std::string goal;     // sent to the engine, or empty
        std::string message;  // shown, or empty
    } cases[] = {
        {ws.work + "kb7", "opt(1,1,1,kb7,newKb).", ""},
        {ws.work + "kb8.idb", "opt(1,1,1,kb8,newKb).", ""},
        {ws.work + "old.idb", "", "Kb " + ws.work + "old.idb exists!"},
        {ws.work + "OLD.IDB", "", "Kb " + ws.work + "OLD.IDB exists!"},
        {ws.work + "old", "", "Kb " + ws.work + "old.idb exists!"},
        {std::nullopt, "", "Empty Kb Name! "},
        {ws.work + ".idb", "", "Empty Kb Name! "},
    };
    const std::string before = settings();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.value_or("(cancelled)"));
        ws.ui.clear();
        std::filesystem::remove(ws.work + "standin.log");
        ws.ui.answerDialog(c.chosen);
        choose("NewKb1");
        EXPECT_EQ(ws.ui.shown().front(), (ScriptedUi::Shown{ScriptedUi::Shown::SaveDialog, KbFilter}));
        EXPECT_EQ(ws.engineLog(), c.goal.empty() ? "" : c.goal + "\n");
        EXPECT_EQ(ws.ui.messages(), c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        EXPECT_TRUE(ws.ui.errors().empty());
    }
    EXPECT_EQ(context.CurrentKb.str(), "Kb1");
    EXPECT_EQ(settings(), before);
    EXPECT_EQ(ws.read(ws.work + "old.idb"), "@object 1 0\r\n");
}

TEST_F(Launcher, OpenKbMakesAnExistingKnowledgeBaseCurrentAndRefusesTheRest)
{
    const std::string before = settings();
    const std::pair<std::optional<std::string>, std::string> refused[] = {
        {std::nullopt, "Empty Kb Name! "},
        {ws.work + ".idb", "Empty Kb Name! "},
        {ws.work + "kb9.idb", "Kb " + ws.work + "kb9.idb not exists!"},
    };
    for (const auto& [chosen, message] : refused) {
        ws.ui.clear();
        Form1->edKb->setText("typed");  // the message's closing activates the launcher again
        ws.ui.answerDialog(chosen);
        choose("OpenKb1");
        EXPECT_EQ(ws.ui.messages(), std::vector{message});
        EXPECT_EQ(context.CurrentKb.str(), "Kb1");
        EXPECT_EQ(settings(), before);
        EXPECT_EQ(text(Form1->edKb), ws.work + "Kb1");
    }

#ifndef _WIN32  // Windows file names hold no line break
    ws.write(ws.work + "two\nlines.idb", "");
    ws.ui.answerDialog(ws.work + "two\nlines.idb");
    choose("OpenKb1");
    EXPECT_EQ(ws.ui.errors(), std::vector<std::string>{"A knowledge base name cannot hold a line break."});
    EXPECT_EQ(settings(), before);
#endif

    ws.write(ws.work + "Films.2024.idb", "");
    ws.ui.clear();
    ws.ui.answerDialog(ws.work + "Films.2024.idb");
    choose("OpenKb1");
    EXPECT_EQ(ws.ui.shown(), (std::vector<ScriptedUi::Shown>{{ScriptedUi::Shown::OpenDialog, KbFilter}}));
    EXPECT_EQ(context.CurrentKb.str(), "Films");
    EXPECT_NE(settings().find("currKb=Films\r\n"), std::string::npos);
    EXPECT_EQ(text(Form1->edKb), ws.work + "Films");
    EXPECT_EQ(ws.engineLog(), "");
}

TEST_F(Launcher, RunAndTaskTakeTheGoalFileStem)
{
    ws.script("goal opt(1,1,1,t1,run).\nfile m0.txt first\\r\\nsecond\\r\\n\nfile m5.txt five\\r\\n\n"
              "goal *\n");
    ws.ui.answerDialog("/elsewhere/t1.old.ari");
    Form1->Button1->click();
    EXPECT_EQ(ws.ui.shown(), (std::vector<ScriptedUi::Shown>{{ScriptedUi::Shown::OpenDialog, GoalFilter}}));
    EXPECT_EQ(ws.engineLog(), "opt(1,1,1,t1,run).\n");
    EXPECT_EQ(text(Form1->edTask), "t1");
    EXPECT_EQ(text(Form1->Memo1), "first\nsecond");
    EXPECT_EQ(text(Form1->Memo2), "five");

    // The engine leaves no model texts: the command ends with the I/O error at model 0.
    std::filesystem::remove(ws.work + "m0.txt");
    std::filesystem::remove(ws.work + "m5.txt");
    ws.ui.clear();
    ws.ui.answerDialog(ws.work + "t2.ari");
    Form1->Button1->click();
    EXPECT_EQ(ws.ui.errors(), std::vector<std::string>{"File not found."});
    EXPECT_EQ(text(Form1->edTask), "t2");
    EXPECT_EQ(text(Form1->Memo1), "first\nsecond");

    // Task only takes the stem; a cancelled dialog changes nothing and sends nothing.
    ws.ui.answerDialog("/elsewhere/t3.old.ari");
    Form1->bbTask->click();
    Form1->Button1->click();
    EXPECT_EQ(text(Form1->edTask), "t3");
    EXPECT_EQ(ws.engineLog(), "opt(1,1,1,t1,run).\nopt(1,1,1,t2,run).\n");
}

TEST_F(Launcher, EveryButtonAndMenuItemOpensItsWindow)
{
    ws.installDemo();
    Form workbench("Form12");
    ShowWorkbench = [&workbench] { workbench.Show(); };
    const struct {
        const char* control;
        QWidget* window;
        bool modal;
    } cases[] = {
        {"Button2", Form3, true},   {"bbtrace", Form6, false},   {"bbReq", Form9, true},
        {"bbExec", Form18, false},  {"KB1", Form10, false},      {"ES1", &workbench, false},
        {"DataBase1", Form14, true}, {"Test1", Form15, false},
    };
    Form1->Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        bool wasModal = false;
        // A modal window is looked at and closed while it runs; the command returns after that.
        QTimer::singleShot(0, c.window, [&] {
            wasModal = c.window->isVisible() && c.window->isModal();
            c.window->close();
        });
        if (auto* b = Form1->findChild<QPushButton*>(QString::fromLatin1(c.control)))
            b->click();
        else
            choose(c.control);
        EXPECT_EQ(wasModal, c.modal);
        QCoreApplication::processEvents();
        EXPECT_FALSE(c.window->isVisible());
        EXPECT_TRUE(Form1->isVisible());
    }
    ShowWorkbench = nullptr;
    EXPECT_TRUE(ws.ui.errors().empty());
}

TEST_F(Launcher, OpensWithRequestFocusedAndReadsTheSettingsEachTimeItBecomesActive)
{
    Form1->Show();
    EXPECT_EQ(Form1->focusWidget(), Form1->bbReq);
    EXPECT_EQ(text(Form1->edTask), "task2");
    EXPECT_EQ(text(Form1->edKb), ws.work + "Kb1");

    // Another window comes in front; the settings change meanwhile; back to the launcher.
    Form15->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form15));
    ws.write(ws.home + "Ordo.ini", "[Files]\r\nkbpath=" + ws.work + "\r\ncurrKb=Cars\r\ncurrentTask=t5\r\n");
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QCoreApplication::processEvents();
    EXPECT_EQ(text(Form1->edTask), "t5");
    EXPECT_EQ(text(Form1->edKb), ws.work + "Cars");
    EXPECT_EQ(context.ObjectListFile, "cgo.ari");
    Form15->Close();
}

}  // namespace
}  // namespace tarnix
