// The search option records: the defaults of each kind, and the four records the configuration installs.
#include "shell/srchopt.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchOptionsTest, DefaultsByKind) {
    struct Case {
        uint32_t kind, flags, context;
    };
    const Case cases[] = {{0, 0x87298, 1}, {1, 0x8729A, 1}, {2, 0x8F298, 3}, {3, 0x1008F298, 1}};
    for (const Case &c : cases) {
        SearchOptions options;
        InitSearchOptions(&options, c.kind);
        EXPECT_EQ(options.flags, c.flags) << c.kind;
        EXPECT_EQ(options.kind, c.kind | c.context << 16) << c.kind;
        EXPECT_EQ(options.reserved[0] | options.reserved[1] | options.reserved[2], 0u);
    }
}

TEST(SearchOptionsTest, TheFourRecords) {
    SearchOptionsDefaults();
    EXPECT_EQ(g_searchOptions[0].flags, 0x87298u);
    EXPECT_EQ(g_searchOptions[1].kind & 0xFF, 3u);
    EXPECT_EQ(g_searchOptions[2].kind, 2u | 3u << 16);
    EXPECT_EQ(g_searchOptions[3].flags, 0x1008F298u | SEARCH_SMART_REFERENCES);
}

} // namespace
