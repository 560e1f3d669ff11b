// String table blocks: slots against a std::vector model in every string layout (plain, with NUL, with extra
// bytes); growth by 10 slots and the capacity after deletion; storing in free slots; rotation; duplicate
// removal; a caller's string never written to; the block's own strings stored while it moves; trimming;
// searches and sorts; appending blocks; the file form's round trip and a table of corrupt blocks.
#include "base/erc.h"
#include "base/stb.h"
#include "base/stl.h"
#include "base/utilil.h"
#include "formtest.h"
#include "identcases.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

struct StbEntry {
    std::string s;
    int32_t v;
    bool operator==(const StbEntry &o) const { return s == o.s && v == o.v; }
};

static std::string StbString(const Stb *block, int32_t i) {
    const unsigned char *p = StbStringPtr(block, i);
    return std::string((const char *)p + 1, p[0]);
}

static std::vector<StbEntry> StbEntries(const Stb *block) {
    std::vector<StbEntry> entries;
    for (int32_t i = 0; i < StbCount(block); i++)
        entries.push_back({StbString(block, i), StbGetValue(block, i)});
    return entries;
}

static std::vector<std::string> StbStrings(const Stb *block) {
    std::vector<std::string> strings;
    for (const StbEntry &e : StbEntries(block)) strings.push_back(e.s);
    return strings;
}

static Stb *StbOf(const std::vector<const char *> &strings) {
    Stb *block = StbCreate(0, 0);
    int32_t v = 1;
    for (const char *s : strings) StbAppendSz(block, s, v++);
    return block;
}

TEST(Stb, MatchesVectorModel) {
    struct Layout {
        int32_t extra;
        int nul;
    } layouts[] = {{0, 0}, {0, 1}, {3, 0}, {2, 1}};
    for (const Layout &layout : layouts) {
        Stb *block = StbCreateEx(0, 0, layout.extra, layout.nul);
        ASSERT_NE(block, nullptr);
        std::vector<StbEntry> model;
        std::mt19937 rng(3 + layout.extra);
        for (int step = 0; step < 1500; step++) {
            int op = (int)(rng() % 8);
            int32_t n = (int32_t)model.size(), at = n ? (int32_t)(rng() % n) : 0, v = (int32_t)(rng() % 5);
            std::string s(rng() % 12, 0);
            for (char &c : s) c = (char)('a' + rng() % 3);
            unsigned char pstr[256];
            PstrFromSz(s.c_str(), pstr);
            if (op < 3 || n == 0) {
                int32_t to = rng() % 4 ? (int32_t)(rng() % (n + 1)) : -1;
                ASSERT_EQ(StbInsert(block, to, pstr, v), 1);
                model.insert(to < 0 ? model.end() : model.begin() + to, {s, v});
            } else if (op == 3) {
                StbDelete(block, at);
                model.erase(model.begin() + at);
            } else if (op == 4) {
                ASSERT_EQ(StbReplace(block, at, pstr, v), 1);
                model[at] = {s, v};
            } else if (op == 5) {
                StbClearSlot(block, at);
                model[at] = {"", 0};
            } else if (op == 6) {
                int dir = (int)(rng() % 3) - 1;
                StbRotate(block, dir);
                if (dir <= 0)
                    std::rotate(model.begin(), model.begin() + 1, model.end());
                else
                    std::rotate(model.rbegin(), model.rbegin() + 1, model.rend());
            } else {
                int32_t b = (int32_t)(rng() % n);
                StbSwapSlots(block, at, b);
                std::swap(model[at], model[b]);
            }
            ASSERT_TRUE(StbCheck(block))
                << "layout " << layout.extra << "/" << layout.nul << " step " << step;
            ASSERT_EQ(StbEntries(block), model) << "step " << step;
        }
        StbFree(&block);
        EXPECT_EQ(block, nullptr);
    }
}

