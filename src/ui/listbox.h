// listbox: the list control, window class "vx_Listbox" (prefix Listbox). Every list of the program is one. It
// stores no item texts: it keeps a count of items, a shown range or row map over them, a selection, a scroll
// position, up to 10 columns and two style words, and asks its owner for everything else (item texts, outline
// levels, images, check states) through a notification record, either by calling the notify procedure of its
// second style word or by sending message 2026 to the window that was its parent at creation. Rows are what the
// control shows: without a row map row r is item r + range first; with one, row r is the item of map entry r.
// Success: true, a window, an index or a count; failure false, null or -1 as each function says.
#pragma once

#include "base/plex.h"

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <cstdint>

extern const char listboxClass[]; // "vx_Listbox"

// ---- Messages

enum ListboxMessage : UINT {
    LISTBOX_MSG_KEY = 2025,      // wParam key code: a key command, as WM_KEYDOWN
    LISTBOX_MSG_REQUEST = 2026,  // to the owner: wParam request code, lParam ListboxNotify *; the answer
    LISTBOX_MSG_SETRANGE = 2030, // wParam first item, lParam end item (-1: the item count)
    LISTBOX_MSG_SETSTYLE = 2034, // lParam const ListboxStyle *: replaced without side effects, then laid out
    LISTBOX_MSG_DRAG = 2035,     // drag phases: passed on to the parent unchanged
    LISTBOX_MSG_GETSEL = 2037,   // returns ListboxGetSelection's plex
    LISTBOX_MSG_SETSEL = 2038,   // lParam Plex *: replaces the selection (taken over); returns 1
};

// Codes of WM_COMMAND notifications to the parent (the high word; the low word is the control id).
enum ListboxParentNotify : int {
    LISTBOX_NOTIFY_SELECTION = 1,
    LISTBOX_NOTIFY_DBLCLK = 2,
    LISTBOX_NOTIFY_SETFOCUS = 4,
    LISTBOX_NOTIFY_KILLFOCUS = 5,
    LISTBOX_NOTIFY_RDBLCLK = 6,
    LISTBOX_NOTIFY_STEP = 0x1000, // a selection step while dragging or extending (style LISTBOX_STEPS)
};

// ---- Style words

enum ListboxStyleBits : uint32_t {
    LISTBOX_SELECTABLE = 0x1,        // rows can be selected; Up and Down move the selection; focus rectangle
    LISTBOX_NOTIFY_SEL = 0x2,        // selection changes are reported (LISTBOX_NOTIFY_SELECTION)
    LISTBOX_NOTIFY_DBL = 0x4,        // double-clicks are reported (LISTBOX_NOTIFY_DBLCLK, _RDBLCLK)
    LISTBOX_OWNER_DRAW = 0x8,        // row height from request 4, every cell painted by the owner (request 3)
    LISTBOX_CLICK_FOCUS = 0x10,      // a click gives the control the focus
    LISTBOX_STEPS = 0x20,            // every selection step while dragging or extending is reported
    LISTBOX_CONTEXT_MENU = 0x40,     // the control's own context menu instead of the parent's
    LISTBOX_MULTI_SEL = 0x80,        // multiple selection
    LISTBOX_OUTLINE = 0x100,         // items have outline levels and can be expanded and collapsed
    LISTBOX_TABS = 0x200,            // item text drawn with tab expansion
    LISTBOX_HEADER = 0x400,          // column header shown
    LISTBOX_TAB_COLUMNS = 0x800,     // with several columns the text is split at tabs into the columns
    LISTBOX_HEADER_BUTTONS = 0x1000, // header items are buttons
    LISTBOX_CHECKS = 0x2000,         // a check image before each item's text
    LISTBOX_WHOLE_ROWS = 0x4000,     // the control sizes its window to a whole number of rows
    LISTBOX_TRI_STATE = 0x8000,      // check states cycle through three values
    LISTBOX_FIXED_COLUMNS = 0x10000, // no column stretches on resize
    LISTBOX_ALT_TEXT = 0x20000,      // type-ahead compares the alternate text (request 26)
    LISTBOX_OWNER_FILTER = 0x80000,  // narrowing is first offered to the owner (request 27)
    LISTBOX_NO_SYLLABLES = 0x100000, // narrowing never matches by syllables
    LISTBOX_SORTED = 0x200000,       // items are sorted: type-ahead by one initial uses a binary search
    LISTBOX_STRIPES = 0x400000,      // alternate rows shaded even with one column
};

