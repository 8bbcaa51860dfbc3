// The rule-base viewer: the rule grids, the model pages, the ".txm" pages, the text document,
// and the rule editor opened from it while it runs modally.
#include <QApplication>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "rule_tools_fixture.h"
#include "string_grid.h"

namespace tarnix {
namespace {

using Strings = std::vector<std::string>;

class RuleBaseTest : public test::RuleToolsTest {
protected:
    ~RuleBaseTest() override
    {
        Form5->hide();
        Form3->hide();
    }
    void page(int index) { Form3->PageControl1->setCurrentIndex(index); }
    // Shows the window the way the launcher does, without the modal loop.
    void open()
    {
        Form3->hide();
        Form3->Show();
    }
    StringGrid* grid(int k) const { return Form3->StringGrids[k - 1]; }
};

TEST_F(RuleBaseTest, FirstShowingIsPageM5tWithItsInitialText)
{
    ws.write(ws.work + "m5.txm", "from the file\r\n");
    open();
    EXPECT_EQ(Form3->PageControl1->currentIndex(), 14);
    EXPECT_EQ(Form3->PageControl1->tabText(14), QStringLiteral("M5t"));
    EXPECT_EQ(text(Form3->mmMt[5]), "mmM5t");
    EXPECT_TRUE(ws.ui.shown().empty());
    page(13);
    page(14);
    EXPECT_EQ(text(Form3->mmMt[5]), "from the file");
}

// Save writes a page's pane only over the file it holds the text of, and never cuts a file.
TEST_F(RuleBaseTest, SaveWritesOnlyTheFileThePageShows)
{
    std::string longModel;
    for (int i = 1; i <= 1200; ++i)
        longModel += "line " + std::to_string(i) + "\r\n";
    const struct {
        const char* name;
        int page;
        const char* file;
        std::string bytes;
        std::string said;  // the message or error; empty: saved
    } cases[] = {
        {"page M5t as the window opens", 14, "m5.txm", "note\r\n",
         "Nothing saved: the page does not show the text of " + ws.work + "m5.txm"},
        {"page M0", 3, "m0.txt", "line 1\r\n", ""},
        {"page M0 refused for its line", 3, "m0.txt", std::string(70000, 'x') + "\r\n",
         "Nothing saved: the page does not show the text of " + ws.work + "m0.txt"},
        {"page M0 of 1200 lines", 3, "m0.txt", longModel,
         "Not written: " + ws.work + "m0.txt has 201 lines past those read from it, and writing would lose them."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ws.write(ws.work + c.file, c.bytes);
        open();
        page(c.page);
        ws.ui.clear();
        Form3->bbSave->click();
        const auto said = ws.ui.shown().empty() ? std::string() : ws.ui.shown().back().text;
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(ws.read(ws.work + c.file), c.said.empty() ? splitLines(c.bytes)[0] + "\r\n" : c.bytes);
    }
}

TEST_F(RuleBaseTest, GridsGrowToTheRuleCountAndShrinkWithoutStaleRows)
{
    ws.write(RuleSetPath(1), rules(1, 25));
    page(0);
    EXPECT_EQ(grid(1)->RowCount(), 26);
    EXPECT_EQ(grid(1)->Cells(0, 25), "25");
    EXPECT_EQ(grid(1)->Cells(1, 25), "rule 25");
    EXPECT_EQ(grid(1)->Cells(3, 25), "P2 25");
    EXPECT_EQ(grid(1)->Cells(1, 0), "Comment");  // the header row names the fields

    ws.write(RuleSetPath(1), rules(1, 4));
    page(15);
    page(0);
    EXPECT_EQ(grid(1)->RowCount(), 21);
    EXPECT_EQ(grid(1)->Cells(0, 4), "4");
    for (int row = 5; row < 21; ++row)
        EXPECT_EQ(grid(1)->Cells(1, row), "") << row;

    emit grid(1)->cellSelected(1, 5);  // an empty row opens nothing
    EXPECT_FALSE(Form5->isVisible());
    emit grid(1)->cellSelected(2, 3);
    EXPECT_TRUE(Form5->isVisible());
    EXPECT_EQ(context.RuleSetNo, 1);
    EXPECT_EQ(context.RuleCursor, 3);
    EXPECT_EQ(text(Form5->mmComm), "rule 3");
    EXPECT_EQ(text(Form5->edKbNm), "1");
    EXPECT_TRUE(ws.ui.shown().empty());
}

TEST_F(RuleBaseTest, PagesReadTheirFilesWhenShownAndSaveWritesByPage)
{
    ws.write(ws.work + "m2.txt", "two\r\n");
    page(5);
    EXPECT_EQ(text(Form3->mmM[2]), "two");
    ws.write(ws.work + "m2.txt", "two again\r\n");
    open();  // every showing reads the page again
    EXPECT_EQ(text(Form3->mmM[2]), "two again");

    const struct {
        int index;
        const char* file;  // none: Save writes nothing
    } cases[] = {
        {0, nullptr}, {3, "m0.txt"}, {4, nullptr}, {8, nullptr}, {9, "m0.txm"}, {12, "m3.txm"}, {14, "m5.txm"},
        {15, nullptr},
    };
    for (int k = 0; k <= 5; ++k) {
        ws.write(ws.work + "m" + std::to_string(k) + ".txt", "model\r\n");
        ws.write(ws.work + "m" + std::to_string(k) + ".txm", "text\r\n");
    }
    ws.write(RuleSetPath(1), rules(1, 2));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        page(c.index);
        QWidget* shown = Form3->PageControl1->currentWidget();
        for (auto* pane : shown->findChildren<QPlainTextEdit*>())
            pane->setPlainText(QStringLiteral("saved\tfrom page"));
        Form3->bbSave->click();
        for (int k = 0; k <= 5; ++k)
            for (const char* ext : {".txt", ".txm"}) {
                const std::string name = "m" + std::to_string(k) + ext;
                const bool written = c.file && name == c.file;
                EXPECT_EQ(ws.read(ws.work + name), written ? "saved\tfrom page\r\n" : ext == std::string(".txt") ? "model\r\n" : "text\r\n") << name;
            }
        if (c.file)
            ws.write(ws.work + c.file, std::string(c.file).ends_with(".txt") ? "model\r\n" : "text\r\n");
    }
    EXPECT_TRUE(ws.ui.shown().empty());
}

// SaveText As writes a copy, the ".txt" of the chosen name, keeping a file it replaces as its
// ".BAK"; the chosen file itself is left alone.
TEST_F(RuleBaseTest, SaveTextAsWritesACopyAndKeepsWhatItReplaces)
{
    ws.write(ws.work + "open.txt", cp1251("открытый\r\n"));
    ws.ui.answerDialog(ws.work + "open.txt");
    Form3->bbLoadText->click();
    EXPECT_EQ(context.TextFilePath, ws.work + "open.txt");
    EXPECT_EQ(text(Form3->mmText), cp1251("открытый"));

    const std::string other = ws.root + "elsewhere/";
    std::filesystem::create_directory(other);
    ws.write(other + "notes.doc", "old notes\r\n");
    for (const char* written : {"открытый", "changed"}) {
        Form3->mmText->setPlainText(QString::fromUtf8(written));
        ws.ui.answerDialog(other + "notes.doc");
        Form3->bbSaveTextAs->click();
        EXPECT_EQ(ws.read(other + "notes.txt"), cp1251(written) + "\r\n");
    }
    EXPECT_EQ(ws.read(other + "notes.BAK"), cp1251("открытый\r\n"));
    EXPECT_EQ(ws.read(other + "notes.doc"), "old notes\r\n");
    ws.ui.answerDialog(other + "notes.doc");
    Form3->bbSaveTextAs->click();  // notes.BAK is never replaced
    EXPECT_EQ(ws.ui.errors(), Strings{"Unable to create backup file."});
    EXPECT_EQ(ws.read(other + "notes.txt"), "changed\r\n");

    Form3->bbSaveText->click();  // SaveText writes the open document, without a backup
    EXPECT_EQ(ws.read(ws.work + "open.txt"), "changed\r\n");
    EXPECT_FALSE(ws.exists(ws.work + "open.BAK"));
}

TEST_F(RuleBaseTest, AFailedLoadKeepsTheDocumentAndItsPath)
{
    ws.write(ws.work + "a.txt", "a\r\n");
    ws.ui.answerDialog(ws.work + "a.txt");
    Form3->bbLoadText->click();
    ws.ui.answerDialog(ws.work + "absent.txt");
    Form3->bbLoadText->click();
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot open file \"" + ws.work + "absent.txt\". ", 0), 0u);
    EXPECT_EQ(context.TextFilePath, ws.work + "a.txt");
    EXPECT_EQ(text(Form3->mmText), "a");
}

