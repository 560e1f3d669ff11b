// Span lists: finding a position (first span in insertion order, the end excluded, never at (0, 0), past
// line 524,800 as below it), the owner's larger elements, and following change notices (inserted and
// deleted lines move the ends at or below them; deleting every line or a whole-buffer change clears).
#include "doc/span.h"

#include "base/heap.h"
#include "doc/doc.h"

#include <gtest/gtest.h>

namespace {

Span MakeSpan(int32_t l1, int32_t c1, int32_t l2, int32_t c2) {
    Span span = {};
    span.startLine = l1;
    span.startColumn = c1;
    span.endLine = l2;
    span.endColumn = c2;
    return span;
}

class SpanTest : public testing::Test {
protected:
    void SetUp() override {
        doc.lnMac = 100;
        list = SpanListCreate(&doc, nullptr, 0);
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override { SpanListFree(list); }
    FileBuffer doc{};
    SpanList *list = nullptr;
};

TEST_F(SpanTest, FindingPositions) {
    Span a = MakeSpan(0, 0, 2, 0), b = MakeSpan(1, 5, 3, 2);
    EXPECT_EQ(SpanListAdd(list, &a), 0);
    EXPECT_EQ(SpanListAdd(list, &b), 1);
    EXPECT_EQ(SpanListFind(list, 0, 0), nullptr) << "never at (0, 0)";
    EXPECT_EQ(SpanListFind(list, 0, 1), SpanListAt(list, 0));
    EXPECT_EQ(SpanListFind(list, 1, 7), SpanListAt(list, 0)) << "the first in insertion order";
    EXPECT_EQ(SpanListFind(list, 2, 0), SpanListAt(list, 1)) << "the end is not inside";
    EXPECT_EQ(SpanListFind(list, 3, 2), nullptr);
    EXPECT_EQ(SpanLength(SpanListAt(list, 1)), 2 * 4092 - 3);
}

TEST_F(SpanTest, KeysPastLine524800) {
    Span big = MakeSpan(500000, 0, 600000, 0);
    SpanListAdd(list, &big);
    EXPECT_NE(SpanListFind(list, 550000, 3), nullptr);
    EXPECT_EQ(SpanListFind(list, 600000, 0), nullptr);
    EXPECT_EQ(SpanListFind(list, 499999, 4000), nullptr);
    EXPECT_EQ(SpanLength(SpanListAt(list, 0)), 100000LL * 4092);
}

TEST_F(SpanTest, OwnersElements) {
    SpanList *langs = SpanListCreate(&doc, nullptr, sizeof(LangSpan));
    ASSERT_NE(langs, nullptr);
    LangSpan span = {MakeSpan(1, 0, 1, 9), (Lang *)&doc};
    ASSERT_EQ(SpanListAdd(langs, &span.span), 0);
    EXPECT_EQ(((LangSpan *)SpanListFind(langs, 1, 4))->lang, (Lang *)&doc);
    SpanListFree(langs);
}

TEST_F(SpanTest, FollowsChanges) {
    Span above = MakeSpan(1, 0, 2, 0), across = MakeSpan(3, 1, 9, 1), below = MakeSpan(10, 0, 12, 4);
    for (const Span *s : {&above, &across, &below}) SpanListAdd(list, s);
    SpanListOnChange(list, 1, 5, 6); // two lines inserted at 5
    EXPECT_EQ(SpanListAt(list, 0)->endLine, 2);
    EXPECT_EQ(SpanListAt(list, 1)->startLine, 3);
    EXPECT_EQ(SpanListAt(list, 1)->endLine, 11);
    EXPECT_EQ(SpanListAt(list, 2)->startLine, 12);
    EXPECT_NE(SpanListFind(list, 10, 0), nullptr) << "keys follow the lines";
    SpanListOnChange(list, 2, 4, 6); // lines 4..6 about to go
    EXPECT_EQ(SpanListAt(list, 1)->endLine, 8);
    EXPECT_EQ(SpanListAt(list, 2)->startLine, 9);
    EXPECT_EQ(SpanListAt(list, 2)->startKey, 9LL * 4092);
    SpanListOnChange(list, 5, 0, 0);
    SpanListOnChange(list, 3, 0, 0);
    EXPECT_EQ(SpanListCount(list), 3) << "other kinds change nothing";
    SpanListOnChange(list, 2, 0, 99); // every line
    EXPECT_EQ(SpanListCount(list), 0);
    SpanListAdd(list, &above);
    SpanListOnChange(list, 4, 0, 0x7FFFFFFE);
    EXPECT_EQ(SpanListCount(list), 0);
}

} // namespace
