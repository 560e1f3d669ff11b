// String lists: items against a std::vector model with hashed finds interleaved; the hash bucket of a known
// string and chain order; exact and case-blind finds (a case-blind find ignores ASCII case only); the hash
// index after every kind of change (data items, copied items, added sub-entries); finds without buckets;
// identifier order, sorts and searches; sorting by extreme values; strings cut at 255; linear finds in stored
// order; copies, moves and appending a list to itself; the file form's round trip and corrupt items.
#include "base/erc.h"
#include "base/stl.h"
#include "base/stldata.h"
#include "base/stlmult.h"
#include "base/utilil.h"
#include "formtest.h"
#include "identcases.h"
#include "stltest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

TEST(Stl, MatchesVectorModelWithHashedFinds) {
    Stl *list = StlCreateHashed(0, 7);
    std::vector<StlEntry> model;
    std::mt19937 rng(5);
    auto randomString = [&] {
        std::string s(rng() % 6, 0);
        for (char &c : s) c = "abAB_x"[rng() % 6];
        return s;
    };
    for (int step = 0; step < 3000; step++) {
        int op = (int)(rng() % 8);
        int32_t n = (int32_t)model.size(), at = n ? (int32_t)(rng() % n) : 0;
        int32_t v = (int32_t)rng();
        unsigned char pstr[256];
        if (op < 3 || n == 0) {
            std::string s = randomString();
            int32_t to = rng() % 3 ? (int32_t)(rng() % (n + 1)) : -1;
            ASSERT_EQ(StlInsert(list, to, PstrFromSz(s.c_str(), pstr), v), 1);
            model.insert(to < 0 ? model.end() : model.begin() + to, {s, v});
        } else if (op == 3) {
            StlDelete(list, at);
            model.erase(model.begin() + at);
        } else if (op == 4) {
            std::string s = randomString();
            ASSERT_EQ(StlSet(list, at, PstrFromSz(s.c_str(), pstr), v), 1);
            model[at] = {s, v};
        } else if (op == 5) {
            int32_t to = (int32_t)(rng() % (n + 1));
            ASSERT_EQ(StlCopyItem(list, to, list, at), 1);
            model.insert(model.begin() + to, StlEntry(model[at]));
        } else if (op == 6) {
            int32_t b = (int32_t)(rng() % n);
            StlSwap(list, at, b);
            std::swap(model[at], model[b]);
        } else {
            StlAdjustValues(list, 0, 3);
            for (StlEntry &e : model)
                if (e.v >= 0) e.v = (int32_t)((uint32_t)e.v + 3);
        }
        ASSERT_TRUE(StlCheck(list)) << "step " << step;
        ASSERT_EQ(StlEntries(list), model) << "step " << step;
        if (model.empty()) continue;
        const std::string &want = model[rng() % model.size()].s;
        unsigned char *exact = StlFind(list, want.c_str(), 1), *blind = StlFind(list, want.c_str(), 0);
        ASSERT_NE(exact, nullptr) << "step " << step;
        ASSERT_NE(blind, nullptr) << "step " << step;
        EXPECT_EQ(StlItemString(exact), want);
        EXPECT_EQ(StlLower(StlItemString(blind)), StlLower(want));
        ASSERT_TRUE(StlCheck(list)) << "a find leaves a fresh index";
    }
    StlFree(list);
}

TEST(Stl, HashBucketOfAKnownString) {
    EXPECT_EQ(StlHash((const unsigned char *)"Ab", 2), 486u);
    EXPECT_EQ(StlHash((const unsigned char *)"aB", 2), 486u);
    Stl *list = StlOf({"Ab", "x", "aB"}, 101);
    ASSERT_EQ(StlEnsureHash(list), 1);
    const StlNode *node = list->buckets[82];
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(StlItemString(node->item), "aB") << "chains start with the newest item";
    ASSERT_NE(node->next, nullptr);
    EXPECT_EQ(StlItemString(node->next->item), "Ab");
    EXPECT_EQ(node->next->next, nullptr);
    StlFree(list);
}

