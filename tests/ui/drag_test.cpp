// Drag and drop between windows of the shown frame, the input scripted through the tracking poll and the
// window under the cursor found among the test's own windows:
// - the phases a target sees and their coordinates (enter on the screen, over and drop in its client area),
//   the drop taken, the running counter;
// - no drop where the last over was refused (and the target told that the drag left), on the frame's own
//   area, outside the frame, and after Esc;
// - a target left for a window outside the frame is not asked again on coming back;
// - the cursors: "DragAdd" for a copy-only drag with and without Ctrl, Ctrl turning a move into a copy,
//   "NoAccess" over a refusing target.
#include "ui/drag.h"

#include "base/wnd.h"
#include "base/wndtest.h"
#include "ui/draw.h"
#include "ui/track.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Answers {
    LRESULT enter, over, drop;
};

struct Received {
    HWND window;
    DragRecord record;
    HCURSOR cursor;
    int32_t active;
};
std::vector<Received> received;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != DRAG_MESSAGE) return DefWindowProcA(window, message, wParam, lParam);
    const DragRecord *record = (const DragRecord *)wParam;
    received.push_back({window, *record, GetCursor(), DragIsActive()});
    const Answers *a = (const Answers *)GetWindowLongPtrA(window, GWLP_USERDATA);
    switch (record->phase) {
    case DRAG_ENTER: return a->enter;
    case DRAG_OVER: return a->over;
    case DRAG_DROP: return a->drop;
    }
    return 0;
}

// The window under a point among the test's own shown windows: other test programs share the display.
std::vector<HWND> ownTopWindows;
HWND WINAPI OwnWindowFromPoint(POINT point) {
    for (HWND top : ownTopWindows) {
        RECT rect;
        if (!IsWindowVisible(top) || !GetWindowRect(top, &rect) || !PtInRect(&rect, point)) continue;
        for (HWND window = top;;) {
            POINT client = point;
            ScreenToClient(window, &client);
            HWND child = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (!child || child == window) return window;
            window = child;
        }
    }
    return GetDesktopWindow();
}

class DragTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        WtRegisterClass("vxDragTestTarget", TargetProc);
        frame = UiShownFrame();
        client = WndGetMdiClient();
        received.clear();
        ownTopWindows = {frame};
        static const DragOsCalls os = {OwnWindowFromPoint};
        DragSetOsCalls(&os);
    }
    void TearDown() override {
        UiCloseMdiChildren();
        DrawExit();
    }
    // A target at the rectangle of the MDI client.
    HWND Target(int x, int y, const Answers *answers) {
        HWND window = CreateWindowExA(0, "vxDragTestTarget", "", WS_CHILD | WS_VISIBLE, x, y, 100, 80, client,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)answers);
        return window;
    }
    // The screen position of a point of a window's client area.
    static POINT At(HWND window, int x, int y) {
        POINT p = {x, y};
        ClientToScreen(window, &p);
        return p;
    }
    static TrackInput Step(POINT p, bool ctrl = false, bool abort = false) { return {true, p, ctrl, abort}; }
    static std::vector<int32_t> PhasesOf(HWND window) {
        std::vector<int32_t> phases;
        for (const Received &r : received)
            if (r.window == window) phases.push_back(r.record.phase);
        return phases;
    }
    HWND frame = nullptr;
    HWND client = nullptr;
};

typedef std::vector<int32_t> Phases;

TEST_F(DragTest, DropTakenByTheTargetUnderTheCursor) {
    static const Answers yes = {1, 1, 1};
    HWND source = Target(10, 10, &yes), target = Target(200, 10, &yes);
    const TrackInput steps[] = {Step(At(target, 5, 6)), Step(At(target, 7, 8))};
    TrackSetTestScript(steps, 2);
    EXPECT_TRUE(DragRun(source, 11, 22, 3, 4, false));
    EXPECT_EQ(DragIsActive(), 0);
    EXPECT_EQ(PhasesOf(source), Phases({}));
    ASSERT_EQ(PhasesOf(target), Phases({DRAG_ENTER, DRAG_OVER, DRAG_OVER, DRAG_DROP}));
    const DragRecord &enter = received[0].record;
    POINT screen = At(target, 5, 6);
    EXPECT_EQ(enter.x, screen.x);
    EXPECT_EQ(enter.y, screen.y);
    EXPECT_EQ(enter.value, 11);
    EXPECT_EQ(enter.value2, 22);
    EXPECT_EQ(enter.source, source);
    EXPECT_EQ(enter.target, target);
    EXPECT_EQ(enter.move, 1);
    EXPECT_EQ(received[1].record.x, 5);
    EXPECT_EQ(received[1].record.y, 6);
    EXPECT_EQ(received[3].record.x, 7);
    EXPECT_EQ(received[3].record.y, 8);
    EXPECT_EQ(received[0].active, 1);
}

