// listbox: the list control's record, creation, window procedure, rows and items, selection, scrolling and
// layout (prefix Listbox). The record lives in a memory handle whose pointer is the window's one extra word;
// the outline plus and minus images and the default colours are shared by every list.
#include "ui/listboxrec.h"

#include "base/heap.h"
#include "base/keyinp.h"
#include "base/rect.h"
#include "base/sysprobe.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/drag.h"
#include "ui/draw.h"
#include "ui/tip.h"

#include <cstring>
#include <vector>

const char listboxClass[] = "vx_Listbox";

enum : DWORD { LISTBOX_WINDOW_STYLE = 0x42A10000 }; // child, clip children, border, vertical bar, tab stop
enum : uint32_t { LISTBOX_DEFAULT_STYLE = 0x201817 };
enum : COLORREF { LISTBOX_TRANSPARENT = RGB(255, 0, 255) };

static ATOM listboxAtom;
static HIMAGELIST listboxOutline;
static int32_t listboxOutlineWidth;
static int32_t listboxOutlineHeight;
static COLORREF listboxDefaultText;
static COLORREF listboxDefaultBack;

// ---- The module

static HBITMAP ListboxLoadBitmap(const char *name) {
    return (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, 0);
}

// The bitmaps are loaded as copies: adding them masked blackens their transparent pixels.
bool ListboxInit() {
    if (listboxOutline) return true;
    listboxDefaultText = GetSysColor(COLOR_WINDOWTEXT);
    listboxDefaultBack = GetSysColor(COLOR_WINDOW);
    HBITMAP plus = ListboxLoadBitmap("bmpOtlPlus"), minus = ListboxLoadBitmap("bmpOtlMinus");
    int32_t width = 0, height = 0;
    HIMAGELIST images = nullptr;
    if (plus && minus && BitmapGetSize(plus, &width, &height))
        images = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 0);
    bool ok = images && ImageList_AddMasked(images, plus, LISTBOX_TRANSPARENT) == 0 &&
              ImageList_AddMasked(images, minus, LISTBOX_TRANSPARENT) == 1;
    if (plus) DeleteObject(plus);
    if (minus) DeleteObject(minus);
    if (!ok) {
        if (images) ImageList_Destroy(images);
        return false;
    }
    listboxOutline = images;
    listboxOutlineWidth = width;
    listboxOutlineHeight = height;
    return true;
}

void ListboxTerm() {
    if (listboxOutline) ImageList_Destroy(listboxOutline);
    listboxOutline = nullptr;
    listboxOutlineWidth = listboxOutlineHeight = 0;
}

HIMAGELIST ListboxOutlineImages(int32_t *width, int32_t *height) {
    *width = listboxOutlineWidth;
    *height = listboxOutlineHeight;
    return listboxOutline;
}

ListboxStyle ListboxDefaultStyle() {
    return ListboxStyle{LISTBOX_DEFAULT_STYLE, nullptr};
}

static LRESULT CALLBACK ListboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool ListboxRegisterClass() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    TipRegisterClass();
    if (listboxAtom) return true;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ListboxProc;
    wc.cbWndExtra = sizeof(void *);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = listboxClass;
    listboxAtom = RegisterClassA(&wc);
    return listboxAtom != 0;
}

HWND ListboxCreate(HWND parent, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   const ListboxStyle *style, bool visible) {
    if (!ListboxRegisterClass()) return nullptr;
    DWORD windowStyle = LISTBOX_WINDOW_STYLE | (visible ? WS_VISIBLE : 0);
    return CreateWindowExA(0, listboxClass, "", windowStyle, left, top, right - left, bottom - top, parent,
                           nullptr, GetModuleHandleA(nullptr), (void *)style);
}

// ---- The record

bool ListboxIsList(HWND window) {
    return window && listboxAtom && GetClassWord(window, GCW_ATOM) == listboxAtom;
}

ListboxRec *ListboxFromWindow(HWND list) {
    if (!ListboxIsList(list)) return nullptr;
    Handle *h = (Handle *)GetWindowLongPtrA(list, 0);
    return h ? (ListboxRec *)HLock(h) : nullptr;
}

LRESULT ListboxAsk(ListboxRec *lb, ListboxNotify *record, ListboxRequest code) {
    if (lb->controlId == -1) lb->controlId = GetDlgCtrlID(lb->window);
    record->w[LISTBOX_W_CODE] = code;
    record->w[LISTBOX_W_ID] = lb->controlId;
    record->w[LISTBOX_W_WINDOW] = (intptr_t)lb->window;
    if (lb->notify) return lb->notify(record);
    return lb->owner ? SendMessageA(lb->owner, LISTBOX_MSG_REQUEST, (WPARAM)code, (LPARAM)record) : 0;
}

// The owner's answer is a length, but the text it wrote is what counts: the result never reaches past the
// NUL that ends it, nor past the buffer.
int32_t ListboxFetchText(ListboxRec *lb, int32_t item, int32_t key, bool alternate, char *buffer) {
    buffer[0] = 0;
    buffer[LISTBOX_TEXT_MAX] = 0;
    lb->boldCounter = 0;
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = item;
    record.w[LISTBOX_W_BUFFER] = (intptr_t)buffer;
    record.w[LISTBOX_W_TEXT_COLUMN] = key;
    LRESULT length = ListboxAsk(lb, &record, alternate ? LISTBOX_REQ_ALT_TEXT : LISTBOX_REQ_TEXT);
    buffer[ListboxTextLength(length)] = 0;
    return (int32_t)strlen(buffer);
}

LRESULT ListboxAskItem(ListboxRec *lb, ListboxRequest code, int32_t item) {
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = item;
    return ListboxAsk(lb, &record, code);
}

