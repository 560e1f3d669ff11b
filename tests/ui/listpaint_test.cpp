// The list control's row painter, probed in the pixels that WM_PRINTCLIENT paints into a canvas:
// - colours: the selected row in the highlight colour, stripes, the no-match view's grey text beside a kept
//   highlight, bold rows;
// - columns: an empty second column cleared to its background, tab pieces in aligned columns;
// - the outline: no connector for a level-0 item without plus and minus images, connectors for deeper items,
//   the images' own connectors;
// - owner-drawn cells (request 3 per column with its rectangle, key and state) and check images.
#include "ui/listbox.h"

#include "ui/color.h"
#include "ui/listtest.h"

#include <gtest/gtest.h>

namespace {

const COLORREF blue = RGB(0, 0, 255), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
const COLORREF lineGrey = RGB(128, 128, 128);

class ListpaintTest : public testing::Test {
protected:
    HWND Make(uint32_t style, std::vector<std::string> texts) {
        owner.model.texts = std::move(texts);
        HWND list = owner.List(style, width, height);
        ListboxSetColors(list, blue, white);
        return list;
    }
    void Paint(HWND list, COLORREF fill = red) {
        canvas.Fill(fill);
        ListPaint(list, &canvas);
    }
    RECT Cell(HWND list, int32_t item, int left, int right) {
        RECT row = ListRowRect(list, item);
        return RECT{left, row.top, right, row.bottom};
    }
    COLORREF RightEnd(HWND list, int32_t item) {
        RECT row = ListRowRect(list, item);
        return canvas.Pixel(row.right - 3, (row.top + row.bottom) / 2);
    }
    static ListboxColumn Column(uint32_t flags, int32_t width, int32_t key) {
        ListboxColumn column;
        ListboxColumnInit(&column);
        column.flags = flags;
        column.width = width;
        column.key = key;
        return column;
    }
    // Leftmost and rightmost x of the colour inside the rectangle; -1 when absent.
    std::pair<int, int> Span(const RECT &rect, COLORREF color) {
        int lo = -1, hi = -1;
        for (int x = rect.left; x < rect.right; x++)
            for (int y = rect.top; y < rect.bottom; y++)
                if (canvas.Pixel(x, y) == color) {
                    if (lo < 0) lo = x;
                    hi = x;
                }
        return {lo, hi};
    }
    static constexpr int width = 240, height = 160;
    ListOwner owner;
    UiCanvas canvas{width, height};
};

} // namespace

