#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "main_fixture.h"
#include "user_settings.h"

namespace tarnix {
namespace {

using test::MainWindowTest;

TEST_F(MainWindowTest, WindowHasItsFieldsSheetsAndMenu)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("         Tarnix[*]"));  // "[*]": "*" while modified
    EXPECT_EQ(w->size(), QSize(984, 689));
    for (const char* name : {"edProj", "edTask", "edKb", "edDepth", "edLength"}) {
        auto* label = w->findChild<QLabel*>(QStringLiteral("lb") + QString::fromLatin1(name + 2));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->buddy(), w->findChild<QLineEdit*>(QString::fromLatin1(name)));
        EXPECT_TRUE(label->buddy()->property("text").toString().isEmpty());
    }
    const QStringList sheets{"Компиляция", "Выполнение", "Задача", "БЗ", "БД", "Трасса", "ДЛВ", "Текст"};
    ASSERT_EQ(w->PageControl1->count(), sheets.size());
    for (int i = 0; i < sheets.size(); ++i)
        EXPECT_EQ(w->PageControl1->tabText(i), sheets[i]);
    for (const char* area : {"mmTaskText", "mmRuleText", "mmText"})
        EXPECT_NE(w->findChild<QPlainTextEdit*>(QString::fromLatin1(area)), nullptr) << area;
    for (const char* area : {"mmCompL", "mmCompR", "mmTask", "mmTree", "mmPresdb", "mmTrace", "mmEsExp"})
        EXPECT_NE(w->findChild<OutputView*>(QString::fromLatin1(area)), nullptr) << area;

    QStringList menus;
    for (QAction* a : w->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&Проект", "&Задача", "&БЗ", "&Текст", "&Справка"}));  // with Alt mnemonics
    QStringList project;
    for (QAction* a : w->menuBar()->actions()[0]->menu()->actions())
        project << a->text();
    EXPECT_EQ(project, (QStringList{"Открыть проект", "Недавние проекты", "Компиляция БЗ", "Компиляция проекта", "Новый проект",
                                    "Выполнить", "Выход"}));
    EXPECT_EQ(w->findChild<QAction*>("SaveAs2")->text(), QStringLiteral("Сохранить как"));
    EXPECT_EQ(w->findChild<QAction*>("About1")->text(), QStringLiteral("О программе"));
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsUsesTheDefaults)
{
    std::remove((ws.home + "Ordo.ini").c_str());
    const std::string realHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", ws.root.c_str(), 1);
    w->FormActivate();
    ::setenv("HOME", realHome.c_str(), 1);
    EXPECT_EQ(context.WorkDir, ws.root + "zvod/Tessel/Ordo/");
    EXPECT_EQ(text(w->edTask), "task2");
    EXPECT_EQ(text(w->edKb), ws.root + "zvod/Tessel/Ordo/Kb1");
    EXPECT_FALSE(ws.exists(ws.home + "Ordo.ini"));  // never created at start
}

TEST_F(MainWindowTest, StartInAFolderTheCodePageCannotNameSaysSoNamingIt)
{
    const std::string unnamable = ws.root + "\xF0\x9F\x93\x81 \xE7\xA8\x8B\xE5\xBA\x8F/";  // "📁 程序", UTF-8
    std::filesystem::create_directory(unnamable);
    std::filesystem::copy_file(ws.home + "Ordo.ini", unnamable + "Ordo.ini");
    platform::overrideProgramDir(unnamable);
    pressKeyOnAboutBox();
    StartWorkbench();
    Form12->hide();
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    const std::string error = ws.ui.errors()[0];
    EXPECT_NE(error.find("\"" + unnamable + "\""), std::string::npos) << error;
    EXPECT_NE(error.find("Ordo.ini"), std::string::npos) << error;
}

TEST_F(MainWindowTest, RunParametersWinOverTheSettingsAndShortFilesEmptyTheFields)
{
    ws.write(ws.work + "espar.txt", "espar\r\nmy.rul\r\nt9.tsk\r\ntriproc\r\n1\r\n5\r\n100\r\n");
    w->FormActivate();
    EXPECT_EQ(text(w->edKb), "my.rul");
    EXPECT_EQ(text(w->edTask), "t9.tsk");
    EXPECT_EQ(text(w->edDepth), "5");
    EXPECT_EQ(text(w->edLength), "100");
    EXPECT_EQ(text(w->edProj), "");

    ws.write(ws.work + "espar.txt", "espar\r\nk.rul\r\n");
    w->FormActivate();
    EXPECT_EQ(text(w->edKb), "k.rul");
    EXPECT_EQ(text(w->edTask), "");
    EXPECT_EQ(text(w->edDepth), "");
}