TEST(Stl, ExactAndCaseBlindFind) {
    Stl *list = StlOf({"foo", "Bar", "[x]"}, 13);
    struct Case {
        const char *key;
        int exact;
        const char *found; // null: not found
    } cases[] = {
        {"FOO", 0, "foo"},  {"FOO", 1, nullptr},  {"foo", 1, "foo"}, {"bar", 0, "Bar"}, {"bar", 1, nullptr},
        {"fo", 0, nullptr}, {"fooo", 0, nullptr}, {"", 0, nullptr},  {"[X]", 0, "[x]"}, {"{X}", 0, nullptr},
    };
    for (const Case &c : cases) {
        unsigned char *item = StlFind(list, c.key, c.exact);
        if (!c.found) {
            EXPECT_EQ(item, nullptr) << c.key << " exact " << c.exact;
            EXPECT_EQ(StlFindIndex(list, c.key, c.exact), -1);
        } else {
            ASSERT_NE(item, nullptr) << c.key << " exact " << c.exact;
            EXPECT_EQ(StlItemString(item), c.found);
        }
    }
    EXPECT_EQ(StlFindIndex(list, "BAR", 0), 1);
    StlFree(list);
}

// Only ASCII letters fold: the identifier order's wider fold also pairs '[' with '{', '\\' with '|', ']' with
// '}', '^' with '~' and bytes above 127 with others, and such pairs share a bucket, so only the comparison
// keeps them apart. Every kind of hashed lookup is asked.
TEST(Stl, CaseBlindFindIgnoresAsciiCaseOnly) {
    Stl *list = StlOf({"x[y", "A\\b", "end]", "caret^", "\xE9t\xE9", "Mixed"}, 7);
    struct Case {
        const char *key;
        const char *found; // null: not found
    } cases[] = {
        {"X[Y", "x[y"},         {"x{y", nullptr},    {"a\\B", "A\\b"},
        {"a|B", nullptr},       {"END]", "end]"},    {"end}", nullptr},
        {"CARET^", "caret^"},   {"caret~", nullptr}, {"\xE9T\xE9", "\xE9t\xE9"},
        {"\xC9t\xC9", nullptr}, {"mIXED", "Mixed"},
    };
    for (const Case &c : cases) {
        unsigned char pstr[256];
        PstrFromSz(c.key, pstr);
        unsigned char *item = StlFind(list, c.key, 0);
        EXPECT_EQ(StlFindPstr(list, pstr, 0), item) << c.key;
        if (!c.found) {
            EXPECT_EQ(item, nullptr) << c.key;
            EXPECT_EQ(StlFindIndex(list, c.key, 0), -1) << c.key;
            continue;
        }
        ASSERT_NE(item, nullptr) << c.key;
        EXPECT_EQ(StlItemString(item), c.found);
        EXPECT_EQ(StlFindIndex(list, c.key, 0), StlItemValue(item) - 1) << c.key;
    }
    EXPECT_EQ(StlHash((const unsigned char *)"x[y", 3), StlHash((const unsigned char *)"x{y", 3))
        << "the pair shares a bucket";
    StlFree(list);
}

// Changes that store or move items outside StlInsert must still leave no chain node pointing into the old
// pool.
TEST(Stl, HashIndexFollowsEveryChange) {
    unsigned char key[256];
    std::string big(240, 'q');
    Stl *other = StlOf({"copied"});
    struct Case {
        const char *what;
        std::function<int(Stl *)> change;
        const char *find;
        int32_t value;
    } cases[] = {
        {"data item",
         [&](Stl *l) { return StlDataInsert(l, 0, PstrFromSz("data", key), 40, big.data(), 240); }, "data",
         40},
        {"copied item", [&](Stl *l) { return StlCopyItem(l, 1, other, 0); }, "copied", 1},
        {"added sub-entry", [&](Stl *l) { return StlMultAddSubSz(l, 0, big.c_str(), 9); }, "first", 1},
        {"inserted item", [&](Stl *l) { return StlInsertSz(l, 2, "inserted", 5); }, "inserted", 5},
    };
    for (const Case &c : cases) {
        Stl *list = StlOf({"first", "second", "third"}, 5);
        ASSERT_EQ(StlEnsureHash(list), 1);
        ASSERT_TRUE(StlCheck(list));
        ASSERT_EQ(c.change(list), 1) << c.what;
        EXPECT_TRUE(StlCheck(list)) << c.what << ": the index is stale or still sound";
        for (const char *s : {"second", "third", c.find}) {
            unsigned char *item = StlFind(list, s, 1);
            ASSERT_NE(item, nullptr) << c.what << ": " << s;
            EXPECT_EQ(StlItemString(item), s);
        }
        EXPECT_EQ(StlItemValue(StlFind(list, c.find, 1)), c.value) << c.what;
        StlFree(list);
    }
    StlFree(other);
}

