// tip: the free tooltip window "vx_Tip" (prefix Tip). The paint callback of its creation data sits in the
// window's one extra word; without one the window text is written in the tooltip colours. The frame is drawn
// deep, the window goes away when the application is switched, and the list control forgets it when it was
// the list's hover tip.
#include "ui/tip.h"

#include "base/wnd.h"
#include "ui/draw.h"
#include "ui/listbox.h"

#include <cstring>

enum { TIP_TEXT_MAX = 512 };

const char tipClass[] = "vx_Tip";

static ATOM tipAtom;

static LRESULT TipOnCreate(HWND tip, const CREATESTRUCTA *create) {
    const TipCreateData *data = (const TipCreateData *)create->lpCreateParams;
    SetWindowLongPtrA(tip, 0, (LONG_PTR)(data ? data->paint : nullptr));
    return 0;
}

static void TipPaintText(HWND tip, HDC dc, const char *text) {
    RECT client;
    GetClientRect(tip, &client);
    DrawFillRect(dc, &client, GetSysColor(COLOR_INFOBK));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    HFONT font = drawMetrics.guiFont ? drawMetrics.guiFont : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ previous = SelectObject(dc, font);
    TextOutA(dc, 2, 1, text, (int)strlen(text));
    SelectObject(dc, previous);
}

static LRESULT TipOnPaint(HWND tip) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(tip, &ps);
    char text[TIP_TEXT_MAX + 1] = {};
    GetWindowTextA(tip, text, sizeof text);
    TipPaintFn paint = (TipPaintFn)GetWindowLongPtrA(tip, 0);
    (paint ? paint : TipPaintText)(tip, dc, text);
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

static LRESULT CALLBACK TipProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return TipOnCreate(tip, (const CREATESTRUCTA *)lParam);
    case WM_PAINT: return TipOnPaint(tip);
    case WM_NCPAINT: return TipOnNcPaint(tip, wParam);
    case WM_ACTIVATEAPP: DestroyWindow(tip); return 0;
    case WM_DESTROY: ListboxTipForget(tip); return 0;
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
