// Moving panes, zoom and roll-up, and the floating frame:
// - the target under the cursor as a table: Ctrl, the corner bands, the right and left strips, the dock
//   area's edges, a row's edges, the halves of panes;
// - scripted moves: a release where the button was pressed, Esc, Ctrl, a floating pane dropped in the left
//   strip, a docked pane dropped beside another;
// - zoom and roll-up: a docked pane floats to zoom and remembers its place, roll-up leaves the caption
//   height, maximize on a rolled-up frame unrolls and zooms it, restore, the work area of the frame's monitor;
// - the floating frame's hit test on version 6 and through a transparent frame, its least tracking size;
// - the panes' procedure passing key codes to the frame.
#include "ui/docktest.h"

#include "base/monitor.h"
#include "base/sysprobe.h"
#include "ui/dockdrag.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <algorithm>
#include <cstring>

namespace {

class DockDragTest : public DockFixture {
protected:
    // A point in the frame's client area, on the screen.
    POINT At(int32_t x, int32_t y) const {
        POINT point = {x, y};
        ClientToScreen(frame, &point);
        return point;
    }
};

LRESULT HitTest(HWND window, int32_t x, int32_t y) {
    return SendMessageA(window, WM_NCHITTEST, 0, (LPARAM)PackWords(x, y));
}

// Top row: two panes side by side; a left row of one pane; a right row whose only pane is hidden.
TEST_F(DockDragTest, TargetUnderTheCursor) {
    ASSERT_EQ(drawMetrics.dpiX, 96);
    ASSERT_EQ(drawMetrics.dpiY, 96);
    HWND first = Pane(Docked(DOCK_TOP));
    HWND second = Pane(Docked(DOCK_TOP, 0, 1));
    Pane(Docked(DOCK_LEFT));
    Pane(Docked(DOCK_RIGHT, 0, 0, DOCK_INFO_HIDDEN));
    int32_t top = DockRowAt(DOCK_TOP, 0)->height, left = DockRowAt(DOCK_LEFT, 0)->width;
    int32_t mid1 = (Where(first).pane->rect.left + Where(first).pane->rect.right) / 2;
    int32_t mid2 = (Where(second).pane->rect.left + Where(second).pane->rect.right) / 2;
    int32_t w = client.right, h = client.bottom;
    const int32_t FLOAT = -9;
    struct Case {
        const char *what;
        POINT point;
        bool ctrl;
        int32_t side; // FLOAT: no docking target
        int32_t row;
        int32_t pos;
        bool newRow;
    } cases[] = {
        {"Ctrl over a pane", {100, 100}, true, FLOAT, 0, 0, false},
        {"bottom right corner band", {w - 5, h - 5}, false, FLOAT, 0, 0, false},
        {"right strip: a new outermost row", {w - 20, 400}, false, DOCK_RIGHT, 1, 0, true},
        {"right strip's inner half", {w - 40, 400}, false, DOCK_RIGHT, 1, 0, true},
        {"left strip", {10, 400}, false, DOCK_LEFT, 0, 0, true},
        {"dock area's bottom band", {400, h - 10}, false, DOCK_BOTTOM, 0, 0, true},
        {"dock area's top band", {400, 10}, false, DOCK_TOP, 0, 0, true},
        {"top row's bottom edge", {400, top - 10}, false, DOCK_TOP, 1, 0, true},
        {"left row's inner edge", {left - 10, 400}, false, DOCK_LEFT, 1, 0, true},
        {"first half of the first top pane", {mid1 - 20, 100}, false, DOCK_TOP, 0, 0, false},
        {"second half of the first top pane", {mid1 + 20, 100}, false, DOCK_TOP, 0, 1, false},
        {"second half of the second top pane", {mid2 + 20, 100}, false, DOCK_TOP, 0, 2, false},
        {"upper half of the left pane", {150, top + 50}, false, DOCK_LEFT, 0, 0, false},
        {"lower half of the left pane", {150, h - 50}, false, DOCK_LEFT, 0, 1, false},
        {"the MDI area", {400, 400}, false, FLOAT, 0, 0, false},
    };
    RECT area = AreaOnScreen();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        DockInfo info = Docked(DOCK_BOTTOM, 5, 5, DOCK_INFO_NEW_ROW);
        DockFeedback feedback = {};
        POINT point = At(c.point.x, c.point.y);
        bool docks = DockHitTarget(point.x, point.y, c.ctrl, &area, &info, &feedback);
        EXPECT_EQ(docks, c.side != FLOAT);
        if (c.side == FLOAT) {
            EXPECT_EQ(info.state, DOCK_FLOATING);
            EXPECT_EQ(info.side, DOCK_NO_SIDE);
            EXPECT_FALSE(info.flags & DOCK_INFO_NEW_ROW);
            continue;
        }
        EXPECT_EQ(info.state, DOCK_DOCKED);
        EXPECT_EQ(info.side, c.side);
        EXPECT_EQ(info.row, c.row);
        EXPECT_EQ(info.pos, c.pos);
        EXPECT_EQ((info.flags & DOCK_INFO_NEW_ROW) != 0, c.newRow);
        EXPECT_GE(feedback.hot.x, 0);
        EXPECT_LE(feedback.hot.x, feedback.size.cx);
    }
}

