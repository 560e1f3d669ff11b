// listpaint: the list control's row painter (prefix Listbox). One painter serves three uses: painting rows,
// measuring a row for the hover tip, and painting a row into the tip window. It works on a copy of the record
// taken at its start, since the owner's answers may change the record meanwhile; only the bold counter is
// read back from the live record after each text request.
#include "ui/listboxrec.h"

#include "base/monitor.h"
#include "base/utilil.h"
#include "ui/color.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/theme.h"

#include <cstring>

enum : COLORREF { LISTBOX_LINE_COLOR = RGB(128, 128, 128) };
enum : int32_t { LISTBOX_LEVELS_CACHED = 32 };

// The painter's state for one call.
struct ListboxPainter {
    ListboxRec rec;   // the copy
    ListboxRec *live; // for the bold counter
    HDC dc;
    int32_t mode;
    ListboxPaintUse use;
    ListboxTipRec *tip;
    COLORREF stripe;
    int32_t gap;
    int32_t levelWidth;
    int32_t checkSize;
    int32_t imageTop; // offset of images from the row top
    int32_t textTop;  // offset of text from the row top
    int32_t right;    // the client area's right edge
    int32_t avgWidth; // of the font, for column margins
    HFONT font;
    HIMAGELIST outline;
    // The control's own search for later siblings, kept over the rows of one call: from item from[l] the
    // first later item at level l or shallower is hit[l].
    int32_t from[LISTBOX_LEVELS_CACHED];
    int32_t hit[LISTBOX_LEVELS_CACHED];
};

// One row being painted.
struct ListboxRow {
    int32_t row;
    int32_t item;
    RECT rect;
    bool selected;
    COLORREF back;
    COLORREF text;
    int32_t level;
    int32_t indentX; // where the item's text would start without checks and images
    int32_t x;
    char buffer[LISTBOX_TEXT_MAX + 1];
    const char *rest; // the tab-separated pieces of the further columns
};

// ---- Geometry

static int32_t ListboxIndent(const ListboxPainter *p, int32_t level) {
    return (p->rec.indentUnit ? level + 1 : level) * p->levelWidth;
}

// A level's connector runs down the middle of its indent: through the plus or minus image when there is one.
static int32_t ListboxConnectorX(const ListboxPainter *p, int32_t level) {
    return 2 + ListboxIndent(p, level) - p->levelWidth / 2;
}

static void ListboxPainterBegin(ListboxPainter *p) {
    const ListboxRec &r = p->rec;
    bool stripes = (r.style & LISTBOX_STRIPES) || r.columnCount > 1;
    p->stripe = stripes ? ColorScale(r.backColor, 95) : r.backColor;
    p->gap = r.indentUnit ? 3 : HalfUp(r.imageWidth) + 2;
    p->levelWidth = r.indentUnit + 2 * p->gap;
    p->checkSize = r.style & LISTBOX_CHECKS ? r.rowHeight * (ThemeIsActive() ? 90 : 75) / 100 : 0;
    int32_t outlineWidth, outlineHeight;
    p->outline = ListboxOutlineImages(&outlineWidth, &outlineHeight);
    p->imageTop = HalfUp(r.rowHeight - Max(r.imageHeight, r.indentUnit ? outlineHeight : 0));
    p->textTop = (r.rowHeight - r.textHeight) / 2;
    RECT client;
    GetClientRect(r.window, &client);
    p->right = client.right;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(p->dc, &metrics);
    p->avgWidth = metrics.tmAveCharWidth;
    for (int32_t l = 0; l < LISTBOX_LEVELS_CACHED; l++) p->from[l] = p->hit[l] = -1;
}

// ---- Outline lines

