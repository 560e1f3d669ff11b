// listinput: the list control under the mouse and the keyboard (prefix Listbox): clicks tracked with Ctrl and
// Shift selection and auto-scroll, the start of a drag, drop-target feedback, double-clicks, the scroll bar
// and the wheel, keys mapped to list commands, outline expansion and check images. The tracking loop reads
// the mouse through the tracking poll (ui/track.h) and paces its scrolling on the tick clock, so that tests
// script both.
#include "ui/listboxrec.h"

#include "base/rect.h"
#include "base/sound.h"
#include "base/tick.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "base/wheel.h"
#include "base/wnd.h"
#include "ui/drag.h"
#include "ui/draw.h"
#include "ui/menu.h"
#include "ui/track.h"

#include <vector>

enum : int32_t {
    LISTBOX_DRAG_ROWS = 3,           // further than this above or below the list in the first stage: a drag
    LISTBOX_TRACK_SCROLL_MAX = 4,    // rows one tracking step scrolls at most
    LISTBOX_TRACK_END = -3,          // tracking ends: the owner ran a drag
    LISTBOX_DWELL_MS = 500,          // a drop target scrolls once the cursor rested this long
    LISTBOX_DWELL_SPEEDUP_MS = 4000, // then one row more per step after each such time
    LISTBOX_DWELL_SPEED_MAX = 6,
    LISTBOX_DWELL_STEP_MS = 62,
};

// ---- Rows

// The row with an item under a client y, -1 for none.
static int32_t ListboxRowUnder(const ListboxRec *lb, int32_t y) {
    if (y < lb->listTop) return -1;
    int32_t row = (y - lb->listTop) / lb->rowHeight + lb->topRow;
    return ListboxRowItem(lb, row) >= 0 ? row : -1;
}

static bool ListboxInListArea(const ListboxRec *lb, POINT p) {
    RECT client;
    GetClientRect(lb->window, &client);
    return p.x >= 0 && p.x < client.right && p.y >= lb->listTop && p.y < client.bottom;
}

static int32_t ListboxRowOrNone(const ListboxRec *lb, int32_t row) {
    return ListboxRowItem(lb, row) >= 0 ? row : -1;
}

static int32_t ListboxLastVisibleRow(const ListboxRec *lb) {
    return ListboxRowOrNone(lb, Min(lb->topRow + ListboxWholeRows(lb), lb->rowCount) - 1);
}

static void ListboxScrollBy(ListboxRec *lb, int32_t rows) {
    ListboxScrollTo(lb, lb->topRow + rows);
}

// ---- Check images

static bool ListboxInCheckZone(ListboxRec *lb, int32_t item, int32_t x) {
    if (!(lb->style & LISTBOX_CHECKS) || item < 0) return false;
    int32_t indent = ListboxTextIndent(lb, item);
    return x >= indent && x < indent + lb->rowHeight + 4;
}

static void ListboxToggleCheck(ListboxRec *lb, int32_t item) {
    int32_t state = (int32_t)ListboxAskItem(lb, LISTBOX_REQ_GET_CHECK, item);
    int32_t next = lb->style & LISTBOX_TRI_STATE ? (Clamp(state, 0, 2) + 1) % 3 : state ? 0 : 1;
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = item;
    record.w[LISTBOX_W_NEW_CHECK] = next;
    ListboxAsk(lb, &record, LISTBOX_REQ_SET_CHECK);
    ListboxInvalidateRows(lb, ListboxItemRow(lb, item), 1);
}

// A selected item toggles the whole selection with it.
static void ListboxToggleChecks(ListboxRec *lb, int32_t item) {
    std::vector<int32_t> items = {item};
    if (ListboxSelHas(lb, item)) {
        const int32_t *selected = (const int32_t *)PlexElem(lb->selection, 0);
        items.assign(selected, selected + PlexCount(lb->selection));
    }
    HWND window = lb->window;
    for (int32_t it : items)
        if ((lb = ListboxFromWindow(window)) != nullptr) ListboxToggleCheck(lb, it);
    UpdateWindow(window);
}

// ---- Outline expansion

