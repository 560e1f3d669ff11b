// dockdrag: moving panes, zoom and roll-up, and the docking layer's window procedures (prefix Dock,
// file-local helpers DockDrag). The move loop polls the input (ui/track.h) with no message loop of its own:
// it draws an XOR outline of the target, which is found in this order: Ctrl floats; a strip half an inch
// wide inside the dock area's right, then left edge makes a new outermost row there; the bands along the
// dock area's edges make a new row on that side; the bands along a row's edges make a new row before or
// after it; the half of a pane joins its row before or after it; anything else floats.
#include "ui/dockdrag.h"

#include "base/monitor.h"
#include "base/sysprobe.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/dockrec.h"
#include "ui/draw.h"
#include "ui/track.h"

#include <initializer_list>

enum : int32_t {
    DOCK_DRAG_PEN = 4,
    DOCK_DRAG_KEY_MESSAGE = 2025, // a key code for the window to run
    DOCK_DRAG_MIN_TRACK = 16,
    DOCK_DRAG_SEE_THROUGH = 10, // pixels inside a transparent frame's client area that clicks fall through
    DOCK_DRAG_LEAST_BAND = 4,
};

static const COLORREF dockDragOutline = RGB(128, 128, 128);

// ---- Finding the target

DockSideIndex DockHitEdge(int32_t x, int32_t y, const RECT *rect, DockFeedback *out) {
    if (!RectContains(rect, x, y)) return DOCK_NO_SIDE;
    int32_t bandX = drawMetrics.dpiX / 4, bandY = drawMetrics.dpiY / 4;
    bool top = y < rect->top + bandY, bottom = y >= rect->bottom - bandY;
    bool left = x < rect->left + bandX, right = x >= rect->right - bandX;
    if ((top || bottom) && (left || right)) return DOCK_NO_SIDE;
    RECT frame = {};
    GetWindowRect(DockFrameWindow(), &frame);
    if (top || bottom) {
        int32_t h = Min(RectHeight(&drawMetrics.workArea) / 4, RectHeight(&frame) / 4);
        *out = {{RectWidth(rect), h}, {x - rect->left, h / 2}};
        return top ? DOCK_TOP : DOCK_BOTTOM;
    }
    if (left || right) {
        int32_t w = Min(RectWidth(&drawMetrics.workArea) / 4, RectWidth(&frame) / 4);
        *out = {{w, RectHeight(rect)}, {w / 2, y - rect->top}};
        return left ? DOCK_LEFT : DOCK_RIGHT;
    }
    return DOCK_NO_SIDE;
}

static bool DockDragNewRow(DockInfo *info, int32_t side, int32_t row) {
    info->state = DOCK_DOCKED;
    info->side = side;
    info->row = row;
    info->pos = 0;
    info->flags |= DOCK_INFO_NEW_ROW;
    return true;
}

static bool DockDragFloats(DockInfo *info) {
    info->state = DOCK_FLOATING;
    info->side = DOCK_NO_SIDE;
    info->flags &= ~DOCK_INFO_NEW_ROW;
    return false;
}

static int32_t DockDragRowCount(int32_t side) {
    return PlexCount(DockSideAt(side)->rows);
}

// The half of the pane under the point: above or below its middle on the stacking sides, left or right of
// it on the others.
static bool DockDragHitPane(int32_t side, int32_t x, int32_t y, const RECT *rect, bool *second,
                            DockFeedback *out) {
    if (!RectContains(rect, x, y)) return false;
    int32_t w = RectWidth(rect), h = RectHeight(rect);
    SIZE size = DockSideStacks(side) ? SIZE{w, h / 2} : SIZE{w / 2, h};
    *second = DockSideStacks(side) ? y >= rect->top + h / 2 : x >= rect->left + w / 2;
    *out = {size, {size.cx / 2, size.cy / 2}};
    return true;
}

