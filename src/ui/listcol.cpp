// listcol: the list control's columns and its "SysHeader32" header (prefix Listbox): adding and changing
// columns, fitting the stretch column to the client width, mirroring the columns in the header items, and
// the user's tracking and clicks in the header.
#include "ui/listboxrec.h"

#include "base/utilil.h"
#include "ui/draw.h"

#include <cstring>

enum : int32_t { LISTBOX_HEADER_APPEND = 9999, LISTBOX_TRACK_LINE = 3 };

static int32_t ListboxClientWidth(const ListboxRec *lb) {
    RECT client;
    GetClientRect(lb->window, &client);
    return client.right;
}

static ListboxColumn ListboxColumnClamped(const ListboxColumn *column) {
    ListboxColumn c = *column;
    c.minWidth = Max(0, c.minWidth);
    c.width = Max(c.width, c.minWidth);
    return c;
}

void ListboxColumnInit(ListboxColumn *column) {
    memset(column, 0, sizeof *column);
}

void ListboxColumnsReset(ListboxRec *lb) {
    ListboxColumnInit(&lb->columns[0]);
    lb->columns[0].width = ListboxClientWidth(lb);
    lb->columnCount = 1;
}

int32_t ListboxColumnLeft(const ListboxRec *lb, int32_t n) {
    int32_t left = 0;
    for (int32_t i = 0; i < n && i < lb->columnCount; i++) left += lb->columns[i].width;
    return left;
}

// ---- Header items

static int ListboxTitleFormat(uint32_t flags) {
    static const int formats[] = {HDF_LEFT, HDF_RIGHT, HDF_CENTER, HDF_LEFT};
    return HDF_STRING | formats[(flags & LISTBOX_COL_TITLE) >> 6];
}

static void ListboxHeaderWriteItem(ListboxRec *lb, int32_t n, bool insert) {
    char title[LISTBOX_TEXT_MAX + 1] = {};
    ListboxNotify record = {};
    record.w[LISTBOX_W_BUFFER] = (intptr_t)title;
    record.w[LISTBOX_W_TEXT_COLUMN] = lb->columns[n].key;
    LRESULT length = ListboxAsk(lb, &record, LISTBOX_REQ_COLUMN_TITLE);
    title[ListboxTextLength(length)] = 0;
    HDITEMA item = {};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    item.cxy = lb->columns[n].width;
    item.pszText = title;
    item.cchTextMax = (int)strlen(title);
    item.fmt = ListboxTitleFormat(lb->columns[n].flags);
    SendMessageA(lb->header, insert ? HDM_INSERTITEMA : HDM_SETITEMA, insert ? LISTBOX_HEADER_APPEND : n,
                 (LPARAM)&item);
}

void ListboxHeaderRewrite(ListboxRec *lb) {
    if (!lb->header) return;
    int32_t items = (int32_t)SendMessageA(lb->header, HDM_GETITEMCOUNT, 0, 0);
    for (int32_t n = items - 1; n >= lb->columnCount; n--) SendMessageA(lb->header, HDM_DELETEITEM, n, 0);
    for (int32_t n = 0; n < lb->columnCount; n++) ListboxHeaderWriteItem(lb, n, n >= items);
}

void ListboxHeaderSetButtons(ListboxRec *lb) {
    if (!lb->header) return;
    LONG style = GetWindowLongA(lb->header, GWL_STYLE);
    LONG want = lb->style & LISTBOX_HEADER_BUTTONS ? style | HDS_BUTTONS : style & ~HDS_BUTTONS;
    if (want != style) SetWindowLongA(lb->header, GWL_STYLE, want);
}

