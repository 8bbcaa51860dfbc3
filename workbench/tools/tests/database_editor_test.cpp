// The database editor: the record database's files, and the engine's objects with their
// descriptions.
#include <QApplication>
#include <QWindow>
#include <filesystem>
#include <sys/mount.h>

#include "Unit16.h"
#include "Unit17.h"
#include "object_tools_fixture.h"

namespace tarnix {
namespace {

using test::ObjectToolsTest;
using Strings = std::vector<std::string>;

TEST(DatabaseFiles, LineBlocksAndNamesWithoutExtension)
{
    for (const auto& [name, stem] : std::initializer_list<std::pair<const char*, const char*>>{
             {"12.dbm", "12"}, {"a.b.dsc", "a"}, {"noext", ""}, {".dbm", ""}, {"", ""}}) {
        EXPECT_EQ(StripExt(name), stem) << name;
    }
    test::Workspace ws;
    const std::string path = ws.work + "block.txt";
    WriteLines(path, TextBlock{"one", "two", "three"}, 2);
    EXPECT_EQ(ws.read(path), "one\r\ntwo\r\n");
    TextBlock block{"stale", "stale", "stale"};
    ReadLines(path, block, 4);
    EXPECT_EQ(block, (TextBlock{"one", "two"}));
    EXPECT_THROW(ReadLines(path, block, 11), RangeError);
    EXPECT_THROW(ReadLines(ws.work + "missing", block, 1), InOutError);
}

class DatabaseEditorTest : public ObjectToolsTest {
protected:
    TForm14* w = Form14;

