// graphfmt: the graph format record, and the layout and drawing of a graph (prefixes Graph and
// GraphFormat). The format part is graphlay's stored GraphFormat; the record adds the owner's callbacks in
// memory. A graph makes its three fonts on demand for its measuring device (the screen, or the printer
// while it prints) and deletes a font when its description changes. A layout measures every shown node
// (the owner's measure, else its text in the node font) and hands the rest to graphlay; drawing fills the
// background, then draws the edges and the nodes over them.
#include "ui/graphfmt.h"

#include "base/heap.h"
#include "base/utilil.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/pen.h"

#include <cstring>

enum {
    GRAPH_SHADOW_COLOR = 0x808080,
    GRAPH_HOT_PEN = 6,     // the hot edge's pen width
    GRAPH_SHADOW_ROOM = 3, // pixels a node's shadow reaches past its box
    GRAPH_TEXT_MAX = 256,
};

// ---- The format

static void GraphDefaultText(void *, int32_t, char *out, int32_t size) {
    if (size > 0) out[0] = 0;
}

void GraphFormatDefaults(GraphFormat *format) {
    memset(format, 0, sizeof *format);
    format->direction = GRAPH_LEFT_TO_RIGHT;
    format->nodeShape = GRAPH_SHAPE_BOX;
    format->edgePenWidth = 1;
    format->arrowheads = 1;
    format->edgeStyle = GRAPH_EDGE_ELBOW;
    format->spacing = 50;
    format->background = 0xC0C0C0;
    format->edgeColor = 0x800000;
    format->highlightColor = 0x0000FF;
    format->fonts[0] = format->fonts[1] = format->nodeFont = drawMetrics.guiFontDesc;
    uint32_t back = DrawIsHiColor() ? 0xCCFFFF : 0xFFFFFF;
    format->spareColors[1] = format->nodeBack = back;
    format->drawFlags = GRAPH_DRAW_SHADOW;
}

void GraphFormatInit(GraphFormatRecord *record) {
    memset(record, 0, sizeof *record);
    GraphFormatDefaults(&record->format);
    record->callbacks.text = GraphDefaultText;
}

// ---- The object

bool GraphObjectInit(Graph *graph, HWND window) {
    memset(graph, 0, sizeof *graph);
    graph->window = window;
    graph->selected = graph->hotParent = graph->hotChild = -1;
    graph->device = DRAW_SCREEN;
    graph->boxSide = 2 * drawMetrics.guiFontAvgWidth;
    graph->callbacks.text = GraphDefaultText;
    GraphFormatDefaults(&graph->format);
    return GraphLayCreate(&graph->lay);
}

void GraphObjectFree(Graph *graph) {
    GraphDropFonts(graph);
    GraphLayFree(&graph->lay);
}

static const FontDesc *GraphFontDesc(const GraphFormat *format, int32_t which) {
    return which == GRAPH_NODE_FONT ? &format->nodeFont : &format->fonts[which];
}

static void GraphDropFont(Graph *graph, int32_t which) {
    if (graph->fonts[which]) DeleteObject(graph->fonts[which]);
    graph->fonts[which] = nullptr;
}

void GraphDropFonts(Graph *graph) {
    for (int32_t k = 0; k < GRAPH_FONTS; k++) GraphDropFont(graph, k);
}

HFONT GraphFont(Graph *graph, int32_t which) {
    if (!graph->fonts[which])
        graph->fonts[which] = FontCreate(graph->device, GraphFontDesc(&graph->format, which));
    return graph->fonts[which];
}

void GraphSetFormat(Graph *graph, const GraphFormat *format) {
    GraphFormat copy = *format;
    GraphFormatNormalize(&copy);
    for (int32_t k = 0; k < GRAPH_FONTS; k++)
        if (!FontDescEqual(GraphFontDesc(&graph->format, k), GraphFontDesc(&copy, k)))
            GraphDropFont(graph, k);
    graph->format = copy;
    graph->changes++;
}

int32_t GraphSetDirection(Graph *graph, int32_t direction) {
    int32_t old = graph->format.direction;
    graph->format.direction = direction;
    graph->changes++;
    return old;
}

// ---- Layout

static bool GraphMeasureNode(Graph *graph, HDC dc, int32_t item, SIZE *size) {
    *size = SIZE{0, 0};
    const GraphCallbacks &c = graph->callbacks;
    if (c.measure) return c.measure(c.ownerData, item, dc, graph->device == DRAW_PRINTER, size);
    char text[GRAPH_TEXT_MAX] = "";
    if (c.text) c.text(c.ownerData, item, text, sizeof text);
    text[sizeof text - 1] = 0;
    *size = DrawTextExtent(dc, text, (int32_t)strlen(text));
    return true;
}

