// Growable text buffer: appends past many growths keep every byte, formatted appends, clearing, and a failed
// growth that keeps the text and ignores later appends.
#include "base/heap.h"
#include "display/textbuf.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextBuf, AppendsGrowWithoutLoss) {
    TextBuf buf;
    TextBufInit(&buf);
    EXPECT_STREQ(TextBufText(&buf), "");
    std::string model;
    for (int i = 0; i < 5000; i++) {
        std::string piece = std::to_string(i) + (i % 7 ? "," : "<br>");
        ASSERT_TRUE(TextBufAppendSz(&buf, piece.c_str()));
        model += piece;
    }
    ASSERT_TRUE(TextBufPrintf(&buf, "[%05d|%s]", 42, "end"));
    ASSERT_TRUE(TextBufAppendChar(&buf, '!'));
    model += "[00042|end]!";
    EXPECT_EQ(std::string(TextBufText(&buf)), model);
    EXPECT_EQ(buf.length, (int32_t)model.size());
    TextBufClear(&buf);
    EXPECT_STREQ(TextBufText(&buf), "");
    EXPECT_EQ(buf.length, 0);
    TextBufFree(&buf);
}

TEST(TextBuf, FailedGrowthKeepsTheText) {
    TextBuf buf;
    TextBufInit(&buf);
    ASSERT_TRUE(TextBufAppendSz(&buf, "kept"));
    std::string big(buf.capacity + 10, 'x');
    HeapFailNth(1);
    EXPECT_FALSE(TextBufAppend(&buf, big.data(), (int32_t)big.size()));
    HeapFailNth(0);
    EXPECT_TRUE(buf.failed);
    EXPECT_FALSE(TextBufAppendSz(&buf, "more")) << "a failed buffer takes nothing more";
    EXPECT_STREQ(TextBufText(&buf), "kept");
    TextBufClear(&buf);
    EXPECT_TRUE(TextBufAppendSz(&buf, "again"));
    TextBufFree(&buf);
}