// Selected items below the item follow their rows: n rows were added (n > 0) or removed after it.
static void ListboxShiftSelection(ListboxRec *lb, int32_t item, int32_t n) {
    int32_t *items = (int32_t *)PlexElem(lb->selection, 0), kept = 0;
    for (int32_t i = 0, count = PlexCount(lb->selection); i < count; i++) {
        int32_t it = items[i];
        if (it > item && n < 0 && it <= item - n) continue;
        items[kept++] = it > item ? it + n : it;
    }
    PlexSetCount(lb->selection, kept);
}

// The rows below the item's row move by n rows: scrolled when the next row shows, all repainted when the
// item lies above the page.
static void ListboxMoveRowsBelow(ListboxRec *lb, int32_t row, int32_t n) {
    if (row + 1 < lb->topRow) {
        ListboxInvalidateList(lb);
        return;
    }
    if (row < 0 || row + 1 >= lb->topRow + lb->pageRows) return;
    RECT area, itemRect;
    GetClientRect(lb->window, &area);
    ListboxRowRect(lb, row, &itemRect);
    area.top = Max(itemRect.bottom, lb->listTop);
    if (area.top < area.bottom) DrawScrollWindow(lb->window, &area, 0, n * lb->rowHeight);
    InvalidateRect(lb->window, &itemRect, FALSE);
    UpdateWindow(lb->window);
}

// Requests 14, 15 or 16: the answer is the number of rows added or removed.
static bool ListboxExpandOp(ListboxRec *lb, int32_t item, ListboxRequest code) {
    int32_t n = Max(0, (int32_t)ListboxAskItem(lb, code, item));
    if (code == LISTBOX_REQ_COLLAPSE) {
        if (n == 0) return false;
        n = -n;
    }
    ListboxDropRowMap(lb); // a row map names items that have now moved
    int32_t row = ListboxItemRow(lb, item);
    ListboxFocusHide(lb);
    lb->itemCount = Max(0, lb->itemCount + n);
    lb->rangeEnd = Clamp(lb->rangeEnd + n, lb->rangeFirst, lb->itemCount);
    lb->rowCount = lb->rangeEnd - lb->rangeFirst;
    ListboxShiftSelection(lb, item, n);
    ListboxLayout(lb, false);
    if (n) ListboxMoveRowsBelow(lb, row, n);
    ListboxFocusShow(lb);
    SetFocus(lb->window);
    return n != 0;
}

static ListboxRec *ListboxOutlineItem(HWND list, int32_t item) {
    ListboxRec *lb = ListboxFromWindow(list);
    bool ok = lb && (lb->style & LISTBOX_OUTLINE) && item >= 0 && item < lb->itemCount;
    return ok ? lb : nullptr;
}

bool ListboxExpand(HWND list, int32_t item, bool allLevels) {
    ListboxRec *lb = ListboxOutlineItem(list, item);
    if (!lb) return false;
    ListboxExpandState state = ListboxExpandStateOf(lb, item);
    if (!allLevels) return state != LISTBOX_EXPANDED && ListboxExpandOp(lb, item, LISTBOX_REQ_EXPAND);
    if (state != LISTBOX_COLLAPSED) ListboxExpandOp(lb, item, LISTBOX_REQ_COLLAPSE);
    return (lb = ListboxFromWindow(list)) != nullptr && ListboxExpandOp(lb, item, LISTBOX_REQ_EXPAND_ALL);
}

bool ListboxCollapse(HWND list, int32_t item) {
    ListboxRec *lb = ListboxOutlineItem(list, item);
    return lb && ListboxExpandOp(lb, item, LISTBOX_REQ_COLLAPSE);
}

bool ListboxToggleExpand(HWND list, int32_t item) {
    ListboxRec *lb = ListboxOutlineItem(list, item);
    if (!lb) return false;
    switch (ListboxExpandStateOf(lb, item)) {
    case LISTBOX_EXPANDED: return ListboxExpandOp(lb, item, LISTBOX_REQ_COLLAPSE);
    case LISTBOX_COLLAPSED: return ListboxExpandOp(lb, item, LISTBOX_REQ_EXPAND);
    default: return false;
    }
}

