// graph: the graph window, class vx_Graph (prefix Graph). The graph object lives in the window's extra
// word from WM_CREATE to WM_DESTROY. The window lays the graph out lazily: every change raises the
// object's change counter, and a refresh lays out only when the counter moved since the last layout, and
// scrolls the selection into view only once per change, so that the user's own scrolling is left alone.
// Selection and hot-edge changes repaint only what changed.
#include "ui/graph.h"

#include "base/heap.h"
#include "base/rect.h"
#include "base/seam.h"
#include "base/utilil.h"
#include "base/wheel.h"
#include "base/wnd.h"
#include "ui/draw.h"
#include "ui/pen.h"

#include <cstring>

const char graphClass[] = "vx_Graph";

enum {
    GRAPH_HOT_GROW_X = 8, // around a hot edge's repaint, besides its arrowhead
    GRAPH_HOT_GROW_Y = 6,
    GRAPH_NODE_GROW = 3, // around a node's repaint: its shadow
};

static HCURSOR graphCursorPlus;
static HCURSOR graphCursorMinus;
static GraphHelpModeHook graphHelpModeHook;

static void GraphResetSeams() {
    graphHelpModeHook = nullptr;
}

void GraphSetHelpModeHook(GraphHelpModeHook hook) {
    graphHelpModeHook = hook;
    SeamRegisterReset(GraphResetSeams);
}

static bool GraphHelpMode() {
    return graphHelpModeHook && graphHelpModeHook();
}

Graph *GraphFromWindow(HWND window) {
    return window ? (Graph *)GetWindowLongPtrA(window, 0) : nullptr;
}

static bool GraphHasItem(const Graph *graph, int32_t item) {
    return item >= 0 && item < GraphLayCount(&graph->lay);
}

// ---- Scrolling

static void GraphClientSize(const Graph *graph, int32_t *width, int32_t *height) {
    RECT client;
    GetClientRect(graph->window, &client);
    *width = RectWidth(&client);
    *height = RectHeight(&client);
}

static void GraphUpdateBars(Graph *graph) {
    int32_t width, height, extentW, extentH;
    GraphExtent(graph, &extentW, &extentH);
    GraphClientSize(graph, &width, &height);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = extentW - 1;
    info.nPage = (UINT)Max(width, 0);
    info.nPos = graph->originX;
    WndSetScrollInfo(graph->window, SB_HORZ, &info, TRUE);
    info.nMax = extentH - 1;
    info.nPage = (UINT)Max(height, 0);
    info.nPos = graph->originY;
    WndSetScrollInfo(graph->window, SB_VERT, &info, TRUE);
}

// Moves the origin (kept within the graph) and scrolls the painted contents with it.
static void GraphScrollTo(Graph *graph, int32_t x, int32_t y) {
    int32_t width, height, extentW, extentH;
    GraphExtent(graph, &extentW, &extentH);
    GraphClientSize(graph, &width, &height);
    x = GraphLayClampOrigin(x, extentW, width);
    y = GraphLayClampOrigin(y, extentH, height);
    int32_t dx = graph->originX - x, dy = graph->originY - y;
    graph->originX = x;
    graph->originY = y;
    if (dx || dy) DrawScrollWindow(graph->window, nullptr, dx, dy);
    GraphUpdateBars(graph);
}

static int32_t GraphScrollTarget(Graph *graph, int bar, WPARAM wParam) {
    bool horizontal = bar == SB_HORZ;
    int32_t origin = horizontal ? graph->originX : graph->originY, width, height;
    GraphClientSize(graph, &width, &height);
    int32_t line = ((horizontal ? drawMetrics.dpiX : drawMetrics.dpiY) + 1) / 2;
    int32_t page = horizontal ? width : height;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: return origin - line;
    case SB_LINEDOWN: return origin + line;
    case SB_PAGEUP: return origin - page;
    case SB_PAGEDOWN: return origin + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return WndGetScrollTrackPos(graph->window, bar);
    case SB_TOP: return 0;
    case SB_BOTTOM: return INT32_MAX;
    default: return origin;
    }
}

static void GraphOnScroll(Graph *graph, int bar, WPARAM wParam) {
    int32_t target = GraphScrollTarget(graph, bar, wParam);
    if (bar == SB_HORZ)
        GraphScrollTo(graph, target, graph->originY);
    else
        GraphScrollTo(graph, graph->originX, target);
}