int32_t ListboxItemLevel(ListboxRec *lb, int32_t item) {
    if (!(lb->style & LISTBOX_OUTLINE)) return 0;
    return Max(0, (int32_t)ListboxAskItem(lb, LISTBOX_REQ_LEVEL, item));
}

// Derived when the owner leaves it to the control: an item whose next item lies deeper is expanded.
ListboxExpandState ListboxExpandStateOf(ListboxRec *lb, int32_t item) {
    if (!(lb->style & LISTBOX_OUTLINE)) return LISTBOX_COLLAPSED;
    LRESULT state = ListboxAskItem(lb, LISTBOX_REQ_EXPAND_STATE, item);
    if (state >= LISTBOX_EXPANDED && state <= LISTBOX_NO_CHILDREN) return (ListboxExpandState)state;
    bool deeper = item + 1 < lb->itemCount && ListboxItemLevel(lb, item + 1) > ListboxItemLevel(lb, item);
    return deeper ? LISTBOX_EXPANDED : LISTBOX_NO_CHILDREN;
}

HFONT ListboxFontOf(const ListboxRec *lb) {
    if (lb->font) return lb->font;
    return drawMetrics.guiFont ? drawMetrics.guiFont : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

static void ListboxSetRowHeight(ListboxRec *lb) {
    int32_t height = Max(Max(lb->textHeight, lb->imageHeight), 4);
    lb->rowHeight = height + (height & 1);
}

// The text height from the font, or from the owner of an owner-drawn list; the tab stop from the font.
void ListboxMeasure(ListboxRec *lb) {
    HDC dc = GetDC(lb->window);
    HGDIOBJ previous = SelectObject(dc, ListboxFontOf(lb));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    lb->tabStop = 2 * DrawTextWidth(dc, "N", 1);
    SelectObject(dc, previous);
    ReleaseDC(lb->window, dc);
    lb->textHeight = metrics.tmHeight;
    if (lb->style & LISTBOX_OWNER_DRAW) {
        ListboxNotify record = {};
        int32_t height = (int32_t)ListboxAsk(lb, &record, LISTBOX_REQ_TEXT_HEIGHT);
        if (height > 0) lb->textHeight = height;
    }
    ListboxSetRowHeight(lb);
}

// ---- Rows and items

int32_t ListboxRowItem(const ListboxRec *lb, int32_t row) {
    if (row < 0 || row >= lb->rowCount) return -1;
    if (lb->mapped) return ((const ListboxMapEntry *)PlexElem(lb->rowMap, row))->item;
    int32_t item = row + lb->rangeFirst;
    return item < lb->itemCount ? item : -1;
}

int32_t ListboxItemRow(const ListboxRec *lb, int32_t item) {
    if (item < 0) return -1;
    if (lb->mapped) {
        const ListboxMapEntry *entries = (const ListboxMapEntry *)PlexElem(lb->rowMap, 0);
        for (int32_t row = 0; row < lb->rowCount; row++)
            if (entries[row].item == item) return row;
        return -1;
    }
    int32_t row = item - lb->rangeFirst;
    return row >= 0 && row < lb->rowCount ? row : -1;
}

int32_t ListboxListHeight(const ListboxRec *lb) {
    RECT client;
    GetClientRect(lb->window, &client);
    return Max(0, client.bottom - lb->listTop);
}

int32_t ListboxWholeRows(const ListboxRec *lb) {
    return Max(1, ListboxListHeight(lb) / lb->rowHeight);
}

// The top row that shows the last row whole at the bottom.
static int32_t ListboxMaxTop(const ListboxRec *lb) {
    return Max(0, lb->rowCount - ListboxWholeRows(lb));
}

void ListboxRowRect(const ListboxRec *lb, int32_t row, RECT *out) {
    RECT client;
    GetClientRect(lb->window, &client);
    int32_t top = (row - lb->topRow) * lb->rowHeight + lb->listTop;
    *out = RECT{0, top, client.right, top + lb->rowHeight};
}

static int32_t ListboxRowAt(const ListboxRec *lb, int32_t y) {
    return y < lb->listTop ? -1 : (y - lb->listTop) / lb->rowHeight + lb->topRow;
}

static int32_t ListboxItemAt(const ListboxRec *lb, int32_t x, int32_t y) {
    RECT client;
    GetClientRect(lb->window, &client);
    if (x < 0 || x >= client.right || y >= client.bottom) return -1;
    return ListboxRowItem(lb, ListboxRowAt(lb, y));
}

void ListboxInvalidateRows(ListboxRec *lb, int32_t first, int32_t n) {
    int32_t from = Max(first, lb->topRow), to = Min(first + n, lb->topRow + lb->pageRows);
    if (from >= to) return;
    RECT top, bottom;
    ListboxRowRect(lb, from, &top);
    ListboxRowRect(lb, to - 1, &bottom);
    top.bottom = bottom.bottom;
    InvalidateRect(lb->window, &top, FALSE);
}

void ListboxInvalidateList(ListboxRec *lb) {
    RECT area;
    GetClientRect(lb->window, &area);
    area.top = lb->listTop;
    InvalidateRect(lb->window, &area, FALSE);
}

// ---- The focus rectangle

static bool ListboxHasFocus(const ListboxRec *lb) {
    return GetFocus() == lb->window;
}

void ListboxFocusToggle(ListboxRec *lb, HDC dc) {
    if (!(lb->style & LISTBOX_SELECTABLE)) return;
    int32_t row = ListboxItemRow(lb, ListboxCurrentItem(lb));
    if (row < lb->topRow || row >= lb->topRow + lb->pageRows) row = lb->topRow;
    RECT rect;
    ListboxRowRect(lb, row, &rect);
    COLORREF text = SetTextColor(dc, lb->textColor), back = SetBkColor(dc, lb->backColor);
    DrawFocusRect(dc, &rect);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

static void ListboxFocusDraw(ListboxRec *lb) {
    HDC dc = GetDC(lb->window);
    RECT client;
    GetClientRect(lb->window, &client);
    IntersectClipRect(dc, 0, lb->listTop, client.right, client.bottom);
    ListboxFocusToggle(lb, dc);
    ReleaseDC(lb->window, dc);
}

// Hides nest: only the outermost pair draws, and painting leaves the rectangle out while it is hidden.
void ListboxFocusHide(ListboxRec *lb) {
    if (lb->focusHidden++ == 0 && ListboxHasFocus(lb)) ListboxFocusDraw(lb);
}

void ListboxFocusShow(ListboxRec *lb) {
    if (--lb->focusHidden == 0 && ListboxHasFocus(lb)) ListboxFocusDraw(lb);
}

// ---- Scrolling

static void ListboxSetScrollBar(ListboxRec *lb) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = lb->rowCount;
    info.nPage = (UINT)lb->pageRows;
    info.nPos = lb->topRow;
    WndSetScrollInfo(lb->window, SB_VERT, &info, TRUE);
}

void ListboxScrollTo(ListboxRec *lb, int32_t top) {
    top = Clamp(top, 0, ListboxMaxTop(lb));
    if (top == lb->topRow) return;
    ListboxFocusHide(lb);
    RECT area;
    GetClientRect(lb->window, &area);
    area.top = lb->listTop;
    int32_t dy = (lb->topRow - top) * lb->rowHeight;
    lb->topRow = top;
    DrawScrollWindow(lb->window, &area, 0, dy);
    ListboxSetScrollBar(lb);
    UpdateWindow(lb->window);
    ListboxFocusShow(lb);
}

// The nearest row above with a shallower level.
static int32_t ListboxParentRow(ListboxRec *lb, int32_t row) {
    int32_t level = ListboxItemLevel(lb, ListboxRowItem(lb, row));
    for (int32_t r = row - 1; level > 0 && r >= 0; r--)
        if (ListboxItemLevel(lb, ListboxRowItem(lb, r)) < level) return r;
    return -1;
}

void ListboxScrollIntoView(ListboxRec *lb, int32_t row) {
    int32_t whole = ListboxWholeRows(lb);
    if (row < 0 || (row >= lb->topRow && row < lb->topRow + whole)) return;
    int32_t top = row - lb->pageRows / 5;
    if (lb->style & LISTBOX_OUTLINE) {
        int32_t parent = ListboxParentRow(lb, row);
        top = parent >= 0 && row - parent < whole ? parent : row - whole / 2;
    }
    ListboxScrollTo(lb, top);
}

// ---- Layout

static int32_t ListboxPlaceHeader(ListboxRec *lb, RECT *client) {
    WINDOWPOS place = {};
    HDLAYOUT layout = {client, &place};
    if (!SendMessageA(lb->header, HDM_LAYOUT, 0, (LPARAM)&layout)) return 0;
    SetWindowPos(lb->header, place.hwndInsertAfter, place.x, place.y, place.cx, place.cy,
                 place.flags | SWP_NOZORDER | SWP_NOACTIVATE);
    return place.cy;
}

// Resizes the window so that the list area holds whole rows, keeping the frame and the header.
static void ListboxFitWholeRows(ListboxRec *lb, int32_t height) {
    int32_t want = Max(1, height / lb->rowHeight) * lb->rowHeight;
    if (want == height) return;
    RECT window;
    GetWindowRect(lb->window, &window);
    SetWindowPos(lb->window, nullptr, 0, 0, RectWidth(&window), RectHeight(&window) - height + want,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void ListboxLayoutOnce(ListboxRec *lb, bool fitColumns) {
    RECT client;
    GetClientRect(lb->window, &client);
    lb->listTop = lb->header ? ListboxPlaceHeader(lb, &client) : 0;
    if (lb->style & LISTBOX_WHOLE_ROWS) {
        ListboxFitWholeRows(lb, Max(0, client.bottom - lb->listTop));
        GetClientRect(lb->window, &client);
    }
    int32_t height = Max(0, client.bottom - lb->listTop);
    lb->pageRows = (height + lb->rowHeight - 1) / lb->rowHeight;
    if (lb->topRow > ListboxMaxTop(lb)) {
        lb->topRow = ListboxMaxTop(lb);
        ListboxInvalidateList(lb);
    }
    if (fitColumns) ListboxFitColumns(lb);
    ListboxSetScrollBar(lb);
    lb->lastWidth = client.right;
    ListboxNotify record = {};
    ListboxNotifySetRect(&record, &client);
    ListboxAsk(lb, &record, LISTBOX_REQ_SIZE);
}

// Setting the scroll bar or sizing the window to whole rows sends WM_SIZE back here: the nested request
// only asks for one more pass.
void ListboxLayout(ListboxRec *lb, bool fitColumns) {
    if (lb->layoutDepth) {
        lb->layoutAgain = true;
        lb->layoutFit = lb->layoutFit || fitColumns;
        return;
    }
    lb->layoutDepth++;
    for (int pass = 0; pass < 3; pass++) {
        lb->layoutAgain = lb->layoutFit = false;
        ListboxLayoutOnce(lb, fitColumns);
        if (!lb->layoutAgain) break;
        fitColumns = fitColumns || lb->layoutFit;
    }
    lb->layoutDepth--;
}

// ---- The shown range

// What the visible rows show: their items in order and whether any of them is selected.
static std::vector<int32_t> ListboxVisibleItems(const ListboxRec *lb) {
    std::vector<int32_t> items;
    bool selected = false;
    for (int32_t row = lb->topRow; row < lb->topRow + lb->pageRows; row++) {
        int32_t item = ListboxRowItem(lb, row);
        items.push_back(item);
        selected = selected || (item >= 0 && ListboxSelHas(lb, item));
    }
    items.push_back(selected);
    return items;
}

static void ListboxFreeRowMap(ListboxRec *lb) {
    if (lb->rowMap) PlexFree(lb->rowMap);
    lb->rowMap = nullptr;
    lb->mapped = false;
}

// A whole list that is empty is not "no match": only a range cut down to nothing is. Any range replaces a
// row map.
void ListboxSetRange(ListboxRec *lb, int32_t first, int32_t end) {
    int32_t count = lb->itemCount;
    first = Clamp(first, 0, count);
    end = end == -1 ? count : Clamp(end, first, count);
    bool whole = first == 0 && end == count, noMatch = first == end && !whole;
    if (noMatch) first = 0, end = count;
    uint32_t flags = noMatch ? lb->flags | LISTBOX_FLAG_NO_MATCH : lb->flags & ~LISTBOX_FLAG_NO_MATCH;
    if (first == lb->rangeFirst && end == lb->rangeEnd && !lb->mapped && flags == lb->flags &&
        lb->ownerFilter == lb->viewOwnerFilter)
        return;
    std::vector<int32_t> before = ListboxVisibleItems(lb);
    bool sameLook = flags == lb->flags && lb->ownerFilter == lb->viewOwnerFilter;
    ListboxFocusHide(lb);
    ListboxFreeRowMap(lb);
    lb->rangeFirst = first;
    lb->rangeEnd = end;
    lb->flags = flags;
    lb->viewOwnerFilter = lb->ownerFilter;
    lb->rowCount = end - first;
    lb->topRow = 0;
    PlexClear(lb->selection);
    ListboxSetScrollBar(lb);
    if (!sameLook || ListboxVisibleItems(lb) != before) ListboxInvalidateList(lb);
    ListboxFocusShow(lb);
}

void ListboxDropRowMap(ListboxRec *lb) {
    if (lb->mapped) ListboxSetRange(lb, 0, -1);
}

// ---- Selection

int32_t ListboxCurrentItem(const ListboxRec *lb) {
    return PlexCount(lb->selection) ? *(const int32_t *)PlexElem(lb->selection, 0) : -1;
}

bool ListboxSelHas(const ListboxRec *lb, int32_t item) {
    const int32_t *items = (const int32_t *)PlexElem(lb->selection, 0);
    for (int32_t i = 0, n = PlexCount(lb->selection); i < n; i++)
        if (items[i] == item) return true;
    return false;
}

static void ListboxInvalidateSelected(ListboxRec *lb) {
    if (!PlexCount(lb->selection)) return;
    for (int32_t row = lb->topRow; row < lb->topRow + lb->pageRows; row++) {
        int32_t item = ListboxRowItem(lb, row);
        if (item >= 0 && ListboxSelHas(lb, item)) ListboxInvalidateRows(lb, row, 1);
    }
}

void ListboxClearSel(ListboxRec *lb) {
    ListboxInvalidateSelected(lb);
    PlexClear(lb->selection);
}

// Marks of the selected items, for adding or removing many rows without a search per row.
static std::vector<char> ListboxSelMarks(const ListboxRec *lb) {
    std::vector<char> marks(lb->itemCount, 0);
    const int32_t *items = (const int32_t *)PlexElem(lb->selection, 0);
    for (int32_t i = 0, n = PlexCount(lb->selection); i < n; i++)
        if (items[i] >= 0 && items[i] < lb->itemCount) marks[items[i]] = 1;
    return marks;
}

// The last row from a towards b before the outline level changes from the reference level.
static int32_t ListboxOutlineCut(ListboxRec *lb, int32_t a, int32_t b, int32_t step, int32_t reference) {
    if (!(lb->style & LISTBOX_OUTLINE)) return b;
    for (int32_t row = a;; row += step) {
        int32_t item = ListboxRowItem(lb, row);
        if (item < 0 || ListboxItemLevel(lb, item) != reference) return row - step;
        if (row == b) return b;
    }
}

static void ListboxSelAddSpan(ListboxRec *lb, int32_t a, int32_t last, int32_t step) {
    int32_t n = (last - a) * step + 1;
    if (n <= 0) return;
    std::vector<char> marks = ListboxSelMarks(lb);
    std::vector<int32_t> added;
    for (int32_t row = a, i = 0; i < n; row += step, i++) {
        int32_t item = ListboxRowItem(lb, row);
        if (item < 0 || marks[item]) continue;
        marks[item] = 1;
        added.push_back(item);
    }
    if (!added.empty()) PlexInsert(lb->selection, -1, (int32_t)added.size(), added.data());
    ListboxInvalidateRows(lb, Min(a, last), n);
}

static bool ListboxSelAddRows(ListboxRec *lb, int32_t a, int32_t b, ListboxSelectMode mode) {
    if (a < 0) {
        if (mode == LISTBOX_SEL_REPLACE) ListboxClearSel(lb);
        return true;
    }
    int32_t item = ListboxRowItem(lb, a);
    if (item < 0) return false;
    if (mode == LISTBOX_SEL_REPLACE && a == b && PlexCount(lb->selection) == 1 &&
        ListboxCurrentItem(lb) == item)
        return false;
    int32_t step = a <= b ? 1 : -1;
    int32_t reference =
        mode == LISTBOX_SEL_REPLACE || !PlexCount(lb->selection) ? item : ListboxCurrentItem(lb);
    int32_t last = ListboxOutlineCut(lb, a, b, step, ListboxItemLevel(lb, reference));
    if (mode == LISTBOX_SEL_REPLACE) {
        ListboxScrollIntoView(lb, a);
        ListboxClearSel(lb);
    }
    ListboxSelAddSpan(lb, a, last, step);
    return true;
}

static bool ListboxSelRemoveRows(ListboxRec *lb, int32_t a, int32_t b) {
    int32_t lo = Max(0, Min(a, b)), hi = Max(a, b);
    std::vector<char> inRange(lb->itemCount, 0);
    for (int32_t row = lo; row <= hi; row++) {
        int32_t item = ListboxRowItem(lb, row);
        if (item >= 0) inRange[item] = 1;
    }
    int32_t *items = (int32_t *)PlexElem(lb->selection, 0), kept = 0;
    for (int32_t i = 0, n = PlexCount(lb->selection); i < n; i++)
        if (items[i] < 0 || items[i] >= lb->itemCount || !inRange[items[i]]) items[kept++] = items[i];
    PlexSetCount(lb->selection, kept);
    ListboxInvalidateRows(lb, lo, hi - lo + 1);
    return true;
}

void ListboxSelectRows(ListboxRec *lb, int32_t a, int32_t b, bool notify, ListboxSelectMode mode) {
    a = Clamp(a, -1, lb->rowCount - 1);
    b = Clamp(b, -1, lb->rowCount - 1);
    ListboxFocusHide(lb);
    bool acted =
        mode == LISTBOX_SEL_REMOVE ? ListboxSelRemoveRows(lb, a, b) : ListboxSelAddRows(lb, a, b, mode);
    ListboxFocusShow(lb);
    if (acted && notify && PlexCount(lb->selection) && (lb->style & LISTBOX_NOTIFY_SEL))
        WndNotifyParent(lb->window, LISTBOX_NOTIFY_SELECTION);
}

// An item that no row shows (narrowed away) still becomes the selection.
void ListboxSetCurItem(ListboxRec *lb, int32_t item) {
    item = Clamp(item, -1, lb->itemCount - 1);
    int32_t row = ListboxItemRow(lb, item);
    if (item < 0 || row >= 0) {
        ListboxSelectRows(lb, row, row, false, LISTBOX_SEL_REPLACE);
        return;
    }
    ListboxFocusHide(lb);
    ListboxClearSel(lb);
    PlexInsert(lb->selection, -1, 1, &item);
    ListboxFocusShow(lb);
}

// ---- Messages

static LRESULT ListboxOnNcCreate(HWND window, const CREATESTRUCTA *create) {
    if (!ListboxInit()) return FALSE;
    Handle *h = HAlloc(sizeof(ListboxRec));
    Plex *selection = h ? PlexCreate(sizeof(int32_t), 0, 0) : nullptr;
    if (!selection) {
        if (h) HFree(h);
        return FALSE;
    }
    PlexSetGrowth(selection, 10);
    ListboxRec *lb = (ListboxRec *)HLock(h);
    memset(lb, 0, sizeof *lb);
    ListboxStyle style = ListboxDefaultStyle();
    if (create->lpCreateParams) memcpy(&style, create->lpCreateParams, sizeof style);
    lb->style = style.style;
    lb->notify = style.notify;
    lb->selection = selection;
    lb->window = window;
    lb->controlId = lb->dropRow = lb->dragItem = lb->anchorRow = lb->trackColumn = lb->trackX = -1;
    lb->textColor = listboxDefaultText;
    lb->backColor = listboxDefaultBack;
    lb->rowHeight = 4;
    SetWindowLongPtrA(window, 0, (LONG_PTR)h);
    return DefWindowProcA(window, WM_NCCREATE, 0, (LPARAM)create);
}

static void ListboxCountItems(ListboxRec *lb) {
    ListboxNotify record = {};
    lb->itemCount = Max(0, (int32_t)ListboxAsk(lb, &record, LISTBOX_REQ_COUNT));
    lb->rangeFirst = 0;
    lb->rangeEnd = lb->rowCount = lb->itemCount;
}

static LRESULT ListboxOnCreate(ListboxRec *lb) {
    lb->owner = GetParent(lb->window);
    ListboxColumnsReset(lb);
    lb->indentUnit = lb->style & LISTBOX_OUTLINE ? listboxOutlineWidth : 0;
    ListboxMeasure(lb);
    if (lb->style & LISTBOX_HEADER) ListboxHeaderCreate(lb);
    ListboxCountItems(lb);
    ListboxLayout(lb, true);
    return 0;
}

static LRESULT ListboxOnDestroy(ListboxRec *lb) {
    ListboxTipListGone(lb->window);
    Handle *h = (Handle *)GetWindowLongPtrA(lb->window, 0);
    SetWindowLongPtrA(lb->window, 0, 0);
    PlexFree(lb->selection);
    ListboxFreeRowMap(lb);
    if (lb->boldFont) DeleteObject(lb->boldFont);
    HFree(h);
    return 0;
}

static LRESULT ListboxOnReset(ListboxRec *lb) {
    ListboxTipListGone(lb->window);
    ListboxFocusHide(lb);
    ListboxCountItems(lb);
    ListboxMeasure(lb);
    ListboxHeaderRewrite(lb);
    ListboxFreeRowMap(lb);
    lb->flags &= ~LISTBOX_FLAG_NO_MATCH;
    lb->ownerFilter = lb->viewOwnerFilter = false;
    PlexClear(lb->selection);
    if (lb->topRow >= lb->rowCount - 1) lb->topRow = Max(0, lb->rowCount - lb->pageRows);
    ListboxLayout(lb, false);
    ListboxInvalidateList(lb);
    ListboxFocusShow(lb);
    return 0;
}

static LRESULT ListboxOnSize(ListboxRec *lb) {
    ListboxLayout(lb, true);
    if (lb->columnCount > 1 && (lb->columns[0].flags & LISTBOX_COL_STRETCH)) ListboxInvalidateList(lb);
    return 0;
}

static LRESULT ListboxOnSetFont(ListboxRec *lb, HFONT font) {
    lb->font = font;
    if (lb->boldFont) DeleteObject(lb->boldFont);
    lb->boldFont = nullptr;
    ListboxMeasure(lb);
    ListboxLayout(lb, false);
    InvalidateRect(lb->window, nullptr, TRUE);
    return 0;
}

static LRESULT ListboxOnFocus(ListboxRec *lb, bool gained) {
    if (!lb->focusHidden) ListboxFocusDraw(lb);
    WndNotifyParent(lb->window, gained ? LISTBOX_NOTIFY_SETFOCUS : LISTBOX_NOTIFY_KILLFOCUS);
    return 0;
}

static LRESULT ListboxOnErase(ListboxRec *lb, HDC dc) {
    RECT client;
    GetClientRect(lb->window, &client);
    DrawFillRect(dc, &client, lb->backColor);
    return 1;
}

// Systems before version 4 get a black line down the right edge.
static LRESULT ListboxOnNcPaint(ListboxRec *lb, WPARAM wParam) {
    WndDefaultProc(lb->window, WM_NCPAINT, wParam, 0);
    if (SysIsWin4()) return 0;
    RECT window;
    GetWindowRect(lb->window, &window);
    HDC dc = GetWindowDC(lb->window);
    RECT line = {RectWidth(&window) - 1, 0, RectWidth(&window), RectHeight(&window)};
    DrawFillRect(dc, &line, RGB(0, 0, 0));
    ReleaseDC(lb->window, dc);
    return 0;
}

// Clicks pass through the empty part of a transparent list to what lies behind it.
static LRESULT ListboxOnHitTest(ListboxRec *lb, LPARAM lParam) {
    LRESULT hit = WndDefaultProc(lb->window, WM_NCHITTEST, 0, lParam);
    if (hit != HTCLIENT || !WndIsLayered(lb->window) || DragIsActive()) return hit;
    POINT point = PointFromLParam(lParam);
    ScreenToClient(lb->window, &point);
    if (point.y < lb->listTop) return hit;
    return ListboxRowItem(lb, ListboxRowAt(lb, point.y)) < 0 ? HTTRANSPARENT : hit;
}

static LRESULT ListboxOnReplaceStyle(ListboxRec *lb, const ListboxStyle *style) {
    if (!style) return 0;
    lb->style = style->style;
    lb->notify = style->notify;
    ListboxLayout(lb, true);
    return 0;
}

static LRESULT ListboxOnSetTop(ListboxRec *lb, int32_t item) {
    int32_t row = ListboxItemRow(lb, item);
    if (row >= 0) ListboxScrollTo(lb, row);
    return 0;
}

static LRESULT ListboxOnNotify(ListboxRec *lb, NMHDR *note) {
    return lb->header && note->hwndFrom == lb->header ? ListboxHeaderNotify(lb, note) : 0;
}

// What follows a key or button that the owner let through (moving, selecting, tracking, the commands and the
// control's own context menu) comes with the list's mouse and key handling.
static LRESULT ListboxInputKey(ListboxRec *, KeyCode) {
    return 0;
}

static LRESULT ListboxInputButton(ListboxRec *lb, UINT message, WPARAM wParam, LPARAM lParam) {
    return WndDefaultProc(lb->window, message, wParam, lParam);
}

static LRESULT ListboxOnKey(ListboxRec *lb, KeyCode key) {
    ListboxNotify record = {};
    record.w[LISTBOX_W_KEY_CODE] = key;
    return ListboxAsk(lb, &record, LISTBOX_REQ_KEY) ? ListboxInputKey(lb, key) : 0;
}

static LRESULT ListboxOnKeyDown(ListboxRec *lb, UINT message, WPARAM wParam, LPARAM lParam) {
    KeyCode key = KeyFromMsgParts(lb->window, message, wParam, lParam);
    return key ? ListboxOnKey(lb, key) : WndDefaultProc(lb->window, message, wParam, lParam);
}

// Every button press and double-click goes to the owner first; 0 swallows it.
static LRESULT ListboxOnButton(ListboxRec *lb, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    RECT client;
    GetClientRect(lb->window, &client);
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = ListboxItemAt(lb, point.x, point.y);
    ListboxNotifySetRect(&record, &client);
    record.w[LISTBOX_W_X] = point.x;
    record.w[LISTBOX_W_Y] = point.y;
    record.w[LISTBOX_W_MESSAGE] = message;
    record.w[LISTBOX_W_MOUSE_COLUMN] = lb->columns[0].key;
    if (!ListboxAsk(lb, &record, LISTBOX_REQ_MOUSE)) return 0;
    return ListboxInputButton(lb, message, wParam, lParam);
}

static LRESULT ListboxOnTimer(ListboxRec *lb, WPARAM id) {
    if (id == LISTBOX_TIP_TIMER) ListboxTipClose();
    return WndDefaultProc(lb->window, WM_TIMER, id, 0);
}

static LRESULT ListboxOnShow(ListboxRec *lb, WPARAM wParam, LPARAM lParam) {
    ListboxTipClose();
    return WndDefaultProc(lb->window, WM_SHOWWINDOW, wParam, lParam);
}

static LRESULT CALLBACK ListboxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) return ListboxOnNcCreate(window, (const CREATESTRUCTA *)lParam);
    ListboxRec *lb = ListboxFromWindow(window);
    if (!lb) return WndDefaultProc(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: return ListboxOnCreate(lb);
    case WM_DESTROY: return ListboxOnDestroy(lb);
    case WM_PAINT: ListboxOnPaint(lb); return 0;
    case WM_PRINTCLIENT: ListboxPrintClient(lb, (HDC)wParam); return 0;
    case WM_ERASEBKGND: return ListboxOnErase(lb, (HDC)wParam);
    case WM_NCPAINT: return ListboxOnNcPaint(lb, wParam);
    case WM_NCHITTEST: return ListboxOnHitTest(lb, lParam);
    case WM_SIZE: return ListboxOnSize(lb);
    case WM_SETFONT: return ListboxOnSetFont(lb, (HFONT)wParam);
    case WM_GETFONT: return (LRESULT)lb->font;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_CHAR: return 0;
    case WM_SETFOCUS: return ListboxOnFocus(lb, true);
    case WM_KILLFOCUS: return ListboxOnFocus(lb, false);
    case WM_SHOWWINDOW: return ListboxOnShow(lb, wParam, lParam);
    case WM_TIMER: return ListboxOnTimer(lb, wParam);
    case WM_NOTIFY: return ListboxOnNotify(lb, (NMHDR *)lParam);
    case WM_KEYDOWN: return ListboxOnKeyDown(lb, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: return ListboxOnButton(lb, message, wParam, lParam);
    case LISTBOX_MSG_KEY: return ListboxOnKey(lb, (KeyCode)wParam);
    case LISTBOX_MSG_SETRANGE: ListboxSetRange(lb, (int32_t)wParam, (int32_t)lParam); return 0;
    case LISTBOX_MSG_SETSTYLE: return ListboxOnReplaceStyle(lb, (const ListboxStyle *)lParam);
    case LISTBOX_MSG_DRAG: return SendMessageA(GetParent(window), message, wParam, lParam);
    case LISTBOX_MSG_GETSEL: return (LRESULT)ListboxGetSelection(window);
    case LISTBOX_MSG_SETSEL: ListboxSetSelection(window, (Plex *)lParam); return 1;
    case LB_RESETCONTENT: return ListboxOnReset(lb);
    case LB_SETCURSEL: ListboxSetCurItem(lb, (int32_t)wParam); return 0;
    case LB_GETCURSEL: return ListboxCurrentItem(lb);
    case LB_GETTOPINDEX: return ListboxRowItem(lb, lb->topRow);
    case LB_SETTOPINDEX: return ListboxOnSetTop(lb, (int32_t)wParam);
    }
    return WndDefaultProc(window, message, wParam, lParam);
}

// ---- Functions on a control window

int32_t ListboxGetCount(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb ? lb->itemCount : 0;
}

int32_t ListboxGetCurSel(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb ? ListboxCurrentItem(lb) : -1;
}

int32_t ListboxGetSingleSel(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb && PlexCount(lb->selection) == 1 ? ListboxCurrentItem(lb) : -1;
}

Plex *ListboxGetSelection(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    Plex *copy = lb ? PlexDup(lb->selection, sizeof(Plex)) : nullptr;
    if (copy) PlexSortInt(copy);
    return copy;
}

bool ListboxHasMultiSel(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb && PlexCount(lb->selection) > 1;
}

bool ListboxIsSelected(HWND list, int32_t item) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb && ListboxSelHas(lb, item);
}

void ListboxSetCurSel(HWND list, int32_t item) {
    if (ListboxRec *lb = ListboxFromWindow(list)) ListboxSetCurItem(lb, item);
}

// Items outside the count and repeated items are dropped from the given plex.
void ListboxSetSelection(HWND list, Plex *selection) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb || !selection) return;
    if (selection->elemSize != sizeof(int32_t)) {
        PlexFree(selection);
        return;
    }
    ListboxFocusHide(lb);
    ListboxClearSel(lb);
    PlexFree(lb->selection);
    lb->selection = selection;
    std::vector<char> seen(lb->itemCount, 0);
    int32_t *items = (int32_t *)PlexElem(selection, 0), kept = 0;
    for (int32_t i = 0, n = PlexCount(selection); i < n; i++) {
        if (items[i] < 0 || items[i] >= lb->itemCount || seen[items[i]]) continue;
        seen[items[i]] = 1;
        items[kept++] = items[i];
    }
    PlexSetCount(selection, kept);
    ListboxInvalidateSelected(lb);
    ListboxFocusShow(lb);
}