TEST_F(MainWindowTest, ActivationCleansTempFilesAndSkipsWhatItCannotDelete)
{
    ws.write(ws.work + "a.tmp", "1");
    ws.write(ws.work + "b.tmp", "2");
    std::filesystem::create_directory(ws.work + "c.tmp");
    context.TextFilePath = "x.txt";
    w->FormActivate();
    EXPECT_FALSE(ws.exists(ws.work + "a.tmp"));
    EXPECT_FALSE(ws.exists(ws.work + "b.tmp"));
    EXPECT_TRUE(ws.exists(ws.work + "c.tmp"));
    EXPECT_EQ(context.TextFilePath, "");
}

TEST_F(MainWindowTest, AboutBoxBringsTypedFieldsBackFromTheFiles)
{
    ws.write(ws.work + "espar.txt", "espar\r\nk.rul\r\nt.tsk\r\ntriproc\r\n1\r\n6\r\n100\r\n");
    w->FormActivate();
    w->edDepth->setText("99");
    pressKeyOnAboutBox();
    choose("About1");
    EXPECT_EQ(text(w->edDepth), "6");
    EXPECT_FALSE(AboutBox->isVisible());
}

TEST_F(MainWindowTest, OpenProjectTakesTheFolderAndKeepsItAfterAnActivation)
{
    const std::string other = ws.root + "other/";
    std::filesystem::create_directory(other);
    ws.ui.answerDialog(other + "p.tnx");
    choose("OpenProject1");
    EXPECT_EQ(text(w->edProj), other + "p.tnx");
    EXPECT_EQ(fromQt(w->StatusPanel1->text()), other);
    EXPECT_EQ(context.WorkDir, other);
    ASSERT_EQ(ws.ui.shown().size(), 1u);
    EXPECT_EQ(ws.ui.shown()[0].text, cp1251("tnx файлы (*.tnx)|*TNX|Все файлы (*.*)|*.*"));
    pressKeyOnAboutBox();
    choose("About1");
    EXPECT_EQ(context.WorkDir, other);

    ws.ui.answerDialog(std::nullopt);
    choose("OpenProject1");
    EXPECT_EQ(text(w->edProj), other + "p.tnx");
}

// The projects opened last come back in the menu, latest first, eight at most, each opening as
// the dialog's choice does; one deleted since says so and leaves the menu.
TEST_F(MainWindowTest, RecentProjectsOpenAgainFromTheMenu)
{
    const auto menuPaths = [this] {
        emit w->RecentProjects1->aboutToShow();
        QStringList paths;
        for (QAction* item : w->RecentProjects1->actions())
            paths << item->text().section(QLatin1Char(' '), 1);
        return paths;
    };
    UserSettings().remove(QStringLiteral("recentProjects"));
    EXPECT_TRUE(menuPaths().isEmpty());
    EXPECT_FALSE(w->RecentProjects1->isEnabled());
    QStringList opened;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "a", "i"}) {
        const std::string folder = ws.root + name + "/";
        std::filesystem::create_directories(folder);
        ws.write(folder + "p.tnx", "");
        ws.ui.answerDialog(folder + "p.tnx");
        choose("OpenProject1");
        opened.removeAll(toQt(folder + "p.tnx"));
        opened.prepend(toQt(folder + "p.tnx"));
    }
    EXPECT_TRUE(w->RecentProjects1->isEnabled());
    EXPECT_EQ(menuPaths(), opened.mid(0, 8));  // "b" fell off: "a" was opened again

    choose("RecentProject3");  // h
    EXPECT_EQ(context.WorkDir, ws.root + "h/");
    EXPECT_EQ(text(w->edProj), ws.root + "h/p.tnx");
    EXPECT_EQ(menuPaths().first(), toQt(ws.root + "h/p.tnx"));

    std::filesystem::remove(ws.root + "c/p.tnx");
    const QStringList before = menuPaths();
    choose(("RecentProject" + std::to_string(before.indexOf(toQt(ws.root + "c/p.tnx")) + 1)).c_str());
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot open file \"" + ws.root + "c/p.tnx\".", 0), 0u);
    EXPECT_EQ(context.WorkDir, ws.root + "h/");
    EXPECT_EQ(menuPaths().size(), 7);
}

// "tarnix PROJECT-FOLDER": a folder opens with its one project file, or as the folder itself.
TEST_F(MainWindowTest, ProjectNamedOnTheCommandLineOpensAsTheProject)
{
    const std::string one = ws.root + "one/", none = ws.root + "none/";
    std::filesystem::create_directories(one);
    std::filesystem::create_directories(none);
    ws.write(one + "p.tnx", "");
    const struct {
        std::string place, project, folder;
    } cases[] = {
        {ws.root + "one", one + "p.tnx", one},
        {one + "p.tnx", one + "p.tnx", one},
        {ws.root + "none", none, none},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(dispatch([&] { w->openProjectAt(c.place); })) << c.place;
        EXPECT_EQ(text(w->edProj), c.project);
        EXPECT_EQ(context.WorkDir, c.folder);
    }
    EXPECT_FALSE(dispatch([&] { w->openProjectAt(ws.root + "absent"); }));
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot open file \"" + ws.root + "absent\".", 0), 0u);
    EXPECT_EQ(context.WorkDir, none);
}

