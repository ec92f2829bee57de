#include "shell/ImageSizes.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ImageSizes, EachScalePicksTheLargestDrawnSizeThatFits)
{
    EXPECT_EQ(IconSizeAt(16, 96), 16);
    EXPECT_EQ(IconSizeAt(16, 120), 20);
    EXPECT_EQ(IconSizeAt(16, 144), 24);
    EXPECT_EQ(IconSizeAt(16, 192), 32);
    EXPECT_EQ(IconSizeAt(24, 144), 32) << "36 is not drawn: the next smaller";
    EXPECT_EQ(IconSizeAt(24, 192), 48);
    EXPECT_EQ(IconSizeAt(16, 72), 16) << "below the smallest drawn size";
}

} // namespace
} // namespace corvane
