// dlgproc: the dialog procedure and the window procedure of table dialogs (prefix Dlg). Both hold the
// dialog's object while they run, so that a callback may close its own dialog: the object goes when the
// last hold is released after the window's destruction.
//
// Commands: Esc and the close box arrive as id 2, Enter without a default push button as id 1 (the
// default control), the controls as 1000 + index. Commands for inactive controls, and any command that
// arrives while a callback of the same dialog runs, are ignored.
#include "ui/dlgproc.h"

#include "base/keycode.h"
#include "base/rect.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/sysprobe.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/wheel.h"
#include "ui/dlgedit.h"
#include "ui/dlgobj.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"
#include "ui/draw.h"
#include "ui/listbox.h"
#include "ui/theme.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

enum {
    DLG_KEY_PAGE_UP = 0x8021,
    DLG_KEY_PAGE_DOWN = 0x8022,
    DLG_KEY_UP = 0x8026,
    DLG_KEY_DOWN = 0x8028,
    DLG_TYPE_AHEAD_MS = 500,
    DLG_ITEM_HEIGHT = 16,
    DLG_PRESS_DEPTH_MAX = 8,
    DLG_CTL3D_ALL = 0xFFFF,
};

static WNDPROC dlgSystemProc; // the system dialog class's procedure, replaced by the subclassing
static WNDPROC dlgComboProc;  // the system combo procedure, replaced on drop-down lists
static DlgPageHooks dlgPageHooks;
static int32_t dlgPressDepth;

// ---- Property-page hooks

static void DlgResetPageHooks() {
    dlgPageHooks = {};
}

void DlgSetPageHooks(const DlgPageHooks *hooks) {
    dlgPageHooks = hooks ? *hooks : DlgPageHooks{};
    SeamRegisterReset(DlgResetPageHooks);
}

// ---- Helpers

static HWND DlgItem(const DlgObject *dlg, int32_t index) {
    return DlgGetControlWindowAt(dlg, index);
}

static bool DlgNextIsList(const DlgObject *dlg, int32_t index) {
    return dlg->controls[index + 1].type == DLG_LIST; // the terminator follows the last record
}

static bool DlgIsActive(const DlgControl *c) {
    return !(c->flags & DLGF_INACTIVE);
}

// A control's rectangle in the dialog's client coordinates.
static void DlgItemRect(const DlgObject *dlg, int32_t index, RECT *out) {
    GetWindowRect(DlgItem(dlg, index), out);
    MapWindowPoints(nullptr, dlg->window, (POINT *)out, 2);
}

static LRESULT DlgDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (dlgSystemProc && (WNDPROC)GetClassLongPtrA(window, GCLP_WNDPROC) != DlgWndProc)
        return CallWindowProcA(dlgSystemProc, window, message, wParam, lParam);
    return DefDlgProcA(window, message, wParam, lParam);
}

static void DlgSubclass(DlgObject *dlg, HWND window) {
    if (dlg->state & DLG_STATE_SUBCLASSED) return;
    dlg->state |= DLG_STATE_SUBCLASSED;
    auto previous = (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (previous == DlgWndProc) return; // a "vx_dlg" window
    dlgSystemProc = previous;
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)DlgWndProc);
}

static const DrawCtl3dCalls *DlgCtl3d() {
    return SysIsWin4() ? nullptr : DrawCtl3d();
}

// ---- List controls

static void DlgSetListStyle(HWND list, uint32_t style) {
    const ListboxStyle words = {style, nullptr};
    SendMessageA(list, LISTBOX_MSG_SETSTYLE, 0, (LPARAM)&words);
}

// The list requests that become callback events with the request record as pointer and its item word as
// extra; the answer is the callback's.
struct DlgListEvent {
    int32_t request;
    int32_t event;
};
static const DlgListEvent dlgListEvents[] = {
    {LISTBOX_REQ_COUNT, DLG_EV_ITEM_COUNT},
    {LISTBOX_REQ_PAINT_CELL, DLG_EV_LIST_PAINT_CELL},
    {LISTBOX_REQ_TEXT_HEIGHT, DLG_EV_LIST_TEXT_HEIGHT},
    {LISTBOX_REQ_PAINT_BEGIN, DLG_EV_LIST_PAINT_BEGIN},
    {LISTBOX_REQ_PAINT_END, DLG_EV_LIST_PAINT_END},
    {LISTBOX_REQ_LEVEL, DLG_EV_LIST_LEVEL},
    {LISTBOX_REQ_EXPAND, DLG_EV_LIST_EXPAND},
    {LISTBOX_REQ_COLLAPSE, DLG_EV_LIST_COLLAPSE},
    {LISTBOX_REQ_EXPAND_ALL, DLG_EV_LIST_EXPAND_ALL},
    {LISTBOX_REQ_EXPAND_STATE, DLG_EV_LIST_EXPAND_STATE},
    {LISTBOX_REQ_NEXT_SIBLING, DLG_EV_LIST_NEXT_SIBLING},
    {LISTBOX_REQ_IMAGE, DLG_EV_LIST_IMAGE},
    {LISTBOX_REQ_COLUMN_TITLE, DLG_EV_COLUMN_TITLE},
    {LISTBOX_REQ_HEADER_CLICK, DLG_EV_PAINT_USERITEM},
    {LISTBOX_REQ_GET_CHECK, DLG_EV_LIST_CHECK},
    {LISTBOX_REQ_SET_CHECK, DLG_EV_LIST_SET_CHECK},
    {LISTBOX_REQ_MEASURE_CELL, DLG_EV_LIST_TIP_MEASURE},
};

