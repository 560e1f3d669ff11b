// Integer arithmetic without overflow: a x b / c in 64 bits, saturated, with division by zero; rounded and
// ceiling division; percentages; bit lengths.
#include "base/num.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Num, MulDivAndRounding) {
    struct Case {
        int32_t a, b, c, result;
    } cases[] = {
        {1000000, 1000000, 1000000, 1000000},
        {5, 7, 0, INT_MAX},
        {0, 7, 0, INT_MAX},
        {1, 1 << 30, 2, 1 << 29}, // a small a and a large b lose nothing
        {3, 0x7fffffff, 3, 0x7fffffff},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 2, 1, INT_MAX}, // too large: saturated
        {-INT_MAX, 2, 1, -INT_MAX},
        {INT_MIN, 1, -1, INT_MAX},
        {7, 1, 2, 4},
        {-7, 1, 2, -4},
        {7, -1, 2, -4},
        {7, 1, -2, -4},
        {-7, -1, -2, -4},
        {5, 1, 3, 2},
        {0, 123, 7, 0},
        {255, 40, 100, 102},
        {46341, 46341, 1, INT_MAX},
        {123456, 654321, 1000, 80779853},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumMulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;

    struct Div {
        int32_t a, b, round, ceil;
    } divs[] = {
        {7, 2, 4, 4},
        {6, 2, 3, 3},
        {-7, 2, -4, -3},
        {7, -2, -4, -3},
        {-7, -2, 4, 4},
        {1, 3, 0, 1},
        {0, 5, 0, 0},
        {9, 0, INT_MAX, INT_MAX},
        {INT_MIN, -1, INT_MAX, INT_MAX},
    };
    for (const Div &c : divs) {
        EXPECT_EQ(NumDivRound(c.a, c.b), c.round) << c.a << "/" << c.b;
        EXPECT_EQ(NumDivCeil(c.a, c.b), c.ceil) << c.a << "/" << c.b;
    }

    struct Percent {
        int32_t part, whole, result;
    } percents[] = {{0, 0, 0}, {5, 0, 100}, {1, 3, 33}, {2, 3, 67}, {50, 50, 100}, {INT_MAX, INT_MAX, 100}};
    for (const Percent &c : percents)
        EXPECT_EQ(NumPercentOf(c.part, c.whole), c.result) << c.part << "/" << c.whole;

    struct Bits {
        uint32_t v;
        int n;
    } bits[] = {{0, 0}, {1, 1}, {2, 2}, {255, 8}, {256, 9}, {0x80000000u, 32}, {0xffffffffu, 32}};
    for (const Bits &c : bits) EXPECT_EQ(BitLength(c.v), c.n) << c.v;
}