static bool DockDragHitPanes(int32_t side, int32_t r, int32_t x, int32_t y, DockInfo *info,
                             DockFeedback *out) {
    DockRow *row = DockRowAt(side, r);
    for (int32_t p = 0; p < PlexCount(row->panes); p++) {
        DockPane *pane = DockPaneAt(row, p);
        if (pane->flags & DOCK_PANE_HIDDEN) continue;
        RECT rect = pane->rect;
        MapWindowPoints(DockSideAt(side)->window, nullptr, (POINT *)&rect, 2);
        bool second;
        if (!DockDragHitPane(side, x, y, &rect, &second, out)) continue;
        info->state = DOCK_DOCKED;
        info->side = side;
        info->row = r;
        info->pos = p + second;
        info->flags &= ~DOCK_INFO_NEW_ROW;
        return true;
    }
    return false;
}

// A row's edges that run along its side make a new row before or after it; elsewhere its panes are tried.
static bool DockDragHitRow(int32_t side, int32_t x, int32_t y, DockInfo *info, DockFeedback *out) {
    for (int32_t r = 0; r < DockDragRowCount(side); r++) {
        DockRow *row = DockRowAt(side, r);
        if (row->hidden || PlexCount(row->panes) == 0) continue;
        RECT slot = row->area;
        RectUnion(&slot, &row->splitter);
        MapWindowPoints(DockSideAt(side)->window, nullptr, (POINT *)&slot, 2);
        DockSideIndex edge = DockHitEdge(x, y, &slot, out);
        bool alongSide = DockSideStacks(side) ? edge == DOCK_LEFT || edge == DOCK_RIGHT
                                              : edge == DOCK_TOP || edge == DOCK_BOTTOM;
        if (alongSide) return DockDragNewRow(info, side, edge == DOCK_LEFT || edge == DOCK_TOP ? r : r + 1);
        if (DockDragHitPanes(side, r, x, y, info, out)) return true;
    }
    return false;
}

bool DockHitTarget(int32_t x, int32_t y, bool ctrl, const RECT *area, DockInfo *info, DockFeedback *out) {
    if (ctrl) return DockDragFloats(info);
    int32_t half = drawMetrics.halfDpiX;
    int32_t top = area->top + DockSideAt(DOCK_TOP)->height,
            bottom = area->bottom - DockSideAt(DOCK_BOTTOM)->height;
    RECT strip = {area->right - half, top, area->right, bottom};
    if (DockHitEdge(x, y, &strip, out) != DOCK_NO_SIDE)
        return DockDragNewRow(info, DOCK_RIGHT, DockDragRowCount(DOCK_RIGHT));
    strip = {area->left, top, area->left + half, bottom};
    if (DockHitEdge(x, y, &strip, out) != DOCK_NO_SIDE) return DockDragNewRow(info, DOCK_LEFT, 0);
    DockSideIndex edge = DockHitEdge(x, y, area, out);
    if (edge != DOCK_NO_SIDE)
        return DockDragNewRow(info, edge, edge == DOCK_LEFT || edge == DOCK_TOP ? 0 : DockDragRowCount(edge));
    for (int32_t side : {DOCK_TOP, DOCK_BOTTOM, DOCK_LEFT, DOCK_RIGHT})
        if (DockDragHitRow(side, x, y, info, out)) return true;
    return DockDragFloats(info);
}

// ---- The move loop

