// The string functions against hand-picked cases and against slow references that follow the
// engine's description word for word (1-based positions, a copy of the rest at every match),
// on many random byte strings.
#include <gtest/gtest.h>

#include <random>

#include "string_functions.h"

namespace tarnix {
namespace {

using std::string;

// ---- the references ------------------------------------------------------------------------

// 1-based character access and copy, as the description counts.
char at(const string& s, std::size_t i) { return s[i - 1]; }
string copy(const string& s, std::size_t from, std::size_t count)
{
    return from > s.size() ? string() : s.substr(from - 1, count);
}
// The position of the first occurrence, found by trying every start; 0 when there is none.
std::size_t pos(const string& p, const string& s)
{
    if (p.empty())
        return 0;
    for (std::size_t i = 1; i + p.size() <= s.size() + 1; ++i)
        if (copy(s, i, p.size()) == p)
            return i;
    return 0;
}

string slowSubstAll(const string& t, const string& p, const string& r)
{
    string rest = t, out;
    while (!rest.empty()) {
        const std::size_t at = pos(p, rest);
        if (at > 0) {
            out += copy(rest, 1, at - 1) + r;
            rest = copy(rest, at + p.size(), string::npos);
        } else {
            out += rest;
            rest.clear();
        }
    }
    return out;
}

string slowSubstitute(const string& s, const string& p, const string& r)
{
    if (p.empty())
        return s;
    string out;
    std::size_t i = 1;
    while (i <= s.size()) {
        if (copy(s, i, p.size()) == p) {
            out += r;
            i += p.size();
        } else {
            out += at(s, i);
            i += 1;
        }
    }
    return out;
}

std::optional<std::size_t> slowFindSub(const string& t, const string& p)
{
    std::size_t start = 0, matched = 0;
    if (p.empty() || t.empty())
        return std::nullopt;
    for (std::size_t i = 1; i <= t.size(); ++i) {
        if (matched == 0) {
            if (at(t, i) == at(p, 1)) {
                start = i;
                matched = 1;
                if (p.size() == 1)
                    return start;
            }
        } else if (at(t, i) == at(p, matched + 1)) {
            matched += 1;
            if (matched == p.size())
                return start;
        } else {
            matched = 0;
            start = 0;
            if (at(t, i) == at(p, 1)) {
                start = i;
                matched = 1;
            }
        }
    }
    return std::nullopt;
}

string slowDelSub(const string& t, const string& p)
{
    const auto found = slowFindSub(t, p);
    return found ? copy(t, 1, *found - 1) + copy(t, *found + p.size(), string::npos) : t;
}

string slowDelSeq(const string& t)
{
    std::size_t start = 0, n = 0;
    for (std::size_t i = 1; i <= t.size(); ++i) {
        if (at(t, i) == '1' && start == 0) {
            start = i;
            n = 1;
        } else if (at(t, i) == '1') {
            n += 1;
        }
        if (at(t, i) != '1' && start > 0)
            break;
    }
    return start > 0 ? copy(t, 1, start - 1) + copy(t, start + n, string::npos) : t;
}

// ---- the cases the testers are known by -----------------------------------------------------

struct Case {
    const char* function;
    string a1, a2, a3;
    std::optional<string> expected;  // FindSub: the position in decimal, nullopt when not found
};

std::optional<string> run(const Case& c)
{
    const string f = c.function;
    if (f == "sub")
        return SubstAll(c.a1, c.a2, c.a3);
    if (f == "subst")
        return Substitute(c.a1, c.a2, c.a3);
    if (f == "delsub")
        return DelSub(c.a1, c.a2);
    if (f == "delseq")
        return DelSeq(c.a1);
    const auto found = FindSub(c.a1, c.a2);
    return found ? std::optional<string>(std::to_string(*found)) : std::nullopt;
}

TEST(StringFunctions, KnownCases)
{
    const string cyr = "\xcf\xf0\xe8\xe2\xe5\xf2";  // "Привет" in code page 1251
    const Case cases[] = {
        {"sub", "aaaa", "aa", "b", "bb"},
        {"sub", "aaaa", "", "b", "aaaa"},
        {"sub", "abab", "ab", "ab", "abab"},           // the replacement is never searched again
        {"sub", string("a\0b\0", 4), string("\0", 1), "-", "a-b-"},
        {"subst", "aaaa", "aa", "b", "bb"},
        {"subst", "aaa", "aa", "x", "xa"},
        {"subst", "abcabc", "bc", "-", "a-a-"},
        {"subst", "abcabc", "bc", "", "aa"},
        {"subst", "ab", "abc", "x", "ab"},
        {"subst", "", "a", "x", ""},
        {"subst", "abc", "", "x", "abc"},
        {"subst", "ABCabc", "abc", "x", "ABCx"},
        {"subst", cyr, "\xef", "_", cyr},                // lower-case п does not match П
        {"subst", cyr, "\xcf", "_", "_" + cyr.substr(1)},
        {"findsub", "hello", "l", "", "3"},
        {"findsub", "hello", "hello!", "", std::nullopt},
        {"findsub", "hello", "", "", std::nullopt},
        {"findsub", "aaab", "aab", "", std::nullopt},   // the occurrence at 2 is missed
        {"findsub", "aXbaab", "aab", "", "4"},
        {"findsub", "Hello", "h", "", std::nullopt},
        {"delsub", "aaab", "aab", "", "aaab"},
        {"delsub", "xabab", "ab", "", "xab"},
        {"delseq", "a11b111", "", "", "ab111"},
        {"delseq", "0101", "", "", "001"},
        {"delseq", "111", "", "", ""},
        {"delseq", "abc", "", "", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c), c.expected) << c.function << "(" << c.a1 << ", " << c.a2 << ", " << c.a3 << ")";
}

// ---- against the references on random bytes ------------------------------------------------

// Random texts from a few alphabets: two or three letters (many overlapping and failed partial
// matches), digits with many '1's, and all 256 byte values. Patterns are often cut from the
// text itself, and now and then longer than it or empty.
class RandomTexts {
public:
    string text()
    {
        alphabet_ = pick(4);
        return make(pick(2) ? pick(40) : pick(6));
    }
    string pattern(const string& text)
    {
        switch (pick(5)) {
        case 0:
            return make(pick(4));
        case 1:
            return text + make(1 + pick(3));  // longer than the text
        default: {
            if (text.empty())
                return {};
            const std::size_t from = pick(text.size());
            string cut = text.substr(from, 1 + pick(5));
            if (pick(3) == 0)
                cut.back() = byte();  // a near miss
            return cut;
        }
        }
    }
    string replacement() { return make(pick(4)); }

private:
    std::size_t pick(std::size_t below) { return std::uniform_int_distribution<std::size_t>(0, below - 1)(rng_) % below; }
    char byte()
    {
        switch (alphabet_) {
        case 0:
            return "ab"[pick(2)];
        case 1:
            return "abc"[pick(3)];
        case 2:
            return "1101"[pick(4)];
        default:
            return static_cast<char>(pick(256));
        }
    }
    string make(std::size_t length)
    {
        string s;
        for (std::size_t i = 0; i < length; ++i)
            s += byte();
        return s;
    }