// Whether a later item lies at that level before any shallower one: the owner's answer, else a walk, whose
// result serves every following row up to the item it met.
static bool ListboxHasLaterSibling(ListboxPainter *p, int32_t item, int32_t level) {
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = item;
    record.w[LISTBOX_W_LEVEL] = level;
    LRESULT next = ListboxAsk(p->live, &record, LISTBOX_REQ_NEXT_SIBLING);
    if (next != 0) return next > 0;
    bool cached = level < LISTBOX_LEVELS_CACHED;
    if (cached && p->from[level] >= 0 && p->from[level] < item && item < p->hit[level])
        return p->hit[level] < p->rec.itemCount && ListboxItemLevel(p->live, p->hit[level]) == level;
    int32_t i = item + 1;
    while (i < p->rec.itemCount && ListboxItemLevel(p->live, i) > level) i++;
    if (cached) p->from[level] = item, p->hit[level] = i;
    return i < p->rec.itemCount && ListboxItemLevel(p->live, i) == level;
}

static void ListboxPaintOutline(ListboxPainter *p, const ListboxRow *row) {
    const ListboxRec &r = p->rec;
    int32_t top = row->rect.top, mid = top + r.rowHeight / 2, bottom = row->rect.bottom;
    int32_t x = ListboxConnectorX(p, row->level);
    if (row->level > 0 || r.indentUnit) DrawDottedLineH(p->dc, x, mid, x + p->levelWidth, LISTBOX_LINE_COLOR);
    for (int32_t level = row->level; level >= 0; level--) {
        int32_t lx = ListboxConnectorX(p, level);
        bool sibling = ListboxHasLaterSibling(p, row->item, level);
        if (lx < 0 || (level == 0 && !r.indentUnit) || (!sibling && level != row->level)) continue;
        int32_t from = row->row == 0 ? mid : top;
        int32_t to = sibling && row->row != r.rowCount - 1 ? bottom : mid;
        if (from < to) DrawDottedLineV(p->dc, lx, from, to, LISTBOX_LINE_COLOR);
    }
    if (!r.indentUnit) return;
    ListboxExpandState state = ListboxExpandStateOf(p->live, row->item);
    if (state == LISTBOX_EXPANDED || state == LISTBOX_COLLAPSED)
        ImageList_Draw(p->outline, state == LISTBOX_COLLAPSED ? 0 : 1, p->dc,
                       row->indentX - p->gap - r.indentUnit, top + p->imageTop, ILD_NORMAL);
}

// ---- Rows

static void ListboxRowColors(ListboxPainter *p, ListboxRow *row) {
    const ListboxRec &r = p->rec;
    bool selectable = r.style & LISTBOX_SELECTABLE;
    row->selected = p->mode == 0 ? selectable && row->item >= 0 && ListboxSelHas(&r, row->item)
                                 : p->mode == 1 && selectable;
    row->back = row->selected ? GetSysColor(COLOR_HIGHLIGHT) : (row->row & 1) ? p->stripe : r.backColor;
    row->text = row->selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : r.textColor;
    if (r.flags & LISTBOX_FLAG_NO_MATCH) row->text = GetSysColor(COLOR_GRAYTEXT);
    SetBkColor(p->dc, row->back);
    SetTextColor(p->dc, row->text);
}

static int32_t ListboxCellState(const ListboxPainter *p, const ListboxRow *row) {
    return (row->selected ? LISTBOX_CELL_SELECTED : 0) |
           (p->rec.flags & LISTBOX_FLAG_NO_MATCH ? LISTBOX_CELL_NO_MATCH : 0);
}

