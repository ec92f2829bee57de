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

TEST(Startup, RootIndexLiesInTheDataFoldersLibrary)
{
    EXPECT_EQ(RootIndexPath("C:\\Users\\a\\AppData\\Roaming\\Corvane 2\\"),
        "C:\\Users\\a\\AppData\\Roaming\\Corvane 2\\Replies\\index.sub");
}

} // namespace
} // namespace corvane
