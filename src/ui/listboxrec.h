// listboxrec: the list control's record and what its source files share (prefix Listbox). The control is
// one module in five files: listbox (the record, creation, messages, rows, selection and layout), listcol
// (columns and the header), listpaint (the row painter), listtip (the hover tip) and listfind (type-ahead
// and narrowing). Nothing outside them includes this header.
#pragma once

#include "ui/listbox.h"

#include <cstdint>

enum ListboxRecFlags : uint32_t {
    LISTBOX_FLAG_NO_MATCH = 0x1, // the whole list is shown greyed: a narrowing came out empty
};

// An entry of the row map: the item, and bit 0 matched by syllables only, bits 1-5 its number of syllables.
struct ListboxMapEntry {
    int32_t item;
    uint32_t match;
};
static_assert(sizeof(ListboxMapEntry) == 8);
enum : uint32_t {
    LISTBOX_MATCH_SYLLABLES = 0x1,
    LISTBOX_MATCH_COUNT_SHIFT = 1,
    LISTBOX_MATCH_COUNT_MAX = 31
};

// The list record, in a memory handle whose pointer is the window's one extra word. In memory only.
struct ListboxRec {
    int32_t itemCount;  // the owner's answer to LISTBOX_REQ_COUNT
    int32_t rangeFirst; // the shown range of items
    int32_t rangeEnd;
    int32_t rowCount; // rangeEnd - rangeFirst, or the row map's length while it is in force
    int32_t topRow;
    int32_t pageRows; // the list area's height in rows, rounded up
    Plex *selection;  // item indexes; element 0 is the current item
    HWND window;
    HWND owner; // the parent at creation
    HWND header;
    int32_t controlId; // -1 until first needed
    HFONT font;        // null: the default GUI font
    HFONT boldFont;    // made on first use
    int32_t textHeight;
    int32_t tabStop; // twice the width of "N"
    int32_t rowHeight;
    int32_t listTop; // the header's height
    int32_t lastWidth;
    uint32_t style;
    ListboxNotifyProc notify;
    uint32_t flags; // ListboxRecFlags
    COLORREF textColor;
    COLORREF backColor;
    uint32_t dragTime;
    POINT dragPoint;
    int32_t dropRow;
    int32_t dragItem;
    HIMAGELIST imageList;
    int32_t imageWidth;
    int32_t imageHeight;
    int32_t columnCount;
    ListboxColumn columns[LISTBOX_COLUMNS_MAX];
    int32_t boldCounter; // 0 before each text request; the owner raises it for a bold row
    int32_t indentUnit;  // width of the plus and minus bitmaps; 0 without outline images
    bool mapped;
    Plex *rowMap; // ListboxMapEntry
    bool ownerFilter;
    int32_t anchorRow;
    // The control's own bookkeeping.
    bool viewOwnerFilter; // the owner filter as the view was last set
    int32_t layoutDepth;
    bool layoutAgain; // a size change arrived while laying out
    bool layoutFit;
    int32_t trackColumn; // the column whose divider the header is tracking, -1 none
    int32_t trackX;      // where the tracking line stands, -1 none
    int32_t focusHidden; // nesting of ListboxFocusHide
};

enum : UINT_PTR { LISTBOX_TIP_TIMER = 104 }; // closes the hover tip: on the frame, else on the list

// ---- listbox.cpp

// An owner's answer as a text length: 0..255.
inline int32_t ListboxTextLength(LRESULT answer) {
    return answer < 0 ? 0 : answer > (LRESULT)LISTBOX_TEXT_MAX ? (int32_t)LISTBOX_TEXT_MAX : (int32_t)answer;
}

