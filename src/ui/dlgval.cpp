// dlgval: value exchange and the accessors by control code (prefix Dlg). A record's extra 1 holds the
// control's current value at run time (check state, radio choice, selection); the radio group head's
// extra 2 the index of its last button and each button's extra 2 the index of its head.
#include "ui/dlgval.h"

#include "base/plex.h"
#include "base/str.h"
#include "base/utilil.h"
#include "ui/dlgalert.h"
#include "ui/dlgedit.h"
#include "ui/dlgobj.h"
#include "ui/dlgrun.h"
#include "ui/listbox.h"

#include <cstdarg>
#include <cstdio>

enum {
    DLG_NUMBER_CHARS = 32,
    DLG_FORMAT_SIZE = 512,
};

static const char dlgRangeSigned[] = "Number must be between %d and %d.";
static const char dlgRangeUnsigned[] = "Number must be between %u and %u.";

// ---- Records

int32_t DlgFindControl(const DlgObject *dlg, int32_t code) {
    for (int32_t i = 0; dlg && i < dlg->count; i++)
        if (dlg->controls[i].code == code) return i;
    return -1;
}

DlgControl *DlgControlAt(DlgObject *dlg, int32_t code) {
    int32_t index = DlgFindControl(dlg, code);
    return index >= 0 ? &dlg->controls[index] : nullptr;
}

bool DlgHasControl(const DlgObject *dlg, int32_t code) {
    return DlgFindControl(dlg, code) >= 0;
}

HWND DlgGetControlWindowAt(const DlgObject *dlg, int32_t index) {
    if (!dlg || !dlg->window || index < 0 || index >= dlg->count) return nullptr;
    return GetDlgItem(dlg->window, DLG_ID_BASE + index);
}

HWND DlgGetControlWindow(const DlgObject *dlg, int32_t code) {
    return DlgGetControlWindowAt(dlg, DlgFindControl(dlg, code));
}

static bool DlgTakesSlot(int32_t type) {
    switch (type) {
    case DLG_EDIT:
    case DLG_CHECK:
    case DLG_RADIO_HEAD:
    case DLG_LIST:
    case DLG_USERITEM:
    case DLG_TEXT_STATIC:
    case DLG_DROPLIST:
    case DLG_COMBO: return true;
    default: return false;
    }
}

static bool DlgIsNumeric(const DlgControl *c) {
    return (c->flags & (DLGF_SIGNED | DLGF_UNSIGNED)) != 0;
}

static bool DlgIsMultiList(const DlgControl *c) {
    return c->type == DLG_LIST && c->flags & DLGF_MULTISEL;
}

// ---- Numbers

// Reads as atoi does (blanks, a sign, the digits up to another character), but a magnitude beyond 32 bits
// saturates instead of wrapping: false when the number does not fit. Unsigned numbers take a minus sign
// as the two's complement of the magnitude, as the C library's unsigned conversion does.
static bool DlgParseNumber(const char *text, bool isUnsigned, int32_t *out) {
    const char *p = StrSkipBlanks(text);
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') p++;
    uint64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        if (magnitude <= 0xFFFFFFFFull) magnitude = magnitude * 10 + (uint64_t)(*p - '0');
    if (isUnsigned) {
        *out = (int32_t)(uint32_t)(negative ? 0 - magnitude : magnitude);
        if (magnitude > 0xFFFFFFFFull) *out = -1;
        return magnitude <= 0xFFFFFFFFull;
    }
    int64_t value = negative ? -(int64_t)magnitude : (int64_t)magnitude;
    *out = (int32_t)(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
    return value >= INT32_MIN && value <= INT32_MAX;
}

static bool DlgInRange(int32_t value, const DlgControl *c, bool isUnsigned) {
    if (isUnsigned) return (uint32_t)value >= (uint32_t)c->extra1 && (uint32_t)value <= (uint32_t)c->extra2;
    return value >= c->extra1 && value <= c->extra2;
}

int32_t DlgGetNumber(DlgObject *dlg, int32_t index, uint32_t flags, bool check, bool *ok) {
    if (ok) *ok = true;
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item) return 0;
    char text[DLG_NUMBER_CHARS + 1] = "";
    GetWindowTextA(item, text, sizeof text);
    bool isUnsigned = flags & DLGF_UNSIGNED;
    int32_t value = 0;
    bool fits = DlgParseNumber(text, isUnsigned, &value);
    const DlgControl *c = &dlg->controls[index];
    if (!check || c->type != DLG_EDIT || (fits && DlgInRange(value, c, isUnsigned))) return value;
    SendMessageA(dlg->window, WM_NEXTDLGCTL, (WPARAM)item, TRUE);
    SendMessageA(item, EM_SETSEL, 0, -1);
    if (isUnsigned)
        AlertError(dlgRangeUnsigned, (uint32_t)c->extra1, (uint32_t)c->extra2);
    else
        AlertError(dlgRangeSigned, c->extra1, c->extra2);
    if (ok) *ok = false;
    return c->extra1;
}