enum { DLG_LIST_REQ_TYPE_AHEAD = 8 }; // w4: the typed character; the answer: the item found, -1 none

// An item's text (or alternate text) from the callback's length-prefixed string into the request's buffer.
static LRESULT DlgListText(DlgObject *dlg, int32_t code, int32_t event, const ListboxNotify *record) {
    unsigned char text[256] = {0};
    DlgCall(dlg, event, code, text, ListboxNotifyInt(record, LISTBOX_W_ITEM));
    if (char *buffer = ListboxNotifyBuffer(record)) StrCopyN((const char *)text + 1, text[0], buffer);
    return text[0];
}

// A mouse message: the callback sees a copy of the request and the answer, preset to 1 (the list handles
// the message); it may clear it to swallow the message.
static LRESULT DlgListMouse(DlgObject *dlg, int32_t code, const ListboxNotify *record) {
    ListboxNotify copy = *record;
    int32_t answer = 1;
    DlgCall(dlg, DLG_EV_LIST_MOUSE, code, &copy, (intptr_t)&answer);
    return answer;
}

static LRESULT DlgListTypeAhead(DlgObject *dlg, int32_t index, const ListboxNotify *record) {
    HWND list = ListboxNotifyWindow(record);
    return DlgTypeAhead(dlg, index, list, ListboxGetCount(list),
                        (char)ListboxNotifyInt(record, LISTBOX_W_KEY_CODE));
}

// A list control's request (message 2026), answered through the dialog's message result: the list's own
// window word holds its record.
static LRESULT DlgOnListRequest(DlgObject *dlg, int32_t request, ListboxNotify *record) {
    HWND list = record ? ListboxNotifyWindow(record) : nullptr;
    const DlgControl *c =
        list && GetParent(list) == dlg->window ? DlgControlOfId(dlg, GetDlgCtrlID(list)) : nullptr;
    if (!c || c->type != DLG_LIST) return 0;
    switch (request) {
    case LISTBOX_REQ_TEXT: return DlgListText(dlg, c->code, DLG_EV_ITEM_TEXT, record);
    case LISTBOX_REQ_ALT_TEXT: return DlgListText(dlg, c->code, DLG_EV_ALT_TEXT, record);
    case LISTBOX_REQ_MOUSE: return DlgListMouse(dlg, c->code, record);
    case LISTBOX_REQ_KEY: return 1;
    case DLG_LIST_REQ_TYPE_AHEAD: return DlgListTypeAhead(dlg, (int32_t)(c - dlg->controls), record);
    default: break;
    }
    for (const DlgListEvent &map : dlgListEvents)
        if (map.request == request)
            return DlgCall(dlg, map.event, c->code, record, ListboxNotifyInt(record, LISTBOX_W_ITEM));
    return 0;
}

// ---- Type-ahead

static HWND dlgTypeWindow;
static uint32_t dlgTypeTime;
static char dlgTypeFirst;

// The first two characters of an item's text without its leading underscores, folded.
static void DlgSortText(DlgObject *dlg, int32_t code, int32_t item, char out[3]) {
    unsigned char text[256] = {0};
    DlgCall(dlg, DLG_EV_ITEM_TEXT, code, text, item);
    int i = 1, n = text[0];
    while (i <= n && text[i] == '_') i++;
    out[0] = (char)(i <= n ? CharFold(text[i]) : 0);
    out[1] = (char)(i + 1 <= n ? CharFold(text[i + 1]) : 0);
    out[2] = 0;
}

static int DlgCompareTyped(const char *text, const char *keys, int n) {
    for (int k = 0; k < n; k++)
        if (text[k] != keys[k]) return (unsigned char)text[k] - (unsigned char)keys[k];
    return 0;
}