static HFONT ListboxDialogFont() {
    return drawMetrics.guiFont ? drawMetrics.guiFont : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

// A header that cannot be created leaves the control without one.
bool ListboxHeaderCreate(ListboxRec *lb) {
    if (lb->header) return true;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (lb->style & LISTBOX_HEADER_BUTTONS) style |= HDS_BUTTONS;
    lb->header = CreateWindowExA(0, WC_HEADERA, "", style, 0, 0, 0, 0, lb->window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!lb->header) return false;
    lb->style |= LISTBOX_HEADER;
    SendMessageA(lb->header, WM_SETFONT, (WPARAM)ListboxDialogFont(), 0);
    ListboxHeaderRewrite(lb);
    ListboxLayout(lb, true);
    return true;
}

// ---- Fitting

// The first column when it stretches, else the last when it does; fixed columns never change.
void ListboxFitColumns(ListboxRec *lb) {
    if (lb->style & LISTBOX_FIXED_COLUMNS) return;
    int32_t last = lb->columnCount - 1;
    int32_t n = lb->columns[0].flags & LISTBOX_COL_STRETCH      ? 0
                : lb->columns[last].flags & LISTBOX_COL_STRETCH ? last
                                                                : -1;
    if (n < 0) return;
    ListboxColumn *column = &lb->columns[n];
    int32_t width = ListboxClientWidth(lb);
    if ((column->flags & LISTBOX_COL_KEEP_WIDTH) && width == lb->lastWidth) return;
    int32_t sum = ListboxColumnLeft(lb, lb->columnCount);
    column->width = Max(column->minWidth, width + column->width - sum);
    if (lb->header) ListboxHeaderWriteItem(lb, n, false);
}

// ---- Functions on a control window

bool ListboxAddColumn(HWND list, const ListboxColumn *column) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb || lb->columnCount >= LISTBOX_COLUMNS_MAX) return false;
    lb->columns[lb->columnCount++] = ListboxColumnClamped(column);
    if (lb->header) ListboxHeaderWriteItem(lb, lb->columnCount - 1, true);
    ListboxInvalidateList(lb);
    return true;
}

bool ListboxSetColumn(HWND list, int32_t n, const ListboxColumn *column) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb || n < 0 || n >= LISTBOX_COLUMNS_MAX || n > lb->columnCount) return false;
    if (n == lb->columnCount) return ListboxAddColumn(list, column);
    lb->columns[n] = ListboxColumnClamped(column);
    if (lb->header) ListboxHeaderWriteItem(lb, n, false);
    ListboxInvalidateList(lb);
    return true;
}

void ListboxSetOneColumn(HWND list, const ListboxColumn *column) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    lb->columns[0] = ListboxColumnClamped(column);
    lb->columns[0].width = Max(ListboxClientWidth(lb), lb->columns[0].minWidth);
    lb->columnCount = 1;
    if (lb->header) {
        while (SendMessageA(lb->header, HDM_DELETEITEM, 0, 0)) {
        }
        ListboxHeaderWriteItem(lb, 0, true);
    }
    ListboxInvalidateList(lb);
}

int32_t ListboxGetColumns(HWND list, ListboxColumn *out, int32_t n) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return 0;
    n = Clamp(n, 0, lb->columnCount);
    for (int32_t i = 0; i < n; i++) {
        out[i] = lb->columns[i];
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        if (lb->header && SendMessageA(lb->header, HDM_GETITEMA, i, (LPARAM)&item)) out[i].width = item.cxy;
    }
    return n;
}

void ListboxLayoutColumns(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    ListboxLayout(lb, true);
    ListboxInvalidateList(lb);
}

void ListboxRefreshHeader(HWND list) {
    if (ListboxRec *lb = ListboxFromWindow(list)) ListboxHeaderRewrite(lb);
}

void ListboxSetHeaderButtons(HWND list, bool on) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    lb->style = on ? lb->style | LISTBOX_HEADER_BUTTONS : lb->style & ~LISTBOX_HEADER_BUTTONS;
    ListboxHeaderSetButtons(lb);
}

void ListboxShowHeader(HWND list) {
    if (ListboxRec *lb = ListboxFromWindow(list)) ListboxHeaderCreate(lb);
}

// ---- Tracking and clicks in the header

