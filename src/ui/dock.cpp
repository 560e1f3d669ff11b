// dock: the docking model and layout (prefix Dock). Four sides (left, top, right, bottom) each hold a side
// window and a list of rows; a row holds panes, each the record of one dockable window. Floating panes live
// in one more list. Layout places each side window against the dock area (the top and bottom sides take the
// corners), then the rows across the side and the panes along each row; 4-pixel splitters part rows and
// panes and are dragged with an XOR line. DockApply moves a pane by making its new record first and
// removing the old one only once the new one exists.
//
// DockInfo, the stored placement, is 448 bytes of little-endian int32 fields (dock.h): state, side, id,
// flags, row, position, floating x, y, width, height, docked width and height, transparency, then zeros.
#include "ui/dock.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/monitor.h"
#include "base/num.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/sysprobe.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/dockdrag.h"
#include "ui/dockrec.h"
#include "ui/draw.h"
#include "ui/font.h"

#include <cstring>
#include <initializer_list>

enum : int32_t {
    DOCK_LIST_QUANTUM = 4,
    DOCK_TITLE_FONT_SIZE = 48, // quarter points
    DOCK_SMALL_FONT_SIZE = 32,
    DOCK_CAPTION_PADDING = 6,
};

static const char dockFrameClass[] = "vx_DockFrame";
static const char dockFloatClass[] = "vx_DockFloat";
static const COLORREF dockSplitterColor = RGB(192, 192, 192);

static DockSide dockSides[DOCK_SIDES];
static Plex *dockFloats;
static RECT dockArea; // in the frame's client coordinates
static HWND dockFrame;
static bool dockReady;
static int32_t dockCaptionHeight;
static HFONT dockFonts[2];
static int32_t dockFontHeights[2];
static DockCaptionButton dockButtons[DOCK_CAPTION_BUTTONS_MAX];
static int32_t dockButtonCount;
static DockConfigDirtyHook dockConfigDirtyHook;

static void DockResetHooks() {
    dockConfigDirtyHook = nullptr;
}

void DockSetConfigDirtyHook(DockConfigDirtyHook hook) {
    dockConfigDirtyHook = hook;
    SeamRegisterReset(DockResetHooks);
}

void DockMarkConfigDirty() {
    if (dockConfigDirtyHook) dockConfigDirtyHook(0);
}

// ---- Records

DockSide *DockSideAt(int32_t side) {
    return &dockSides[side];
}

Plex *DockFloatList() {
    return dockFloats;
}

DockRow *DockRowAt(int32_t side, int32_t row) {
    return (DockRow *)PlexElem(dockSides[side].rows, row);
}

DockPane *DockPaneAt(const DockRow *row, int32_t pos) {
    return (DockPane *)PlexElem(row->panes, pos);
}

HWND DockFrameWindow() {
    return dockFrame;
}

bool DockSideStacks(int32_t side) {
    return side == DOCK_LEFT || side == DOCK_RIGHT;
}

int32_t DockRowLength(const DockRow *row, int32_t side) {
    return DockSideStacks(side) ? row->height : row->width;
}

static int32_t *DockRowThickness(DockRow *row, int32_t side) {
    return DockSideStacks(side) ? &row->width : &row->height;
}

int32_t *DockPaneAlong(DockPane *pane, int32_t side) {
    return DockSideStacks(side) ? &pane->height : &pane->width;
}

static int32_t *DockPaneAcross(DockPane *pane, int32_t side) {
    return DockSideStacks(side) ? &pane->width : &pane->height;
}

static bool DockPaneVisible(const DockPane *pane) {
    return !(pane->flags & DOCK_PANE_HIDDEN);
}

static int32_t DockVisibleCount(const DockRow *row) {
    int32_t n = 0;
    for (int32_t i = 0; i < PlexCount(row->panes); i++) n += DockPaneVisible(DockPaneAt(row, i));
    return n;
}

// The stored side of a docked placement: one outside the four sides, as a damaged or foreign configuration
// may hold, docks at the bottom instead of indexing past the sides.
static int32_t DockInfoSide(const DockInfo *info) {
    return info->side >= DOCK_LEFT && info->side < DOCK_SIDES ? info->side : DOCK_BOTTOM;
}

static bool DockFindIn(bool (*match)(const DockPane *, HWND), HWND window, DockLoc *out) {
    for (int32_t s = 0; s < DOCK_SIDES; s++) {
        if (!dockSides[s].rows) continue;
        for (int32_t r = 0; r < PlexCount(dockSides[s].rows); r++) {
            DockRow *row = DockRowAt(s, r);
            for (int32_t p = 0; p < PlexCount(row->panes); p++) {
                if (!match(DockPaneAt(row, p), window)) continue;
                *out = {s, r, p, DockPaneAt(row, p)};
                return true;
            }
        }
    }
    for (int32_t i = 0; dockFloats && i < PlexCount(dockFloats); i++) {
        DockPane *pane = (DockPane *)PlexElem(dockFloats, i);
        if (!match(pane, window)) continue;
        *out = {DOCK_NO_SIDE, 0, i, pane};
        return true;
    }
    return false;
}

static bool DockMatchWindow(const DockPane *pane, HWND window) {
    return window && pane->window == window;
}

static bool DockMatchFrame(const DockPane *pane, HWND frame) {
    return frame && pane->frame == frame;
}

static bool DockMatchMoving(const DockPane *pane, HWND) {
    return (pane->flags & DOCK_PANE_MOVING) != 0;
}

bool DockFind(HWND window, DockLoc *out) {
    return DockFindIn(DockMatchWindow, window, out);
}

bool DockFindFloat(HWND frame, DockLoc *out) {
    return DockFindIn(DockMatchFrame, frame, out);
}

static int32_t DockSideOfWindow(HWND window) {
    for (int32_t s = 0; s < DOCK_SIDES; s++)
        if (window && dockSides[s].window == window) return s;
    return DOCK_NO_SIDE;
}

// ---- Start-up

static bool DockRegister(const char *name, WNDPROC proc, UINT style, HBRUSH background) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

