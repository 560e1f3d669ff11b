// Length-prefixed strings: conversions in place cut at 255 (never a wrapped length), appends and appends cut
// at a maximum, handle copies, and the prefix test against a C string.
#include "base/pstr.h"

#include "strtest.h"

#include <gtest/gtest.h>

#include <string>

TEST(Pstr, ConversionsAndAppends) {
    char text[400];
    strcpy(text, "hello");
    EXPECT_EQ(Pstr(PstrFromSzInPlace(text)), "hello");
    std::string longText(300, 'x');
    strcpy(text, longText.c_str());
    EXPECT_EQ(PstrFromSzInPlace(text)[0], 255) << "a long string is cut, not given a wrapped length";
    strcpy(text, longText.c_str());
    EXPECT_EQ(PstrFromSzInPlaceCut(text)[0], 255);

    unsigned char a[256], b[256];
    MakePstr(std::string(200, 'a'), a);
    MakePstr(std::string(100, 'b'), b);
    PstrAppend(b, a);
    EXPECT_EQ(a[0], 255);
    EXPECT_EQ(Pstr(a), std::string(200, 'a') + std::string(55, 'b'));
}

// A source that does not fit is cut at max; the length byte never says more than was written, and at max
// 255 it must not wrap to 0.
TEST(Pstr, AppendMaxCutsAtMax) {
    struct Case {
        std::string dst, src;
        int max;
        std::string result;
        int fits;
    } cases[] = {
        {"abc", "de", 10, "abcde", 1},
        {"abc", "defgh", 5, "abcde", 0},
        {"abc", "", 3, "abc", 1},
        {std::string(250, 'a'), "bcdefgh", 255, std::string(250, 'a') + "bcdef", 0},
    };
    for (const Case &c : cases) {
        unsigned char buf[300], src[256];
        memset(buf, '#', sizeof buf);
        MakePstr(c.dst, buf);
        MakePstr(c.src, src);
        EXPECT_EQ(PstrAppendMax(src, buf, c.max), c.fits) << c.result;
        EXPECT_EQ(Pstr(buf), c.result);
        EXPECT_EQ(buf[c.max + 1], '#') << "nothing written past max";
    }
}

TEST(Pstr, HandleCopies) {
    int32_t live = HLiveCount();
    Handle *h = PstrHandleFromSz(std::string(300, 'q').c_str());
    EXPECT_EQ(((unsigned char *)HLock(h))[0], 255);
    HFree(h);
    h = PstrHandleFromSzNul("abcdef");
    EXPECT_EQ(std::string((char *)HLock(h) + 1), "abcdef") << "followed by a NUL";
    HFree(h);
    unsigned char p[8];
    MakePstr("xy", p);
    h = PstrHandleDup(p);
    EXPECT_EQ(memcmp(HLock(h), p, 3), 0);
    HFree(h);
    EXPECT_EQ(HLiveCount(), live);
}

TEST(Pstr, PrefixOfACString) {
    unsigned char p[8];
    MakePstr("abcdef", p);
    EXPECT_TRUE(PstrHasPrefixSz(p, "abc"));
    EXPECT_FALSE(PstrHasPrefixSz(p, "abcdefg"));
}