// "Expand Special...": an item without children only beeps.
static void ListboxExpandSpecial(ListboxRec *lb) {
    int32_t item = ListboxCurrentItem(lb);
    if (item < 0 || !(lb->style & LISTBOX_OUTLINE)) return;
    if (ListboxExpandStateOf(lb, item) == LISTBOX_NO_CHILDREN) {
        SoundBeep();
        return;
    }
    ListboxExpand(lb->window, item, true);
}

// ---- Commands

static void ListboxMove(ListboxRec *lb, int32_t delta) {
    if (!(lb->style & LISTBOX_SELECTABLE)) {
        ListboxScrollBy(lb, delta);
        return;
    }
    if (lb->rowCount <= 0) return;
    int32_t row = Clamp(ListboxItemRow(lb, ListboxCurrentItem(lb)) + delta, 0, lb->rowCount - 1);
    ListboxSelectRows(lb, row, row, true, LISTBOX_SEL_REPLACE);
}

static void ListboxSelectReported(ListboxRec *lb, int32_t row) {
    if ((lb->style & LISTBOX_SELECTABLE) && lb->rowCount > 0)
        ListboxSelectRows(lb, row, row, true, LISTBOX_SEL_REPLACE);
}

static void ListboxPage(ListboxRec *lb, int32_t direction) {
    ListboxScrollBy(lb, direction * Max(1, lb->pageRows - 1));
    ListboxSelectReported(lb, lb->topRow);
}

// The rows of the selected items that show: the lowest, the highest and how many.
static int32_t ListboxSelectedSpan(const ListboxRec *lb, int32_t *lo, int32_t *hi) {
    const int32_t *items = (const int32_t *)PlexElem(lb->selection, 0);
    int32_t n = 0;
    *lo = *hi = -1;
    for (int32_t i = 0, count = PlexCount(lb->selection); i < count; i++) {
        int32_t row = ListboxItemRow(lb, items[i]);
        if (row < 0) continue;
        *lo = n ? Min(*lo, row) : row;
        *hi = n ? Max(*hi, row) : row;
        n++;
    }
    return n;
}

// Shift with Up or Down: the edge away from the anchor moves.
static void ListboxExtend(ListboxRec *lb, int32_t direction) {
    if (!(lb->style & LISTBOX_MULTI_SEL) || lb->rowCount <= 0) return;
    int32_t lo, hi, edge;
    if (ListboxSelectedSpan(lb, &lo, &hi) <= 1) {
        lb->anchorRow = Max(lo, 0);
        edge = Clamp(lb->anchorRow + direction, 0, lb->rowCount - 1);
        ListboxSelectRows(lb, edge, edge, false, LISTBOX_SEL_ADD);
    } else if (lb->anchorRow < hi) {
        edge = direction > 0 ? Min(hi + 1, lb->rowCount - 1) : hi;
        ListboxSelectRows(lb, edge, edge, false, direction > 0 ? LISTBOX_SEL_ADD : LISTBOX_SEL_REMOVE);
        if (direction < 0) edge = hi - 1;
    } else {
        edge = direction < 0 ? Max(lo - 1, 0) : lo;
        ListboxSelectRows(lb, edge, edge, false, direction < 0 ? LISTBOX_SEL_ADD : LISTBOX_SEL_REMOVE);
        if (direction > 0) edge = lo + 1;
    }
    ListboxScrollIntoView(lb, edge);
    if (lb->style & LISTBOX_STEPS) WndNotifyParent(lb->window, LISTBOX_NOTIFY_SELECTION);
}

static bool ListboxListCommand(ListboxRec *lb, int32_t command) {
    switch (command) {
    case LISTBOX_CMD_UP: ListboxMove(lb, -1); return true;
    case LISTBOX_CMD_DOWN: ListboxMove(lb, 1); return true;
    case LISTBOX_CMD_PAGE_UP: ListboxPage(lb, -1); return true;
    case LISTBOX_CMD_PAGE_DOWN: ListboxPage(lb, 1); return true;
    case LISTBOX_CMD_FIRST: ListboxSelectReported(lb, 0); return true;
    case LISTBOX_CMD_LAST: ListboxSelectReported(lb, lb->rowCount - 1); return true;
    case LISTBOX_CMD_SCROLL_UP: ListboxScrollBy(lb, -1); return true;
    case LISTBOX_CMD_SCROLL_DOWN: ListboxScrollBy(lb, 1); return true;
    case LISTBOX_CMD_EXTEND_UP: ListboxExtend(lb, -1); return true;
    case LISTBOX_CMD_EXTEND_DOWN: ListboxExtend(lb, 1); return true;
    }
    return false;
}