struct ListboxNotify;
// Receives the notification records in place of the owner; its answer is the request's answer.
typedef LRESULT (*ListboxNotifyProc)(ListboxNotify *record);

// The two style words: the creation parameter of the window (CreateWindowEx's last argument points to such a
// record, or is null for the defaults), the argument of message 2034. In memory only: the second word is
// pointer-sized.
struct ListboxStyle {
    uint32_t style;           // ListboxStyleBits
    ListboxNotifyProc notify; // null: requests go to the owner as message 2026
};

// 0x201817 (selectable, reported, double-clicks, click focus, header buttons, tab columns, sorted), no notify
// procedure.
ListboxStyle ListboxDefaultStyle();

// ---- Notification record

// Request codes (word 0). The answer 0 means "not handled" unless said otherwise.
enum ListboxRequest : int32_t {
    LISTBOX_REQ_COUNT = 1,         // -> item count
    LISTBOX_REQ_TEXT = 2,          // item, buffer (256), column key -> text length 0..255
    LISTBOX_REQ_PAINT_CELL = 3,    // item, cell rectangle, DC, state, column key: the owner paints the cell
    LISTBOX_REQ_TEXT_HEIGHT = 4,   // -> row text height (style LISTBOX_OWNER_DRAW)
    LISTBOX_REQ_MOUSE = 5,         // item or -1, client rectangle, x, y, message, column key -> 0 swallows
    LISTBOX_REQ_KEY_COMMAND = 6,   // key code -> list command 1..12, 0 for the built-in mapping
    LISTBOX_REQ_KEY = 7,           // key code -> 0 swallows the key
    LISTBOX_REQ_PAINT_BEGIN = 9,   //
    LISTBOX_REQ_PAINT_END = 10,    //
    LISTBOX_REQ_DRAG_BEGIN = 12,   // item, item rectangle, x, y -> nonzero: the owner ran a drag
    LISTBOX_REQ_LEVEL = 13,        // item -> outline level, 0 = top
    LISTBOX_REQ_EXPAND = 14,       // item -> rows added
    LISTBOX_REQ_COLLAPSE = 15,     // item -> rows removed
    LISTBOX_REQ_EXPAND_ALL = 16,   // item -> rows added
    LISTBOX_REQ_EXPAND_STATE = 17, // item -> ListboxExpandState, 0 = let the control derive it
    LISTBOX_REQ_IMAGE = 18,        // item -> image index, -1 none
    LISTBOX_REQ_NEXT_SIBLING =
        19,                // item, level -> next item at that level, -1 none, 0 = let the control walk
    LISTBOX_REQ_SIZE = 20, // client rectangle: the size changed
    LISTBOX_REQ_COLUMN_TITLE = 21, // buffer (256), column key -> title length
    LISTBOX_REQ_HEADER_CLICK = 22, // -1, message, column key
    LISTBOX_REQ_GET_CHECK = 23,    // item -> check state
    LISTBOX_REQ_SET_CHECK = 24,    // item, new check state
    LISTBOX_REQ_MEASURE_CELL = 25, // item, row rectangle, DC, state, column key, use, tip record to fill
    LISTBOX_REQ_ALT_TEXT = 26,     // as LISTBOX_REQ_TEXT: the alternate text (style LISTBOX_ALT_TEXT)
    LISTBOX_REQ_FILTER = 27,       // text, flag -> ListboxFilterAnswer
    LISTBOX_REQ_COLUMN_SIZED = 29, // -1, column key: the user finished resizing that column
};

