// The object tools over a throw-away home and project folder, with the scripted Ui and the
// stand-in engine: the windows are created afresh for every test.
#pragma once

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <filesystem>
#include <sstream>

#include "output_view.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit14.h"
#include "Unit4.h"
#include "qt_text.h"
#include "tests/workspace.h"
#include "tool_windows.h"

namespace tarnix::test {

class ObjectToolsTest : public ::testing::Test {
protected:
    ObjectToolsTest()
    {
        ws.installEngines();
        LoadProjectSettings();
        DbState = Tdbcont{};
        CreateToolWindows();
    }
    ~ObjectToolsTest() override { DestroyToolWindows(); }

    // The engine answers the object-list goal with `value` and writes `list` as the list file;
    // `moreScript` answers the other goals.
    void objectList(const std::string& list, const std::string& value, const std::string& moreScript = "")
    {
        ws.script("goal opt(1,2,3,4,oblist).\nvalue " + value + "\nfile cgo.ari " + escaped(list) + "\n" + moreScript);
    }
    // A file's content as a script line writes it.
    static std::string escaped(const std::string& bytes)
    {
        std::string out;
        out.reserve(bytes.size());
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b == '\\')
                out += "\\\\";
            else if (b < 0x20) {
                const char hex[] = "0123456789ABCDEF";
                out += "\\x";
                out += hex[b >> 4];
                out += hex[b & 15];
            } else
                out += c;
        }
        return out;
    }
    // A list file of n objects numbered from `first`: "<k>\r\nname k\r\ntext k\r\n".
    static std::string listOf(int n, int first = 1)
    {
        std::string list;
        for (int k = first; k < first + n; ++k)
            list += std::to_string(k) + "\r\nname " + std::to_string(k) + "\r\ntext " + std::to_string(k) + "\r\n";
        return list;
    }
    std::vector<std::string> goals() const
    {
        std::vector<std::string> lines;
        std::istringstream in(ws.engineLog());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    static void choose(QWidget* window, const char* item)
    {
        auto* action = window->findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    static void click(QWidget* window, const char* button)
    {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    // Closes `window` as soon as the event loop runs (a modal window returns at once).
    static void closeSoon(Form* window)
    {
        QTimer::singleShot(0, window, [window] { window->Close(); });
    }
    static std::string text(const QLineEdit* edit) { return fromQt(edit->text()); }
    static std::string text(const QPlainTextEdit* area) { return fromQt(area->toPlainText()); }
    static std::string text(const OutputView* view) { return fromQt(view->toPlainText()); }
    static void setText(QLineEdit* edit, const std::string& text) { edit->setText(toQt(text)); }
    static void setText(QPlainTextEdit* area, const std::string& text) { area->setPlainText(toQt(text)); }

    Workspace ws;
};

}  // namespace tarnix::test
