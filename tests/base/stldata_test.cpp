// Data items: a block behind the string (negative index appends, sizes, the block and the string out), and a
// block taken from the list's own item while the pool grows.
#include "base/stldata.h"
#include "base/utilil.h"
#include "stltest.h"

#include <gtest/gtest.h>

TEST(StlData, BlocksBehindTheString) {
    Stl *list = StlOf({"plain"});
    unsigned char pstr[256];
    ASSERT_EQ(StlDataInsert(list, -5, PstrFromSz("key", pstr), 7, "0123456789", 10), 1) << "negative appends";
    EXPECT_EQ(StlItemSize(list, 1), 18);
    EXPECT_EQ(StlDataSize(list, 1), 10);
    char block[16] = {};
    unsigned char *data = StlDataGet(list, 1, pstr, block);
    EXPECT_EQ(std::string((char *)data, 10), "0123456789");
    EXPECT_EQ(std::string(block), "0123456789");
    EXPECT_EQ(std::string((char *)pstr + 1, pstr[0]), "key");
    EXPECT_EQ(StlDataSize(list, 0), 0);

    // A block taken from the list's own item stays intact while the pool grows.
    ASSERT_EQ(StlDataInsertSz(list, 0, "again", 8, StlDataGet(list, 1, nullptr, nullptr), 10), 1);
    EXPECT_EQ(std::string((char *)StlDataGet(list, 0, nullptr, nullptr), 10), "0123456789");
    EXPECT_TRUE(StlCheck(list));
    StlFree(list);
}