// The system's wheel lines, at most the graph's height in quarter inches, each a quarter inch.
static void GraphOnWheel(Graph *graph, WPARAM wParam) {
    int32_t extentW, extentH, quarter = Max(1, drawMetrics.dpiY / 4);
    GraphExtent(graph, &extentW, &extentH);
    int32_t lines = WheelLines(wParam, Max(1, extentH / quarter));
    GraphScrollTo(graph, graph->originX, graph->originY + lines * quarter);
}

// A window as large as the graph in a direction takes its origin back to 0 there; a smaller one keeps it.
static void GraphOnSize(Graph *graph) {
    int32_t width, height, extentW, extentH;
    GraphExtent(graph, &extentW, &extentH);
    GraphClientSize(graph, &width, &height);
    int32_t x = GraphLayClampOrigin(graph->originX, extentW, width);
    int32_t y = GraphLayClampOrigin(graph->originY, extentH, height);
    if (x != graph->originX || y != graph->originY) InvalidateRect(graph->window, nullptr, TRUE);
    graph->originX = x;
    graph->originY = y;
    GraphUpdateBars(graph);
}

static void GraphShowNode(Graph *graph, int32_t index) {
    int32_t width, height, extentW, extentH;
    GraphExtent(graph, &extentW, &extentH);
    GraphClientSize(graph, &width, &height);
    const GraphNode *node = GraphLayNode(&graph->lay, index);
    GraphLayShowOrigin(&node->rect, graph->lay.vertical, width, height, extentW, extentH, &graph->originX,
                       &graph->originY);
}

// ---- Layout and refresh

static int32_t GraphFirstShown(const Graph *graph) {
    for (int32_t i = 0; i < GraphLayCount(&graph->lay); i++)
        if (GraphLayNode(&graph->lay, i)->flags & GRAPH_NODE_SHOWN) return i;
    return -1;
}

// A selection that the layout left out (its node or an ancestor hidden) is dropped.
static void GraphLayoutWindow(Graph *graph) {
    GraphLayout(graph);
    if (GraphHasItem(graph, graph->selected) &&
        !(GraphLayNode(&graph->lay, graph->selected)->flags & GRAPH_NODE_SHOWN)) {
        GraphLayNode(&graph->lay, graph->selected)->flags &= ~(uint32_t)GRAPH_NODE_SELECTED;
        graph->selected = -1;
    }
}

static void GraphRefreshObject(Graph *graph) {
    if (graph->laidOut != graph->changes) GraphLayoutWindow(graph);
    if (graph->shownAt != graph->changes) {
        int32_t show = GraphHasItem(graph, graph->selected) ? graph->selected : GraphFirstShown(graph);
        if (show >= 0) GraphShowNode(graph, show);
        graph->shownAt = graph->changes;
    }
    GraphOnSize(graph);
    InvalidateRect(graph->window, nullptr, TRUE);
}

void GraphRefresh(HWND window) {
    if (Graph *graph = GraphFromWindow(window)) GraphRefreshObject(graph);
}

void GraphInvalidate(HWND window, bool refresh) {
    Graph *graph = GraphFromWindow(window);
    if (!graph) return;
    graph->changes++;
    if (refresh) GraphRefreshObject(graph);
}

// ---- Selection and the hot edge

static void GraphInvalidateNode(Graph *graph, int32_t index) {
    if (!GraphHasItem(graph, index)) return;
    RECT rect;
    GraphNodeRect(graph, index, false, &rect);
    InflateRect(&rect, GRAPH_NODE_GROW, GRAPH_NODE_GROW);
    InvalidateRect(graph->window, &rect, TRUE);
}

static void GraphSelect(Graph *graph, int32_t item) {
    if (!GraphHasItem(graph, item)) item = -1;
    int32_t old = graph->selected;
    if (item == old) return;
    if (GraphHasItem(graph, old)) GraphLayNode(&graph->lay, old)->flags &= ~(uint32_t)GRAPH_NODE_SELECTED;
    if (item >= 0) GraphLayNode(&graph->lay, item)->flags |= GRAPH_NODE_SELECTED;
    graph->selected = item;
    GraphInvalidateNode(graph, old);
    GraphInvalidateNode(graph, item);
}