ListboxRec *ListboxFromWindow(HWND list);                         // null for no list
bool ListboxIsList(HWND window);                                  // of class vx_Listbox
HIMAGELIST ListboxOutlineImages(int32_t *width, int32_t *height); // plus, then minus
// Fills words 0 to 2 and asks the notify procedure or the owner.
LRESULT ListboxAsk(ListboxRec *lb, ListboxNotify *record, ListboxRequest code);
LRESULT ListboxAskItem(ListboxRec *lb, ListboxRequest code, int32_t item); // word 3 the item
// The item's text (or alternate text) for the column key into a buffer of 256; its length. The bold counter
// is set to 0 first.
int32_t ListboxFetchText(ListboxRec *lb, int32_t item, int32_t key, bool alternate, char *buffer);
int32_t ListboxItemLevel(ListboxRec *lb, int32_t item); // 0 unless an outline
ListboxExpandState ListboxExpandStateOf(ListboxRec *lb, int32_t item);
int32_t ListboxRowItem(const ListboxRec *lb, int32_t row);  // -1 for a row without an item
int32_t ListboxItemRow(const ListboxRec *lb, int32_t item); // -1 when not shown
int32_t ListboxCurrentItem(const ListboxRec *lb);
bool ListboxSelHas(const ListboxRec *lb, int32_t item);
HFONT ListboxFontOf(const ListboxRec *lb);
int32_t ListboxListHeight(const ListboxRec *lb);
int32_t ListboxWholeRows(const ListboxRec *lb); // whole rows in the list area, at least 1
void ListboxRowRect(const ListboxRec *lb, int32_t row, RECT *out);

void ListboxLayout(ListboxRec *lb, bool fitColumns);
void ListboxMeasure(ListboxRec *lb);
void ListboxSetRange(ListboxRec *lb, int32_t first, int32_t end); // message 2030
void ListboxDropRowMap(ListboxRec *lb); // with a row map in force: the whole range, as 2030 with 0, -1
void ListboxSelectRows(ListboxRec *lb, int32_t a, int32_t b, bool notify, ListboxSelectMode mode);
void ListboxSetCurItem(ListboxRec *lb, int32_t item); // ListboxSetCurSel on the record
void ListboxClearSel(ListboxRec *lb);                 // unpainted, not reported
void ListboxScrollTo(ListboxRec *lb, int32_t top);
void ListboxScrollIntoView(ListboxRec *lb, int32_t row);
void ListboxInvalidateRows(ListboxRec *lb, int32_t first, int32_t n); // the visible ones
void ListboxInvalidateList(ListboxRec *lb);

// The focus rectangle, drawn by inversion: Toggle draws it, Hide and Show only while the control has the
// focus, around every change of the selection, the scroll position or the rows.
void ListboxFocusToggle(ListboxRec *lb, HDC dc);
void ListboxFocusHide(ListboxRec *lb);
void ListboxFocusShow(ListboxRec *lb);

// ---- listcol.cpp

void ListboxColumnsReset(ListboxRec *lb);                   // one column as wide as the client area
int32_t ListboxColumnLeft(const ListboxRec *lb, int32_t n); // the sum of the widths before column n
void ListboxFitColumns(ListboxRec *lb);
bool ListboxHeaderCreate(ListboxRec *lb);
void ListboxHeaderRewrite(ListboxRec *lb); // every item, from the columns
void ListboxHeaderSetButtons(ListboxRec *lb);
LRESULT ListboxHeaderNotify(ListboxRec *lb, NMHDR *note);

// ---- listpaint.cpp

// The row painter: rows from first, at most n, stopping at the end of the page. Mode 0 as the selection
// says, 1 as selected, 2 as not selected. A measure fills the tip record.
void ListboxPaintRows(ListboxRec *lb, HDC dc, int32_t first, int32_t n, int32_t mode, ListboxPaintUse use,
                      ListboxTipRec *tip);
void ListboxOnPaint(ListboxRec *lb);
void ListboxPrintClient(ListboxRec *lb, HDC dc);

// ---- listtip.cpp

void ListboxTipListGone(HWND list); // the list is destroyed: its tip closes

// ---- listfind.cpp

// Puts a new row map in force (taken over) and selects the row's item, unreported; an identical map changes
// nothing and is freed.
void ListboxSetRowMap(ListboxRec *lb, Plex *map, int32_t row);
