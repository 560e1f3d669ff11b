// PlexVar: elements against a std::vector model (insert, delete, set, ensure-size, swap, sort) with pool
// accounting; pool growth and compaction; replace leaving unused bytes; storing a copy of the list's own
// bytes while the pool moves; failed growth leaving the list unchanged; search; duplicates, moves, clearing;
// the file form's round trip and a table of corrupt inputs.
#include "base/erc.h"
#include "base/plexvar.h"
#include "formtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

static std::string PvItem(const PlexVar *pv, int32_t i) {
    return std::string((const char *)PlexVarElem(pv, i), PlexVarLength(pv, i));
}

static std::vector<std::string> PvItems(const PlexVar *pv) {
    std::vector<std::string> items;
    for (int32_t i = 0; i < PlexVarCount(pv); i++) items.push_back(PvItem(pv, i));
    return items;
}

static int32_t PvPoolBytes(const std::vector<std::string> &model) {
    int32_t total = 0;
    for (const std::string &s : model) total += (int32_t)s.size() + 4;
    return total;
}

static int PvCompareBytes(const void *a, const void *b) {
    int32_t na = PlexVarDataLength(a), nb = PlexVarDataLength(b);
    int c = memcmp(a, b, std::min(na, nb));
    return c ? c : na - nb;
}

static void *PvInsert(PlexVar *pv, int32_t index, const std::string &s) {
    return PlexVarInsert(pv, index, s.data(), (int32_t)s.size());
}

TEST(PlexVar, MatchesVectorModel) {
    PlexVar *pv = PlexVarCreate(0, 1);
    ASSERT_NE(pv, nullptr);
    std::vector<std::string> model;
    std::mt19937 rng(11);
    auto randomString = [&] {
        std::string s(rng() % 40, 0);
        for (char &c : s) c = (char)(rng() % 256);
        return s;
    };
    for (int step = 0; step < 4000; step++) {
        int op = (int)(rng() % 10);
        int32_t n = (int32_t)model.size();
        int32_t at = n ? (int32_t)(rng() % n) : 0;
        if (op < 4 || n == 0) {
            std::string s = randomString();
            int32_t to = rng() % 4 ? (int32_t)(rng() % (n + 1)) : -1;
            ASSERT_NE(PvInsert(pv, to, s), nullptr);
            model.insert(to < 0 ? model.end() : model.begin() + to, s);
        } else if (op < 7) {
            PlexVarDelete(pv, at);
            model.erase(model.begin() + at);
        } else if (op == 7) {
            std::string s = rng() % 2 ? randomString() : std::string(model[at].size(), 'x');
            ASSERT_EQ(PlexVarSet(pv, at, s.data(), (int32_t)s.size()), 1);
            model[at] = s;
        } else if (op == 8) {
            int32_t grow = (int32_t)model[at].size() + (int32_t)(rng() % 5);
            unsigned char *data = (unsigned char *)PlexVarEnsureSize(pv, at, grow);
            ASSERT_NE(data, nullptr);
            // The bytes beyond the old ones are undefined: give them known values.
            memset(data + model[at].size(), 'e', grow - model[at].size());
            model[at].resize(grow, 'e');
        } else {
            int32_t b = (int32_t)(rng() % n);
            PlexVarSwap(pv, at, b);
            std::swap(model[at], model[b]);
        }
        if (step % 500 == 499) {
            PlexVarSort(pv, PvCompareBytes);
            std::sort(model.begin(), model.end());
        }
        ASSERT_TRUE(PlexVarCheck(pv)) << "step " << step;
        ASSERT_EQ(PvItems(pv), model) << "step " << step;
        ASSERT_EQ(pv->poolUsed, PvPoolBytes(model)) << "compaction leaves no holes";
    }
    PlexVarFree(pv);
}