    // A database folder holding "DbDesc.dbm" with the given count line, opened in the window.
    std::string openDatabase(const std::string& countLine, const std::string& name = "db")
    {
        const std::string folder = ws.root + name + "/";
        std::filesystem::create_directories(folder);
        ws.write(folder + "DbDesc.dbm", "Films\r\n" + countLine + "\r\n");
        ws.ui.answerDialog(folder + "DbDesc.dbm");
        choose(w, "Open2");
        return folder;
    }
    void addRecord(const std::string& record, const std::string& description)
    {
        setText(w->memCont, record);
        setText(w->MemDesc, description);
        choose(w, "Add1");
    }
};

// ---- files ---------------------------------------------------------------------------------

TEST_F(DatabaseEditorTest, OpenDatabaseTakesTheCountAndOnlyAFileNamedDbDescDbm)
{
    for (const auto& [line, count] : {std::pair{"3", 3}, std::pair{"", 0}, std::pair{"three", 0}}) {
        const std::string folder = openDatabase(line);
        EXPECT_EQ(DbState.recCount, count) << line;
        EXPECT_EQ(text(w->edNum), std::to_string(count));
        EXPECT_EQ(DbState.dbDir, ws.root + "db");
        EXPECT_EQ(DbState.dbDesc, "Films");
        EXPECT_EQ(text(w->MemDesc), "Films\n" + std::string(line));
    }
    EXPECT_EQ(ws.ui.shown().front().text, cp1251("dbm файлы (*.dbm)|*DBM|Все файлы (*.*)|*.*"));

    DbState = Tdbcont{};
    ws.write(ws.root + "dbdesc.dbm", "Other\r\n9\r\n");
    ws.write(ws.root + "DbDesc.txt", "Other\r\n9\r\n");
    for (const char* name : {"dbdesc.dbm", "DbDesc.txt"}) {
        ws.ui.answerDialog(ws.root + name);
        choose(w, "Open2");
        EXPECT_TRUE(DbState.dbDir.empty()) << name;
    }
}

TEST_F(DatabaseEditorTest, NewDatabaseMakesAFolderThatOpensAtOnce)
{
    ws.ui.answerDialog(ws.root + "films");
    choose(w, "New1");
    EXPECT_TRUE(ws.ui.errors().empty());
    EXPECT_EQ(ws.read(ws.root + "films/DbDesc.txt"), "DataBase desciption\r\n0\r\n");
    EXPECT_EQ(ws.read(ws.root + "films/DbDesc.dbm"), "DataBase desciption\r\n0\r\n");
    EXPECT_TRUE(DbState.dbDir.empty());

    ws.ui.answerDialog(ws.root + "films/DbDesc.dbm");
    choose(w, "Open2");
    EXPECT_EQ(DbState.dbDir, ws.root + "films");
    addRecord("first", "about it");
    EXPECT_EQ(ws.read(ws.root + "films/1.dbm"), "first\r\n");

    ws.ui.answerDialog(ws.root + "films");
    choose(w, "New1");
    ws.ui.answerDialog(ws.root + "films/1.dbm");  // a file's name: said so, not "I/O error 17"
    choose(w, "New1");
    EXPECT_EQ(ws.ui.errors(), (Strings{"Unable to create directory.", "Unable to create directory: a file named " +
                                                                         ws.root + "films/1.dbm exists."}));
    EXPECT_EQ(ws.read(ws.root + "films/DbDesc.dbm"), "DataBase desciption\r\n1\r\n");
}

// Add rewrites only the count line of "DbDesc.dbm", and past the largest number it refuses.
TEST_F(DatabaseEditorTest, AddChangesOnlyTheCountAndStopsAtTheLargestNumber)
{
    const std::string db = openDatabase("3");
    ws.write(db + "DbDesc.dbm", "Films\r\n3\r\nkept\r\n");
    addRecord("four", "about four");
    EXPECT_EQ(ws.read(db + "DbDesc.dbm"), "Films\r\n4\r\nkept\r\n");
    openDatabase("2147483647");
    addRecord("x", "y");
    EXPECT_EQ(ws.ui.errors(), Strings{"Integer overflow."});
    EXPECT_EQ(DbState.recCount, 2147483647);
    EXPECT_FALSE(ws.exists(db + "-2147483648.dbm"));
}

// Reopening after two Adds goes on with the numbering, and a number whose record or
// description is taken is skipped: no record is ever overwritten.
TEST_F(DatabaseEditorTest, AddNeverOverwritesARecord)
{
    addRecord("lost", "lost");
    EXPECT_EQ(ws.ui.messages(), Strings{"Database is not opened!"});

    const std::string db = openDatabase("3");
    ws.write(db + "4.dbm", "record 4\r\n");
    ws.write(db + "5.dsc", "description 5\r\n");
    addRecord("six", "about six");
    addRecord("seven", "about seven");
    EXPECT_EQ(ws.read(db + "6.dbm"), "six\r\n");
    EXPECT_EQ(ws.read(db + "6.dsc"), "about six\r\n");
    EXPECT_EQ(ws.read(db + "DbDesc.dbm"), "Films\r\n7\r\n");
    openDatabase("7");
    EXPECT_EQ(DbState.recCount, 7);
    std::filesystem::remove(db + "DbDesc.dbm");
    ws.write(db + "DbDesc.dbm", "Films\r\n3\r\n");
    openDatabase("3");
    addRecord("eight", "about eight");
    EXPECT_EQ(ws.read(db + "4.dbm"), "record 4\r\n");
    EXPECT_EQ(ws.read(db + "5.dsc"), "description 5\r\n");
    EXPECT_EQ(ws.read(db + "7.dbm"), "seven\r\n");
    EXPECT_EQ(ws.read(db + "8.dbm"), "eight\r\n");
    EXPECT_EQ(text(w->edNum), "3");
    EXPECT_EQ(ws.ui.messages().size(), 1u);
}

TEST_F(DatabaseEditorTest, AddIntoAReadOnlyFolderFailsClearlyAndLosesNothing)
{
    const std::string db = openDatabase("3");
    if (!ws.makeReadOnly(ws.root + "db"))
        GTEST_SKIP() << "folders cannot be made read-only here";
    addRecord("kept text", "kept description");
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_NE(ws.ui.errors()[0].find("Cannot create file \"" + db + "4.dbm\""), std::string::npos);
    EXPECT_FALSE(ws.exists(db + "4.dbm"));
    EXPECT_EQ(DbState.recCount, 3);
    EXPECT_EQ(text(w->memCont), "kept text");
    EXPECT_EQ(ws.read(db + "DbDesc.dbm"), "Films\r\n3\r\n");
}

// A disk of its own that fills up: the record that does not fit is taken back whole, the
// texts stay in the window, and the next Add after room was made writes it.
TEST_F(DatabaseEditorTest, AddOnAFullDiskFailsClearlyAndLosesNothing)
{
    const std::string disk = ws.root + "disk";
    std::filesystem::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no small disk can be mounted here";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount(path.c_str()); }
    } unmount{disk};
    const std::string db = openDatabase("0", "disk/db");
    ws.write(disk + "/filler", std::string(200 * 1024, 'f'));
    const std::string big(80 * 1024, 'r');
    addRecord("small", big);
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_NE(ws.ui.errors()[0].find("1.dsc"), std::string::npos);
    EXPECT_FALSE(ws.exists(db + "1.dbm"));
    EXPECT_FALSE(ws.exists(db + "1.dsc"));
    EXPECT_EQ(DbState.recCount, 0);
    EXPECT_EQ(ws.read(db + "DbDesc.dbm"), "Films\r\n0\r\n");
    EXPECT_EQ(text(w->MemDesc), big);

