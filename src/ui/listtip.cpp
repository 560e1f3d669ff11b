// listtip: the list control's hover tip (prefix Listbox). When the cursor rests on a row whose text is cut,
// the idle poll opens a tip window over the row's text rectangle that paints the whole row. The module
// keeps one tip at a time. While it is open, the message hook that the main loop and the modal loops run
// hands clicks on the tip to the list, posts keys on the tip to it, and closes the tip on any other key or
// mouse message, on timer 104 (10 seconds) and when a list is shown or hidden.
#include "ui/listboxrec.h"

#include "base/rect.h"
#include "base/wnd.h"
#include "ui/tip.h"
#include "ui/track.h"

enum : UINT { LISTBOX_TIP_MS = 10000 };

struct ListboxTipState {
    HWND list;
    int32_t row;
    HWND tip;
    HWND focus;         // had the focus when the tip opened; gets it back when the tip closes
    HWND timerWindow;   // holds timer 104
    ListboxTipRec text; // the row's text rectangle, in the list's client coordinates
};
static ListboxTipState listboxTip;

// The tip's client area is the text rectangle: the row is painted in the list's coordinates, moved there.
static void ListboxTipPaint(HWND, HDC dc, const char *) {
    ListboxRec *lb = ListboxFromWindow(listboxTip.list);
    if (!lb) return;
    POINT origin;
    SetViewportOrgEx(dc, -listboxTip.text.left, -listboxTip.text.top, &origin);
    ListboxTipRec text = listboxTip.text;
    ListboxPaintRows(lb, dc, listboxTip.row, 1, 0, LISTBOX_USE_TIP, &text);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

HWND ListboxTipWindow() {
    return listboxTip.tip;
}

static void ListboxTipStopTimer() {
    if (listboxTip.timerWindow) KillTimer(listboxTip.timerWindow, LISTBOX_TIP_TIMER);
}

void ListboxTipClose() {
    if (!listboxTip.tip) return;
    HWND tip = listboxTip.tip, focus = listboxTip.focus;
    ListboxTipStopTimer();
    listboxTip = {};
    if (focus && IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
    DestroyWindow(tip);
}

void ListboxTipForget(HWND tip) {
    if (!tip || tip != listboxTip.tip) return;
    ListboxTipStopTimer();
    listboxTip = {};
}

void ListboxTipListGone(HWND list) {
    if (listboxTip.tip && listboxTip.list == list) ListboxTipClose();
}

// Measures the row under the point (client coordinates); true when its text is cut and the point lies on it.
static bool ListboxTipMeasure(ListboxRec *lb, POINT point, int32_t *row, ListboxTipRec *text) {
    if (point.y < lb->listTop) return false;
    *row = (point.y - lb->listTop) / lb->rowHeight + lb->topRow;
    if (ListboxRowItem(lb, *row) < 0) return false;
    *text = {};
    HDC dc = GetDC(lb->window);
    ListboxPaintRows(lb, dc, *row, 1, 0, LISTBOX_USE_MEASURE, text);
    ReleaseDC(lb->window, dc);
    RECT rect = {text->left, text->top, text->right, text->bottom};
    return text->cut && PtInRect(&rect, point);
}

static void ListboxTipOpen(ListboxRec *lb, POINT screen) {
    POINT point = screen;
    ScreenToClient(lb->window, &point);
    int32_t row;
    ListboxTipRec text;
    if (!ListboxTipMeasure(lb, point, &row, &text)) return;
    RECT rect = {text.left - 1, text.top - 1, text.right + 1, text.bottom + 1};
    MapWindowPoints(lb->window, nullptr, (POINT *)&rect, 2);
    listboxTip = {lb->window, row, nullptr, GetFocus(), nullptr, text};
    TipRegisterClass();
    TipCreateData data = {ListboxTipPaint};
    HWND tip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, tipClass, "", WS_POPUP | WS_BORDER,
                               rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                               GetAncestor(lb->window, GA_ROOT), nullptr, GetModuleHandleA(nullptr), &data);
    if (!tip) {
        listboxTip = {};
        return;
    }
    listboxTip.tip = tip;
    HWND frame = WndGetAppFrame();
    listboxTip.timerWindow = frame ? frame : lb->window;
    SetTimer(listboxTip.timerWindow, LISTBOX_TIP_TIMER, LISTBOX_TIP_MS, nullptr);
    ShowWindow(tip, SW_SHOWNOACTIVATE);
    UpdateWindow(tip);
}

void ListboxTipPoll(HWND within) {
    if (!AppIsForeground()) return;
    POINT cursor;
    TrackCursorPos(&cursor);
    HWND window = WindowFromPoint(cursor);
    // Another instance's list has the same class, but its record lives in that process.
    if (!ListboxIsList(window) || !WndInOwnProcess(window) || (within && !WndIsAncestor(within, window)))
        return;
    if (listboxTip.tip && listboxTip.list == window) return;
    ListboxTipClose();
    if (ListboxRec *lb = ListboxFromWindow(window)) ListboxTipOpen(lb, cursor);
}

static bool ListboxIsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

// A click on the tip is a click on the list under it; the wheel carries screen coordinates already.
static void ListboxTipForwardMouse(const MSG *msg) {
    HWND list = listboxTip.list;
    LPARAM lParam = msg->lParam;
    if (msg->message != WM_MOUSEWHEEL && msg->message != WM_MOUSEHWHEEL) {
        POINT point = PointFromLParam(lParam);
        MapWindowPoints(msg->hwnd, list, &point, 1);
        lParam = (LPARAM)PackWords(point.x, point.y);
    }
    SendMessageA(list, msg->message, msg->wParam, lParam);
    if (msg->message == WM_MOUSEWHEEL || msg->message == WM_MOUSEHWHEEL) ListboxTipClose();
}

bool ListboxPopupPreTranslate(MSG *msg) {
    if (!listboxTip.tip) return false;
    UINT message = msg->message;
    if (message == WM_TIMER && msg->wParam == LISTBOX_TIP_TIMER && msg->hwnd == listboxTip.timerWindow) {
        ListboxTipClose();
        return true;
    }
    bool mouse = ListboxIsMouseMessage(message), key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (msg->hwnd == listboxTip.tip) {
        if (key) {
            PostMessageA(listboxTip.list, message, msg->wParam, msg->lParam);
            return true;
        }
        if (message < WM_MOUSEFIRST || message > WM_MOUSELAST || message == WM_MOUSEMOVE) return false;
        ListboxTipForwardMouse(msg);
        return true;
    }
    if (mouse || key) ListboxTipClose();
    return false;
}