TEST_F(DockDragTest, EdgeBandsAndTheirOutlines) {
    RECT rect = {100, 100, 500, 400};
    int32_t bandX = drawMetrics.dpiX / 4, bandY = drawMetrics.dpiY / 4;
    DockFeedback f = {};
    EXPECT_EQ(DockHitEdge(99, 200, &rect, &f), DOCK_NO_SIDE);
    EXPECT_EQ(DockHitEdge(300, 250, &rect, &f), DOCK_NO_SIDE);
    EXPECT_EQ(DockHitEdge(100 + bandX - 1, 100 + bandY - 1, &rect, &f), DOCK_NO_SIDE);
    EXPECT_EQ(DockHitEdge(100 + bandX, 100 + bandY - 1, &rect, &f), DOCK_TOP);
    EXPECT_EQ(f.size.cx, 400);
    EXPECT_EQ(f.hot.x, bandX);
    EXPECT_EQ(f.hot.y, f.size.cy / 2);
    EXPECT_EQ(DockHitEdge(300, 399, &rect, &f), DOCK_BOTTOM);
    EXPECT_EQ(DockHitEdge(499, 200, &rect, &f), DOCK_RIGHT);
    EXPECT_EQ(f.size.cy, 300);
    EXPECT_EQ(f.hot.y, 100);
    RECT frameRect = WindowRect(frame);
    EXPECT_EQ(f.size.cx, std::min(RectWidth(&drawMetrics.workArea) / 4, RectWidth(&frameRect) / 4));
    EXPECT_EQ(DockHitEdge(100, 200, &rect, &f), DOCK_LEFT);
}

TEST_F(DockDragTest, ReleaseWherePressedChangesNothing) {
    HWND a = Pane(Docked(DOCK_LEFT));
    DockPane before = *Where(a).pane;
    POINT start = At(100, 100);
    Script({start, At(400, 300), start});
    DockDragPane(a, start.x, start.y);
    EXPECT_EQ(memcmp(Where(a).pane, &before, sizeof before), 0);
    EXPECT_EQ(dirty, 0);
}

TEST_F(DockDragTest, EscChangesNothing) {
    HWND a = Pane(Docked(DOCK_LEFT));
    POINT start = At(100, 100);
    Script({start, At(400, 10), At(400, 300)}, false, true);
    DockDragPane(a, start.x, start.y);
    EXPECT_EQ(Where(a).side, DOCK_LEFT);
    EXPECT_EQ(Rows(DOCK_TOP), 0);
    EXPECT_EQ(dirty, 0);
}

TEST_F(DockDragTest, FloatingPaneDroppedInTheLeftStripDocksOnTheLeft) {
    HWND b = Pane(Docked(DOCK_LEFT));
    HWND a = Pane(Floating({400, 300, 200, 150}));
    HWND oldFrame = DockGetContainer(a);
    POINT press = {50, 10};
    ClientToScreen(oldFrame, &press);
    Script({press, At(10, 300)});
    SendMessageA(oldFrame, WM_LBUTTONDOWN, MK_LBUTTON, (LPARAM)PackWords(50, 10));
    DockLoc loc = Where(a);
    EXPECT_EQ(loc.side, DOCK_LEFT);
    EXPECT_EQ(loc.row, 0);
    EXPECT_EQ(Where(b).row, 1);
    EXPECT_FALSE(IsWindow(oldFrame));
    EXPECT_EQ(GetParent(a), DockSideAt(DOCK_LEFT)->window);
    EXPECT_EQ(PlexCount(DockFloatList()), 0);
    EXPECT_EQ(mdi.left, DockRowAt(DOCK_LEFT, 0)->width + DockRowAt(DOCK_LEFT, 1)->width);
    EXPECT_EQ(dirty, 1);
}

TEST_F(DockDragTest, CtrlFloatsADockedPaneAroundTheCursor) {
    HWND a = Pane(Docked(DOCK_BOTTOM), "Output");
    DockInfo info;
    DockGetInfo(a, &info);
    POINT start = At(300, client.bottom - 50), end = At(400, 10);
    Script({start, end}, true);
    DockDragPane(a, start.x, start.y);
    ASSERT_EQ(Where(a).side, DOCK_NO_SIDE);
    RECT frameRect = WindowRect(DockGetContainer(a));
    EXPECT_EQ(RectWidth(&frameRect), info.floatRect.w);
    EXPECT_EQ(frameRect.left, end.x - info.floatRect.w / 2);
    EXPECT_EQ(frameRect.top, end.y - info.floatRect.h / 2);
    EXPECT_EQ(Rows(DOCK_BOTTOM), 0);
    EXPECT_STREQ(DockGetTitle(a), "Output");
    EXPECT_EQ(dirty, 1);
}