static void DlgFormatNumber(const DlgControl *c, int32_t value, char *out, size_t size) {
    if (c->flags & DLGF_UNSIGNED)
        snprintf(out, size, "%u", (uint32_t)value);
    else
        snprintf(out, size, "%d", value);
}

// ---- Values

static void DlgShowSlot(DlgObject *dlg, int32_t index, DlgSlot slot) {
    const DlgControl *c = &dlg->controls[index];
    char number[16];
    const char *text = (const char *)slot;
    if (DlgIsNumeric(c)) {
        DlgFormatNumber(c, (int32_t)slot, number, sizeof number);
        text = number;
    }
    SetWindowTextA(DlgGetControlWindowAt(dlg, index), StrOrEmpty(text));
}

static void DlgCheckRadios(DlgObject *dlg, int32_t head, int32_t chosen) {
    DlgControl *h = &dlg->controls[head];
    h->extra1 = chosen;
    for (int32_t j = head + 1; j <= h->extra2 && j < dlg->count; j++) {
        dlg->controls[j].extra1 = j - head - 1 == chosen;
        CheckDlgButton(dlg->window, DLG_ID_BASE + j, dlg->controls[j].extra1 ? BST_CHECKED : BST_UNCHECKED);
    }
}

static void DlgLoadRadioGroup(DlgObject *dlg, int32_t head, int32_t chosen) {
    int32_t last = head;
    for (int32_t j = head + 1; j < dlg->count && dlg->controls[j].type == DLG_RADIO; j++) {
        dlg->controls[j].extra2 = head;
        last = j;
    }
    dlg->controls[head].extra2 = last;
    DlgCheckRadios(dlg, head, chosen);
}

// A multiple-selection list's slot is a plex of indexes: its first one is the stored selection and the
// list takes a copy to select them all.
static void DlgLoadList(DlgObject *dlg, int32_t index, DlgSlot slot) {
    DlgControl *c = &dlg->controls[index];
    HWND list = DlgGetControlWindowAt(dlg, index);
    if (!DlgIsMultiList(c)) return DlgSetValueAt(dlg, index, (int32_t)slot);
    const Plex *chosen = (const Plex *)slot;
    c->extra1 = chosen && PlexCount(chosen) ? *(const int32_t *)PlexElem(chosen, 0) : -1;
    Plex *copy = chosen ? PlexDup(chosen, sizeof(Plex)) : nullptr;
    if (copy && !SendMessageA(list, LISTBOX_MSG_SETSEL, 0, (LPARAM)copy)) PlexFree(copy);
}

static void DlgLoadValue(DlgObject *dlg, int32_t index, DlgSlot slot) {
    DlgControl *c = &dlg->controls[index];
    switch (c->type) {
    case DLG_EDIT:
        if (!(c->flags & DLGF_NO_HISTORY))
            HistoryEditSubclass(DlgGetControlWindowAt(dlg, index), dlg->controls[index + 1].type == DLG_LIST);
        return DlgShowSlot(dlg, index, slot);
    case DLG_TEXT_STATIC:
    case DLG_COMBO: return DlgShowSlot(dlg, index, slot);
    case DLG_RADIO_HEAD: return DlgLoadRadioGroup(dlg, index, (int32_t)slot);
    case DLG_LIST: return DlgLoadList(dlg, index, slot);
    case DLG_USERITEM: c->extra1 = (int32_t)slot; return;
    default: return DlgSetValueAt(dlg, index, (int32_t)slot);
    }
}

