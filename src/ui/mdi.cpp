// mdi: the MDI client and the default procedures of the frame and the MDI children (prefix Mdi). The client
// is the system's "mdiclient" window, subclassed for its empty area: with gradients a light band around an
// anchor at the horizontal centre and a quarter down, else a solid fill; then, when asked for, one line of
// embossed text at the anchor.
#include "ui/mdi.h"

#include "base/heap.h"
#include "base/sysprobe.h"
#include "base/wheel.h"
#include "base/wnd.h"
#include "ui/color.h"
#include "ui/drag.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/menu.h"

#include <cstring>

enum : int32_t {
    MDI_TEXT_SIZE = 72, // quarter points: 18 points
    MDI_LIGHT = 230,    // the grey the gradients lighten towards
    MDI_FALL_INCHES = 4,
};

static HWND mdiClient;
static WNDPROC mdiClientProc; // the one the subclass replaced
static HMENU mdiOwnWindowMenu;
static COLORREF mdiBackColor;
static bool mdiBackColorSet;
static bool mdiShowText;
static char *mdiText;
static FontDesc mdiFont;

HWND MdiGetClient() {
    return mdiClient;
}

// ---- The empty area

static const FontDesc *MdiTextFont() {
    if (!mdiFont.size) {
        FontDescInit(&mdiFont, "Verdana", MDI_TEXT_SIZE);
        mdiFont.style = FONT_BOLD | FONT_ITALIC;
    }
    return &mdiFont;
}

static void MdiPaintText(HDC dc, POINT anchor) {
    if (!mdiShowText || !mdiText || !*mdiText) return;
    HFONT previous = FontSelect(dc, DRAW_SCREEN, MdiTextFont());
    SIZE size = DrawTextExtent(dc, mdiText, (int32_t)strlen(mdiText));
    COLORREF textColor = SetTextColor(dc, mdiBackColor);
    DrawEmbossedText(dc, anchor.x - size.cx / 2, anchor.y - size.cy / 2, mdiText, true);
    SetTextColor(dc, textColor);
    SelectObject(dc, previous);
}

static void MdiPaint(HWND client, HDC dc) {
    RECT area;
    GetClientRect(client, &area);
    POINT anchor = {area.right / 2, area.bottom / 4};
    if (DrawCanGradient()) {
        COLORREF light = RGB(MDI_LIGHT, MDI_LIGHT, MDI_LIGHT);
        light = ColorAverage(ColorAverage(light, mdiBackColor), light);
        RECT above = area, below = area;
        above.bottom = below.top = anchor.y;
        DrawGradientV(dc, &above, mdiBackColor, light);
        DrawGradientPart(dc, &below, light, mdiBackColor, DRAW_GRADIENT_V, 0,
                         MDI_FALL_INCHES * drawMetrics.dpiX);
    } else {
        DrawFillRect(dc, &area, mdiBackColor);
    }
    MdiPaintText(dc, anchor);
}

// A DC in wParam paints into it, as the common controls do, so that the area can be drawn off screen.
static LRESULT MdiOnPaint(HWND client, HDC dc) {
    if (dc) {
        MdiPaint(client, dc);
        return 0;
    }
    PAINTSTRUCT ps;
    dc = BeginPaint(client, &ps);
    MdiPaint(client, dc);
    EndPaint(client, &ps);
    return 0;
}

// The system's own sizing runs first: it fits a maximised child to the new size.
static LRESULT MdiOnSize(HWND client, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(mdiClientProc, client, WM_SIZE, wParam, lParam);
    InvalidateRect(client, nullptr, FALSE);
    SendMessageA(client, WM_MDIICONARRANGE, 0, 0);
    return result;
}

static LRESULT CALLBACK MdiClientProc(HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: return MdiOnSize(client, wParam, lParam);
    case WM_ERASEBKGND:
        if (DrawCanGradient()) return 1;
        break;
    case WM_PAINT: return MdiOnPaint(client, (HDC)wParam);
    case WM_NCDESTROY:
        if (client == mdiClient) mdiClient = nullptr;
        break;
    }
    return CallWindowProcA(mdiClientProc, client, message, wParam, lParam);
}