// Words of the record. Word 0 is the code, word 1 the control id, word 2 the control window; the other words
// mean what the code says. Several names share a word.
enum ListboxNotifyWord : int {
    LISTBOX_W_CODE = 0,
    LISTBOX_W_ID = 1,
    LISTBOX_W_WINDOW = 2,
    LISTBOX_W_ITEM = 3,          // every request about an item; -1 for 22 and 29
    LISTBOX_W_TEXT = 3,          // 27: the typed text (const char *)
    LISTBOX_W_BUFFER = 4,        // 2, 21, 26: a buffer of 256 characters (char *)
    LISTBOX_W_KEY_CODE = 4,      // 6, 7
    LISTBOX_W_LEVEL = 4,         // 19
    LISTBOX_W_NEW_CHECK = 4,     // 24
    LISTBOX_W_FLAG = 4,          // 27
    LISTBOX_W_RECT = 4,          // 3, 5, 12, 20, 25: left, top, right, bottom in words 4 to 7
    LISTBOX_W_TEXT_COLUMN = 5,   // 2, 21, 26: the column key
    LISTBOX_W_DC = 8,            // 3, 25 (HDC)
    LISTBOX_W_X = 8,             // 5, 12
    LISTBOX_W_Y = 9,             // 5, 12
    LISTBOX_W_STATE = 9,         // 3, 25: ListboxCellState
    LISTBOX_W_CELL_COLUMN = 10,  // 3, 25: the column key
    LISTBOX_W_MESSAGE = 10,      // 5, 22: the mouse message
    LISTBOX_W_USE = 11,          // 25: ListboxPaintUse
    LISTBOX_W_TIP = 12,          // 25: the tip record in words 12 to 16, which the owner fills
    LISTBOX_W_MOUSE_COLUMN = 12, // 5, 22, 29: the column key
};

enum { LISTBOX_NOTIFY_WORDS = 17, LISTBOX_TEXT_MAX = 255 };

// 17 words. Each word is pointer-sized in memory, since a word may carry a window, a DC, a buffer or a text:
// 68 bytes on 32-bit Windows, in the same order and larger on 64-bit.
struct ListboxNotify {
    intptr_t w[LISTBOX_NOTIFY_WORDS];
};

enum ListboxCellState : int32_t { LISTBOX_CELL_SELECTED = 0x1, LISTBOX_CELL_NO_MATCH = 0x2 };
enum ListboxPaintUse : int32_t { LISTBOX_USE_PAINT = 0, LISTBOX_USE_MEASURE = 1, LISTBOX_USE_TIP = 2 };
enum ListboxExpandState : int32_t { LISTBOX_EXPANDED = 1, LISTBOX_COLLAPSED = 2, LISTBOX_NO_CHILDREN = 3 };

