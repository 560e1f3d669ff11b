// wnd: window helpers. The frame and MDI client windows, set by the shell, are what "in the frame" and "our
// own process" are measured against.
#include "base/wnd.h"

#include "base/keyinp.h"
#include "base/monitor.h"
#include "base/sysprobe.h"
#include "base/utilil.h"
#include "base/wheel.h"

#include <ole2.h>

#include <cstring>

enum : uint32_t { WND_DRAG_MESSAGE = 2035 };

static HWND wndFrame;
static HWND wndMdiClient;

void WndSetAppWindows(HWND frame, HWND mdiClient) {
    wndFrame = frame;
    wndMdiClient = mdiClient;
}

HWND WndGetAppFrame() {
    return wndFrame;
}

// ---- Windows

void WndShowByState(HWND window, int state) {
    static const int shows[] = {SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED};
    ShowWindow(window, state >= 0 && state <= 2 ? shows[state] : SW_SHOW);
}

int WndShowState(HWND window) {
    return IsZoomed(window) ? 1 : IsIconic(window) ? 2 : 0;
}

WNDPROC WndGetProc(HWND window) {
    return (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
}

void WndGetRectInFrame(HWND window, RECT *out) {
    GetWindowRect(window, out);
    POINT origin = {0, 0};
    HWND base = wndMdiClient ? wndMdiClient : wndFrame;
    if (base) ClientToScreen(base, &origin);
    RectOffset(out, -origin.x, -origin.y);
}

void WndRepaintNow(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void WndRedrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A quit request met here is put back: swallowing it would leave the main loop running after the program was
// asked to end.
void PumpMessages() {
    KeyClearAbort();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void WndGetClientSize(HWND window, Xywh *out) {
    RECT rect = {};
    GetClientRect(window, &rect);
    RectToOriginSize(&rect, out);
}

void WndGetOriginSize(HWND window, Xywh *out) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    RectToOriginSize(&rect, out);
}

void WndGetRect(HWND window, RECT *out) {
    if (!window)
        WndMonitorRect(nullptr, out);
    else if (!GetWindowRect(window, out))
        RectSetEmpty(out);
}

int32_t WndGetWidth(HWND window) {
    RECT rect;
    WndGetRect(window, &rect);
    return RectWidth(&rect);
}

void WndSetPosXywh(HWND window, const Xywh *pos) {
    SetWindowPos(window, nullptr, pos->x, pos->y, pos->w, pos->h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WndSetPosRect(HWND window, const RECT *rect) {
    Xywh pos;
    RectToOriginSize(rect, &pos);
    WndSetPosXywh(window, &pos);
}

void WndMoveXywh(HWND window, const Xywh *pos, bool repaint) {
    MoveWindow(window, pos->x, pos->y, pos->w, pos->h, repaint);
}

void WndMoveRect(HWND window, const RECT *rect, bool repaint) {
    Xywh pos;
    RectToOriginSize(rect, &pos);
    WndMoveXywh(window, &pos, repaint);
}

void WndShow(HWND window, bool show) {
    ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

HWND WndCreateEx(DWORD exStyle, const char *className, const char *title, DWORD style, const Xywh *pos,
                 HWND parent, void *param) {
    return CreateWindowExA(exStyle, className, title, style, pos->x, pos->y, pos->w, pos->h, parent, nullptr,
                           GetModuleHandleA(nullptr), param);
}

HWND WndCreate(const char *className, const char *title, DWORD style, const Xywh *pos, HWND parent,
               void *param) {
    return WndCreateEx(0, className, title, style, pos, parent, param);
}

// The frame lives in this process; before it exists the process itself is the answer.
bool WndInOwnProcess(HWND window) {
    DWORD process = 0, own = GetCurrentProcessId();
    if (!GetWindowThreadProcessId(window, &process)) return 0;
    if (wndFrame) GetWindowThreadProcessId(wndFrame, &own);
    return process == own;
}

void WndGetTextPstr(HWND window, unsigned char *out, int size) {
    if (size < 1) return;
    int max = Min(size - 2, 255);
    out[0] = 0;
    if (max <= 0) return;
    out[0] = (unsigned char)GetWindowTextA(window, (char *)out + 1, max + 1);
}

bool WndIsAncestor(HWND ancestor, HWND window) {
    for (HWND w = window; w; w = GetParent(w))
        if (w == ancestor) return 1;
    return 0;
}

bool AppIsForeground() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 0;
    if (wndFrame &&
        (foreground == wndFrame || IsChild(wndFrame, foreground) || GetParent(foreground) == wndFrame))
        return !IsIconic(wndFrame);
    return IsIconic(foreground) != 0;
}

LRESULT WndCommandParent(HWND window, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetParent(window), WM_COMMAND, wParam, lParam ? lParam : (LPARAM)window);
}

LRESULT WndNotifyParent(HWND control, int code) {
    WPARAM wParam = ((WPARAM)(code & 0xFFFF) << 16) | (GetDlgCtrlID(control) & 0xFFFF);
    return SendMessageA(GetParent(control), WM_COMMAND, wParam, (LPARAM)control);
}

LRESULT WndForwardMouseToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(window);
    POINT point = PointFromLParam(lParam);
    PointMapWindows(window, parent, &point);
    return SendMessageA(parent, message, wParam, (LPARAM)PackWords(point.x, point.y));
}

int WndGetScrollTrackPos(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    return GetScrollInfo(window, bar, &info) ? info.nTrackPos : 1;
}

int WndSetScrollInfo(HWND window, int bar, const SCROLLINFO *info, int redraw) {
    if (!SysIsVersion350()) return SetScrollInfo(window, bar, info, redraw);
    if (info->fMask & SIF_RANGE) SetScrollRange(window, bar, info->nMin, info->nMax, redraw);
    return info->fMask & SIF_POS ? SetScrollPos(window, bar, info->nPos, redraw) : 0;
}

LRESULT CALLBACK WndDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message >= WM_NCXBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK) ||
        (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK))
        return 1;
    if (message == WND_DRAG_MESSAGE) return 0;
    if (message == WM_RBUTTONUP && SysIsVersion350()) {
        POINT point = PointFromLParam(lParam);
        ClientToScreen(window, &point);
        SendMessageA(window, WM_CONTEXTMENU, (WPARAM)window, (LPARAM)PackWords(point.x, point.y));
    }
    if (WheelIsLegacy() && message == WheelRollMessage())
        return SendMessageA(GetFocus(), WM_MOUSEWHEEL, (WPARAM)((wParam & 0xFFFF) << 16), lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

static HCURSOR cursorCurrent;
static HCURSOR cursorHelp;
static int cursorHelpOwn; // loaded from the program's own resources, so destroyed at exit

void CursorSet(HCURSOR cursor) {
    cursorCurrent = cursor;
    SetCursor(cursor);
}

void CursorSetHelp() {
    if (!cursorHelp) {
        cursorHelp = LoadCursorA(GetModuleHandleA(nullptr), "help");
        cursorHelpOwn = cursorHelp != nullptr;
        if (!cursorHelp) cursorHelp = LoadCursor(nullptr, IDC_HELP);
    }
    CursorSet(cursorHelp);
}

void CursorFreeHelp() {
    if (cursorHelp && cursorHelpOwn) DestroyCursor(cursorHelp);
    cursorHelp = nullptr;
    cursorHelpOwn = 0;
}

void OleInitOnce() {
    static int done;
    if (done) return;
    done = 1;
    CoInitialize(nullptr);
    OleInitialize(nullptr);
}