void DockDragPane(HWND window, int32_t x, int32_t y) {
    DockLoc loc;
    if (!DockFind(window, &loc) || (loc.pane->flags & DOCK_PANE_ZOOMED)) return;
    RECT area, start;
    DockAreaOnScreen(&area);
    DockInfo info;
    DockInfoFromPane(&loc, &info);
    bool floating = loc.side == DOCK_NO_SIDE;
    GetWindowRect(floating ? loc.pane->frame : window, &start);
    DockFeedback floatBack;
    if (floating) {
        floatBack = {{RectWidth(&start), RectHeight(&start)}, {x - start.left, y - start.top}};
    } else {
        info.dockedWidth = RectWidth(&start);
        info.dockedHeight = RectHeight(&start);
        floatBack = {{info.floatRect.w, info.floatRect.h}, {info.floatRect.w / 2, info.floatRect.h / 2}};
    }
    DrawXor outline;
    DrawXorBegin(&outline, nullptr, dockDragOutline, DOCK_DRAG_PEN);
    RECT shown = start;
    DrawXorFrame(&outline, &shown);
    POINT at = {x, y};
    SetCapture(window);
    for (;;) {
        TrackInput input;
        TrackPoll(&input);
        if (input.abort) {
            at = {x, y};
            break;
        }
        if (input.pos.x != at.x || input.pos.y != at.y) {
            at = input.pos;
            DrawXorFrame(&outline, &shown);
            DockFeedback feedback;
            bool docks = DockHitTarget(at.x, at.y, input.ctrl, &area, &info, &feedback);
            if (!docks) feedback = floatBack;
            RectSet(&shown, at.x - feedback.hot.x, at.y - feedback.hot.y,
                    at.x - feedback.hot.x + feedback.size.cx, at.y - feedback.hot.y + feedback.size.cy);
            DrawXorFrame(&outline, &shown);
            if (docks) {
                info.dockedWidth = feedback.size.cx;
                info.dockedHeight = feedback.size.cy;
            } else {
                RectToOriginSize(&shown, &info.floatRect);
            }
        }
        if (!input.button) break;
    }
    DrawXorFrame(&outline, &shown);
    DrawXorEnd(&outline);
    ReleaseCapture();
    if (at.x == x && at.y == y) return;
    DockApply(window, &info);
    DockMarkConfigDirty();
}

// ---- Zoom and roll-up

static void DockDragMoveFrame(HWND frame, const RECT *rect) {
    MoveWindow(frame, rect->left, rect->top, RectWidth(rect), RectHeight(rect), TRUE);
}

// A docked pane floats first and remembers where it was docked.
static bool DockDragFloatToZoom(HWND window, DockLoc *loc) {
    DockInfo info;
    DockInfoFromPane(loc, &info);
    int32_t side = loc->side, row = loc->row, pos = loc->pos;
    info.state = DOCK_FLOATING;
    info.side = DOCK_NO_SIDE;
    info.flags &= ~(DOCK_INFO_NEW_ROW | DOCK_INFO_HIDDEN);
    if (!DockApply(window, &info) || !DockFind(window, loc) || loc->side != DOCK_NO_SIDE) return false;
    loc->pane->fromSide = side;
    loc->pane->fromRow = row;
    loc->pane->fromPos = pos;
    return true;
}

bool DockZoom(HWND window, bool on) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return false;
    if (((loc.pane->flags & DOCK_PANE_ZOOMED) != 0) == on) return on;
    if (loc.pane->flags & DOCK_PANE_ROLLED_UP) {
        DockRollUp(window, false);
        DockFind(window, &loc);
    }
    if (loc.side != DOCK_NO_SIDE && !DockDragFloatToZoom(window, &loc)) return false;
    DockPane *pane = loc.pane;
    RECT rect;
    if (on) {
        GetWindowRect(pane->frame, &rect);
        RectToOriginSize(&rect, &pane->zoomRect);
        pane->flags |= DOCK_PANE_ZOOMED;
        WndGetWorkArea(pane->frame, &rect);
    } else {
        pane->flags &= ~DOCK_PANE_ZOOMED;
        RectFromOriginSize(&rect, &pane->zoomRect);
    }
    WndSetTransparency(pane->frame, 0);
    pane->transparency = 0;
    RectEnsureOnScreen(&rect);
    DockDragMoveFrame(pane->frame, &rect);
    return on;
}

