// File-name patterns: a table of names and patterns, "*" and "?" with the empty run and the whole-name rule,
// letters of either case, and a long name against many stars (no blow-up).
#include "base/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Wildcard, MatchesTable) {
    struct Case {
        const char *name;
        const char *pattern;
        bool match;
    } cases[] = {
        {"Foo.C", "*.c", true},
        {"foo.c.bak", "*.c", false},
        {"foo.c", "*.c*", true},
        {"makefile", "makefile", true},
        {"MAKEFILE", "makefile", true},
        {"makefile", "*.*", false},
        {"a.b", "*.*", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"abc", "*", true},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"", "?", false},
        {"foo.pl", "*pl", true},
        {"x.perl", "*pl", false},
        {"aXbXc", "a*b*c", true},
        {"abcbd", "a*bd", true},
        {"abcb", "a*bd", false},
        {"[x]", "[X]", true},
        {"{", "[", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(Wildcard, ManyStarsStayLinear) {
    std::string name(4000, 'a');
    std::string pattern;
    for (int i = 0; i < 200; i++) pattern += "*a";
    pattern += "b";
    EXPECT_FALSE(WildcardMatch(name.c_str(), pattern.c_str()));
    name += "b";
    EXPECT_TRUE(WildcardMatch(name.c_str(), pattern.c_str()));
}

} // namespace
