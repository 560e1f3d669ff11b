// rebar: the toolbars' rebar (prefix Rebar). The container (vx_Rebar) holds the record's address in its one
// extra word, and the record is freed when the container goes; the common-control rebar inside it carries
// one band per toolbar, whose id is the band id of the application's description list.
//
// A layout read from a configuration is not trusted: its count is kept within 0..100 and each described
// band is added once, however often the layout names it, so that the record's 50 slots hold.
#include "ui/rebar.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/sysprobe.h"
#include "base/wnd.h"
#include "ui/draw.h"

#include <algorithm>
#include <cstring>

const char ercRebarComctl[] =
    "Internet Explorer 3.02 or newer, or ComCtl32.dll version 4.70 or newer is required.";
const char ercRebarCreateWindow[] = "Unable to create window";

static const char rebarClass[] = "vx_Rebar";

// ---- Start-up

static LRESULT CALLBACK RebarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

static bool RebarRegisterClass() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, rebarClass, &wc)) return true;
    wc.style = CS_CLASSDC | CS_DBLCLKS;
    wc.lpfnWndProc = RebarProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = rebarClass;
    return RegisterClassA(&wc) != 0;
}

bool RebarInit() {
    if (SysComctlBelow470()) {
        ErcSetAt(__FILE__, __LINE__, ercRebarComctl);
        return false;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    if (RebarRegisterClass()) return true;
    ErcSetSysAtF(__FILE__, __LINE__, ercRebarCreateWindow, GetLastError());
    return false;
}

// ---- Layouts

static void RebarLayoutFromList(const RebarBand *bands, RebarLayoutFlags flags, RebarLayout *out) {
    memset(out, 0, sizeof *out);
    out->flags = flags;
    bool newLine = false;
    for (const RebarBand *band = bands; band->name && out->count < REBAR_LAYOUT_MAX; band++) {
        if (band->id == REBAR_LINE_BREAK) {
            newLine = true;
            continue;
        }
        RebarLayoutEntry *entry = &out->entries[out->count];
        entry->id = band->id;
        entry->order = out->count++;
        entry->flags = (band->flags & REBAR_BAND_VISIBLE ? REBAR_ENTRY_VISIBLE : 0) |
                       (newLine ? REBAR_ENTRY_NEW_LINE : 0);
        newLine = false;
    }
}

static const RebarBand *RebarFindBand(const RebarBand *bands, int32_t id) {
    if (id == REBAR_LINE_BREAK) return nullptr;
    for (const RebarBand *band = bands; band->name; band++)
        if (band->id == id) return band;
    return nullptr;
}

static RebarBandSlot *RebarFindSlot(const RebarInfo *rebar, int32_t id) {
    for (int32_t i = 0; i < rebar->count; i++)
        if (rebar->slots[i].id == id) return (RebarBandSlot *)&rebar->slots[i];
    return nullptr;
}

// ---- Bands

static int32_t RebarWindowWidth(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

static bool RebarAddBand(RebarInfo *rebar, ToolbarInfo *toolbar, const RebarLayoutEntry *entry,
                         bool newLine) {
    ToolbarSetFlat(toolbar, rebar->flat);
    bool newer = SysComctlAbove471();
    int32_t width = RebarWindowWidth(toolbar->window);
    int32_t height = ToolbarWindowHeight(toolbar);
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_BACKGROUND;
    band.fStyle = RBBS_FIXEDBMP;
    if (!(entry->flags & REBAR_ENTRY_VISIBLE)) band.fStyle |= RBBS_HIDDEN;
    if (newLine) band.fStyle |= RBBS_BREAK;
    if (newer) band.fStyle |= RBBS_VARIABLEHEIGHT;
    band.hbmBack = rebar->textures ? drawMetrics.bmpMarble : nullptr;
    band.wID = (UINT)toolbar->ownerId;
    band.hwndChild = toolbar->window;
    SIZE most = {std::clamp(width, 10, 200), height};
    if (newer) SendMessageA(toolbar->window, TB_GETMAXSIZE, 0, (LPARAM)&most);
    band.cxMinChild = (UINT)most.cx;
    band.cyMinChild = (UINT)height;
    band.cx = (UINT)(entry->width ? entry->width : width + drawMetrics.dpiX / 8);
    band.cyChild = band.cyMaxChild = band.cyIntegral = (UINT)height;
    return SendMessageA(rebar->control, RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&band) != 0;
}

static bool RebarCompareOrder(const RebarLayoutEntry &a, const RebarLayoutEntry &b) {
    return a.order < b.order;
}

// Adds the layout's bands in their order; false when a toolbar or its band cannot be made.
static bool RebarAddBands(RebarInfo *rebar, const RebarLayout *layout) {
    int32_t count = std::clamp(layout->count, 0, (int32_t)REBAR_LAYOUT_MAX);
    RebarLayoutEntry entries[REBAR_LAYOUT_MAX];
    std::copy(layout->entries, layout->entries + count, entries);
    std::stable_sort(entries, entries + count, RebarCompareOrder);
    ToolbarCreateFlags flags = rebar->flat ? TOOLBAR_FLAT : (ToolbarCreateFlags)0;
    for (int32_t i = 0; i < count; i++) {
        const RebarBand *band = RebarFindBand(rebar->bands, entries[i].id);
        if (!band || RebarFindSlot(rebar, band->id) || rebar->count == REBAR_BANDS_MAX) continue;
        ToolbarInfo *toolbar =
            ToolbarCreate(rebar->control, band->id, flags, 0, 0, band->buttons, ToolbarTipText);
        if (!toolbar) return false;
        bool visible = entries[i].flags & REBAR_ENTRY_VISIBLE;
        if (!RebarAddBand(rebar, toolbar, &entries[i], entries[i].flags & REBAR_ENTRY_NEW_LINE)) {
            ToolbarDestroy(toolbar);
            ErcSetAt(__FILE__, __LINE__, ercRebarCreateWindow);
            return false;
        }
        ToolbarShow(toolbar, visible);
        rebar->slots[rebar->count++] = {band->id, toolbar};
    }
    return true;
}

// ---- Creation

static HWND RebarCreateControl(RebarInfo *rebar, int32_t width) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | RBS_VARHEIGHT |
                  RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN;
    if (SysComctlAbove471()) style |= RBS_DBLCLKTOGGLE;
    HWND control = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "", style, 0, 0, width, 0,
                                   rebar->container, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!control) return nullptr;
    REBARINFO info = {sizeof info, 0, nullptr};
    SendMessageA(control, RB_SETBARINFO, 0, (LPARAM)&info);
    return control;
}