static bool DockMakeSides() {
    for (DockSide &side : dockSides) {
        side.rows = PlexCreate(sizeof(DockRow), DOCK_LIST_QUANTUM, 0);
        if (!side.rows) return false;
        side.window = CreateWindowExA(0, dockFrameClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                                      0, 0, 0, dockFrame, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!side.window) return false;
    }
    dockFloats = PlexCreate(sizeof(DockPane), DOCK_LIST_QUANTUM, 0);
    return dockFloats != nullptr;
}

// A font that cannot be made comes back as the device default: the error is recorded, the layer goes on.
static void DockMakeFont(DockFontKind kind, int32_t size, uint16_t style) {
    FontDesc desc;
    FontDescInit(&desc, "Arial", size);
    desc.style = style;
    dockFonts[kind] = FontCreate(0, &desc);
    if (dockFonts[kind] == (HFONT)GetStockObject(DEVICE_DEFAULT_FONT))
        ErcSetAt(__FILE__, __LINE__, ercCannotCreateFont);
    dockFontHeights[kind] = FontLineHeight(0, dockFonts[kind]);
}

static void DockAddButton(int slot, const char *bitmap) {
    dockButtons[dockButtonCount++] = {ToolboxCommand(slot), bitmap};
}

static void DockMakeButtons() {
    dockButtonCount = 0;
    if (WndCanUseTransparency()) DockAddButton(TOOLBOX_CMD_TRANSPARENCY, "bmpWndTrans");
    DockAddButton(TOOLBOX_CMD_ROLLUP, "bmpMinMax");
    DockAddButton(TOOLBOX_CMD_ZOOM, "bmpZoom");
    DockAddButton(TOOLBOX_CMD_HIDE, "bmpCloseSmall");
}

bool DockInit(HWND frame) {
    DockExit();
    dockFrame = frame;
    HBRUSH face = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!DockRegister(dockFrameClass, DockFrameWndProc, CS_DBLCLKS, face) ||
        !DockRegister(dockFloatClass, DockFloatWndProc, CS_DBLCLKS | CS_SAVEBITS, face) || !DockMakeSides()) {
        DockExit();
        return false;
    }
    DockMakeFont(DOCK_FONT_TITLE, DOCK_TITLE_FONT_SIZE, FONT_BOLD | FONT_ITALIC);
    DockMakeFont(DOCK_FONT_SMALL, DOCK_SMALL_FONT_SIZE, 0);
    DockMakeButtons();
    dockCaptionHeight = drawMetrics.sysFontHeight + 2 * GetSystemMetrics(SM_CYFRAME) + DOCK_CAPTION_PADDING;
    dockReady = true;
    return true;
}

static void DockFreePane(DockPane *pane) {
    if (pane->captionBar && IsWindow(pane->captionBar)) DestroyWindow(pane->captionBar);
    MemFree(pane->title);
    MemFree(pane->subtitle);
    pane->captionBar = nullptr;
    pane->title = pane->subtitle = nullptr;
}

static void DockFreeRow(DockRow *row) {
    if (!row->panes) return;
    for (int32_t p = 0; p < PlexCount(row->panes); p++) DockFreePane(DockPaneAt(row, p));
    PlexFree(row->panes);
    row->panes = nullptr;
}

void DockExit() {
    dockReady = false;
    for (DockSide &side : dockSides) {
        for (int32_t r = 0; side.rows && r < PlexCount(side.rows); r++)
            DockFreeRow((DockRow *)PlexElem(side.rows, r));
        if (side.rows) PlexFree(side.rows);
        if (side.window && IsWindow(side.window)) DestroyWindow(side.window);
        side = {};
    }
    for (int32_t i = 0; dockFloats && i < PlexCount(dockFloats); i++) {
        DockPane *pane = (DockPane *)PlexElem(dockFloats, i);
        HWND frame = pane->frame;
        DockFreePane(pane);
        if (IsWindow(frame)) DestroyWindow(frame);
    }
    if (dockFloats) PlexFree(dockFloats);
    dockFloats = nullptr;
    for (HFONT &font : dockFonts) {
        if (font) DeleteObject(font);
        font = nullptr;
    }
    dockButtonCount = 0;
    dockArea = {};
    dockFrame = nullptr;
}

DockInfo *DockInfoInit(DockInfo *info) {
    memset(info, 0, sizeof *info);
    int32_t w = RectWidth(&drawMetrics.workArea), h = RectHeight(&drawMetrics.workArea);
    info->state = DOCK_DOCKED;
    info->side = DOCK_BOTTOM;
    info->floatRect = {(w - w / 3 + 1) / 2, (h - h / 3 + 1) / 2, w / 3, h / 3};
    info->dockedWidth = 3 * drawMetrics.dpiX;
    info->dockedHeight = 2 * drawMetrics.dpiY;
    return info;
}

void DockSetCaptionHeight(int32_t height) {
    dockCaptionHeight = height;
}

int32_t DockGetCaptionHeight() {
    return dockCaptionHeight;
}

int32_t DockGetCaptionButtons(const DockCaptionButton **out) {
    *out = dockButtons;
    return dockButtonCount;
}

HFONT DockGetFont(DockFontKind kind, int32_t *height) {
    if (height) *height = dockFontHeights[kind];
    return dockFonts[kind];
}

// ---- Layout

static bool DockHalfInchOk(int32_t size, int32_t halfInch, int32_t limit) {
    return size >= halfInch && size < limit;
}

struct DockRowSum {
    int32_t sum; // of the visible panes' sizes along the row
    int32_t n;   // visible panes
    int32_t last;
};

static DockRowSum DockSumVisible(const DockRow *row, int32_t side) {
    DockRowSum total = {0, 0, -1};
    for (int32_t p = 0; p < PlexCount(row->panes); p++) {
        DockPane *pane = DockPaneAt(row, p);
        if (!DockPaneVisible(pane)) continue;
        total.sum += *DockPaneAlong(pane, side);
        total.n++;
        total.last = p;
    }
    return total;
}