void DockRollUp(HWND window, bool on) {
    DockLoc loc;
    if (!DockFind(window, &loc) || loc.side != DOCK_NO_SIDE) return;
    if (((loc.pane->flags & DOCK_PANE_ROLLED_UP) != 0) == on) return;
    if (loc.pane->flags & DOCK_PANE_ZOOMED) {
        DockZoom(window, false);
        DockFind(window, &loc);
    }
    DockPane *pane = loc.pane;
    RECT from, to;
    GetWindowRect(pane->frame, &from);
    to = from;
    if (on) {
        RectToOriginSize(&from, &pane->rollRect);
        pane->flags |= DOCK_PANE_ROLLED_UP;
        to.bottom = to.top + DockGetCaptionHeight();
    } else {
        pane->flags &= ~DOCK_PANE_ROLLED_UP;
        to.bottom = to.top + pane->rollRect.h;
    }
    DrawZoomRect(nullptr, &from, &to);
    DockDragMoveFrame(pane->frame, &to);
}

// ---- The floating frame

static HWND DockDragPaneOfFrame(HWND frame) {
    DockLoc loc;
    return DockFindFloat(frame, &loc) ? loc.pane->window : nullptr;
}

static LRESULT DockDragFloatPress(HWND frame, POINT screen) {
    HWND window = DockDragPaneOfFrame(frame);
    if (window && !IsIconic(frame)) DockDragPane(window, screen.x, screen.y);
    return 0;
}

static LRESULT DockDragFloatSysCommand(HWND frame, WPARAM wParam, LPARAM lParam) {
    HWND window = DockDragPaneOfFrame(frame);
    if (!window) return WndDefaultProc(frame, WM_SYSCOMMAND, wParam, lParam);
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        DockZoom(window, false);
        DockRollUp(window, true);
        return 0;
    case SC_MAXIMIZE:
        DockRollUp(window, false);
        DockZoom(window, true);
        return 0;
    case SC_CLOSE: return SendMessageA(window, WM_SYSCOMMAND, wParam, lParam);
    case SC_RESTORE:
        DockZoom(window, false);
        DockRollUp(window, false);
        return 0;
    }
    return WndDefaultProc(frame, WM_SYSCOMMAND, wParam, lParam);
}

static LRESULT DockDragFloatMinMax(HWND frame, LPARAM lParam) {
    HWND window = DockDragPaneOfFrame(frame);
    if (window) SendMessageA(window, WM_GETMINMAXINFO, 0, lParam);
    MINMAXINFO *info = (MINMAXINFO *)lParam;
    info->ptMinTrackSize.x = Max(info->ptMinTrackSize.x, DOCK_DRAG_MIN_TRACK);
    info->ptMinTrackSize.y = Max(info->ptMinTrackSize.y, DOCK_DRAG_MIN_TRACK);
    return 0;
}

// The sizing edges of a frame with no caption, answered the same way on every system of version 6: corner
// squares as wide as a scroll bar, then bands along the edges.
static LRESULT DockDragSizingEdge(const RECT *window, POINT point) {
    int32_t corner = GetSystemMetrics(SM_CXVSCROLL);
    int32_t band = Max(DOCK_DRAG_LEAST_BAND, GetSystemMetrics(SM_CXFRAME) + 1);
    bool left = point.x < window->left + corner, right = point.x >= window->right - corner;
    bool top = point.y < window->top + corner, bottom = point.y >= window->bottom - corner;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (point.x < window->left + band) return HTLEFT;
    if (point.x >= window->right - band) return HTRIGHT;
    if (point.y < window->top + band) return HTTOP;
    if (point.y >= window->bottom - band) return HTBOTTOM;
    return HTNOWHERE;
}

