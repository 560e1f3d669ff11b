// Colour arithmetic: scaling with rounding and the cap at 255, nearness within 10 per channel, averages.
#include "ui/color.h"

#include <gtest/gtest.h>

TEST(Color, ScaleRoundsAndCaps) {
    struct Case {
        Color color;
        int32_t percent;
        Color expected;
    } cases[] = {
        {0x808080, 150, 0xC0C0C0},   {0x808080, 250, 0xFFFFFF},
        {0x0A0B0C, 50, 0x050606}, // 5.5 and 6.0 round up, 5.0 stays
        {0x102030, 0, 0x000000},     {0x102030, -50, 0x000000},
        {0xFF123456, 100, 0x123456}, // the byte above the colour is not a channel
    };
    for (const Case &c : cases) EXPECT_EQ(ColorScale(c.color, c.percent), c.expected) << std::hex << c.color;
}

TEST(Color, NearWithinTenPerChannel) {
    struct Case {
        Color a, b;
        bool near;
    } cases[] = {
        {0x000000, 0x0A0A0A, true}, {0x000000, 0x0B0000, false}, {0x000000, 0x00000B, false},
        {0x0A0A0A, 0x000000, true}, {0x808080, 0x767676, true},  {0xFFFFFF, 0xF4FFFF, false},
    };
    for (const Case &c : cases) EXPECT_EQ(ColorNear(c.a, c.b), c.near) << std::hex << c.a << " " << c.b;
}

TEST(Color, AverageRoundsUp) {
    EXPECT_EQ(ColorAverage(0x000000, 0xFFFFFF), 0x808080u);
    EXPECT_EQ(ColorAverage(0x010203, 0x020304), 0x020304u);
    EXPECT_EQ(ColorAverage(0x102030, 0x102030), 0x102030u);
}
