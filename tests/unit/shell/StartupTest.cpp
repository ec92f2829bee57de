#include "shell/UnitStartup.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(Startup, OnlyTheExactHiddenSwitchAsFirstArgumentHides)
{
    EXPECT_TRUE(IsHiddenStart({"-hidden"}));
    EXPECT_TRUE(IsHiddenStart({"-hidden", "more", "args"}));
    EXPECT_FALSE(IsHiddenStart({}));
    EXPECT_FALSE(IsHiddenStart({"-Hidden"}));
    EXPECT_FALSE(IsHiddenStart({"/hidden"}));
    EXPECT_FALSE(IsHiddenStart({"-hidden "}));
    EXPECT_FALSE(IsHiddenStart({"x", "-hidden"}));
}

} // namespace
} // namespace corvane
