// String-long lists: texts past 255 characters, the cut at the 16-bit limit, items against a std::vector
// model (insert from C strings, length-prefixed strings and records, replace, delete), replacing with the
// list's own record while the pool moves, and searches in identifier order.
#include "base/sll.h"
#include "base/utilil.h"
#include "identcases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

static std::string SllString(const Sll *list, int32_t i) {
    return std::string(SllText(list, i), SllRecordLength(SllLength(list, i)));
}

static std::vector<std::string> SllStrings(const Sll *list) {
    std::vector<std::string> strings;
    for (int32_t i = 0; i < PlexVarCount(&list->pv); i++) strings.push_back(SllString(list, i));
    return strings;
}

TEST(Sll, LongTexts) {
    Sll *list = SllCreate(0);
    struct Case {
        size_t length, stored;
    } cases[] = {{300, 300}, {0, 0}, {65535, 65535}, {70000, 65535}};
    for (const Case &c : cases) {
        std::string text(c.length, 'L');
        ASSERT_EQ(SllInsert(list, -1, text.c_str(), (int32_t)c.length), 1) << c.length;
        int32_t i = PlexVarCount(&list->pv) - 1;
        EXPECT_EQ(SllRecordLength(SllLength(list, i)), (int32_t)c.stored) << c.length;
        EXPECT_EQ(PlexVarLength(&list->pv, i), (int32_t)c.stored + 7);
        EXPECT_EQ(strlen(SllText(list, i)), c.stored) << "the text ends with a NUL";
        EXPECT_EQ(PlexVarGet32(SllItem(list, i)), (int32_t)c.length);
    }
    EXPECT_TRUE(SllCheck(list));
    SllFree(list);
}

TEST(Sll, MatchesVectorModel) {
    Sll *list = SllCreate(4);
    std::vector<std::string> model;
    std::mt19937 rng(9);
    for (int step = 0; step < 1500; step++) {
        int op = (int)(rng() % 5);
        int32_t n = (int32_t)model.size(), at = n ? (int32_t)(rng() % n) : 0;
        std::string s(rng() % 400, (char)('a' + rng() % 26));
        if (op < 2 || n == 0) {
            int32_t to = (int32_t)(rng() % (n + 1));
            if (s.size() <= 255 && rng() % 2) {
                unsigned char pstr[256];
                ASSERT_EQ(SllInsertPstr(list, to, PstrFromSz(s.c_str(), pstr), 0), 1);
            } else {
                ASSERT_EQ(SllInsert(list, to, s.c_str(), 0), 1);
            }
            model.insert(model.begin() + to, s);
        } else if (op == 2) {
            SllDelete(list, at);
            model.erase(model.begin() + at);
        } else if (op == 3) {
            // The record comes from the list itself: it must be copied before the pool grows.
            int32_t from = (int32_t)(rng() % n);
            ASSERT_EQ(SllReplace(list, at, SllLength(list, from), 1), 1);
            model[at] = model[from];
        } else {
            int32_t from = (int32_t)(rng() % n);
            ASSERT_EQ(SllInsertRecord(list, at, SllLength(list, from), 2), 1);
            model.insert(model.begin() + at, std::string(model[from]));
        }
        ASSERT_TRUE(SllCheck(list)) << "step " << step;
        ASSERT_EQ(SllStrings(list), model) << "step " << step;
    }
    SllFree(list);
}

TEST(Sll, SearchInIdentifierOrder) {
    Sll *list = SllCreate(0);
    for (const char *s : identShuffled) SllInsert(list, -1, s, 0);
    PlexVarSort(&list->pv, SllCmpItems);
    EXPECT_EQ(SllStrings(list), identSorted);
    auto compareKey = [](const char *key, const char *text) {
        return SllCmpKey(std::string("\0\0", 2).append(key).c_str(),
                         std::string("\0\0", 2).append(text).c_str());
    };
    for (const IdentSearch &c : identSearches) {
        int32_t index = -1;
        EXPECT_EQ(SllSearch(list, c.key, &index, compareKey), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
        unsigned char record[260] = {(unsigned char)strlen(c.key), 0};
        strcpy((char *)record + 2, c.key);
        EXPECT_EQ(SllSearchRecord(list, record, &index, SllCmpKey), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    SllFree(list);
}