    std::mt19937 rng_{20260812};
    std::size_t alphabet_ = 0;
};

TEST(StringFunctions, AgreeWithTheLiteralReadingOnRandomBytes)
{
    RandomTexts random;
    int found = 0, missedByFindSub = 0;
    for (int round = 0; round < 20000; ++round) {
        const string t = random.text();
        const string p = random.pattern(t);
        const string r = random.replacement();
        ASSERT_EQ(SubstAll(t, p, r), slowSubstAll(t, p, r)) << round;
        ASSERT_EQ(Substitute(t, p, r), slowSubstitute(t, p, r)) << round;
        ASSERT_EQ(FindSub(t, p), slowFindSub(t, p)) << round;
        ASSERT_EQ(DelSub(t, p), slowDelSub(t, p)) << round;
        ASSERT_EQ(DelSeq(t), slowDelSeq(t)) << round;
        found += FindSub(t, p).has_value();
        missedByFindSub += !FindSub(t, p) && pos(p, t) > 0;
    }
    // The random texts reach both the found and the missed occurrences.
    EXPECT_GT(found, 5000);
    EXPECT_GT(missedByFindSub, 100);
}

// Long runs of one byte, where the search falls back many times within one attempt.
TEST(StringFunctions, LongRepetitiveTexts)
{
    const string text = string(5000, 'a') + "b" + string(3000, 'a');
    EXPECT_EQ(SubstAll(text, string(2999, 'a') + "b", "X"), string(2001, 'a') + "X" + string(3000, 'a'));
    EXPECT_EQ(Substitute(text, "aab", "X"), slowSubstitute(text, "aab", "X"));
    EXPECT_EQ(FindSub(text, "ab"), 5000u);
    // A failed "aa" + 'a' restarts at the failing byte: an even run of 'a' before the 'b' is
    // found, an odd one is not.
    EXPECT_EQ(FindSub(text, "aab"), 4999u);
    EXPECT_EQ(FindSub("a" + text, "aab"), std::nullopt);
}

}  // namespace
}  // namespace tarnix