void ListboxClearSelection(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    ListboxFocusHide(lb);
    ListboxClearSel(lb);
    ListboxFocusShow(lb);
}

// Every row, whatever its outline level.
void ListboxSelectAll(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    ListboxFocusHide(lb);
    PlexClear(lb->selection);
    ListboxSelAddSpan(lb, 0, lb->rowCount - 1, 1);
    ListboxFocusShow(lb);
}

void ListboxSelectRange(HWND list, int32_t a, int32_t b, bool notify, ListboxSelectMode mode) {
    if (ListboxRec *lb = ListboxFromWindow(list)) ListboxSelectRows(lb, a, b, notify, mode);
}

void ListboxGetRange(HWND list, int32_t *first, int32_t *end) {
    ListboxRec *lb = ListboxFromWindow(list);
    *first = lb ? lb->rangeFirst : 0;
    *end = lb ? lb->rangeEnd : 0;
}

int32_t ListboxGetItemText(HWND list, int32_t item, char *buffer) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) {
        buffer[0] = 0;
        return 0;
    }
    return ListboxFetchText(lb, item, lb->columns[0].key, false, buffer);
}

bool ListboxGetItemRect(HWND list, int32_t item, RECT *out) {
    ListboxRec *lb = ListboxFromWindow(list);
    int32_t row = lb ? ListboxItemRow(lb, item) : -1;
    if (row < 0) return false;
    ListboxRowRect(lb, row, out);
    return true;
}

