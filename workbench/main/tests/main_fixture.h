// Creates the program's windows over a throw-away home and project folder, with the scripted
// Ui and the stand-in engine programs.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "Unit12.h"
#include "output_view.h"
#include "Unit20.h"
#include "Unit4.h"
#include "code_pane.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "tests/workspace.h"
#include "tool_windows.h"
#include "program_windows.h"

namespace tarnix::test {

class MainWindowTest : public ::testing::Test {
protected:
    explicit MainWindowTest(const std::string& projectName = "work") : ws(projectName)
    {
        ws.installEngines();
        CreateWindows();
        w = Form12;
    }
    ~MainWindowTest() override
    {
        delete Form12;
        delete AboutBox;
        DestroyToolWindows();
        Form12 = nullptr;
        AboutBox = nullptr;
    }

    // Chooses a menu item the way a user does.
    void choose(const char* item)
    {
        auto* action = w->findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    // Closes the about box with a key as soon as it is shown.
    static void pressKeyOnAboutBox()
    {
        QCoreApplication::postEvent(AboutBox, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    }
    static std::string text(QLineEdit* edit) { return fromQt(edit->text()); }
    static std::string text(QPlainTextEdit* area) { return fromQt(area->toPlainText()); }
    static std::string text(const OutputView* view) { return fromQt(view->toPlainText()); }

    Workspace ws;
    TForm12* w = nullptr;
};

}  // namespace tarnix::test