void MdiSetBackColor(COLORREF color) {
    mdiBackColor = color;
    mdiBackColorSet = true;
    if (mdiClient) InvalidateRect(mdiClient, nullptr, TRUE);
}

void MdiShowEmptyText(bool show) {
    mdiShowText = show;
    if (mdiClient) InvalidateRect(mdiClient, nullptr, FALSE);
}

void MdiSetEmptyText(const char *text) {
    MemFree(mdiText);
    mdiText = text && *text ? (char *)MemDup(text, strlen(text) + 1) : nullptr;
    if (!mdiClient) return;
    InvalidateRect(mdiClient, nullptr, FALSE);
    UpdateWindow(mdiClient);
}

// ---- The client

static HMENU MdiOwnWindowMenu() {
    if (!mdiOwnWindowMenu) mdiOwnWindowMenu = CreatePopupMenu();
    return mdiOwnWindowMenu;
}

bool MdiCreateClient(HWND frame, const RECT *rect, int32_t windowMenuPosition, UINT firstChildId) {
    HMENU bar = GetMenu(frame);
    HMENU windowMenu = windowMenuPosition >= 0 && bar ? GetSubMenu(bar, windowMenuPosition) : nullptr;
    CLIENTCREATESTRUCT create = {windowMenu ? windowMenu : MdiOwnWindowMenu(), firstChildId};
    HWND client = CreateWindowExA(0, "mdiclient", nullptr,
                                  WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL,
                                  rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                                  frame, nullptr, GetModuleHandleA(nullptr), &create);
    if (!client) return false;
    if (!mdiBackColorSet) mdiBackColor = GetSysColor(COLOR_APPWORKSPACE);
    mdiClient = client;
    mdiClientProc = (WNDPROC)SetWindowLongPtrA(client, GWLP_WNDPROC, (LONG_PTR)MdiClientProc);
    WndSetAppWindows(frame, client);
    ShowWindow(client, SW_SHOW);
    return true;
}

void MdiExit() {
    if (mdiOwnWindowMenu) DestroyMenu(mdiOwnWindowMenu);
    mdiOwnWindowMenu = nullptr;
    MemFree(mdiText);
    mdiText = nullptr;
    mdiClient = nullptr;
}

static LRESULT MdiSend(UINT message, WPARAM wParam, LPARAM lParam) {
    return mdiClient ? SendMessageA(mdiClient, message, wParam, lParam) : 0;
}

// The client activates every new child, which takes the focus and restores a maximised one; a minimised
// child gives both back.
struct MdiActiveState {
    HWND active;
    bool maximized;
    HWND focus;
};

static MdiActiveState MdiSaveActive() {
    return {MdiGetActiveChild(), MdiIsChildMaximized(), GetFocus()};
}

static void MdiRestoreActive(const MdiActiveState *state) {
    if (state->active && IsWindow(state->active) && MdiGetActiveChild() != state->active) {
        MdiSend(WM_MDIACTIVATE, (WPARAM)state->active, 0);
        if (state->maximized && !IsZoomed(state->active)) MdiMaximize(state->active);
    }
    if (state->focus && IsWindow(state->focus)) SetFocus(state->focus);
}

HWND MdiCreateChild(const char *className, const char *title, LPARAM param, DWORD style, const RECT *rect) {
    MDICREATESTRUCTA create = {className,     title,         GetModuleHandleA(nullptr),
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, style,         param};
    if (rect) {
        create.x = rect->left;
        create.y = rect->top;
        create.cx = rect->right - rect->left;
        create.cy = rect->bottom - rect->top;
    }
    bool minimized = (style & WS_MINIMIZE) != 0;
    if (!minimized && MdiIsChildMaximized()) create.style |= WS_MAXIMIZE;
    MdiActiveState before = MdiSaveActive();
    HWND child = (HWND)MdiSend(WM_MDICREATE, 0, (LPARAM)&create);
    if (!child) return nullptr;
    if (minimized)
        MdiRestoreActive(&before);
    else
        SetFocus(child);
    return child;
}

