// Syllables: splits, matching in any order without reuse, and the small shared helpers' edge cases.
#include "base/syllable.h"
#include "base/utilil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static std::vector<std::string> Split(const char *id) {
    SyllableSplitRec s;
    std::vector<std::string> out;
    int n = SyllableSplit(id, &s);
    for (int i = 0; i < n; i++) {
        char buf[256];
        SyllableGet(&s, i, buf);
        out.push_back(buf);
    }
    return out;
}

TEST(Syllable, Splits) {
    struct Case {
        const char *id;
        std::vector<std::string> syllables;
    } cases[] = {
        {"FindWindowEx", {"Find", "Window", "Ex"}},
        {"find_window", {"Find", "Window"}},
        {"xPos", {"Pos"}},
        {"HTMLFile", {"HTML", "File"}},
        {"__init__", {"Init"}},
        {"a_b_c", {}},
        {"", {}},
        {"get2ndItem", {"get2nd", "Item"}},
    };
    for (const Case &c : cases) EXPECT_EQ(Split(c.id), c.syllables) << c.id;
}

TEST(Syllable, SplitStopsAtTwenty) {
    std::string id;
    for (int i = 0; i < 30; i++) id += "Ab";
    EXPECT_EQ(Split(id.c_str()).size(), 20u);
    std::string longId(400, 'a');
    EXPECT_EQ(Split(longId.c_str()), std::vector<std::string>{std::string(255, 'a').replace(0, 1, "A")});
}

TEST(Syllable, Match) {
    struct Case {
        const char *typed, *name;
        int match;
    } cases[] = {
        {"FiWi", "FindWindow", 1}, {"FiWi", "find_window", 1}, {"WiFi", "FindWindow", 1},
        {"FiFi", "FindWindow", 0}, {"fiwi", "FindWindow", 0},  {"FiFi", "FindFile", 1},
        {"Pos", "xPos", 1},        {"", "Anything", 1},
    };
    for (const Case &c : cases) {
        SyllableSplitRec typed, name;
        SyllableSplit(c.typed, &typed);
        SyllableSplit(c.name, &name);
        EXPECT_EQ(SyllableMatch(&typed, &name), c.match) << c.typed << " / " << c.name;
    }
}

TEST(Helpers, RangesAndFold) {
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

TEST(Helpers, StringCopiesStayInBounds) {
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
