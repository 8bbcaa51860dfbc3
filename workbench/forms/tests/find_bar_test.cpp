// Find and replace on a table of cases: letter case, direction, wrapping round, nothing found,
// read-only panes.
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "find_bar.h"
#include "output_view.h"

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

// In an output view: found and selected; in a large one the outcome comes from the background,
// and "not found" still reaches the status bar. Nothing is replaced there.
TEST(FindBar, SearchesOutputViews)
{
    QMainWindow main;
    auto* view = new OutputView;
    main.setCentralWidget(view);
    FindBar bar(&main, {view});
    main.show();
    view->showBytes("first\r\nRule two\r\n");
    bar.findText->setText(QStringLiteral("rule"));
    EXPECT_TRUE(bar.findNext());
    EXPECT_EQ(view->selectedText(), QStringLiteral("Rule"));
    bar.replaceText->setText(QStringLiteral("x"));
    EXPECT_FALSE(bar.replaceOne());
    EXPECT_EQ(view->text().bytes(), "first\r\nRule two\r\n");

    view->showBytes(std::string(8 << 20, '.'));
    QSignalSpy done(view, &OutputView::searchDone);
    EXPECT_FALSE(bar.findNext());
    ASSERT_TRUE(done.wait(5000));
    EXPECT_TRUE(main.statusBar()->currentMessage().startsWith(QString::fromUtf8("Не найдено")));
}

}  // namespace
}  // namespace tarnix
