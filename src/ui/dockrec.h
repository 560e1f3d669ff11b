// dockrec: the docking layer's records, shared by the model (dock) and the moves (dockdrag) and read by
// their tests; owners use dock.h. In memory only: records that hold windows and lists grow on 64-bit.
#pragma once

#include "base/plex.h"
#include "base/rect.h"
#include "ui/dock.h"

#include <windows.h>

#include <cstdint>

enum DockPaneFlags : int32_t {
    DOCK_PANE_HIDDEN = 0x1,
    DOCK_PANE_ZOOMED = 0x2,
    DOCK_PANE_ROLLED_UP = 0x4,
    DOCK_PANE_MOVING = 0x100, // the old record of a pane that DockApply is moving; its window is detached
};

enum : int32_t { DOCK_SPLITTER = 4 }; // pixels of a splitter

// One pane: a dockable window, docked or floating.
struct DockPane {
    int32_t id;
    int32_t flags; // DockPaneFlags
    HWND window;
    HWND frame; // the floating frame; null when docked
    Xywh floatRect;
    int32_t dockedWidth;
    int32_t dockedHeight;
    Xywh rollRect; // the frame's rectangle before rolling up
    Xywh zoomRect; // before zooming
    int32_t width; // size in the row
    int32_t height;
    RECT rect;        // in the side window
    RECT splitter;    // after the pane; empty for the last visible pane
    int32_t fromSide; // where a zoomed pane was docked; DOCK_NO_SIDE when it was not
    int32_t fromRow;
    int32_t fromPos;
    int32_t transparency;
    char *title; // owned
    char *subtitle;
    int32_t value;
    HWND captionBar;
};
static_assert(sizeof(void *) != 4 || sizeof(DockPane) == 144);

// One row of a side: its thickness is the width on the left and right sides, the height on the top and
// bottom sides; its length follows the side.
struct DockRow {
    int32_t hidden; // every pane of the row is hidden: the row takes no room
    int32_t width;
    int32_t height;
    RECT area;     // in the side window
    RECT splitter; // along the row's inner edge
    Plex *panes;   // DockPane, left to right or top to bottom
};
static_assert(sizeof(void *) != 4 || sizeof(DockRow) == 48);

struct DockSide {
    HWND window;   // vx_DockFrame, hidden while it takes no room
    Plex *rows;    // DockRow; row 0 is the outermost on the left and top sides, the innermost on the others
    int32_t width; // as last placed
    int32_t height;
};

// Where a pane is: side, row and position, or DOCK_NO_SIDE and its index among the floating panes. The
// pointer holds until the next change of the lists.
struct DockLoc {
    int32_t side;
    int32_t row;
    int32_t pos;
    DockPane *pane;
};

DockSide *DockSideAt(int32_t side);
Plex *DockFloatList();
DockRow *DockRowAt(int32_t side, int32_t row);
DockPane *DockPaneAt(const DockRow *row, int32_t pos);
HWND DockFrameWindow();
bool DockFind(HWND window, DockLoc *out);
bool DockFindFloat(HWND frame, DockLoc *out);
// The panes of the left and right sides stack from top to bottom, the others run from left to right.
bool DockSideStacks(int32_t side);
int32_t DockRowLength(const DockRow *row, int32_t side);
int32_t *DockPaneAlong(DockPane *pane, int32_t side);
void DockAreaOnScreen(RECT *out); // the dock area last given by the frame
void DockInfoFromPane(const DockLoc *loc, DockInfo *out);

// Puts the pane's caption bar at its own size in the top right corner of the docked window.
void DockPlaceCaptionBar(const DockPane *pane);
// Layout: places the side window and every visible row and pane; with resize the frame lays out again.
void DockLayoutSide(int32_t side, bool resize);
// After pane k changed size, the panes of the row add up to its length again.
void DockBalanceRow(int32_t side, DockRow *row, int32_t k);

// The side window's splitters, painting and clicks (vx_DockFrame's procedure, in dockdrag, calls them).
bool DockSetSplitterCursor(HWND sideWindow);
bool DockSplitterClick(HWND sideWindow, POINT point); // false when the point is on no splitter
void DockPaintSide(HWND sideWindow);
HWND DockPaneWindowAt(HWND sideWindow, POINT point); // the first visible pane whose rectangle holds it

void DockMarkConfigDirty();

// Invariant check for tests and debug builds: every row holds panes, a row is hidden exactly when none of
// its panes is visible, the visible panes fill their row's length, and every window sits in its container.
bool DockCheck();
