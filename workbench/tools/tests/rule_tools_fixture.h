// The rule tools over a throw-away home and project folder, with the scripted Ui and the
// stand-in engine answering every goal with success and nothing else, so the tests lay out the
// engine's files themselves.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit8.h"
#include "qt_text.h"
#include "tests/workspace.h"
#include "tool_windows.h"

namespace tarnix::test {

class RuleToolsTest : public ::testing::Test {
protected:
    RuleToolsTest()
    {
        ws.installEngines();
        ws.script("goal *\ncode 0\n");
        context.CheckRuleFile = files::CheckRule;
        CreateToolWindows();
    }
    ~RuleToolsTest() override
    {
        DestroyToolWindows();
        for (const std::string& folder : mounts_)
            ::umount(folder.c_str());
    }

    static std::string text(const QLineEdit* edit) { return fromQt(edit->text()); }
    static std::string text(const QPlainTextEdit* area) { return fromQt(area->toPlainText()); }
    // The goals the engine received, oldest first.
    std::vector<std::string> goals() const
    {
        std::vector<std::string> lines;
        const std::string log = ws.engineLog();
        for (std::size_t start = 0, end; start < log.size(); start = end + 1) {
            end = log.find('\n', start);
            lines.push_back(log.substr(start, end - start));
        }
        return lines;
    }
    // One rule group of a rule-set file.
    static std::string rule(const std::string& number, const std::string& comment = "c")
    {
        return "ru\r\n" + number + "\r\n" + comment + "\r\nT\r\nP2 " + number + "\r\nP3\r\nP4\r\n";
    }
    // A rule-set file of rules numbered first..last.
    static std::string rules(int first, int last)
    {
        std::string file;
        for (int n = first; n <= last; ++n)
            file += rule(std::to_string(n), "rule " + std::to_string(n));
        return file;
    }
    // Reads rule set k from `file` and shows rule `slot` of it in the rule editor.
    void edit(int k, const std::string& file, int slot)
    {
        ws.write(RuleSetPath(k), file);
        ReadRuleSet(k, RuleSetPath(k));
        context.RuleSetNo = k;
        context.RuleCursor = slot;
        Form5->ShowOb();
    }
    // The numbers of the rules of a rule-set file as read back.
    std::vector<std::string> numbersIn(int k)
    {
        ReadRuleSet(k, RuleSetPath(k));
        std::vector<std::string> numbers;
        for (int i = 1; i <= context.RuleSets[k].count; ++i)
            numbers.push_back(context.RuleSets[k].entries[i].Number);
        return numbers;
    }
    // A small file system of 64 KiB at `folder` (unmounted at the end); false where that
    // cannot be done here.
    bool mountSmallDisk(const std::string& folder)
    {
        std::filesystem::create_directories(folder);
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            return false;
        mounts_.push_back(folder);
        return true;
    }

    Workspace ws;

private:
    std::vector<std::string> mounts_;
};

}  // namespace tarnix::test