void DlgLoadValues(DlgObject *dlg, DlgSlot *data) {
    DlgSlot *slot = data;
    for (int32_t i = 0; i < dlg->count && !DlgGone(dlg); i++) {
        if (!DlgTakesSlot(dlg->controls[i].type)) continue;
        DlgLoadValue(dlg, i, slot ? *slot : 0);
        if (slot) slot++;
    }
}

static bool DlgReadText(DlgObject *dlg, int32_t index, DlgSlot *slot, bool all) {
    const DlgControl *c = &dlg->controls[index];
    if (DlgIsNumeric(c)) {
        bool ok = true;
        *slot = (DlgSlot)DlgGetNumber(dlg, index, c->flags, true, &ok);
        return ok;
    }
    if (all && *slot && c->extra2 > 0)
        GetWindowTextA(DlgGetControlWindowAt(dlg, index), (char *)*slot, c->extra2);
    return true;
}

static bool DlgReadValue(DlgObject *dlg, int32_t index, DlgSlot *slot, bool all) {
    const DlgControl *c = &dlg->controls[index];
    switch (c->type) {
    case DLG_EDIT:
    case DLG_COMBO: return DlgReadText(dlg, index, slot, all);
    case DLG_TEXT_STATIC: return !(c->flags & DLGF_READ_TEXT) || DlgReadText(dlg, index, slot, true);
    case DLG_LIST:
        if (!DlgIsMultiList(c)) break;
        if (*slot) PlexFree((Plex *)*slot);
        *slot = (DlgSlot)DlgGetListOfControl(DlgGetControlWindowAt(dlg, index));
        return true;
    default: break;
    }
    *slot = (DlgSlot)c->extra1;
    return true;
}

bool DlgReadValues(DlgObject *dlg, DlgSlot *data, bool all) {
    bool valid = true;
    DlgSlot *slot = data;
    for (int32_t i = 0; slot && i < dlg->count; i++) {
        if (!DlgTakesSlot(dlg->controls[i].type)) continue;
        if (!DlgReadValue(dlg, i, slot, all)) valid = false;
        slot++;
    }
    return valid;
}

int32_t DlgGetValueAt(DlgObject *dlg, int32_t index) {
    if (!dlg || index < 0 || index >= dlg->count) return 0;
    const DlgControl *c = &dlg->controls[index];
    switch (c->type) {
    case DLG_CHECK:
    case DLG_RADIO_HEAD:
    case DLG_DROPLIST: return c->extra1;
    case DLG_LIST:
        if (!(c->flags & DLGF_MULTISEL)) return c->extra1;
        return ListboxGetCurSel(DlgGetControlWindowAt(dlg, index));
    case DLG_EDIT:
    case DLG_TEXT_STATIC:
    case DLG_COMBO: return DlgGetNumber(dlg, index, c->flags, false, nullptr);
    case DLG_USERITEM: {
        int32_t value = c->extra1;
        DlgCall(dlg, DLG_EV_GET_USERITEM, c->code, &value, 0);
        return value;
    }
    default: return 0;
    }
}

int32_t DlgGetValue(DlgObject *dlg, int32_t code) {
    return DlgGetValueAt(dlg, DlgFindControl(dlg, code));
}

void DlgSetValueAt(DlgObject *dlg, int32_t index, int32_t value) {
    if (!dlg || index < 0 || index >= dlg->count) return;
    DlgControl *c = &dlg->controls[index];
    HWND item = DlgGetControlWindowAt(dlg, index);
    char number[16];
    switch (c->type) {
    case DLG_CHECK:
        c->extra1 = value;
        CheckDlgButton(dlg->window, DLG_ID_BASE + index, (UINT)value);
        return;
    case DLG_RADIO_HEAD: return DlgCheckRadios(dlg, index, value);
    case DLG_LIST:
        c->extra1 = value;
        ListboxSetCurSel(item, value);
        return;
    case DLG_DROPLIST:
        c->extra1 = value;
        SendMessageA(item, CB_SETCURSEL, (WPARAM)value, 0);
        return;
    case DLG_EDIT:
    case DLG_TEXT_STATIC:
    case DLG_COMBO:
        DlgFormatNumber(c, value, number, sizeof number);
        SetWindowTextA(item, number);
        return;
    case DLG_USERITEM:
        c->extra1 = value;
        DlgCall(dlg, DLG_EV_SET_USERITEM, c->code, &value, 0);
        return;
    default: return;
    }
}