// The owner paints each cell, or measures the row for the tip.
static void ListboxPaintOwnerRow(ListboxPainter *p, const ListboxRow *row) {
    const ListboxRec &r = p->rec;
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = row->item;
    record.w[LISTBOX_W_DC] = (intptr_t)p->dc;
    record.w[LISTBOX_W_STATE] = ListboxCellState(p, row);
    if (p->use == LISTBOX_USE_MEASURE) {
        ListboxNotifySetRect(&record, &row->rect);
        record.w[LISTBOX_W_CELL_COLUMN] = r.columns[0].key;
        record.w[LISTBOX_W_USE] = p->use;
        ListboxNotifySetTip(&record, p->tip);
        ListboxAsk(p->live, &record, LISTBOX_REQ_MEASURE_CELL);
        const intptr_t *w = record.w + LISTBOX_W_TIP;
        *p->tip = ListboxTipRec{(int32_t)w[0], (int32_t)w[1], (int32_t)w[2], (int32_t)w[3], (int32_t)w[4]};
        return;
    }
    int32_t columns = p->use == LISTBOX_USE_TIP ? 1 : r.columnCount;
    for (int32_t n = 0; n < columns; n++) {
        int32_t left = row->rect.left + ListboxColumnLeft(&r, n);
        RECT cell = {left, row->rect.top,
                     n == r.columnCount - 1 ? Max(p->right, left) : left + r.columns[n].width,
                     row->rect.bottom};
        if (p->use == LISTBOX_USE_TIP) cell = RECT{p->tip->left, p->tip->top, p->tip->right, p->tip->bottom};
        ListboxNotifySetRect(&record, &cell);
        record.w[LISTBOX_W_CELL_COLUMN] = r.columns[n].key;
        ListboxAsk(p->live, &record, LISTBOX_REQ_PAINT_CELL);
    }
}

// The text of column 0 and, from the live record, the font of the row; with tab columns the text ends at its
// first tab and the rest feeds the further columns.
static int32_t ListboxRowText(ListboxPainter *p, ListboxRow *row) {
    const ListboxRec &r = p->rec;
    int32_t length = ListboxFetchText(p->live, row->item, r.columns[0].key, false, row->buffer);
    bool bold = p->live->boldCounter >= 1;
    if (bold && !p->live->boldFont) p->live->boldFont = FontCreateBold(0, 0, p->font);
    SelectObject(p->dc, bold && p->live->boldFont ? p->live->boldFont : p->font);
    row->rest = nullptr;
    if (r.columnCount > 1 && (r.style & LISTBOX_TAB_COLUMNS) && !(r.style & LISTBOX_TABS)) {
        if (char *tab = strchr(row->buffer, '\t')) {
            *tab = 0;
            row->rest = tab + 1;
            length = (int32_t)(tab - row->buffer);
        }
    }
    return length;
}

static int32_t ListboxMeasureText(const ListboxPainter *p, const char *text, int32_t length) {
    if (!(p->rec.style & LISTBOX_TABS)) return DrawTextWidth(p->dc, text, length);
    INT stop = p->rec.tabStop;
    return LOWORD(GetTabbedTextExtentA(p->dc, text, length, 1, &stop));
}

// The check image, the outline, the item image: each moves the text start to the right.
static void ListboxPaintDecorations(ListboxPainter *p, ListboxRow *row) {
    const ListboxRec &r = p->rec;
    bool painting = p->use == LISTBOX_USE_PAINT;
    if (painting) {
        int32_t strip = row->x + (r.imageList ? r.imageWidth + 6 : 0) + (p->checkSize ? p->checkSize + 4 : 0);
        RECT fill = {row->rect.left, row->rect.top, strip, row->rect.bottom};
        DrawFillRect(p->dc, &fill, row->back);
    }
    if (p->checkSize) {
        if (painting) {
            int32_t state =
                (int32_t)Clamp((int32_t)ListboxAskItem(p->live, LISTBOX_REQ_GET_CHECK, row->item), 0, 2);
            int32_t y = row->rect.bottom - HalfUp(r.rowHeight - p->checkSize) - p->checkSize;
            DrawCheckBox(p->dc, row->x + 2, y, p->checkSize, (DrawCheckState)state);
        }
        row->x += p->checkSize + 4;
    }
    if (painting && (r.style & LISTBOX_OUTLINE)) ListboxPaintOutline(p, row);
    if (!r.imageList) return;
    int32_t image = (int32_t)ListboxAskItem(p->live, LISTBOX_REQ_IMAGE, row->item);
    if (image == -1) return;
    if (painting)
        ImageList_Draw(r.imageList, image, p->dc, row->x + 2, row->rect.top + p->imageTop, ILD_NORMAL);
    row->x += r.imageWidth + 6;
}