static bool GraphMeasureNodes(Graph *graph, HDC dc) {
    HGDIOBJ previous = SelectObject(dc, GraphFont(graph, GRAPH_NODE_FONT));
    bool ok = true;
    for (int32_t i = 0; ok && i < GraphLayCount(&graph->lay); i++) {
        GraphNode *node = GraphLayNode(&graph->lay, i);
        if (!(node->flags & GRAPH_NODE_SHOWN) || (node->flags & GRAPH_NODE_PLACEHOLDER)) continue;
        SIZE size;
        ok = GraphMeasureNode(graph, dc, i, &size);
        node = GraphLayNode(&graph->lay, i); // the owner's measure may not move the list, but be sure
        node->extentW = size.cx;
        node->extentH = size.cy;
    }
    SelectObject(dc, previous);
    return ok;
}

// The hot edge is known by its two nodes, so that it stays hot across layouts while both are shown.
static void GraphMarkHot(Graph *graph) {
    bool found = false;
    for (int32_t i = 0; i < PlexCount(graph->lay.edges); i++) {
        GraphEdge *edge = GraphLayEdge(&graph->lay, i);
        bool hot = edge->parent == graph->hotParent && edge->child == graph->hotChild;
        edge->flags = hot ? edge->flags | GRAPH_EDGE_HOT : edge->flags & ~(uint32_t)GRAPH_EDGE_HOT;
        found = found || hot;
    }
    if (!found) graph->hotParent = graph->hotChild = -1;
}

bool GraphLayout(Graph *graph) {
    HDC dc = DrawGetDC(graph->device);
    if (!dc) return false;
    for (int32_t k = 0; k < GRAPH_FONTS; k++) GraphFont(graph, k);
    SIZE dpi = DrawGetResolution(graph->device);
    GraphLayMeasures(&graph->format, dpi.cx, dpi.cy, &graph->lay.metrics);
    graph->lay.capX = drawMetrics.dpiX;
    graph->lay.capY = drawMetrics.dpiY;
    const GraphCallbacks &c = graph->callbacks;
    if ((graph->format.options & GRAPH_OPT_ASK_LAYOUT) && c.permit && !c.permit(graph->window, c.ownerData))
        return false;
    GraphLayMarkShown(&graph->lay);
    if (!GraphMeasureNodes(graph, dc)) return false;
    bool ok = GraphLayRun(&graph->lay, &graph->format);
    GraphMarkHot(graph);
    graph->laidOut = graph->changes;
    return ok;
}

void GraphExtent(const Graph *graph, int32_t *width, int32_t *height) {
    bool empty = GraphLayCount(&graph->lay) == 0;
    *width = empty ? drawMetrics.screenWidth : graph->lay.width;
    *height = empty ? drawMetrics.screenHeight : graph->lay.height;
}

// ---- Drawing

static RECT GraphRect(const GraphBox *box, int32_t dx, int32_t dy) {
    return RECT{box->x + dx, box->y + dy, box->x + dx + box->w, box->y + dy + box->h};
}

static POINT GraphPointOf(GraphPoint p) {
    return POINT{p.x, p.y};
}

static void GraphDrawArrow(const Graph *graph, HDC dc, const GraphEdge *edge, int32_t arrow, int32_t dx,
                           int32_t dy) {
    GraphPoint head[4];
    GraphLayArrowHead({edge->x2 + dx, edge->y2 + dy}, arrow, graph->lay.metrics.arrowHalf,
                      graph->lay.metrics.arrowLen, head);
    POINT barbs[3] = {GraphPointOf(head[0]), GraphPointOf(head[1]), GraphPointOf(head[2])};
    POINT shaft[2] = {GraphPointOf(head[3]), GraphPointOf(head[1])};
    Polyline(dc, barbs, 3);
    Polyline(dc, shaft, 2);
}

static HPEN GraphEdgePen(const Graph *graph, const GraphEdge *edge) {
    const GraphFormat &f = graph->format;
    bool highlight = (edge->flags & GRAPH_EDGE_REVERSED) && (f.highlight & GRAPH_HIGHLIGHT_PEN);
    COLORREF color = highlight ? f.highlightColor : f.edgeColor;
    return PenGet(PS_SOLID, color, (edge->flags & GRAPH_EDGE_HOT) ? GRAPH_HOT_PEN : f.edgePenWidth);
}

static void GraphDrawEdges(Graph *graph, HDC dc, const RECT *clip, int32_t dx, int32_t dy) {
    int32_t margin = Max(GRAPH_HOT_PEN, graph->format.edgePenWidth) + graph->lay.metrics.arrowHalf;
    HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_PEN));
    for (int32_t i = 0; i < PlexCount(graph->lay.edges); i++) {
        const GraphEdge *edge = GraphLayEdge(&graph->lay, i);
        GraphBox bounds;
        GraphLayEdgeBounds(edge, dx, dy, margin, &bounds);
        RECT area = GraphRect(&bounds, 0, 0);
        if (!RectIntersects(&area, clip)) continue;
        SelectObject(dc, GraphEdgePen(graph, edge));
        GraphPoint path[4];
        int32_t arrow;
        int32_t count =
            GraphLayEdgePath(&graph->lay, edge, graph->lay.metrics.arrowLen, dx, dy, path, &arrow);
        POINT points[4];
        for (int32_t k = 0; k < count; k++) points[k] = GraphPointOf(path[k]);
        if (edge->style == GRAPH_EDGE_BEZIER)
            PolyBezier(dc, points, 4);
        else
            Polyline(dc, points, count);
        if (arrow) GraphDrawArrow(graph, dc, edge, arrow, dx, dy);
    }
    SelectObject(dc, previous);
}

