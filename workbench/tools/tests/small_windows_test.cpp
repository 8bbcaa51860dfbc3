// The small viewers, the parameters window, the request builder and the text grid.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <QTimer>

#include "Unit13.h"
#include "Unit16.h"
#include "Unit17.h"
#include "Unit2.h"
#include "Unit5.h"
#include "Unit7.h"
#include "Unit8.h"
#include "Unit9.h"
#include "code_pane.h"
#include "string_grid.h"
#include "text_area.h"
#include "tools_fixture.h"
#include "viewer.h"

namespace tarnix {
namespace {

using SmallWindows = test::ToolWindowsTest;

std::vector<Form*> smallWindows() { return {Form2, Form7, Form8, Form9, Form13, Form16, Form17}; }

TEST_F(SmallWindows, AreCreatedHiddenAndCloseByHiding)
{
    for (Form* window : smallWindows()) {
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
        window->Show();
        window->Close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->testAttribute(Qt::WA_DeleteOnClose));
    }
}

// Every pane of a tool window numbers its lines and offers find and replace, but for the rule
// editor's four small boxes, which are titled instead.
TEST_F(SmallWindows, TextPanesOfEveryToolWindowNumberTheirLinesAndFind)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("Form5"))
            continue;
        for (QPlainTextEdit* pane : window->findChildren<QPlainTextEdit*>()) {
            const std::string where = window->objectName().toStdString() + "." + pane->objectName().toStdString();
            EXPECT_NE(qobject_cast<CodePane*>(pane), nullptr) << where;
            EXPECT_NE(window->findChild<QAction*>(QStringLiteral("Find1")), nullptr) << where;
        }
    }
    const std::pair<const char*, const char*> titles[] = {
        {"mmComm", "Comment"}, {"mmP4", "Result"}, {"mmP2", "Model 2"}, {"mmP3", "Model 1"}};
    for (const auto& [box, title] : titles) {
        const auto* label = Form5->findChild<QLabel*>(QStringLiteral("lb") + QString::fromLatin1(box + 2));
        ASSERT_NE(label, nullptr) << box;
        EXPECT_EQ(label->text(), QString::fromLatin1(title));
        EXPECT_EQ(label->buddy(), Form5->findChild<QPlainTextEdit*>(QString::fromLatin1(box)));
    }
}

TEST_F(SmallWindows, RequestBuilderShowsPromptsAndKeepsTheChoicesAfterClosing)
{
    const struct {
        QComboBox* list;
        const char* prompt;
        int items;
    } lists[] = {{Form9->cbOper, "Действие", 5}, {Form9->cbObj, "Объект действия", 6}, {Form9->cbCond, "Место", 3},
                 {Form9->cbRes, "Условие", 3}, {Form9->ComboBox1, "Результат", 4}};
    for (const auto& l : lists) {
        EXPECT_EQ(l.list->currentText(), literal(l.prompt));  // the prompt, not the first item
        EXPECT_EQ(l.list->count(), l.items);
        EXPECT_TRUE(l.list->isEditable());
    }

    // Opened modally, as the launcher does; the user chooses and closes the window.
    QTimer::singleShot(0, Form9, [] {
        Form9->cbOper->setCurrentIndex(2);
        Form9->cbRes->setEditText(literal("больше"));
        Form9->Close();
    });
    Form9->ShowModal();
    QTimer::singleShot(0, Form9, [] { Form9->Close(); });
    Form9->ShowModal();
    EXPECT_EQ(Form9->cbOper->currentText(), literal("Фильтровать"));
    EXPECT_EQ(Form9->cbRes->currentText(), literal("больше"));
    EXPECT_EQ(Form9->cbObj->currentText(), literal("Объект действия"));
}

TEST_F(SmallWindows, ViewerIsFilledFromAFileAndBroughtForward)
{
    ws.write(ws.work + "exp.txt", cp1251("первая\r\nвторая\r\n"));
    ws.write(ws.work + "other.txt", "x\ny");
    ShowFileInViewer(Form2, Form2->Memo1, ws.work + "exp.txt");
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_EQ(text(Form2->Memo1), cp1251("первая\nвторая"));

    ShowFileInViewer(Form2, Form2->Memo1, ws.work + "other.txt");  // already visible: new content
    EXPECT_EQ(text(Form2->Memo1), "x\ny");

    Form8->Memo1->setPlainText(QStringLiteral("kept"));
    EXPECT_THROW(ShowFileInViewer(Form8, Form8->Memo1, ws.work + "none.txt"), FileOpenError);
    EXPECT_EQ(text(Form8->Memo1), "kept");
    EXPECT_FALSE(Form8->isVisible());
    ws.write(ws.work + "bexp.txt", "a\r\n" + std::string(LongestShownLine + 1, 'x'));  // any length shows
    ShowFileInViewer(Form8, Form8->Memo1, ws.work + "bexp.txt");
    EXPECT_EQ(Form8->Memo1->text().line(1).size(), LongestShownLine + 1);
    Form8->Close();
    Form2->Close();
}

