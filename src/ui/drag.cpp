// drag: the drag loop between the program's windows (prefix Drag). The loop reads the mouse and keys through
// the tracking poll (ui/track.h), asks the windows under the cursor with message 2035 and sets the drag
// cursors only when they change, so that a long drag does not flicker.
#include "ui/drag.h"

#include "base/seam.h"
#include "base/wnd.h"
#include "ui/draw.h"
#include "ui/track.h"

static int32_t dragActive;
static DragOsCalls dragOs;

int32_t DragIsActive() {
    return dragActive;
}

static void DragResetSeams() {
    dragOs = {};
}

void DragSetOsCalls(const DragOsCalls *calls) {
    dragOs = calls ? *calls : DragOsCalls{};
    SeamRegisterReset(DragResetSeams);
}

static HWND DragWindowAt(POINT screen) {
    return dragOs.windowFromPoint ? dragOs.windowFromPoint(screen) : WindowFromPoint(screen);
}

// The state of one drag: the current target is the last window of the frame the cursor was over; it
// stays remembered while the cursor is outside the frame, so coming back to it asks nothing again.
struct DragState {
    DragRecord record;
    bool copyOnly;
    HWND target;
    bool accepted; // the target answered enter with yes
    bool overOk;   // its last over answered yes
    bool canceled;
    HCURSOR cursor; // the one set last
};

static LRESULT DragSend(DragState *s, DragPhase phase, POINT point) {
    s->record.phase = phase;
    s->record.target = s->target;
    s->record.x = point.x;
    s->record.y = point.y;
    return SendMessageA(s->target, DRAG_MESSAGE, (WPARAM)&s->record, 0);
}

static void DragSetCursor(DragState *s) {
    HCURSOR cursor = s->record.move ? drawMetrics.cursorDrag : drawMetrics.cursorDragAdd;
    if (s->target && (!s->accepted || !s->overOk)) cursor = drawMetrics.cursorNoAccess;
    if (cursor == s->cursor) return;
    s->cursor = cursor;
    SetCursor(cursor);
}

static void DragLeave(DragState *s, POINT screen) {
    if (s->target && s->accepted) DragSend(s, DRAG_LEAVE, screen);
    s->accepted = false;
}

static bool DragTakesPart(HWND window) {
    HWND frame = WndGetAppFrame();
    return window && frame && WndIsAncestor(frame, window) && !IsIconic(window);
}

// One position of the cursor: leave for the target it left, enter for a new one, then over.
static void DragVisit(DragState *s, POINT screen) {
    HWND window = s->canceled ? nullptr : DragWindowAt(screen);
    if (window != s->target) DragLeave(s, screen);
    if (s->canceled) return;
    if (!DragTakesPart(window)) {
        s->accepted = false;
        return;
    }
    if (window != s->target) {
        s->target = window;
        s->overOk = false;
        s->accepted = DragSend(s, DRAG_ENTER, screen) != 0;
    }
    if (!s->accepted) return;
    POINT client = screen;
    ScreenToClient(window, &client);
    s->overOk = DragSend(s, DRAG_OVER, client) != 0;
}

// A target that answered the last over with no still shows its feedback when the button goes up; it is
// told that the drag left, as it is when the drag is canceled.
static bool DragFinish(DragState *s, POINT screen) {
    if (s->canceled || !s->target || !s->accepted) return false;
    if (!s->overOk) {
        DragLeave(s, screen);
        return false;
    }
    POINT client = screen;
    ScreenToClient(s->target, &client);
    return DragSend(s, DRAG_DROP, client) != 0;
}

bool DragRun(HWND source, intptr_t value, intptr_t value2, int32_t x, int32_t y, bool copyOnly) {
    DragState s = {};
    s.record = {0, value, source, nullptr, x, y, value2, copyOnly ? 0 : 1};
    s.copyOnly = copyOnly;
    POINT screen = {x, y};
    ClientToScreen(source, &screen);
    HCURSOR previous = GetCursor();
    dragActive++;
    for (;;) {
        TrackInput input;
        TrackPoll(&input);
        if (!input.button) break;
        if (!copyOnly) s.record.move = input.ctrl ? 0 : 1;
        DragSetCursor(&s);
        s.canceled = input.abort;
        screen = input.pos;
        DragVisit(&s, screen);
        if (s.canceled) break;
    }
    dragActive--;
    bool dropped = DragFinish(&s, screen);
    SetCursor(previous);
    return dropped;
}