void DlgSetValue(DlgObject *dlg, int32_t code, int32_t value) {
    DlgSetValueAt(dlg, DlgFindControl(dlg, code), value);
}

// ---- Texts

void DlgSetText(DlgObject *dlg, int32_t code, const char *text) {
    int32_t index = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item) return;
    SetWindowTextA(item, StrOrEmpty(text));
    if (dlg->controls[index].type == DLG_EDIT) SendMessageA(item, EM_SETSEL, 0, -1);
    if (dlg->controls[index].type == DLG_COMBO) SendMessageA(item, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void DlgSetTextF(DlgObject *dlg, int32_t code, const char *format, ...) {
    char text[DLG_FORMAT_SIZE];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    DlgSetText(dlg, code, text);
}

void DlgSetTextPstr(DlgObject *dlg, int32_t code, const unsigned char *pstr) {
    char text[256];
    StrCopyN((const char *)pstr + 1, pstr[0], text);
    DlgSetText(dlg, code, text);
}

int32_t DlgGetText(DlgObject *dlg, int32_t code, char *buffer) {
    int32_t index = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item || dlg->controls[index].extra2 <= 0) {
        if (buffer) buffer[0] = '\0';
        return 0;
    }
    return GetWindowTextA(item, buffer, dlg->controls[index].extra2);
}

bool DlgTextEqualsI(DlgObject *dlg, int32_t code, const char *text) {
    char own[256] = "";
    HWND item = DlgGetControlWindow(dlg, code);
    if (item) GetWindowTextA(item, own, sizeof own);
    return item && StrEqualI(own, text);
}

bool DlgHasText(DlgObject *dlg, int32_t code) {
    char text[9] = "";
    HWND item = DlgGetControlWindow(dlg, code);
    return item && GetWindowTextA(item, text, sizeof text) > 0;
}

// ---- Record words

void DlgSetFlags(DlgObject *dlg, int32_t code, uint32_t flags) {
    if (DlgControl *c = DlgControlAt(dlg, code)) c->flags = flags;
}

void DlgSetTextAndFlags(DlgObject *dlg, int32_t code, const char *text, uint32_t flags) {
    DlgSetText(dlg, code, text);
    DlgSetFlags(dlg, code, flags);
}

void DlgSetData(DlgObject *dlg, int32_t code, int32_t value) {
    if (DlgControl *c = DlgControlAt(dlg, code)) c->extra1 = value;
}

int32_t DlgGetData(DlgObject *dlg, int32_t code) {
    const DlgControl *c = DlgControlAt(dlg, code);
    return c ? c->extra1 : 0;
}

static void DlgSetBit(DlgObject *dlg, int32_t code, uint32_t bit, bool on) {
    DlgControl *c = DlgControlAt(dlg, code);
    if (c) c->flags = on ? c->flags | bit : c->flags & ~bit;
}

void DlgSetFlag400(DlgObject *dlg, int32_t code, bool on) {
    DlgSetBit(dlg, code, 0x400, on);
}

bool DlgTestFlag400(DlgObject *dlg, int32_t code) {
    const DlgControl *c = DlgControlAt(dlg, code);
    return c && c->flags & 0x400;
}

void DlgSetFlag800(DlgObject *dlg, int32_t code, bool on) {
    DlgSetBit(dlg, code, 0x800, on);
}

// ---- Lists and combos

int32_t DlgGetListCount(DlgObject *dlg, int32_t code) {
    int32_t index = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item) return 0;
    switch (dlg->controls[index].type) {
    case DLG_LIST: return ListboxGetCount(item);
    case DLG_DROPLIST:
    case DLG_COMBO: return (int32_t)SendMessageA(item, CB_GETCOUNT, 0, 0);
    default: return 0;
    }
}

Plex *DlgGetListOfControl(HWND list) {
    return list ? (Plex *)SendMessageA(list, LISTBOX_MSG_GETSEL, 0, 0) : nullptr;
}

Plex *DlgGetListItems(DlgObject *dlg, int32_t code) {
    return DlgGetListOfControl(DlgGetControlWindow(dlg, code));
}

void DlgFillCombo(DlgObject *dlg, int32_t index) {
    DlgControl *c = &dlg->controls[index];
    HWND combo = DlgGetControlWindowAt(dlg, index);
    intptr_t count = DlgCall(dlg, DLG_EV_ITEM_COUNT, c->code, nullptr, 0);
    for (intptr_t k = 1; k <= count && combo; k++) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)k);
    c->flags |= DLGF_LOADED;
}

