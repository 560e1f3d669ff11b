// Syllables: splits, matching in any order without reuse.
#include "base/syllable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static std::vector<std::string> Split(const char *id) {
    SyllableSplitRec s;
    std::vector<std::string> out;
    int n = SyllableSplit(id, &s);
    for (int i = 0; i < n; i++) {
        char buf[256];
        SyllableGet(&s, i, buf);
        out.push_back(buf);
    }
    return out;
}

TEST(Syllable, Splits) {
    struct Case {
        const char *id;
        std::vector<std::string> syllables;
    } cases[] = {
        {"FindWindowEx", {"Find", "Window", "Ex"}},
        {"find_window", {"Find", "Window"}},
        {"xPos", {"Pos"}},
        {"HTMLFile", {"HTML", "File"}},
        {"__init__", {"Init"}},
        {"a_b_c", {}},
        {"", {}},
        {"get2ndItem", {"get2nd", "Item"}},
    };
    for (const Case &c : cases) EXPECT_EQ(Split(c.id), c.syllables) << c.id;
}

TEST(Syllable, SplitStopsAtTwenty) {
    std::string id;
    for (int i = 0; i < 30; i++) id += "Ab";
    EXPECT_EQ(Split(id.c_str()).size(), 20u);
    std::string longId(400, 'a');
    EXPECT_EQ(Split(longId.c_str()), std::vector<std::string>{std::string(255, 'a').replace(0, 1, "A")});
}

TEST(Syllable, Match) {
    struct Case {
        const char *typed, *name;
        int match;
    } cases[] = {
        {"FiWi", "FindWindow", 1}, {"FiWi", "find_window", 1}, {"WiFi", "FindWindow", 1},
        {"FiFi", "FindWindow", 0}, {"fiwi", "FindWindow", 0},  {"FiFi", "FindFile", 1},
        {"Pos", "xPos", 1},        {"", "Anything", 1},
    };
    for (const Case &c : cases) {
        SyllableSplitRec typed, name;
        SyllableSplit(c.typed, &typed);
        SyllableSplit(c.name, &name);
        EXPECT_EQ(SyllableMatch(&typed, &name), c.match) << c.typed << " / " << c.name;
    }
}