TEST(Stl, FindWithoutBuckets) {
    Stl *list = StlOf({"a", "b"});
    EXPECT_EQ(StlFind(list, "a", 0), nullptr);
    EXPECT_EQ(StlFindIndex(list, "a", 1), -1);
    EXPECT_EQ(StlEnsureHash(list), 0);
    EXPECT_EQ(StlBuildHash(list, 0), 0);
    ASSERT_EQ(StlBuildHash(list, 3), 1) << "an index can be given later";
    EXPECT_EQ(StlFindIndex(list, "b", 1), 1);
    StlFree(list);
}

TEST(Stl, IdentifierOrder) {
    struct Case {
        const char *a, *b;
        int sign, exact;
    } cases[] = {
        {"abc", "_abc", -1, 0}, {"_abc", "__abc", -1, 0}, {"abc", "__abc", -1, 0}, {"abc", "ABD", -1, 0},
        {"abc", "ABC", 0, 0},   {"ABC", "abc", -1, 1},    {"ab", "abc", -1, 0},    {"_b", "a", 1, 0},
        {"a_b", "ab", 1, 0},    {"", "_", -1, 0},         {"[", "{", 0, 0},        {"_B", "_b", -1, 1},
    };
    for (const Case &c : cases) {
        unsigned char a[256], b[256];
        PstrFromSz(c.a, a);
        PstrFromSz(c.b, b);
        int r = c.exact ? StlPstrCmpIdentExact(a, b) : StlPstrCmpIdent(a, b);
        int back = c.exact ? StlPstrCmpIdentExact(b, a) : StlPstrCmpIdent(b, a);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " : " << c.b;
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " : " << c.a;
    }
}

TEST(Stl, SortAndSearch) {
    Stl *list = StlOf(identShuffled);
    StlSort(list);
    EXPECT_EQ(StlStrings(list), identSorted);
    EXPECT_TRUE(StlCheck(list));
    for (const IdentSearch &c : identSearches) {
        int32_t index = -1;
        EXPECT_EQ(StlSearchSzIdent(list, c.key, &index), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    int32_t index = -1;
    EXPECT_EQ(StlSearchSz(list, "ABC", &index), 0) << "case-sensitive search";

    Stl *exact = StlOf({"b", "B", "a", "A"});
    StlSortExact(exact);
    EXPECT_EQ(StlStrings(exact), (std::vector<std::string>{"A", "B", "a", "b"}));
    EXPECT_EQ(StlSearchSz(exact, "a", &index), 1);
    EXPECT_EQ(index, 2);
    StlFree(exact);

    Stl *sorted = StlOf({"a", "c"});
    ASSERT_EQ(StlInsertSortedSz(sorted, &index, "C", 7), 1);
    EXPECT_EQ(index, 1) << "an equal string goes before the existing one";
    EXPECT_EQ(StlItemValue(StlItem(sorted, 1)), 7);
    ASSERT_EQ(StlInsertSortedSz(sorted, &index, "b", 8), 1);
    EXPECT_EQ(StlStrings(sorted), (std::vector<std::string>{"a", "b", "C", "c"}));
    StlFree(sorted);
    StlFree(list);
}

// Sorting by value compares; subtracting INT_MIN from INT_MAX would overflow and invert the order.
TEST(Stl, SortByExtremeValues) {
    Stl *list = StlCreate(0);
    for (int32_t v : {INT32_MAX, INT32_MIN, 0, -1, 1, INT32_MIN + 1}) StlAppendSz(list, "v", v);
    StlSortByValue(list);
    std::vector<int32_t> values;
    for (const StlEntry &e : StlEntries(list)) values.push_back(e.v);
    EXPECT_EQ(values, (std::vector<int32_t>{INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX}));
    StlFree(list);
}

TEST(Stl, StringsAndValuesOut) {
    Stl *list = StlOf({"abc"});
    unsigned char buffer[260];
    memset(buffer, 0xFF, sizeof buffer);
    StlGetString(list, 0, buffer);
    EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 5),
              (std::vector<unsigned char>{3, 'a', 'b', 'c', 0}));
    int32_t value = 0;
    StlGet(list, 0, buffer, &value);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(StlItemSize(list, 0), 8);

    // A C string longer than a length byte can say is cut at 255, not wrapped around.
    std::string longName(300, 'n');
    ASSERT_EQ(StlInsertSz(list, -1, longName.c_str(), 2), 1);
    EXPECT_EQ(StlItemString(StlItem(list, 1)), std::string(255, 'n'));
    EXPECT_TRUE(StlCheck(list));
    StlFree(list);
}