// Items already loaded are searched by halves: the current item when it begins with the keys (with one
// key its successor), else the first item not below the keys.
static int32_t DlgTypeAheadSorted(DlgObject *dlg, int32_t code, int32_t count, int32_t current,
                                  const char *keys, int n) {
    char text[3];
    if (current >= 0 && current < count) {
        DlgSortText(dlg, code, current, text);
        if (!DlgCompareTyped(text, keys, n)) return n == 1 ? Min(current + 1, count - 1) : current;
    }
    int32_t lo = 0, hi = count;
    while (lo < hi) {
        int32_t mid = lo + (hi - lo) / 2;
        DlgSortText(dlg, code, mid, text);
        if (DlgCompareTyped(text, keys, n) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return Min(lo, count - 1);
}

static int32_t DlgTypeAheadForward(DlgObject *dlg, int32_t code, int32_t count, int32_t current,
                                   const char *keys, int n) {
    int32_t start = n == 2 ? current : current + 1;
    if (start < 0 || start >= count) start = 0;
    char text[3];
    for (int32_t k = 0; k < count; k++) {
        int32_t item = (start + k) % count;
        DlgSortText(dlg, code, item, text);
        if (!DlgCompareTyped(text, keys, n)) return item;
    }
    return -1;
}

// A second character at the same control within 500 ms of the first searches for both.
int32_t DlgTypeAhead(DlgObject *dlg, int32_t index, HWND control, int32_t count, char typed) {
    uint32_t now = TickNow();
    char keys[3] = {(char)CharFold((unsigned char)typed), 0, 0};
    int n = 1;
    if (control == dlgTypeWindow && now - dlgTypeTime < DLG_TYPE_AHEAD_MS) {
        keys[1] = keys[0];
        keys[0] = dlgTypeFirst;
        n = 2;
        dlgTypeWindow = nullptr;
    } else {
        dlgTypeWindow = control;
        dlgTypeTime = now;
        dlgTypeFirst = keys[0];
    }
    const DlgControl *c = &dlg->controls[index];
    if (count <= 0) return -1;
    int32_t current =
        c->type == DLG_LIST ? ListboxGetCurSel(control) : (int32_t)SendMessageA(control, CB_GETCURSEL, 0, 0);
    if (c->flags & DLGF_LOADED) return DlgTypeAheadSorted(dlg, c->code, count, current, keys, n);
    return DlgTypeAheadForward(dlg, c->code, count, current, keys, n);
}

// A drop-down list selects by typed characters: the combo's own search needs item strings, which owner-
// drawn items without strings lack.
static bool DlgComboTypeChar(HWND combo, char typed) {
    HWND window = GetParent(combo);
    DlgObject *dlg = DlgFromWindow(window);
    const DlgControl *c = DlgControlOfId(dlg, GetDlgCtrlID(combo));
    if (!c || (unsigned char)typed < ' ') return false;
    DlgHold(dlg);
    int32_t count = (int32_t)SendMessageA(combo, CB_GETCOUNT, 0, 0);
    int32_t found = DlgTypeAhead(dlg, (int32_t)(c - dlg->controls), combo, count, typed);
    if (found >= 0 && !DlgGone(dlg)) {
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)found, 0);
        if (!SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0))
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), (LPARAM)combo);
    }
    DlgRelease(dlg);
    return true;
}

static LRESULT CALLBACK DlgComboTypeProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && DlgComboTypeChar(combo, (char)wParam)) return 0;
    return CallWindowProcA(dlgComboProc, combo, message, wParam, lParam);
}

static void DlgSubclassDropList(HWND combo) {
    auto previous = (WNDPROC)SetWindowLongPtrA(combo, GWLP_WNDPROC, (LONG_PTR)DlgComboTypeProc);
    if (previous != DlgComboTypeProc) dlgComboProc = previous;
}

// ---- Initialisation

static DlgObject *DlgAdopt(HWND window, LPARAM lParam) {
    bool child = GetWindowLongA(window, GWL_STYLE) & WS_CHILD;
    if (child && dlgPageHooks.initObject) return dlgPageHooks.initObject(window, lParam);
    return (DlgObject *)lParam;
}