// An inverted line three pixels wide down the list area: drawing it twice removes it.
static void ListboxTrackLine(ListboxRec *lb, int32_t x) {
    if (x < 0) return;
    RECT client;
    GetClientRect(lb->window, &client);
    HDC dc = GetDC(lb->window);
    HPEN pen = CreatePen(PS_SOLID, LISTBOX_TRACK_LINE, RGB(255, 255, 255));
    HGDIOBJ previous = SelectObject(dc, pen);
    int rop = SetROP2(dc, R2_NOT);
    MoveToEx(dc, x, lb->listTop, nullptr);
    LineTo(dc, x, client.bottom);
    SetROP2(dc, rop);
    SelectObject(dc, previous);
    DeleteObject(pen);
    ReleaseDC(lb->window, dc);
}

static int32_t ListboxTrackedWidth(const ListboxRec *lb, int32_t n, const HDITEMA *item) {
    return item && (item->mask & HDI_WIDTH) ? item->cxy : lb->columns[n].width;
}

static void ListboxTrackMove(ListboxRec *lb, int32_t n, const HDITEMA *item) {
    if (n != lb->trackColumn) return;
    ListboxTrackLine(lb, lb->trackX);
    lb->trackX = ListboxColumnLeft(lb, n) + ListboxTrackedWidth(lb, n, item);
    ListboxTrackLine(lb, lb->trackX);
}

// Refused (TRUE) for a column without the resizable bit.
static LRESULT ListboxTrackBegin(ListboxRec *lb, int32_t n, const HDITEMA *item) {
    if (n < 0 || n >= lb->columnCount || !(lb->columns[n].flags & LISTBOX_COL_RESIZABLE)) return TRUE;
    lb->trackColumn = n;
    lb->trackX = -1;
    ListboxTrackMove(lb, n, item);
    return FALSE;
}

static void ListboxTrackEnd(ListboxRec *lb, int32_t n, const HDITEMA *item) {
    if (n != lb->trackColumn) return;
    ListboxTrackLine(lb, lb->trackX);
    lb->trackColumn = lb->trackX = -1;
    ListboxColumn *column = &lb->columns[n];
    column->width = Max(column->minWidth, ListboxTrackedWidth(lb, n, item));
    ListboxInvalidateList(lb);
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = -1;
    record.w[LISTBOX_W_MOUSE_COLUMN] = column->key;
    ListboxAsk(lb, &record, LISTBOX_REQ_COLUMN_SIZED);
}

static void ListboxHeaderClick(ListboxRec *lb, int32_t n, int button, bool dbl) {
    static const UINT downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const UINT doubles[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    if (n < 0 || n >= lb->columnCount || button < 0 || button > 2) return;
    if (!(lb->columns[n].flags & LISTBOX_COL_CLICKS)) return;
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = -1;
    record.w[LISTBOX_W_MESSAGE] = dbl ? doubles[button] : downs[button];
    record.w[LISTBOX_W_MOUSE_COLUMN] = lb->columns[n].key;
    ListboxAsk(lb, &record, LISTBOX_REQ_HEADER_CLICK);
}

// The header's notifications come in its A or W form (the same layout but for the item's text).
LRESULT ListboxHeaderNotify(ListboxRec *lb, NMHDR *note) {
    const NMHEADERA *header = (const NMHEADERA *)note;
    switch (note->code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW: return ListboxTrackBegin(lb, header->iItem, header->pitem);
    case HDN_TRACKA:
    case HDN_TRACKW: ListboxTrackMove(lb, header->iItem, header->pitem); return 0;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW: ListboxTrackEnd(lb, header->iItem, header->pitem); return 0;
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: ListboxHeaderClick(lb, header->iItem, header->iButton, false); return 0;
    case HDN_ITEMDBLCLICKA:
    case HDN_ITEMDBLCLICKW: ListboxHeaderClick(lb, header->iItem, header->iButton, true); return 0;
    }
    return 0;
}
