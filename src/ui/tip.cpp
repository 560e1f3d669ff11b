// tip: the free tooltip window "vx_Tip" (prefix Tip). The window's one extra word holds its copy of the
// creation data: the paint callback, without which the window text is written in the tooltip colours, and
// the callback told of the window's end. The frame is drawn deep, and the window goes away when the
// application is switched.
#include "ui/tip.h"

#include "base/heap.h"
#include "base/monitor.h"
#include "base/wnd.h"
#include "ui/draw.h"

#include <algorithm>
#include <cstring>

const char tipClass[] = "vx_Tip";

static ATOM tipAtom;

static const TipCreateData *TipData(HWND tip) {
    return (const TipCreateData *)GetWindowLongPtrA(tip, 0);
}

static HFONT TipFont() {
    return drawMetrics.guiFont ? drawMetrics.guiFont : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

static LRESULT TipOnCreate(HWND tip, const CREATESTRUCTA *create) {
    const TipCreateData *given = (const TipCreateData *)create->lpCreateParams;
    if (!given) return 0;
    TipCreateData *data = (TipCreateData *)MemDup(given, sizeof *given);
    if (!data) return -1;
    SetWindowLongPtrA(tip, 0, (LONG_PTR)data);
    return 0;
}

static void TipPaintText(HWND tip, HDC dc, const char *text) {
    RECT client;
    GetClientRect(tip, &client);
    DrawFillRect(dc, &client, GetSysColor(COLOR_INFOBK));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previous = SelectObject(dc, TipFont());
    TextOutA(dc, 2, 1, text, (int)strlen(text));
    SelectObject(dc, previous);
}

static LRESULT TipOnPaint(HWND tip) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(tip, &ps);
    char text[TIP_TEXT_MAX + 1] = {};
    GetWindowTextA(tip, text, sizeof text);
    const TipCreateData *data = TipData(tip);
    TipPaintFn paint = data && data->paint ? data->paint : TipPaintText;
    paint(tip, dc, text);
    EndPaint(tip, &ps);
    return 0;
}

static LRESULT TipOnNcPaint(HWND tip, WPARAM wParam) {
    WndDefaultProc(tip, WM_NCPAINT, wParam, 0);
    RECT window;
    GetWindowRect(tip, &window);
    RECT frame = {0, 0, window.right - window.left, window.bottom - window.top};
    HDC dc = GetWindowDC(tip);
    DrawDeep3DRect(dc, &frame, false);
    ReleaseDC(tip, dc);
    return 0;
}

static LRESULT TipOnDestroy(HWND tip) {
    const TipCreateData *data = TipData(tip);
    if (data && data->gone) data->gone(tip);
    return 0;
}

static LRESULT TipOnNcDestroy(HWND tip) {
    MemFree((void *)TipData(tip));
    SetWindowLongPtrA(tip, 0, 0);
    return 0;
}

static LRESULT CALLBACK TipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return TipOnCreate(tip, (const CREATESTRUCTA *)lParam);
    case WM_PAINT: return TipOnPaint(tip);
    case WM_NCPAINT: return TipOnNcPaint(tip, wParam);
    case WM_ACTIVATEAPP: DestroyWindow(tip); return 0;
    case WM_DESTROY: return TipOnDestroy(tip);
    case WM_NCDESTROY: return TipOnNcDestroy(tip);
    }
    return WndDefaultProc(tip, message, wParam, lParam);
}

bool TipRegisterClass() {
    if (tipAtom) return true;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS | CS_CLASSDC | CS_DBLCLKS;
    wc.lpfnWndProc = TipProc;
    wc.cbWndExtra = sizeof(void *);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = tipClass;
    tipAtom = RegisterClassA(&wc);
    return tipAtom != 0;
}

// ---- A tip beside a point

static SIZE TipMeasure(const char *text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, TipFont());
    SIZE size = DrawTextExtent(dc, text, (int32_t)strlen(text));
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

HWND TipShowAt(HWND owner, const char *text, int32_t x, int32_t y) {
    if (!TipRegisterClass()) return nullptr;
    SIZE extent = TipMeasure(text);
    int32_t width = extent.cx + 6, height = extent.cy + 4;
    RECT monitor;
    MonitorRectFromPoint(x, y, &monitor);
    // Kept inside the point's own monitor: on one left of the primary the screen's x = 2 lies elsewhere.
    int32_t left =
        std::min<int32_t>(monitor.right - width - 3, std::max<int32_t>(monitor.left + 2, x - width / 4));
    int32_t top = std::min<int32_t>(monitor.bottom - height - 3, y + 16);
    HWND tip = CreateWindowExA(WS_EX_TOOLWINDOW, tipClass, text, WS_POPUP | WS_BORDER, left, top, width,
                               height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tip) return nullptr;
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(tip, SW_SHOWNA);
    UpdateWindow(tip);
    return tip;
}