RebarInfo *RebarCreate(HWND parent, const RebarBand *bands, const RebarLayout *layout) {
    RebarInfo *rebar = (RebarInfo *)MemAlloc(sizeof *rebar);
    if (!rebar) return nullptr;
    rebar->parent = parent;
    rebar->flat = layout->flags & REBAR_FLAT;
    rebar->textures = layout->flags & REBAR_TEXTURES;
    rebar->bands = bands;
    RECT client;
    GetClientRect(parent, &client);
    // The container's window id is the record's address; its WM_CREATE keeps it.
    HWND container =
        CreateWindowExA(0, rebarClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, client.right,
                        drawMetrics.dpiY, parent, (HMENU)rebar, GetModuleHandleA(nullptr), nullptr);
    if (!container) {
        MemFree(rebar);
        ErcSetAt(__FILE__, __LINE__, ercRebarCreateWindow);
        return nullptr;
    }
    if (!(rebar->control = RebarCreateControl(rebar, client.right))) {
        DestroyWindow(container);
        ErcSetAt(__FILE__, __LINE__, ercRebarCreateWindow);
        return nullptr;
    }
    if (!RebarAddBands(rebar, layout)) {
        ErcSaved error;
        ErcSave(&error); // the container's end must not hide why
        DestroyWindow(container);
        ErcRestore(&error);
        return nullptr;
    }
    return rebar;
}

