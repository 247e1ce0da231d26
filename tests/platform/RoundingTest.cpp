#include "platform/Rounding.h"

#include <gtest/gtest.h>

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(R(12.5), 12);
    EXPECT_EQ(R(13.5), 14);
    EXPECT_EQ(R(62.5), 62);
    EXPECT_EQ(R(18.75), 19);
    EXPECT_EQ(R(-2.5), -2);
    EXPECT_EQ(R(-3.5), -4);
    EXPECT_EQ(R(0.49999), 0);
}

TEST(Rounding, TruncatesTowardZero)
{
    EXPECT_EQ(T(2.99), 2);
    EXPECT_EQ(T(-2.99), -2);
}

TEST(Rounding, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(297, 50, 100), 149);   // 148.5
    EXPECT_EQ(MulDiv(-297, 50, 100), -149);
    EXPECT_EQ(MulDiv(297, -50, 100), -149);
    EXPECT_EQ(MulDiv(10, 2540, 300), 85);   // 84.67
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    // The product is taken in 64 bits, as the platform does.
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
    EXPECT_EQ(MulDiv(2000000000, 3, 2), -1) << "a result beyond an int is the platform's -1";
    EXPECT_EQ(MulDiv(-2000000000, 3, 2), -1);
}