TEST(PlexVar, PoolAccounting) {
    PlexVar *pv = PlexVarCreate(0, 0);
    EXPECT_EQ(pv->poolCapacity, 0);
    EXPECT_EQ(HSize(pv->pool), 4u) << "the handle minimum";
    ASSERT_NE(PlexVarInsert(pv, -1, "abc", 3), nullptr);
    EXPECT_EQ(pv->poolUsed, 7);
    EXPECT_EQ(pv->poolCapacity, 7 + 7 / 4) << "grows to need + need / 4";
    PlexVarDelete(pv, 0);
    EXPECT_EQ(pv->poolUsed, 0);
    EXPECT_EQ(PlexVarCount(pv), 0);
    PlexVarFree(pv);

    pv = PlexVarCreate(5, 0);
    EXPECT_EQ(pv->poolCapacity, 50) << "ten bytes per element of capacity";
    PlexVarFree(pv);
}

TEST(PlexVar, DeletingLowersLaterOffsets) {
    PlexVar *pv = PlexVarCreate(0, 0);
    PvInsert(pv, -1, "first");
    PvInsert(pv, -1, "second");
    PvInsert(pv, 0, "third"); // list order third, first, second; stored order first, second, third
    int32_t before = PlexVarOffset(pv, 2);
    PlexVarDelete(pv, 1);
    EXPECT_EQ(PlexVarOffset(pv, 1), before - 9);
    EXPECT_EQ(PvItems(pv), (std::vector<std::string>{"third", "second"}));
    EXPECT_TRUE(PlexVarCheck(pv));
    PlexVarFree(pv);
}

TEST(PlexVar, SetAndReplaceKeepTheIndex) {
    PlexVar *pv = PlexVarCreate(0, 0);
    PvInsert(pv, -1, "aaaa");
    PvInsert(pv, -1, "bb");
    int32_t offset = PlexVarOffset(pv, 0);
    ASSERT_EQ(PlexVarSet(pv, 0, "cccc", 4), 1);
    EXPECT_EQ(PlexVarOffset(pv, 0), offset) << "same length: copied over";
    ASSERT_EQ(PlexVarSet(pv, 0, "ddddd", 5), 1);
    EXPECT_GT(PlexVarOffset(pv, 0), PlexVarOffset(pv, 1)) << "another length: stored last, same index";
    EXPECT_EQ(PvItems(pv), (std::vector<std::string>{"ddddd", "bb"}));

    int32_t used = pv->poolUsed;
    ASSERT_NE(PlexVarReplace(pv, 0, "ee", 2), nullptr);
    EXPECT_EQ(PvItem(pv, 0), "eeddd") << "a shorter replacement keeps the length word";
    EXPECT_EQ(pv->poolUsed, used);
    ASSERT_NE(PlexVarReplace(pv, 1, "ffffff", 6), nullptr);
    EXPECT_EQ(PvItem(pv, 1), "ffffff");
    EXPECT_EQ(pv->poolUsed, used + 10) << "the old bytes stay behind, unused";
    EXPECT_TRUE(PlexVarCheck(pv));
    PlexVarDelete(pv, 0);
    EXPECT_EQ(PvItems(pv), (std::vector<std::string>{"ffffff"}));
    EXPECT_TRUE(PlexVarCheck(pv));
    PlexVarFree(pv);
}

// A source inside the pool must be found again after the pool grows and moves; a copy taken through the old
// pointer would read freed memory.
TEST(PlexVar, StoresItsOwnBytesWhileThePoolMoves) {
    PlexVar *pv = PlexVarCreate(0, 0);
    PvInsert(pv, -1, "hello, world");
    const int32_t big = 1 << 20;
    PlexVarPart parts[2] = {{PlexVarElem(pv, 0), 12}, {nullptr, big}};
    ASSERT_NE(PlexVarInsertParts(pv, -1, parts, 2), nullptr);
    EXPECT_EQ(PvItem(pv, 1).substr(0, 12), "hello, world");

    PvInsert(pv, 0, "abc");
    ASSERT_EQ(PlexVarSet(pv, 0, PlexVarElem(pv, 0), 2), 1) << "overlapping source, new length";
    EXPECT_EQ(PvItem(pv, 0), "ab");
    char *grown = (char *)PlexVarEnsureSize(pv, 0, big);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::string(grown, 2), "ab");
    EXPECT_TRUE(PlexVarCheck(pv));
    PlexVarFree(pv);
}

