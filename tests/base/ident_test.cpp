// Identifier order: case-blind, leading underscores skipped, then fewer underscores first, for C and
// length-prefixed strings, exact forms, a sort by it, prefix order; prefix tests ignoring case and leading
// underscores.
#include "base/ident.h"

#include "strtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

TEST(Ident, IdentifierOrder) {
    struct Case {
        const char *a, *b;
        int order, exact;
    } cases[] = {
        {"abc", "_abc", -1, -1}, {"_abc", "__abc", -1, -1}, {"abc", "__abc", -1, -1},
        {"abc", "ABD", -1, 1},   {"Abc", "abc", 0, -1},     {"abc", "abc", 0, 0},
        {"_b", "a", 1, 1},       {"a", "ab", -1, -1},       {"", "_", -1, -1},
        {"", "", 0, 0},          {"__x", "_y", -1, -1},     {"a_b", "ab", 1, -1},
    };
    for (const Case &c : cases) {
        unsigned char pa[256], pb[256];
        MakePstr(c.a, pa);
        MakePstr(c.b, pb);
        EXPECT_EQ(Sign(StrCmpIdent(c.a, c.b)), c.order) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(StrCmpIdent(c.b, c.a)), -c.order) << c.b << " / " << c.a;
        EXPECT_EQ(Sign(PstrCmpIdent(pa, pb)), c.order) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(StrCmpIdentExact(c.a, c.b)), c.exact) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(PstrCmpIdentExact(pa, pb)), c.exact) << c.a << " / " << c.b;
    }

    std::vector<std::string> names = {"__abc", "Beta", "_abc", "abc", "alpha", "_beta"};
    std::sort(names.begin(), names.end(), [](const std::string &x, const std::string &y) {
        return StrCmpIdent(x.c_str(), y.c_str()) < 0;
    });
    EXPECT_EQ(names, (std::vector<std::string>{"abc", "_abc", "__abc", "alpha", "Beta", "_beta"}));

    struct Prefix {
        const char *name, *s;
        int order;
    } prefixes[] = {
        {"get", "GetValue", 0}, {"_get", "__getx", 0}, {"gex", "get", 1}, {"gets", "get", 1}, {"a", "b", -1}};
    for (const Prefix &c : prefixes) EXPECT_EQ(Sign(StrCmpIdentPrefix(c.name, c.s)), c.order) << c.name;
}

TEST(Ident, PrefixesIgnoringCaseAndUnderscores) {
    struct Pair {
        const char *prefix, *s;
        bool result;
    } pairs[] = {
        {"__ab", "_AbC", true},
        {"abd", "_abc", false},
    };
    for (const Pair &c : pairs)
        EXPECT_EQ(StrHasPrefixIdentI(c.prefix, c.s), c.result) << c.prefix << " / " << c.s;
    unsigned char p[8], q[8];
    MakePstr("abcdef", p);
    MakePstr("_Ab", q);
    EXPECT_TRUE(PstrIsIdentPrefix(q, p));
}
