// Line lexer cache:
// - a new cache has one zero entry per line and nothing valid; setting states widens the valid range;
//   syncing follows the line count; entries past the end read 0; the line flags;
// - change notices: 31 lines of open constructs above a change reset the cache, 10 truncate it at the clean
//   line above; inserted lines take the state of the line above and invalidate from there; a deletion past
//   the end of a short cache resets it; a whole-buffer change resets; nothing changes while suspended;
// - with "NoLineLexCache" set, a scanner that follows the cache's protocol finds the same states, starting
//   from line 0 each time.
#include "doc/dlex.h"

#include "base/os.h"
#include "doc/doc.h"
#include "doc/span.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : uint32_t { OPEN = 0x10 }; // a range-nesting bit: an open comment

class LexCacheTest : public testing::Test {
protected:
    void SetUp() override { VxOpenSettings(); }
    void TearDown() override {
        LexCacheDelete(cache);
        OsSettingDelete("NoLineLexCache");
        LexCacheForgetSwitch();
    }
    // A cache over n lines, every state valid: the states given, 0 for the rest.
    void Make(int32_t n, const std::vector<uint32_t> &states = {}) {
        doc.lnMac = n;
        cache = LexCacheNew(&doc, nullptr);
        ASSERT_NE(cache, nullptr);
        for (int32_t i = 0; i < n; i++)
            LexCacheSetState(cache, i, i < (int32_t)states.size() ? states[i] : 0);
    }
    // Lines first..first + n - 1 carry an open construct.
    static std::vector<uint32_t> Open(int32_t total, int32_t first, int32_t n) {
        std::vector<uint32_t> states(total, 0);
        for (int32_t i = first; i < first + n; i++) states[i] = OPEN;
        return states;
    }
    uint32_t State(int32_t line) {
        uint32_t state;
        LexCacheGetState(cache, line, &state);
        return state;
    }
    FileBuffer doc{};
    LineLexCache *cache = nullptr;
};

TEST_F(LexCacheTest, StatesAndTheValidRange) {
    doc.lnMac = 8;
    cache = LexCacheNew(&doc, nullptr);
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(LexCacheGetStamp(cache), -1);
    EXPECT_EQ(PlexCount(cache->hplexState), 8);
    EXPECT_EQ(LexCacheNearestValid(cache, 3), -1);
    EXPECT_TRUE(LexCacheSetState(cache, 3, 0x12345)) << "only the low 16 bits are the state";
    EXPECT_EQ(State(3), 0x2345u);
    EXPECT_TRUE(LexCacheSetState(cache, 4, 7));
    EXPECT_TRUE(LexCacheSetState(cache, 2, 1));
    EXPECT_EQ(cache->lnValidFirst, 2);
    EXPECT_EQ(cache->lnValidLim, 5);
    EXPECT_EQ(LexCacheNearestValid(cache, 3), 3);
    EXPECT_EQ(LexCacheNearestValid(cache, 7), 4) << "past the range: its last line";
    EXPECT_EQ(LexCacheNearestValid(cache, 1), -1);
    LexCacheSetState(cache, 6, 1);
    EXPECT_EQ(cache->lnValidFirst, 6) << "a line outside the range starts a new one";
    EXPECT_EQ(cache->lnValidLim, 7);

    *LexCacheEntry(cache, 5) = LEX_LINE_SKIPPED | 9;
    *LexCacheEntry(cache, 6) |= LEX_LINE_REGION;
    *LexCacheEntry(cache, 7) = LEX_LINE_REGION | LEX_LINE_NOT_REGION;
    EXPECT_TRUE(LexCacheLineSkipped(cache, 5));
    EXPECT_TRUE(LexCacheLineRegionStart(cache, 6));
    EXPECT_FALSE(LexCacheLineRegionStart(cache, 7)) << "bit 3 takes the region back";
    LexCacheSetState(cache, 6, 2);
    EXPECT_TRUE(LexCacheLineRegionStart(cache, 6)) << "a new state keeps the line's flags";

    uint32_t entry;
    EXPECT_FALSE(LexCacheGetEntry(cache, 8, &entry));
    EXPECT_EQ(entry, 0u);
    EXPECT_FALSE(LexCacheLineSkipped(cache, 99));
    doc.lnMac = 12;
    EXPECT_TRUE(LexCacheSetState(cache, 10, 3)) << "syncing first makes room";
    EXPECT_EQ(PlexCount(cache->hplexState), 12);
    doc.lnMac = 4;
    EXPECT_TRUE(LexCacheSync(cache));
    EXPECT_EQ(PlexCount(cache->hplexState), 4) << "the excess entries go as a deletion takes them";
    EXPECT_EQ(cache->lnValidLim, 4);
}

