// The object editor driven through its menu and buttons against the stand-in engine.
#include "object_tools_fixture.h"

namespace tarnix {
namespace {

using test::ObjectToolsTest;
using Strings = std::vector<std::string>;

class ObjectEditorTest : public ObjectToolsTest {
protected:
    TForm11* w = Form11;
};

TEST_F(ObjectEditorTest, ShowingTheEditorShowsTheChosenObjectEvenObjectZero)
{
    ws.script("goal *\ncode 0\nfile cgo.ari graph of 0\n");
    context.SelectedObject = 0;
    w->Show();
    EXPECT_EQ(text(w->edNum), "0");
    EXPECT_EQ(goals(), Strings{"opt(1,2,3,[0],showcg)"});
    EXPECT_EQ(text(w->Memo1), "graph of 0");
    w->hide();

    context.SelectedObject = -7;
    w->Show();
    EXPECT_EQ(goals().back(), "opt(1,2,3,[-7],showcg)");
    w->hide();
}

// New, Create and Update save the text to "cgl.ari" and send their goal when the brackets
// balance, an empty text too; otherwise they show the counts and neither save nor send.
TEST_F(ObjectEditorTest, TextCommandsSaveAndSendOnlyBalancedText)
{
    struct Case {
        const char* item;
        const char* goal;
    };
    for (const Case c : {Case{"New1", "opt(1,1,1,1,loadcg)."}, Case{"Create1", "opt(1,1,1,1,createob)."},
                         Case{"Update1", "opt(1,1,1, 7x,update)."}}) {
        SCOPED_TRACE(c.item);
        std::filesystem::remove(ws.work + "standin.log");
        std::filesystem::remove(ws.work + "cgl.ari");
        ws.script("goal *\ncode 1\nmessage no\n");
        setText(w->edNum, " 7x");
        setText(w->Memo1, "");
        choose(w, c.item);
        EXPECT_EQ(ws.read(ws.work + "cgl.ari"), "");
        EXPECT_TRUE(ws.exists(ws.work + "cgl.ari"));
        EXPECT_EQ(goals(), Strings{c.goal});

        ws.ui.clear();
        setText(w->Memo1, "[film,[a,b]\n[c]]]]");
        choose(w, c.item);
        EXPECT_EQ(ws.ui.messages(), Strings{"Res= 1 Ob= 3 Cb= 5"});
        EXPECT_EQ(goals().size(), 1u);
        EXPECT_EQ(ws.read(ws.work + "cgl.ari"), "");
        EXPECT_EQ(text(w->edNum), " 7x");
    }
    // Check shows the counts of the square brackets whatever the flag covers.
    ws.ui.clear();
    setText(w->Memo1, "[a][b](");
    click(w, "Button1");
    EXPECT_EQ(ws.ui.messages(), Strings{"Res= 1 Ob= 2 Cb= 2"});
}

TEST_F(ObjectEditorTest, CreateTakesTheNewNumberOnlyOnSuccess)
{
    setText(w->Memo1, cp1251("[film,'Солярис']"));
    setText(w->edNum, "3");
    ws.script("goal *\ncode 1\nvalue 99\nmessage full\n");
    choose(w, "Create1");
    EXPECT_EQ(text(w->edNum), "3");
    EXPECT_EQ(ws.ui.messages(), Strings{"Error in creating CG - full"});
    ws.script("goal *\nvalue 12\n");
    choose(w, "Create1");
    EXPECT_EQ(text(w->edNum), "12");
    EXPECT_EQ(ws.read(ws.work + "cgl.ari"), cp1251("[film,'Солярис']\r\n"));
}

TEST_F(ObjectEditorTest, DeleteSendsTheNumberFieldAsItStandsAndEmptiesTheWindow)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Delete1", "", "opt(1,1,1,,delob)."},
        {"bbDel", "", "opt(1,1,1,[],delob)."},
        {"bbDel", "x y", "opt(1,1,1,[x y],delob)."},
    };
    ws.script("goal *\n");
    for (const auto& [command, number, goal] : cases) {
        setText(w->edNum, number);
        setText(w->Memo1, "object text");
        if (std::string(command) == "bbDel")
            click(w, command);
        else
            choose(w, command);
        EXPECT_EQ(goals().back(), goal);
        EXPECT_EQ(text(w->Memo1), "");
        EXPECT_EQ(text(w->edNum), "");
    }
}