TEST(StringGrid, CellsAddressTheFixedRowAndColumnAsRowAndColumnZero)
{
    StringGrid grid(6, 21);
    EXPECT_EQ(grid.ColCount(), 6);
    EXPECT_EQ(grid.RowCount(), 21);
    // A fixed cell without text shows nothing, not the row's or column's number.
    EXPECT_EQ(grid.verticalHeaderItem(0)->text(), QString());
    EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), QString());

    grid.SetCells(0, 1, "7");
    grid.SetCells(1, 1, cp1251("комедия"));
    grid.SetCells(2, 0, "Type");
    EXPECT_EQ(grid.verticalHeaderItem(0)->text(), QStringLiteral("7"));
    EXPECT_EQ(grid.item(0, 0)->text(), literal("комедия"));
    EXPECT_EQ(grid.Cells(2, 0), "Type");
    EXPECT_EQ(grid.Cells(5, 20), "");
    EXPECT_THROW(grid.SetCells(6, 1, "x"), RangeError);
    EXPECT_THROW(grid.Cells(1, 21), RangeError);

    grid.SetRowCount(26);
    grid.SetCells(5, 25, "last");
    EXPECT_EQ(grid.Cells(5, 25), "last");
    EXPECT_EQ(grid.verticalHeaderItem(24)->text(), QString());
    grid.ClearRows(1);
    EXPECT_EQ(grid.Cells(0, 1), "");
    EXPECT_EQ(grid.Cells(1, 1), "");
    EXPECT_EQ(grid.Cells(2, 0), "Type");  // the fixed row stays
    grid.SetRowCount(5);
    EXPECT_EQ(grid.RowCount(), 5);

    std::vector<std::pair<int, int>> selected;
    QObject::connect(&grid, &StringGrid::cellSelected, [&](int col, int row) { selected.emplace_back(col, row); });
    emit grid.cellClicked(2, 3);
    EXPECT_EQ(selected, (std::vector<std::pair<int, int>>{{4, 3}}));
}

// Each window on the demo project, for the pictures of the documentation.
TEST_F(SmallWindows, OnTheDemoProject)
{
    ws.installDemo();
    std::string code, value;
    RunGoal(goals::RunModel0, code, value);
    RunGoal(goals::RuleExplanation("10"), code, value);
    RunGoal(goals::BackExplanation("6"), code, value);
    RunGoal(goals::TraceList, code, value);
    EXPECT_TRUE(ws.ui.shown().empty());

    Form2->edRn->setText(QStringLiteral("10"));
    ShowFileInViewer(Form2, Form2->Memo1, ws.work + files::RuleExplanationFile);
    picture(Form2, "tool-m1-viewer");
    ShowFileInViewer(Form8, Form8->Memo1, ws.work + files::BackExplanationFile);
    picture(Form8, "tool-memo-viewer");
    ShowFileInViewer(Form16, Form16->memtxt, ws.work + "KbMovem1.rul");
    picture(Form16, "tool-text-viewer");
    EXPECT_NE(text(Form16->memtxt).find(cp1251("Фильм на вечер")), std::string::npos);

    Lines list;
    ASSERT_TRUE(ReadWorkLines(files::TraceListFile, list));
    for (const auto& line : list)
        Form7->ListBox1->addItem(toQt(line));
    Form7->Show();
    picture(Form7, "tool-list");

    Form17->edNum->setText(QStringLiteral("1"));
    Form17->Show();
    picture(Form17, "tool-table-editor");
    Form13->Show();
    picture(Form13, "tool-parameters");
    Form9->cbOper->setCurrentIndex(0);
    Form9->Show();
    picture(Form9, "tool-request-builder");
    for (Form* window : smallWindows())
        window->Close();
}

}  // namespace
}  // namespace tarnix