// Every visible pane takes the row's thickness across and, when the row's length changed, keeps its share
// of the length; the last one takes what rounding left, so that the panes fill the row exactly.
static void DockScaleRow(int32_t side, DockRow *row) {
    int32_t length = DockRowLength(row, side), thickness = *DockRowThickness(row, side), given = 0;
    DockRowSum total = DockSumVisible(row, side);
    for (int32_t p = 0; p < PlexCount(row->panes); p++) {
        DockPane *pane = DockPaneAt(row, p);
        if (!DockPaneVisible(pane)) continue;
        *DockPaneAcross(pane, side) = thickness;
        if (total.sum == length) continue;
        int32_t along = *DockPaneAlong(pane, side);
        int32_t share =
            total.sum > 0 ? NumMulDiv(length, NumPercentOf(along, total.sum), 100) : length / total.n;
        *DockPaneAlong(pane, side) = p == total.last ? length - given : share;
        given += share;
    }
}

static int32_t DockVisibleNeighbour(const DockRow *row, int32_t k, int32_t step) {
    for (int32_t p = k + step; p >= 0 && p < PlexCount(row->panes); p += step)
        if (DockPaneVisible(DockPaneAt(row, p))) return p;
    return -1;
}

static bool DockNeighbourGives(DockRow *row, int32_t side, int32_t p, int32_t d) {
    if (p < 0) return false;
    int32_t *size = DockPaneAlong(DockPaneAt(row, p), side);
    if (d + drawMetrics.halfDpiX >= *size) return false;
    *size -= d;
    return true;
}

void DockBalanceRow(int32_t side, DockRow *row, int32_t k) {
    DockRowSum total = DockSumVisible(row, side);
    // With no visible pane left (the last one was just hidden) there is nothing to share out.
    if (total.n == 0) return;
    int32_t length = DockRowLength(row, side), d = total.sum - length;
    if (d == 0) return;
    if (DockNeighbourGives(row, side, DockVisibleNeighbour(row, k, 1), d)) return;
    if (DockNeighbourGives(row, side, DockVisibleNeighbour(row, k, -1), d)) return;
    int32_t share = length / total.n;
    for (int32_t p = 0; p < PlexCount(row->panes); p++) {
        DockPane *pane = DockPaneAt(row, p);
        if (DockPaneVisible(pane))
            *DockPaneAlong(pane, side) = p == total.last ? length - share * (total.n - 1) : share;
    }
}

// The side window's rectangle in the frame: the top and bottom sides span the dock area's width, the left
// and right ones the height between them.
static void DockSideRect(int32_t s, int32_t sumWidth, int32_t sumHeight, RECT *out) {
    const RECT &a = dockArea;
    int32_t top = a.top + dockSides[DOCK_TOP].height, bottom = a.bottom - dockSides[DOCK_BOTTOM].height;
    switch (s) {
    case DOCK_LEFT: RectSet(out, a.left, top, a.left + sumWidth, bottom); break;
    case DOCK_RIGHT: RectSet(out, a.right - sumWidth, top, a.right, bottom); break;
    case DOCK_TOP: RectSet(out, a.left, a.top, a.right, a.top + sumHeight); break;
    default: RectSet(out, a.left, a.bottom - sumHeight, a.right, a.bottom); break;
    }
    out->right = Max(out->right, out->left);
    out->bottom = Max(out->bottom, out->top);
}

static void DockPlaceSide(int32_t s) {
    DockSide *side = &dockSides[s];
    int32_t sumWidth = 0, sumHeight = 0;
    for (int32_t r = 0; r < PlexCount(side->rows); r++) {
        DockRow *row = DockRowAt(s, r);
        if (row->hidden) continue;
        sumWidth += row->width;
        sumHeight += row->height;
    }
    RECT rect, now;
    DockSideRect(s, sumWidth, sumHeight, &rect);
    GetWindowRect(side->window, &now);
    MapWindowPoints(nullptr, dockFrame, (POINT *)&now, 2);
    int32_t w = RectWidth(&rect), h = RectHeight(&rect);
    if (EqualRect(&rect, &now) && side->width == w && side->height == h) return;
    MoveWindow(side->window, rect.left, rect.top, w, h, TRUE);
    side->width = w;
    side->height = h;
    for (int32_t r = 0; r < PlexCount(side->rows); r++) {
        DockRow *row = DockRowAt(s, r);
        if (DockSideStacks(s))
            row->height = h;
        else
            row->width = w;
        DockScaleRow(s, row);
    }
}

// The row's whole slot from the offset across the side, its splitter on the inner edge.
static void DockRowRects(int32_t s, DockRow *row, int32_t offset) {
    RECT slot;
    if (DockSideStacks(s))
        RectSet(&slot, offset, 0, offset + row->width, row->height);
    else
        RectSet(&slot, 0, offset, row->width, offset + row->height);
    row->area = row->splitter = slot;
    switch (s) {
    case DOCK_LEFT: row->area.right = row->splitter.left = slot.right - DOCK_SPLITTER; break;
    case DOCK_RIGHT: row->area.left = row->splitter.right = slot.left + DOCK_SPLITTER; break;
    case DOCK_TOP: row->area.bottom = row->splitter.top = slot.bottom - DOCK_SPLITTER; break;
    default: row->area.top = row->splitter.bottom = slot.top + DOCK_SPLITTER; break;
    }
}