TEST(PlexVar, FailedGrowthLeavesTheListAsItWas) {
    struct Case {
        const char *what;
        int32_t capacity;
    } cases[] = {{"pool growth fails", 0}, {"offset growth fails after the pool had room", 1}};
    for (const Case &c : cases) {
        PlexVar *pv = PlexVarCreate(c.capacity, 0);
        PvInsert(pv, -1, "a");
        int32_t used = pv->poolUsed;
        HeapFailNth(1);
        EXPECT_EQ(PvInsert(pv, -1, "b"), nullptr) << c.what;
        HeapFailNth(0);
        ErcClear();
        EXPECT_EQ(PvItems(pv), (std::vector<std::string>{"a"})) << c.what;
        EXPECT_EQ(pv->poolUsed, used) << c.what;
        EXPECT_TRUE(PlexVarCheck(pv)) << c.what;
        PlexVarFree(pv);
    }
}

TEST(PlexVar, SearchGivesTheInsertionPlace) {
    PlexVar *pv = PlexVarCreate(0, 0);
    for (const char *s : {"delta", "alpha", "charlie", "bravo"}) PvInsert(pv, -1, s);
    PlexVarSort(pv, PvCompareBytes);
    EXPECT_EQ(PvItems(pv), (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
    auto searchKey = [](const void *key, const void *data) {
        return std::string((const char *)key)
            .compare(std::string((const char *)data, PlexVarDataLength(data)));
    };
    struct Case {
        const char *key;
        int found;
        int32_t index;
    } cases[] = {{"alpha", 1, 0}, {"charlie", 1, 2}, {"a", 0, 0}, {"c", 0, 2}, {"zulu", 0, 4}};
    for (const Case &c : cases) {
        int32_t index = -1;
        EXPECT_EQ(PlexVarSearch(pv, c.key, &index, searchKey), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    EXPECT_EQ(PlexVarIndexOf(pv, PlexVarElem(pv, 3)), 3);
    EXPECT_EQ(PlexVarIndexOf(pv, PlexVarElem(pv, 3) + 1), -1);
    char out[16];
    EXPECT_EQ(PlexVarCopyOut(pv, 1, out), 5);
    EXPECT_EQ(std::string(out, 5), "bravo");
    PlexVarFree(pv);
}

struct PvOwned {
    PlexVar pv;
    int32_t words[3];
};
// The header size of the file form counts the owner's words, not the record's tail padding.
static const int32_t pvOwnedHeader = sizeof(PlexVar) + 12;

TEST(PlexVar, DupMoveClearTrim) {
    PvOwned *owned = (PvOwned *)PlexVarCreateEx(sizeof(PvOwned), 2, 0);
    owned->words[0] = 7;
    owned->words[2] = -9;
    PvInsert(&owned->pv, -1, "one");
    PvInsert(&owned->pv, -1, "two");
    PvOwned *dup = (PvOwned *)PlexVarDup(&owned->pv, sizeof(PvOwned));
    ASSERT_NE(dup, nullptr);
    EXPECT_NE(dup->pv.pool, owned->pv.pool);
    EXPECT_EQ(dup->words[0], 7);
    EXPECT_EQ(dup->words[2], -9);
    PlexVarSet(&owned->pv, 0, "ONE", 3);
    EXPECT_EQ(PvItems(&dup->pv), (std::vector<std::string>{"one", "two"})) << "the copy owns its pool";
    EXPECT_TRUE(PlexVarCheck(&dup->pv));

    PlexVarMove(&owned->pv, &dup->pv);
    EXPECT_EQ(PvItems(&owned->pv), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(PlexVarCheck(&owned->pv));

    PlexVarTrim(&owned->pv);
    EXPECT_EQ(owned->pv.poolCapacity, owned->pv.poolUsed);
    EXPECT_EQ(HSize(owned->pv.pool), (uint32_t)owned->pv.poolUsed);
    PlexVarClear(&owned->pv);
    EXPECT_EQ(PlexVarCount(&owned->pv), 0);
    EXPECT_EQ(owned->pv.poolUsed, 0);
    EXPECT_EQ(owned->pv.poolCapacity, 0);
    EXPECT_TRUE(PlexVarCheck(&owned->pv));
    PvInsert(&owned->pv, -1, "again");
    EXPECT_TRUE(PlexVarCheck(&owned->pv));
    PlexVarFree(&owned->pv);
}

static PlexVar *PvSample() {
    PvOwned *owned = (PvOwned *)PlexVarCreateEx(sizeof(PvOwned), 0, 1);
    owned->words[0] = 0x11223344;
    owned->words[1] = -1;
    owned->pv.plex.quantum = 6;
    for (const char *s : {"zero", "", "two2", "three"}) PvInsert(&owned->pv, -1, s);
    PlexVarSwap(&owned->pv, 0, 3);
    return &owned->pv;
}

TEST(PlexVar, FileFormRoundTrip) {
    PlexVar *pv = PvSample();
    FormBytes bytes = FormWrite([&](int f) { return PlexVarWrite(pv, pvOwnedHeader, f); });
    ASSERT_EQ(bytes.size(), 44u + 12 + 4 * 4 + (size_t)pv->poolUsed);
    int32_t expected[11] = {4, pv->plex.capacity, 4, 6, 0, 0, 1, pv->poolUsed, pv->poolCapacity, 0, 0};
    for (int i = 0; i < 11; i++) EXPECT_EQ(FormGet32(bytes, 4 * i), expected[i]) << "header word " << i;

    PlexVar *back = nullptr;
    uint32_t end = 0;
    ASSERT_EQ(FormRead(
                  bytes, [&](int f) { return PlexVarRead(&back, pvOwnedHeader, f); }, &end),
              1);
    EXPECT_EQ(end, bytes.size());
    EXPECT_EQ(PvItems(back), PvItems(pv));
    EXPECT_EQ(back->poolCapacity, back->poolUsed);
    EXPECT_EQ(back->plex.capacity, 4);
    EXPECT_EQ(back->plex.quantum, 6);
    EXPECT_EQ(back->plex.flags, PLEX_AUTOSHRINK);
    EXPECT_EQ(((PvOwned *)back)->words[0], 0x11223344);
    EXPECT_EQ(((PvOwned *)back)->words[1], -1);
    EXPECT_TRUE(PlexVarCheck(back));
    PlexVarFree(back);
    PlexVarFree(pv);
}

TEST(PlexVar, ReadRefusesCorruptInput) {
    PlexVar *pv = PvSample();
    FormBytes good = FormWrite([&](int f) { return PlexVarWrite(pv, sizeof(PlexVar), f); });
    PlexVarFree(pv);
    const size_t offsets = 44, pool = offsets + 16;
    struct Case {
        const char *what;
        size_t at; // where to put the word, or the length to cut the file to when value is cut
        int32_t value;
        bool cut;
    } cases[] = {
        {"empty file", 0, 0, true},
        {"cut in the header", 30, 0, true},
        {"cut in the offsets", offsets + 6, 0, true},
        {"cut in the pool", good.size() - 1, 0, true},
        {"negative count", 0, -1, false},
        {"count beyond the file", 0, 1 << 20, false},
        {"count times four wraps", 0, 0x40000001, false},
        {"element size not 4", 8, 8, false},
        {"negative quantum", 12, -3, false},
        {"unknown flag bits", 24, 0x10, false},
        {"negative pool bytes", 28, -4, false},
        {"pool bytes beyond the file", 28, 1000, false},
        {"offset outside the pool", offsets + 4, 500, false},
        {"negative offset", offsets, -8, false},
        {"offset leaves no room for the length", offsets, 30, false},
        {"element length beyond the pool", pool, 100, false},
        {"negative element length", pool, -2, false},
        {"two offsets on one element", offsets + 8, 0, false},
        {"offset inside another element", offsets + 8, 2, false},
    };
    int32_t handles = HLiveCount();
    for (const Case &c : cases) {
        FormBytes bad = FormPatch(good, c.at, c.value, c.cut);
        PlexVar *out = (PlexVar *)&handles; // must stay untouched
        EXPECT_EQ(FormRead(bad, [&](int f) { return PlexVarRead(&out, sizeof(PlexVar), f); }), 0) << c.what;
        EXPECT_EQ(out, (PlexVar *)&handles) << c.what;
        EXPECT_EQ(HLiveCount(), handles) << c.what << ": nothing kept";
    }
}
