// The formatter's driver: the selection's colours (stream and column selections), the one-line cache,
// columns and pixels both ways, nested formatting through save and restore, and the symbol-type tables.
#include "fmttest.h"

#include "base/heap.h"
#include "doc/dlex.h"
#include "doc/dta.h"
#include "doc/sel.h"

#include <gtest/gtest.h>

using namespace fmttest;

namespace {
class FormatTest : public FmtTest {};
} // namespace

TEST_F(FormatTest, SelectionTakesSelectionColours) {
    FileBuffer *doc = CDoc({"abcdef ghij", "klm"});
    Sel *sel = SelNew(doc, 0, 2, 1, 1);
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetSelection(true, sel);
    const FmtLine *l = Format(doc, 0);
    std::vector<RunOf> runs = Runs(l);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "ab");
    EXPECT_EQ(runs[0].back, StyleDefaultBack());
    EXPECT_EQ(runs[1].text, "cdef ghij");
    EXPECT_EQ(runs[1].fore, 0xFFFFFFu);
    EXPECT_EQ(runs[1].back, 0x800000u);
    EXPECT_TRUE(l->flags & FMT_LINE_SELECTED);
    runs = Runs(Format(doc, 1));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "k");
    EXPECT_EQ(runs[0].back, 0x800000u);
    EXPECT_EQ(runs[1].back, StyleDefaultBack());
    // A column selection by its pixel edges.
    SelSetColumn(sel, 0, XAt(l, 1), 1, XAt(l, 3), nullptr);
    FormatSetSelection(true, sel);
    runs = Runs(Format(doc, 0));
    ASSERT_GE(runs.size(), 2u);
    EXPECT_EQ(runs[1].text, "bc");
    EXPECT_EQ(runs[1].back, 0x800000u);
    MemFree(sel);
}

TEST_F(FormatTest, SameLineTwiceDoesNoWork) {
    FileBuffer *doc = CDoc({"int a;", "int b;"});
    FormatBegin(doc, FMT_SCREEN, nullptr);
    int32_t before = FormatWorkCount();
    FormatLine(1);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 1);
    FormatEnd();
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 1) << "a new formatting of the same line";
    FormatSetTargetColumn(2);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 2) << "a target column";
    FormatSetTargetColumn(-1);
    FormatLine(1);
    doc->cChange++;
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 4) << "a change of the buffer";
    FlushFormatCache();
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 5);
    FlushFormatCacheOf(nullptr);
    FormatLine(1);
    EXPECT_EQ(FormatWorkCount(), before + 5) << "another buffer's flush";
    FormatEnd();
}

TEST_F(FormatTest, ColumnsAndPixelsBothWays) {
    FileBuffer *doc = CDoc({"\tint  value = 42;"});
    const FmtLine *l = Format(doc, 0);
    for (int32_t column = 0; column < 17; column++) {
        int32_t x = FmtXOfColumn(column);
        EXPECT_EQ(FmtColumnAtX(x), column) << column;
    }
    EXPECT_EQ(FmtColumnAtX(l->width + 100), 17);
    EXPECT_EQ(FmtColumnAtX(-5), 0);
    EXPECT_EQ(FmtXOfColumn(100), l->width);
}

TEST_F(FormatTest, NestedFormattingThroughSaveAndRestore) {
    FileBuffer *a = CDoc({"int a;"}, "a.c"), *b = CDoc({"/* b */"}, "b.c");
    FormatBegin(a, FMT_SCREEN, nullptr);
    FormatSetLineNumbers(true);
    FormatLine(0);
    EXPECT_EQ(DocStyleAt(b, 0, 3), STYLE_COMMENT) << "another buffer while one is being formatted";
    EXPECT_EQ(FormatDepth(), 1);
    EXPECT_EQ(Shown(FmtCurrentLine()), "00001: int a;");
    FmtSaved *saved = FormatSaveState();
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(FormatDepth(), 0);
    FormatBegin(b, FMT_SCREEN, nullptr);
    FormatLine(0);
    EXPECT_EQ(Shown(FmtCurrentLine()), "/* b */");
    FormatEnd();
    FormatRestoreState(saved);
    EXPECT_EQ(FormatDepth(), 1);
    EXPECT_EQ(Shown(FmtCurrentLine()), "00001: int a;");
    FormatEnd();
    FormatRestoreState(FormatSaveState()); // nothing open: nothing to put back
    EXPECT_EQ(FormatDepth(), 0);
}

TEST(FormatSymbolStyles, Tables) {
    EXPECT_EQ(RefStyleOf(-1), 0);
    EXPECT_EQ(RefStyleOf(58), 0);
    EXPECT_EQ(RefStyleOf(0), 82);
    EXPECT_EQ(RefStyleOf(57), 91);
    EXPECT_EQ(RefStyleOf(22), 22);
    struct Case {
        int32_t type, parent, style;
    } cases[] = {
        {5, -1, 69},  {5, 0, 59},   {5, 31, 59}, {16, 0, 77}, {17, 0, 60},  {2, 0, 65},
        {32, 0, 111}, {41, 10, 33}, {31, 0, 0},  {0, 10, 63}, {11, 10, 61}, {58, -1, 0},
    };
    for (const Case &c : cases) {
        FmtSymbol symbol = {};
        symbol.type = c.type;
        symbol.parentType = c.parent;
        EXPECT_EQ(DeclStyleOf(&symbol), c.style) << c.type << " in " << c.parent;
    }
}