void DockPlaceCaptionBar(const DockPane *pane) {
    if (!pane->captionBar || !pane->window) return;
    RECT client, bar;
    GetClientRect(pane->window, &client);
    GetWindowRect(pane->captionBar, &bar);
    SetWindowPos(pane->captionBar, nullptr, client.right - RectWidth(&bar), 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A stacked pane is one pixel shorter than its slot; every pane but the last gives the end of its slot to
// the splitter after it.
static void DockPaneRects(int32_t s, DockPane *pane, const RECT *area, int32_t at, bool last) {
    int32_t along = *DockPaneAlong(pane, s);
    RECT slot;
    if (DockSideStacks(s))
        RectSet(&slot, area->left, at, area->right, at + along);
    else
        RectSet(&slot, at, area->top, at + along, area->bottom);
    RectSetEmpty(&pane->splitter);
    if (!last) {
        pane->splitter = slot;
        if (DockSideStacks(s))
            pane->splitter.top = slot.bottom = slot.bottom - DOCK_SPLITTER;
        else
            pane->splitter.left = slot.right = slot.right - DOCK_SPLITTER;
    }
    if (DockSideStacks(s)) slot.bottom--;
    pane->rect = slot;
}

static void DockLayoutRow(int32_t s, DockRow *row, int32_t offset) {
    DockRowRects(s, row, offset);
    int32_t last = DockVisibleNeighbour(row, PlexCount(row->panes), -1);
    int32_t at = DockSideStacks(s) ? row->area.top : row->area.left;
    for (int32_t p = 0; p < PlexCount(row->panes); p++) {
        DockPane *pane = DockPaneAt(row, p);
        if (!DockPaneVisible(pane)) {
            RectSetEmpty(&pane->rect);
            RectSetEmpty(&pane->splitter);
            continue;
        }
        DockPaneRects(s, pane, &row->area, at, p == last);
        at += *DockPaneAlong(pane, s);
        const RECT &r = pane->rect;
        if (pane->window)
            MoveWindow(pane->window, r.left, r.top, Max(RectWidth(&r), 0), Max(RectHeight(&r), 0), TRUE);
        DockPlaceCaptionBar(pane);
    }
}

void DockLayoutSide(int32_t s, bool resize) {
    DockPlaceSide(s);
    DockSide *side = &dockSides[s];
    int32_t offset = 0;
    for (int32_t r = 0; r < PlexCount(side->rows); r++) {
        DockRow *row = DockRowAt(s, r);
        if (row->hidden) {
            RectSetEmpty(&row->area);
            RectSetEmpty(&row->splitter);
            continue;
        }
        DockLayoutRow(s, row, offset);
        offset += *DockRowThickness(row, s);
    }
    // A side that takes no room along one of its dimensions is hidden, not shown as a sliver of nothing.
    ShowWindow(side->window, side->width > 0 && side->height > 0 ? SW_SHOWNA : SW_HIDE);
    InvalidateRect(side->window, nullptr, TRUE);
    if (resize) DockRelayoutFrame();
}

void DockLayoutFrame(RECT *rect) {
    dockArea = *rect;
    if (!dockReady) return;
    for (int32_t s : {DOCK_TOP, DOCK_BOTTOM, DOCK_LEFT, DOCK_RIGHT}) DockLayoutSide(s, false);
    rect->top += dockSides[DOCK_TOP].height;
    rect->bottom -= dockSides[DOCK_BOTTOM].height;
    rect->left += dockSides[DOCK_LEFT].width;
    rect->right -= dockSides[DOCK_RIGHT].width;
}

void DockRelayoutFrame() {
    if (!dockFrame) return;
    RECT client;
    GetClientRect(dockFrame, &client);
    SendMessageA(dockFrame, WM_SIZE, SIZE_RESTORED, (LPARAM)PackWords(client.right, client.bottom));
}

void DockAreaOnScreen(RECT *out) {
    *out = dockArea;
    if (dockFrame) MapWindowPoints(dockFrame, nullptr, (POINT *)out, 2);
}

// ---- Docking and floating

// The thickness of a new row: the placement's docked size when it lies between half an inch and the dock
// area's extent, else a quarter of the dock area.
static void DockNewRowSize(int32_t s, const DockInfo *info, DockRow *row) {
    RECT client;
    GetClientRect(dockSides[s].window, &client);
    int32_t areaW = RectWidth(&dockArea), areaH = RectHeight(&dockArea);
    if (DockSideStacks(s)) {
        row->width =
            DockHalfInchOk(info->dockedWidth, drawMetrics.dpiX / 2, areaW) ? info->dockedWidth : areaW / 4;
        row->height = client.bottom;
    } else {
        row->width = client.right;
        row->height =
            DockHalfInchOk(info->dockedHeight, drawMetrics.dpiY / 2, areaH) ? info->dockedHeight : areaH / 4;
    }
}

static bool DockInsertRow(int32_t s, int32_t r, const DockInfo *info) {
    DockRow row = {};
    row.hidden = (info->flags & DOCK_INFO_HIDDEN) != 0;
    DockNewRowSize(s, info, &row);
    row.panes = PlexCreate(sizeof(DockPane), DOCK_LIST_QUANTUM, 0);
    if (!row.panes) return false;
    if (PlexInsert(dockSides[s].rows, r, 1, &row)) return true;
    PlexFree(row.panes);
    return false;
}

static void DockDeleteRow(int32_t s, int32_t r) {
    DockFreeRow(DockRowAt(s, r));
    PlexDelete(dockSides[s].rows, r, 1);
}

static DockPane DockPaneFromInfo(HWND window, const DockInfo *info) {
    DockPane pane = {};
    pane.id = info->id;
    pane.window = window;
    pane.floatRect = info->floatRect;
    pane.dockedWidth = info->dockedWidth;
    pane.dockedHeight = info->dockedHeight;
    pane.flags = info->flags & DOCK_INFO_HIDDEN ? DOCK_PANE_HIDDEN : 0;
    pane.fromSide = DOCK_NO_SIDE;
    return pane;
}

// Along the row a new pane gets its docked size, or an equal share when that is out of the row's range.
static void DockNewPaneSize(int32_t s, DockRow *row, DockPane *pane) {
    int32_t docked = DockSideStacks(s) ? pane->dockedHeight : pane->dockedWidth;
    int32_t length = DockRowLength(row, s);
    *DockPaneAlong(pane, s) = docked > 0 && docked < length ? docked : length / PlexCount(row->panes);
    *DockPaneAcross(pane, s) = *DockRowThickness(row, s);
}

static bool DockDock(HWND window, const DockInfo *info) {
    int32_t s = DockInfoSide(info);
    DockSide *side = &dockSides[s];
    bool hidden = (info->flags & DOCK_INFO_HIDDEN) != 0;
    int32_t r = Max(info->row, 0);
    bool newRow = (info->flags & DOCK_INFO_NEW_ROW) || r >= PlexCount(side->rows);
    if (newRow) {
        r = Min(r, PlexCount(side->rows));
        if (!DockInsertRow(s, r, info)) return false;
        if (!hidden) DockLayoutSide(s, false);
    }
    DockRow *row = DockRowAt(s, r);
    int32_t pos = Clamp(info->pos, 0, PlexCount(row->panes));
    DockPane pane = DockPaneFromInfo(window, info);
    if (!PlexInsert(row->panes, pos, 1, &pane)) {
        if (newRow) {
            DockDeleteRow(s, r);
            DockLayoutSide(s, true);
        }
        return false;
    }
    DockNewPaneSize(s, row, DockPaneAt(row, pos));
    if (!hidden) row->hidden = 0;
    SetParent(window, side->window);
    if (hidden) {
        ShowWindow(window, SW_HIDE);
        return true;
    }
    DockBalanceRow(s, row, pos);
    ShowWindow(window, SW_SHOWNA);
    DockLayoutSide(s, true);
    return true;
}

static void DockFitToFrame(HWND window, HWND frame) {
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(window, 0, 0, client.right, client.bottom, TRUE);
}

static bool DockFloat(HWND window, const DockInfo *info) {
    const Xywh &r = info->floatRect;
    HWND frame =
        CreateWindowExA(0, dockFloatClass, "",
                        WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU | WS_THICKFRAME,
                        r.x, r.y, r.w, r.h, dockFrame, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!frame) return false;
    if (info->transparency) WndSetTransparency(frame, info->transparency);
    DockPane pane = DockPaneFromInfo(window, info);
    pane.frame = frame;
    pane.transparency = info->transparency;
    if (!PlexInsert(dockFloats, -1, 1, &pane)) {
        DestroyWindow(frame);
        return false;
    }
    SetParent(window, frame);
    DockFitToFrame(window, frame);
    ShowWindow(window, SW_SHOWNA);
    if (!(info->flags & DOCK_INFO_HIDDEN)) ShowWindow(frame, SW_SHOWNA);
    if (info->flags & DOCK_INFO_ZOOMED)
        DockZoom(window, true);
    else if (info->flags & DOCK_INFO_ROLLED_UP)
        DockRollUp(window, true);
    else if (!(info->flags & DOCK_INFO_HIDDEN))
        WndEnsureVisible(frame);
    return true;
}

bool DockPlace(HWND window, const DockInfo *info) {
    if (!dockReady || !window) return false;
    return info->state == DOCK_DOCKED ? DockDock(window, info) : DockFloat(window, info);
}

HWND DockCreateWindow(const DockInfo *info, const char *className, const char *title, DWORD style,
                      void *param) {
    if (!dockReady) return nullptr;
    HWND window = CreateWindowExA(0, className, title ? title : "",
                                  style | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, dockFrame,
                                  nullptr, GetModuleHandleA(nullptr), param);
    if (!window) return nullptr;
    if (!DockPlace(window, info)) {
        DestroyWindow(window);
        return nullptr;
    }
    DockSetTitle(window, title, false);
    return window;
}

// ---- Showing and hiding

static bool DockShowDocked(const DockLoc *loc, bool show) {
    DockRow *row = DockRowAt(loc->side, loc->row);
    DockPane *pane = loc->pane;
    bool was = DockPaneVisible(pane);
    if (show) {
        pane->flags &= ~DOCK_PANE_HIDDEN;
        DockBalanceRow(loc->side, row, loc->pos);
        row->hidden = 0;
        DockLayoutSide(loc->side, true);
        ShowWindow(pane->window, SW_SHOWNA);
        return was;
    }
    ShowWindow(pane->window, SW_HIDE);
    pane->flags |= DOCK_PANE_HIDDEN;
    DockBalanceRow(loc->side, row, loc->pos);
    if (DockVisibleCount(row) == 0) row->hidden = 1;
    DockLayoutSide(loc->side, true);
    return was;
}

// A floating pane keeps its hidden state too, so that its saved placement brings it back hidden.
static bool DockShowFloating(const DockLoc *loc, bool show) {
    DockPane *pane = loc->pane;
    bool was = IsWindowVisible(pane->frame) != 0;
    if (show) {
        pane->flags &= ~DOCK_PANE_HIDDEN;
        ShowWindow(pane->frame, SW_SHOWNA);
        return was;
    }
    pane->flags |= DOCK_PANE_HIDDEN;
    ShowWindow(pane->frame, SW_HIDE);
    HWND owner = GetWindow(pane->frame, GW_OWNER);
    if (owner && was) {
        SetActiveWindow(owner);
        SetFocus(owner);
    }
    return was;
}

bool DockShow(HWND window, bool show) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return false;
    return loc.side == DOCK_NO_SIDE ? DockShowFloating(&loc, show) : DockShowDocked(&loc, show);
}

// ---- Removing

// A docked pane is hidden first (a detached one already is); a row left empty goes.
static void DockRemove(const DockLoc *loc) {
    if (loc->side == DOCK_NO_SIDE) {
        DockPane *pane = loc->pane;
        HWND frame = pane->frame, window = pane->window;
        ShowWindow(frame, SW_HIDE);
        if (window) {
            ShowWindow(window, SW_HIDE);
            SetParent(window, dockFrame);
        }
        DockFreePane(pane);
        PlexDelete(dockFloats, loc->pos, 1);
        DestroyWindow(frame);
        return;
    }
    if (loc->pane->window) DockShowDocked(loc, false);
    DockRow *row = DockRowAt(loc->side, loc->row);
    DockFreePane(loc->pane);
    PlexDelete(row->panes, loc->pos, 1);
    if (PlexCount(row->panes) == 0) DockDeleteRow(loc->side, loc->row);
    DockLayoutSide(loc->side, true);
}

bool DockDestroyWindow(HWND window) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return false;
    DockRemove(&loc);
    DestroyWindow(window);
    return true;
}