TEST(Stb, GrowsByTenSlots) {
    Stb *block = StbCreate(0, 0);
    EXPECT_EQ(StbBytesUsed(block), 16);
    ASSERT_EQ(StbAppendSz(block, "a", 1), 1);
    EXPECT_EQ(StbCapacity(block), 10);
    EXPECT_EQ(StbStringPtr(block, 0) - (unsigned char *)block->ptr, 16 + 80)
        << "strings follow the ten slots";
    EXPECT_EQ(StbBytesUsed(block), 16 + 80 + 2);
    for (int i = 1; i < 10; i++) StbAppendSz(block, "b", 1);
    EXPECT_EQ(StbCapacity(block), 10);
    StbAppendSz(block, "c", 1);
    EXPECT_EQ(StbCapacity(block), 20);
    EXPECT_EQ(StbString(block, 0), "a") << "the string area moved up with its offsets";
    EXPECT_EQ(StbString(block, 10), "c");
    EXPECT_TRUE(StbCheck(block));
    StbFree(&block);
}

TEST(Stb, DeletingLowersTheCapacity) {
    Stb *block = StbCreate(64, 10);
    for (const char *s : {"one", "two", "three"}) StbAppendSz(block, s, 1);
    int32_t used = StbBytesUsed(block);
    StbDelete(block, 1);
    EXPECT_EQ(StbCapacity(block), 9);
    EXPECT_EQ(StbCount(block), 2);
    EXPECT_EQ(StbBytesUsed(block), used - 4 - 8);
    EXPECT_EQ(StbStrings(block), (std::vector<std::string>{"one", "three"}));
    EXPECT_TRUE(StbCheck(block));
    StbReset(block);
    EXPECT_EQ(StbCount(block), 0);
    EXPECT_EQ(StbBytesUsed(block), 16 + 8 * 9);
    StbFree(&block);
}

TEST(Stb, StoreInFreeSlots) {
    Stb *block = StbOf({"a", "b", "c"});
    StbSetValue(block, 1, 0);
    StbSetValue(block, 2, 0);
    unsigned char pstr[256];
    EXPECT_EQ(StbStoreInFree(block, PstrFromSz("x", pstr)), 1) << "the first slot with value 0";
    EXPECT_EQ(StbStoreInFreeN(block, "yz!", 2), 2);
    EXPECT_EQ(StbStoreInFree(block, PstrFromSz("w", pstr)), 3) << "none free: appended";
    EXPECT_EQ(StbEntries(block), (std::vector<StbEntry>{{"a", 1}, {"x", 1}, {"yz", 1}, {"w", 1}}));
    StbSetValue(block, 2, 0);
    EXPECT_EQ(StbNextUsed(block, 1), 3);
    EXPECT_EQ(StbNextUsed(block, -1), 0);
    EXPECT_EQ(StbNextUsed(block, 3), -1);
    StbFree(&block);
}

TEST(Stb, Rotation) {
    struct Case {
        int direction;
        std::vector<std::string> result;
    } cases[] = {{0, {"B", "C", "A"}}, {-4, {"B", "C", "A"}}, {1, {"C", "A", "B"}}, {9, {"C", "A", "B"}}};
    for (const Case &c : cases) {
        Stb *block = StbOf({"A", "B", "C"});
        StbRotate(block, c.direction);
        EXPECT_EQ(StbStrings(block), c.result) << c.direction;
        StbFree(&block);
    }
    Stb *empty = StbCreate(0, 0);
    StbRotate(empty, 0);
    EXPECT_EQ(StbCount(empty), 0);
    StbFree(&empty);
}

TEST(Stb, RemoveDuplicatesKeepsTheLastOfARun) {
    struct Case {
        std::vector<const char *> in;
        std::vector<StbEntry> out;
    } cases[] = {
        {{"a", "a", "b"}, {{"a", 2}, {"b", 3}}},
        {{"a", "a", "a"}, {{"a", 3}}},
        {{"a", "A", "b", "b"}, {{"a", 1}, {"A", 2}, {"b", 4}}},
        {{}, {}},
    };
    for (const Case &c : cases) {
        Stb *block = StbCreate(0, 0);
        int32_t v = 1;
        for (const char *s : c.in) StbAppendSz(block, s, v++);
        StbRemoveDuplicates(block);
        EXPECT_EQ(StbEntries(block), c.out);
        EXPECT_TRUE(StbCheck(block));
        StbFree(&block);
    }
}