// The library's commands that a list runs, by their toolbox slots.
static bool ListboxToolboxCommand(ListboxRec *lb, int32_t command) {
    int32_t item = ListboxCurrentItem(lb);
    if (command == ToolboxCommand(TOOLBOX_CMD_EXPAND)) {
        if (item >= 0) ListboxExpand(lb->window, item, false);
    } else if (command == ToolboxCommand(TOOLBOX_CMD_COLLAPSE)) {
        if (item >= 0) ListboxCollapse(lb->window, item);
    } else if (command == ToolboxCommand(TOOLBOX_CMD_EXPAND_SPECIAL)) {
        ListboxExpandSpecial(lb);
    } else {
        return false;
    }
    return true;
}

bool ListboxRunCommand(ListboxRec *lb, int32_t command) {
    if (command <= 0 || (command & LISTBOX_CMD_MENU_SEPARATOR)) return false;
    ListboxTipClose();
    return ListboxListCommand(lb, command) || ListboxToolboxCommand(lb, command);
}

bool ListboxCommand(HWND list, int32_t command) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb && ListboxRunCommand(lb, command);
}

// ---- Keys

struct ListboxKeyRow {
    KeyCode key;
    int32_t command;
};

static const ListboxKeyRow listboxKeys[] = {
    {KEY_NAV | VK_UP, LISTBOX_CMD_UP},
    {KEY_NAV | VK_DOWN, LISTBOX_CMD_DOWN},
    {KEY_NAV | VK_PRIOR, LISTBOX_CMD_PAGE_UP},
    {KEY_NAV | VK_NEXT, LISTBOX_CMD_PAGE_DOWN},
    {KEY_NAV | VK_HOME, LISTBOX_CMD_FIRST},
    {KEY_NAV | VK_END, LISTBOX_CMD_LAST},
    {KEY_CTRL | KEY_NAV | VK_UP, LISTBOX_CMD_SCROLL_UP},
    {KEY_CTRL | KEY_NAV | VK_DOWN, LISTBOX_CMD_SCROLL_DOWN},
    {KEY_SHIFT | KEY_NAV | VK_UP, LISTBOX_CMD_EXTEND_UP},
    {KEY_SHIFT | KEY_NAV | VK_DOWN, LISTBOX_CMD_EXTEND_DOWN},
};

// Keys that the key map binds to these commands run them in a list too.
static const int listboxKeySlots[] = {TOOLBOX_CMD_SEARCH_FORWARD, TOOLBOX_CMD_SEARCH_LIST,
                                      TOOLBOX_CMD_EXPAND_SPECIAL, TOOLBOX_CMD_EXPAND, TOOLBOX_CMD_COLLAPSE};

static int32_t ListboxMapKey(KeyCode key) {
    if (key & KEY_SHIFT) key |= KEY_SHIFT; // either Shift bit stands for both
    for (const ListboxKeyRow &row : listboxKeys)
        if (row.key == key) return row.command;
    int32_t command = MenuKeyToCommand(key);
    for (int slot : listboxKeySlots)
        if (command && ToolboxCommand(slot) == command) return command;
    return 0;
}

static bool ListboxIsPlus(KeyCode key) {
    return (key & ~(KEY_SHIFT | KEY_KEYPAD)) == '+' || key == (KEY_NAV | VK_RIGHT);
}

static bool ListboxIsMinus(KeyCode key) {
    return (key & ~(KEY_SHIFT | KEY_KEYPAD)) == '-' || key == (KEY_NAV | VK_LEFT);
}