// Selectable rows, selections and double-clicks reported, a click focuses, the list's own context menu;
// the record's flags add the rest.
static void DlgInitList(DlgObject *dlg, int32_t index) {
    uint32_t flags = dlg->controls[index].flags;
    uint32_t style = LISTBOX_SELECTABLE | LISTBOX_NOTIFY_SEL | LISTBOX_NOTIFY_DBL | LISTBOX_CLICK_FOCUS |
                     LISTBOX_CONTEXT_MENU;
    if (flags & DLGF_MULTISEL) style |= LISTBOX_MULTI_SEL;
    if (flags & DLGF_OWNER_DRAW) style |= LISTBOX_OWNER_DRAW;
    if (flags & DLGF_NO_SYLLABLES) style |= LISTBOX_NO_SYLLABLES;
    if (flags & DLGF_SORTED) style |= LISTBOX_SORTED;
    HWND list = DlgItem(dlg, index);
    DlgSetListStyle(list, style);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

static void DlgInitControls(DlgObject *dlg) {
    for (int32_t i = 0; i < dlg->count && !DlgGone(dlg); i++) {
        const DlgControl *c = &dlg->controls[i];
        HWND item = DlgItem(dlg, i);
        if (!item) continue;
        if (!DlgIsActive(c)) EnableWindow(item, FALSE);
        if (c->type == DLG_DROPLIST || c->type == DLG_COMBO) DlgFillCombo(dlg, i);
        if (c->type == DLG_DROPLIST) DlgSubclassDropList(item);
        if (c->type != DLG_COMBO) continue;
        HistoryComboSubclass(item, DlgNextIsList(dlg, i));
        SendMessageA(item, CB_SETEXTENDEDUI, TRUE, 0);
        SendMessageA(item, CB_SETCURSEL, 0, 0);
    }
    for (int32_t i = 0; i < dlg->count && !DlgGone(dlg); i++)
        if (dlg->controls[i].type == DLG_LIST && DlgItem(dlg, i)) DlgInitList(dlg, i);
}

// The first active edit or editable combo, else list, else drop-down list; false when none.
static bool DlgSetInitialFocus(DlgObject *dlg) {
    int32_t field = -1, list = -1, drop = -1;
    for (int32_t i = dlg->count - 1; i >= 0; i--) {
        const DlgControl *c = &dlg->controls[i];
        if (!DlgIsActive(c) || !DlgItem(dlg, i)) continue;
        if (c->type == DLG_EDIT || c->type == DLG_COMBO) field = i;
        if (c->type == DLG_LIST) list = i;
        if (c->type == DLG_DROPLIST) drop = i;
    }
    int32_t target = field >= 0 ? field : list >= 0 ? list : drop;
    if (target < 0) return false;
    HWND item = DlgItem(dlg, target);
    SetFocus(item);
    if (dlg->controls[target].type == DLG_EDIT) SendMessageA(item, EM_SETSEL, 0, -1);
    if (dlg->controls[target].type == DLG_COMBO) SendMessageA(item, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    return true;
}

static INT_PTR DlgOnInitDialog(HWND window, LPARAM lParam) {
    DlgObject *dlg = DlgAdopt(window, lParam);
    if (!dlg) return TRUE;
    SetWindowLongPtrA(window, DWLP_USER, (LONG_PTR)dlg);
    dlg->window = window;
    dlg->state |= DLG_STATE_ADOPTED;
    DlgHold(dlg);
    DlgSubclass(dlg, window);
    if (const DrawCtl3dCalls *ctl3d = DlgCtl3d()) ctl3d->subclassDlg(window, DLG_CTL3D_ALL);
    if (dlg->page && dlgPageHooks.initPage)
        dlgPageHooks.initPage(dlg);
    else
        DlgRestorePosition(window, dlg->header.positionKey);
    dlg->state += DLG_STATE_CALL_ONE;
    DlgInitControls(dlg);
    DlgClearPending();
    DlgLoadValues(dlg, dlg->data);
    bool focused = !DlgGone(dlg) && DlgSetInitialFocus(dlg);
    DlgCall(dlg, DLG_EV_INIT, 0, nullptr, 0);
    if (!DlgGone(dlg) && !DlgFontMeasured()) DlgMeasureFont(window);
    // A callback that put the focus on a control keeps it: the system would move it to the first one.
    HWND focus = GetFocus();
    focused = focused || (focus && IsChild(window, focus));
    dlg->state -= DLG_STATE_CALL_ONE;
    DlgRelease(dlg);
    return !focused;
}

// ---- Commands

enum DlgAction { DLG_ACT_NONE, DLG_ACT_USED, DLG_ACT_DEFAULT };

static int32_t DlgChooseRadio(DlgObject *dlg, int32_t index) {
    int32_t head = dlg->controls[index].extra2;
    if (head < 0 || head >= index || dlg->controls[head].type != DLG_RADIO_HEAD)
        return dlg->controls[index].code;
    DlgSetValueAt(dlg, head, index - head - 1);
    return dlg->controls[head].code;
}

// A combo's selection was accepted: stored, and an editable combo shows the item's text. A selection
// change of a closed combo (keys, type-ahead) counts only when the selection moved.
static DlgAction DlgComboAccept(DlgObject *dlg, int32_t index, bool ended) {
    DlgControl *c = &dlg->controls[index];
    HWND combo = DlgItem(dlg, index);
    int32_t selected = (int32_t)SendMessageA(combo, CB_GETCURSEL, 0, 0);
    bool moved = selected != c->extra1;
    c->extra1 = selected;
    if (selected != -1 && (moved || ended)) {
        c->flags &= ~(uint32_t)DLGF_SYNCED;
        if (c->type == DLG_COMBO) {
            unsigned char text[256] = {0};
            DlgCall(dlg, DLG_EV_ITEM_TEXT, c->code, text, selected);
            char plain[256];
            StrCopyN((const char *)text + 1, text[0], plain);
            SetWindowTextA(combo, plain);
        }
    }
    return moved || ended ? DLG_ACT_USED : DLG_ACT_NONE;
}

static DlgAction DlgComboNotify(DlgObject *dlg, int32_t index, int32_t notify) {
    DlgControl *c = &dlg->controls[index];
    switch (notify) {
    case CBN_KILLFOCUS: DlgCall(dlg, DLG_EV_KILL_FOCUS, c->code, nullptr, 0); return DLG_ACT_NONE;
    case CBN_EDITCHANGE: c->flags &= ~(uint32_t)DLGF_SYNCED; return DLG_ACT_USED;
    case CBN_SELENDOK: return DlgComboAccept(dlg, index, true);
    case CBN_SELCHANGE:
        if (SendMessageA(DlgItem(dlg, index), CB_GETDROPPEDSTATE, 0, 0)) return DLG_ACT_NONE;
        return DlgComboAccept(dlg, index, false);
    default: return DLG_ACT_NONE;
    }
}

// What a notification does to its control's record; *code is the code the use reports.
static DlgAction DlgApplyNotify(DlgObject *dlg, int32_t index, int32_t notify, int32_t *code) {
    DlgControl *c = &dlg->controls[index];
    *code = c->code;
    switch (c->type) {
    case DLG_BUTTON: return notify == BN_CLICKED ? DLG_ACT_USED : DLG_ACT_NONE;
    case DLG_CHECK:
        if (notify != BN_CLICKED) return DLG_ACT_NONE;
        DlgSetValueAt(dlg, index, !c->extra1);
        return DLG_ACT_USED;
    case DLG_RADIO:
        if (notify == BN_DOUBLECLICKED) return DLG_ACT_DEFAULT;
        if (notify != BN_CLICKED) return DLG_ACT_NONE;
        *code = DlgChooseRadio(dlg, index);
        return DLG_ACT_USED;
    case DLG_LIST:
        if (notify == LISTBOX_NOTIFY_DBLCLK && c->flags & DLGF_DOUBLE_DEFAULT) return DLG_ACT_DEFAULT;
        if (notify != LISTBOX_NOTIFY_SELECTION) return DLG_ACT_NONE;
        c->extra1 = ListboxGetCurSel(DlgItem(dlg, index));
        return DLG_ACT_USED;
    case DLG_EDIT:
        if (notify == EN_KILLFOCUS) DlgCall(dlg, DLG_EV_KILL_FOCUS, c->code, nullptr, 0);
        if (notify != EN_CHANGE) return DLG_ACT_NONE;
        c->flags &= ~(uint32_t)DLGF_SYNCED;
        return DLG_ACT_USED;
    case DLG_DROPLIST:
    case DLG_COMBO: return DlgComboNotify(dlg, index, notify);
    case DLG_USERITEM: return DLG_ACT_USED;
    default: return DLG_ACT_NONE;
    }
}

static void DlgHandleControl(DlgObject *dlg, int32_t index, int32_t notify);

static void DlgPressCode(DlgObject *dlg, int32_t code) {
    int32_t target = DlgFindControl(dlg, code);
    if (target >= 0 && DlgIsActive(&dlg->controls[target])) DlgPressControl(dlg, target);
}

// Event 4, then the pending press or the default control.
static void DlgDefaultAction(DlgObject *dlg, int32_t index) {
    DlgCall(dlg, DLG_EV_DEFAULT_ACTION, dlg->controls[index].code, nullptr, 0);
    if (DlgGone(dlg)) return;
    int32_t press = DlgTakePendingPress();
    if (press)
        DlgPressCode(dlg, press);
    else if (dlg->defaultControl >= 0)
        DlgPressControl(dlg, dlg->defaultControl);
}

static void DlgCloseBy(DlgObject *dlg, int32_t index) {
    const DlgControl *c = &dlg->controls[index];
    int32_t code = c->code;
    bool readValues = c->flags & DLGF_READ_VALUES;
    if (!DlgQueryClose(dlg)) return;
    if (readValues && !DlgReadValues(dlg, dlg->data, true)) return;
    DlgEnd(dlg, code);
}

// A used control: its code becomes the end code and goes to the callback (code 6 asks for help); a
// closing button then closes unless the callback kept the dialog open; a pending press follows.
static void DlgUse(DlgObject *dlg, int32_t index, int32_t code) {
    const DlgControl *c = &dlg->controls[index];
    DlgSetEndCode(code);
    DlgClearPending();
    if (code == DLG_CODE_HELP)
        DlgHelp(dlg);
    else
        DlgCall(dlg, DLG_EV_USED, code, nullptr, 0);
    if (DlgGone(dlg)) return;
    if (c->type == DLG_BUTTON && c->flags & DLGF_CLOSES && !DlgKeptOpen()) return DlgCloseBy(dlg, index);
    int32_t press = DlgTakePendingPress();
    if (press && DlgIsActive(c)) DlgPressCode(dlg, press);
}

static void DlgHandleControl(DlgObject *dlg, int32_t index, int32_t notify) {
    int32_t code = 0;
    DlgAction action = DlgApplyNotify(dlg, index, notify, &code);
    if (DlgGone(dlg)) return;
    if (action == DLG_ACT_DEFAULT) DlgDefaultAction(dlg, index);
    if (action == DLG_ACT_USED) DlgUse(dlg, index, code);
}

static int32_t DlgMadeUpNotify(int32_t type) {
    switch (type) {
    case DLG_EDIT: return EN_CHANGE;
    case DLG_COMBO: return CBN_EDITCHANGE;
    case DLG_LIST: return LISTBOX_NOTIFY_SELECTION;
    case DLG_DROPLIST: return CBN_SELENDOK;
    default: return BN_CLICKED;
    }
}

// Presses chain through pending presses; a callback that presses the same control again and again is
// stopped after a few rounds instead of recursing without end.
void DlgPressControl(DlgObject *dlg, int32_t index) {
    if (index < 0 || index >= dlg->count || dlgPressDepth >= DLG_PRESS_DEPTH_MAX) return;
    dlgPressDepth++;
    DlgHandleControl(dlg, index, DlgMadeUpNotify(dlg->controls[index].type));
    dlgPressDepth--;
}

static void DlgOnCancel(DlgObject *dlg) {
    DlgSetEndCode(DLG_CODE_CANCEL);
    DlgCall(dlg, DLG_EV_USED, DLG_CODE_CANCEL, nullptr, 0);
    if (!DlgGone(dlg) && DlgQueryClose(dlg)) DlgEnd(dlg, DLG_CODE_CANCEL);
}

static void DlgOnCommand(DlgObject *dlg, int32_t id, int32_t notify) {
    if (DlgCallDepth(dlg) > 0) return;
    if (id == IDCANCEL) return DlgOnCancel(dlg);
    int32_t index = id == IDOK ? dlg->defaultControl : id - DLG_ID_BASE;
    if (index < 0 || index >= dlg->count || !DlgIsActive(&dlg->controls[index])) return;
    DlgHandleControl(dlg, index, id == IDOK ? DlgMadeUpNotify(dlg->controls[index].type) : notify);
}

// ---- Owner-drawn items

static INT_PTR DlgOnDrawItem(DlgObject *dlg, const DRAWITEMSTRUCT *item) {
    const DlgControl *c = DlgControlOfId(dlg, (int32_t)item->CtlID);
    if (!c || (item->CtlType != ODT_COMBOBOX && item->CtlType != ODT_LISTBOX)) return FALSE;
    COLORREF back = drawMetrics.colorWindow, text = drawMetrics.colorWindowText;
    if (item->itemState & ODS_SELECTED) {
        back = drawMetrics.colorHighlight;
        text = drawMetrics.colorHighlightText;
    } else if (item->itemState & ODS_DISABLED) {
        back = drawMetrics.colorBtnFace;
        text = drawMetrics.colorGrayText;
    }
    HDC dc = item->hDC;
    DrawFillRect(dc, &item->rcItem, back);
    if ((int32_t)item->itemID >= 0) {
        unsigned char pstr[256] = {0};
        DlgCall(dlg, DLG_EV_ITEM_TEXT, c->code, pstr, (intptr_t)item->itemID);
        int tabStop = DlgDpiX() / 8;
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        int32_t y = item->rcItem.top + (RectHeight(&item->rcItem) - tm.tmHeight) / 2;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, text);
        TabbedTextOutA(dc, item->rcItem.left + 2, y, (const char *)pstr + 1, pstr[0], 1, &tabStop,
                       item->rcItem.left + 2);
    }
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &item->rcItem);
    return TRUE;
}