void DlgRefillList(DlgObject *dlg, int32_t code, int32_t select) {
    int32_t index = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item) return;
    int32_t type = dlg->controls[index].type;
    if (type == DLG_LIST) {
        SendMessageA(item, LB_RESETCONTENT, 0, 0);
    } else if (type == DLG_DROPLIST || type == DLG_COMBO) {
        SendMessageA(item, CB_RESETCONTENT, 0, 0);
        DlgFillCombo(dlg, index);
    } else {
        return;
    }
    if (select == -3) select = DlgGetListCount(dlg, code) - 1;
    if (type == DLG_COMBO) {
        dlg->controls[index].extra1 = select;
        SendMessageA(item, CB_SETCURSEL, (WPARAM)select, 0);
        return;
    }
    DlgSetValueAt(dlg, index, select);
}

void DlgSetCurSel(DlgObject *dlg, int32_t code, int32_t index) {
    int32_t at = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, at);
    if (!item) return;
    int32_t type = dlg->controls[at].type;
    if (type == DLG_LIST) ListboxSetCurSel(item, index);
    if (type == DLG_DROPLIST || type == DLG_COMBO) SendMessageA(item, CB_SETCURSEL, (WPARAM)index, 0);
}

void DlgSyncListFromEdit(DlgObject *dlg, int32_t listCode, int32_t editCode, bool exact) {
    DlgControl *edit = DlgControlAt(dlg, editCode);
    DlgControl *list = DlgControlAt(dlg, listCode);
    HWND listWindow = DlgGetControlWindow(dlg, listCode), editWindow = DlgGetControlWindow(dlg, editCode);
    if (!edit || !list || !listWindow || !editWindow || edit->flags & DLGF_SYNCED) return;
    ListboxSelectByEditText(listWindow, editWindow, exact ? (uint32_t)LISTBOX_FIND_EQUAL : 0u);
    list->extra1 = ListboxGetCurSel(listWindow);
    edit->flags |= DLGF_SYNCED;
}

// ---- Enabling and showing

static bool DlgUsesEnableWindow(int32_t type) {
    switch (type) {
    case DLG_EDIT:
    case DLG_LABEL:
    case DLG_BUTTON:
    case DLG_CHECK:
    case DLG_RADIO:
    case DLG_LIST:
    case DLG_TEXT_STATIC:
    case DLG_DROPLIST:
    case DLG_COMBO: return true;
    default: return false;
    }
}

static bool DlgHasFocusIn(HWND item) {
    HWND focus = GetFocus();
    return focus && (focus == item || IsChild(item, focus));
}

void DlgEnableAt(DlgObject *dlg, int32_t index, bool enable) {
    if (!dlg || index < 0 || index >= dlg->count) return;
    DlgControl *c = &dlg->controls[index];
    c->flags = enable ? c->flags & ~(uint32_t)DLGF_INACTIVE : c->flags | DLGF_INACTIVE;
    if (c->type == DLG_RADIO_HEAD) {
        for (int32_t j = index + 1; j < dlg->count && dlg->controls[j].type == DLG_RADIO; j++)
            DlgEnableAt(dlg, j, enable);
        return;
    }
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item || !DlgUsesEnableWindow(c->type)) return;
    if (!enable && DlgHasFocusIn(item)) SendMessageA(dlg->window, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(item, enable);
}

void DlgEnable(DlgObject *dlg, int32_t code, bool enable) {
    DlgEnableAt(dlg, DlgFindControl(dlg, code), enable);
}

void DlgEnableRange(DlgObject *dlg, int32_t low, int32_t high, bool enable) {
    for (int32_t i = 0; i < dlg->count; i++) {
        const DlgControl *c = &dlg->controls[i];
        if (c->code < low || c->code > high) continue;
        if (c->type == DLG_NONE || c->type == DLG_RADIO_HEAD || c->type == DLG_HLINE || c->type == DLG_VSEP ||
            c->type == DLG_BORDERED)
            continue;
        DlgEnableAt(dlg, i, enable);
    }
}

static bool DlgShowsWindow(int32_t type) {
    return type != DLG_NONE && type != DLG_RADIO_HEAD && type != DLG_BORDERED;
}