// Space, "+", "-", Right and Left on the current item of an outline; true when the key was one of them.
static bool ListboxOutlineKey(ListboxRec *lb, KeyCode key) {
    int32_t item = ListboxCurrentItem(lb);
    if (item < 0 || !(lb->style & LISTBOX_OUTLINE)) return false;
    ListboxExpandState state = ListboxExpandStateOf(lb, item);
    if (key == ' ')
        ListboxToggleExpand(lb->window, item);
    else if (ListboxIsPlus(key)) {
        if (state == LISTBOX_COLLAPSED) ListboxExpand(lb->window, item, false);
    } else if (ListboxIsMinus(key)) {
        if (state == LISTBOX_EXPANDED) ListboxCollapse(lb->window, item);
    } else
        return false;
    return true;
}

// A key that names a command: the owner's list command (request 6), else the built-in mapping; a key that
// maps to none goes to the parent.
static LRESULT ListboxCommandKey(ListboxRec *lb, KeyCode key) {
    ListboxNotify record = {};
    record.w[LISTBOX_W_KEY_CODE] = key;
    int32_t command = (int32_t)ListboxAsk(lb, &record, LISTBOX_REQ_KEY_COMMAND);
    if (!command) command = ListboxMapKey(key);
    if (command)
        ListboxRunCommand(lb, command);
    else
        SendMessageA(GetParent(lb->window), LISTBOX_MSG_KEY, (WPARAM)key, 0);
    return 0;
}

LRESULT ListboxInputKey(ListboxRec *lb, KeyCode key) {
    if (ListboxOutlineKey(lb, key)) return 0;
    int32_t item = ListboxCurrentItem(lb);
    if (key == ' ' && (lb->style & LISTBOX_CHECKS) && item >= 0) {
        ListboxToggleChecks(lb, item);
        return 0;
    }
    if (key & (KEY_CTRL | KEY_ALT | KEY_FUNCTION | KEY_KEYPAD | KEY_NAV)) return ListboxCommandKey(lb, key);
    int32_t row = ListboxTypeChar(lb->window, key & 0xFF);
    if (row >= 0) ListboxSelectRows(lb, row, row, true, LISTBOX_SEL_REPLACE);
    return 0;
}

// ---- Scroll bar, wheel and context menu