RebarInfo *RebarCreateFromList(HWND parent, const RebarBand *bands, RebarLayoutFlags flags) {
    RebarLayout *layout = (RebarLayout *)MemAlloc(sizeof *layout);
    if (!layout) return nullptr;
    RebarLayoutFromList(bands, flags, layout);
    RebarInfo *rebar = RebarCreate(parent, bands, layout);
    MemFree(layout);
    return rebar;
}

void RebarDestroy(RebarInfo *rebar) {
    if (rebar) DestroyWindow(rebar->container);
}

// ---- Saving

static void RebarBandRect(const RebarInfo *rebar, int32_t index, RECT *out) {
    if (SysComctlAbove471()) {
        SendMessageA(rebar->control, RB_GETRECT, (WPARAM)index, (LPARAM)out);
    } else {
        GetWindowRect(rebar->control, out);
        MapWindowPoints(HWND_DESKTOP, rebar->control, (POINT *)out, 2);
    }
}

void RebarSaveLayout(const RebarInfo *rebar, RebarLayout *out) {
    memset(out, 0, sizeof *out);
    out->flags = (rebar->flat ? (uint32_t)REBAR_FLAT : 0) | (rebar->textures ? (uint32_t)REBAR_TEXTURES : 0);
    // Every band is saved, shown or hidden, even when none is shown and the rebar has no rows: a layout
    // without them would lose those toolbars for good.
    int32_t count =
        std::min((int32_t)SendMessageA(rebar->control, RB_GETBANDCOUNT, 0, 0), (int32_t)REBAR_LAYOUT_MAX);
    // A visible band below the running row's bottom starts the next row, whose bottom is then the band's
    // own. Rectangles rather than the row-height message: that message reads its argument as a band index on
    // some systems and as a row number on others.
    int32_t rowBottom = INT32_MIN; // none before the first visible band
    for (int32_t i = 0; i < count; i++) {
        RECT rect = {};
        RebarBandRect(rebar, i, &rect);
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        SendMessageA(rebar->control, RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&band);
        bool visible = !(band.fStyle & RBBS_HIDDEN);
        RebarLayoutEntry *entry = &out->entries[i];
        entry->id = (int32_t)band.wID;
        entry->width = (int32_t)band.cx;
        entry->order = i;
        entry->flags = visible ? REBAR_ENTRY_VISIBLE : 0;
        if (!visible) continue;
        if (rowBottom != INT32_MIN && rect.top >= rowBottom) entry->flags |= REBAR_ENTRY_NEW_LINE;
        if (rowBottom == INT32_MIN || rect.top >= rowBottom) rowBottom = rect.bottom;
    }
    out->count = count;
}

// ---- Operations

void RebarShow(RebarInfo *rebar, bool show) {
    ShowWindow(rebar->control, show ? SW_SHOWNA : SW_HIDE);
    ShowWindow(rebar->container, show ? SW_SHOWNA : SW_HIDE);
}

static bool RebarGetStyle(const RebarInfo *rebar, int32_t index, UINT *style) {
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE;
    if (!SendMessageA(rebar->control, RB_GETBANDINFOA, (WPARAM)index, (LPARAM)&band)) return false;
    *style = band.fStyle;
    return true;
}

static int32_t RebarIndexOf(const RebarInfo *rebar, int32_t id) {
    return (int32_t)SendMessageA(rebar->control, RB_IDTOINDEX, (WPARAM)id, 0);
}

void RebarShowBand(RebarInfo *rebar, int32_t id, bool show) {
    int32_t index = RebarIndexOf(rebar, id);
    RebarBandSlot *slot = RebarFindSlot(rebar, id);
    if (index < 0 || !slot) return;
    if (SysComctlAbove471()) {
        ToolbarShow(slot->toolbar, show);
        SendMessageA(rebar->control, RB_SHOWBAND, (WPARAM)index, show);
        return;
    }
    UINT style;
    if (!RebarGetStyle(rebar, index, &style) || !(style & RBBS_HIDDEN) == show) return;
    ToolbarShow(slot->toolbar, show);
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE;
    band.fStyle = show ? style & ~(UINT)RBBS_HIDDEN : style | RBBS_HIDDEN;
    SendMessageA(rebar->control, RB_SETBANDINFOA, (WPARAM)index, (LPARAM)&band);
}

