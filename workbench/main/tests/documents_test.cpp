#include <QStatusBar>
#include <QLabel>
#include <filesystem>
#include <sys/mount.h>

#include "main_fixture.h"

namespace tarnix {
namespace {

using test::MainWindowTest;

class DocumentsTest : public MainWindowTest {
protected:
    DocumentsTest() { w->FormActivate(); }
    // Chooses a menu item after the dialog has been told what to answer.
    void chooseWith(const char* item, std::optional<std::string> answer)
    {
        ws.ui.answerDialog(std::move(answer));
        choose(item);
    }
};

TEST_F(DocumentsTest, TaskOpenSetsPathsThenTextThenFields)
{
    ws.write(ws.work + "t7.tsk", "goal(x).\r\n");
    chooseWith("Open1", ws.work + "t7.tsk");
    EXPECT_EQ(ws.ui.shown()[0].text, cp1251("tsk файлы (*.tsk)|*TSK|Все файлы (*.*)|*.*"));
    EXPECT_EQ(text(w->mmTaskText), "goal(x).");
    EXPECT_EQ(context.TaskFilePath, ws.work + "t7.tsk");
    EXPECT_EQ(context.CurrentTask, "t7.tsk");
    EXPECT_EQ(context.TaskFileName, "t7.tsk");
    EXPECT_EQ(text(w->edTask), "t7.tsk");

    chooseWith("Open1", ws.work + "gone.tsk");  // a failed open changes nothing
    EXPECT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(context.TaskFilePath, ws.work + "t7.tsk");
    EXPECT_EQ(context.CurrentTask, "t7.tsk");
    EXPECT_EQ(text(w->edTask), "t7.tsk");
    EXPECT_EQ(text(w->mmTaskText), "goal(x).");
    w->mmTaskText->setPlainText("saved");
    choose("Save1");
    EXPECT_EQ(ws.read(ws.work + "t7.tsk"), "saved\r\n");

    chooseWith("Open1", std::nullopt);
    EXPECT_EQ(context.TaskFilePath, ws.work + "t7.tsk");
}

TEST_F(DocumentsTest, TaskCloseThenSaveEmptiesTheFile)
{
    ws.write(ws.work + "a.tsk", "content\r\n");
    chooseWith("Open1", ws.work + "a.tsk");
    choose("Close1");
    choose("Save1");
    EXPECT_EQ(ws.read(ws.work + "a.tsk"), "");
}

TEST_F(DocumentsTest, KbOpenShowsTheWholePathAndTheNextCompilationTakesTheName)
{
    ws.script("goal *\ncode 0\nfile comp.ari x\n");
    const std::string folder = ws.root + "x/";
    std::filesystem::create_directory(folder);
    ws.write(folder + "a.rul", "r1\r\n");
    ws.write(ws.work + "estrpar.ari", "estrfiles(\r\n");
    chooseWith("Open2", folder + "a.rul");
    EXPECT_EQ(text(w->edKb), folder + "a.rul");
    EXPECT_EQ(w->edKb->cursorPosition(), w->edKb->text().size());
    EXPECT_EQ(context.KbSourceName, folder + "a.rul");

    w->PageControl1->setCurrentWidget(w->Rules);  // a whole path prefixed: not found, text stays
    EXPECT_EQ(text(w->mmRuleText), "r1");

    ws.write(ws.work + "a.rul", "r1\r\n");
    choose("CompileKb1");
    EXPECT_EQ(splitLines(ws.read(ws.work + "estrpar.ari"))[1], "'a.rul',");
}

// A rule file gone since it was opened is not made anew, and the message's activation does not
// point Save at another file.
TEST_F(DocumentsTest, KbSaveOfAFileThatHasGoneSaysSo)
{
    ws.write(ws.work + "a.rul", "r1\r\n");
    chooseWith("Open2", ws.work + "a.rul");
    std::remove((ws.work + "a.rul").c_str());
    choose("Save2");
    choose("Save2");
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>(2, "Not exists rule file - " + ws.work + "a.rul"));
    EXPECT_EQ(context.KbFilePath, ws.work + "Kb1");
    EXPECT_FALSE(ws.exists(ws.work + "a.rul"));
}

TEST_F(DocumentsTest, KbSaveAsAppendsRulAndBecomesTheSource)
{
    w->mmRuleText->setPlainText("if a then b");
    chooseWith("SaveAs2", ws.work + "kb2");
    EXPECT_EQ(ws.read(ws.work + "kb2.rul"), "if a then b\r\n");
    EXPECT_EQ(context.KbFilePath, ws.work + "kb2.rul");
    EXPECT_EQ(context.KbSourceName, ws.work + "kb2.rul");
    EXPECT_EQ(text(w->edKb), ws.work + "kb2.rul");
    w->mmRuleText->setPlainText("changed");
    choose("Save2");
    EXPECT_EQ(ws.read(ws.work + "kb2.rul"), "changed\r\n");
}

TEST_F(DocumentsTest, TextSaveAsReplacesTheExtensionAndNeverReplacesABackup)
{
    w->mmText->setPlainText(QStringLiteral("заметки"));
    chooseWith("SaveAs3", ws.work + "notes.md");
    EXPECT_EQ(ws.read(ws.work + "notes.txt"), cp1251("заметки\r\n"));
    chooseWith("SaveAs3", ws.work + "plain");
    EXPECT_TRUE(ws.exists(ws.work + "plain.txt"));

    chooseWith("SaveAs3", ws.work + "notes.txt");  // notes.txt -> notes.BAK, then written anew
    EXPECT_TRUE(ws.exists(ws.work + "notes.BAK"));
    EXPECT_TRUE(ws.exists(ws.work + "notes.txt"));
    w->mmText->setPlainText("second");
    chooseWith("SaveAs3", ws.work + "notes.txt");
    EXPECT_EQ(ws.ui.errors(), std::vector<std::string>{"Unable to create backup file."});
    EXPECT_EQ(ws.read(ws.work + "notes.txt"), cp1251("заметки\r\n"));
    EXPECT_EQ(ws.read(ws.work + "notes.BAK"), cp1251("заметки\r\n"));
}

TEST_F(DocumentsTest, TextOpenShowsThePathAndSaveFollowsIt)
{
    ws.write(ws.work + "n.txt", "one\r\n");
    chooseWith("Open3", ws.work + "n.txt");
    EXPECT_EQ(fromQt(w->StatusPanel1->text()), ws.work + "n.txt");
    w->mmText->setPlainText("two");
    choose("Save3");
    EXPECT_EQ(ws.read(ws.work + "n.txt"), "two\r\n");
    std::remove((ws.work + "n.txt").c_str());
    choose("Save3");  // the file is created again
    EXPECT_EQ(ws.read(ws.work + "n.txt"), "two\r\n");
    w->FormActivate();  // empties the shared text path, but the document keeps its file
    w->mmText->setPlainText("three");
    choose("Save3");
    EXPECT_EQ(ws.read(ws.work + "n.txt"), "three\r\n");
}

TEST_F(DocumentsTest, FullDiskKeepsTheEarlierFile)
{
    const std::string small = ws.root + "small/";
    std::filesystem::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    ws.write(small + "big.txt", std::string(20000, 'a'));
    chooseWith("Open3", small + "big.txt");
    w->mmText->setPlainText(QString(200000, QLatin1Char('b')));
    choose("Save3");
    const std::string afterwards = ws.read(small + "big.txt");
    ::umount(small.c_str());
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot create file \"" + small + "big.txt\". ", 0), 0u) << ws.ui.errors()[0];
    EXPECT_EQ(afterwards, std::string(20000, 'a'));
}

}  // namespace
}  // namespace tarnix