int32_t ListboxItemFromPoint(HWND list, int32_t x, int32_t y) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb ? ListboxItemAt(lb, x, y) : -1;
}

static int32_t ListboxTextWidth(ListboxRec *lb, HDC dc, const char *text, int32_t length) {
    if (!(lb->style & LISTBOX_TABS)) return DrawTextWidth(dc, text, length);
    INT stops = lb->tabStop;
    return LOWORD(GetTabbedTextExtentA(dc, text, length, 1, &stops));
}

bool ListboxGetFitRect(HWND list, int32_t n, RECT *out) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return false;
    HDC dc = GetDC(list);
    HGDIOBJ previous = SelectObject(dc, ListboxFontOf(lb));
    int32_t widest = 0, dpi = GetDeviceCaps(dc, LOGPIXELSX);
    char text[LISTBOX_TEXT_MAX + 1];
    for (int32_t row = lb->topRow, end = lb->topRow + Max(n, lb->pageRows); row < end; row++) {
        int32_t item = ListboxRowItem(lb, row);
        if (item < 0) break;
        int32_t length = ListboxFetchText(lb, item, lb->columns[0].key, false, text);
        widest = Max(widest, ListboxTextWidth(lb, dc, text, length));
    }
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    RECT window;
    GetWindowRect(list, &window);
    int32_t height = (Min(lb->rowCount, n) + 1) * lb->rowHeight;
    *out = RECT{window.left, window.top, window.left + widest + (dpi + 1) / 2, window.top + height};
    return true;
}

