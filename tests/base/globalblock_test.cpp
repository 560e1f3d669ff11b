// Global blocks: zero-filled, freed (null too), and the failure seam: count allocations fail from the nth on.
#include "base/globalblock.h"

#include <gtest/gtest.h>

#include <string>

TEST(GlobalBlock, ZeroFilledAndFailingOnRequest) {
    unsigned char *block = (unsigned char *)GlobalBlockAlloc(4096);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string((char *)block, 4096), std::string(4096, 0));
    GlobalBlockFree(block);
    GlobalBlockFree(nullptr);

    GlobalBlockFailNth(2, 2);
    std::string pattern;
    for (int i = 0; i < 5; i++) {
        void *b = GlobalBlockAlloc(16);
        pattern += b ? '.' : 'x';
        GlobalBlockFree(b);
    }
    EXPECT_EQ(pattern, ".xx..");
}
