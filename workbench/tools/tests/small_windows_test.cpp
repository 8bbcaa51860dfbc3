// The small viewers, the parameters window and the request builder.
#include <gtest/gtest.h>

#include "tool_windows.h"

namespace tarnix {
namespace {

TEST(SmallWindows, CreatedHidden)
{
    CreateToolWindows();
    DestroyToolWindows();
}

}  // namespace
}  // namespace tarnix