void ListboxRedrawItems(HWND list, int32_t item, int32_t n) {
    ListboxRec *lb = ListboxFromWindow(list);
    int32_t row = lb ? ListboxItemRow(lb, item) : -1;
    if (row >= 0) ListboxInvalidateRows(lb, row, n);
}

void ListboxReload(HWND list, int32_t select) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    if (select == -2) select = ListboxCurrentItem(lb);
    ListboxOnReset(lb);
    if (select >= 0 && select < lb->itemCount) ListboxSetCurItem(lb, select);
}

void ListboxGetStyle(HWND list, ListboxStyle *out) {
    ListboxRec *lb = ListboxFromWindow(list);
    *out = lb ? ListboxStyle{lb->style, lb->notify} : ListboxDefaultStyle();
}

// Tab columns take the place of tab expansion; the header follows the style.
void ListboxSetStyle(HWND list, const ListboxStyle *style) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    lb->style = style->style;
    lb->notify = style->notify;
    if (lb->style & LISTBOX_TAB_COLUMNS) lb->style &= ~LISTBOX_TABS;
    if ((lb->style & LISTBOX_HEADER) && !lb->header) ListboxHeaderCreate(lb);
    if (!(lb->style & LISTBOX_HEADER) && lb->header) {
        DestroyWindow(lb->header);
        lb->header = nullptr;
    }
    ListboxHeaderSetButtons(lb);
    ListboxLayout(lb, true);
    InvalidateRect(list, nullptr, TRUE);
}