TEST_F(ObjectEditorTest, ShowCgAndShowObReadTheNumberField)
{
    ws.script("goal *\nfile cgo.ari shown\n");
    setText(w->Memo1, "kept");
    setText(w->edNum, "abc");
    click(w, "bbShow");
    EXPECT_EQ(ws.ui.messages(), Strings{"Error in Object number - abc"});
    EXPECT_EQ(text(w->Memo1), "kept");

    choose(w, "ShowOb1");
    EXPECT_EQ(ws.ui.errors(), Strings{"'abc' is not a valid integer value."});
    EXPECT_EQ(text(w->Memo1), "kept");
    EXPECT_FALSE(ws.exists(ws.work + "standin.log"));

    setText(w->edNum, "5");
    click(w, "bbShow");
    EXPECT_EQ(text(w->Memo1), "shown");
    choose(w, "ShowOb1");
    EXPECT_EQ(goals(), (Strings{"opt(1,2,3,[5],showob)", "opt(1,2,3,[5],showcg)"}));

    // 0 or less sends nothing and shows what the file last held.
    ws.write(ws.work + "cgo.ari", "earlier");
    setText(w->edNum, "0");
    choose(w, "ShowOb1");
    EXPECT_EQ(goals().size(), 2u);
    EXPECT_EQ(text(w->Memo1), "earlier");
}

TEST_F(ObjectEditorTest, PrevAndNextWalkTheListAndStopAtItsEnds)
{
    ws.script("goal *\nfile cgo.ari entry\n");
    for (int i = 1; i <= 3; ++i)
        context.ObjectNumbers[i] = 10 * i;
    context.ObjectCount = 3;
    context.ObjectCursor = 3;
    click(w, "bbNext");
    EXPECT_FALSE(ws.exists(ws.work + "standin.log"));
    click(w, "bbPrev");
    EXPECT_EQ(context.ObjectCursor, 2);
    EXPECT_EQ(text(w->edNum), "20");
    EXPECT_EQ(text(w->Memo1), "entry");
    click(w, "bbPrev");
    click(w, "bbPrev");
    EXPECT_EQ(context.ObjectCursor, 1);
    click(w, "bbNext");
    EXPECT_EQ(goals(), (Strings{"opt(1,2,3,[20],showcg)", "opt(1,2,3,[10],showcg)", "opt(1,2,3,[20],showcg)"}));

    // A count beyond the table's end: the step out of it is refused, the cursor keeps it.
    context.ObjectCount = 20000;
    context.ObjectCursor = 10000;
    click(w, "bbNext");
    EXPECT_EQ(ws.ui.errors(), Strings{"Range check error."});
    EXPECT_EQ(context.ObjectCursor, 10001);
}

TEST_F(ObjectEditorTest, BinaryAndFileShowLoadTheirFilesAndKeepTheTextOnFailure)
{
    ws.script("goal *\nfile cgb.ari 000000  5B 61 5D\n");
    choose(w, "Binary1");
    EXPECT_EQ(goals(), Strings{"opt(1,1,1,1,binob)."});
    EXPECT_EQ(text(w->Memo1), "000000  5B 61 5D");

    ws.write(ws.root + "notes.txt", "line 1\r\nline 2\r\n");
    ws.ui.answerDialog(ws.root + "notes.txt");
    choose(w, "Show1");
    EXPECT_EQ(text(w->Memo1), "line 1\nline 2");
    ws.ui.answerDialog(ws.root + "missing.txt");
    choose(w, "Show1");
    ws.ui.answerDialog(std::nullopt);
    choose(w, "Show1");
    EXPECT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(text(w->Memo1), "line 1\nline 2");

    // The engine wrote no object file: the error box, the text stays.
    ws.script("goal *\n");
    std::filesystem::remove(ws.work + "cgo.ari");
    setText(w->edNum, "2");
    click(w, "bbShow");
    EXPECT_EQ(ws.ui.errors().size(), 2u);
    EXPECT_EQ(text(w->Memo1), "line 1\nline 2");
    choose(w, "Clear1");
    EXPECT_EQ(text(w->Memo1), "");
}

}  // namespace
}  // namespace tarnix
