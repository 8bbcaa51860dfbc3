#include <gtest/gtest.h>
#include <optional>

#include "Unit4.h"

namespace tarnix {
namespace {

TEST(Context, KbNameIsCutTo254Characters)
{
    Context c;
    c.CurrentKb = std::string(300, 'k');
    EXPECT_EQ(c.CurrentKb.str(), std::string(254, 'k'));
    c.CurrentKb = "Kb1";
    EXPECT_EQ(c.CurrentKb.str(), "Kb1");
}

TEST(Context, TablesRefuseEveryIndexOutsideTheirBounds)
{
    auto c = std::make_unique<Context>();
    EXPECT_THROW(c->RuleSets[1].entries[0], RangeError);
    EXPECT_THROW(c->RuleSets[1].entries[1001], RangeError);
    EXPECT_NO_THROW(c->RuleSets[3].entries[1000]);
    EXPECT_THROW(c->RuleSets[0], RangeError);
    EXPECT_THROW(c->Models[6], RangeError);
    EXPECT_NO_THROW(c->Models[0].lines[1]);
    EXPECT_THROW(c->Models[0].lines[1001], RangeError);
    EXPECT_THROW(c->ObjectNumbers[-1], RangeError);
    try {
        c->ObjectNumbers[10001];
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Range check error");
    }
}

TEST(Context, The10001stObjectNumberIsRefusedAndTheFirst10000Stay)
{
    context = Context{};
    for (int i = 1; i <= 10000; ++i)
        PushNumber(i * 3);
    EXPECT_THROW(PushNumber(5), RangeError);
    EXPECT_EQ(context.ObjectCursor, 10000);
    EXPECT_EQ(context.ObjectNumbers[1], 3);
    EXPECT_EQ(context.ObjectNumbers[10000], 30000);
    context = Context{};
}

TEST(Numbers, TextsReadAsWholeNumbersOrRefused)
{
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"7", 7}, {"  -12", -12}, {"+3", 3}, {"$1F", 31}, {"0x10", 16}, {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt}, {"", std::nullopt}, {" ", std::nullopt},
        {"7 ", std::nullopt}, {"x", std::nullopt}, {"1.5", std::nullopt}, {"-", std::nullopt}, {"$", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToIntDef(c.text, -99), c.value.value_or(-99)) << c.text;
        if (c.value)
            continue;
        try {
            StrToInt(c.text);
            ADD_FAILURE() << c.text;
        } catch (const ConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(c.text) + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace tarnix
