#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarnix
