// dlgedit: the shared history of entered strings and the edit and combo procedures that use it (prefix
// History). Three procedures replace the system's edit procedure: the history edit, the list-forwarding edit
// (a field directly above a list: no history, its list's keys go to the dialog) and the edit child of a
// combo above a list; one replaces the combo procedure. The system's procedures are saved once, at the first
// subclassing.
//
// Keys come as WM_KEYDOWN, or as message 2025 with a key code when the program's own key translation ran
// first. Only named keys (function keys and the arrows and pages) are translated from WM_KEYDOWN here: the
// translation of a character key would take the character message from the queue before the edit saw it.
#include "ui/dlgedit.h"

#include "base/keycode.h"
#include "base/keyinp.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/dlg.h"
#include "ui/draw.h"
#include "ui/theme.h"

enum : int32_t {
    HISTORY_KEY_PAGE_UP = KEY_NAV | VK_PRIOR,
    HISTORY_KEY_PAGE_DOWN = KEY_NAV | VK_NEXT,
    HISTORY_KEY_UP = KEY_NAV | VK_UP,
    HISTORY_KEY_DOWN = KEY_NAV | VK_DOWN,
    HISTORY_SWALLOWED = KEY_CTRL | KEY_ALT | KEY_FUNCTION | KEY_KEYPAD | KEY_NAV, // 0xDC00
    HISTORY_STRING_BYTES = 512,
    HISTORY_TEXT = 256,
};
static const POINT historyComboEditAt = {4, 4}; // where a combo's own edit child lies

static Stb *historyBlock;
static WNDPROC historyEditProc;  // the system's edit procedure
static WNDPROC historyComboProc; // the system's combo procedure

// ---- The history

Stb *HistoryGet() {
    if (!historyBlock) historyBlock = StbCreate(HISTORY_STRING_BYTES, HISTORY_MAX + 1);
    return historyBlock;
}

void HistoryClear() {
    if (historyBlock) StbReset(historyBlock);
}

static int HistoryCompare(const unsigned char *key, const unsigned char *stored) {
    return PstrEqual(key, stored) ? 0 : 1;
}

bool HistoryFind(const unsigned char *pstr) {
    int32_t at;
    return historyBlock && StbFindLinear(historyBlock, pstr, &at, HistoryCompare);
}

int32_t HistoryAdd(const unsigned char *pstr) {
    if (pstr[0] < 2) return pstr[0];
    Stb *history = HistoryGet();
    if (!history) return 0;
    int32_t at;
    if (StbFindLinear(history, pstr, &at, HistoryCompare)) {
        StbSwapSlots(history, 0, at);
        return StbCount(history);
    }
    if (!StbInsert(history, 0, pstr, 0)) return 0;
    while (StbCount(history) > HISTORY_MAX) StbDelete(history, StbCount(history) - 1);
    return StbCount(history);
}

int32_t HistoryAddSz(const char *text) {
    unsigned char pstr[256];
    return HistoryAdd(PstrFromSz(text, pstr));
}

bool HistoryWrite(int file) {
    Stb *history = HistoryGet();
    return history && StbWrite(history, file);
}

bool HistoryRead(int file) {
    Stb *read = StbRead(file);
    if (!read) read = StbCreate(HISTORY_STRING_BYTES, HISTORY_MAX + 1);
    if (!read) return false;
    StbFree(&historyBlock);
    historyBlock = read;
    return true;
}

// ---- Controls and keys

static void HistoryRecordText(HWND control) {
    char text[HISTORY_TEXT];
    GetWindowTextA(control, text, sizeof text);
    HistoryAddSz(text);
}

// The key code of a named key; 0 for any other, which the control handles itself.
static KeyCode HistoryNamedKey(HWND window, WPARAM virtualKey, LPARAM lParam) {
    bool named = (virtualKey >= VK_F1 && virtualKey <= VK_F16) || virtualKey == VK_UP ||
                 virtualKey == VK_DOWN || virtualKey == VK_PRIOR || virtualKey == VK_NEXT;
    return named ? KeyFromMsgParts(window, WM_KEYDOWN, virtualKey, lParam) : 0;
}

static bool HistoryIsListKey(KeyCode key) {
    return key == HISTORY_KEY_UP || key == HISTORY_KEY_DOWN || key == HISTORY_KEY_PAGE_UP ||
           key == HISTORY_KEY_PAGE_DOWN;
}

// Up and Down: the control's text is recorded when new; when it is the newest entry the history turns by
// one (Up: the newest goes last; Down: the oldest comes first); the newest entry then fills the control,
// selected, and the parent hears of the change.
static void HistoryCycle(HWND control, bool up, bool combo) {
    char text[HISTORY_TEXT];
    unsigned char pstr[256];
    GetWindowTextA(control, text, sizeof text);
    PstrFromSz(text, pstr);
    if (!HistoryFind(pstr)) HistoryAdd(pstr);
    Stb *history = HistoryGet();
    if (!history || !StbCount(history)) return;
    if (PstrEqual(pstr, StbStringPtr(history, 0))) StbRotate(history, up ? -1 : 1);
    StbGetString(history, 0, text);
    SetWindowTextA(control, text);
    if (combo)
        SendMessageA(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageA(control, EM_SETSEL, 0, -1);
    // A combo's parent listens for its own notification of an edited text.
    WORD notify = combo ? CBN_EDITCHANGE : EN_CHANGE;
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), notify), (LPARAM)control);
}

// A history edit's key: Up and Down cycle, named keys go to the parent (the dialog) as 2025; true when
// taken.
static bool HistoryEditKey(HWND edit, KeyCode key, LPARAM lParam) {
    if (key == HISTORY_KEY_UP || key == HISTORY_KEY_DOWN) {
        HistoryCycle(edit, key == HISTORY_KEY_UP, false);
        return true;
    }
    if (!(key & KEY_FUNCTION)) return false;
    SendMessageA(GetParent(edit), HISTORY_MSG_KEY, (WPARAM)key, lParam);
    return true;
}

// Message 2025: other keys with a modifier or of the named and navigation kinds are swallowed; the rest are
// typed.
static LRESULT HistoryEditKeyCode(HWND edit, KeyCode key, LPARAM lParam) {
    if (HistoryEditKey(edit, key, lParam) || (key & HISTORY_SWALLOWED)) return 0;
    return CallWindowProcA(historyEditProc, edit, WM_CHAR, (WPARAM)(key & 0xFF), lParam);
}

// ---- Painting

// The system's painting, then a sunken frame round the whole window.
static LRESULT HistoryPaint(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, bool frame) {
    LRESULT result = CallWindowProcA(historyEditProc, edit, message, wParam, lParam);
    if (!frame) return result;
    RECT whole;
    GetWindowRect(edit, &whole);
    OffsetRect(&whole, -whole.left, -whole.top);
    if (HDC dc = GetWindowDC(edit)) {
        Draw3DRect(dc, &whole);
        ReleaseDC(edit, dc);
    }
    return result;
}

// ---- Procedures

static LRESULT CALLBACK HistoryEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: HistoryGet(); break;
    case WM_KILLFOCUS: HistoryRecordText(edit); break;
    case WM_KEYDOWN:
        if (HistoryEditKey(edit, HistoryNamedKey(edit, wParam, lParam), lParam)) return 0;
        break;
    case HISTORY_MSG_KEY: return HistoryEditKeyCode(edit, (KeyCode)wParam, lParam);
    case WM_PAINT:
    case WM_NCPAINT: return HistoryPaint(edit, message, wParam, lParam, !ThemeIsActive());
    default: break;
    }
    return CallWindowProcA(historyEditProc, edit, message, wParam, lParam);
}

// An edit above a list: the list's keys go to the dialog while the edit holds text.
static LRESULT CALLBACK HistoryListEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN: {
        KeyCode key = HistoryNamedKey(edit, wParam, lParam);
        if (!HistoryIsListKey(key) || !GetWindowTextLengthA(edit)) break;
        SendMessageA(GetParent(edit), HISTORY_MSG_KEY, (WPARAM)key, 0);
        return 0;
    }
    case WM_PAINT:
    case WM_NCPAINT: return HistoryPaint(edit, message, wParam, lParam, true);
    default: break;
    }
    return CallWindowProcA(historyEditProc, edit, message, wParam, lParam);
}

// A combo's edit above a list: as the list-forwarding edit, to the combo's dialog, while the drop-down is
// closed.
static LRESULT CALLBACK HistoryComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        HWND combo = GetParent(edit);
        KeyCode key = HistoryNamedKey(edit, wParam, lParam);
        if (HistoryIsListKey(key) && GetWindowTextLengthA(edit) &&
            !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
            SendMessageA(GetParent(combo), HISTORY_MSG_KEY, (WPARAM)key, 0);
            return 0;
        }
    }
    return CallWindowProcA(historyEditProc, edit, message, wParam, lParam);
}

// Up and Down cycle the history while the drop-down is closed.
static bool HistoryComboKey(HWND combo, WPARAM wParam, LPARAM lParam) {
    KeyCode key = HistoryNamedKey(combo, wParam, lParam);
    if (key != HISTORY_KEY_UP && key != HISTORY_KEY_DOWN) return false;
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
    HistoryCycle(combo, key == HISTORY_KEY_UP, true);
    return true;
}

// The focus of a combo lies on its edit child, which reports it to the combo.
static void HistoryComboCommand(HWND combo, WPARAM wParam) {
    if (HIWORD(wParam) == EN_SETFOCUS) HistoryGet();
    if (HIWORD(wParam) == EN_KILLFOCUS) HistoryRecordText(combo);
}

static LRESULT CALLBACK HistoryComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: HistoryGet(); break;
    case WM_KILLFOCUS: HistoryRecordText(combo); break;
    case WM_COMMAND: HistoryComboCommand(combo, wParam); break;
    case WM_NEXTDLGCTL: return SendMessageA(GetParent(combo), message, wParam, lParam);
    case WM_KEYDOWN:
        if (HistoryComboKey(combo, wParam, lParam)) return 0;
        break;
    default: break;
    }
    return CallWindowProcA(historyComboProc, combo, message, wParam, lParam);
}

// ---- Subclassing and creating

static bool HistoryIsOurs(WNDPROC proc) {
    return proc == HistoryEditProc || proc == HistoryListEditProc || proc == HistoryComboEditProc ||
           proc == HistoryComboProc;
}

// Installs the procedure unless one of ours is there already; saved keeps the first replaced procedure.
static void HistoryInstall(HWND window, WNDPROC proc, WNDPROC *saved) {
    if (!window) return;
    auto current = (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (HistoryIsOurs(current)) return;
    if (!*saved) *saved = current;
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)proc);
}

void HistoryEditSubclass(HWND edit, bool nextIsList) {
    HistoryInstall(edit, nextIsList ? HistoryListEditProc : HistoryEditProc, &historyEditProc);
}

void HistoryComboSubclass(HWND combo, bool nextIsList) {
    if (!combo) return;
    HistoryInstall(combo, HistoryComboProc, &historyComboProc);
    HWND edit = ChildWindowFromPoint(combo, historyComboEditAt);
    if (nextIsList && edit && edit != combo) HistoryInstall(edit, HistoryComboEditProc, &historyEditProc);
}

static HWND HistoryCreate(const char *className, DWORD style, HWND parent, const RECT *rect, bool visible) {
    Xywh place;
    RectToOriginSize(rect, &place);
    HWND window = WndCreate(className, "", style | (visible ? WS_VISIBLE : 0), &place, parent, nullptr);
    if (window) SendMessageA(window, WM_SETFONT, (WPARAM)DlgGetFont(), FALSE);
    return window;
}

HWND HistoryEditCreate(HWND parent, const RECT *rect, bool visible, bool nextIsList) {
    HWND edit = HistoryCreate("EDIT", WS_CHILD | WS_CLIPCHILDREN | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                              parent, rect, visible);
    if (edit) HistoryEditSubclass(edit, nextIsList);
    return edit;
}

HWND HistoryComboCreate(HWND parent, const RECT *rect, bool visible, bool nextIsList) {
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS |
                  CBS_AUTOHSCROLL | CBS_DROPDOWN;
    HWND combo = HistoryCreate("COMBOBOX", style, parent, rect, visible);
    if (!combo) return nullptr;
    SendMessageA(combo, CB_SETEXTENDEDUI, TRUE, 0);
    HistoryComboSubclass(combo, nextIsList);
    return combo;
}