// ---- Placements

static void DockFrameXywh(HWND frame, Xywh *out) {
    RECT rect;
    GetWindowRect(frame, &rect);
    RectToOriginSize(&rect, out);
}

// The docked sizes are the ones laid out now, so that a saved placement keeps what the user made of the row
// and its splitters.
static void DockInfoDockedSize(const DockLoc *loc, DockInfo *out) {
    DockRow *row = DockRowAt(loc->side, loc->row);
    int32_t along = *DockPaneAlong(loc->pane, loc->side), thickness = *DockRowThickness(row, loc->side);
    out->dockedWidth = DockSideStacks(loc->side) ? thickness : along;
    out->dockedHeight = DockSideStacks(loc->side) ? along : thickness;
}

void DockInfoFromPane(const DockLoc *loc, DockInfo *out) {
    const DockPane *pane = loc->pane;
    memset(out, 0, sizeof *out);
    bool floating = loc->side == DOCK_NO_SIDE;
    out->state = floating ? DOCK_FLOATING : DOCK_DOCKED;
    out->side = loc->side;
    out->id = pane->id;
    out->row = floating ? 0 : loc->row;
    out->pos = floating ? 0 : loc->pos;
    out->flags = (pane->flags & DOCK_PANE_HIDDEN ? DOCK_INFO_HIDDEN : 0) |
                 (pane->flags & DOCK_PANE_ZOOMED ? DOCK_INFO_ZOOMED : 0) |
                 (pane->flags & DOCK_PANE_ROLLED_UP ? DOCK_INFO_ROLLED_UP : 0);
    out->dockedWidth = pane->dockedWidth;
    out->dockedHeight = pane->dockedHeight;
    out->transparency = pane->transparency;
    if (!floating) {
        DockInfoDockedSize(loc, out);
        out->floatRect = pane->floatRect;
    } else if (pane->flags & DOCK_PANE_ZOOMED) {
        out->floatRect = pane->zoomRect;
    } else {
        DockFrameXywh(pane->frame, &out->floatRect);
        if (pane->flags & DOCK_PANE_ROLLED_UP) out->floatRect.h = pane->rollRect.h;
    }
}

