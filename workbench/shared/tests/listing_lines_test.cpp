// Which source line a line of the engine's messages names, on the forms the listing, the build
// log and the run output use.
#include <gtest/gtest.h>

#include "listing_lines.h"
#include "text_file.h"

namespace tarnix {
namespace {

TEST(ListingLines, SourceLineOfEachMessageForm)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"*** Ошибка, строка 12: не правило вида rule(N, 'комментарий', [условия], [заключения]).", 12},
        {"*** Ошибка, строка 7: повторный номер правила 3", 7},
        {"строка в файле: 41", 41},
        {"Строка 5", 5},
        {"ERROR at line 9: unexpected end", 9},
        {"  12  rule(12, 'Драма дома',", 12},
        {"   1  % База знаний", 1},
        {"  30", 30},
        {"   3\t[жанр = драма]).", 3},
        {"Правил: 14, ошибок: 0", std::nullopt},              // numbers, but no line named
        {"12 rules compiled", std::nullopt},                  // a count, not a numbered line
        {"подстрока 5 не найдена", std::nullopt},            // the word inside another word
        {"строка без номера, и далее правило 123456789012", std::nullopt},
        {"строка 0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(SourceLineOf(cp1251(line)), expected) << line;
}

TEST(ListingLines, FirstErrorSkipsTheRepeatedSourceLines)
{
    const std::vector<std::string> listing = {
        cp1251("Tarnix: компиляция базы знаний KbMovem1.rul"), cp1251("  11  % line 3 is an error"),
        cp1251("  12  rule(error"), "", cp1251("*** Ошибка, строка 12: не правило"),
        cp1251("*** Ошибка, строка 20: повторный номер правила 4")};
    EXPECT_EQ(FirstErrorLine(listing), 4u);
    EXPECT_EQ(FirstErrorLine({cp1251("Правил: 14, ошибок: 0")}), std::nullopt);
}

}  // namespace
}  // namespace tarnix
