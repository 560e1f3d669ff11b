// The small shared helpers: ranges (clamping either way round, averages, halves, half-open ranges), the case
// fold of case-blind comparison (every byte above 96 folds, letters or not), bounded string copies and
// length-prefixed strings cut at 255.
#include "base/utilil.h"

#include <gtest/gtest.h>

#include <string>

TEST(Utilil, RangesAndFold) {
    EXPECT_EQ(Clamp(5, 10, 0), 5);
    EXPECT_EQ(Clamp(-3, 10, 0), 0);
    EXPECT_EQ(Clamp(12, 0, 10), 10);
    EXPECT_EQ(ClampValue(12, 10, 0), 0) << "bounds not reordered";
    EXPECT_EQ(Average(-3, 0), -1);
    EXPECT_EQ(HalfUp(5), 3);
    EXPECT_TRUE(IntInRange(0, 0, 1));
    EXPECT_FALSE(IntInRange(1, 0, 1));
    EXPECT_EQ(CharCmpI('a', 'A'), 0);
    EXPECT_EQ(CharCmpI('{', '['), 0);
    EXPECT_LT(CharCmpI('A', 'b'), 0);
    EXPECT_TRUE(StrEqualI("Hello", "hELLO"));
    EXPECT_FALSE(StrEqualI("Hell", "Hello"));
}

TEST(Utilil, StringCopiesStayInBounds) {
    char buf[8];
    memset(buf, 'z', sizeof buf);
    EXPECT_EQ(StrCopyMaxLen("abcdefghij", buf, 7), 7);
    EXPECT_STREQ(buf, "abcdefg");
    // Both ends inside one array: two equal literals need not be one object.
    const char *range = "abcdef";
    StrCopyRange(range + 1, range + 5, buf, 3);
    EXPECT_STREQ(buf, "bc");
    unsigned char p[256];
    std::string longText(300, 'q');
    PstrFromSz(longText.c_str(), p);
    EXPECT_EQ(p[0], 255);
    PstrFromSzMax("abcdef", p, 3);
    EXPECT_EQ(p[0], 3);
    unsigned char q[4] = {3, 'a', 'b', 'c'};
    EXPECT_TRUE(PstrEqual(p, q));
    EXPECT_STREQ(StrChrEnd("abc", 'x'), "");
    EXPECT_STREQ(StrOrEmpty(nullptr), "");
}