// The tip record of a measured row: five 32-bit words, the text rectangle in the list's client coordinates.
struct ListboxTipRec {
    int32_t cut; // nonzero when the row's text does not fit
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
static_assert(sizeof(ListboxTipRec) == 20);

inline int32_t ListboxNotifyInt(const ListboxNotify *record, int word) {
    return (int32_t)record->w[word];
}
inline HWND ListboxNotifyWindow(const ListboxNotify *record) {
    return (HWND)record->w[LISTBOX_W_WINDOW];
}
inline char *ListboxNotifyBuffer(const ListboxNotify *record) {
    return (char *)record->w[LISTBOX_W_BUFFER];
}
inline const char *ListboxNotifyText(const ListboxNotify *record) {
    return (const char *)record->w[LISTBOX_W_TEXT];
}
inline HDC ListboxNotifyDC(const ListboxNotify *record) {
    return (HDC)record->w[LISTBOX_W_DC];
}
inline RECT ListboxNotifyRect(const ListboxNotify *record) {
    const intptr_t *w = record->w + LISTBOX_W_RECT;
    return RECT{(LONG)w[0], (LONG)w[1], (LONG)w[2], (LONG)w[3]};
}
inline void ListboxNotifySetRect(ListboxNotify *record, const RECT *rect) {
    intptr_t *w = record->w + LISTBOX_W_RECT;
    w[0] = rect->left;
    w[1] = rect->top;
    w[2] = rect->right;
    w[3] = rect->bottom;
}
inline void ListboxNotifySetTip(ListboxNotify *record, const ListboxTipRec *tip) {
    const int32_t words[] = {tip->cut, tip->left, tip->top, tip->right, tip->bottom};
    for (int i = 0; i < 5; i++) record->w[LISTBOX_W_TIP + i] = words[i];
}

// Answers to LISTBOX_REQ_FILTER.
enum ListboxFilterAnswer : int32_t {
    LISTBOX_FILTER_REFUSE = 0,      // narrowing ends with result 0
    LISTBOX_FILTER_GO_ON = 1,       // the control narrows (so does any answer not named here)
    LISTBOX_FILTER_OWN = 2,         // the owner narrowed the list itself
    LISTBOX_FILTER_DONE = 3,        // nothing more to do
    LISTBOX_FILTER_WHOLE = 4,       // owner filter and row map cleared, the whole list shown
    LISTBOX_FILTER_NO_MATCH = 5,    // the same, greyed
    LISTBOX_FILTER_NO_SYLLABLE = 6, // owner filter cleared; the control narrows without syllables
};

// ---- Columns

enum ListboxColumnFlags : uint32_t {
    LISTBOX_COL_STRETCH = 0x2,   // absorbs width changes (only the first or the last column is looked at)
    LISTBOX_COL_RESIZABLE = 0x4, // resizable from the header
    LISTBOX_COL_CLICKS = 0x8,    // header clicks are reported (request 22)
    LISTBOX_COL_ALIGN = 0x30,    // text in the row: 0 left, 0x10 right, 0x20 centred
    LISTBOX_COL_ALIGN_RIGHT = 0x10,
    LISTBOX_COL_ALIGN_CENTER = 0x20,
    LISTBOX_COL_TITLE = 0xC0, // header text: 0 left, 0x40 right, 0x80 centred
    LISTBOX_COL_TITLE_RIGHT = 0x40,
    LISTBOX_COL_TITLE_CENTER = 0x80,
    LISTBOX_COL_KEEP_WIDTH = 0x200, // keep the width while the client width is unchanged
};

enum { LISTBOX_COLUMNS_MAX = 10 };

// A column: six 32-bit words.
struct ListboxColumn {
    uint32_t flags;   // ListboxColumnFlags
    int32_t width;    // pixels, at least the minimum
    int32_t minWidth; // at least 0
    int32_t key;      // handed back to the owner in text and title requests
    int32_t reserved[2];
};
static_assert(sizeof(ListboxColumn) == 24);

// ---- The module

// Loads the outline plus and minus bitmaps into the module's image list; the first creation does it when
// nobody did. False when they cannot be loaded.
bool ListboxInit();
void ListboxTerm();
bool ListboxRegisterClass();

// A child list (WS_CHILD, WS_CLIPCHILDREN, WS_BORDER, WS_VSCROLL, WS_TABSTOP, and WS_VISIBLE when asked) over
// the rectangle; null style words take the defaults. Null when it cannot be created.
HWND ListboxCreate(HWND parent, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   const ListboxStyle *style, bool visible);

// ---- Items, rows and the selection

int32_t ListboxGetCount(HWND list);
int32_t ListboxGetCurSel(HWND list);    // the current item (the selection's first), -1 when none
int32_t ListboxGetSingleSel(HWND list); // the item when exactly one is selected, else -1
Plex *ListboxGetSelection(HWND list);   // a new plex of the selected items, ascending (the caller frees it)
bool ListboxHasMultiSel(HWND list);
bool ListboxIsSelected(HWND list, int32_t item);
// The only selection; the item is clamped to -1..count - 1 and -1 clears. Not reported.
void ListboxSetCurSel(HWND list, int32_t item);
void ListboxSetSelection(HWND list, Plex *selection); // taken over; its first item becomes the current one
void ListboxClearSelection(HWND list);
void ListboxSelectAll(HWND list);

enum ListboxSelectMode : int32_t { LISTBOX_SEL_REPLACE = 0, LISTBOX_SEL_ADD = 1, LISTBOX_SEL_REMOVE = 2 };
// The selection core over rows a..b: replace, add to or remove from the selection; replacing scrolls row a into
// view. With notify a non-empty selection is reported (style LISTBOX_NOTIFY_SEL).
void ListboxSelectRange(HWND list, int32_t a, int32_t b, bool notify, ListboxSelectMode mode);

void ListboxGetRange(HWND list, int32_t *first, int32_t *end);
// The item's text (request 2) into a buffer of 256 characters; its length.
int32_t ListboxGetItemText(HWND list, int32_t item, char *buffer);
bool ListboxGetItemRect(HWND list, int32_t item, RECT *out);   // false when the item is not shown
int32_t ListboxItemFromPoint(HWND list, int32_t x, int32_t y); // client point; -1 outside the items
// Screen rectangle at the control's position that fits min(rows, n) rows (and one more) and the widest text
// of max(n, page rows) rows from the top row.
bool ListboxGetFitRect(HWND list, int32_t n, RECT *out);
void ListboxRedrawItems(HWND list, int32_t item, int32_t n); // n rows from the item's row
// Asks the owner again: select -2 keeps the current item, -1 selects none, another item selects it.
void ListboxReload(HWND list, int32_t select);

// ---- Style, colours, fonts and images

void ListboxGetStyle(HWND list, ListboxStyle *out);
void ListboxSetStyle(HWND list, const ListboxStyle *style);
void ListboxSetOwnerMeasure(HWND list, bool on); // LISTBOX_OWNER_DRAW
void ListboxSetMultiSel(HWND list, bool on);     // LISTBOX_MULTI_SEL
void ListboxSetStyle2000(HWND list, bool on);    // LISTBOX_CHECKS
void ListboxSetTriState(HWND list, bool on);     // LISTBOX_TRI_STATE
void ListboxSetAltText(HWND list, bool on);      // LISTBOX_ALT_TEXT
void ListboxSetFixedColumns(HWND list, bool on); // LISTBOX_FIXED_COLUMNS, then the columns are fitted
// LISTBOX_OUTLINE; with images the indent unit is the width of the plus and minus bitmaps, else 0.
void ListboxSetOutline(HWND list, bool on, bool images);
void ListboxSetColors(HWND list, COLORREF text, COLORREF back);
void ListboxGetColors(HWND list, COLORREF *text, COLORREF *back);
void ListboxSetImageList(HWND list, HIMAGELIST images); // null: no item images
HFONT ListboxGetFont(HWND list);                        // null: the default GUI font
int32_t ListboxGetLineHeight(HWND list);                // the font's height plus its external leading
// During a text request: raise (true) or lower the bold counter; a row whose counter is at least 1 after the
// request is drawn in bold.
void ListboxSetBold(HWND list, bool raise);

// ---- Columns and header

void ListboxColumnInit(ListboxColumn *column);                 // zeroes it
bool ListboxAddColumn(HWND list, const ListboxColumn *column); // false for an 11th column
// Replaces column n (0..count; n == count appends). False for n outside that or outside 0..9.
bool ListboxSetColumn(HWND list, int32_t n, const ListboxColumn *column);
void ListboxSetOneColumn(HWND list, const ListboxColumn *column); // as wide as the client area
// Copies at most n columns, each width read back from its header item; the number copied.
int32_t ListboxGetColumns(HWND list, ListboxColumn *out, int32_t n);
void ListboxLayoutColumns(HWND list);
void ListboxRefreshHeader(HWND list); // rewrites every header item
void ListboxSetHeaderButtons(HWND list, bool on);
void ListboxShowHeader(HWND list); // creates the header

// ---- Outline and dragging (their behaviour comes with the list's mouse and key handling)

ListboxExpandState ListboxGetExpandState(HWND list, int32_t item); // LISTBOX_COLLAPSED when not an outline
bool ListboxExpand(HWND list, int32_t item, bool allLevels);
bool ListboxCollapse(HWND list, int32_t item);
bool ListboxToggleExpand(HWND list, int32_t item);
int32_t ListboxGetDropRow(HWND list); // the drop-target row during a drag, -1 none

// ---- Type-ahead and narrowing

enum ListboxFindFlags : uint32_t {
    LISTBOX_FIND_EQUAL = 0x1,        // narrow to the items equal to the text ignoring case
    LISTBOX_FIND_EXACT_CASE = 0x2,   // prefer an exact-case match within the range
    LISTBOX_FIND_NO_INTERRUPT = 0x4, // pending input does not cut the work short
};

// The row that a typed character finds by initials (one, or two within 500 ms in the same list), -1 none.
int32_t ListboxTypeChar(HWND list, int ch);
// The application's preference: narrowing by identifier syllables ('FiWi' finds 'FindWindow').
void ListboxSetSyllableMatching(bool on);
// Narrow the list to the items that match the text (or the edit's text) and select the best one. True when
// done; false when cut short by pending input or refused by the owner.
bool ListboxSelectByEditText(HWND list, HWND edit, uint32_t flags);
bool ListboxSelectByText(HWND list, const char *text, uint32_t flags);
bool ListboxFilterByText(HWND list, const char *text, uint32_t flags);
// Narrow a list sorted in identifier order to the items that begin with the text (or equal it with
// LISTBOX_FIND_EQUAL) by binary searches.
bool ListboxSelectByPrefix(HWND list, const char *text, uint32_t flags);

// ---- Hover tip

// The idle poll: over a list inside the window (null: any) while the program is in front, a row whose text
// is cut shows its whole text in a tip window.
void ListboxTipPoll(HWND within);
void ListboxTipClose();
HWND ListboxTipWindow(); // the open tip, or null
// The message hook that the main loop and the modal loops run for every message while a tip is open: true
// when it consumed the message.
bool ListboxPopupPreTranslate(MSG *msg);
// The tip window is being destroyed: forgets it when it is the list's tip.
void ListboxTipForget(HWND tip);
