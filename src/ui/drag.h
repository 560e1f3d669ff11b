// drag: dragging items between the program's own windows (prefix Drag). The source runs DragRun while the
// primary button is held; each window of the frame under the cursor is asked by message 2035 whether it
// takes part (enter), told where the cursor is (over), told when the cursor goes (leave), and finally asked
// to take the drop. Windows outside the frame, and minimised ones, never take part. Ctrl makes a move a
// copy; Esc cancels.
// Success: DragRun answers true when the drop was taken.
#pragma once

#include <windows.h>

#include <cstdint>

enum : UINT { DRAG_MESSAGE = 2035 }; // wParam: the drag record's address; lParam 0

enum DragPhase : int32_t { DRAG_ENTER = 1, DRAG_LEAVE = 2, DRAG_OVER = 3, DRAG_DROP = 4 };

// What every message of a drag carries; the source owns it for the whole drag. In memory only: 32 bytes on
// 32-bit systems, in this order; the windows and values grow on 64-bit.
struct DragRecord {
    int32_t phase;   // DragPhase
    intptr_t value;  // the source's: what is dragged
    HWND source;     // the window the drag began in
    HWND target;     // the receiver of this message
    int32_t x;       // at enter the cursor on the screen; at over and drop in the target's client area
    int32_t y;       //
    intptr_t value2; // the source's second value
    int32_t move;    // 1 move, 0 copy
};
static_assert(sizeof(void *) != 4 || sizeof(DragRecord) == 32,
              "the drag record is 32 bytes on 32-bit systems");

// Runs the drag from (x, y) in the source's client area until the button is released or Esc is pressed.
// A copy-only drag never moves. True when a target took the drop.
bool DragRun(HWND source, intptr_t value, intptr_t value2, int32_t x, int32_t y, bool copyOnly);

// The number of drags running (0 or 1: a drag does not start another).
int32_t DragIsActive();

// Test seam: the system's answer to which window lies under a screen point, which is the whole desktop's;
// a test answers for its own windows. Null: the system's.
struct DragOsCalls {
    HWND(WINAPI *windowFromPoint)(POINT point);
};
void DragSetOsCalls(const DragOsCalls *calls);
