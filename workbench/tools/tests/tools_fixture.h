// The tool windows over a throw-away home and project folder, with the scripted Ui and the
// stand-in engine programs; optionally on a copy of the demo project.
#pragma once

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "output_view.h"
#include "Unit4.h"
#include "qt_text.h"
#include "tests/workspace.h"
#include "tool_windows.h"

namespace tarnix::test {

class ToolWindowsTest : public ::testing::Test {
protected:
    ToolWindowsTest()
    {
        ws.installEngines();
        context.CheckRuleFile = files::CheckRule;
        CreateToolWindows();
    }
    ~ToolWindowsTest() override { DestroyToolWindows(); }

    // With TARNIX_SCREENSHOT_DIR set, saves a picture of the window there as <name>.png.
    static void picture(QWidget* window, const char* name)
    {
        QCoreApplication::processEvents();
        if (const char* dir = std::getenv("TARNIX_SCREENSHOT_DIR"))
            window->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
    }
    static std::string text(QLineEdit* edit) { return fromQt(edit->text()); }
    static std::string text(QPlainTextEdit* area) { return fromQt(area->toPlainText()); }
    static std::string text(const OutputView* view) { return fromQt(view->toPlainText()); }

    Workspace ws;
};

}  // namespace tarnix::test