TEST_F(DockDragTest, DockedPaneDroppedOnTheSecondHalfOfAnotherJoinsAfterIt) {
    HWND a = Pane(Docked(DOCK_TOP));
    HWND b = Pane(Docked(DOCK_BOTTOM));
    int32_t quarter = RectWidth(&client) / 4;
    POINT start = {100, 20};
    ClientToScreen(b, &start);
    Script({start, At(3 * quarter, 100)});
    SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, (LPARAM)PackWords(100, 20));
    EXPECT_EQ(Rows(DOCK_BOTTOM), 0);
    DockLoc la = Where(a), lb = Where(b);
    EXPECT_EQ(lb.side, DOCK_TOP);
    EXPECT_EQ(lb.row, 0);
    EXPECT_EQ(la.pos, 0);
    EXPECT_EQ(lb.pos, 1);
    EXPECT_EQ(la.pane->width + lb.pane->width, RectWidth(&client));
    EXPECT_EQ(lb.pane->width, RectWidth(&client) / 2);
}

TEST_F(DockDragTest, ZoomingADockedPaneFloatsItOverTheWorkArea) {
    HWND a = Pane(Docked(DOCK_RIGHT, 0, 0, 0));
    HWND b = Pane(Docked(DOCK_RIGHT, 0, 1, 0));
    EXPECT_TRUE(DockZoom(b, true));
    DockLoc loc = Where(b);
    ASSERT_EQ(loc.side, DOCK_NO_SIDE);
    EXPECT_TRUE(DockIsZoomed(b));
    EXPECT_EQ(loc.pane->fromSide, DOCK_RIGHT);
    EXPECT_EQ(loc.pane->fromRow, 0);
    EXPECT_EQ(loc.pane->fromPos, 1);
    RECT work, frameRect = WindowRect(loc.pane->frame);
    WndGetWorkArea(loc.pane->frame, &work);
    EXPECT_TRUE(EqualRect(&frameRect, &work));
    EXPECT_EQ(Where(a).pane->height, RectHeight(&client));
    // A zoomed pane does not move.
    Script({{500, 500}, {10, 400}});
    DockDragPane(b, 500, 500);
    EXPECT_EQ(Where(b).side, DOCK_NO_SIDE);
    DockInfo info;
    DockGetInfo(b, &info);
    EXPECT_TRUE(info.flags & DOCK_INFO_ZOOMED);
    EXPECT_FALSE(DockZoom(b, false));
    frameRect = WindowRect(loc.pane->frame);
    EXPECT_EQ(frameRect.left, info.floatRect.x);
    EXPECT_EQ(RectHeight(&frameRect), info.floatRect.h);
}

TEST_F(DockDragTest, ZoomCoversTheWorkAreaOfTheFramesMonitor) {
    UiFakeMonitors(2);
    HWND a = Pane(Floating({700, 100, 200, 150}, DOCK_INFO_HIDDEN));
    EXPECT_TRUE(DockZoom(a, true));
    RECT zoomed = WindowRect(DockGetContainer(a)), second = {640, 0, 1280, 480};
    EXPECT_TRUE(EqualRect(&zoomed, &second));
    EXPECT_TRUE(DockZoom(a, true));
    EXPECT_FALSE(DockZoom(a, false));
    RECT back = WindowRect(DockGetContainer(a)), expected = {700, 100, 900, 250};
    EXPECT_TRUE(EqualRect(&back, &expected));
}

// Frames stay hidden where showing them adds nothing: hiding a shown window is slow on the virtual display.
TEST_F(DockDragTest, RollUpLeavesTheCaptionHeight) {
    HWND a = Pane(Floating({300, 200, 240, 180}, DOCK_INFO_HIDDEN));
    HWND floatFrame = DockGetContainer(a);
    DockRollUp(a, true);
    EXPECT_TRUE(DockIsRolledUp(a));
    RECT rolled = WindowRect(floatFrame);
    EXPECT_EQ(RectHeight(&rolled), DockGetCaptionHeight());
    EXPECT_EQ(RectWidth(&rolled), 240);
    DockInfo info;
    DockGetInfo(a, &info);
    EXPECT_EQ(info.floatRect.h, 180);
    EXPECT_TRUE(info.flags & DOCK_INFO_ROLLED_UP);
    DockRollUp(a, false);
    RECT back = WindowRect(floatFrame);
    EXPECT_EQ(RectHeight(&back), 180);
    EXPECT_FALSE(DockIsRolledUp(a));
    // Docked panes do not roll up.
    HWND b = Pane(Docked(DOCK_LEFT));
    DockRollUp(b, true);
    EXPECT_FALSE(DockIsRolledUp(b));
}