TEST(Stl, LinearFindsGoByStoredOrder) {
    Stl *list = StlOf({"x", "y", "X"});
    StlSwap(list, 0, 2); // list order X/3, y/2, x/1; stored order x, y, X
    int32_t index = -1;
    EXPECT_EQ(StlFindLinearSz(list, "x", &index, StlPstrCmpIdent), 1);
    EXPECT_EQ(index, 2) << "the item stored first";
    EXPECT_EQ(StlFindLinearSz(list, "z", &index, StlPstrCmpIdent), 0);
    EXPECT_EQ(StlFindValue(list, 3, &index), 1);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(StlFindValue(list, 9, &index), 0);
    StlFree(list);
}

TEST(Stl, EqualAppendDupMoveClear) {
    Stl *a = StlOf({"one", "two"}, 3), *b = StlOf({"ONE", "two"});
    EXPECT_EQ(StlEqual(a, b, StlPstrCmpIdent, 1), 1);
    EXPECT_EQ(StlEqual(a, b, StlPstrCmpIdentExact, 0), 0);
    StlAdjustValues(b, 2, 10);
    EXPECT_EQ(StlEqual(a, b, StlPstrCmpIdent, 1), 0);

    ASSERT_EQ(StlAppendList(a, a, 0, 1, 0), 1) << "a list appended to itself";
    EXPECT_EQ(StlEntries(a), (std::vector<StlEntry>{{"one", 0}, {"two", 0}, {"one", 1}, {"two", 2}}));
    ASSERT_EQ(StlAppendList(a, b, -1, 0, 0), 1);
    EXPECT_EQ(StlCount(a), 6);
    EXPECT_EQ(StlItemValue(StlItem(a, 5)), 12);

    ASSERT_EQ(StlEnsureHash(a), 1);
    Stl *dup = StlDup(a);
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(dup->bucketCount, 3);
    EXPECT_EQ(dup->nodes, nullptr);
    EXPECT_EQ(StlFindIndex(dup, "ONE", 1), 4);
    EXPECT_TRUE(StlCheck(dup));

    StlMove(b, dup);
    EXPECT_EQ(StlEntries(b), StlEntries(a));
    EXPECT_TRUE(StlCheck(b));
    StlClear(a);
    EXPECT_EQ(StlCount(a), 0);
    EXPECT_EQ(StlFind(a, "one", 0), nullptr);
    StlAppendSz(a, "later", 1);
    EXPECT_NE(StlFind(a, "LATER", 0), nullptr);
    EXPECT_TRUE(StlCheck(a));
    StlFree(a);
    StlFreeNull(&b);
    EXPECT_EQ(b, nullptr);
}

TEST(Stl, FileFormRoundTrip) {
    Stl *list = StlOf({"alpha", "", "Gamma"}, 9);
    unsigned char pstr[256];
    StlDataInsert(list, 1, PstrFromSz("data", pstr), -5, "blk", 3);
    ASSERT_EQ(StlEnsureHash(list), 1);
    FormBytes bytes = FormWrite([&](int f) { return StlWrite(list, f); });
    EXPECT_EQ(bytes.size(), 44u + 4 * 4 + list->pv.poolUsed) << "no hash words in the file";
    Stl *back = FormRead(bytes, [](int f) { return StlRead(f); });
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(StlEntries(back), StlEntries(list));
    EXPECT_EQ(StlDataSize(back, 1), 3);
    EXPECT_EQ(back->bucketCount, 0) << "a list read back has no buckets";
    EXPECT_EQ(StlFind(back, "alpha", 0), nullptr);
    EXPECT_TRUE(StlCheck(back));
    StlFree(back);
    StlFree(list);
}

TEST(Stl, ReadRefusesCorruptItems) {
    Stl *list = StlOf({"abc"});
    FormBytes good = FormWrite([&](int f) { return StlWrite(list, f); });
    StlFree(list);
    const size_t item = 44 + 4; // the one element's length word
    struct Case {
        const char *what;
        size_t at;
        int32_t value;
        bool byte;
    } cases[] = {
        {"element too short for a value and a length byte", item, 4, false},
        {"string longer than its element", item + 8, 9, true},
        {"count beyond the offsets", 0, 2, false},
    };
    int32_t handles = HLiveCount();
    for (const Case &c : cases) {
        FormBytes bad = good;
        if (c.byte)
            bad[c.at] = (unsigned char)c.value;
        else
            FormPut32(bad, c.at, c.value);
        EXPECT_EQ(FormRead(bad, [](int f) { return StlRead(f); }), nullptr) << c.what;
        EXPECT_EQ(HLiveCount(), handles) << c.what;
    }
    FormBytes cut(good.begin(), good.end() - 1);
    EXPECT_EQ(FormRead(cut, [](int f) { return StlRead(f); }), nullptr);
}