// The rectangle of a node's contents: its box less the base padding; in an ellipse, the measured extent
// centred in the box.
static RECT GraphTextRect(const Graph *graph, const GraphNode *node, const RECT *box) {
    RECT text = *box;
    if (graph->format.nodeShape == GRAPH_SHAPE_ELLIPSE) {
        RECT extent = {0, 0, node->extentW, node->extentH};
        RectCenterIn(&extent, box);
        RectOffset(&extent, box->left, box->top);
        return extent;
    }
    RectInset(&text, graph->lay.metrics.padX, graph->lay.metrics.padY);
    return text;
}

void GraphNodeRect(const Graph *graph, int32_t index, bool inner, RECT *out) {
    const GraphNode *node = GraphLayNode(&graph->lay, index);
    GraphBox box;
    GraphLayNodeBox(&graph->lay, node, &box);
    *out = GraphRect(&box, -graph->originX, -graph->originY);
    if (inner && graph->format.nodeShape == GRAPH_SHAPE_ELLIPSE) *out = GraphTextRect(graph, node, out);
}

static void GraphDrawShape(const Graph *graph, HDC dc, const RECT *box, COLORREF back) {
    const GraphFormat &f = graph->format;
    bool shadow = (f.drawFlags & GRAPH_DRAW_SHADOW) != 0;
    HPEN previousPen = (HPEN)SelectObject(dc, PenGetThin(PS_SOLID, f.nodeBorder));
    if (f.nodeShape != GRAPH_SHAPE_ELLIPSE) {
        if (shadow)
            DrawShadowBox(dc, box, back, GRAPH_SHADOW_COLOR);
        else {
            DrawFillRect(dc, box, back);
            DrawRectOutline(dc, box);
        }
    } else {
        if (shadow) DrawShadowEllipse(dc, box, back, GRAPH_SHADOW_COLOR);
        HBRUSH brush = CreateSolidBrush(back);
        HGDIOBJ previousBrush = SelectObject(dc, brush);
        SelectObject(dc, PenGetThin(PS_SOLID, f.nodeBorder));
        Ellipse(dc, box->left, box->top, box->right, box->bottom);
        SelectObject(dc, previousBrush);
        DeleteObject(brush);
    }
    SelectObject(dc, previousPen);
}

static void GraphDrawText(Graph *graph, HDC dc, int32_t item, RECT *text, bool selected) {
    const GraphCallbacks &c = graph->callbacks;
    if (c.drawNode) {
        c.drawNode(c.ownerData, item, dc, text, selected);
        return;
    }
    char buffer[GRAPH_TEXT_MAX] = "";
    if (c.text) c.text(c.ownerData, item, buffer, sizeof buffer);
    buffer[sizeof buffer - 1] = 0;
    if (graph->format.nodeShape == GRAPH_SHAPE_ELLIPSE)
        DrawTextA(dc, buffer, -1, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    else
        ExtTextOutA(dc, text->left, text->top, ETO_CLIPPED, text, buffer, (UINT)strlen(buffer), nullptr);
}

static void GraphDrawNodes(Graph *graph, HDC dc, const RECT *clip, int32_t dx, int32_t dy) {
    const GraphFormat &f = graph->format;
    HGDIOBJ previousFont = SelectObject(dc, GraphFont(graph, GRAPH_NODE_FONT));
    int previousMode = SetBkMode(dc, TRANSPARENT);
    for (int32_t i = 0; i < GraphLayCount(&graph->lay); i++) {
        const GraphNode *node = GraphLayNode(&graph->lay, i);
        if (!(node->flags & GRAPH_NODE_SHOWN) || (node->flags & GRAPH_NODE_PLACEHOLDER)) continue;
        GraphBox box;
        GraphLayNodeBox(&graph->lay, node, &box);
        RECT rect = GraphRect(&box, dx, dy), reach = rect;
        InflateRect(&reach, GRAPH_SHADOW_ROOM, GRAPH_SHADOW_ROOM);
        if (!RectIntersects(&reach, clip)) continue;
        bool selected = (node->flags & GRAPH_NODE_SELECTED) != 0;
        GraphDrawShape(graph, dc, &rect, selected ? f.nodeText : f.nodeBack);
        SetTextColor(dc, selected ? f.nodeBack : f.nodeText);
        RECT text = GraphTextRect(graph, node, &rect);
        GraphDrawText(graph, dc, i, &text, selected);
    }
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
}

void GraphDraw(Graph *graph, HDC dc, const RECT *clip) {
    DrawFillRect(dc, clip, graph->format.background);
    GraphDrawEdges(graph, dc, clip, -graph->originX, -graph->originY);
    GraphDrawNodes(graph, dc, clip, -graph->originX, -graph->originY);
}

void GraphPaintRect(Graph *graph, const RECT *rect) {
    HDC dc = GetDC(graph->window);
    if (!dc) return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    GraphDraw(graph, dc, rect);
    RestoreDC(dc, saved);
    ReleaseDC(graph->window, dc);
}