static LRESULT DockDragFloatHitTest(HWND frame, WPARAM wParam, LPARAM lParam) {
    LRESULT hit = DefWindowProcA(frame, WM_NCHITTEST, wParam, lParam);
    POINT point = PointFromLParam(lParam);
    RECT client, window;
    GetClientRect(frame, &client);
    MapWindowPoints(frame, nullptr, (POINT *)&client, 2);
    if (hit == HTCLIENT && WndIsLayered(frame)) {
        RectInset(&client, DOCK_DRAG_SEE_THROUGH + 1, DOCK_DRAG_SEE_THROUGH + 1);
        return RectContains(&client, point.x, point.y) ? HTTRANSPARENT : HTCLIENT;
    }
    GetWindowRect(frame, &window);
    if (!SysIsWin6() || RectContains(&client, point.x, point.y) || !RectContains(&window, point.x, point.y))
        return hit;
    LRESULT edge = DockDragSizingEdge(&window, point);
    return edge != HTNOWHERE ? edge : hit;
}

static LRESULT DockDragFloatSize(HWND frame) {
    DockLoc loc;
    if (!DockFindFloat(frame, &loc) || !loc.pane->window) return 0;
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(loc.pane->window, 0, 0, client.right, client.bottom, TRUE);
    DockPlaceCaptionBar(loc.pane);
    return 0;
}

// The docked window decides where the focus goes; the default answer would take it to the frame itself.
static LRESULT DockDragFloatActivate(HWND frame, WPARAM wParam, LPARAM lParam) {
    HWND window = DockDragPaneOfFrame(frame);
    if (!window) return WndDefaultProc(frame, WM_ACTIVATE, wParam, lParam);
    return SendMessageA(window, WM_ACTIVATE, wParam, lParam);
}

static POINT DockDragClientToScreen(HWND window, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    ClientToScreen(window, &point);
    return point;
}

LRESULT CALLBACK DockFloatWndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) return DockDragFloatPress(frame, PointFromLParam(lParam));
        break;
    case WM_LBUTTONDOWN: return DockDragFloatPress(frame, DockDragClientToScreen(frame, lParam));
    case WM_SYSCOMMAND: return DockDragFloatSysCommand(frame, wParam, lParam);
    case WM_GETMINMAXINFO: return DockDragFloatMinMax(frame, lParam);
    case WM_NCHITTEST: return DockDragFloatHitTest(frame, wParam, lParam);
    case WM_SIZE: return DockDragFloatSize(frame);
    case WM_ACTIVATE: return DockDragFloatActivate(frame, wParam, lParam);
    case WM_COMMAND: return WndCommandParent(frame, wParam, lParam);
    }
    return WndDefaultProc(frame, message, wParam, lParam);
}

// ---- The side windows and the panes

static LRESULT DockDragSidePress(HWND side, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    if (DockSplitterClick(side, point)) return 0;
    if (HWND window = DockPaneWindowAt(side, point)) {
        ClientToScreen(side, &point);
        DockDragPane(window, point.x, point.y);
    }
    return 0;
}

LRESULT CALLBACK DockFrameWndProc(HWND side, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: InvalidateRect(side, nullptr, TRUE); return 0;
    case WM_PAINT: DockPaintSide(side); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && DockSetSplitterCursor(side)) return TRUE;
        break;
    case WM_COMMAND: return WndCommandParent(side, wParam, lParam);
    case WM_LBUTTONDOWN: return DockDragSidePress(side, lParam);
    }
    return WndDefaultProc(side, message, wParam, lParam);
}

// A key that the window did not take goes to the frame, whose key map runs it.
LRESULT CALLBACK DockPaneWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DockLoc loc;
    if (message == WM_LBUTTONDOWN && DockFind(window, &loc)) {
        POINT point = DockDragClientToScreen(window, lParam);
        DockDragPane(window, point.x, point.y);
        return 0;
    }
    if (message == DOCK_DRAG_KEY_MESSAGE && DockFrameWindow())
        return SendMessageA(DockFrameWindow(), message, wParam, lParam);
    return WndDefaultProc(window, message, wParam, lParam);
}
