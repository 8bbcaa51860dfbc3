// The rule editor: stepping through a set, appending, changing, deleting and checking rules,
// with the set's file written and loaded after every change.
#include "rule_tools_fixture.h"

namespace tarnix {
namespace {

using test::RuleToolsTest;
using Strings = std::vector<std::string>;

TEST_F(RuleToolsTest, NextAndPrevWrapAroundTheSet)
{
    const struct {
        const char* name;
        int rulesInSet;
        int from;
        QPushButton* TForm5::*button;
        int cursor;       // afterwards
        const char* shown;  // edNum afterwards
        bool rangeError;
    } cases[] = {
        {"next on the last rule", 5, 5, &TForm5::bbNext, 1, "1", false},
        {"next", 5, 2, &TForm5::bbNext, 3, "3", false},
        {"prev on the first rule", 5, 1, &TForm5::bbPrtev, 5, "5", false},
        {"prev", 5, 3, &TForm5::bbPrtev, 2, "2", false},
        {"next on an empty set shows slot 1", 0, 1, &TForm5::bbNext, 1, "1", false},
        {"prev on an empty set: the cursor stays", 0, 1, &TForm5::bbPrtev, 1, "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edit(1, rules(1, 5), 1);  // slot 1 holds rule 1 also when the set is read empty below
        edit(1, rules(1, c.rulesInSet), c.from);
        ws.ui.clear();
        (Form5->*c.button)->click();
        EXPECT_EQ(context.RuleCursor, c.cursor);
        EXPECT_EQ(text(Form5->edNum), c.shown);
        EXPECT_EQ(ws.ui.errors(), c.rangeError ? Strings{"Range check error."} : Strings{});
    }
    EXPECT_FALSE(ws.exists(RuleSetPath(1) + ".~sav"));
    EXPECT_EQ(ws.engineLog(), "");  // stepping writes and sends nothing
}

TEST_F(RuleToolsTest, AddNumbersTheNewRuleAfterTheLastRuleNotTheSlot)
{
    edit(2, rules(1, 4) + rule("7", "seven"), 2);
    Form5->mmComm->setPlainText(QStringLiteral("новое правило"));
    Form5->edType->setText(QStringLiteral("F"));
    Form5->mmP4->setPlainText(QStringLiteral("result"));
    Form5->bbAdd->click();

    EXPECT_TRUE(ws.ui.errors().empty());
    EXPECT_EQ(context.RuleSets[2].count, 6);
    EXPECT_EQ(context.RuleCursor, 6);
    EXPECT_EQ(text(Form5->edNum), "6");  // the slot, as after every store
    EXPECT_EQ(text(Form5->edKbNm), "2");
    EXPECT_EQ(numbersIn(2), (Strings{"1", "2", "3", "4", "7", "8"}));
    const rcont& added = context.RuleSets[2].entries[6];
    EXPECT_EQ(added.Comment, cp1251("новое правило"));
    EXPECT_EQ(added.Type, "F");
    EXPECT_EQ(added.P4, "result");
    EXPECT_EQ(goals(), Strings{"opt(1,1,1,2,load)."});
}

TEST_F(RuleToolsTest, AddToAnEmptySetStopsWithTheRangeErrorAndChangesNothing)
{
    edit(3, "", 1);
    Form5->bbAdd->click();
    EXPECT_EQ(ws.ui.errors(), Strings{"Range check error."});
    EXPECT_EQ(context.RuleSets[3].count, 0);
    EXPECT_EQ(ws.read(RuleSetPath(3)), "");
    EXPECT_EQ(ws.engineLog(), "");

    edit(3, rule("x"), 1);  // a last number that is not a number
    ws.ui.clear();
    Form5->bbAdd->click();
    EXPECT_EQ(ws.ui.errors(), Strings{"'x' is not a valid integer value."});
    EXPECT_EQ(context.RuleSets[3].count, 1);
}

TEST_F(RuleToolsTest, DeleteLeavesTheRuleOutAndTheRulesBehindMoveUp)
{
    edit(1, rules(1, 5), 3);
    Form5->edType->setText(QStringLiteral("kept"));
    Form5->bbDelete->click();

    EXPECT_TRUE(text(Form5->mmComm).empty());
    EXPECT_TRUE(text(Form5->mmP2).empty());
    EXPECT_EQ(text(Form5->edNum), "3");
    EXPECT_EQ(text(Form5->edType), "kept");
    EXPECT_EQ(context.RuleSets[1].count, 5);  // the count stays until the set is read again
    EXPECT_EQ(goals(), Strings{"opt(1,1,1,1,load)."});
    EXPECT_EQ(numbersIn(1), (Strings{"1", "2", "4", "5"}));
    EXPECT_EQ(context.RuleSets[1].entries[3].Comment, "rule 4");
}

TEST_F(RuleToolsTest, UpdateStoresTheTextsButNotATypedNumber)
{
    edit(1, rules(1, 3), 2);
    Form5->edNum->setText(QStringLiteral("99"));
    Form5->mmP3->setPlainText(QStringLiteral("changed"));
    Form5->bbUpdate->click();

    EXPECT_EQ(text(Form5->edNum), "2");
    EXPECT_EQ(numbersIn(1), (Strings{"1", "2", "3"}));
    EXPECT_EQ(context.RuleSets[1].entries[2].P3, "changed");
    EXPECT_EQ(goals(), Strings{"opt(1,1,1,1,load)."});
}

TEST_F(RuleToolsTest, FieldsTypedWithLineBreaksAreStoredOnOneLine)
{
    edit(2, rules(1, 4), 2);
    Form5->mmComm->setPlainText(QStringLiteral("first\nsecond"));
    Form5->mmP2->setPlainText(QStringLiteral("a\u2028b\u2029c"));  // Shift+Enter and Enter
    Form5->mmP4->setPlainText(QStringLiteral("r\n"));
    Form5->bbUpdate->click();

    EXPECT_EQ(numbersIn(2), (Strings{"1", "2", "3", "4"}));
    const rcont& stored = context.RuleSets[2].entries[2];
    EXPECT_EQ(stored.Comment, "first second");
    EXPECT_EQ(stored.P2, "a b c");
    EXPECT_EQ(stored.P4, "r ");
    EXPECT_EQ(context.RuleSets[2].entries[3].Comment, "rule 3");
    EXPECT_EQ(context.RuleSets[2].entries[4].P2, "P2 4");

    Form5->bbCheck->click();
    EXPECT_EQ(ws.read(ws.work + "crule.ari"), "2\r\nfirst second\r\nT\r\na b c\r\nP3\r\nr \r\n");
}

TEST_F(RuleToolsTest, CheckWritesTheBoxesAsTheyStandAndAlwaysSendsSetThreesGoal)
{
    edit(1, rules(1, 2), 1);
    Form5->edNum->setText(QStringLiteral("15"));
    Form5->mmP2->setPlainText(QStringLiteral("if [a"));
    Form5->bbCheck->click();
    EXPECT_EQ(ws.read(ws.work + "crule.ari"), "15\r\nrule 1\r\nT\r\nif [a\r\nP3\r\nP4\r\n");
    EXPECT_EQ(goals(), Strings{"opt(1,1,1,3,checkRule)."});
    EXPECT_EQ(context.RuleSets[1].entries[1].P2, "P2 1");  // the set is not touched
}

TEST_F(RuleToolsTest, RunShowsTheRuleExecutionWindowWithEmptyPanes)
{
    Form5->bbRun->click();
    EXPECT_TRUE(Form6->isVisible());
    EXPECT_TRUE(text(Form6->Memo1).empty());
    EXPECT_TRUE(text(Form6->Memo2).empty());
    Form6->hide();
}

TEST_F(RuleToolsTest, AFailedWriteIsReportedSendsNothingAndKeepsTheFile)
{
    edit(1, rules(1, 3), 2);
    const std::string before = ws.read(RuleSetPath(1));
    if (!ws.makeReadOnly(RuleSetPath(1)) || !ws.makeReadOnly(ws.work))
        GTEST_SKIP() << "cannot make a folder read-only here";
    Form5->mmComm->setPlainText(QStringLiteral("lost?"));
    Form5->bbUpdate->click();
    Form5->bbCheck->click();
    ASSERT_EQ(ws.ui.errors().size(), 2u);
    EXPECT_EQ(ws.ui.errors()[0].rfind("Cannot create file \"" + RuleSetPath(1) + "\". ", 0), 0u);
    EXPECT_EQ(ws.ui.errors()[1].rfind("Cannot create file \"" + ws.work + "crule.ari\". ", 0), 0u);
    EXPECT_EQ(ws.read(RuleSetPath(1)), before);
    EXPECT_EQ(text(Form5->mmComm), "lost?");  // what the user typed is still there
    Form5->bbNext->click();                   // and the window goes on working
    EXPECT_EQ(text(Form5->edNum), "3");
}

// No step hides, cuts or changes a rule behind the user's back.
TEST_F(RuleToolsTest, RulesAreNeverLostHiddenOrChanged)
{
    const std::string tooLong(70000, 'x');
    edit(1, rules(1, 2) + rule("3", tooLong), 2);
    Form5->bbNext->click();  // rule 3 cannot be shown: the cursor stays on rule 2
    EXPECT_EQ(context.RuleCursor, 2);
    Form5->bbUpdate->click();
    EXPECT_EQ(context.RuleSets[1].entries[3].Comment, tooLong);

    const QString manyLines = QStringLiteral("line of a comment\n").repeated(4000);
    Form5->mmComm->setPlainText(manyLines);  // joined on one line it would be too long to show
    ws.ui.clear();
    for (QPushButton* button : {Form5->bbUpdate, Form5->bbAdd}) {
        button->click();
        EXPECT_EQ(context.RuleSets[1].count, 3);
        EXPECT_EQ(context.RuleSets[1].entries[2].Comment, "rule 2");
    }
    EXPECT_EQ(ws.ui.errors().size(), 2u);
    EXPECT_NE(ws.ui.errors()[0].find("Not stored"), std::string::npos) << ws.ui.errors()[0];

    edit(1, rules(1, 998) + rule("999", "a\rlone CR"), 1);  // untouched rules keep their bytes
    Form5->bbUpdate->click();
    EXPECT_EQ(ws.read(RuleSetPath(1)), rules(1, 998) + rule("999", "a\rlone CR"));
    ws.ui.clear();
    Form5->bbAdd->click();  // 999 rules: the set is full
    EXPECT_EQ(context.RuleSets[1].count, 999);
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_NE(ws.ui.errors()[0].find("is full"), std::string::npos);

    const std::string cut = rules(1, 1200);  // more rules than are read: never written cut short
    edit(1, cut, 1);
    ws.ui.clear();
    Form5->bbUpdate->click();
    EXPECT_EQ(ws.ui.errors(), Strings{"Not written: " + RuleSetPath(1) + " has 1407 lines past those read from it, "
                                      "and writing would lose them."});
    EXPECT_EQ(ws.read(RuleSetPath(1)), cut);
}

TEST_F(RuleToolsTest, AFullDiskKeepsTheEarlierRuleSet)
{
    const std::string small = ws.smallDisk(64 * 1024);
    if (small.empty())
        GTEST_SKIP() << "cannot mount a small file system here";
    context.WorkDir = small;
    edit(1, rules(1, 3), 1);
    const std::string before = ws.read(RuleSetPath(1));
    for (QPlainTextEdit* box : {Form5->mmP2, Form5->mmP3, Form5->mmP4})
        box->setPlainText(QString(30000, QLatin1Char('p')));
    Form5->bbUpdate->click();
    ASSERT_EQ(ws.ui.errors().size(), 1u);
    EXPECT_NE(ws.ui.errors()[0].find("not enough space"), std::string::npos) << ws.ui.errors()[0];
    EXPECT_EQ(ws.read(RuleSetPath(1)), before);
}

}  // namespace
}  // namespace tarnix