// The right edge of the monitor that holds the list, in the list's client coordinates.
static int32_t ListboxMonitorRight(const ListboxPainter *p) {
    RECT monitor;
    WndMonitorRect(p->rec.window, &monitor);
    POINT corner = {monitor.right, monitor.top};
    ScreenToClient(p->rec.window, &corner);
    return corner.x;
}

static void ListboxMeasureRow(ListboxPainter *p, const ListboxRow *row, int32_t length) {
    const ListboxRec &r = p->rec;
    int32_t width = ListboxMeasureText(p, row->buffer, length);
    int32_t room = (r.columnCount > 1 ? r.columns[0].width : p->right) - row->x;
    if (width <= room) return;
    int32_t right = Min(ListboxMonitorRight(p), row->x + width + 2);
    *p->tip = ListboxTipRec{1, row->x, row->rect.top, right, row->rect.bottom};
}

static void ListboxDrawText(ListboxPainter *p, const RECT *rect, int32_t x, int32_t y, const char *text,
                            int32_t length) {
    if (!(p->rec.style & LISTBOX_TABS)) {
        ExtTextOutA(p->dc, x, y, ETO_OPAQUE | ETO_CLIPPED, rect, text, (UINT)length, nullptr);
        return;
    }
    DrawFillRect(p->dc, rect, GetBkColor(p->dc));
    INT stop = p->rec.tabStop;
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    bool clipped = GetClipRgn(p->dc, clip) == 1;
    IntersectClipRect(p->dc, rect->left, rect->top, rect->right, rect->bottom);
    TabbedTextOutA(p->dc, x, y, text, length, 1, &stop, x);
    SelectClipRgn(p->dc, clipped ? clip : nullptr);
    DeleteObject(clip);
}

static void ListboxPaintMainText(ListboxPainter *p, const ListboxRow *row, int32_t length) {
    const ListboxRec &r = p->rec;
    int32_t y = row->rect.top + p->textTop;
    if (p->use == LISTBOX_USE_TIP) {
        RECT tip = {p->tip->left, p->tip->top, p->tip->right, p->tip->bottom};
        ListboxDrawText(p, &tip, row->x, y, row->buffer, length);
        return;
    }
    int32_t end = r.columnCount > 1 ? Max(row->x, r.columns[0].width) : Max(row->x, p->right);
    RECT text = {row->x, row->rect.top, end, row->rect.bottom};
    ListboxDrawText(p, &text, row->x, y, row->buffer, length);
    if (r.columnCount == 1) return;
    RECT rest = {end, row->rect.top, Max(end, p->right), row->rect.bottom};
    ExtTextOutA(p->dc, end, y, ETO_OPAQUE | ETO_CLIPPED, &rest, " ", 1, nullptr);
}

// The next tab-separated piece of the row's text, or the column's own text from the owner.
static int32_t ListboxColumnText(ListboxPainter *p, ListboxRow *row, int32_t n, char *out) {
    const ListboxRec &r = p->rec;
    if (!(r.style & LISTBOX_TAB_COLUMNS) || (r.style & LISTBOX_TABS))
        return ListboxFetchText(p->live, row->item, r.columns[n].key, false, out);
    const char *piece = row->rest ? row->rest : "";
    const char *tab = strchr(piece, '\t');
    int32_t length = tab ? (int32_t)(tab - piece) : (int32_t)strlen(piece);
    memcpy(out, piece, length);
    out[length] = 0;
    row->rest = tab ? tab + 1 : nullptr;
    return length;
}

static void ListboxPaintColumns(ListboxPainter *p, ListboxRow *row) {
    const ListboxRec &r = p->rec;
    char text[LISTBOX_TEXT_MAX + 1];
    for (int32_t n = 1; n < r.columnCount; n++) {
        int32_t length = ListboxColumnText(p, row, n, text);
        int32_t left = ListboxColumnLeft(&r, n), width = r.columns[n].width;
        int32_t textWidth = length ? DrawTextWidth(p->dc, text, length) : 0;
        uint32_t align = r.columns[n].flags & LISTBOX_COL_ALIGN;
        int32_t x = align == LISTBOX_COL_ALIGN_RIGHT    ? width - textWidth - p->avgWidth
                    : align == LISTBOX_COL_ALIGN_CENTER ? HalfUp(width - textWidth)
                                                        : p->avgWidth;
        RECT cell = {left, row->rect.top, left + width, row->rect.bottom};
        ExtTextOutA(p->dc, left + x, row->rect.top + p->textTop, ETO_OPAQUE | ETO_CLIPPED, &cell, text,
                    (UINT)length, nullptr);
    }
}