TEST_F(ListpaintTest, SelectedRowInHighlight) {
    HWND list = Make(1, {"MMMM", "MMMM", "MMMM"});
    ListboxSetCurSel(list, 1);
    Paint(list);
    EXPECT_EQ(RightEnd(list, 0), white);
    EXPECT_EQ(RightEnd(list, 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(RightEnd(list, 2), white);
    EXPECT_GT(ListCountColor(canvas, ListRowRect(list, 1), GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
    EXPECT_EQ(ListCountColor(canvas, ListRowRect(list, 1), blue), 0);
    // Below the last row the list is cleared to its background.
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(canvas.Pixel(5, client.bottom - 2), white);
}

TEST_F(ListpaintTest, StripesOnOddRows) {
    HWND list = Make(0x400001, {"a", "b", "c"});
    Paint(list);
    EXPECT_EQ(RightEnd(list, 0), white);
    EXPECT_EQ(RightEnd(list, 1), ColorScale(white, 95));
    EXPECT_EQ(RightEnd(list, 2), white);
}

TEST_F(ListpaintTest, NoMatchGreysTextButKeepsHighlight) {
    HWND list = Make(1, {"MMMM", "MMMM", "MMMM"});
    SendMessageA(list, 2030, 2, 2);
    ListboxSetCurSel(list, 1);
    Paint(list);
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(ListCountColor(canvas, ListRowRect(list, 0), grey), 0);
    EXPECT_EQ(ListCountColor(canvas, ListRowRect(list, 0), blue), 0);
    EXPECT_EQ(RightEnd(list, 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_GT(ListCountColor(canvas, ListRowRect(list, 1), grey), 0);
}

TEST_F(ListpaintTest, BoldRowsAreHeavier) {
    owner.model.bold = {0, 1};
    HWND list = Make(1, {"MMMMMM", "MMMMMM"});
    Paint(list);
    RECT row0 = ListRowRect(list, 0), row1 = ListRowRect(list, 1);
    int area = (row0.right - row0.left) * (row0.bottom - row0.top);
    EXPECT_LT(ListCountColor(canvas, row1, white), ListCountColor(canvas, row0, white));
    EXPECT_LT(ListCountColor(canvas, row0, white), area);
}

TEST_F(ListpaintTest, EmptySecondColumnIsCleared) {
    HWND list = Make(0x801, {"one\t", "two\tX", "three"});
    ListboxColumn first = Column(0, 100, 0), second = Column(0, 80, 1);
    ListboxSetOneColumn(list, &first);
    ListboxSetColumn(list, 0, &first);
    ListboxAddColumn(list, &second);
    Paint(list);
    RECT cell0 = Cell(list, 0, 100, 180), cell1 = Cell(list, 1, 100, 180), cell2 = Cell(list, 2, 100, 180);
    int area = (cell0.right - cell0.left) * (cell0.bottom - cell0.top);
    EXPECT_EQ(ListCountColor(canvas, cell0, white), area);
    COLORREF stripe = ColorScale(white, 95); // several columns shade odd rows
    EXPECT_GT(ListCountColor(canvas, cell1, stripe), 0);
    EXPECT_GT(ListCountColor(canvas, cell1, blue), 0);
    EXPECT_EQ(ListCountColor(canvas, cell1, red), 0);
    EXPECT_EQ(ListCountColor(canvas, cell2, white), area);                     // no piece left for it
    EXPECT_EQ(ListCountColor(canvas, Cell(list, 0, 180, width - 10), red), 0); // the rest of the row
}

TEST_F(ListpaintTest, ColumnsAlignTheirText) {
    HWND list = Make(0x801, {"a\tII\tII\tII"});
    ListboxColumn first = Column(0, 30, 0);
    ListboxSetOneColumn(list, &first);
    ListboxSetColumn(list, 0, &first);
    ListboxColumn left = Column(0, 60, 1), right = Column(LISTBOX_COL_ALIGN_RIGHT, 60, 2),
                  centre = Column(LISTBOX_COL_ALIGN_CENTER, 60, 3);
    ListboxAddColumn(list, &left);
    ListboxAddColumn(list, &right);
    ListboxAddColumn(list, &centre);
    Paint(list);
    auto l = Span(Cell(list, 0, 30, 90), blue), r = Span(Cell(list, 0, 90, 150), blue),
         c = Span(Cell(list, 0, 150, 210), blue);
    ASSERT_GE(l.first, 0);
    ASSERT_GE(r.first, 0);
    ASSERT_GE(c.first, 0);
    EXPECT_LT(l.second, 60); // near the left edge
    EXPECT_GT(r.first, 120); // near the right edge
    EXPECT_LT(r.second, 150);
    int middle = (c.first + c.second) / 2;
    EXPECT_NEAR(middle, 180, 3);
}

TEST_F(ListpaintTest, OutlineConnectorsWithoutImages) {
    owner.model.levels = {0, 1, 1, 0};
    HWND list = Make(0x101, {"top", "child", "child", "next"});
    ListboxSetOutline(list, true, false);
    Paint(list);
    // Level 0 has no connector; level 1 has one left of its text.
    EXPECT_EQ(ListCountColor(canvas, Cell(list, 0, 0, 2), lineGrey), 0);
    EXPECT_EQ(ListCountColor(canvas, Cell(list, 3, 0, 2), lineGrey), 0);
    EXPECT_GT(ListCountColor(canvas, Cell(list, 1, 0, 6), lineGrey), 0);
    EXPECT_GT(ListCountColor(canvas, Cell(list, 2, 0, 6), lineGrey), 0);
}

TEST_F(ListpaintTest, OutlineImagesHaveConnectors) {
    owner.model.levels = {0, 1, 0};
    HWND list = Make(0x101, {"top", "child", "next"});
    ListboxSetOutline(list, true, true);
    Paint(list);
    RECT row0 = ListRowRect(list, 0);
    // The first item is expanded (its next item lies deeper): its minus image and its connectors stand left
    // of the text, in grey and black.
    int others = 0;
    for (int y = row0.top; y < row0.bottom; y++)
        for (int x = 0; x < 16; x++) others += canvas.Pixel(x, y) != white;
    EXPECT_GT(others, 0);
    EXPECT_GT(ListCountColor(canvas, Cell(list, 1, 0, 20), lineGrey), 0);
    EXPECT_EQ(ListCountColor(canvas, ListRowRect(list, 0), red), 0);
}

TEST_F(ListpaintTest, OwnerDrawsEveryCell) {
    owner.model.textHeight = 14;
    HWND list = Make(0x809, {"a", "b"});
    ListboxColumn first = Column(0, 70, 10), second = Column(0, 50, 11);
    ListboxSetOneColumn(list, &first);
    ListboxSetColumn(list, 0, &first);
    ListboxAddColumn(list, &second);
    ListboxSetCurSel(list, 1);
    owner.model.log.clear();
    Paint(list);
    std::vector<ListboxNotify> cells;
    for (const ListboxNotify &r : owner.model.log)
        if (r.w[LISTBOX_W_CODE] == LISTBOX_REQ_PAINT_CELL) cells.push_back(r);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(owner.model.Count(LISTBOX_REQ_TEXT), 0);
    RECT cell = ListboxNotifyRect(&cells[0]), client;
    EXPECT_EQ(cell.left, 0);
    EXPECT_EQ(cell.right, 70);
    cell = ListboxNotifyRect(&cells[1]);
    GetClientRect(list, &client);
    EXPECT_EQ(cell.left, 70);
    EXPECT_EQ(cell.right, client.right); // the last cell runs to the end of the row
    EXPECT_EQ(cells[1].w[LISTBOX_W_CELL_COLUMN], 11);
    EXPECT_EQ(cells[0].w[LISTBOX_W_STATE], 0);
    EXPECT_EQ(cells[2].w[LISTBOX_W_ITEM], 1);
    EXPECT_EQ(cells[2].w[LISTBOX_W_STATE], LISTBOX_CELL_SELECTED);
    EXPECT_EQ(ListboxNotifyDC(&cells[2]), canvas.dc());
    EXPECT_EQ(cells[2].w[LISTBOX_W_CELL_COLUMN], 10);
}

TEST_F(ListpaintTest, CheckImagesBeforeText) {
    owner.model.checks = {1, 0};
    HWND list = Make(0x2001, {"a", "b"});
    Paint(list);
    EXPECT_EQ(owner.model.Count(LISTBOX_REQ_GET_CHECK), 2);
    RECT row = ListRowRect(list, 0);
    int drawn = 0;
    for (int y = row.top; y < row.bottom; y++)
        for (int x = 2; x < 2 + (row.bottom - row.top); x++) drawn += canvas.Pixel(x, y) != white;
    EXPECT_GT(drawn, 0);
}
