// Find and replace on a table of cases: letter case, direction, wrapping round, nothing found,
// read-only panes.
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "find_bar.h"

namespace tarnix {
namespace {

struct Window {
    Window() : bar(new FindBar(&main, {pane}))
    {
        main.setCentralWidget(pane);
        main.show();
        pane->setPlainText(QStringLiteral("Rule rule\nRULE ru"));
    }
    QMainWindow main;
    QPlainTextEdit* pane = new QPlainTextEdit;
    FindBar* bar;
};

TEST(FindBar, FindsOnATableOfCases)
{
    struct Case {
        const char* text;
        bool matchCase, backwards;
        int from;                   // the cursor's position before
        std::vector<int> expected;  // where the match starts, step after step; -1: not found
    };
    const Case cases[] = {
        {"rule", false, false, 0, {0, 5, 10, 0}},  // case-blind, wrapping round the end
        {"rule", true, false, 0, {5, 5}},          // the only match, found again from itself
        {"rule", false, true, 17, {10, 5, 0, 10}}, // backwards, wrapping round the start
        {"RU", true, false, 11, {10, 10}},         // past the only match, round to it
        {"rules", false, false, 0, {-1}},
    };
    for (const Case& c : cases) {
        Window w;
        QTextCursor at(w.pane->document());
        at.setPosition(c.from);
        w.pane->setTextCursor(at);
        w.bar->findText->setText(QString::fromLatin1(c.text));
        w.bar->matchCase->setChecked(c.matchCase);
        for (const int start : c.expected) {
            const bool found = w.bar->findNext(c.backwards);
            EXPECT_EQ(found, start >= 0) << c.text;
            if (start >= 0)
                EXPECT_EQ(w.pane->textCursor().selectionStart(), start) << c.text;
            else
                EXPECT_TRUE(w.main.statusBar()->currentMessage().contains(QString::fromLatin1(c.text))) << c.text;
        }
    }
}

TEST(FindBar, ReplacesOneAllOrNoneInAReadOnlyPane)
{
    Window w;
    w.bar->findText->setText(QStringLiteral("rule"));
    w.bar->replaceText->setText(QStringLiteral("rule rule"));
    EXPECT_FALSE(w.bar->replaceOne());  // nothing selected yet: selects the first match
    EXPECT_TRUE(w.bar->replaceOne());
    EXPECT_EQ(w.pane->toPlainText(), QStringLiteral("rule rule rule\nRULE ru"));
    EXPECT_EQ(w.bar->replaceAll(), 4);  // a replacement holding the text is not replaced again
    EXPECT_EQ(w.pane->toPlainText(), QStringLiteral("rule rule rule rule rule rule\nrule rule ru"));
    w.pane->undo();
    EXPECT_EQ(w.pane->toPlainText(), QStringLiteral("rule rule rule\nRULE ru"));

    w.pane->setReadOnly(true);
    EXPECT_EQ(w.bar->replaceAll(), 0);
    EXPECT_EQ(w.pane->toPlainText(), QStringLiteral("rule rule rule\nRULE ru"));
}

}  // namespace
}  // namespace tarnix
