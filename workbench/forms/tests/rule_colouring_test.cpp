// The parts of rule lines that get their own colour, and the bracket marks at the cursor.
#include <QTextBlock>
#include <gtest/gtest.h>

#include "code_pane.h"
#include "rule_colouring.h"

namespace tarnix {
namespace {

std::string parts(const QString& line)
{
    std::string out;
    for (const RulePart part : RuleParts(line))
        out += static_cast<char>(part);
    return out;
}

TEST(RuleColouring, PartsOfATableOfLines)
{
    const std::pair<const char*, const char*> cases[] = {
        {"rule(12, 'a%b', [x = 1]).", "wwwwbnn..qqqqq..b....nbb."},
        {"  [x2 = 'it''s'] % note", "..b.....qqqqqqqb.cccccc"},
        {"fact(\"q\") % 'not quoted'", "wwwwbqqqb.cccccccccccccc"},
        {"'open", "qqqqq"},
        {"x_1(3)", "wwwbnb"},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(parts(QString::fromUtf8(line)), expected) << line;
}

TEST(RuleColouring, BracketAtTheCursorIsMarkedWithItsMatchOrAsUnmatched)
{
    CodePane pane;
    pane.setRuleText();
    pane.setPlainText(QStringLiteral("rule(1, [a], [b]).\n(unclosed"));
    const auto marks = [&](int position) {
        QTextCursor cursor(pane.document());
        cursor.setPosition(position);
        pane.setTextCursor(cursor);
        std::vector<int> at;
        for (const auto& mark : pane.extraSelections())
            at.push_back(mark.cursor.selectionStart());
        return at;
    };
    EXPECT_EQ(marks(4), (std::vector<int>{4, 16}));   // before "(": it and its ")"
    EXPECT_EQ(marks(11), (std::vector<int>{10, 8}));  // after "]": it and its "["
    EXPECT_EQ(marks(2), std::vector<int>{});
    EXPECT_EQ(marks(19), std::vector<int>{19});  // an unmatched one, alone, in another colour
    marks(4);
    const QColor pair = pane.extraSelections()[0].format.background().color();
    marks(19);
    EXPECT_NE(pane.extraSelections()[0].format.background().color(), pair);
}

}  // namespace
}  // namespace tarnix