TEST_F(LexCacheTest, OpenConstructsAboveAChange) {
    Make(60, Open(60, 9, 32)); // line 40 and the 31 lines above it open
    LexCacheOnChange(cache, 5, 40, 40);
    EXPECT_EQ(PlexCount(cache->hplexState), 0) << "more than 30 lines to look back over: reset";
    EXPECT_EQ(cache->lnValidLim, 0);
    LexCacheDelete(cache);

    Make(60, Open(60, 30, 11)); // line 40 and the 10 lines above it open, line 29 clean
    LexCacheOnChange(cache, 5, 40, 40);
    EXPECT_EQ(cache->lnValidFirst, 0);
    EXPECT_EQ(cache->lnValidLim, 29) << "valid up to the clean line";
    EXPECT_EQ(PlexCount(cache->hplexState), 60);
    LexCacheDelete(cache);

    Make(60, Open(60, 0, 11)); // open from the top
    LexCacheOnChange(cache, 1, 10, 10);
    EXPECT_EQ(cache->lnValidLim, 0) << "the walk reached line 0";
    LexCacheDelete(cache);

    Make(60, Open(60, 30, 10)); // the changed line itself opens nothing: no look-back
    LexCacheOnChange(cache, 5, 40, 40);
    EXPECT_EQ(cache->lnValidLim, 40);
}

TEST_F(LexCacheTest, InsertedAndDeletedLines) {
    std::vector<uint32_t> states;
    for (uint32_t i = 0; i < 10; i++) states.push_back(i + 1);
    Make(10, states);
    doc.lnMac = 12;
    LexCacheOnChange(cache, 1, 6, 7); // two lines inserted after line 5
    EXPECT_EQ(PlexCount(cache->hplexState), 12);
    EXPECT_EQ(State(6), 6u) << "the state of line 5";
    EXPECT_EQ(State(7), 6u);
    EXPECT_EQ(State(8), 7u) << "line 6 moved down";
    EXPECT_EQ(cache->lnValidLim, 6);
    EXPECT_EQ(LexCacheNearestValid(cache, 9), 5);

    LexCacheOnChange(cache, 2, 2, 3);
    EXPECT_EQ(PlexCount(cache->hplexState), 10);
    EXPECT_EQ(State(2), 5u);
    EXPECT_EQ(cache->lnValidLim, 2);
    LexCacheOnChange(cache, 4, 0, 0x7FFFFFFE);
    EXPECT_EQ(PlexCount(cache->hplexState), 0);

    LexCacheDelete(cache);
    Make(10, states);
    doc.lnMac = 20; // the buffer grew; the cache did not follow yet
    LexCacheOnChange(cache, 2, 8, 14);
    EXPECT_EQ(PlexCount(cache->hplexState), 0) << "a deletion past the end of a short cache resets it";

    LexCacheDelete(cache);
    Make(10, states);
    LexCacheSuspend(cache);
    LexCacheOnChange(cache, 4, 0, 0x7FFFFFFE);
    EXPECT_FALSE(LexCacheSetState(cache, 3, 9));
    EXPECT_EQ(State(3), 4u) << "nothing changes while suspended";
    EXPECT_EQ(LexCacheResume(cache), 0);
    LexCacheOnChange(cache, 1, 30, 31);
    EXPECT_EQ(PlexCount(cache->hplexState), 10) << "a change below the cache's end is not its business";
}

// A scanner as the language layer drives the cache: the next line's state toggles OPEN on lines holding a
// quote, and stays otherwise.
struct Scanner {
    std::vector<std::string> lines;
    int scanned = 0;
    uint32_t StateAt(LineLexCache *cache, int32_t line) {
        int32_t from = LexCacheNearestValid(cache, line);
        uint32_t state = 0;
        if (from < 0)
            from = 0;
        else
            LexCacheGetState(cache, from, &state);
        for (int32_t l = from; l < line; l++) {
            scanned++;
            if (lines[l].find('"') != std::string::npos) state ^= OPEN;
            LexCacheSetState(cache, l + 1, state);
        }
        return state;
    }
};

TEST_F(LexCacheTest, SwitchOffScansFromTheTop) {
    Scanner scanner;
    for (int i = 0; i < 40; i++) scanner.lines.push_back(i % 7 == 3 ? "\"" : "x");
    doc.lnMac = 40;
    std::vector<uint32_t> with, without;
    cache = LexCacheNew(&doc, nullptr);
    LexCacheSetState(cache, 0, 0);
    for (int32_t line : {10, 20, 30, 35}) with.push_back(scanner.StateAt(cache, line));
    int scannedWith = scanner.scanned;
    EXPECT_EQ(scannedWith, 35) << "each request goes on from the last valid line";

    OsSettingSetInt("NoLineLexCache", 1);
    LexCacheForgetSwitch();
    scanner.scanned = 0;
    LexCacheReset(cache);
    for (int32_t line : {10, 20, 30, 35}) without.push_back(scanner.StateAt(cache, line));
    EXPECT_EQ(with, without);
    EXPECT_EQ(scanner.scanned, 10 + 20 + 30 + 35) << "every request scans from line 0";
}

} // namespace
