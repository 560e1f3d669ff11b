// The name dictionary: the duplicate rule of hashed and sorted dictionaries, names longer than 255
// characters found again, the sorted form kept in identifier order; a hashed find ignores ASCII case only.
#include "base/dd.h"
#include "stltest.h"

#include <gtest/gtest.h>

#include <string>

TEST(Dd, DuplicateRule) {
    struct Case {
        int32_t buckets;
        int secondAdded;
        int32_t count, found;
    } cases[] = {{0, 0, 1, 1}, {17, 1, 2, 2}};
    for (const Case &c : cases) {
        Stl *dd = DdCreate(0, 0, c.buckets);
        int32_t one = 1, two = 2, value = 0;
        EXPECT_EQ(DdAdd(dd, "name", &one), 1);
        EXPECT_EQ(DdAdd(dd, "NAME", &two), c.secondAdded) << "buckets " << c.buckets;
        EXPECT_EQ(StlCount(dd), c.count);
        EXPECT_EQ(DdLookup(dd, "Name", &value), 1);
        EXPECT_EQ(value, c.found) << "a hashed find returns the name stored last";
        EXPECT_EQ(DdLookup(dd, "other", &value), 0);
        EXPECT_EQ(DdFind(dd, "nam"), nullptr);
        EXPECT_TRUE(StlCheck(dd));
        StlFree(dd);
    }
}

// A name longer than 255 characters is cut alike when added and when looked up, in either kind of dictionary.
TEST(Dd, LongNamesAreFoundAgain) {
    std::string longName(300, 'd');
    for (int32_t buckets : {0, 5}) {
        Stl *dd = DdCreate(0, 0, buckets);
        int32_t three = 3, value = 0;
        ASSERT_EQ(DdAdd(dd, longName.c_str(), &three), 1);
        EXPECT_EQ(DdLookup(dd, longName.c_str(), &value), 1) << "buckets " << buckets;
        EXPECT_EQ(value, 3);
        StlFree(dd);
    }
}

TEST(Dd, SortedDictionaryStaysSorted) {
    Stl *dd = DdCreate(0, 0, 0);
    int32_t v = 0;
    for (const char *s : {"m", "_a", "z", "a", "b"}) DdAdd(dd, s, &++v);
    EXPECT_EQ(StlStrings(dd), (std::vector<std::string>{"a", "_a", "b", "m", "z"}));
    StlFree(dd);
}

// A hashed dictionary compares names ignoring ASCII case and nothing more: "x{y" is another name than "x[y",
// though the two share a bucket.
TEST(Dd, HashedFindIgnoresAsciiCaseOnly) {
    Stl *dd = DdCreate(0, 0, 11);
    int32_t one = 1, two = 2, value = 0;
    ASSERT_EQ(DdAdd(dd, "x[y", &one), 1);
    EXPECT_EQ(DdFind(dd, "x{y"), nullptr);
    EXPECT_EQ(DdLookup(dd, "x{y", &value), 0);
    EXPECT_EQ(DdLookup(dd, "X[Y", &value), 1);
    EXPECT_EQ(value, 1);
    ASSERT_EQ(DdAdd(dd, "x{y", &two), 1);
    EXPECT_EQ(DdLookup(dd, "x[y", &value), 1);
    EXPECT_EQ(value, 1) << "the newer name is another one";
    EXPECT_EQ(DdLookup(dd, "X{Y", &value), 1);
    EXPECT_EQ(value, 2);
    EXPECT_TRUE(StlCheck(dd));
    StlFree(dd);
}
