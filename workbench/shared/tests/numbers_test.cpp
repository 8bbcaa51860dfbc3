#include <gtest/gtest.h>

#include "Unit4.h"

namespace tarnix {
namespace {

TEST(Numbers, WholeNumbersOf32Bits)
{
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"12", 12},          {"  -7", -7},         {"+5", 5},
        {"-2147483648", INT32_MIN}, {"2147483647", INT32_MAX}, {"2147483648", std::nullopt},
        {"", std::nullopt},  {"   ", std::nullopt}, {"1 ", std::nullopt},
        {"+-5", std::nullopt}, {"+", std::nullopt}, {"0x10", std::nullopt},
        {"1.5", std::nullopt}, {"abc", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TryStrToInt(text), value) << '"' << text << '"';
}

TEST(Numbers, ConversionErrorQuotesTheText)
{
    try {
        StrToInt(std::string("a\0b", 3));
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'a?b' is not a valid integer value");
    }
}

}  // namespace
}  // namespace tarnix
