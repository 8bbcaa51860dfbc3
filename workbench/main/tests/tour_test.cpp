// A knowledge engineer's session on the demo project, start to end: open the project, compile,
// build, run, look at every sheet, edit and save the task. With TARNIX_SCREENSHOT_DIR set, a
// picture of the main window is saved after each step.
#include <QPixmap>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <filesystem>

#include "main_fixture.h"

namespace tarnix {
namespace {

class DemoTour : public test::MainWindowTest {
protected:
    DemoTour()
    {
        ws.installDemo();
        ws.write(ws.home + "Ordo.ini", "[Files]\r\nkbpath=" + ws.work + "\r\ncurrKb=Kb1\r\ncurrentTask=task2.tsk\r\n"
                                       "rusource=KbMovem1.rul\r\n");
        w->FormActivate();
        w->resize(984, 689);
        w->show();
    }
    ~DemoTour() override { w->hide(); }

    void picture(const char* name)
    {
        if (const char* dir = std::getenv("TARNIX_SCREENSHOT_DIR"))
            w->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
    }
    void expectNoMessages()
    {
        for (const auto& shown : ws.ui.shown())
            ADD_FAILURE() << shown.kind << ": " << platform::cp1251ToUtf8(shown.text);
        ws.ui.clear();
    }
    // Opens the project, compiles the knowledge base, builds the expert-system program and runs it.
    void compileBuildRun()
    {
        ws.ui.answerDialog(ws.work + "demo.tnx");
        choose("OpenProject1");
        EXPECT_EQ(context.WorkDir, ws.work);
        ws.ui.clear();

        choose("CompileKb1");
        expectNoMessages();
        EXPECT_NE(text(w->mmCompL).find("rule(1,"), std::string::npos);
        EXPECT_FALSE(text(w->mmCompR).empty());
        picture("tarnix-compile");

        choose("CompileProject1");
        EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"true"});
        ws.ui.clear();
        EXPECT_TRUE(ws.exists(ws.work + "vrexn.exe"));

        choose("Run1");
        expectNoMessages();
        w->PageControl1->setCurrentWidget(w->TabSheetRun);
        EXPECT_NE(text(w->mmTree).find(cp1251("Иван Васильевич")), std::string::npos);
        picture("tarnix-main");
    }
};

TEST_F(DemoTour, CompileBuildRunLookAndSave)
{
    compileBuildRun();

    for (QWidget* sheet : {w->Task, w->Rules, w->TabSheetPresdb, w->TabSheetTrace, w->TabSheetTree}) {
        w->PageControl1->setCurrentWidget(sheet);
        expectNoMessages();
    }
    EXPECT_FALSE(text(w->mmPresdb).empty());
    EXPECT_FALSE(text(w->mmTrace).empty());
    EXPECT_FALSE(text(w->mmEsExp).empty());
    picture("tarnix-tree");

    ws.ui.answerDialog(ws.work + "task2.tsk");
    choose("Open1");
    w->mmTaskText->appendPlainText(QStringLiteral("fact(возраст = взрослый)."));
    choose("Save1");
    EXPECT_TRUE(ws.ui.messages().empty());
    EXPECT_TRUE(ws.ui.errors().empty());
    EXPECT_NE(ws.read(ws.work + "task2.tsk").find(cp1251("fact(возраст = взрослый).\r\n")), std::string::npos);
}

// A compile error in the listing leads to its rule: the first one at once, any other by a double
// click or Enter on its line; the listing itself takes no typing, and Ctrl+W wraps it.
TEST_F(DemoTour, AnErrorInTheListingLeadsToItsRule)
{
    std::string source = ws.read(ws.work + "KbMovem1.rul");
    source.replace(source.find("rule(3,"), 7, "rule(x,");
    ws.write(ws.work + "KbMovem1.rul", source);
    choose("CompileKb1");
    ws.ui.clear();
    const QStringList listing = w->mmCompR->toPlainText().split(QLatin1Char('\n'));
    const int error = static_cast<int>(listing.indexOf(QRegularExpression(literal("^\\*\\*\\*.*строка 12:.*")))) + 1;
    ASSERT_GT(error, 0);
    EXPECT_EQ(w->mmCompR->highlightedLine(), error);
    EXPECT_EQ(w->mmCompL->highlightedLine(), 12);
    EXPECT_EQ(w->mmCompL->cursorPlace().first, 12);

    w->mmCompL->goToLine(1);
    const auto at = listing.indexOf(QRegularExpression(QStringLiteral("^ *12  rule\\(x,.*")));
    ASSERT_GE(at, 0);
    w->mmCompR->goToLine(static_cast<int>(at) + 1);  // on screen before it is clicked, whatever the pane's height
    const QRect place = w->mmCompR->placeRect(w->mmCompR->text().lineStart(static_cast<std::size_t>(at)));
    QTest::mouseDClick(w->mmCompR->viewport(), Qt::LeftButton, {}, place.center() + QPoint(20, 0));
    EXPECT_EQ(w->mmCompL->highlightedLine(), 12);
    w->mmCompL->goToLine(1);
    w->mmCompR->goToLine(error);
    QTest::keyClick(w->mmCompR, Qt::Key_Return);
    EXPECT_EQ(w->mmCompL->highlightedLine(), 12);

    const QString before = w->mmCompR->toPlainText();
    QTest::keyClicks(w->mmCompR, QStringLiteral("typed"));
    EXPECT_EQ(w->mmCompR->toPlainText(), before);
    auto* wrap = w->findChild<QAction*>("WrapLines1");
    EXPECT_EQ(wrap->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
    wrap->trigger();
    EXPECT_TRUE(w->mmCompR->wrapped());
    expectNoMessages();
}

#ifndef _WIN32
// The same with the Windows build of the engine programs, which the workbench starts through
// Wine; the program it builds is a Windows program too. The build names the Windows program
// in TARNIX_WINDOWS_STANDIN and runs this test in a Wine prefix of its own.
class DemoTourThroughWine : public DemoTour {
protected:
    void SetUp() override
    {
        if (std::string(TARNIX_WINDOWS_STANDIN).empty())
            GTEST_SKIP() << "no Windows build of the stand-in";
        for (const char* name : {"vrex.exe", "vrext.exe", "sh.exe"}) {
            std::filesystem::remove(ws.home + name);
            std::filesystem::copy_file(TARNIX_WINDOWS_STANDIN, ws.home + name);
        }
    }
};

TEST_F(DemoTourThroughWine, CompileBuildRun)
{
    compileBuildRun();
    EXPECT_EQ(ws.read(ws.work + "vrexn.exe").substr(0, 2), "MZ");
    const std::string compile = goals::CompileKb + "\n";
    EXPECT_EQ(ws.engineLog(), compile + compile + compile + goals::BuildProject + "\n" + goals::RunTask + "\n");
}
#endif

}  // namespace
}  // namespace tarnix
