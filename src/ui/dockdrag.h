// dockdrag: moving dockable panes with the mouse, zooming and rolling up, and the window procedures of the
// docking layer (prefix Dock, file-local helpers DockDrag). A move follows the cursor with an XOR outline,
// finds what lies under it (a new row at an edge of the dock area or of a row, a place beside a pane, or
// the floating state) and ends with DockApply. Success: as dock.h.
#pragma once

#include "ui/dock.h"

#include <windows.h>

#include <cstdint>

// The move loop, started by a press of the primary button at a screen point on a pane's caption or on a
// floating frame. Ctrl never docks; Esc (or Break) ends it with no change, and so does a release where the
// button was pressed. Nothing while the pane is zoomed.
void DockDragPane(HWND window, int32_t x, int32_t y);

// Zooms a pane to the work area of its monitor (a docked pane floats first) or back; the state now.
bool DockZoom(HWND window, bool on);
// Rolls a floating pane up to the caption height, or down to the height it had.
void DockRollUp(HWND window, bool on);

// The outline a move shows for a target: its size and where the cursor sits in it.
struct DockFeedback {
    SIZE size;
    POINT hot;
};

// The edge of the rectangle whose band (a quarter inch inside it) holds the point: DOCK_LEFT, DOCK_TOP,
// DOCK_RIGHT or DOCK_BOTTOM; DOCK_NO_SIDE outside the bands, outside the rectangle and in a corner.
DockSideIndex DockHitEdge(int32_t x, int32_t y, const RECT *rect, DockFeedback *out);
// The target under the cursor (screen coordinates; the dock area on the screen) goes into the placement's
// state, side, row, position and new-row flag. True when it docks, with its outline; false floats.
bool DockHitTarget(int32_t x, int32_t y, bool ctrl, const RECT *area, DockInfo *info, DockFeedback *out);

// The window procedures: vx_DockFloat, vx_DockFrame (the side windows), and the default procedure of
// dockable windows (their owners pass it what they do not handle).
LRESULT CALLBACK DockFloatWndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DockFrameWndProc(HWND side, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DockPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