    std::filesystem::remove(disk + "/filler");
    choose(w, "Add1");
    EXPECT_EQ(ws.read(db + "1.dsc"), big + "\r\n");
    EXPECT_EQ(ws.read(db + "DbDesc.dbm"), "Films\r\n1\r\n");
}

// A record opens whole, with the description of its own stem beside it (none reads as empty),
// and Save writes both back where they came from.
TEST_F(DatabaseEditorTest, RecordsOpenAndSaveTheRecordAndTheDescriptionBesideIt)
{
    choose(w, "Open3");
    EXPECT_EQ(ws.ui.shown(), (std::vector<ScriptedUi::Shown>{{ScriptedUi::Shown::Message, "Database is not opened!"}}));
    choose(w, "Save3");
    EXPECT_EQ(ws.ui.messages().back(), "No record is open!");

    const std::string db = openDatabase("12", "my.db");  // a dot in the folder's name changes nothing
    ws.write(db + "12.dbm", "record 12\r\n");
    ws.write(db + "12.dsc", "description 12\r\n");
    ws.write(db + "012.dbm", "record 012\r\n");
    ws.write(ws.root + "12.dbm", "outside\r\n");
    struct Case {
        std::string record, shown, description, descriptionFile;
    } cases[] = {
        {db + "12.dbm", "record 12", "description 12", db + "12.dsc"},
        {db + "012.dbm", "record 012", "", db + "012.dsc"},
        {ws.root + "12.dbm", "outside", "", ws.root + "12.dsc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        ws.ui.answerDialog(c.record);
        choose(w, "Open3");
        EXPECT_EQ(text(w->memCont), c.shown);
        EXPECT_EQ(text(w->MemDesc), c.description);
        EXPECT_EQ(DbState.recFile, c.record);
        setText(w->memCont, "new " + c.shown);
        setText(w->MemDesc, "about " + c.shown);
        choose(w, "Save3");
        EXPECT_EQ(ws.read(c.record), "new " + c.shown + "\r\n");
        EXPECT_EQ(ws.read(c.descriptionFile), "about " + c.shown + "\r\n");
    }
    // The shared dialog keeps the filter Open database gave it.
    EXPECT_EQ(ws.ui.shown().back().text, cp1251("dbm файлы (*.dbm)|*DBM|Все файлы (*.*)|*.*"));

    std::filesystem::create_directory(db + "7.dbm");  // cannot be read: the open changes nothing
    for (const char* name : {"abc.dbm", ".dbm", "12", "7.dbm"}) {
        ws.ui.answerDialog(db + name);
        choose(w, "Open3");
        EXPECT_EQ(DbState.recFile, ws.root + "12.dbm") << name;
        EXPECT_EQ(text(w->memCont), "new outside") << name;
    }
    EXPECT_EQ(ws.ui.errors().size(), 1u);
}

TEST_F(DatabaseEditorTest, DosWinClearTextViewerAndTableEditor)
{
    setText(w->memCont, std::string("\x8C\xA8\xE0 \xF0\xF1 abc"));
    click(w, "Button1");
    EXPECT_EQ(text(w->memCont), cp1251("Мир Ёё abc"));
    click(w, "bbClear");
    EXPECT_EQ(text(w->memCont), "");

    // The editor is modal; the text viewer it shows belongs to it and so takes input.
    ws.write(ws.root + "notes.txt", "note\r\n");
    ws.ui.answerDialog(ws.root + "notes.txt");
    ws.script("goal *\ncode 1\n");
    QTimer::singleShot(0, w, [&] {
        choose(w, "Open4");
        EXPECT_TRUE(Form16->isVisible());
        EXPECT_EQ(text(Form16->memtxt), "note");
        EXPECT_EQ(QApplication::activeModalWidget(), w);
        EXPECT_EQ(Form16->windowHandle()->transientParent(), w->windowHandle());
        choose(w, "Close4");
        EXPECT_FALSE(Form16->isVisible());
        closeSoon(Form17);
        choose(w, "EditOr1");
        w->Close();
    });
    w->ShowModal();
    EXPECT_FALSE(w->isVisible());
}

// ---- the engine's objects ------------------------------------------------------------------

TEST_F(DatabaseEditorTest, ShowingListsTheObjectsAndLeavesTheCursorAtTheLastOne)
{
    objectList(listOf(3, 10) + "13\r\nname 13\r\n", "4",
               "goal opt(1,2,3,[12],showob)\nfile cgo.ari object 12\n"
               "goal opt(1,2,3,[comm,for,object(12)],findob).\ncode 1\n");
    context.CurrentKb = std::string("Films");
    w->Show();
    EXPECT_EQ(text(w->edProj), "Films");
    EXPECT_EQ(text(w->edNum), "4");
    EXPECT_EQ(text(w->memCont), "10\nname 10\ntext 10\n11\nname 11\ntext 11\n12\nname 12\ntext 12\n13\nname 13\n");
    EXPECT_EQ(context.ObjectCount, 4);
    EXPECT_EQ(context.ObjectCursor, 4);
    click(w, "bbNext");
    EXPECT_EQ(goals().size(), 1u);
    setText(w->MemDesc, "stale");
    click(w, "bbPrev");
    EXPECT_EQ(context.ObjectCursor, 3);
    EXPECT_EQ(text(w->memCont), "object 12");
    EXPECT_EQ(text(w->edNum), "12");
    EXPECT_EQ(text(w->MemDesc), "");
    EXPECT_TRUE(ws.ui.shown().empty());
    w->hide();
}

TEST_F(DatabaseEditorTest, ABadListEndsTheLoadWithTheLinesReadBeforeIt)
{
    struct Case {
        const char* what;
        std::string list;
        std::string value;
        std::string error;
        std::string numberField;
        int entries;
        std::string shown;  // the start of the record area
    };
    const Case cases[] = {
        {"empty line begins a group", "1\r\na\r\nb\r\n\r\nc\r\n", "2", "'' is not a valid integer value.", "old", 1,
         "1\na\nb\n\nc\n"},
        {"value not a number", listOf(2), "2x", "'2x' is not a valid integer value.", "2x", 2, "1\nname 1\ntext 1\n2\n"},
        {"10,001 objects", listOf(10001), "10001", "Range check error.", "old", 10000, "1\nname 1\ntext 1\n2\n"},
        {"one 10 MB line", "1\r\na\r\nb\r\n2\r\n" + std::string(10 << 20, 'x') + "\r\nend\r\n", "2",
         "Line too long to show (over 65536 characters) - " + ws.work + "cgo.ari.", "old", 1, "1\na\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ws.ui.clear();
        objectList(c.list, c.value);
        setText(w->edNum, "old");
        w->Show();
        EXPECT_EQ(ws.ui.errors(), Strings{c.error});
        EXPECT_EQ(text(w->edNum), c.numberField);
        EXPECT_EQ(context.ObjectCount, 0);
        EXPECT_EQ(context.ObjectCursor, c.entries);
        EXPECT_EQ(text(w->memCont).substr(0, c.shown.size()), c.shown);
        w->hide();
    }
}

TEST_F(DatabaseEditorTest, CreateDescribesOnlyAnObjectTheEngineCreated)
{
    ws.script("goal *\nvalue 6\n");
    setText(w->memCont, "[film,'Зеркало']");
    setText(w->MemDesc, cp1251("it's Тарковский\nin colour\n\nnot this"));
    click(w, "bbCreate");
    EXPECT_EQ(goals(), Strings(2, "opt(1,1,1,1,createob)."));
    EXPECT_EQ(text(w->edNum), "6");
    EXPECT_EQ(ws.read(ws.work + "cgl.ari"), cp1251("[comm,for,object(6),val,'[it''s Тарковский][in colour]'].\r\n"));

    struct Case {
        const char* what;
        const char* record;
        const char* description;
        const char* script;
        std::size_t goalsSent;
    };
    const Case cases[] = {
        {"unbalanced brackets", "[film,[a]", "described", "goal *\nvalue 7\n", 0},
        {"engine refused", "[film]", "described", "goal *\ncode 1\nvalue 7\n", 1},
        {"empty first description line", "[film]", "\nsecond", "goal *\nvalue 7\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(ws.work + "standin.log");
        ws.write(ws.work + "cgl.ari", "before");
        ws.script(c.script);
        setText(w->memCont, c.record);
        setText(w->MemDesc, c.description);
        click(w, "bbCreate");
        EXPECT_EQ(ws.exists(ws.work + "standin.log") ? goals().size() : 0u, c.goalsSent);
        EXPECT_EQ(ws.read(ws.work + "cgl.ari").find("comm,for"), std::string::npos);
    }
    EXPECT_EQ(text(w->edNum), "7");
}

TEST_F(DatabaseEditorTest, FindShowsTheFoundObjectWithItsDescription)
{
    for (const char* file : {"Kb1.idb"})
        std::filesystem::copy_file(std::string(TARNIX_DEMO_DIR) + file, ws.work + file);
    setText(w->edFind, "zzz");
    setText(w->edNum, "5");
    setText(w->memCont, "kept");
    click(w, "bbFind");
    EXPECT_EQ(ws.ui.messages().size(), 1u);
    EXPECT_EQ(text(w->memCont), "kept");
    EXPECT_EQ(text(w->edNum), "5");

    ws.ui.clear();
    setText(w->edFind, cp1251("Гайдай"));
    click(w, "bbFind");
    EXPECT_EQ(text(w->edNum), "1");
    EXPECT_NE(text(w->memCont).find(cp1251("Иван Васильевич")), std::string::npos);
    EXPECT_NE(text(w->MemDesc).find("comm,for,object(1)"), std::string::npos);
    EXPECT_EQ(goals()[1], cp1251("opt(1,2,3,Гайдай,findob)"));
    EXPECT_EQ(goals()[3], "opt(1,2,3,[comm,for,object(1)],findob).");
    EXPECT_TRUE(ws.ui.shown().empty());

    setText(w->edFind, "");
    click(w, "bbFind");
    setText(w->edNum, "");
    choose(w, "Retract1");
    choose(w, "Inheritance1");
    EXPECT_EQ(goals().back(), "opt(1,2,3,4,inheritance)");
    EXPECT_EQ(goals()[goals().size() - 2], "opt(1,2,3,,retract)");
}

}  // namespace
}  // namespace tarnix