TEST_F(DockDragTest, MaximizeOnARolledUpFrameUnrollsAndZooms) {
    HWND a = Pane(Floating({300, 200, 240, 180}, DOCK_INFO_HIDDEN));
    HWND floatFrame = DockGetContainer(a);
    DockRollUp(a, true);
    SendMessageA(floatFrame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(DockIsRolledUp(a));
    EXPECT_TRUE(DockIsZoomed(a));
    RECT work, zoomed = WindowRect(floatFrame);
    WndGetWorkArea(floatFrame, &work);
    EXPECT_TRUE(EqualRect(&zoomed, &work));
    RECT inside;
    GetClientRect(floatFrame, &inside);
    RECT window = WindowRect(a);
    EXPECT_EQ(RectHeight(&window), inside.bottom);
    SendMessageA(floatFrame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(DockIsZoomed(a));
    EXPECT_TRUE(DockIsRolledUp(a));
    SendMessageA(floatFrame, WM_SYSCOMMAND, SC_RESTORE, 0);
    RECT restored = WindowRect(floatFrame), expected = {300, 200, 540, 380};
    EXPECT_TRUE(EqualRect(&restored, &expected));
}

TEST_F(DockDragTest, FloatingFrameAnswersItsSizingEdgesOnVersion6) {
    UiSystemVersion(6, 1);
    HWND a = Pane(Floating({300, 200, 240, 180}, DOCK_INFO_HIDDEN));
    HWND f = DockGetContainer(a);
    RECT r = WindowRect(f);
    int32_t midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2, in = 1;
    struct Case {
        int32_t x, y;
        LRESULT hit;
    } cases[] = {
        {r.left + in, r.top + in, HTTOPLEFT},
        {r.right - 1 - in, r.top + in, HTTOPRIGHT},
        {r.right - 1 - in, r.bottom - 1 - in, HTBOTTOMRIGHT},
        {r.left + in, r.bottom - 1 - in, HTBOTTOMLEFT},
        {r.left + in, midY, HTLEFT},
        {r.right - 1 - in, midY, HTRIGHT},
        {midX, r.top + in, HTTOP},
        {midX, r.bottom - 1 - in, HTBOTTOM},
        {midX, midY, HTCLIENT},
    };
    for (const Case &c : cases) EXPECT_EQ(HitTest(f, c.x, c.y), c.hit) << c.x - r.left << ", " << c.y - r.top;
    // Corner squares reach as far along the edges as a scroll bar is wide.
    int32_t corner = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(HitTest(f, r.left + in, r.top + corner - 1), HTTOPLEFT);
    EXPECT_EQ(HitTest(f, r.left + in, r.top + corner), HTLEFT);
    MINMAXINFO limits = {};
    SendMessageA(f, WM_GETMINMAXINFO, 0, (LPARAM)&limits);
    EXPECT_EQ(limits.ptMinTrackSize.x, 16);
    EXPECT_EQ(limits.ptMinTrackSize.y, 16);
}

TEST_F(DockDragTest, ClicksFallThroughATransparentFrame) {
    if (!WndCanUseTransparency()) GTEST_SKIP() << "no transparent windows here";
    HWND a = Pane(Floating({300, 200, 240, 180}, DOCK_INFO_HIDDEN));
    HWND f = DockGetContainer(a);
    DockSetTransparency(a, 40);
    ASSERT_TRUE(WndIsLayered(f));
    RECT inside;
    GetClientRect(f, &inside);
    MapWindowPoints(f, nullptr, (POINT *)&inside, 2);
    EXPECT_EQ(HitTest(f, inside.left + 50, inside.top + 50), HTTRANSPARENT);
    EXPECT_EQ(HitTest(f, inside.left + 5, inside.top + 50), HTCLIENT);
    DockInfo info;
    DockGetInfo(a, &info);
    EXPECT_EQ(info.transparency, 40);
    // Zooming makes the frame opaque.
    DockZoom(a, true);
    EXPECT_FALSE(WndIsLayered(f));
    EXPECT_EQ(HitTest(f, inside.left + 50, inside.top + 50), HTCLIENT);
}

TEST_F(DockDragTest, PaneProcedurePassesKeysToTheFrame) {
    HWND a = Pane(Floating({300, 200, 240, 180}, DOCK_INFO_HIDDEN));
    EXPECT_EQ(SendMessageA(a, 2025, 0x1070, 0), 1);
    EXPECT_EQ(key, 0x1070u);
}

} // namespace