static void GraphInvalidateEdge(Graph *graph, const GraphEdge *edge) {
    GraphBox bounds;
    int32_t half = graph->lay.metrics.arrowHalf;
    GraphLayEdgeBounds(edge, -graph->originX, -graph->originY, 0, &bounds);
    RECT rect = {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    InflateRect(&rect, GRAPH_HOT_GROW_X + half, GRAPH_HOT_GROW_Y + half);
    InvalidateRect(graph->window, &rect, TRUE);
}

static void GraphSetHot(Graph *graph, int32_t index) {
    for (int32_t i = 0; i < PlexCount(graph->lay.edges); i++) {
        GraphEdge *edge = GraphLayEdge(&graph->lay, i);
        if (!(edge->flags & GRAPH_EDGE_HOT) && i != index) continue;
        if (i == index)
            edge->flags |= GRAPH_EDGE_HOT;
        else
            edge->flags &= ~(uint32_t)GRAPH_EDGE_HOT;
        GraphInvalidateEdge(graph, edge);
    }
    const GraphEdge *hot = index >= 0 ? GraphLayEdge(&graph->lay, index) : nullptr;
    graph->hotParent = hot ? hot->parent : -1;
    graph->hotChild = hot ? hot->child : -1;
}

// ---- Mouse

static bool GraphSend(Graph *graph, int32_t code, POINT point, int32_t item, int32_t second) {
    const GraphEvent event = {code, point.x, point.y, item, second};
    return graph->callbacks.event && graph->callbacks.event(graph->window, &event);
}

static int32_t GraphMouseCode(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: return GRAPH_EV_LEFT_DOWN;
    case WM_MBUTTONDOWN: return GRAPH_EV_MIDDLE_DOWN;
    case WM_RBUTTONDOWN: return GRAPH_EV_RIGHT_DOWN;
    case WM_LBUTTONDBLCLK: return GRAPH_EV_LEFT_DOUBLE;
    case WM_MBUTTONDBLCLK: return GRAPH_EV_MIDDLE_DOUBLE;
    case WM_RBUTTONDBLCLK: return GRAPH_EV_RIGHT_DOUBLE;
    default: return GRAPH_EV_EXTRA_DOWN;
    }
}

// The expand box: the node is selected and the owner asked; when it agrees (it has expanded or collapsed
// the node, perhaps loading new nodes), the node stays selected and the graph is laid out and scrolled to it.
static void GraphOnExpandBox(Graph *graph, int32_t node, POINT point) {
    GraphSelect(graph, node);
    if (!GraphSend(graph, GRAPH_EV_EXPAND, point, node, -1)) return;
    GraphSelect(graph, node);
    graph->changes++;
    GraphRefreshObject(graph);
}

static void GraphOnNodeClick(Graph *graph, int32_t code, int32_t node, POINT point) {
    if (GraphSend(graph, code, point, node, -1)) return;
    if (code == GRAPH_EV_LEFT_DOWN || code == GRAPH_EV_RIGHT_DOWN) GraphSelect(graph, node);
    if (code == GRAPH_EV_LEFT_DOUBLE) GraphSend(graph, GRAPH_EV_ACTIVATE, point, node, -1);
}

static void GraphOnEdgeClick(Graph *graph, int32_t code, int32_t index, POINT point) {
    const GraphEdge edge = *GraphLayEdge(&graph->lay, index);
    if (GraphSend(graph, code, point, edge.parent, edge.child)) return;
    if (code == GRAPH_EV_LEFT_DOWN) GraphSetHot(graph, index);
    if (code == GRAPH_EV_LEFT_DOUBLE) GraphSend(graph, GRAPH_EV_EDGE_OPEN, point, edge.parent, edge.child);
}

static void GraphOnMouse(Graph *graph, UINT message, LPARAM lParam) {
    SetFocus(graph->window);
    POINT point = PointFromLParam(lParam);
    if (GraphHelpMode()) {
        GraphSend(graph, GRAPH_EV_HELP, point, -1, -1);
        return;
    }
    int32_t code = GraphMouseCode(message), x = point.x + graph->originX, y = point.y + graph->originY;
    bool onBox;
    int32_t node = GraphLayNodeAt(&graph->lay, x, y, graph->boxSide, &onBox);
    bool left = code == GRAPH_EV_LEFT_DOWN || code == GRAPH_EV_LEFT_DOUBLE;
    if (node >= 0 && onBox && left)
        GraphOnExpandBox(graph, node, point);
    else if (node >= 0)
        GraphOnNodeClick(graph, code, node, point);
    else if (int32_t edge = GraphLayEdgeAt(&graph->lay, x, y); edge >= 0)
        GraphOnEdgeClick(graph, code, edge, point);
    else
        GraphSelect(graph, -1);
}