bool DockGetInfo(HWND window, DockInfo *out) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return false;
    DockInfoFromPane(&loc, out);
    return true;
}

// Floating to floating: the frame goes to the rectangle, kept on screen. A rolled-up frame stays rolled up
// there and a zoomed one keeps covering the work area: the rectangle is then the one they go back to.
static void DockApplyFloat(HWND window, const DockLoc *loc, const DockInfo *info) {
    DockPane *pane = loc->pane;
    Xywh r = info->floatRect;
    RectXywhEnsureOnScreen(&r);
    bool zoomed = (info->flags & DOCK_INFO_ZOOMED) != 0,
         rolled = !zoomed && (info->flags & DOCK_INFO_ROLLED_UP);
    if (zoomed && (pane->flags & DOCK_PANE_ZOOMED)) {
        pane->zoomRect = r;
        return;
    }
    if (rolled && (pane->flags & DOCK_PANE_ROLLED_UP)) {
        Xywh now;
        DockFrameXywh(pane->frame, &now);
        if (r.h != now.h) pane->rollRect.h = r.h;
        MoveWindow(pane->frame, r.x, r.y, r.w, now.h, TRUE);
        return;
    }
    DockZoom(window, false);
    DockRollUp(window, false);
    MoveWindow(pane->frame, r.x, r.y, r.w, r.h, TRUE);
    if (zoomed) DockZoom(window, true);
    if (rolled) DockRollUp(window, true);
}

static bool DockSamePlace(const DockLoc *loc, const DockInfo *info) {
    return loc->side != DOCK_NO_SIDE && info->state == DOCK_DOCKED && !(info->flags & DOCK_INFO_NEW_ROW) &&
           DockInfoSide(info) == loc->side && info->row == loc->row && info->pos == loc->pos;
}

// The pane's own row, with no other visible pane in it: moving within it changes nothing.
static bool DockOwnLoneRow(const DockLoc *loc, const DockInfo *info) {
    if (loc->side == DOCK_NO_SIDE || info->state != DOCK_DOCKED || (info->flags & DOCK_INFO_NEW_ROW) ||
        DockInfoSide(info) != loc->side || info->row != loc->row)
        return false;
    return DockVisibleCount(DockRowAt(loc->side, loc->row)) - DockPaneVisible(loc->pane) == 0;
}

static void DockPaneFloatRect(HWND window, Xywh *out) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return;
    if (loc.side == DOCK_NO_SIDE)
        DockFrameXywh(loc.pane->frame, out);
    else
        *out = loc.pane->floatRect;
}

// The new record is made before the old one goes: when it cannot be made, the window stays in its old
// place and is shown again. The titles, value and caption bar move to the new record.
static bool DockMove(HWND window, DockInfo *info) {
    DockShow(window, false);
    if (info->flags & DOCK_INFO_ROLLED_UP) {
        DockRollUp(window, false);
        Xywh r = info->floatRect;
        DockPaneFloatRect(window, &r);
        info->floatRect.h = r.h;
    }
    if (info->flags & DOCK_INFO_ZOOMED) {
        DockZoom(window, false);
        DockPaneFloatRect(window, &info->floatRect);
    }
    DockLoc old;
    if (!DockFind(window, &old)) return false;
    old.pane->window = nullptr;
    old.pane->flags |= DOCK_PANE_MOVING;
    bool placed = DockPlace(window, info);
    DockFindIn(DockMatchMoving, nullptr, &old);
    old.pane->flags &= ~DOCK_PANE_MOVING;
    if (!placed) {
        old.pane->window = window;
        DockShow(window, true);
        return false;
    }
    DockLoc now;
    DockFind(window, &now);
    now.pane->value = old.pane->value;
    now.pane->title = old.pane->title;
    now.pane->subtitle = old.pane->subtitle;
    now.pane->captionBar = old.pane->captionBar;
    old.pane->title = old.pane->subtitle = nullptr;
    old.pane->captionBar = nullptr;
    DockRemove(&old);
    return true;
}

static void DockApplyDockedSize(const DockLoc *loc, const DockInfo *info) {
    loc->pane->width = info->dockedWidth;
    loc->pane->height = info->dockedHeight;
    DockBalanceRow(loc->side, DockRowAt(loc->side, loc->row), loc->pos);
    DockLayoutSide(loc->side, true);
}