// With trailing NULs the block once wrote the NUL into the caller's string, one byte past its characters.
TEST(Stb, CallersStringIsNeverWritten) {
    Stb *block = StbCreateEx(0, 0, 0, 1);
    unsigned char source[5] = {3, 'a', 'b', 'c', 'X'};
    ASSERT_EQ(StbInsert(block, -1, source, 1), 1);
    EXPECT_EQ(source[4], 'X');
    static const unsigned char constant[4] = {3, 'd', 'e', 'f'};
    ASSERT_EQ(StbInsert(block, 0, constant, 2), 1);
    unsigned char out[8];
    StbGet(block, 1, out, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(out, out + 5), (std::vector<unsigned char>{3, 'a', 'b', 'c', 0}));
    char text[8];
    StbGetString(block, 0, text);
    EXPECT_STREQ(text, "def");
    StbFree(&block);
}

// Replacing with one of the block's own strings while the block grows must copy it before the block moves.
TEST(Stb, StoresItsOwnStringsWhileItMoves) {
    Stb *block = StbCreate(0, 0);
    std::string big(250, 'g');
    for (int i = 0; i < 10; i++) StbAppendSz(block, i == 3 ? big.c_str() : "s", i);
    ASSERT_EQ(StbCount(block), StbCapacity(block)) << "the next insertion grows the block";
    ASSERT_EQ(StbReplace(block, 0, StbStringPtr(block, 3), 99), 1);
    EXPECT_EQ(StbString(block, 0), big);
    ASSERT_EQ(StbAppendAll(block, block), 1);
    EXPECT_EQ(StbCount(block), 20);
    EXPECT_EQ(StbString(block, 13), big);
    EXPECT_TRUE(StbCheck(block));
    StbFree(&block);
}

TEST(Stb, TrimDropsUnusedSlots) {
    Stb *block = StbCreate(100, 30);
    for (const char *s : {"x", "yy", "zzz"}) StbAppendSz(block, s, 5);
    ASSERT_EQ(StbTrim(block), 1);
    EXPECT_EQ(StbCapacity(block), 3);
    EXPECT_EQ(StbBytesUsed(block), 16 + 24 + 2 + 3 + 4);
    EXPECT_EQ(block->size, (uint32_t)StbBytesUsed(block));
    EXPECT_EQ(StbStrings(block), (std::vector<std::string>{"x", "yy", "zzz"}));
    EXPECT_TRUE(StbCheck(block));
    StbAppendSz(block, "w", 0);
    EXPECT_EQ(StbCapacity(block), 13);
    StbFree(&block);
}