static bool GraphOnSetCursor(Graph *graph) {
    if (GraphHelpMode()) {
        CursorSetHelp();
        return true;
    }
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(graph->window, &point);
    bool onBox;
    int32_t node = GraphLayNodeAt(&graph->lay, point.x + graph->originX, point.y + graph->originY,
                                  graph->boxSide, &onBox);
    if (node >= 0 && onBox)
        SetCursor(TrlHasChildrenAt(graph->lay.nodes, node) ? graphCursorMinus : graphCursorPlus);
    else
        SetCursor(drawMetrics.cursorArrow ? drawMetrics.cursorArrow : LoadCursor(nullptr, IDC_ARROW));
    return true;
}

// ---- Painting

static void GraphOnPaint(Graph *graph) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(graph->window, &paint);
    if (graph->laidOut != graph->changes) GraphLayoutWindow(graph);
    DrawBuffer buffer;
    DrawBufferClear(&buffer);
    HDC target = DrawBufferBegin(&buffer, dc, graph->window, false);
    GraphDraw(graph, target, &paint.rcPaint);
    DrawBufferEnd(&buffer, false);
    EndPaint(graph->window, &paint);
}

static void GraphOnEraseBackground(Graph *graph, HDC dc) {
    RECT client;
    GetClientRect(graph->window, &client);
    DrawFillRect(dc, &client, graph->format.background);
}

// A flat one-pixel border in place of the sunken one.
static void GraphOnNcPaint(Graph *graph) {
    if (!(GetWindowLongA(graph->window, GWL_STYLE) & WS_BORDER)) return;
    HDC dc = GetWindowDC(graph->window);
    if (!dc) return;
    RECT rect;
    GetWindowRect(graph->window, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    HPEN previous = PenSelectSolid(dc, drawMetrics.colorBtnShadow);
    DrawRectOutline(dc, &rect);
    SelectObject(dc, previous);
    ReleaseDC(graph->window, dc);
}

// ---- The window

static LRESULT GraphOnCreate(HWND window, const CREATESTRUCTA *create) {
    Graph *graph = (Graph *)MemAlloc(sizeof(Graph));
    if (!graph) return -1;
    if (!GraphObjectInit(graph, window)) {
        MemFree(graph);
        return -1;
    }
    const GraphFormatRecord *record = (const GraphFormatRecord *)create->lpCreateParams;
    if (record) {
        graph->callbacks = record->callbacks;
        GraphSetFormat(graph, &record->format);
    }
    SetWindowLongPtrA(window, 0, (LONG_PTR)graph);
    return 0;
}

static void GraphOnDestroy(Graph *graph) {
    if (graph->callbacks.destroy) graph->callbacks.destroy(graph->window);
    SetWindowLongPtrA(graph->window, 0, 0);
    GraphObjectFree(graph);
    MemFree(graph);
}

static LRESULT CALLBACK GraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return GraphOnCreate(window, (const CREATESTRUCTA *)lParam);
    Graph *graph = GraphFromWindow(window);
    if (!graph) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY: GraphOnDestroy(graph); return 0;
    case WM_PAINT: GraphOnPaint(graph); return 0;
    case WM_ERASEBKGND: GraphOnEraseBackground(graph, (HDC)wParam); return 1;
    case WM_NCPAINT: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        GraphOnNcPaint(graph);
        return result;
    }
    case WM_SIZE: GraphOnSize(graph); return 0;
    case WM_HSCROLL: GraphOnScroll(graph, SB_HORZ, wParam); return 0;
    case WM_VSCROLL: GraphOnScroll(graph, SB_VERT, wParam); return 0;
    case WM_MOUSEWHEEL: GraphOnWheel(graph, wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
        GraphOnMouse(graph, message, lParam);
        return message == WM_XBUTTONDOWN || message == WM_XBUTTONDBLCLK; // the extra buttons answer TRUE
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && GraphOnSetCursor(graph)) return TRUE;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool GraphRegister() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    graphCursorPlus = LoadCursorA(instance, "OtlPlus");
    graphCursorMinus = LoadCursorA(instance, "OtlMinus");
    if (!graphCursorPlus) graphCursorPlus = LoadCursor(nullptr, IDC_ARROW);
    if (!graphCursorMinus) graphCursorMinus = LoadCursor(nullptr, IDC_ARROW);
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS | CS_CLASSDC | CS_SAVEBITS;
    wc.lpfnWndProc = GraphProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = graphClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND GraphCreate(HWND parent, const RECT *rect, const GraphFormatRecord *record, bool show) {
    DWORD style = WS_CHILD | WS_BORDER | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS;
    HWND window =
        CreateWindowExA(0, graphClass, "", style, rect->left, rect->top, RectWidth(rect), RectHeight(rect),
                        parent, nullptr, GetModuleHandleA(nullptr), (void *)record);
    Graph *graph = GraphFromWindow(window);
    if (!graph) return nullptr;
    const GraphCallbacks &c = graph->callbacks;
    if (c.create && !c.create(window, c.ownerData)) {
        DestroyWindow(window);
        return nullptr;
    }
    GraphUpdateBars(graph);
    if (show) ShowWindow(window, SW_SHOW);
    return window;
}