bool RebarIsBandVisible(const RebarInfo *rebar, int32_t id) {
    int32_t index = RebarIndexOf(rebar, id);
    UINT style;
    return index >= 0 && RebarGetStyle(rebar, index, &style) && !(style & RBBS_HIDDEN);
}

void RebarSetTextures(RebarInfo *rebar, bool on) {
    if (rebar->textures == on) return;
    rebar->textures = on;
    int32_t count = (int32_t)SendMessageA(rebar->control, RB_GETBANDCOUNT, 0, 0);
    for (int32_t i = 0; i < count; i++) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_BACKGROUND;
        band.hbmBack = on ? drawMetrics.bmpMarble : nullptr;
        SendMessageA(rebar->control, RB_SETBANDINFOA, (WPARAM)i, (LPARAM)&band);
    }
    RebarRedraw(rebar);
}

void RebarCheckButton(RebarInfo *rebar, int32_t id, int32_t command, bool checked) {
    if (RebarBandSlot *slot = RebarFindSlot(rebar, id)) ToolbarCheck(slot->toolbar, command, checked);
}

static int32_t RebarWindowHeight(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

void RebarFitWidth(RebarInfo *rebar) {
    if (IsIconic(rebar->parent)) return;
    RECT client;
    GetClientRect(rebar->parent, &client);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(rebar->control, nullptr, 0, 0, client.right, RebarWindowHeight(rebar->control), flags);
    SetWindowPos(rebar->container, nullptr, 0, 0, client.right, RebarWindowHeight(rebar->container), flags);
}

void RebarGetRect(const RebarInfo *rebar, RECT *out) {
    GetWindowRect(rebar->container, out);
    MapWindowPoints(HWND_DESKTOP, GetParent(rebar->container), (POINT *)out, 2);
}

void RebarRedraw(RebarInfo *rebar) {
    RedrawWindow(rebar->container, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---- The container

static RebarInfo *RebarOf(HWND window) {
    return (RebarInfo *)GetWindowLongPtrA(window, 0);
}

static LRESULT RebarOnCreate(HWND window, const CREATESTRUCTA *create) {
    RebarInfo *rebar = (RebarInfo *)create->hMenu;
    SetWindowLongPtrA(window, 0, (LONG_PTR)rebar);
    rebar->container = window;
    return 0;
}

static void RebarOnDestroy(HWND window) {
    RebarInfo *rebar = RebarOf(window);
    // The bands' toolbars go after their container: nothing may reach the record while they do.
    SetWindowLongPtrA(window, 0, 0);
    MemFree(rebar);
}

static LRESULT RebarOnNotify(HWND window, WPARAM wParam, LPARAM lParam) {
    const NMHDR *header = (const NMHDR *)lParam;
    RebarInfo *rebar = RebarOf(window);
    if (rebar && header->code == (UINT)RBN_HEIGHTCHANGE && header->hwndFrom == rebar->control)
        SetWindowPos(window, nullptr, 0, 0, RebarWindowWidth(window), RebarWindowHeight(rebar->control),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return SendMessageA(GetParent(window), WM_NOTIFY, wParam, lParam);
}

static LRESULT CALLBACK RebarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return RebarOnCreate(window, (const CREATESTRUCTA *)lParam);
    case WM_DESTROY: RebarOnDestroy(window); return 0;
    case WM_NOTIFY: return RebarOnNotify(window, wParam, lParam);
    case WM_COMMAND: return WndCommandParent(window, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return 1;
    default: return WndDefaultProc(window, message, wParam, lParam);
    }
}