TEST_F(MainWindowTest, OpenProjectReportsAnUnwritableSettingsFile)
{
    if (!ws.makeReadOnly(ws.home + "Ordo.ini"))
        GTEST_SKIP() << "cannot make a file read-only here";
    context.WorkDir = ws.work;
    ws.ui.answerDialog(ws.root + "p.tnx");
    choose("OpenProject1");
    EXPECT_EQ(ws.ui.errors(), std::vector<std::string>{"Unable to write to " + ws.home + "Ordo.ini."});
    EXPECT_EQ(text(w->edProj), ws.root + "p.tnx");
    EXPECT_EQ(context.WorkDir, ws.work);
}

TEST_F(MainWindowTest, NewProjectWritesOneRecordUnderTheNamePlusTnx)
{
    ws.ui.answerDialog(ws.work + "p1");
    choose("NewProject1");
    const std::string record = ws.read(ws.work + "p1.tnx");
    ASSERT_EQ(record.size(), 605u);
    EXPECT_EQ(static_cast<std::size_t>(record[0]), (ws.work + "p1").size());
    EXPECT_EQ(record.substr(1, record[0]), ws.work + "p1");
    EXPECT_EQ(text(w->edProj), ws.work + "p1");

    ws.ui.answerDialog(ws.work + "p2.tnx");
    choose("NewProject1");
    EXPECT_TRUE(ws.exists(ws.work + "p2.tnx.tnx"));

    ws.write(ws.work + "taken", "mine");
    ws.ui.answerDialog(ws.work + "taken");
    choose("NewProject1");
    EXPECT_FALSE(ws.exists(ws.work + "taken.tnx"));
    EXPECT_EQ(text(w->edProj), ws.work + "p2.tnx");
    EXPECT_TRUE(ws.ui.errors().empty());
}

TEST_F(MainWindowTest, ExitWritesTheCurrentTaskNotWhatWasTyped)
{
    ws.write(ws.home + "Ordo.ini", "[Files]\r\nkbpath=" + ws.work + "\r\ncurrentTask=old.tsk\r\n");
    w->FormActivate();
    context.CurrentTask = "t7.tsk";
    w->edTask->setText("typed.tsk");
    pressKeyOnAboutBox();
    w->Show();
    choose("Exit1");
    EXPECT_NE(ws.read(ws.home + "Ordo.ini").find("currentTask=t7.tsk\r\n"), std::string::npos);
    EXPECT_FALSE(w->isVisible());
}

// The close box and "Выход" both end the program while another of its windows stays open.
TEST_F(MainWindowTest, ClosingTheMainWindowEndsTheProgramWhileAnotherWindowIsOpen)
{
    Form tool("ToolWindow");
    QTimer runsOn;  // ends a program that would otherwise go on with the tool window
    runsOn.setSingleShot(true);
    QObject::connect(&runsOn, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    const std::function<void()> closings[] = {[&] { w->close(); }, [&] { choose("Exit1"); }};
    for (const auto& closeMainWindow : closings) {
        w->show();
        tool.show();
        QTimer::singleShot(0, w, closeMainWindow);
        runsOn.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(w->isVisible());
        EXPECT_TRUE(tool.isVisible());
    }
}

TEST_F(MainWindowTest, HelpAsksTheDesktopToOpenTheHelpFile)
{
    w->FormActivate();
    choose("Help2");
    ASSERT_EQ(ws.ui.shown().size(), 1u);
    EXPECT_EQ(ws.ui.shown()[0].kind, ScriptedUi::Shown::Document);
    EXPECT_EQ(ws.ui.shown()[0].text, ws.home + "tarnixhelp.chm");
}

TEST_F(MainWindowTest, BadProjectFoldersDoNotStopTheActivation)
{
    ws.write(ws.home + "Ordo.ini", "[Files]\r\nkbpath=" + ws.root + "nowhere\r\n");
    EXPECT_NO_THROW(w->FormActivate());
    EXPECT_EQ(context.WorkDir, ws.root + "nowhere/");

    ws.write(ws.home + "Ordo.ini", "[Files]\r\nkbpath=" + ws.work + "\r\n");
    ws.write(ws.work + "x.tmp", "");
    ws.write(ws.work + "espar.txt", "espar\r\nk\r\nt\r\n");
    if (!ws.makeReadOnly(ws.work))
        GTEST_SKIP() << "cannot make a folder read-only here";
    EXPECT_NO_THROW(w->FormActivate());
    EXPECT_EQ(text(w->edTask), "t");
}

}  // namespace
}  // namespace tarnix