static void ListboxSetStyleBit(HWND list, uint32_t bit, bool on, bool fitColumns) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    lb->style = on ? lb->style | bit : lb->style & ~bit;
    ListboxMeasure(lb);
    ListboxLayout(lb, fitColumns);
    ListboxInvalidateList(lb);
}

void ListboxSetOwnerMeasure(HWND list, bool on) {
    ListboxSetStyleBit(list, LISTBOX_OWNER_DRAW, on, false);
}
void ListboxSetMultiSel(HWND list, bool on) {
    ListboxSetStyleBit(list, LISTBOX_MULTI_SEL, on, false);
}
void ListboxSetStyle2000(HWND list, bool on) {
    ListboxSetStyleBit(list, LISTBOX_CHECKS, on, false);
}
void ListboxSetTriState(HWND list, bool on) {
    ListboxSetStyleBit(list, LISTBOX_TRI_STATE, on, false);
}
void ListboxSetAltText(HWND list, bool on) {
    ListboxSetStyleBit(list, LISTBOX_ALT_TEXT, on, false);
}
void ListboxSetFixedColumns(HWND list, bool on) {
    ListboxSetStyleBit(list, LISTBOX_FIXED_COLUMNS, on, true);
}

void ListboxSetOutline(HWND list, bool on, bool images) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    lb->indentUnit = on && images ? listboxOutlineWidth : 0;
    ListboxSetStyleBit(list, LISTBOX_OUTLINE, on, false);
}