// Missing, empty, binary, very large and cut rule-set files: a clear message or a plain
// result, and the window goes on working.
TEST_F(RuleBaseTest, BadRuleSetFilesGiveAClearMessageAndTheWindowGoesOn)
{
    std::string binary;
    for (int i = 0; i < 7000; ++i)
        binary += static_cast<char>(i * 37 % 256);
    std::string huge = rule("1") + "ru\r\n2\r\n" + std::string(10 << 20, 'w') + "\r\n";
    while (huge.size() < (50u << 20))
        huge += std::string(1000, 'z') + "\r\n";
    const std::string tooLong = "Line too long to show (over 65536 characters) - ";
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // none: the file is missing
        Strings errors;
        int rules;  // rules the grid shows afterwards (-1: none)
    } cases[] = {
        {"missing", std::nullopt, {"File not found."}, 3},  // the grid shows what it showed
        {"empty", "", {}, 0},
        {"binary", binary, {}, static_cast<int>((splitLines(binary).size() + 6) / 7)},
        {"huge", huge, {tooLong + RuleSetPath(2) + "."}, -1},
        {"cut in a group", rules(1, 2) + "ru\r\n3\r\ncut", {}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ws.write(RuleSetPath(2), rules(1, 3));
        page(1);
        std::remove(RuleSetPath(2).c_str());
        if (c.bytes)
            ws.write(RuleSetPath(2), *c.bytes);
        ws.ui.clear();
        page(15);
        page(1);
        EXPECT_EQ(ws.ui.errors(), c.errors);
        const int shown = std::max(c.rules, 0);
        EXPECT_EQ(grid(2)->Cells(0, 1), shown ? context.RuleSets[2].entries[1].Number : "");
        emit grid(2)->cellSelected(1, 1);
        EXPECT_EQ(Form5->isVisible(), shown > 0);
        Form5->hide();
    }
    EXPECT_EQ(context.RuleSets[2].entries[3].Comment, "cut");
    EXPECT_EQ(context.RuleSets[2].entries[3].P2, "");
}