bool DockApply(HWND window, const DockInfo *info) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return false;
    DockInfo target = *info;
    if (loc.side == DOCK_NO_SIDE && target.state != DOCK_DOCKED)
        DockApplyFloat(window, &loc, &target);
    else if (DockSamePlace(&loc, &target))
        DockApplyDockedSize(&loc, &target);
    else if (DockOwnLoneRow(&loc, &target))
        return true;
    else if (!DockMove(window, &target))
        return false;
    if (DockFind(window, &loc) && loc.side == DOCK_NO_SIDE &&
        !(loc.pane->flags & (DOCK_PANE_HIDDEN | DOCK_PANE_ZOOMED | DOCK_PANE_ROLLED_UP)))
        WndEnsureVisible(loc.pane->frame);
    DockSetTransparency(window, target.transparency);
    return true;
}

// ---- Small operations

HWND DockActivate(HWND window) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return nullptr;
    if (loc.side == DOCK_NO_SIDE) {
        loc.pane->flags &= ~DOCK_PANE_HIDDEN;
        ShowWindow(loc.pane->frame, SW_SHOW);
        SetActiveWindow(loc.pane->frame);
    }
    HWND focus = GetFocus();
    if (focus && (focus == window || IsChild(window, focus))) return nullptr;
    return SetFocus(window);
}

void DockEnableWindow(HWND window, bool enable) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return;
    EnableWindow(window, enable);
    if (loc.pane->frame) EnableWindow(loc.pane->frame, enable);
}

static bool DockEnableOne(HWND window, void *user) {
    DockEnableWindow(window, *(bool *)user);
    return true;
}

void DockWindowsEnable(bool enable) {
    DockForEach(DockEnableOne, &enable);
}

HWND DockGetContainer(HWND window) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return nullptr;
    return loc.side == DOCK_NO_SIDE ? loc.pane->frame : dockSides[loc.side].window;
}

void DockSetTransparency(HWND window, int32_t percent) {
    DockLoc loc;
    if (!DockFind(window, &loc) || loc.side != DOCK_NO_SIDE || !WndCanUseTransparency()) return;
    if (loc.pane->transparency == percent) return;
    WndSetTransparency(loc.pane->frame, percent);
    loc.pane->transparency = percent;
}

static void DockReplaceText(char **slot, const char *text) {
    MemFree(*slot);
    *slot = text ? SzDup(text) : nullptr;
}

void DockSetTitle(HWND window, const char *text, bool) {
    DockLoc loc;
    if (DockFind(window, &loc)) DockReplaceText(&loc.pane->title, text);
}

void DockSetSubtitle(HWND window, const char *text, bool) {
    DockLoc loc;
    if (DockFind(window, &loc)) DockReplaceText(&loc.pane->subtitle, text);
}

const char *DockGetTitle(HWND window) {
    DockLoc loc;
    return DockFind(window, &loc) ? loc.pane->title : nullptr;
}

void DockSetValue(HWND window, int32_t value, bool) {
    DockLoc loc;
    if (DockFind(window, &loc)) loc.pane->value = value;
}

int32_t DockGetValue(HWND window) {
    DockLoc loc;
    return DockFind(window, &loc) ? loc.pane->value : 0;
}

void DockSetCaptionBar(HWND window, HWND bar) {
    DockLoc loc;
    if (!DockFind(window, &loc)) return;
    loc.pane->captionBar = bar;
    DockPlaceCaptionBar(loc.pane);
}

bool DockForEach(DockEachFn fn, void *user) {
    for (int32_t s = 0; s < DOCK_SIDES && dockSides[s].rows; s++)
        for (int32_t r = 0; r < PlexCount(dockSides[s].rows); r++)
            for (int32_t p = 0; p < PlexCount(DockRowAt(s, r)->panes); p++)
                if (!fn(DockPaneAt(DockRowAt(s, r), p)->window, user)) return false;
    for (int32_t i = 0; dockFloats && i < PlexCount(dockFloats); i++)
        if (!fn(((DockPane *)PlexElem(dockFloats, i))->window, user)) return false;
    return true;
}

DockWindowKindAnswer DockWindowKind(HWND window) {
    HWND parent = GetParent(window);
    if (DockSideOfWindow(parent) != DOCK_NO_SIDE) return DOCK_KIND_DOCKED;
    char name[16] = "";
    if (parent) GetClassNameA(parent, name, sizeof name);
    return lstrcmpiA(name, "MDIClient") == 0 ? DOCK_KIND_MDI_CHILD : DOCK_KIND_OTHER;
}

bool DockIsDocked(HWND window) {
    return window && DockSideOfWindow(GetParent(window)) != DOCK_NO_SIDE;
}

static bool DockHasFlag(HWND window, int32_t flag) {
    DockLoc loc;
    return DockFind(window, &loc) && (loc.pane->flags & flag);
}

bool DockIsZoomed(HWND window) {
    return DockHasFlag(window, DOCK_PANE_ZOOMED);
}

bool DockIsRolledUp(HWND window) {
    return DockHasFlag(window, DOCK_PANE_ROLLED_UP);
}

// ---- Splitters and painting of the side windows

struct DockSplitterHit {
    int32_t row;
    int32_t pos; // the pane before the splitter; -1 for the row's own splitter
    RECT rect;
};

static bool DockHitSplitter(int32_t s, POINT point, DockSplitterHit *out) {
    for (int32_t r = 0; r < PlexCount(dockSides[s].rows); r++) {
        DockRow *row = DockRowAt(s, r);
        if (row->hidden) continue;
        if (RectContains(&row->splitter, point.x, point.y)) {
            *out = {r, -1, row->splitter};
            return true;
        }
        for (int32_t p = 0; p < PlexCount(row->panes); p++) {
            DockPane *pane = DockPaneAt(row, p);
            if (!DockPaneVisible(pane) || !RectContains(&pane->splitter, point.x, point.y)) continue;
            *out = {r, p, pane->splitter};
            return true;
        }
    }
    return false;
}

bool DockSetSplitterCursor(HWND sideWindow) {
    int32_t s = DockSideOfWindow(sideWindow);
    DockSplitterHit hit;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(sideWindow, &point);
    if (s == DOCK_NO_SIDE || !DockHitSplitter(s, point, &hit)) return false;
    bool tall = RectHeight(&hit.rect) >= RectWidth(&hit.rect);
    SetCursor(tall ? drawMetrics.cursorSizeWE : drawMetrics.cursorSizeNS);
    return true;
}