LRESULT ListboxOnVScroll(ListboxRec *lb, WPARAM wParam) {
    int32_t page = ListboxWholeRows(lb);
    switch (LOWORD(wParam)) {
    case SB_LINEUP: ListboxScrollBy(lb, -1); break;
    case SB_LINEDOWN: ListboxScrollBy(lb, 1); break;
    case SB_PAGEUP: ListboxScrollBy(lb, -page); break;
    case SB_PAGEDOWN: ListboxScrollBy(lb, page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ListboxScrollTo(lb, WndGetScrollTrackPos(lb->window, SB_VERT)); break;
    }
    return 0;
}

// The lines setting of a notch, at least one row, at most one page.
LRESULT ListboxOnWheel(ListboxRec *lb, WPARAM wParam) {
    ListboxScrollBy(lb, WheelLines(wParam, ListboxWholeRows(lb)));
    return 0;
}

LRESULT ListboxOnContextMenu(ListboxRec *lb, WPARAM wParam, LPARAM lParam) {
    if (!(lb->style & LISTBOX_CONTEXT_MENU))
        return WndDefaultProc(lb->window, WM_CONTEXTMENU, wParam, lParam);
    int32_t commands[4], n = 0;
    for (int slot : {TOOLBOX_CMD_COPY_LIST, TOOLBOX_CMD_SEARCH_LIST, TOOLBOX_CMD_SEARCH_FORWARD})
        if (ToolboxCommand(slot)) commands[n++] = ToolboxCommand(slot);
    commands[n] = 0;
    HWND window = lb->window;
    int32_t chosen = n ? MenuPopupAtEx(window, commands, true) : 0;
    if (chosen && (lb = ListboxFromWindow(window)) != nullptr) ListboxRunCommand(lb, chosen);
    return 0;
}

// ---- Click tracking

// One press of a button, followed until its release.
struct ListboxTrack {
    ListboxRec *lb;
    HWND window;
    bool left;
    bool ctrl; // the modifiers at the press, with multiple selection
    bool shift;
    int32_t pressedRow;
    bool pressedWasSelected;
    int32_t previous; // the current item before the press
    int32_t anchor;   // its row, or the pressed row
    int32_t row;      // the row tracked last; -2 before the first
    bool firstStage;
};

// Shift: the span of the selected rows grows to the row, or shrinks back to it on the side away from the
// anchor (the current item at the press).
static void ListboxTrackSpan(ListboxTrack *t, int32_t row) {
    ListboxRec *lb = t->lb;
    int32_t lo, hi;
    if (!ListboxSelectedSpan(lb, &lo, &hi))
        ListboxSelectRows(lb, row, row, false, LISTBOX_SEL_ADD);
    else if (row < lo)
        ListboxSelectRows(lb, row, lo - 1, false, LISTBOX_SEL_ADD);
    else if (row > hi)
        ListboxSelectRows(lb, hi + 1, row, false, LISTBOX_SEL_ADD);
    else if (row >= t->anchor && row < hi)
        ListboxSelectRows(lb, row + 1, hi, false, LISTBOX_SEL_REMOVE);
    else if (row < t->anchor && row > lo)
        ListboxSelectRows(lb, lo, row - 1, false, LISTBOX_SEL_REMOVE);
}

static void ListboxTrackStep(ListboxTrack *t, int32_t row) {
    if (row == t->row) return;
    ListboxRec *lb = t->lb;
    t->row = row;
    if (row != t->pressedRow) t->firstStage = false;
    bool multi = (lb->style & LISTBOX_MULTI_SEL) != 0;
    if (multi && t->ctrl) {
        if (row >= 0)
            ListboxSelectRows(lb, row, row, false,
                              t->pressedWasSelected ? LISTBOX_SEL_REMOVE : LISTBOX_SEL_ADD);
    } else if (multi && t->shift) {
        if (row >= 0) ListboxTrackSpan(t, row);
    } else {
        ListboxSelectRows(lb, row, row, false, LISTBOX_SEL_REPLACE);
    }
    if (lb->style & LISTBOX_STEPS) WndNotifyParent(lb->window, LISTBOX_NOTIFY_STEP);
}

// The drag of the pressed row's item, offered to the owner (request 12) without the capture; true when the
// owner ran a drag.
static bool ListboxDragBegin(ListboxTrack *t, POINT point) {
    ListboxRec *lb = t->lb;
    int32_t row = t->pressedRow, item = ListboxRowItem(lb, row);
    if (item < 0) return false;
    ListboxSelectRows(lb, row, row, false, LISTBOX_SEL_REPLACE);
    lb->dragItem = item;
    RECT rect;
    ListboxRowRect(lb, row, &rect);
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = item;
    ListboxNotifySetRect(&record, &rect);
    record.w[LISTBOX_W_X] = point.x;
    record.w[LISTBOX_W_Y] = point.y;
    ReleaseCapture();
    bool ran = ListboxAsk(lb, &record, LISTBOX_REQ_DRAG_BEGIN) != 0;
    if ((t->lb = ListboxFromWindow(t->window)) == nullptr) return true;
    t->lb->dragItem = -1;
    if (!ran) SetCapture(t->window);
    return ran;
}

// Leaving the list sideways in the first stage, or far above or below it, offers a drag; otherwise no row.
static int32_t ListboxTrackDrag(ListboxTrack *t, POINT p) {
    if (!t->firstStage) return -1;
    t->firstStage = false;
    return ListboxDragBegin(t, p) ? LISTBOX_TRACK_END : -1;
}

// Above or below the list: the list scrolls towards the pointer, paced, by the distance in rows.
static int32_t ListboxTrackEdge(ListboxTrack *t, POINT p, int32_t rows, int32_t direction) {
    if (t->firstStage && rows > LISTBOX_DRAG_ROWS) return ListboxTrackDrag(t, p);
    ListboxRec *lb = t->lb;
    TickPace();
    ListboxScrollBy(lb, direction * Clamp(rows, 1, LISTBOX_TRACK_SCROLL_MAX));
    return direction < 0 ? ListboxRowOrNone(lb, lb->topRow) : ListboxLastVisibleRow(lb);
}

static int32_t ListboxTrackRow(ListboxTrack *t, POINT p) {
    ListboxRec *lb = t->lb;
    RECT client;
    GetClientRect(lb->window, &client);
    if (p.x < 0 || p.x >= client.right) return ListboxTrackDrag(t, p);
    if (p.y < lb->listTop)
        return ListboxTrackEdge(t, p, (lb->listTop - p.y + lb->rowHeight - 1) / lb->rowHeight, -1);
    if (p.y >= client.bottom) return ListboxTrackEdge(t, p, (p.y - client.bottom) / lb->rowHeight + 1, 1);
    return ListboxRowUnder(lb, p.y);
}

// A release outside the list or on no row puts back the item that was current before the press, unreported.
static void ListboxTrackRelease(ListboxTrack *t, POINT at) {
    ListboxRec *lb = t->lb;
    int32_t row = ListboxInListArea(lb, at) ? ListboxRowUnder(lb, at.y) : -1;
    if (row < 0) {
        ListboxSetCurItem(lb, t->previous);
        return;
    }
    int32_t item = ListboxRowItem(lb, row);
    if (lb->style & (LISTBOX_STEPS | LISTBOX_NOTIFY_SEL))
        WndNotifyParent(t->window,
                        lb->style & LISTBOX_STEPS ? LISTBOX_NOTIFY_STEP : LISTBOX_NOTIFY_SELECTION);
    if ((lb = ListboxFromWindow(t->window)) == nullptr) return;
    if (t->left && (lb->style & LISTBOX_OUTLINE) && at.x < ListboxTextIndent(lb, item))
        ListboxToggleExpand(t->window, item);
    else if (ListboxInCheckZone(lb, item, at.x))
        ListboxToggleChecks(lb, item);
}

static void ListboxClickTrack(ListboxRec *lb, bool left, WPARAM keys, POINT press) {
    ListboxTrack t = {};
    t.lb = lb;
    t.window = lb->window;
    t.left = left;
    t.ctrl = (keys & MK_CONTROL) != 0;
    t.shift = (keys & MK_SHIFT) != 0;
    t.pressedRow = ListboxInListArea(lb, press) ? ListboxRowUnder(lb, press.y) : -1;
    int32_t pressedItem = ListboxRowItem(lb, t.pressedRow);
    if (left && ListboxInCheckZone(lb, pressedItem, press.x)) {
        ListboxToggleChecks(lb, pressedItem);
        return;
    }
    t.pressedWasSelected = pressedItem >= 0 && ListboxSelHas(lb, pressedItem);
    t.previous = ListboxCurrentItem(lb);
    int32_t currentRow = ListboxItemRow(lb, t.previous);
    t.anchor = currentRow >= 0 ? currentRow : t.pressedRow;
    t.row = -2;
    t.firstStage = true;
    SetCapture(t.window);
    ListboxTrackStep(&t, t.pressedRow);
    POINT at = press;
    for (;;) {
        TrackInput input;
        TrackPollButtons(&input, left ? 1 : 2);
        at = input.pos;
        ScreenToClient(t.window, &at);
        if (!input.button) break;
        int32_t row = ListboxTrackRow(&t, at);
        if (row == LISTBOX_TRACK_END || !t.lb) return;
        ListboxTrackStep(&t, row);
    }
    ReleaseCapture();
    ListboxTrackRelease(&t, at);
}

// ---- Buttons

static LRESULT ListboxOnPress(ListboxRec *lb, bool left, WPARAM keys, POINT point) {
    HWND window = lb->window;
    if (lb->style & LISTBOX_CLICK_FOCUS) SetFocus(window);
    if ((lb = ListboxFromWindow(window)) == nullptr) return 0;
    // A right press keeps a multiple selection for the context menu that follows.
    if (!left && PlexCount(lb->selection) >= 2) return 0;
    ListboxClickTrack(lb, left, keys, point);
    return 0;
}

// A left double-click on the plus or minus image is not a double-click on the item.
static LRESULT ListboxOnDoubleClick(ListboxRec *lb, bool left, POINT point) {
    int32_t item = ListboxCurrentItem(lb);
    if (!(lb->style & LISTBOX_NOTIFY_DBL) || item < 0) return 0;
    if (!left)
        WndNotifyParent(lb->window, LISTBOX_NOTIFY_RDBLCLK);
    else if (!(lb->style & LISTBOX_OUTLINE) || point.x > ListboxTextIndent(lb, item))
        WndNotifyParent(lb->window, LISTBOX_NOTIFY_DBLCLK);
    return 0;
}

LRESULT ListboxInputButton(ListboxRec *lb, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point = PointFromLParam(lParam);
    switch (message) {
    case WM_LBUTTONDOWN: return ListboxOnPress(lb, true, wParam, point);
    case WM_RBUTTONDOWN: return ListboxOnPress(lb, false, wParam, point);
    case WM_LBUTTONDBLCLK: return ListboxOnDoubleClick(lb, true, point);
    case WM_RBUTTONDBLCLK: return ListboxOnDoubleClick(lb, false, point);
    }
    return 0;
}

// ---- Drop target

// The mark of the drop row: a focus rectangle drawn by inversion, so drawing it again takes it away.
static void ListboxDropMarkToggle(ListboxRec *lb) {
    if (lb->dropRow < lb->topRow || lb->dropRow >= lb->topRow + lb->pageRows) return;
    HDC dc = GetDC(lb->window);
    RECT client, rect;
    GetClientRect(lb->window, &client);
    IntersectClipRect(dc, 0, lb->listTop, client.right, client.bottom);
    ListboxRowRect(lb, lb->dropRow, &rect);
    DrawFocusRect(dc, &rect);
    ReleaseDC(lb->window, dc);
}

static void ListboxSetDropRow(ListboxRec *lb, int32_t row) {
    if (row == lb->dropRow) return;
    ListboxDropMarkToggle(lb);
    lb->dropRow = row;
    ListboxDropMarkToggle(lb);
}

// A cursor resting near the top or bottom edge scrolls the list, faster the longer it rests.
static void ListboxDwellScroll(ListboxRec *lb, POINT p, uint32_t elapsed) {
    int32_t height = ListboxListHeight(lb);
    if (height <= 2 * lb->rowHeight) return;
    int32_t zone = Min(height / 3, drawMetrics.dpiY / 2);
    int32_t direction = p.y < lb->listTop + zone ? -1 : p.y >= lb->listTop + height - zone ? 1 : 0;
    if (!direction) return;
    int32_t speed = Min((int32_t)(elapsed / LISTBOX_DWELL_SPEEDUP_MS) + 1, LISTBOX_DWELL_SPEED_MAX);
    ListboxSetDropRow(lb, -1);
    ListboxScrollBy(lb, direction * speed);
    TickSleep(LISTBOX_DWELL_STEP_MS);
}

static LRESULT ListboxDragEnter(ListboxRec *lb, const DragRecord *r) {
    if (r->target != lb->window) return 0;
    ListboxSetDropRow(lb, -1);
    POINT p = {r->x, r->y};
    ScreenToClient(lb->window, &p);
    lb->dragPoint = p;
    lb->dragTime = TickNow();
    return 1;
}

static LRESULT ListboxDragOver(ListboxRec *lb, const DragRecord *r) {
    if (r->target != lb->window) {
        ListboxSetDropRow(lb, -1);
        return 0;
    }
    POINT p = {r->x, r->y};
    uint32_t now = TickNow();
    if (p.x == lb->dragPoint.x && p.y == lb->dragPoint.y) {
        uint32_t elapsed = now - lb->dragTime;
        if (elapsed > LISTBOX_DWELL_MS) ListboxDwellScroll(lb, p, elapsed);
    } else {
        lb->dragPoint = p;
        lb->dragTime = now;
    }
    int32_t row = ListboxInListArea(lb, p) ? ListboxRowUnder(lb, p.y) : -1;
    ListboxSetDropRow(lb, row);
    int32_t item = ListboxRowItem(lb, row);
    return r->source == lb->window && item >= 0 && item == lb->dragItem ? 0 : 1;
}

LRESULT ListboxDragTarget(HWND list, const DragRecord *record) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb || !record) return 0;
    switch (record->phase) {
    case DRAG_ENTER: return ListboxDragEnter(lb, record);
    case DRAG_OVER: return ListboxDragOver(lb, record);
    case DRAG_LEAVE:
    case DRAG_DROP: ListboxSetDropRow(lb, -1); return 0;
    }
    return 0;
}