// Where the drop cannot happen: the drag ends with no drop message and answers no; a target that had taken
// part is told that the drag left, so that it can take its feedback away.
TEST_F(DragTest, NoDropWhereRefusedOrCanceled) {
    static const Answers refusesOver = {1, 0, 1}, refusesEnter = {0, 1, 1}, yes = {1, 1, 1};
    HWND source = Target(10, 10, &yes);
    HWND overNo = Target(200, 10, &refusesOver), enterNo = Target(200, 150, &refusesEnter);
    HWND taker = Target(10, 150, &yes);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    POINT caption = {frameRect.left + 60, frameRect.top + 8};
    POINT outside = {frameRect.right + 40, frameRect.bottom + 40};
    HWND popup = UiShownPopup(outside.x - 10, outside.y - 10, 30, 30);
    ownTopWindows.insert(ownTopWindows.begin(), popup);
    struct Case {
        const char *name;
        std::vector<TrackInput> steps;
        HWND window;
        Phases phases;
    } cases[] = {
        {"over refused", {Step(At(overNo, 5, 5))}, overNo, {DRAG_ENTER, DRAG_OVER, DRAG_LEAVE}},
        {"enter refused", {Step(At(enterNo, 5, 5))}, enterNo, {DRAG_ENTER}},
        {"escape",
         {Step(At(taker, 5, 5)), Step(At(taker, 6, 6), false, true)},
         taker,
         {DRAG_ENTER, DRAG_OVER, DRAG_LEAVE}},
        {"frame's own area",
         {Step(At(taker, 5, 5)), Step(caption)},
         taker,
         {DRAG_ENTER, DRAG_OVER, DRAG_LEAVE}},
        {"outside the frame",
         {Step(At(taker, 5, 5)), Step(outside)},
         taker,
         {DRAG_ENTER, DRAG_OVER, DRAG_LEAVE}},
    };
    for (const Case &c : cases) {
        received.clear();
        TrackSetTestScript(c.steps.data(), (int32_t)c.steps.size());
        EXPECT_FALSE(DragRun(source, 1, 0, 0, 0, false)) << c.name;
        EXPECT_EQ(PhasesOf(c.window), c.phases) << c.name;
        EXPECT_EQ(PhasesOf(popup), Phases({})) << c.name;
    }
}

// Coming back from outside the frame to the same target asks nothing again: it does not take the drop.
TEST_F(DragTest, TargetLeftForOutsideIsNotAskedAgain) {
    static const Answers yes = {1, 1, 1};
    HWND source = Target(10, 10, &yes), target = Target(200, 10, &yes);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    POINT outside = {frameRect.right + 40, frameRect.top + 40};
    const TrackInput steps[] = {Step(At(target, 5, 5)), Step(outside), Step(At(target, 6, 6))};
    TrackSetTestScript(steps, 3);
    EXPECT_FALSE(DragRun(source, 1, 0, 0, 0, false));
    EXPECT_EQ(PhasesOf(target), Phases({DRAG_ENTER, DRAG_OVER, DRAG_LEAVE}));
}

TEST_F(DragTest, CursorsFollowCtrlAndTheTarget) {
    static const Answers yes = {1, 1, 1}, refusesOver = {1, 0, 1};
    HWND source = Target(10, 10, &yes), target = Target(200, 10, &yes),
         refusing = Target(10, 150, &refusesOver);
    POINT p = At(target, 5, 5);
    const TrackInput steps[] = {Step(p), Step(p, true), Step(p), Step(p, true)};
    for (bool copyOnly : {true, false}) {
        received.clear();
        TrackSetTestScript(steps, 4);
        EXPECT_TRUE(DragRun(source, 1, 0, 0, 0, copyOnly));
        std::vector<HCURSOR> cursors;
        std::vector<int32_t> moves;
        for (const Received &r : received)
            if (r.record.phase == DRAG_OVER) {
                cursors.push_back(r.cursor);
                moves.push_back(r.record.move);
            }
        HCURSOR add = drawMetrics.cursorDragAdd, drag = drawMetrics.cursorDrag;
        if (copyOnly) {
            EXPECT_EQ(cursors, std::vector<HCURSOR>({add, add, add, add}));
            EXPECT_EQ(moves, std::vector<int32_t>({0, 0, 0, 0}));
        } else {
            EXPECT_EQ(cursors, std::vector<HCURSOR>({drag, add, drag, add}));
            EXPECT_EQ(moves, std::vector<int32_t>({1, 0, 1, 0}));
        }
    }

    received.clear();
    POINT q = At(refusing, 5, 5);
    const TrackInput refused[] = {Step(q), Step(q)};
    TrackSetTestScript(refused, 2);
    EXPECT_FALSE(DragRun(source, 1, 0, 0, 0, false));
    ASSERT_EQ(received.size(), 4u); // enter, over, over, leave
    EXPECT_EQ(received[2].cursor, drawMetrics.cursorNoAccess);
}

} // namespace
