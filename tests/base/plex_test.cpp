// Plex: insertion and deletion against a std::vector model, growth by quantum, the auto-shrink thresholds,
// failed growth leaving the plex unchanged, binary search bounds, duplicates with extra header fields.
#include "base/erc.h"
#include "base/plex.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

static std::vector<int32_t> PlexInts(const Plex *p) {
    return std::vector<int32_t>((int32_t *)p->elem0, (int32_t *)p->elem0 + p->count);
}

TEST(Plex, MatchesVectorModel) {
    Plex *p = PlexCreate(4, 0, 1);
    ASSERT_NE(p, nullptr);
    std::vector<int32_t> model;
    std::mt19937 rng(7);
    for (int step = 0; step < 3000; step++) {
        int n = (int)(rng() % 5) + 1;
        if (rng() % 3 || model.size() < 5) {
            int at = (int)(rng() % (model.size() + 1));
            std::vector<int32_t> src(n);
            for (int32_t &v : src) v = (int32_t)rng();
            bool append = rng() % 8 == 0;
            int32_t *first = (int32_t *)PlexInsert(p, append ? -1 : at, n, src.data());
            ASSERT_NE(first, nullptr);
            if (append) at = (int)model.size();
            ASSERT_EQ(first, (int32_t *)PlexElem(p, at));
            model.insert(model.begin() + at, src.begin(), src.end());
        } else {
            int at = (int)(rng() % model.size());
            n = std::min<int>(n, (int)model.size() - at);
            PlexDelete(p, at, n);
            model.erase(model.begin() + at, model.begin() + at + n);
        }
        ASSERT_TRUE(PlexCheck(p));
        ASSERT_EQ(PlexInts(p), model);
    }
    PlexFree(p);
}

TEST(Plex, InsertReturnsFirstNewElementAndZeroFills) {
    Plex *p = PlexCreate(4, 0, 0);
    EXPECT_EQ(HSize(p->data), 4u);
    int32_t v[3] = {1, 2, 3};
    PlexInsert(p, -1, 3, v);
    int32_t *at = (int32_t *)PlexInsert(p, 3, 2, nullptr);
    EXPECT_EQ(at, (int32_t *)PlexElem(p, 3));
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{1, 2, 3, 0, 0}));
    at = (int32_t *)PlexInsert(p, 1, 1, v + 2);
    EXPECT_EQ(*at, 3);
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{1, 3, 2, 3, 0, 0}));
    PlexFree(p);
}

TEST(Plex, GrowthByQuantum) {
    struct Case {
        int32_t quantum, start, add, capacity;
    } cases[] = {{16, 0, 1, 16}, {16, 0, 40, 40}, {0, 5, 1, 6}, {16, 16, 1, 32}};
    for (const Case &c : cases) {
        Plex *p = PlexCreate(4, c.start, 0);
        PlexSetGrowth(p, c.quantum);
        PlexSetCount(p, c.start);
        ASSERT_EQ(PlexSetCount(p, c.start + c.add), 1);
        EXPECT_EQ(p->capacity, c.capacity) << "quantum " << c.quantum << " +" << c.add;
        PlexFree(p);
    }
}

TEST(Plex, AutoShrinkThresholds) {
    struct Case {
        int32_t quantum, spare;
        bool shrinks;
    } cases[] = {{0, 10, false}, {0, 11, true}, {20, 15, false}, {20, 20, false}, {20, 21, true}};
    for (const Case &c : cases) {
        Plex *p = PlexCreate(4, 0, 1);
        PlexSetGrowth(p, c.quantum);
        PlexSetCount(p, 40);
        int32_t cap = p->capacity;
        PlexDelete(p, 0, c.spare - (cap - 40));
        EXPECT_EQ(p->capacity, c.shrinks ? p->count : cap) << "quantum " << c.quantum << " spare " << c.spare;
        EXPECT_TRUE(PlexCheck(p));
        PlexFree(p);
    }
}

TEST(Plex, FailedGrowthLeavesPlexUnchanged) {
    Plex *p = PlexCreate(4, 0, 0);
    int32_t v[4] = {9, 8, 7, 6};
    PlexInsert(p, -1, 4, v);
    void *elem0 = p->elem0;
    ErcClear();
    HeapSetSizeLimit(64);
    EXPECT_EQ(PlexInsert(p, 0, 100, nullptr), nullptr);
    HeapSetSizeLimit(0);
    EXPECT_EQ(p->count, 4);
    EXPECT_EQ(p->capacity, 4);
    EXPECT_EQ(p->elem0, elem0);
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{9, 8, 7, 6}));
    EXPECT_EQ(ErcGet(), ercLowMemory);
    EXPECT_TRUE(ErcLowMemorySeen());
    ErcClear();
    PlexFree(p);
}

static int CompareKeyInt(const void *key, const void *elem) {
    return *(const int32_t *)key - *(const int32_t *)elem;
}

TEST(Plex, SearchBoundsAndSort) {
    Plex *p = PlexCreate(4, 0, 0);
    int32_t key = 5, at = -1;
    EXPECT_EQ(PlexSearch(p, &key, &at, CompareKeyInt), 0);
    EXPECT_EQ(at, 0);
    int32_t v[5] = {40, 10, 30, 20, 50};
    PlexInsert(p, -1, 5, v);
    PlexSortInt(p);
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{10, 20, 30, 40, 50}));
    struct Case {
        int32_t key, found, index;
    } cases[] = {{5, 0, 0}, {10, 1, 0}, {25, 0, 2}, {50, 1, 4}, {99, 0, 5}};
    for (const Case &c : cases) {
        EXPECT_EQ(PlexSearch(p, &c.key, &at, CompareKeyInt), c.found) << c.key;
        EXPECT_EQ(at, c.index) << c.key;
    }
    PlexFree(p);
}

struct PlexWithExtras {
    Plex plex;
    int32_t extra[3];
};

TEST(Plex, DupCopiesExtraHeaderAndTrimsCapacity) {
    Plex *p = PlexCreateEx(sizeof(PlexWithExtras), 2, 50, 1);
    ((PlexWithExtras *)p)->extra[0] = 11;
    ((PlexWithExtras *)p)->extra[2] = 33;
    PlexSetGrowth(p, 7);
    PlexInsert(p, -1, 3, "abcdef");
    Plex *d = PlexDup(p, sizeof(PlexWithExtras));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->capacity, 3);
    EXPECT_EQ(d->quantum, 7);
    EXPECT_EQ(d->flags, PLEX_AUTOSHRINK);
    EXPECT_EQ(((PlexWithExtras *)d)->extra[0], 11);
    EXPECT_EQ(((PlexWithExtras *)d)->extra[2], 33);
    EXPECT_EQ(memcmp(d->elem0, "abcdef", 6), 0);
    PlexFree(d);
    PlexClear(p);
    EXPECT_EQ(p->capacity, 0) << "clear trims an auto-shrinking plex";
    EXPECT_TRUE(PlexCheck(p));
    PlexFree(p);
}
