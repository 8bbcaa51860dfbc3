// tarnix-tools: the program started at the tools launcher.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "Unit1.h"
#include "main_fixture.h"

namespace tarnix {
namespace {

using ToolsStart = test::MainWindowTest;

TEST_F(ToolsStart, LauncherIsTheMainWindowAndEsShowsTheWorkbenchWithoutBlocking)
{
    StartLauncher();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_FALSE(Form12->isVisible());
    EXPECT_EQ(fromQt(Form1->edKb->text()), ws.work + "Kb1");  // the first activation has run

    pressKeyOnAboutBox();
    Form1->ES1->trigger();
    EXPECT_TRUE(Form12->isVisible());
    EXPECT_FALSE(Form12->isModal());
    EXPECT_EQ(text(Form12->edKb), ws.work + "Kb1");  // the main window's first activation too

    // Closing the workbench's window leaves the program running; closing the launcher ends it.
    bool ranOnAfterMainWindowClosed = false;
    QTimer runsOn;
    runsOn.setSingleShot(true);
    QObject::connect(&runsOn, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    QTimer::singleShot(0, Form12, [&] {
        Form12->close();
        QTimer::singleShot(0, Form1, [&] {
            ranOnAfterMainWindowClosed = true;
            Form1->Button6->click();
        });
    });
    runsOn.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(ranOnAfterMainWindowClosed);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(ws.ui.errors().empty());
}

}  // namespace
}  // namespace tarnix