static void ListboxPaintItemRow(ListboxPainter *p, ListboxRow *row) {
    if (p->rec.style & LISTBOX_OWNER_DRAW) {
        ListboxPaintOwnerRow(p, row);
        return;
    }
    int32_t length = ListboxRowText(p, row);
    row->level = ListboxItemLevel(p->live, row->item);
    row->indentX = row->x = 2 + (p->rec.style & LISTBOX_OUTLINE ? ListboxIndent(p, row->level) : 0);
    ListboxPaintDecorations(p, row);
    if (p->use == LISTBOX_USE_MEASURE) {
        ListboxMeasureRow(p, row, length);
        return;
    }
    ListboxPaintMainText(p, row, length);
    if (p->use == LISTBOX_USE_PAINT) ListboxPaintColumns(p, row);
}

void ListboxPaintRows(ListboxRec *lb, HDC dc, int32_t first, int32_t n, int32_t mode, ListboxPaintUse use,
                      ListboxTipRec *tip) {
    ListboxPainter p = {};
    p.rec = *lb;
    p.live = lb;
    p.dc = dc;
    p.mode = mode;
    p.use = use;
    p.tip = tip;
    p.font = ListboxFontOf(lb);
    HGDIOBJ previous = SelectObject(dc, p.font);
    ListboxPainterBegin(&p);
    if (p.outline) ImageList_SetBkColor(p.outline, p.rec.backColor);
    if (p.rec.imageList) ImageList_SetBkColor(p.rec.imageList, p.rec.backColor);
    ListboxNotify record = {};
    ListboxAsk(lb, &record, LISTBOX_REQ_PAINT_BEGIN);
    ListboxRow row = {};
    int32_t top = (first - p.rec.topRow) * p.rec.rowHeight + p.rec.listTop;
    for (int32_t r = first; r < first + n && r < p.rec.topRow + p.rec.pageRows; r++, top += p.rec.rowHeight) {
        row.row = r;
        row.item = ListboxRowItem(&p.rec, r);
        row.rect = RECT{0, top, p.right, top + p.rec.rowHeight};
        ListboxRowColors(&p, &row);
        if (row.item < 0) {
            if (use == LISTBOX_USE_PAINT) DrawFillRect(dc, &row.rect, row.back);
            continue;
        }
        ListboxPaintItemRow(&p, &row);
    }
    ListboxAsk(lb, &record, LISTBOX_REQ_PAINT_END);
    SelectObject(dc, previous);
}

// ---- Window painting

// The rows that the update rectangle touches, then the focus rectangle.
void ListboxOnPaint(ListboxRec *lb) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(lb->window, &ps);
    int32_t top = Max(ps.rcPaint.top, lb->listTop), bottom = ps.rcPaint.bottom;
    if (bottom > top) {
        int32_t first = (top - lb->listTop) / lb->rowHeight + lb->topRow;
        int32_t last = (bottom - 1 - lb->listTop) / lb->rowHeight + lb->topRow;
        ListboxPaintRows(lb, dc, first, last - first + 1, 0, LISTBOX_USE_PAINT, nullptr);
    }
    if (!lb->focusHidden && GetFocus() == lb->window) ListboxFocusToggle(lb, dc);
    EndPaint(lb->window, &ps);
}

void ListboxPrintClient(ListboxRec *lb, HDC dc) {
    ListboxPaintRows(lb, dc, lb->topRow, lb->pageRows, 0, LISTBOX_USE_PAINT, nullptr);
}