static INT_PTR DlgOnMeasureItem(MEASUREITEMSTRUCT *item) {
    if (item->CtlType != ODT_COMBOBOX && item->CtlType != ODT_LISTBOX) return FALSE;
    item->itemHeight = DLG_ITEM_HEIGHT;
    return TRUE;
}

// ---- Other dialog messages

static INT_PTR DlgOnPaint(DlgObject *dlg, HWND window) {
    bool any = false;
    for (int32_t i = 0; i < dlg->count && !any; i++) any = dlg->controls[i].type == DLG_VSEP;
    if (!any) return FALSE;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    for (int32_t i = 0; i < dlg->count; i++) {
        if (dlg->controls[i].type != DLG_VSEP || !DlgItem(dlg, i)) continue;
        RECT r;
        DlgItemRect(dlg, i, &r);
        RECT shadow = {r.left, r.top, r.left + 1, r.bottom},
             light = {r.left + 1, r.top, r.left + 2, r.bottom};
        DrawFillRect(dc, &shadow, drawMetrics.colorBtnShadow);
        DrawFillRect(dc, &light, RGB(255, 255, 255));
    }
    EndPaint(window, &ps);
    return TRUE;
}

static void DlgOnActivate(DlgObject *dlg, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) return;
    DlgSetCurrent(dlg);
    DlgCall(dlg, DLG_EV_ACTIVATE, 0, nullptr, 0);
}

