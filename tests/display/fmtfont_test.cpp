// The formatter's font table: one index per description and device, measures that lay text out (heights,
// widths, the blank's width), and forgetting every font.
#include "display/fmtfont.h"

#include <gtest/gtest.h>

TEST(FmtFont, OneIndexPerDescriptionAndDevice) {
    FmtFontFlush();
    FontDesc courier, bold, arial;
    FontDescInit(&courier, "Courier New", 40);
    bold = courier;
    bold.style |= FONT_BOLD;
    FontDescInit(&arial, "Arial", 40);
    int32_t a = FmtFontIndex(0, &courier), b = FmtFontIndex(0, &bold), c = FmtFontIndex(0, &arial);
    EXPECT_EQ(a, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    FontDesc same;
    FontDescInit(&same, "COURIER NEW", 40);
    EXPECT_EQ(FmtFontIndex(0, &same), a) << "faces compare ignoring case";
    EXPECT_NE(FmtFontIndex(1, &courier), a) << "another device";
    EXPECT_EQ(FmtFontCount(), 4);
    const FmtFont *font = FmtFontAt(a);
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->metrics.ascent, 0);
    EXPECT_GT(font->metrics.avgWidth, 0);
    EXPECT_GT(font->metrics.blankWidth, 0);
    EXPECT_GT(font->metrics.widths[(unsigned char)'M'], 0);
    EXPECT_EQ(FmtFontAt(-1), nullptr);
    EXPECT_EQ(FmtFontAt(4), nullptr);
    FmtFontFlush();
    EXPECT_EQ(FmtFontCount(), 0);
    EXPECT_EQ(FmtFontAt(0), nullptr);
}
