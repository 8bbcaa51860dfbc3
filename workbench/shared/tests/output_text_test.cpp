#include <gtest/gtest.h>

#include "output_text.h"

namespace tarnix {
namespace {

std::vector<std::string> linesOf(const OutputText& text)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < text.lineCount(); ++i)
        lines.emplace_back(text.line(i));
    return lines;
}

struct LinesCase {
    std::string bytes;
    std::vector<std::string> lines;
};

// The lines of a file, read whole and as it grows a byte at a time: a CR at the end of one piece
// and an LF at the start of the next are one line break.
TEST(OutputText, LinesOfTheFileWholeOrGrowing)
{
    const std::string cyrillic = "\xCF\xF0\xE0\xE2\xE8\xEB\xEE";  // "Правило" in code page 1251
    const std::vector<LinesCase> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"\r\n\r\n", {"", ""}},
        {"a\rb\r", {"a", "b"}},
        {"x\r\r\ny", {"x", "", "y"}},
        {"one\r\ntwo\nthree\rfour", {"one", "two", "three", "four"}},
        {cyrillic + "\r\n" + cyrillic, {cyrillic, cyrillic}},
    };
    for (const LinesCase& c : cases) {
        OutputText whole;
        whole.assign(c.bytes);
        EXPECT_EQ(linesOf(whole), c.lines) << c.bytes;
        OutputText growing;
        for (char b : c.bytes)
            growing.append(std::string_view(&b, 1));
        EXPECT_EQ(linesOf(growing), c.lines) << c.bytes;
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(whole.lineOf(whole.lineStart(i)), i);
    }
}

TEST(OutputText, TenMegabyteLineIsOneLine)
{
    OutputText text;
    text.assign(std::string(10 << 20, 'x') + "\r\nend");
    ASSERT_EQ(text.lineCount(), 2U);
    EXPECT_EQ(text.line(0).size(), std::size_t{10 << 20});
    EXPECT_GE(text.longestLine(), std::size_t{10 << 20});
    EXPECT_EQ(text.lineOf(5 << 20), 0U);
    EXPECT_EQ(text.line(1), "end");
}

// A copy taken before a change keeps the bytes it was given.
TEST(OutputText, SharedBytesOutliveAChange)
{
    OutputText text;
    text.assign("first");
    const auto before = text.share();
    text.append(" and more");
    EXPECT_EQ(*before, "first");
    EXPECT_EQ(text.line(0), "first and more");
}

struct FindCase {
    const char* needle;
    bool matchCase;
    std::size_t from;
    bool backwards;
    std::size_t found;
};

TEST(FindBytes, CaseBlindForwardAndBackward)
{
    // "Rule ПРАВИЛО rule правило Ёж ёж"
    const std::string bytes = "Rule \xCF\xD0\xC0\xC2\xC8\xCB\xCE rule \xEF\xF0\xE0\xE2\xE8\xEB\xEE \xA8\xE6 \xB8\xE6";
    const std::vector<FindCase> cases = {
        {"rule", false, 0, false, 0},
        {"rule", true, 0, false, 13},
        {"RULE", false, 1, false, 13},
        {"\xEF\xF0\xE0\xE2\xE8\xEB\xEE", false, 0, false, 5},  // правило finds ПРАВИЛО
        {"\xEF\xF0\xE0\xE2\xE8\xEB\xEE", true, 0, false, 18},
        {"\xB8\xE6", false, 0, false, 26},  // ёж finds Ёж
        {"rule", false, 13, true, 0},
        {"rule", false, bytes.size(), true, 13},
        {"rule", false, 0, true, NotFound},
        {"e", false, 0, false, 3},
        {"absent", false, 0, false, NotFound},
        {"", false, 0, false, NotFound},
    };
    for (const FindCase& c : cases)
        EXPECT_EQ(FindBytes(bytes, c.needle, c.matchCase, c.from, c.backwards), c.found) << c.needle << " from " << c.from;
}

// Matches astride the blocks a search goes by, at the very end of the text, and a stopped search.
TEST(FindBytes, LargeTextsAndStop)
{
    std::string bytes(3 << 20, '.');
    for (std::size_t at : {std::size_t{(1 << 20) - 2}, std::size_t{(2 << 20) + 7}, bytes.size() - 4})
        bytes.replace(at, 4, "NeEd");
    EXPECT_EQ(FindBytes(bytes, "need", false, 0, false), std::size_t{(1 << 20) - 2});
    EXPECT_EQ(FindBytes(bytes, "need", false, (1 << 20), false), std::size_t{(2 << 20) + 7});
    EXPECT_EQ(FindBytes(bytes, "need", false, bytes.size(), true), bytes.size() - 4);
    EXPECT_EQ(FindBytes(bytes, "need", false, (2 << 20), true), std::size_t{(1 << 20) - 2});
    const std::atomic<bool> stop{true};
    EXPECT_EQ(FindBytes(bytes, "need", false, 0, false, &stop), NotFound);
}

}  // namespace
}  // namespace tarnix