void ListboxSetColors(HWND list, COLORREF text, COLORREF back) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    lb->textColor = text;
    lb->backColor = back;
    InvalidateRect(list, nullptr, TRUE);
}

void ListboxGetColors(HWND list, COLORREF *text, COLORREF *back) {
    ListboxRec *lb = ListboxFromWindow(list);
    *text = lb ? lb->textColor : listboxDefaultText;
    *back = lb ? lb->backColor : listboxDefaultBack;
}

void ListboxSetImageList(HWND list, HIMAGELIST images) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return;
    int width = 0, height = 0;
    if (images) ImageList_GetIconSize(images, &width, &height);
    lb->imageList = images;
    lb->imageWidth = width;
    lb->imageHeight = height;
    ListboxSetRowHeight(lb);
    ListboxLayout(lb, false);
    ListboxInvalidateList(lb);
}

HFONT ListboxGetFont(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb ? lb->font : nullptr;
}

int32_t ListboxGetLineHeight(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb) return 0;
    HDC dc = GetDC(list);
    HGDIOBJ previous = SelectObject(dc, ListboxFontOf(lb));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

void ListboxSetBold(HWND list, bool raise) {
    if (ListboxRec *lb = ListboxFromWindow(list)) lb->boldCounter += raise ? 1 : -1;
}

ListboxExpandState ListboxGetExpandState(HWND list, int32_t item) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb ? ListboxExpandStateOf(lb, item) : LISTBOX_COLLAPSED;
}

// Expanding and collapsing come with the list's mouse and key handling; until then nothing changes.
bool ListboxExpand(HWND, int32_t, bool) {
    return false;
}
bool ListboxCollapse(HWND, int32_t) {
    return false;
}
bool ListboxToggleExpand(HWND, int32_t) {
    return false;
}

int32_t ListboxGetDropRow(HWND list) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb ? lb->dropRow : -1;
}
