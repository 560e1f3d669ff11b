// Runs laid out: tabs and visible white space, capitalisation, nested parentheses scaled, the draft,
// monochrome and colour-only views, shadows with their offset, and the right-margin guide.
#include "fmttest.h"

#include "base/heap.h"
#include "doc/dlex.h"
#include "doc/dta.h"
#include "doc/sel.h"

#include <gtest/gtest.h>

using namespace fmttest;

namespace {
class FmtLayTest : public FmtTest {};
} // namespace

TEST_F(FmtLayTest, TabsAndVisibleWhiteSpace) {
    FileBuffer *doc = CDoc({"\tx", "ab\ty z"});
    const FmtLine *l = Format(doc, 0);
    const FmtFont *base = FmtFontAt(FmtFontIndex(FMT_SCREEN, &FmtFontAt(Runs(l)[0].font)->desc));
    int32_t tab = DtaTabWidth(doc) * base->metrics.avgWidth;
    EXPECT_EQ(l->advances[0], tab);
    EXPECT_EQ(Shown(l), " x") << "a tab shows as a blank";
    l = Format(doc, 1);
    EXPECT_EQ(l->advances[0] + l->advances[1] + l->advances[2], tab) << "to the next stop";
    Done();
    SetTypeFlags(doc, DTA_VISIBLE_TABS | DTA_VISIBLE_SPACES, 0);
    EXPECT_EQ(Shown(Format(doc, 1)), "ab\xBBy\xB7z");
}

TEST_F(FmtLayTest, Capitalisation) {
    FileBuffer *doc = CDoc({"mixedCase lower UPPER 0XFF"});
    struct Case {
        int32_t caps;
        const char *shown;
    } cases[] = {
        {STYLE_CAPS_UPPER, "MIXEDCASE LOWER UPPER 0xFF"},
        {STYLE_CAPS_LOWER, "mixedcase lower upper 0xff"},
        {STYLE_CAPS_FIRST, "Mixedcase Lower Upper 0xff"},
        {STYLE_CAPS_FIRST_PARTIAL, "mixedCase Lower Upper 0xff"},
        {STYLE_CAPS_EXPAND, "MIXEDCASE lower UPPER 0xFF"},
    };
    for (const Case &c : cases) {
        StyleProp caps = {STYLE_CAPS, c.caps, nullptr};
        ASSERT_TRUE(StyleSetProperty(StyleCurrent(), 0, &caps));
        StyleProp number = {STYLE_CAPS, c.caps, nullptr};
        ASSERT_TRUE(StyleSetProperty(StyleCurrent(), 1, &number));
        EXPECT_EQ(Shown(Format(doc, 0)), c.shown) << c.caps;
        Done();
    }
}

TEST_F(FmtLayTest, NestedParenthesesScale) {
    SetOptions(VIEW_SCALE_PARENS);
    FileBuffer *doc = CDoc({"f((a))"});
    std::vector<RunOf> runs = Runs(Format(doc, 0));
    ASSERT_EQ(runs.size(), 6u);
    int32_t outer = FmtFontAt(runs[1].font)->desc.size, inner = FmtFontAt(runs[2].font)->desc.size;
    int32_t base = FmtFontAt(runs[0].font)->desc.size;
    EXPECT_EQ(inner, base);
    EXPECT_EQ(outer, (base * 115 + 50) / 100);
    EXPECT_EQ(runs[5].font, runs[1].font);
}

TEST_F(FmtLayTest, ViewsThatDropProperties) {
    FileBuffer *doc = CDoc({"int x; // c"});
    std::vector<RunOf> runs = Runs(Format(doc, 0));
    int32_t plain = runs[0].font;
    EXPECT_EQ(runs[0].fore, 0x008000u);
    Done();
    SetOptions(VIEW_MONOCHROME);
    runs = Runs(Format(doc, 0));
    EXPECT_EQ(runs[0].fore, StyleDefaultFore()) << "not grey: dropped";
    Done();
    g_viewOptions &= ~VIEW_MONOCHROME;
    SetOptions(VIEW_COLOR_ONLY);
    runs = Runs(Format(doc, 0));
    EXPECT_EQ(runs.back().fore, 0xFF0000u);
    EXPECT_STRNE(FmtFontAt(runs.back().font)->desc.face, "Verdana") << "colours only";
    Done();
    g_viewOptions &= ~VIEW_COLOR_ONLY;
    SetOptions(0, 0, VIEW2_DRAFT);
    runs = Runs(Format(doc, 0));
    EXPECT_STREQ(FmtFontAt(runs.back().font)->desc.face, "Courier New") << "the draft view's font";
    EXPECT_EQ(runs.back().fore, 0xFF0000u);
    EXPECT_EQ(runs[0].font, runs.back().font);
    (void)plain;
}

TEST_F(FmtLayTest, ShadowsCarryTheirOffset) {
    struct Case {
        uint16_t size;
        int32_t step;
    } cases[] = {{20, 0}, {27, 0}, {28, 1}, {159, 1}, {160, 2}, {240, 3}};
    for (const Case &c : cases) {
        FontDesc font;
        FontDescInit(&font, "Arial", c.size);
        EXPECT_EQ(FontSizeStep(&font), c.step) << c.size;
    }
    FileBuffer *doc = CDoc({"int f;"});
    TheWorld().tags = {Symbol("f", 0, 0, 4, 1)};
    const FmtLine *l = Format(doc, 0);
    uint32_t shadow = 0;
    for (int32_t i = l->opCount - 1; i >= 0; i--)
        if (l->ops[i].op == FMT_OP_SHADOW) shadow = (uint32_t)l->ops[i].value;
    EXPECT_EQ(shadow, 0x01C0C0C0u) << "60 quarter points: one pixel";
    EXPECT_EQ(l->startShadow, StyleDefaultShadow() & 0xFFFFFF) << "the background's shadow has no offset";
}

TEST_F(FmtLayTest, RightMarginGuide) {
    FileBuffer *doc = CDoc({"int x;"});
    SetTypeFlags(doc, DTA_RIGHT_MARGIN, 20);
    const FmtLine *l = Format(doc, 0);
    ASSERT_TRUE(l->flags & FMT_LINE_DRAWING);
    ASSERT_EQ(l->drawCount, 4);
    const FmtOp *draw = l->ops + l->opCount;
    const FmtFont *base = FmtFontAt(Runs(l)[0].font);
    int32_t x = 20 * base->metrics.avgWidth;
    EXPECT_EQ(draw[0].op, FMT_OP_PEN);
    EXPECT_EQ((uint32_t)draw[0].value, StyleContrastGrey());
    EXPECT_EQ(draw[1].op, FMT_OP_MOVE_TO);
    EXPECT_EQ(draw[1].value, x);
    EXPECT_EQ(draw[2].op, FMT_OP_LINE_TO);
    EXPECT_EQ(draw[2].value, x | l->height << 16);
    EXPECT_EQ(draw[3].op, FMT_OP_END);
    FormatSetTargetColumn(0);
    EXPECT_FALSE(Format(doc, 0)->flags & FMT_LINE_DRAWING) << "not with a target column";
}
