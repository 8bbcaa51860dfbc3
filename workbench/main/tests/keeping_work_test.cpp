// Nothing typed in the main window is lost: sheets keep edits, every Save writes the file on
// screen or asks for one, characters code page 1251 cannot hold are not dropped unasked, and
// leaving with unsaved text asks first.
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "Unit1.h"
#include "Unit3.h"
#include "main_fixture.h"

namespace tarnix {
namespace {

using test::MainWindowTest;

class KeepingWorkTest : public MainWindowTest {
protected:
    KeepingWorkTest()
    {
        ws.installDemo();
        w->FormActivate();
    }
    void chooseWith(const char* item, std::optional<std::string> answer)
    {
        ws.ui.answerDialog(std::move(answer));
        choose(item);
    }
    // Types at the end of the area, as a person does (an edit, unlike replacing the text).
    static void type(QPlainTextEdit* area, const QString& typed)
    {
        QTextCursor cursor = area->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(typed);
    }
    QString caption(QWidget* sheet) const { return w->PageControl1->tabText(w->PageControl1->indexOf(sheet)); }
    void show(QWidget* sheet) { w->PageControl1->setCurrentWidget(sheet); }
};

struct SheetCase {
    const char* name;
    QWidget* TForm12::*sheet;
    CodePane* TForm12::*area;
    const char* file;
    const char* saveItem;
};

const SheetCase Sheets[] = {
    {"task", &TForm12::Task, &TForm12::mmTaskText, "task2.tsk", "Save1"},
    {"kb", &TForm12::Rules, &TForm12::mmRuleText, "KbMovem1.rul", "Save2"},
};

TEST_F(KeepingWorkTest, SheetsKeepEditsAndSaveWritesTheFileTheyShow)
{
    for (const SheetCase& c : Sheets) {
        SCOPED_TRACE(c.name);
        QWidget* sheet = w->*c.sheet;
        QPlainTextEdit* area = w->*c.area;
        const std::string onDisk = ws.read(ws.work + c.file);
        show(sheet);
        type(area, QStringLiteral("\n% typed"));
        EXPECT_TRUE(caption(sheet).endsWith(QLatin1Char('*')));
        EXPECT_TRUE(w->isWindowModified());

        show(w->TabSheetTrace);
        w->FormActivate();  // what every message box does
        show(sheet);
        EXPECT_TRUE(text(area).ends_with("% typed")) << text(area);

        choose(c.saveItem);
        EXPECT_EQ(ws.read(ws.work + c.file), onDisk + "% typed\r\n");
        EXPECT_FALSE(caption(sheet).endsWith(QLatin1Char('*')));
        EXPECT_FALSE(w->isWindowModified());

        ws.write(ws.work + c.file, "changed on disk\r\n");  // an unmodified sheet shows the disk
        show(w->TabSheetTrace);
        show(sheet);
        EXPECT_EQ(text(area), "changed on disk");
    }
    EXPECT_TRUE(ws.ui.shown().empty());
}

// A document with no file asks for one; text Save keeps its file through messages.
TEST_F(KeepingWorkTest, SaveWithoutAFileAsksForANameAndMessagesForgetNothing)
{
    type(w->mmTaskText, QStringLiteral("goal(x)."));
    chooseWith("Save1", ws.work + "typed");
    EXPECT_EQ(ws.read(ws.work + "typed.tsk"), "goal(x).\r\n");
    EXPECT_EQ(text(w->edTask), "typed.tsk");

    ws.write(ws.work + "notes.txt", "one\r\n");
    chooseWith("Open3", ws.work + "notes.txt");
    w->FormActivate();
    type(w->mmText, QStringLiteral(" two"));
    choose("Save3");
    EXPECT_EQ(ws.read(ws.work + "notes.txt"), "one two\r\n");

    type(w->mmRuleText, QStringLiteral("rule"));  // never shown, so no file yet
    chooseWith("Save2", std::nullopt);               // cancelled: nothing written, the edit stays
    EXPECT_EQ(text(w->mmRuleText), "rule");
    EXPECT_TRUE(w->mmRuleText->document()->isModified());
    EXPECT_TRUE(ws.ui.errors().empty());
}

TEST_F(KeepingWorkTest, SaveAsAddsTheExtensionOnlyWhenTheNameLacksIt)
{
    struct Case {
        const char* item;
        const char* chosen;
        const char* written;
        const char* backup;  // "" when no file was there
    } cases[] = {
        {"SaveAs1", "old.tsk", "old.tsk", "old.BAK"},
        {"SaveAs1", "new", "new.tsk", ""},
        {"SaveAs2", "kb.RUL", "kb.RUL", "kb.BAK"},
        {"SaveAs2", "kb2", "kb2.rul", ""},
        {"SaveAs3", "notes.md", "notes.txt", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        if (*c.backup)
            ws.write(ws.work + c.written, "before\r\n");
        for (QPlainTextEdit* area : {w->mmTaskText, w->mmRuleText, w->mmText})
            area->setPlainText(QString::fromLatin1(c.chosen));
        chooseWith(c.item, ws.work + c.chosen);
        EXPECT_EQ(ws.read(ws.work + c.written), std::string(c.chosen) + "\r\n");
        if (*c.backup) {
            EXPECT_EQ(ws.read(ws.work + c.backup), "before\r\n");
        }
        EXPECT_FALSE(ws.exists(ws.work + c.written + ".tsk") || ws.exists(ws.work + c.written + ".rul"));
    }
    EXPECT_EQ(ws.ui.shown()[0].text, cp1251("task файлы (*.tsk)|*tsk|Все файлы (*.*)|*.*"));
    EXPECT_EQ(text(w->edTask), "new.tsk");
    EXPECT_EQ(context.TaskFilePath, ws.work + "new.tsk");
    EXPECT_EQ(context.KbSourceName, ws.work + "kb2.rul");
    EXPECT_EQ(fromQt(w->StatusPanel1->text()), ws.work + "notes.txt");
    EXPECT_TRUE(ws.ui.errors().empty());
}

TEST_F(KeepingWorkTest, CharactersOutsideTheCodePageAreNotDroppedUnasked)
{
    ws.write(ws.work + "n.txt", "old\r\n");
    chooseWith("Open3", ws.work + "n.txt");
    type(w->mmText, QStringLiteral(" Grüße \U0001F600 ü"));
    choose("Save3");  // unanswered: cancel
    ASSERT_EQ(ws.ui.questions().size(), 1u);
    const std::string question = ws.ui.questions()[0];
    EXPECT_NE(question.find("4 characters"), std::string::npos) << question;
    for (const char* shown : {"«ü»", "«ß»", "«\U0001F600»"})
        EXPECT_NE(question.find(shown), std::string::npos) << shown;
    EXPECT_EQ(question.find("\u2026"), std::string::npos);  // all different ones named, no "…"
    EXPECT_EQ(ws.read(ws.work + "n.txt"), "old\r\n");
    EXPECT_EQ(w->mmText->toPlainText(), QStringLiteral("old Grüße \U0001F600 ü"));

    chooseWith("SaveAs3", ws.work + "other");  // cancelled too: no file, no backup
    EXPECT_FALSE(ws.exists(ws.work + "other.txt"));

    ws.ui.answerQuestion(0);
    choose("Save3");
    EXPECT_EQ(ws.read(ws.work + "n.txt"), "old Gr??e ? ?\r\n");
}

TEST_F(KeepingWorkTest, LeavingWithUnsavedTextAsks)
{
    enum { SaveAll, Discard, Cancel };
    struct Case {
        const char* name;
        int answer;
        bool closes;
        const char* onDisk;
    } cases[] = {
        {"cancel", Cancel, false, "old\r\n"},
        {"discard", Discard, true, "old\r\n"},
        {"save all", SaveAll, true, "old edited\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        choose("Close1");
        choose("Close3");
        ws.ui.clear();
        ws.write(ws.work + "n.txt", "old\r\n");
        chooseWith("Open3", ws.work + "n.txt");
        type(w->mmText, QStringLiteral(" edited"));
        type(w->mmTaskText, QStringLiteral("typed"));
        w->show();
        ws.ui.answerQuestion(c.answer);
        if (c.answer == SaveAll)
            ws.ui.answerDialog(ws.work + "t");
        EXPECT_EQ(w->close(), c.closes);
        ASSERT_EQ(ws.ui.questions().size(), 1u);
        EXPECT_NE(ws.ui.questions()[0].find("Текст: n.txt"), std::string::npos);
        EXPECT_NE(ws.ui.questions()[0].find("Задача: (no file)"), std::string::npos);
        EXPECT_EQ(ws.read(ws.work + "n.txt"), c.onDisk);
    }
    EXPECT_EQ(ws.read(ws.work + "t.tsk"), "typed\r\n");

    ws.ui.clear();  // nothing modified: nothing asked
    w->show();
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(ws.ui.questions().empty());
}

TEST_F(KeepingWorkTest, ExitAndToolWindowsAskToo)
{
    type(w->mmRuleText, QStringLiteral("rule"));
    w->show();
    choose("Exit1");  // unanswered: cancel, the program goes on
    EXPECT_TRUE(w->isVisible());
    Form1->SetMainForm();  // tarnix-tools: the launcher's Exit ends the program, so it asks too
    Form1->Show();
    Form1->Button6->click();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(ws.ui.questions().size(), 2u);
    Form1->hide();

    ws.ui.clear();
    Form3->Show();
    Form3->PageControl1->setCurrentIndex(TForm3::FirstModelTextPage);  // m0.txm
    type(Form3->mmMt[0], QStringLiteral("note"));
    Form3->PageControl1->setCurrentIndex(TForm3::FirstModelTextPage + 1);
    Form3->PageControl1->setCurrentIndex(TForm3::FirstModelTextPage);  // the edit stays
    EXPECT_TRUE(text(Form3->mmMt[0]).ends_with("note"));
    EXPECT_FALSE(Form3->close());
    ASSERT_EQ(ws.ui.questions().size(), 1u);
    EXPECT_NE(ws.ui.questions()[0].find("M0t: m0.txm"), std::string::npos) << ws.ui.questions()[0];
    EXPECT_EQ(ws.ui.questions()[0].find("БЗ"), std::string::npos);  // only the tool window's own
}

// The rule-base viewer's text document is its own: its SaveText never writes the main window's.
TEST_F(KeepingWorkTest, EachWindowSavesItsOwnTextDocument)
{
    ws.write(ws.work + "notes.txt", "main\r\n");
    chooseWith("Open3", ws.work + "notes.txt");
    Form3->mmText->setPlainText("viewer");
    Form3->bbSaveText->click();  // no file of its own: it asks for one (cancelled here)
    EXPECT_EQ(ws.ui.shown().back().kind, ScriptedUi::Shown::SaveDialog);
    EXPECT_EQ(ws.read(ws.work + "notes.txt"), "main\r\n");
}

TEST_F(KeepingWorkTest, ShortcutsFollowTheSheetOnShow)
{
    show(w->Rules);
    EXPECT_EQ(w->findChild<QAction*>("Save2")->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_TRUE(w->findChild<QAction*>("Save1")->shortcut().isEmpty());
    show(w->TabSheetText);
    EXPECT_EQ(w->findChild<QAction*>("Open3")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_TRUE(w->findChild<QAction*>("Save2")->shortcut().isEmpty());
}

}  // namespace
}  // namespace tarnix
