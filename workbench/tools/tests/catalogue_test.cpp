// The knowledge-base catalogue: filling the grid and the number list from the engine's object
// list, opening and creating knowledge bases, and the object editor opened from a row.
#include <QHeaderView>
#include <QTest>

#include "object_tools_fixture.h"
#include "platform/platform.h"
#include "string_grid.h"

namespace tarnix {
namespace {

using test::ObjectToolsTest;
using Strings = std::vector<std::string>;

class CatalogueTest : public ObjectToolsTest {
protected:
    TForm10* w = Form10;
    StringGrid* grid = Form10->StringGrid1;

    // A fill as the window's commands run it: errors go to the error box.
    void fill() { dispatch([this] { w->FillCatalogue(); }); }

    // The grid's rows from row 1 that hold anything, each as "number|text1|text2".
    Strings rows() const
    {
        Strings out;
        for (int r = 1; r < grid->RowCount(); ++r) {
            const std::string row = grid->Cells(0, r) + "|" + grid->Cells(1, r) + "|" + grid->Cells(2, r);
            if (row != "||")
                out.push_back(row);
        }
        return out;
    }
};

TEST_F(CatalogueTest, ShowingFillsEveryObjectAndALaterShorterListLeavesNoRowsBehind)
{
    objectList(listOf(150), "150");
    context.CurrentKb = std::string("Kb1");
    w->Show();
    EXPECT_EQ(text(w->edKb), "Kb1");
    EXPECT_EQ(text(w->edNum), "150");
    EXPECT_EQ(context.ObjectCount, 150);
    EXPECT_EQ(context.ObjectCursor, 150);
    EXPECT_EQ(context.ObjectNumbers[1], 1);
    EXPECT_EQ(context.ObjectNumbers[150], 150);
    EXPECT_EQ(grid->RowCount(), 151);
    EXPECT_EQ(rows().size(), 150u);
    EXPECT_EQ(rows().back(), "150|name 150|text 150");
    w->hide();

    objectList(listOf(2, 7), "2");
    w->Show();
    EXPECT_EQ(rows(), (Strings{"7|name 7|text 7", "8|name 8|text 8"}));
    EXPECT_EQ(grid->RowCount(), 100);
    EXPECT_EQ(context.ObjectCursor, 2);
    EXPECT_EQ(goals(), Strings(2, "opt(1,2,3,4,oblist)."));
    EXPECT_TRUE(ws.ui.shown().empty());
    w->hide();

    // A failed list leaves an empty grid and the old count.
    ws.script("goal *\ncode 2\nmessage no kb\n");
    fill();
    EXPECT_EQ(ws.ui.messages(), Strings{"Error in creating CG - no kb"});
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(text(w->edNum), "2");
}

// Bad list files: a clear message where the list cannot be taken, never a crash, and the
// rows read before the fault stay.
TEST_F(CatalogueTest, BadListFilesEndTheFillWithAClearError)
{
    const std::string tenMegabytes(10 << 20, 'x');
    struct Case {
        const char* what;
        std::string list;
        std::string value;
        std::size_t rowsShown;
        std::string error;
    };
    const Case cases[] = {
        {"empty", "", "0", 0, ""},
        {"ends inside a group", "1\r\nname\r\n", "1", 1, ""},
        {"letters for a number", "1\r\na\r\nb\r\nfilm\r\nc\r\nd\r\n", "2", 2, "'film' is not a valid integer value."},
        {"empty line begins a group", "1\r\na\r\nb\r\n\r\nc\r\nd\r\n", "2", 2, "'' is not a valid integer value."},
        {"binary", std::string("\x00\xff\r\n\x01", 5), "1", 1,
         "'?\xff' is not a valid integer value."},
        {"result value not a number", listOf(2), "two", 2, "'two' is not a valid integer value."},
        {"one 10 MB line", "4\r\na\r\nb\r\n5\r\n" + tenMegabytes + "\r\nend\r\n", "2", 1,
         "Line too long to show (over 65536 characters) - " + ws.work + "cgo.ari."},
        {"10,000 objects", listOf(10000), "10000", 10000, ""},
        {"10,001 objects", listOf(10001), "10001", 10001, "Range check error."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ws.ui.clear();
        context.ObjectCount = -1;
        objectList(c.list, c.value);
        w->edNum->clear();
        fill();
        EXPECT_EQ(ws.ui.errors(), c.error.empty() ? Strings{} : Strings{c.error});
        EXPECT_EQ(rows().size(), c.rowsShown);
        EXPECT_EQ(context.ObjectCount, c.error.empty() ? std::stoi(c.value) : -1);
    }
    EXPECT_EQ(context.ObjectNumbers[10000], 10000);

    std::filesystem::remove(ws.work + "cgo.ari");
    ws.script("goal *\nvalue 1\n");
    ws.ui.clear();
    fill();
    EXPECT_EQ(ws.ui.errors(), Strings{"File not found."});
}

TEST_F(CatalogueTest, CreateKbNeedsALatinLetterAndBecomesTheCurrentKb)
{
    setText(w->edKb, "2024");
    choose(w, "CreateKb1");
    EXPECT_EQ(ws.ui.messages(), Strings{"Error in creating KB 2024"});
    EXPECT_FALSE(ws.exists(ws.work + "standin.log"));

    ws.ui.clear();
    setText(w->edKb, cp1251("Фильмы"));
    choose(w, "CreateKb1");
    EXPECT_EQ(ws.ui.messages(), Strings{cp1251("Error in creating KB Фильмы")});

    ws.ui.clear();
    ws.script("goal opt(1,1,1,Kb 2,newKb).\ncode 3\nmessage exists\n");
    setText(w->edKb, "Kb 2");
    choose(w, "CreateKb1");
    EXPECT_EQ(ws.ui.messages(), (Strings{"Error in creating CG - exists", "Error in creating KB Kb 2"}));
    EXPECT_EQ(context.CurrentKb.str(), "Kb1");

    // The demo store makes the knowledge base; the catalogue then lists its (no) objects.
    ws.ui.clear();
    ws.script("");
    setText(w->edKb, "Films2");
    choose(w, "CreateKb1");
    EXPECT_TRUE(ws.ui.shown().empty());
    EXPECT_EQ(context.CurrentKb.str(), "Films2");
    EXPECT_EQ(platform::profileRead(ws.home + "Ordo.ini", "Files", "currKb", ""), "Films2");
    EXPECT_EQ(goals().back(), "opt(1,2,3,4,oblist).");
    EXPECT_EQ(text(w->edNum), "0");
}

TEST_F(CatalogueTest, OpenKbTakesTheStemOfTheChosenFile)
{
    objectList(listOf(1), "1");
    ws.ui.answerDialog("/somewhere/else/Films.2024.idb");
    choose(w, "OpenKb1");
    EXPECT_EQ(context.CurrentKb.str(), "Films");
    EXPECT_EQ(text(w->edKb), "Films");
    EXPECT_EQ(platform::profileRead(ws.home + "Ordo.ini", "Files", "currKb", ""), "Films");
    EXPECT_EQ(rows(), Strings{"1|name 1|text 1"});
    EXPECT_EQ(ws.ui.shown().front().text, cp1251("idb файлы (*.idb)|*IDB|Все файлы (*.*)|*.*"));

    for (const char* name : {"/x/noextension", "/x/.idb"}) {
        ws.ui.answerDialog(std::string(name));
        choose(w, "OpenKb1");
        EXPECT_EQ(context.CurrentKb.str(), "Films") << name;
    }
    EXPECT_EQ(goals().size(), 1u);
}

// A double click opens the editor on the row's object (0 for an empty first cell); when it
// closes, the list is read again from position 1.
TEST_F(CatalogueTest, DoubleClickOpensTheObjectEditorAndRefillsAfterIt)
{
    objectList(listOf(3), "3", "goal *\nfile cgo.ari shown\n");
    fill();
    for (const auto& [row, selected] : {std::pair{2, 2}, std::pair{50, 0}}) {
        grid->setCurrentCell(row - 1, 0);
        int cursorInEditor = -1;
        QTimer::singleShot(0, Form11, [&] {
            cursorInEditor = context.ObjectCursor;
            EXPECT_TRUE(Form11->isVisible());
            Form11->Close();
        });
        emit grid->cellDoubleClicked(row - 1, 0);
        EXPECT_EQ(context.SelectedObject, selected);
        EXPECT_EQ(cursorInEditor, row);
        EXPECT_FALSE(Form11->isVisible());
        EXPECT_EQ(context.ObjectCursor, 3);
        EXPECT_EQ(goals().back(), "opt(1,2,3,4,oblist).");
    }
    EXPECT_EQ(goals()[1], "opt(1,2,3,[2],showcg)");
    EXPECT_EQ(goals()[3], "opt(1,2,3,[0],showcg)");

    w->Show();  // a double click on the number column (the fixed one) opens its object too
    QHeaderView* numbers = grid->verticalHeader();
    QTimer::singleShot(0, Form11, [] { Form11->Close(); });
    QTest::mouseDClick(numbers->viewport(), Qt::LeftButton, {}, QPoint(5, numbers->sectionViewportPosition(0) + 5));
    EXPECT_EQ(context.SelectedObject, TryStrToInt(grid->Cells(0, 1)).value_or(-1));
    EXPECT_EQ(goals()[goals().size() - 2], "opt(1,2,3,[" + grid->Cells(0, 1) + "],showcg)");
}

}  // namespace
}  // namespace tarnix