// ---- Nodes

void GraphClear(HWND window) {
    Graph *graph = GraphFromWindow(window);
    if (!graph) return;
    TrlClear(graph->lay.nodes);
    PlexClear(graph->lay.edges);
    graph->selected = graph->hotParent = graph->hotChild = -1;
    graph->changes++;
}

bool GraphSetNodes(HWND window, const GraphNodeInit *nodes, int32_t count) {
    Graph *graph = GraphFromWindow(window);
    if (!graph) return false;
    GraphClear(window);
    if (count <= 0) return true;
    if (!TrlInsert(graph->lay.nodes, 0, count, nullptr, 0)) return false;
    for (int32_t i = 0; i < count; i++) {
        GraphNode *node = GraphLayNode(&graph->lay, i);
        node->trl.bits = nodes[i].depth & TRL_DEPTH_MASK;
        node->values[0] = nodes[i].values[0];
        node->values[1] = nodes[i].values[1];
        if (nodes[i].depth & GRAPH_INIT_PLACEHOLDER) node->flags = GRAPH_NODE_PLACEHOLDER;
    }
    return true;
}

void GraphSetFormat(HWND window, const GraphFormat *format) {
    if (Graph *graph = GraphFromWindow(window)) GraphSetFormat(graph, format);
}

void GraphGetFormat(HWND window, GraphFormat *out) {
    if (Graph *graph = GraphFromWindow(window)) *out = graph->format;
}

int32_t GraphSetDirection(HWND window, int32_t direction) {
    Graph *graph = GraphFromWindow(window);
    return graph ? GraphSetDirection(graph, direction) : 0;
}

void GraphSetFonts(HWND window, const FontDesc *first, const FontDesc *second, const FontDesc *node) {
    Graph *graph = GraphFromWindow(window);
    if (!graph) return;
    GraphFormat format = graph->format;
    if (first) format.fonts[0] = *first;
    if (second) format.fonts[1] = *second;
    if (node) format.nodeFont = *node;
    GraphSetFormat(graph, &format);
}

void GraphSelectItem(HWND window, int32_t item) {
    if (Graph *graph = GraphFromWindow(window)) GraphSelect(graph, item);
}

int32_t GraphGetSelection(HWND window) {
    Graph *graph = GraphFromWindow(window);
    return graph ? graph->selected : -1;
}

int32_t GraphItemAt(HWND window, int32_t x, int32_t y) {
    Graph *graph = GraphFromWindow(window);
    bool onBox;
    return graph ? GraphLayNodeAt(&graph->lay, x + graph->originX, y + graph->originY, graph->boxSide, &onBox)
                 : -1;
}

bool GraphGetHotEdge(HWND window, int32_t *parent, int32_t *child) {
    Graph *graph = GraphFromWindow(window);
    if (!graph || graph->hotParent < 0) return false;
    *parent = graph->hotParent;
    *child = graph->hotChild;
    return true;
}

bool GraphGetItemRect(HWND window, int32_t item, RECT *out) {
    Graph *graph = GraphFromWindow(window);
    if (!graph || !GraphHasItem(graph, item)) return false;
    GraphNodeRect(graph, item, true, out);
    return true;
}

void GraphRedrawItem(HWND window, int32_t item) {
    if (Graph *graph = GraphFromWindow(window)) GraphInvalidateNode(graph, item);
}

void GraphSetHidden(HWND window, int32_t item, bool shown) {
    Graph *graph = GraphFromWindow(window);
    if (!graph || !GraphHasItem(graph, item)) return;
    GraphLayNode(&graph->lay, item)->hidden = !shown;
    graph->changes++;
}

void GraphSetNodeFlag(HWND window, int32_t item, int32_t value) {
    Graph *graph = GraphFromWindow(window);
    if (!graph || !GraphHasItem(graph, item)) return;
    GraphLayNode(&graph->lay, item)->reversed = value == 0;
    graph->changes++;
}

bool GraphEnumNodes(HWND window, GraphEnumProc callback) {
    Graph *graph = GraphFromWindow(window);
    if (!graph) return true;
    for (int32_t i = 0; i < GraphLayCount(&graph->lay); i++)
        if (!callback(window, GraphLayNode(&graph->lay, i), i)) return false;
    return true;
}
