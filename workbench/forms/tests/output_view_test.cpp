#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "errors.h"
#include "output_view.h"
#include "qt_text.h"
#include "tests/workspace.h"
#include "text_area.h"

namespace tarnix {
namespace {

class OutputViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(400, 300);
        view.show();
    }
    std::string write(const std::string& bytes)
    {
        ws.write(path, bytes);
        return path;
    }

    test::Workspace ws;
    std::string path = ws.work + "out.txt";
    OutputView view;
};

// What the view shows is the file's lines, decoded, whatever their ends and length.
TEST_F(OutputViewTest, ShowsExactlyTheLinesOfTheFile)
{
    const std::string tenMegabytes(10 << 20, 'x');
    const struct {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"empty", "", {}},
        {"no final line break", "a\r\nb", {"a", "b"}},
        {"CR LF", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"LF and a CR alone", "a\nb\rc\r", {"a", "b", "c"}},
        {"code page 1251", cp1251("Правило 1\r\nёЁ\r\n"), {cp1251("Правило 1"), cp1251("ёЁ")}},
        {"a 10 MB line", "a\r\n" + tenMegabytes + "\r\nz", {"a", tenMegabytes, "z"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.loadFile(write(c.bytes));
        EXPECT_TRUE(GetLines(&view) == c.lines);
        EXPECT_EQ(view.toPlainText(), decodeLines(c.bytes));
        EXPECT_EQ(view.lineCount(), std::max<int>(1, static_cast<int>(c.lines.size())));
        view.grab();  // drawn at the end of the longest line too
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
        view.grab();
    }
    EXPECT_THROW(view.loadFile(ws.work + "missing.txt"), FileOpenError);
    EXPECT_EQ(view.lineCount(), 3);  // what it had
}

TEST_F(OutputViewTest, FollowsAFileAsItGrowsAndWhenItIsCut)
{
    view.follow(write("one\r\n"));
    EXPECT_EQ(view.toPlainText(), "one");
    ws.write(path, "one\r\ntwo\r\nthr");  // written further, the last line not yet ended
    QTRY_COMPARE_WITH_TIMEOUT(view.lineCount(), 3, 1000);
    ws.write(path, "one\r\ntwo\r\nthree\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(view.toPlainText(), QStringLiteral("one\ntwo\nthree"), 1000);
    ws.write(path, "cut");
    QTRY_COMPARE_WITH_TIMEOUT(view.toPlainText(), QStringLiteral("cut"), 1000);
    ws.write(path, "new text, as long as ever");  // written anew by another run
    QTRY_COMPARE_WITH_TIMEOUT(view.toPlainText(), QStringLiteral("new text, as long as ever"), 1000);
    std::remove(path.c_str());
    QTest::qWait(400);
    EXPECT_EQ(view.toPlainText(), QStringLiteral("new text, as long as ever"));
    view.stopFollowing();
    EXPECT_FALSE(view.following());
}

// Case-blind, round the end of the text, backwards; a large text in the background.
TEST_F(OutputViewTest, FindsAndSelects)
{
    view.showBytes(cp1251("Правило один\r\nправило два\r\nrule"));
    EXPECT_EQ(view.find(QStringLiteral("ПРАВИЛО"), false, false), OutputView::Search::Found);
    EXPECT_EQ(view.cursorPlace(), std::make_pair(1, 8));
    EXPECT_EQ(view.find(QStringLiteral("правило"), false, false), OutputView::Search::Found);
    EXPECT_EQ(view.cursorPlace(), std::make_pair(2, 8));
    EXPECT_EQ(view.find(QStringLiteral("правило"), false, false), OutputView::Search::Found);  // round the end
    EXPECT_EQ(view.cursorPlace().first, 1);
    EXPECT_EQ(view.find(QStringLiteral("правило"), true, true), OutputView::Search::Found);
    EXPECT_EQ(view.selectedText(), literal("правило"));
    EXPECT_EQ(view.find(QStringLiteral("中"), false, false), OutputView::Search::NotFound);

    std::string big(8 << 20, '.');
    big.replace(big.size() - 10, 6, "needle");
    view.showBytes(big);
    QSignalSpy done(&view, &OutputView::searchDone);
    EXPECT_EQ(view.find(QStringLiteral("NEEDLE"), false, false), OutputView::Search::Running);
    ASSERT_TRUE(done.wait(5000));
    EXPECT_TRUE(done.at(0).at(0).toBool());
    EXPECT_EQ(view.selectionBytes(), std::make_pair(big.size() - 10, big.size() - 4));
}

TEST_F(OutputViewTest, SelectsWithTheKeysAndCopies)
{
    view.showBytes(cp1251("первая строка\r\nвторая\r\n"));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), literal("ервая строка\nв"));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), literal("ервая строка\nв"));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.selectedText(), literal("первая строка\nвторая"));
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.cursorPlace(), std::make_pair(2, 7));
}

TEST_F(OutputViewTest, ScreenReadersReadTheTextCaretAndSelection)
{
    view.showBytes(cp1251("один\r\nдва\nтри"));
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(access, nullptr);
    QAccessibleTextInterface* text = access->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(access->state().readOnly);
    EXPECT_EQ(text->text(0, text->characterCount()), literal("один\nдва\nтри"));
    EXPECT_EQ(access->text(QAccessible::Value), view.toPlainText());
    view.goToLine(2);
    EXPECT_EQ(text->cursorPosition(), 5);
    text->setSelection(0, 6, 12);
    EXPECT_EQ(view.selectedText(), literal("ва\nтри"));
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 12));
}

// Every place of the text, drawn and then pointed at, is the same place again: with tabs, in a
// line too long for tabs to count, wrapped or not. A double click names the line.
TEST_F(OutputViewTest, APlaceOnScreenIsThePlaceInTheText)
{
    const std::string text = "a\tb\t\tc\r\n" + std::string(5000, 'x') + "\ty\r\n" + cp1251("\tёж");
    view.showBytes(text);
    for (bool wrapped : {false, true}) {
        view.setWrapped(wrapped);
        for (std::size_t offset : {0, 1, 2, 3, 4, 5, 6, 8, 5008, 5009, 5010, 5012, 5013, 5014, 5015}) {
            view.select(offset, offset);
            const QRect cell = view.placeRect(offset);
            ASSERT_FALSE(cell.isEmpty()) << offset;
            EXPECT_EQ(view.offsetAt(cell.topLeft() + QPoint(1, 1)), offset) << offset << (wrapped ? " wrapped" : "");
        }
    }
    QSignalSpy chosen(&view, &OutputView::lineChosen);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, view.placeRect(text.size() - 1).center());
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), literal("\tёж"));
}

// Wrapped at the pane's width, a 10 MB line takes as many rows as it needs, down to its end.
TEST_F(OutputViewTest, WrapsLongLines)
{
    view.showBytes(std::string(10 << 20, 'w') + "\r\nend");
    view.setWrapped(true);
    QScrollBar* rows = view.verticalScrollBar();
    EXPECT_GT(rows->maximum(), (10 << 20) / 100);
    rows->setValue(rows->maximum());
    view.grab();
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.cursorPlace(), std::make_pair(2, 4));

    view.follow(write("short"));  // a last line that goes on takes more rows
    ws.write(path, "short" + std::string(100000, 'w') + "\r\nnext");
    QTRY_VERIFY_WITH_TIMEOUT(rows->maximum() > 100000 / 100, 1000);
    view.stopFollowing();
}

}  // namespace
}  // namespace tarnix
