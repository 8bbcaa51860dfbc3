// The rule tools with the stand-in engine answering every goal with success and nothing else,
// so the tests lay out the engine's files themselves.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>
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
#include "tools_fixture.h"

namespace tarnix::test {

class RuleToolsTest : public ToolWindowsTest {
protected:
    RuleToolsTest() { ws.script("goal *\ncode 0\n"); }
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
};

}  // namespace tarnix::test
