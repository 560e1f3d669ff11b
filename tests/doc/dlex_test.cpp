// Line lexer cache (least form): a change truncates the valid range at its first line, a whole-buffer change
// empties it, and nothing changes while the cache is suspended.
#include "doc/dlex.h"

#include <gtest/gtest.h>

namespace {

TEST(LexCache, ChangesTruncateTheValidRange) {
    LineLexCache *cache = LexCacheNew(nullptr, nullptr);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(LexCacheGetStamp(cache), -1);
    cache->lnValidFirst = 0;
    cache->lnValidLim = 100;
    LexCacheOnChange(cache, 5, 40, 40);
    EXPECT_EQ(cache->lnValidLim, 40);
    LexCacheSuspend(cache);
    LexCacheOnChange(cache, 4, 0, 0x7FFFFFFE);
    EXPECT_EQ(cache->lnValidLim, 40) << "ignored while suspended";
    LexCacheResume(cache);
    LexCacheOnChange(cache, 4, 0, 0x7FFFFFFE);
    EXPECT_EQ(cache->lnValidLim, 0);
    LexCacheDelete(cache);
}

} // namespace
