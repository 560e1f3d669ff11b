// Multi-entry items: up to ten sub-entries in one item (the first one's string is the item's), getting them
// back with missing ones left alone, splits into the caller's array or a fresh one, inserts that a null
// pointer ends early or that are refused, and data items whose block looks like a sub-entry.
#include "base/heap.h"
#include "base/plexvar.h"
#include "base/stldata.h"
#include "base/stlmult.h"
#include "base/utilil.h"
#include "stltest.h"

#include <gtest/gtest.h>

static std::vector<StlEntry> StlMultEntries(const unsigned char *item) {
    const unsigned char *subs[STL_MULT_MAX];
    std::vector<StlEntry> entries;
    for (int32_t i = 0; i < StlMultSplit(item, subs); i++)
        entries.push_back({StlItemString(subs[i]), StlItemValue(subs[i])});
    return entries;
}

TEST(StlMult, SubEntries) {
    Stl *list = StlCreateHashed(0, 11);
    ASSERT_EQ(StlMultInsert3(list, -1, "one", 1, "two", 2, "three", 3), 1);
    ASSERT_EQ(StlMultInsert2(list, 0, "alpha", 10, "beta", 20), 1);
    EXPECT_EQ(StlMultEntries(StlItem(list, 1)),
              (std::vector<StlEntry>{{"one", 1}, {"two", 2}, {"three", 3}}));
    EXPECT_EQ(StlMultCount(StlItem(list, 0)), 2);
    EXPECT_EQ(StlMultHasMore(StlItem(list, 0)), 1);
    EXPECT_EQ(StlFindIndex(list, "ALPHA", 0), 0) << "the first sub-entry's string is the item's";
    EXPECT_EQ(StlFindIndex(list, "beta", 0), -1);

    char s1[256], s2[256], s3[256] = "unset";
    int32_t v1 = 0, v2 = 0, v3 = -7;
    StlMultGet3(list, 0, s1, &v1, s2, &v2, s3, &v3);
    EXPECT_STREQ(s1, "alpha");
    EXPECT_EQ(v2, 20);
    EXPECT_STREQ(s3, "") << "a missing sub-entry gives an empty string";
    EXPECT_EQ(v3, -7) << "and leaves its value alone";

    for (int i = 0; i < 7; i++) ASSERT_EQ(StlMultAddSubSz(list, 1, "more", 100 + i), 1) << i;
    EXPECT_EQ(StlMultAddSubSz(list, 1, "eleventh", 0), 0) << "ten sub-entries at most";
    const unsigned char *subs[STL_MULT_MAX];
    EXPECT_EQ(StlMultSplitItem(list, 1, subs), 10);
    EXPECT_EQ(StlMultSize(10, subs), StlItemSize(list, 1));
    int32_t count = 0;
    EXPECT_EQ(StlMultSplitAlloc(StlItem(list, 1), subs, &count), subs) << "ten fit the caller's array";
    EXPECT_EQ(count, 10);
    const unsigned char **fresh = StlMultSplitAlloc(StlItem(list, 1), nullptr, &count);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(StlItemString(fresh[9]), "more");
    MemFree(fresh);
    EXPECT_TRUE(StlCheck(list));
    EXPECT_EQ(StlFindIndex(list, "one", 1), 1);
    StlFree(list);
}

TEST(StlMult, InsertLimitsAndForeignItems) {
    Stl *list = StlCreate(0);
    unsigned char a[260], c[260];
    PlexVarPut32(a, 1);
    PstrFromSz("a", a + 4);
    PlexVarPut32(c, 3);
    PstrFromSz("c", c + 4);
    const unsigned char *early[3] = {a, nullptr, c};
    ASSERT_EQ(StlMultInsert(list, -1, 3, early), 1);
    EXPECT_EQ(StlMultCount(StlItem(list, 0)), 1) << "a null pointer ends the sub-entries";
    const unsigned char *none[1] = {nullptr};
    EXPECT_EQ(StlMultInsert(list, -1, 1, none), 0);
    const unsigned char *eleven[11] = {a, a, a, a, a, a, a, a, a, a, a};
    EXPECT_EQ(StlMultInsert(list, -1, 11, eleven), 0);

    // A data item whose block looks like a sub-entry claiming more bytes than the item holds.
    unsigned char block[6] = {0, 0, 0, 0, 200, 'x'};
    unsigned char pstr[256];
    StlDataInsert(list, -1, PstrFromSz("k", pstr), 0, block, 6);
    EXPECT_EQ(StlMultCount(StlItem(list, 1)), 1);
    int32_t count = 0;
    const unsigned char *subs[STL_MULT_MAX];
    EXPECT_EQ(StlMultSplitAlloc(StlItem(list, 1), subs, &count), subs);
    EXPECT_EQ(count, 1);
    StlFree(list);
}