TEST(Stb, SearchSortAndFind) {
    Stb *block = StbOf(identShuffled);
    StbSort(block);
    EXPECT_EQ(StbStrings(block), identSorted);
    for (const IdentSearch &c : identSearches) {
        int32_t index = -1;
        EXPECT_EQ(StbSearchSz(block, c.key, &index, StlPstrCmpIdent), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    int32_t index = -1;
    unsigned char pstr[256];
    EXPECT_EQ(StbFindLinear(block, PstrFromSz("B", pstr), &index, StlPstrCmpIdent), 1);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(StbFindValue(block, 3, &index), 1);
    EXPECT_EQ(StbString(block, index), "ABD");
    EXPECT_EQ(StbFindValue(block, 42, &index), 0);
    StbAdjustValues(block, 4, 100);
    EXPECT_EQ(StbGetValue(block, 0), 105);
    EXPECT_EQ(StbGetValue(block, 3), 3);
    StbSortBy(block, StlPstrCmpIdentExact);
    EXPECT_EQ(StbString(block, 0), "ABD");
    char chars[8] = "-------";
    StbGetChars(block, 0, chars);
    EXPECT_STREQ(chars, "ABD----");
    StbFree(&block);
}

TEST(Stb, AppendAllCarriesExtraBytes) {
    Stb *source = StbCreateEx(0, 0, 4, 1), *target = StbCreateEx(0, 0, 2, 0), *plain = StbCreate(0, 0);
    StbAppendSz(source, "one", 1);
    memcpy(StbStringPtr(source, 0) + 5, "WXYZ", 4);
    ASSERT_EQ(StbAppendAll(source, target), 1);
    ASSERT_EQ(StbAppendAll(source, plain), 1);
    EXPECT_EQ(std::string((char *)StbStringPtr(target, 0) + 4, 2), "WX") << "as many as the target keeps";
    EXPECT_EQ(StbEntries(plain), (std::vector<StbEntry>{{"one", 1}}));
    EXPECT_TRUE(StbCheck(target));
    EXPECT_TRUE(StbCheck(plain));
    StbFree(&source);
    StbFree(&target);
    StbFree(&plain);
}

TEST(Stb, FileFormRoundTrip) {
    Stb *block = StbCreateEx(40, 4, 2, 1);
    for (const char *s : {"first", "", "third"}) StbAppendSz(block, s, 7);
    StbDelete(block, 0);
    FormBytes bytes = FormWrite([&](int f) { return StbWrite(block, f); });
    ASSERT_EQ(bytes.size(), 4u + StbBytesUsed(block));
    EXPECT_EQ(FormGet32(bytes, 0), StbBytesUsed(block));
    EXPECT_EQ(0, memcmp(bytes.data() + 4, block->ptr, StbBytesUsed(block)));
    Stb *back = FormRead(bytes, [](int f) { return StbRead(f); });
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->size, (uint32_t)StbBytesUsed(block)) << "exactly bytes used";
    EXPECT_EQ(0, memcmp(back->ptr, block->ptr, StbBytesUsed(block)));
    EXPECT_TRUE(StbCheck(back));
    StbAppendSz(back, "more", 1);
    EXPECT_TRUE(StbCheck(back));
    StbFree(&back);
    StbFree(&block);
}

TEST(Stb, ReadRefusesCorruptBlocks) {
    Stb *block = StbCreate(0, 2); // slots at 16 and 24, strings from 32
    StbAppendSz(block, "ab", 1);  // 3 bytes at 32
    StbAppendSz(block, "cde", 2); // 4 bytes at 35
    FormBytes good = FormWrite([&](int f) { return StbWrite(block, f); });
    StbFree(&block);
    const size_t head = 4, slot0 = head + 16, slot1 = head + 24;
    struct Case {
        const char *what;
        size_t at; // the word to patch, or the length to cut to
        int32_t value;
        bool cut;
    } cases[] = {
        {"empty file", 0, 0, true},
        {"cut in the byte count", 3, 0, true},
        {"cut in the block", good.size() - 1, 0, true},
        {"byte count beyond the file", 0, 100, false},
        {"byte count below the header", 0, 12, false},
        {"negative byte count", 0, -1, false},
        {"negative count", head, -1, false},
        {"count above the capacity", head, 3, false},
        {"unknown bits", head + 4, 2 | (1 << 27), false},
        {"capacity past the block", head + 4, 40, false},
        {"bytes used not the byte count", head + 8, 38, false},
        {"extra bytes without their flag", head + 12, 5, false},
        {"extra flag without a count", head + 4, 2 | (1 << 25), false},
        {"offset inside the slots", slot0, 20, false},
        {"offset past the block", slot1, 39, false},
        {"negative offset", slot0, -3, false},
        {"two slots on one string", slot1, 32, false},
        {"string not where the last ended", slot1, 36, false},
    };
    int32_t handles = HLiveCount();
    for (const Case &c : cases) {
        FormBytes bad = FormPatch(good, c.at, c.value, c.cut);
        EXPECT_EQ(FormRead(bad, [](int f) { return StbRead(f); }), nullptr) << c.what;
        EXPECT_EQ(HLiveCount(), handles) << c.what << ": nothing kept";
    }
    FormBytes length = good;
    length[head + 35] = 200; // "cde" claims 200 characters, running past the block
    EXPECT_EQ(FormRead(length, [](int f) { return StbRead(f); }), nullptr);
}