// The line runs from the row's outer edge to the inner edge of the opposite side (screen coordinates).
static void DockRowSplitterLimit(int32_t s, const DockRow *row, RECT *out) {
    RECT slot = row->area;
    RectUnion(&slot, &row->splitter);
    *out = slot;
    MapWindowPoints(dockSides[s].window, dockFrame, (POINT *)out, 2);
    switch (s) {
    case DOCK_LEFT: out->right = dockArea.right - dockSides[DOCK_RIGHT].width; break;
    case DOCK_RIGHT: out->left = dockArea.left + dockSides[DOCK_LEFT].width; break;
    case DOCK_TOP: out->bottom = dockArea.bottom - dockSides[DOCK_BOTTOM].height; break;
    default: out->top = dockArea.top + dockSides[DOCK_TOP].height; break;
    }
    MapWindowPoints(dockFrame, nullptr, (POINT *)out, 2);
}

static void DockDragRowSplitter(int32_t s, int32_t r, POINT point) {
    RECT limit;
    DockRowSplitterLimit(s, DockRowAt(s, r), &limit);
    int32_t delta;
    SetCapture(dockSides[s].window);
    if (!DrawTrackLine(&point, &limit, DockSideStacks(s) ? DRAW_TRACK_VERTICAL : DRAW_TRACK_HORIZONTAL,
                       &delta))
        return;
    int32_t *thickness = DockRowThickness(DockRowAt(s, r), s);
    int32_t grown = s == DOCK_LEFT || s == DOCK_TOP ? delta : -delta;
    *thickness = Max(drawMetrics.halfDpiX, *thickness + grown);
    DockLayoutSide(s, true);
    DockMarkConfigDirty();
}

static void DockDragPaneSplitter(int32_t s, int32_t r, int32_t p, POINT point) {
    RECT limit = DockRowAt(s, r)->area;
    MapWindowPoints(dockSides[s].window, nullptr, (POINT *)&limit, 2);
    int32_t delta;
    SetCapture(dockSides[s].window);
    if (!DrawTrackLine(&point, &limit, DockSideStacks(s) ? DRAW_TRACK_HORIZONTAL : DRAW_TRACK_VERTICAL,
                       &delta))
        return;
    DockRow *row = DockRowAt(s, r);
    int32_t *size = DockPaneAlong(DockPaneAt(row, p), s);
    *size = Max(drawMetrics.halfDpiX, *size + delta);
    DockBalanceRow(s, row, p);
    DockLayoutSide(s, true);
    DockMarkConfigDirty();
}

bool DockSplitterClick(HWND sideWindow, POINT point) {
    int32_t s = DockSideOfWindow(sideWindow);
    DockSplitterHit hit;
    if (s == DOCK_NO_SIDE || !DockHitSplitter(s, point, &hit)) return false;
    ClientToScreen(sideWindow, &point);
    if (hit.pos < 0)
        DockDragRowSplitter(s, hit.row, point);
    else
        DockDragPaneSplitter(s, hit.row, hit.pos, point);
    return true;
}

HWND DockPaneWindowAt(HWND sideWindow, POINT point) {
    int32_t s = DockSideOfWindow(sideWindow);
    for (int32_t r = 0; s != DOCK_NO_SIDE && r < PlexCount(dockSides[s].rows); r++) {
        DockRow *row = DockRowAt(s, r);
        for (int32_t p = 0; !row->hidden && p < PlexCount(row->panes); p++) {
            DockPane *pane = DockPaneAt(row, p);
            if (DockPaneVisible(pane) && RectContains(&pane->rect, point.x, point.y)) return pane->window;
        }
    }
    return nullptr;
}

static void DockPaintSplitter(HDC dc, const RECT *rect) {
    if (RectIsEmpty(rect)) return;
    DrawFillRect(dc, rect, dockSplitterColor);
    Draw3DRectEx(dc, rect, false);
}

void DockPaintSide(HWND sideWindow) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(sideWindow, &ps);
    int32_t s = DockSideOfWindow(sideWindow);
    for (int32_t r = 0; s != DOCK_NO_SIDE && r < PlexCount(dockSides[s].rows); r++) {
        DockRow *row = DockRowAt(s, r);
        if (row->hidden) continue;
        DockPaintSplitter(dc, &row->splitter);
        for (int32_t p = 0; p < PlexCount(row->panes); p++) {
            DockPane *pane = DockPaneAt(row, p);
            if (DockPaneVisible(pane)) DockPaintSplitter(dc, &pane->splitter);
        }
    }
    EndPaint(sideWindow, &ps);
}

// ---- Invariant

static bool DockCheckRow(int32_t s, const DockRow *row) {
    if (!row->panes || PlexCount(row->panes) == 0 || !PlexCheck(row->panes)) return false;
    int32_t sum = 0, visible = 0;
    for (int32_t p = 0; p < PlexCount(row->panes); p++) {
        DockPane *pane = DockPaneAt(row, p);
        if ((pane->flags & DOCK_PANE_MOVING) || pane->frame || GetParent(pane->window) != dockSides[s].window)
            return false;
        if (!DockPaneVisible(pane)) continue;
        sum += *DockPaneAlong(pane, s);
        visible++;
    }
    return (row->hidden != 0) == (visible == 0) && (visible == 0 || sum == DockRowLength(row, s));
}

bool DockCheck() {
    for (int32_t s = 0; s < DOCK_SIDES; s++) {
        if (!dockSides[s].rows || !PlexCheck(dockSides[s].rows)) return false;
        for (int32_t r = 0; r < PlexCount(dockSides[s].rows); r++)
            if (!DockCheckRow(s, DockRowAt(s, r))) return false;
    }
    for (int32_t i = 0; i < PlexCount(dockFloats); i++) {
        DockPane *pane = (DockPane *)PlexElem(dockFloats, i);
        if ((pane->flags & DOCK_PANE_MOVING) || !pane->frame || GetParent(pane->window) != pane->frame)
            return false;
    }
    return true;
}