void DlgShowIndexRange(DlgObject *dlg, int32_t first, int32_t last, bool show) {
    for (int32_t i = Max(first, 0); i < last && i < dlg->count; i++)
        if (DlgShowsWindow(dlg->controls[i].type))
            ShowWindow(DlgGetControlWindowAt(dlg, i), show ? SW_SHOW : SW_HIDE);
}

void DlgShowRange(DlgObject *dlg, int32_t low, int32_t high, bool show) {
    for (int32_t i = 0; i < dlg->count; i++) {
        int32_t code = dlg->controls[i].code;
        if (low == 0 || (code >= low && code <= high)) DlgShowIndexRange(dlg, i, i + 1, show);
    }
}

bool DlgIsEnabled(DlgObject *dlg, int32_t code) {
    HWND item = DlgGetControlWindow(dlg, code);
    return item && IsWindowEnabled(item);
}

// ---- Focus and the default button

int32_t DlgSetFocus(DlgObject *dlg, int32_t code) {
    int32_t index = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item) return -1;
    SendMessageA(dlg->window, WM_NEXTDLGCTL, (WPARAM)item, TRUE);
    if (dlg->controls[index].type == DLG_EDIT) SendMessageA(item, EM_SETSEL, 0, -1);
    return index;
}

int32_t DlgGetFocusIndex(DlgObject *dlg) {
    HWND focus = GetFocus();
    if (!focus) return 0;
    HWND parent = GetParent(focus);
    if (parent != dlg->window && parent && GetParent(parent) == dlg->window)
        focus = parent; // a combo's edit
    else if (parent != dlg->window)
        return -1;
    int32_t index = GetDlgCtrlID(focus) - DLG_ID_BASE;
    return index >= 0 && index < dlg->count ? index : -1;
}

int32_t DlgGetFocusCode(DlgObject *dlg) {
    int32_t index = GetFocus() ? DlgGetFocusIndex(dlg) : -1;
    return index >= 0 ? dlg->controls[index].code : 0;
}

void DlgSetDefault(DlgObject *dlg, int32_t code) {
    int32_t index = DlgFindControl(dlg, code);
    HWND item = DlgGetControlWindowAt(dlg, index);
    if (!item) return;
    if (HWND old = DlgGetControlWindowAt(dlg, dlg->defaultControl))
        SendMessageA(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(item, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SendMessageA(dlg->window, DM_SETDEFID, DLG_ID_BASE + index, 0);
    dlg->defaultControl = index;
}

// ---- Geometry and the rest

void DlgGetClientRect(DlgObject *dlg, RECT *out) {
    GetClientRect(dlg->window, out);
    if (dlg->state & DLG_STATE_TEXTURES) {
        int32_t band = DlgDpiX() / 16;
        out->left += band;
        out->top += band;
        out->right -= band;
        out->bottom -= band;
    }
}

bool DlgGetControlClientRect(DlgObject *dlg, int32_t code, RECT *out) {
    HWND item = DlgGetControlWindow(dlg, code);
    return item && GetClientRect(item, out);
}

bool DlgGetControlPos(DlgObject *dlg, int32_t code, RECT *out) {
    HWND item = DlgGetControlWindow(dlg, code);
    if (!item || !GetWindowRect(item, out)) return false;
    MapWindowPoints(nullptr, dlg->window, (POINT *)out, 2);
    return true;
}

void DlgSetControlPos(DlgObject *dlg, int32_t code, const RECT *rect) {
    if (HWND item = DlgGetControlWindow(dlg, code))
        MoveWindow(item, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
}

void DlgSetCaption(DlgObject *dlg, const char *caption) {
    SetWindowTextA(dlg->window, StrOrEmpty(caption));
}

LRESULT DlgSendMessage(DlgObject *dlg, int32_t code, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = DlgGetControlWindow(dlg, code);
    return item ? SendMessageA(item, message, wParam, lParam) : 0;
}

void DlgSetUser(DlgObject *dlg, void *user) {
    dlg->user = user;
}

void *DlgGetUser(const DlgObject *dlg) {
    return dlg->user;
}

HWND DlgGetSheetWindow(const DlgObject *dlg) {
    return dlg && dlg->page && dlg->window ? GetParent(dlg->window) : nullptr;
}
