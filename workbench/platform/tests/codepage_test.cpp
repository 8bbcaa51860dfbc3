#include "platform.h"

#include <gtest/gtest.h>

namespace tarnix::platform {
namespace {

std::string allBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

TEST(CodePage, EveryByteSurvivesTheRoundTripThroughUnicode) {
    const std::string bytes = allBytes();
    EXPECT_EQ(utf16ToCp1251(cp1251ToUtf16(bytes)), bytes);
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(bytes)), bytes);
}

TEST(CodePage, MapsTheCyrillicLettersAndSigns) {
    EXPECT_EQ(cp1251ToUtf16("\xC0\xFF\xA8\xB8\xB9\x98\x88"), u"Ая\u0401\u0451\u2116\u0098\u20AC");
    EXPECT_EQ(cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(utf8ToCp1251("Ёлка №5"), "\xA8\xEB\xEA\xE0 \xB9" "5");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(utf16ToCp1251(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(utf16ToCp1251(u"x\U0001F600y"), "x?y");       // one '?' for a surrogate pair
    EXPECT_EQ(utf16ToCp1251(std::u16string(1, char16_t(0xDC00))), "?");
    EXPECT_EQ(utf8ToCp1251("a\xE4\xB8\xAD" "b\xF0\x9F\x98\x80"), "a?b?");
    // Broken UTF-8: stray continuation, truncated sequence, overlong form.
    EXPECT_EQ(utf8ToCp1251("\x80x"), "?x");
    EXPECT_EQ(utf8ToCp1251("\xD0"), "?");
    EXPECT_EQ(utf8ToCp1251("\xE4\xB8x"), "?x");
    EXPECT_EQ(utf8ToCp1251("\xC0\xAF"), "?");
    // Whether a name survives: a literal '?' does, a character turned into one does not.
    EXPECT_TRUE(fitsCp1251("/home/\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82 \xE2\x84\x96?/"));  // Проект №?
    for (const char* lost : {"/\xE4\xB8\xAD/", "/\xF0\x9F\x98\x80/", "/\xC0\xAF/", "/\xFF/"})
        EXPECT_FALSE(fitsCp1251(lost)) << lost;
}

TEST(Utf16, EveryUnitSurvivesTheRoundTripThroughUtf8) {
    // "Пр", U+1F600 as a surrogate pair, then a high and a low surrogate each without its pair.
    const std::string units("\x1F\x04\x40\x04\x3D\xD8\x00\xDE\x3D\xD8x\x00\x00\xDE", 14);
    const std::string utf8 = utf16leToUtf8(units);
    EXPECT_EQ(utf8, "\xD0\x9F\xD1\x80\xF0\x9F\x98\x80\xED\xA0\xBDx\xED\xB8\x80");
    EXPECT_EQ(utf8ToUtf16le(utf8), units);
    EXPECT_EQ(utf16leToUtf8(std::string("a\x00" "b", 3)), "a");  // a last odd byte is no unit
    EXPECT_EQ(utf8ToUtf16le("\x80" "a"), std::string("\xFD\xFF" "a\x00", 4));  // broken UTF-8
}

TEST(CodePage, UpperCaseCoversLatinAndCyrillic) {
    const std::string lower = "az\xE0\xFF\xB8\xB3\xB4\xBF\x9F\x90";  // a z а я ё і ґ ї џ ђ
    const std::string upper = "AZ\xC0\xDF\xA8\xB2\xA5\xAF\x8F\x80";
    for (std::size_t i = 0; i < lower.size(); ++i) EXPECT_EQ(upperCp1251(lower[i]), upper[i]) << i;
    EXPECT_EQ(upperCp1251('\xB5'), '\xB5');  // micro sign has no capital in the code page
    EXPECT_EQ(upperCp1251('5'), '5');
    EXPECT_TRUE(equalsNoCase("Prestrac.ari", "PRESTRAC.ARI"));
    EXPECT_TRUE(equalsNoCase("\xEE\xF2\xF7\xB8\xF2", "\xCE\xD2\xD7\xA8\xD2"));  // отчёт / ОТЧЁТ
    EXPECT_FALSE(equalsNoCase("a.ari", "a.ar"));
    EXPECT_FALSE(equalsNoCase("\xE5", "\xA8"));  // е is not Ё
}

TEST(Wildcards, MatchLikeWindowsWithoutRegardToCase) {
    EXPECT_TRUE(wildcardMatch("*TSK", "task2.tsk"));
    EXPECT_TRUE(wildcardMatch("*.tmp", "A.TMP"));
    EXPECT_FALSE(wildcardMatch("*.tmp", "a.tmpl"));
    EXPECT_TRUE(wildcardMatch("*.*", "noextension"));
    EXPECT_TRUE(wildcardMatch("a.*", "a"));
    EXPECT_TRUE(wildcardMatch("m?.txt", "m5.txt"));
    EXPECT_FALSE(wildcardMatch("m?.txt", "m10.txt"));
    EXPECT_TRUE(wildcardMatch("*a*b*c", "xxaxxbxxbxc"));
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_FALSE(wildcardMatch("", "a"));
    EXPECT_TRUE(wildcardMatch("\xEE*", "\xCE\xD2\xD7\xA8\xD2.txt"));
    // Many stars against a long name must not take exponential time.
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

}  // namespace
}  // namespace tarnix::platform