// The position is remembered (a page's under its sheet's key, the sheet's corner), and the object leaves
// its window.
static void DlgOnDestroy(DlgObject *dlg, HWND window) {
    if (dlg->page && dlgPageHooks.sheetKey)
        DlgStorePosition(GetParent(window), dlgPageHooks.sheetKey(dlg));
    else
        DlgStorePosition(window, dlg->header.positionKey);
    if (DlgGetCurrent() == dlg) DlgSetCurrent(nullptr);
    DlgMarkGone(dlg);
}

static void DlgOnHelp(DlgObject *dlg) {
    DlgObject *target = dlg;
    if (HWND sheet = DlgGetSheetWindow(dlg)) {
        auto page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        if (DlgObject *current = DlgFromWindow(page)) target = current;
    }
    DlgHelp(target);
}

static INT_PTR DlgSetResult(HWND window, LRESULT result) {
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

static INT_PTR DlgDialogMessage(DlgObject *dlg, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: DlgOnCommand(dlg, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_PAINT: return DlgOnPaint(dlg, window);
    case WM_ACTIVATE: DlgOnActivate(dlg, wParam); return FALSE;
    case WM_DESTROY: DlgOnDestroy(dlg, window); return FALSE;
    case WM_HELP: DlgOnHelp(dlg); return TRUE;
    case WM_NOTIFY: return dlgPageHooks.notify ? dlgPageHooks.notify(dlg, (NMHDR *)lParam) : FALSE;
    case WM_DRAWITEM: return DlgOnDrawItem(dlg, (const DRAWITEMSTRUCT *)lParam);
    case LISTBOX_MSG_REQUEST:
        return DlgSetResult(window, DlgOnListRequest(dlg, (int32_t)wParam, (ListboxNotify *)lParam));
    case WM_CTLCOLORDLG:
        if (const DrawCtl3dCalls *ctl3d = DlgCtl3d())
            return (INT_PTR)ctl3d->ctlColorEx(message, wParam, lParam);
        return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK DlgDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return DlgOnInitDialog(window, lParam);
    if (message == WM_MEASUREITEM) return DlgOnMeasureItem((MEASUREITEMSTRUCT *)lParam); // before the object
    DlgObject *dlg = DlgFromWindow(window);
    if (!dlg) return FALSE;
    DlgHold(dlg);
    INT_PTR result = DlgDialogMessage(dlg, window, message, wParam, lParam);
    DlgRelease(dlg);
    return result;
}

// ---- The window procedure

// Event 255: a callback that sets the handled integer answers the message with the record's wParam. The
// window's destruction is the engine's to handle even then.
static bool DlgOfferMessage(DlgObject *dlg, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT *result) {
    if (!dlg->header.callback) return false;
    MSG msg = {window, message, wParam, lParam, 0, {0, 0}};
    int32_t handled = 0;
    DlgCall(dlg, DLG_EV_MESSAGE, 0, &msg, (intptr_t)&handled);
    if (!handled) return false;
    if (message == WM_DESTROY && !DlgGone(dlg)) DlgOnDestroy(dlg, window);
    *result = (LRESULT)msg.wParam;
    return true;
}

static void DlgOnSize(DlgObject *dlg, HWND window, WPARAM wParam, LPARAM lParam) {
    DlgCall(dlg, DLG_EV_SIZE, 0, (void *)(intptr_t)wParam, (intptr_t)lParam);
    if (!DlgGone(dlg) && dlg->state & DLG_STATE_TEXTURES) InvalidateRect(window, nullptr, TRUE);
}

static void DlgTileBand(HDC dc, const RECT *client) {
    int32_t band = DlgDpiX() / 16;
    RECT inner = *client;
    RectInset(&inner, band, band);
    const RECT strips[] = {{client->left, client->top, client->right, inner.top},
                           {client->left, inner.bottom, client->right, client->bottom},
                           {client->left, inner.top, inner.left, inner.bottom},
                           {inner.right, inner.top, client->right, inner.bottom}};
    for (const RECT &strip : strips) DrawTileBitmap(dc, &strip, drawMetrics.bmpMarble, SRCCOPY);
    Draw3DRectEx(dc, &inner, false);
}

// With textures (and no visual style): the texture over the whole client area, or only a band at the
// edges with a raised frame inside it, and a sunken border round every list. The borders come last so
// that a texture over the whole area does not cover them.
static LRESULT DlgOnEraseBackground(DlgObject *dlg, HWND window, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DlgDefault(window, WM_ERASEBKGND, wParam, lParam);
    if (!(dlg->state & DLG_STATE_TEXTURES) || ThemeIsActive()) return result;
    HDC dc = (HDC)wParam;
    RECT client;
    GetClientRect(window, &client);
    if (dlg->header.flags & DLG_FULL_TEXTURE)
        DrawTileBitmap(dc, &client, drawMetrics.bmpMarble, SRCCOPY);
    else
        DlgTileBand(dc, &client);
    for (int32_t i = 0; i < dlg->count; i++) {
        if (dlg->controls[i].type != DLG_LIST || !DlgItem(dlg, i)) continue;
        RECT border;
        DlgItemRect(dlg, i, &border);
        RectInset(&border, -1, -1);
        Draw3DRect(dc, &border);
    }
    return 1;
}

static LRESULT DlgOnMinMaxInfo(MINMAXINFO *info) {
    info->ptMinTrackSize.x = 3 * DlgDpiX();
    info->ptMinTrackSize.y = 3 * DlgDpiY();
    return 0;
}

static bool DlgIsListWindow(HWND window) {
    char name[16] = "";
    return window && GetClassNameA(window, name, sizeof name) && strcmp(name, listboxClass) == 0;
}

// A child that does not take the wheel passes it to its parent, the dialog: while the dialog is passing one
// on, a wheel message coming back is not passed again.
static bool dlgWheeling;

static void DlgPassWheel(HWND child, WPARAM wParam, LPARAM lParam) {
    dlgWheeling = true;
    SendMessageA(child, WM_MOUSEWHEEL, wParam, lParam);
    dlgWheeling = false;
}

static bool DlgWheelToList(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    if (dlgWheeling || !DlgIsListWindow(focus) || !IsChild(window, focus)) return false;
    DlgPassWheel(focus, wParam, lParam);
    return true;
}

static LRESULT DlgLegacyWheel(HWND window, WPARAM wParam, LPARAM lParam) {
    HWND focus = GetFocus();
    if (!dlgWheeling && focus && IsChild(window, focus))
        DlgPassWheel(focus, MAKEWPARAM(0, (WORD)(int16_t)wParam), lParam);
    return 0;
}

// Up, Down, Page Up and Page Down in a non-empty edit or editable combo go to the list below it.
static bool DlgForwardListKey(DlgObject *dlg, KeyCode key) {
    if (key != DLG_KEY_UP && key != DLG_KEY_DOWN && key != DLG_KEY_PAGE_UP && key != DLG_KEY_PAGE_DOWN)
        return false;
    int32_t index = GetFocus() ? DlgGetFocusIndex(dlg) : -1;
    if (index < 0) return false;
    int32_t type = dlg->controls[index].type;
    if ((type != DLG_EDIT && type != DLG_COMBO) || !DlgNextIsList(dlg, index)) return false;
    if (!GetWindowTextLengthA(DlgItem(dlg, index))) return false;
    SendMessageA(DlgItem(dlg, index + 1), LISTBOX_MSG_KEY, (WPARAM)key, 0);
    return true;
}

static LRESULT DlgWndMessage(DlgObject *dlg, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DlgOfferMessage(dlg, window, message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_SIZE: DlgOnSize(dlg, window, wParam, lParam); break;
    case WM_ERASEBKGND: return DlgOnEraseBackground(dlg, window, wParam, lParam);
    case WM_GETMINMAXINFO: return DlgOnMinMaxInfo((MINMAXINFO *)lParam);
    case WM_MOUSEWHEEL:
        if (DlgWheelToList(window, wParam, lParam)) return 0;
        break;
    case LISTBOX_MSG_KEY:
        if (DlgForwardListKey(dlg, (KeyCode)wParam)) return 0;
        break;
    default:
        if (WheelIsLegacy() && message == WheelRollMessage()) return DlgLegacyWheel(window, wParam, lParam);
        break;
    }
    return DlgDefault(window, message, wParam, lParam);
}

LRESULT CALLBACK DlgWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DlgObject *dlg = DlgFromWindow(window);
    if (!dlg) return DlgDefault(window, message, wParam, lParam);
    DlgHold(dlg);
    LRESULT result = DlgWndMessage(dlg, window, message, wParam, lParam);
    DlgRelease(dlg);
    return result;
}
