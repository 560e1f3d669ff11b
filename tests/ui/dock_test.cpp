// The docking model and layout, in a frame whose WM_SIZE lays the dock out:
// - placements: defaults, the thickness of new rows, the share of a pane as long as its row, a stored side
//   out of range, rows and positions clamped;
// - layout: stacked panes one pixel shorter than their slots, the MDI rectangle and the corners of the top
//   and bottom sides, hiding the only pane of a row and showing it again, removing the last pane;
// - DockApply: the pane's own single-pane row, a new row at the pane's own place, titles, value and caption
//   bar moving to the new record, a move that cannot be made (the window stays, shown), placements that keep
//   the sizes laid out now;
// - splitters dragged through scripted input, enabling the windows for modal loops.
#include "ui/docktest.h"

#include "base/heap.h"
#include "base/sysprobe.h"
#include "ui/bmp.h"
#include "ui/draw.h"

#include <cstring>

namespace {

class DockTest : public DockFixture {};

bool SideShown(int32_t side) {
    return (GetWindowLongA(DockSideAt(side)->window, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT InFrame(HWND frame, HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, frame, (POINT *)&rect, 2);
    return rect;
}

TEST_F(DockTest, InfoDefaults) {
    DockInfo info;
    memset(&info, 0x5A, sizeof info);
    DockInfoInit(&info);
    int32_t w = RectWidth(&drawMetrics.workArea), h = RectHeight(&drawMetrics.workArea);
    EXPECT_EQ(info.state, DOCK_DOCKED);
    EXPECT_EQ(info.side, DOCK_BOTTOM);
    EXPECT_EQ(info.floatRect.x, (w - w / 3 + 1) / 2);
    EXPECT_EQ(info.floatRect.y, (h - h / 3 + 1) / 2);
    EXPECT_EQ(info.floatRect.w, w / 3);
    EXPECT_EQ(info.dockedWidth, 3 * drawMetrics.dpiX);
    EXPECT_EQ(info.dockedHeight, 2 * drawMetrics.dpiY);
    EXPECT_EQ(info.flags | info.row | info.pos | info.transparency, 0);
    for (uint8_t byte : info.unused) ASSERT_EQ(byte, 0);
}

TEST_F(DockTest, NewRowThickness) {
    int32_t halfX = drawMetrics.dpiX / 2, halfY = drawMetrics.dpiY / 2;
    int32_t areaW = RectWidth(&client), areaH = RectHeight(&client);
    struct Case {
        int32_t side;
        int32_t docked;
        int32_t thickness;
    } cases[] = {
        {DOCK_BOTTOM, halfY - 1, areaH / 4}, {DOCK_BOTTOM, halfY, halfY},
        {DOCK_BOTTOM, areaH, areaH / 4},     {DOCK_TOP, areaH - 1, areaH - 1},
        {DOCK_LEFT, halfX - 1, areaW / 4},   {DOCK_LEFT, 120, 120},
        {DOCK_RIGHT, areaW, areaW / 4},      {DOCK_RIGHT, -5, areaW / 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.side << " docked " << c.docked);
        DockInfo info = Docked(c.side);
        (DockSideStacks(c.side) ? info.dockedWidth : info.dockedHeight) = c.docked;
        HWND pane = Pane(info);
        ASSERT_TRUE(pane);
        DockRow *row = DockRowAt(c.side, 0);
        EXPECT_EQ(DockSideStacks(c.side) ? row->width : row->height, c.thickness);
        RECT side = InFrame(frame, DockSideAt(c.side)->window);
        EXPECT_EQ(DockSideStacks(c.side) ? RectWidth(&side) : RectHeight(&side), c.thickness);
        DockDestroyWindow(pane);
        EXPECT_EQ(Rows(c.side), 0);
    }
}

TEST_F(DockTest, PaneAsLongAsTheRowTakesAnEqualShare) {
    HWND a = Pane(Docked(DOCK_BOTTOM));
    DockInfo info = Docked(DOCK_BOTTOM, 0, 1);
    info.dockedWidth = RectWidth(&client);
    HWND b = Pane(info);
    int32_t half = RectWidth(&client) / 2;
    EXPECT_EQ(Where(a).pane->width, half);
    EXPECT_EQ(Where(b).pane->width, half);
    EXPECT_EQ(RectWidth(&Where(a).pane->rect), half - DOCK_SPLITTER);
    EXPECT_EQ(Where(b).pane->rect.left, half);
}

TEST_F(DockTest, StackedPaneIsOnePixelShorterThanItsSlot) {
    HWND a = Pane(Docked(DOCK_LEFT));
    HWND b = Pane(Docked(DOCK_RIGHT));
    HWND c = Pane(Docked(DOCK_RIGHT, 0, 1));
    DockRow *row = DockRowAt(DOCK_LEFT, 0);
    RECT ra = InFrame(frame, a);
    EXPECT_EQ(RectHeight(&ra), row->height - 1);
    EXPECT_EQ(RectWidth(&ra), row->width - DOCK_SPLITTER);
    DockPane *pb = Where(b).pane, *pc = Where(c).pane;
    EXPECT_EQ(pb->height + pc->height, RectHeight(&client));
    RECT rb = InFrame(frame, b), rc = InFrame(frame, c);
    EXPECT_EQ(RectHeight(&rb), pb->height - DOCK_SPLITTER - 1);
    EXPECT_EQ(RectHeight(&rc), pc->height - 1);
    EXPECT_EQ(pb->splitter.top, pb->height - DOCK_SPLITTER);
    // The right side's splitter runs along the row's inner (left) edge.
    EXPECT_EQ(DockRowAt(DOCK_RIGHT, 0)->splitter.left, 0);
    EXPECT_EQ(pb->rect.left, DOCK_SPLITTER);
}

TEST_F(DockTest, MdiRectangleShrinksAndTopAndBottomTakeTheCorners) {
    for (int32_t side : {DOCK_LEFT, DOCK_TOP, DOCK_RIGHT, DOCK_BOTTOM}) ASSERT_TRUE(Pane(Docked(side)));
    int32_t w = DockRowAt(DOCK_LEFT, 0)->width, r = DockRowAt(DOCK_RIGHT, 0)->width;
    int32_t t = DockRowAt(DOCK_TOP, 0)->height, b = DockRowAt(DOCK_BOTTOM, 0)->height;
    RECT expected = {w, t, client.right - r, client.bottom - b};
    EXPECT_TRUE(EqualRect(&mdi, &expected));
    RECT top = InFrame(frame, DockSideAt(DOCK_TOP)->window),
         left = InFrame(frame, DockSideAt(DOCK_LEFT)->window);
    RECT bottom = InFrame(frame, DockSideAt(DOCK_BOTTOM)->window);
    EXPECT_EQ(RectWidth(&top), RectWidth(&client));
    EXPECT_EQ(RectWidth(&bottom), RectWidth(&client));
    EXPECT_EQ(left.top, t);
    EXPECT_EQ(left.bottom, client.bottom - b);
}

// Hiding the last visible pane of a row used to share the row out among no panes at all.
TEST_F(DockTest, HidingTheOnlyPaneHidesRowAndSide) {
    HWND a = Pane(Docked(DOCK_LEFT));
    int32_t width = DockRowAt(DOCK_LEFT, 0)->width;
    EXPECT_TRUE(DockShow(a, false));
    EXPECT_TRUE(DockRowAt(DOCK_LEFT, 0)->hidden);
    EXPECT_EQ(DockSideAt(DOCK_LEFT)->width, 0);
    EXPECT_FALSE(SideShown(DOCK_LEFT));
    EXPECT_EQ(mdi.left, 0);
    EXPECT_FALSE(GetWindowLongA(a, GWL_STYLE) & WS_VISIBLE);
    DockInfo info;
    DockGetInfo(a, &info);
    EXPECT_TRUE(info.flags & DOCK_INFO_HIDDEN);

    EXPECT_FALSE(DockShow(a, true));
    EXPECT_FALSE(DockRowAt(DOCK_LEFT, 0)->hidden);
    EXPECT_EQ(DockSideAt(DOCK_LEFT)->width, width);
    EXPECT_TRUE(SideShown(DOCK_LEFT));
    EXPECT_EQ(mdi.left, width);
    EXPECT_TRUE(GetWindowLongA(a, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(DockTest, HidingOnePaneGivesItsRoomToTheNext) {
    HWND a = Pane(Docked(DOCK_TOP));
    HWND b = Pane(Docked(DOCK_TOP, 0, 1));
    EXPECT_TRUE(DockShow(a, false));
    EXPECT_EQ(Where(b).pane->width, RectWidth(&client));
    EXPECT_EQ(Where(b).pane->rect.left, 0);
    EXPECT_FALSE(DockRowAt(DOCK_TOP, 0)->hidden);
    DockShow(a, true);
    EXPECT_EQ(Where(a).pane->width + Where(b).pane->width, RectWidth(&client));
}

TEST_F(DockTest, DestroyingTheLastPaneRemovesItsRow) {
    HWND a = Pane(Docked(DOCK_BOTTOM));
    EXPECT_EQ(Rows(DOCK_BOTTOM), 1);
    EXPECT_TRUE(DockDestroyWindow(a));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(Rows(DOCK_BOTTOM), 0);
    EXPECT_EQ(mdi.bottom, client.bottom);
    EXPECT_FALSE(DockDestroyWindow(a));
}

TEST_F(DockTest, StoredSideOutOfRangeDocksAtTheBottom) {
    HWND a = Pane(Docked(9, -4, 77));
    ASSERT_TRUE(a);
    EXPECT_EQ(Where(a).side, DOCK_BOTTOM);
    EXPECT_EQ(Where(a).row, 0);
    EXPECT_EQ(Where(a).pos, 0);
    EXPECT_EQ(GetParent(a), DockSideAt(DOCK_BOTTOM)->window);
    EXPECT_TRUE(DockIsDocked(a));
    EXPECT_EQ(DockWindowKind(a), DOCK_KIND_DOCKED);
    HWND b = Pane(Docked(DOCK_NO_SIDE - 7, 5, -3));
    EXPECT_EQ(Where(b).side, DOCK_BOTTOM);
    EXPECT_EQ(Where(b).row, 1);
}

TEST_F(DockTest, ApplyToTheOwnSinglePaneRowChangesNothing) {
    HWND a = Pane(Docked(DOCK_LEFT));
    Pane(Docked(DOCK_LEFT, 1));
    DockLoc before = Where(a);
    DockPane copy = *before.pane;
    DockInfo info;
    DockGetInfo(a, &info);
    info.pos = 1;
    info.dockedHeight = 50;
    EXPECT_TRUE(DockApply(a, &info));
    DockLoc after = Where(a);
    EXPECT_EQ(after.pane, before.pane);
    EXPECT_EQ(memcmp(after.pane, &copy, sizeof copy), 0);
    EXPECT_EQ(Rows(DOCK_LEFT), 2);
}

TEST_F(DockTest, ApplyMovesTitlesValueAndCaptionBar) {
    HWND a = Pane(Docked(DOCK_LEFT), "Symbols");
    DockSetSubtitle(a, "main.cpp", false);
    DockSetValue(a, 7, false);
    HWND bar =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 30, 12, a, nullptr, nullptr, nullptr);
    DockSetCaptionBar(a, bar);
    RECT client;
    GetClientRect(a, &client);
    EXPECT_EQ(InFrame(a, bar).left, client.right - 30);
    DockInfo top = Docked(DOCK_TOP);
    EXPECT_TRUE(DockApply(a, &top));
    EXPECT_EQ(Where(a).side, DOCK_TOP);
    EXPECT_EQ(Rows(DOCK_LEFT), 0);
    EXPECT_STREQ(DockGetTitle(a), "Symbols");
    EXPECT_STREQ(Where(a).pane->subtitle, "main.cpp");
    EXPECT_EQ(DockGetValue(a), 7);
    EXPECT_TRUE(IsWindow(bar));
    GetClientRect(a, &client);
    EXPECT_EQ(InFrame(a, bar).left, client.right - 30);
    EXPECT_TRUE(DockDestroyWindow(a));
    EXPECT_FALSE(IsWindow(bar));
}

// A move whose new record cannot be made used to leave the window hidden with no pane at all.
TEST_F(DockTest, MoveThatCannotBeMadeLeavesTheWindowShownInPlace) {
    HWND a = Pane(Docked(DOCK_LEFT), "Symbols");
    int32_t width = DockRowAt(DOCK_LEFT, 0)->width;
    DockInfo bottom = Docked(DOCK_BOTTOM);
    HeapFailNth(1, -1);
    bool applied = DockApply(a, &bottom);
    HeapFailNth(0);
    EXPECT_FALSE(applied);
    DockLoc loc = Where(a);
    ASSERT_TRUE(loc.pane);
    EXPECT_EQ(loc.side, DOCK_LEFT);
    EXPECT_FALSE(loc.pane->flags & (DOCK_PANE_HIDDEN | DOCK_PANE_MOVING));
    EXPECT_TRUE(GetWindowLongA(a, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetParent(a), DockSideAt(DOCK_LEFT)->window);
    EXPECT_EQ(mdi.left, width);
    EXPECT_EQ(Rows(DOCK_BOTTOM), 0);
    EXPECT_STREQ(DockGetTitle(a), "Symbols");
}

TEST_F(DockTest, ApplySamePlaceTakesTheDockedSize) {
    HWND a = Pane(Docked(DOCK_TOP));
    HWND b = Pane(Docked(DOCK_TOP, 0, 1));
    DockInfo info;
    DockGetInfo(a, &info);
    info.dockedWidth = 300;
    EXPECT_TRUE(DockApply(a, &info));
    EXPECT_EQ(Where(a).pane->width, 300);
    EXPECT_EQ(Where(b).pane->width, RectWidth(&client) - 300);
    EXPECT_EQ(InFrame(frame, b).left, 300);
}

// A new row at the pane's own row index and position is a move, not a change of size in place.
TEST_F(DockTest, ApplyToANewRowAtTheOwnPlaceSplitsThePaneOut) {
    HWND a = Pane(Docked(DOCK_TOP));
    HWND b = Pane(Docked(DOCK_TOP, 0, 1));
    DockInfo info;
    DockGetInfo(a, &info);
    info.flags |= DOCK_INFO_NEW_ROW;
    EXPECT_TRUE(DockApply(a, &info));
    EXPECT_EQ(Rows(DOCK_TOP), 2);
    EXPECT_EQ(Where(a).row, 0);
    EXPECT_EQ(Where(b).row, 1);
    EXPECT_EQ(Where(b).pane->width, RectWidth(&client));
}

// A saved placement keeps what the user made of the splitters: the docked sizes are the ones laid out.
TEST_F(DockTest, SplittersResizeRowsAndPanes) {
    HWND a = Pane(Docked(DOCK_LEFT));
    HWND b = Pane(Docked(DOCK_LEFT, 0, 1));
    DockRow *row = DockRowAt(DOCK_LEFT, 0);
    int32_t width = row->width, height = Where(a).pane->height;
    HWND side = DockSideAt(DOCK_LEFT)->window;
    POINT origin = {0, 0};
    ClientToScreen(side, &origin);
    POINT grab = {row->splitter.left + 1, 100};
    Script({{origin.x + grab.x, origin.y + 100}, {origin.x + grab.x + 40, origin.y + 120}});
    EXPECT_TRUE(DockSplitterClick(side, grab));
    EXPECT_EQ(DockRowAt(DOCK_LEFT, 0)->width, width + 40);
    EXPECT_EQ(mdi.left, width + 40);
    DockInfo info;
    DockGetInfo(a, &info);
    EXPECT_EQ(info.dockedWidth, width + 40);
    EXPECT_EQ(dirty, 1);

    grab = {50, Where(a).pane->splitter.top + 1};
    Script({{origin.x + 50, origin.y + grab.y}, {origin.x + 50, origin.y + grab.y - 30}});
    EXPECT_TRUE(DockSplitterClick(side, grab));
    EXPECT_EQ(Where(a).pane->height, height - 30);
    EXPECT_EQ(Where(a).pane->height + Where(b).pane->height, RectHeight(&client));
    DockGetInfo(b, &info);
    EXPECT_EQ(info.dockedHeight, Where(b).pane->height);
    EXPECT_EQ(dirty, 2);

    // Dragged thinner than half an inch, a row keeps half an inch; Esc changes nothing.
    grab = {DockRowAt(DOCK_LEFT, 0)->splitter.left + 1, 10};
    Script({{origin.x + grab.x, origin.y + 10}, {origin.x, origin.y + 10}});
    DockSplitterClick(side, grab);
    EXPECT_EQ(DockRowAt(DOCK_LEFT, 0)->width, drawMetrics.halfDpiX);
    Script({{origin.x + 20, origin.y + 10}, {origin.x + 200, origin.y + 10}}, false, true);
    DockSplitterClick(side, {drawMetrics.halfDpiX - 2, 10});
    EXPECT_EQ(DockRowAt(DOCK_LEFT, 0)->width, drawMetrics.halfDpiX);
    EXPECT_EQ(dirty, 3);
    EXPECT_FALSE(DockSplitterClick(side, {5, 5}));
}

TEST_F(DockTest, WindowsEnableReachesDockedWindowsAndFloatingFrames) {
    HWND a = Pane(Docked(DOCK_LEFT));
    HWND b = Pane(Floating({300, 300, 200, 150}, DOCK_INFO_HIDDEN));
    HWND bFrame = DockGetContainer(b);
    ASSERT_NE(bFrame, frame);
    DockWindowsEnable(false);
    EXPECT_FALSE(IsWindowEnabled(a));
    EXPECT_FALSE(IsWindowEnabled(b));
    EXPECT_FALSE(IsWindowEnabled(bFrame));
    DockWindowsEnable(true);
    EXPECT_TRUE(IsWindowEnabled(a));
    EXPECT_TRUE(IsWindowEnabled(bFrame));
    EXPECT_EQ(DockGetContainer(a), DockSideAt(DOCK_LEFT)->window);
}

TEST_F(DockTest, FloatingPlacementRoundTrips) {
    HWND a = Pane(Floating({300, 250, 220, 160}, DOCK_INFO_HIDDEN));
    ASSERT_TRUE(a);
    EXPECT_FALSE(DockIsDocked(a));
    EXPECT_EQ(DockWindowKind(a), DOCK_KIND_OTHER);
    RECT frameRect = WindowRect(DockGetContainer(a));
    EXPECT_EQ(frameRect.left, 300);
    EXPECT_EQ(RectWidth(&frameRect), 220);
    DockInfo info;
    DockGetInfo(a, &info);
    EXPECT_EQ(info.state, DOCK_FLOATING);
    EXPECT_EQ(info.side, DOCK_NO_SIDE);
    EXPECT_EQ(info.floatRect.y, 250);
    EXPECT_EQ(info.floatRect.h, 160);
    EXPECT_TRUE(info.flags & DOCK_INFO_HIDDEN);
    RECT inside;
    GetClientRect(DockGetContainer(a), &inside);
    RECT window = WindowRect(a);
    EXPECT_EQ(RectWidth(&window), inside.right);
}

TEST_F(DockTest, CaptionButtonsComeFromTheCommandSlots) {
    const DockCaptionButton *buttons;
    int32_t n = DockGetCaptionButtons(&buttons);
    ASSERT_GE(n, 3);
    EXPECT_STREQ(buttons[n - 3].bitmap, "bmpMinMax");
    EXPECT_STREQ(buttons[n - 2].bitmap, "bmpZoom");
    EXPECT_STREQ(buttons[n - 1].bitmap, "bmpCloseSmall");
    EXPECT_EQ(n == 4, WndCanUseTransparency());
    for (int32_t i = 0; i < n; i++) {
        HBITMAP bitmap = BmpGet(buttons[i].bitmap);
        EXPECT_TRUE(bitmap) << buttons[i].bitmap;
        BmpRelease(bitmap);
    }
    int32_t height;
    EXPECT_TRUE(DockGetFont(DOCK_FONT_TITLE, &height));
    EXPECT_GT(height, 0);
}

} // namespace
