#include <gtest/gtest.h>

#include <filesystem>

#include "Unit4.h"
#include "platform/platform.h"
#include "tests/workspace.h"

namespace tarnix {
namespace {

rcont rule(const std::string& number, const std::string& comment = "c", const std::string& p2 = "p2")
{
    return {number, comment, "t", p2, "p3", "p4"};
}

std::string group(const rcont& r)
{
    return joinLines({"ru", r.Number, r.Comment, r.Type, r.P2, r.P3, r.P4});
}

void expectRule(const rcont& actual, const rcont& expected)
{
    EXPECT_EQ(actual.Number, expected.Number);
    EXPECT_EQ(actual.Comment, expected.Comment);
    EXPECT_EQ(actual.Type, expected.Type);
    EXPECT_EQ(actual.P2, expected.P2);
    EXPECT_EQ(actual.P3, expected.P3);
    EXPECT_EQ(actual.P4, expected.P4);
}

std::string numbered(int lines, const std::string& prefix = "line ")
{
    std::string bytes;
    for (int i = 1; i <= lines; ++i)
        bytes += prefix + std::to_string(i) + "\r\n";
    return bytes;
}

TEST(TextHelpers, FileStemAndOneLine)
{
    EXPECT_EQ(FileStem("abc.def.ari"), "abc");
    EXPECT_EQ(FileStem("abc"), "");
    EXPECT_EQ(FileStem(".ari"), "");
    EXPECT_EQ(OneLine("a\r\nb\rc\nd"), "a b c d");
    EXPECT_EQ(OneLine("a\r\n\r\nb\n"), "a  b ");
    EXPECT_EQ(OneLine(" single line \t"), " single line \t");
}

TEST(TextHelpers, DosToWinTextMapsTheCyrillicLettersOnly)
{
    // The letters of code page 866 at their places; every other byte stays as it is.
    const std::string upperAndFirstSmall = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмноп";
    const std::string lastSmall = "рстуфхцчшщъыьэюяЁё";
    std::string all(256, '\0'), expected(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = expected[b] = static_cast<char>(b);
    const std::string first = cp1251(upperAndFirstSmall), last = cp1251(lastSmall);
    ASSERT_EQ(first.size(), 48u);
    ASSERT_EQ(last.size(), 18u);
    expected.replace(0x80, first.size(), first);
    expected.replace(0xE0, last.size(), last);
    EXPECT_EQ(DosToWinText(all), expected);
    EXPECT_EQ(DosToWinText("\xF0\xF1"), "\xA8\xB8");
}

TEST(TextHelpers, CheckBracketsComparesCountsOnly)
{
    const struct {
        const char* text;
        int flag;
        std::int64_t square, round, curly;
        const char* message;
    } cases[] = {
        {"[[[x]]", 1, 1, 0, 0, "Res= 1 Ob= 3 Cb= 2"},
        {"f([a], {b}) [c]", 0, 0, 0, 0, "Res= 0 Ob= 2 Cb= 2"},
        {"[", 1, 1, 0, 0, "Res= 1 Ob= 1 Cb= 0"},
        {"]x[ )( }{", 0, 0, 0, 0, "Res= 0 Ob= 1 Cb= 1"},
        {"(() {", 1, 0, 1, 1, "Res= 1 Ob= 0 Cb= 0"},
        {"}}", 1, 0, 0, -2, "Res= 1 Ob= 0 Cb= 0"},
    };
    for (const auto& c : cases) {
        const BracketCheck check = CheckBrackets(c.text);
        EXPECT_EQ(check.flag, c.flag) << c.text;
        EXPECT_EQ(check.squareDifference, c.square) << c.text;
        EXPECT_EQ(check.roundDifference, c.round) << c.text;
        EXPECT_EQ(check.curlyDifference, c.curly) << c.text;
        EXPECT_EQ(BracketMessage(check), c.message);
    }
    const BracketCheck counts = CheckBrackets("[[]((({");
    EXPECT_EQ(std::vector<std::int64_t>({counts.openSquare, counts.closeSquare, counts.openRound, counts.closeRound,
                                         counts.openCurly, counts.closeCurly}),
              std::vector<std::int64_t>({2, 1, 3, 0, 1, 0}));
}

class RuleFiles : public ::testing::Test {
protected:
    RuleFiles() { context.CheckRuleFile = "crule.ari"; }
    void setRules(int k, const std::vector<rcont>& list)
    {
        context.RuleSets[k].count = static_cast<std::int32_t>(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            context.RuleSets[k].entries[static_cast<std::int64_t>(i) + 1] = list[i];
    }
    template <typename Call>
    std::string errorOf(Call call)
    {
        try {
            call();
        } catch (const Error& e) {
            return e.what();
        }
        return "no error";
    }
    test::Workspace ws;
};

TEST_F(RuleFiles, ModelTakesAtMost999LinesAndKeepsOlderLinesPastTheCount)
{
    ws.write(ModelPath(2), numbered(2000));
    LoadModel(2);
    EXPECT_EQ(context.Models[2].count, 999);
    EXPECT_EQ(context.Models[2].lines[999], "line 999");
    EXPECT_EQ(context.Models[2].lines[1000], "");

    ws.write(ModelPath(2), "a\nb");
    LoadModel(2);
    EXPECT_EQ(context.Models[2].count, 2);
    EXPECT_EQ(context.Models[2].lines[2], "b");
    EXPECT_EQ(context.Models[2].lines[3], "line 3");

    ws.write(ModelPath(0), "");
    LoadModel(0);
    EXPECT_EQ(context.Models[0].count, 0);
    EXPECT_EQ(errorOf([] { LoadModel(5); }), "File not found");
    EXPECT_EQ(errorOf([] { LoadModel(6); }), "Range check error");
}

TEST_F(RuleFiles, EmptiedEntryIsLeftOutAndTheRulesBehindMoveUp)
{
    setRules(1, {rule("1"), rule("", "deleted"), rule("7", "seven"), rule("8", "eight")});
    WriteRuleSet(1, RuleSetPath(1));
    EXPECT_EQ(ws.read(RuleSetPath(1)), group(rule("1")) + group(rule("7", "seven")) + group(rule("8", "eight")));

    ReadRuleSet(1, RuleSetPath(1));
    EXPECT_EQ(context.RuleSets[1].count, 3);
    expectRule(context.RuleSets[1].entries[2], rule("7", "seven"));
    expectRule(context.RuleSets[1].entries[3], rule("8", "eight"));
    expectRule(context.RuleSets[1].entries[4], rule("8", "eight"));  // past the count: stale, not cleared
}

TEST_F(RuleFiles, LineBreaksInAFieldNeverShiftTheRulesBehindIt)
{
    setRules(3, {rule("1", "two\r\nlines", "p2 a\np2 b\rp2 c"), rule("2", "after")});
    WriteRuleSet(3, RuleSetPath(3));
    ReadRuleSet(3, RuleSetPath(3));
    EXPECT_EQ(context.RuleSets[3].count, 2);
    expectRule(context.RuleSets[3].entries[1], rule("1", "two lines", "p2 a p2 b p2 c"));
    expectRule(context.RuleSets[3].entries[2], rule("2", "after"));

    context.CheckedRule = rule("5", "x\ny", "[a]\r\n[b]");
    WriteCheckRule();
    EXPECT_EQ(ws.read(ws.work + "crule.ari"), joinLines({"5", "x y", "t", "[a] [b]", "p3", "p4"}));
}

TEST_F(RuleFiles, ReadingStopsAt999RulesAndFillsAGroupCutShort)
{
    std::string bytes;
    for (int i = 1; i <= 1005; ++i)
        bytes += group(rule(std::to_string(i)));
    ws.write(RuleSetPath(2), bytes);
    ReadRuleSet(2, RuleSetPath(2));
    EXPECT_EQ(context.RuleSets[2].count, 999);
    EXPECT_EQ(context.RuleSets[2].entries[999].Number, "999");

    ws.write(RuleSetPath(2), group(rule("1")) + "ru\r\n5\r\ncut here");
    ReadRuleSet(2, RuleSetPath(2));
    EXPECT_EQ(context.RuleSets[2].count, 2);
    expectRule(context.RuleSets[2].entries[2], {"5", "cut here", "", "", "", ""});

    ws.write(RuleSetPath(2), "");
    ReadRuleSet(2, RuleSetPath(2));
    EXPECT_EQ(context.RuleSets[2].count, 0);
}

TEST_F(RuleFiles, BadNumbersAndMissingFilesEndTheCommandWithTheirError)
{
    EXPECT_EQ(errorOf([&] { ReadRuleSet(1, RuleSetPath(1)); }), "File not found");
    EXPECT_EQ(errorOf([&] { ReadRuleSet(4, RuleSetPath(1)); }), "Range check error");
    EXPECT_EQ(errorOf([&] { WriteRuleSet(0, RuleSetPath(1)); }), "Range check error");
    ws.write(RuleSetPath(1), "earlier");
    context.RuleSets[1].count = 1001;
    EXPECT_EQ(errorOf([&] { WriteRuleSet(1, RuleSetPath(1)); }), "Range check error");
    EXPECT_EQ(ws.read(RuleSetPath(1)), "earlier");
}

TEST_F(RuleFiles, BinaryAndHugeFilesAreReadWithinTheLimits)
{
    std::string binary;
    for (int i = 0; i < 7 * 256; ++i)
        binary += static_cast<char>(i % 256);
    ws.write(RuleSetPath(1), binary);
    ReadRuleSet(1, RuleSetPath(1));
    EXPECT_EQ(context.RuleSets[1].count, 2);  // 7 LF bytes: 8 lines, a second group cut short

    // 50 MB: one line of 10 MB, then short lines.
    const std::string longLine(10 << 20, 'x');
    std::string huge = longLine + "\r\n";
    while (huge.size() < (50u << 20))
        huge += numbered(10000, "filler ");
    ws.write(ModelPath(1), huge);
    for (const std::string& name : {RuleSetPath(3), ws.work + "list.txt"})
        std::filesystem::create_hard_link(ModelPath(1), name);
    LoadModel(1);
    EXPECT_EQ(context.Models[1].count, 999);
    EXPECT_EQ(context.Models[1].lines[1].size(), longLine.size());
    ReadRuleSet(3, RuleSetPath(3));
    EXPECT_EQ(context.RuleSets[3].count, 999);
    Lines list;
    ASSERT_TRUE(ReadWorkLines("list.txt", list));
    EXPECT_EQ(list.front().size(), longLine.size());
    EXPECT_EQ(list.back(), "filler 10000");
}

TEST_F(RuleFiles, WorkLinesAreAppendedOrTheMissingFileReported)
{
    ws.write(ws.work + "list.txt", numbered(5000));
    Lines list{"before"};
    EXPECT_TRUE(ReadWorkLines("list.txt", list));
    ASSERT_EQ(list.size(), 5001u);
    EXPECT_EQ(list[1], "line 1");
    EXPECT_EQ(list[5000], "line 5000");

    EXPECT_FALSE(ReadWorkLines("none.txt", list));
    EXPECT_EQ(list.size(), 5001u);
    EXPECT_EQ(ws.ui.messages(), std::vector<std::string>{"Not exists file - " + ws.work + "none.txt"});
}

TEST_F(RuleFiles, RefreshingTheTraceListSendsTheGoalWithoutReadingTheList)
{
    ws.installEngines();
    ws.script("goal *\ncode 0\n");
    RefreshTraceList();
    EXPECT_EQ(ws.engineLog(), "opt(1,1,1,1,tracelist).\n");
    EXPECT_TRUE(ws.ui.shown().empty());  // no "Not exists file" for the absent list
}

TEST_F(RuleFiles, AReadOnlyFolderOrFileIsReportedAndKeepsTheEarlierFile)
{
    const std::string earlier = group(rule("1"));
    ws.write(RuleSetPath(1), earlier);
    ws.write(RuleSetPath(2), earlier);
    setRules(1, {rule("2")});
    setRules(2, {rule("3")});
    context.CheckedRule = rule("3");
    if (!ws.makeReadOnly(RuleSetPath(2)) || !ws.makeReadOnly(ws.work))
        GTEST_SKIP() << "cannot make a folder read-only here";
    // A file of the folder is still replaced whole, in place; no new file can be made.
    WriteRuleSet(1, RuleSetPath(1));
    EXPECT_EQ(ws.read(RuleSetPath(1)), group(rule("2")));
    EXPECT_NE(errorOf([] { WriteCheckRule(); }).find("Cannot create file"), std::string::npos);
    EXPECT_FALSE(ws.exists(ws.work + "crule.ari"));
    EXPECT_NE(errorOf([&] { WriteRuleSet(2, RuleSetPath(2)); }).find("Cannot create file"), std::string::npos);
    EXPECT_EQ(ws.read(RuleSetPath(2)), earlier);
}

TEST_F(RuleFiles, AFullDiskLeavesTheEarlierFileWhole)
{
    const std::string small = ws.smallDisk(64 << 10);
    if (small.empty())
        GTEST_SKIP() << "cannot mount a small file system here";
    const std::string earlier = group(rule("1", std::string(20000, 'a')));
    ws.write(small + "unlr1.ari", earlier);
    setRules(1, {rule("1", std::string(100000, 'b'))});
    EXPECT_NE(errorOf([&] { WriteRuleSet(1, small + "unlr1.ari"); }).find("Cannot create file"), std::string::npos);
    EXPECT_EQ(ws.read(small + "unlr1.ari"), earlier);
}

}  // namespace
}  // namespace tarnix
