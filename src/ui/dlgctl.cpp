// dlgctl: the rule and the user item (prefixes DlgHline, DlgUserItem). Neither erases its background: the
// dialog's background shows through, textured or themed; a rule whose text changes has its place in the
// dialog repainted.
#include "ui/dlgctl.h"

#include "base/wnd.h"
#include "ui/dlg.h"
#include "ui/dlgobj.h"
#include "ui/dlgrun.h"
#include "ui/draw.h"
#include "ui/theme.h"

#include <vssym32.h>

// ---- HLINE

// The theme's button text font while a visual style is active (made here, deleted by the caller), else
// the dialog font.
static HFONT DlgHlineFont(HWND window, HDC dc, bool *made) {
    *made = false;
    if (!ThemeIsActive()) return DlgGetFont();
    HTHEME theme = ThemeOpen(window, L"BUTTON");
    LOGFONTA logFont = {};
    HFONT font = nullptr;
    if (theme && ThemeGetFont(theme, dc, BP_PUSHBUTTON, PBS_NORMAL, &logFont) == 0)
        font = CreateFontIndirectA(&logFont);
    if (theme) ThemeClose(theme);
    *made = font != nullptr;
    return font ? font : DlgGetFont();
}

static void DlgHlinePaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    bool made = false;
    HFONT font = DlgHlineFont(window, dc, &made);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    char text[256];
    int length = GetWindowTextA(window, text, sizeof text);
    int32_t x = client.left;
    if (length > 0) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled(window) ? drawMetrics.colorBtnText : drawMetrics.colorGrayText);
        RECT measure = client;
        DrawTextA(dc, text, length, &measure, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_CALCRECT);
        DrawTextA(dc, text, length, &client, DT_LEFT | DT_TOP | DT_SINGLELINE);
        x = measure.right + tm.tmAveCharWidth / 2 + 1;
    }
    int32_t y = client.top + tm.tmHeight / 2;
    RECT shadow = {x, y, client.right, y + 1}, light = {x, y + 1, client.right, y + 2};
    DrawFillRect(dc, &shadow, drawMetrics.colorBtnShadow);
    DrawFillRect(dc, &light, RGB(255, 255, 255));
    SelectObject(dc, previous);
    if (made) DeleteObject(font);
    EndPaint(window, &ps);
}

static LRESULT DlgHlineSetText(HWND window, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProcA(window, WM_SETTEXT, wParam, lParam);
    RECT place;
    HWND parent = GetParent(window);
    GetWindowRect(window, &place);
    MapWindowPoints(nullptr, parent, (POINT *)&place, 2);
    InvalidateRect(parent, &place, TRUE);
    return result;
}

LRESULT CALLBACK DlgHlineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: DlgHlinePaint(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: return DlgHlineSetText(window, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_STATIC;
    default: return WndDefaultProc(window, message, wParam, lParam);
    }
}

// ---- USERITEM

// The dialog and the record code of a user item, through its window id; false outside a table dialog.
static bool DlgUserItemOwner(HWND window, DlgObject **dlg, int32_t *code) {
    *dlg = DlgFromWindow(GetParent(window));
    const DlgControl *c = DlgControlOfId(*dlg, GetDlgCtrlID(window));
    *code = c ? c->code : 0;
    return c != nullptr;
}

static void DlgUserItemPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    DlgObject *dlg;
    int32_t code;
    if (DlgUserItemOwner(window, &dlg, &code))
        DlgCall(dlg, DLG_EV_PAINT_USERITEM, code, window, (intptr_t)dc);
    EndPaint(window, &ps);
}

static void DlgUserItemSize(HWND window, WPARAM wParam, LPARAM lParam) {
    DlgObject *dlg;
    int32_t code;
    if (DlgUserItemOwner(window, &dlg, &code))
        DlgCall(dlg, DLG_EV_SIZE_USERITEM, code, (void *)(intptr_t)wParam, (intptr_t)lParam);
}

LRESULT CALLBACK DlgUserItemProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: DlgUserItemPaint(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: DlgUserItemSize(window, wParam, lParam); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    default: return WndDefaultProc(window, message, wParam, lParam);
    }
}