TEST_F(RuleBaseTest, SaveToAReadOnlyFolderOrAFullDiskKeepsTheEarlierFile)
{
    ws.write(ModelPath(0), "model\r\n");
    page(3);
    Form3->mmM[0]->setPlainText(QStringLiteral("edited"));
    if (ws.makeReadOnly(ModelPath(0)) && ws.makeReadOnly(ws.work)) {
        Form3->bbSave->click();
        ASSERT_EQ(ws.ui.errors().size(), 1u);
        EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot create file \"" + ModelPath(0) + "\". ", 0), 0u);
        EXPECT_EQ(ws.read(ModelPath(0)), "model\r\n");
        EXPECT_EQ(text(Form3->mmM[0]), "edited");
    }
    const std::string small = ws.smallDisk(64 * 1024);
    if (small.empty())
        GTEST_SKIP() << "cannot mount a small file system here";
    ws.ui.clear();
    ws.write(small + "doc.txt", "doc\r\n");
    ws.ui.answerDialog(small + "doc.txt");
    Form3->bbLoadText->click();
    Form3->mmText->setPlainText(QString(200000, QLatin1Char('t')));
    Form3->bbSaveText->click();
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_NE(ws.ui.errors()[0].find("not enough space"), std::string::npos);
    EXPECT_EQ(ws.read(small + "doc.txt"), "doc\r\n");
}

// Opened modally, as the launcher does, the viewer opens the rule editor without blocking;
// the editor, and the rule execution window and viewer it opens, take the user's input.
TEST_F(RuleBaseTest, WindowsOpenedFromTheModalViewerTakeInput)
{
    ws.write(RuleSetPath(3), rules(1, 3));
    ws.write(ws.work + "list.txt", "1 first\r\n");
    page(2);
    QTimer::singleShot(0, [&] {
        emit grid(3)->cellSelected(1, 2);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form5));
        const auto click = [](Form* window, QWidget* button) {
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, button->mapTo(window, button->rect().center()));
        };
        click(Form5, Form5->bbNext);
        EXPECT_EQ(context.RuleCursor, 3);
        click(Form5, Form5->bbRun);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form6));
        click(Form6, Form6->bbTrace);
        EXPECT_EQ(Form6->ListBox1->count(), 1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
        Form2->edRn->setFocus();
        QTest::keyClick(Form2->windowHandle(), Qt::Key_7);
        EXPECT_EQ(text(Form2->edRn), "7");
        Form6->Button8->click();
        Form5->hide();
        Form3->Button6->click();
    });
    Form3->ShowModal();
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_TRUE(ws.ui.shown().empty());
}

}  // namespace
}  // namespace tarnix