void MdiActivate(HWND child) {
    if (MdiGetActiveChild() == child)
        SendMessageA(child, WM_ACTIVATE, WA_ACTIVE, 0);
    else
        MdiSend(WM_MDIACTIVATE, (WPARAM)child, 0);
    if (!IsZoomed(child)) ShowWindow(child, SW_SHOWNORMAL);
}

void MdiCascade() {
    MdiSend(WM_MDICASCADE, 0, 0);
}

void MdiTile(bool vertical) {
    MdiSend(WM_MDITILE, vertical ? MDITILE_VERTICAL : MDITILE_HORIZONTAL, 0);
}

void MdiDestroy(HWND child) {
    MdiSend(WM_MDIDESTROY, (WPARAM)child, 0);
}

HWND MdiGetActiveChild() {
    return (HWND)MdiSend(WM_MDIGETACTIVE, 0, 0);
}

bool MdiIsChildMaximized() {
    BOOL maximized = FALSE;
    return MdiSend(WM_MDIGETACTIVE, 0, (LPARAM)&maximized) && maximized;
}

void MdiMaximize(HWND child) {
    MdiSend(WM_MDIMAXIMIZE, (WPARAM)child, 0);
}

void MdiRestore(HWND child) {
    MdiSend(WM_MDIRESTORE, (WPARAM)child, 0);
}

void MdiSetMenu(HMENU bar, HMENU windowMenu) {
    if (!windowMenu) windowMenu = MdiOwnWindowMenu();
    if (mdiClient) {
        SendMessageA(mdiClient, WM_MDISETMENU, (WPARAM)bar, (LPARAM)windowMenu);
        return;
    }
    if (WndGetAppFrame()) SetMenu(WndGetAppFrame(), bar);
}

void MdiShowClient() {
    if (mdiClient) ShowWindow(mdiClient, SW_SHOW);
}

void MdiHideClient() {
    if (mdiClient) ShowWindow(mdiClient, SW_HIDE);
}

// ---- Default procedures

// What the frame and the children share; true when the message is answered.
static bool MdiCommonDefault(HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT *result) {
    if (message == WM_RBUTTONUP && SysIsVersion350()) {
        // The context menu's position is on the screen, as the system sends it on later versions.
        POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ClientToScreen(window, &point);
        SendMessageA(window, WM_CONTEXTMENU, (WPARAM)window, MAKELPARAM(point.x, point.y));
    }
    if ((message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK) ||
        (message >= WM_NCXBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK)) {
        *result = 1;
        return true;
    }
    return false;
}

static LRESULT MdiForwardLegacyWheel(HWND frame, WPARAM wParam, LPARAM lParam, bool *done) {
    HWND focus = GetFocus();
    *done = focus && WndIsAncestor(frame, focus);
    return *done ? SendMessageA(focus, WM_MOUSEWHEEL, (wParam & 0xFFFF) << 16, lParam) : 0;
}

LRESULT MdiFrameDefProc(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (MdiCommonDefault(frame, message, wParam, lParam, &result)) return result;
    if (message == WM_SETCURSOR && MenuHelpModeIsOn()) {
        CursorSetHelp();
        return 1;
    }
    if (message == DRAG_MESSAGE) return 0;
    if (WheelIsLegacy() && message == WheelRollMessage()) {
        bool done;
        result = MdiForwardLegacyWheel(frame, wParam, lParam, &done);
        if (done) return result;
    }
    return DefFrameProcA(frame, client, message, wParam, lParam);
}

LRESULT MdiChildDefProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (MdiCommonDefault(child, message, wParam, lParam, &result)) return result;
    if (message == WM_MENUSELECT) MenuOnSelect(wParam, (HMENU)lParam);
    return DefMDIChildProcA(child, message, wParam, lParam);
}
