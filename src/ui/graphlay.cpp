// graphlay: the layout engine of the graph window (prefixes GraphLay and GraphFormat). Portable.
//
// The stored graph format is 1,068 bytes: direction, node shape, edge pen width, arrowheads, edge style,
// options, spacing, two owner values (int32 each, offsets 0..32), background, edge and highlight colours
// (36..44), two font descriptions of 36 bytes (48, 84), the highlight switch (120), a spare colour triple
// (124), the node text, back and border colours (136..144), the node font (148), the drawing flags (184) and
// 880 reserved bytes (188). A format read from storage is trusted only after GraphFormatNormalize: the
// spacing within 10..1000 and every face ended by its NUL.
//
// A layout takes the shown nodes (neither hidden nor below a hidden node) in their depth-first order. The
// tree is read from the depths: a node's parent is the nearest node before it with a smaller depth, and its
// level is the number of its shown ancestors, so uneven depth steps make no empty levels. Coordinates are
// summed in 64 bits and kept within GRAPH_COORD_MAX, so that no owner's measure can overflow them.
#include "ui/graphlay.h"

#include "base/heap.h"
#include "base/num.h"
#include "base/utilil.h"

#include <algorithm>
#include <cstring>
#include <utility>

enum {
    GRAPH_LAY_EXTENT_MAX = 1 << 24, // the largest measured extent taken
    GRAPH_LAY_EDGE_SLACK = 3,
    GRAPH_LAY_CURVE_SLACK = 5,
    GRAPH_LAY_LEVELS = 100,
};

static int32_t GraphLaySat(int64_t v) {
    if (v > GRAPH_COORD_MAX) return GRAPH_COORD_MAX;
    if (v < -GRAPH_COORD_MAX) return -GRAPH_COORD_MAX;
    return (int32_t)v;
}

// ---- The stored format

void GraphFormatNormalize(GraphFormat *format) {
    format->spacing = ClampValue(format->spacing, GRAPH_SPACING_MIN, GRAPH_SPACING_MAX);
    format->fonts[0].face[FONT_FACE_MAX] = 0;
    format->fonts[1].face[FONT_FACE_MAX] = 0;
    format->nodeFont.face[FONT_FACE_MAX] = 0;
}

// ---- Lists

bool GraphLayCreate(GraphLay *lay) {
    memset(lay, 0, sizeof *lay);
    lay->nodes = TrlCreate(0, sizeof(GraphNode), 100, 0);
    lay->edges = PlexCreate(sizeof(GraphEdge), 100, 0);
    lay->levels = PlexCreate(sizeof(GraphLevel), GRAPH_LAY_LEVELS, 0);
    if (!lay->nodes || !lay->edges || !lay->levels) {
        GraphLayFree(lay);
        return false;
    }
    PlexSetGrowth(&lay->nodes->plex, 100);
    return true;
}

void GraphLayFree(GraphLay *lay) {
    if (lay->nodes) PlexFree(&lay->nodes->plex);
    if (lay->edges) PlexFree(lay->edges);
    if (lay->levels) PlexFree(lay->levels);
    lay->nodes = nullptr;
    lay->edges = lay->levels = nullptr;
}

// ---- Measures

void GraphLayMeasures(const GraphFormat *format, int32_t dpiX, int32_t dpiY, GraphLayMetrics *out) {
    int32_t x = Max(dpiX, 0), y = Max(dpiY, 0);
    int32_t spacing = ClampValue(format->spacing, GRAPH_SPACING_MIN, GRAPH_SPACING_MAX);
    bool vertical = GraphFormatVertical(format);
    int32_t along = vertical ? NumMulDiv(y / 8, spacing, 100) : NumMulDiv(x / 10, spacing, 100);
    int32_t across = NumMulDiv(vertical ? x / 15 : y / 15, spacing, 100);
    along = Max(3, along);
    across = Max(2, across);
    out->padX = NumMulDiv(x, 3, 100);
    out->padY = NumMulDiv(y, 2, 100);
    out->placeholder = x / 4;
    int32_t scale = Min(100, spacing);
    out->arrowHalf = NumMulDiv(NumMulDiv(x, 5, 100), scale, 100);
    out->arrowLen = NumMulDiv(NumMulDiv(x, 8, 100), scale, 100);
    if (out->arrowHalf < 3 || out->arrowLen < 3 || !format->arrowheads) out->arrowHalf = out->arrowLen = 0;
    along = GraphLaySat((int64_t)along + out->arrowLen);
    out->gapX = vertical ? across : along;
    out->gapY = vertical ? along : across;
}

// ---- The tree

// Each node's parent: the nearest node before it with a smaller depth (-1 for a root). The chain of
// parents from the node before is the path of open ancestors, so the walk is linear overall.
static void GraphLayParents(const GraphLay *lay, int32_t *parent) {
    int32_t n = GraphLayCount(lay);
    for (int32_t i = 0; i < n; i++) {
        int32_t depth = TrlDepthAt(lay->nodes, i);
        int32_t p = i - 1;
        while (p >= 0 && TrlDepthAt(lay->nodes, p) >= depth) p = parent[p];
        parent[i] = p;
    }
}

static void GraphLayMarkFrom(GraphLay *lay, const int32_t *parent) {
    for (int32_t i = 0; i < GraphLayCount(lay); i++) {
        GraphNode *node = GraphLayNode(lay, i);
        bool shown =
            !node->hidden && (parent[i] < 0 || (GraphLayNode(lay, parent[i])->flags & GRAPH_NODE_SHOWN));
        node->flags = shown ? node->flags | GRAPH_NODE_SHOWN : node->flags & ~(uint32_t)GRAPH_NODE_SHOWN;
    }
}

void GraphLayMarkShown(GraphLay *lay) {
    int32_t n = GraphLayCount(lay);
    int32_t *parent = n ? (int32_t *)MemAlloc((size_t)n * sizeof(int32_t)) : nullptr;
    if (!parent) {
        // Without memory every node counts as shown; the layout that follows fails the same way.
        for (int32_t i = 0; i < n; i++) GraphLayNode(lay, i)->flags |= GRAPH_NODE_SHOWN;
        return;
    }
    GraphLayParents(lay, parent);
    GraphLayMarkFrom(lay, parent);
    MemFree(parent);
}

static bool GraphLayShown(const GraphNode *node) {
    return (node->flags & GRAPH_NODE_SHOWN) != 0;
}

// The working arrays of one layout, in one block.
struct GraphLayWork {
    int32_t *parent;
    int32_t *level;
    int32_t *firstChild;
    int32_t *nextSibling;
    int32_t *lastChild;
    int64_t *band; // where the node's band starts across the levels
    void *block;
};

static bool GraphLayWorkAlloc(GraphLayWork *work, int32_t n) {
    size_t words = (size_t)n;
    work->block = MemAlloc(words * (5 * sizeof(int32_t) + sizeof(int64_t)));
    if (!work->block) return false;
    work->band = (int64_t *)work->block;
    work->parent = (int32_t *)(work->band + words);
    work->level = work->parent + words;
    work->firstChild = work->level + words;
    work->nextSibling = work->firstChild + words;
    work->lastChild = work->nextSibling + words;
    return true;
}

// Levels and child lists of the shown nodes, in their order.
static void GraphLayLink(GraphLay *lay, GraphLayWork *work) {
    int32_t n = GraphLayCount(lay);
    for (int32_t i = 0; i < n; i++) work->firstChild[i] = work->nextSibling[i] = work->lastChild[i] = -1;
    for (int32_t i = 0; i < n; i++) {
        if (!GraphLayShown(GraphLayNode(lay, i))) continue;
        int32_t p = work->parent[i];
        work->level[i] = p < 0 ? 0 : work->level[p] + 1;
        if (p < 0) continue;
        if (work->firstChild[p] < 0)
            work->firstChild[p] = i;
        else
            work->nextSibling[work->lastChild[p]] = i;
        work->lastChild[p] = i;
    }
}

// ---- Sizes, in the layout's own axes: along the levels and across them

static int32_t &GraphLayAlong(GraphBox &box, bool vertical) {
    return vertical ? box.y : box.x;
}
static int32_t &GraphLayAcross(GraphBox &box, bool vertical) {
    return vertical ? box.x : box.y;
}
static int32_t GraphLayAlongSize(const GraphNode *node, bool vertical) {
    return vertical ? node->paddedH : node->paddedW;
}
static int32_t GraphLayAcrossSize(const GraphNode *node, bool vertical) {
    return vertical ? node->paddedW : node->paddedH;
}
static int32_t &GraphLaySubAlong(GraphNode *node, bool vertical) {
    return vertical ? node->subtreeH : node->subtreeW;
}
static int32_t &GraphLaySubAcross(GraphNode *node, bool vertical) {
    return vertical ? node->subtreeW : node->subtreeH;
}

static void GraphLayPad(const GraphLay *lay, const GraphFormat *format, GraphNode *node) {
    const GraphLayMetrics &m = lay->metrics;
    if (node->flags & GRAPH_NODE_PLACEHOLDER) {
        node->paddedW = node->paddedH = m.placeholder;
        return;
    }
    int64_t w = ClampValue(node->extentW, 0, GRAPH_LAY_EXTENT_MAX);
    int64_t h = ClampValue(node->extentH, 0, GRAPH_LAY_EXTENT_MAX);
    if (format->nodeShape == GRAPH_SHAPE_ELLIPSE) {
        w += w / 3;
        h += h / 3;
    }
    node->paddedW = GraphLaySat(w + 2 * ((int64_t)m.padX + m.gapX));
    node->paddedH = GraphLaySat(h + 2 * ((int64_t)m.padY + m.gapY));
}

// One row per level: its size along is its widest node, its size across the sum of its nodes; levels follow
// one another along. Returns the across size of the fullest level.
static int64_t GraphLayLevels(GraphLay *lay, const GraphLayWork *work, int64_t *along) {
    int32_t n = GraphLayCount(lay), count = 0;
    for (int32_t i = 0; i < n; i++)
        if (GraphLayShown(GraphLayNode(lay, i))) count = Max(count, work->level[i] + 1);
    if (!PlexSetCount(lay->levels, count)) return -1;
    if (count) memset(PlexElem(lay->levels, 0), 0, (size_t)count * sizeof(GraphLevel));
    for (int32_t i = 0; i < n; i++) {
        GraphNode *node = GraphLayNode(lay, i);
        if (!GraphLayShown(node)) continue;
        GraphBox &row = *(GraphBox *)PlexElem(lay->levels, work->level[i]);
        int32_t &size = lay->vertical ? row.h : row.w;
        int32_t &sum = lay->vertical ? row.w : row.h;
        size = Max(size, GraphLayAlongSize(node, lay->vertical));
        sum = GraphLaySat((int64_t)sum + GraphLayAcrossSize(node, lay->vertical));
    }
    int64_t position = 0, fullest = 0;
    for (int32_t k = 0; k < count; k++) {
        GraphBox &row = *(GraphBox *)PlexElem(lay->levels, k);
        GraphLayAlong(row, lay->vertical) = GraphLaySat(position);
        position += lay->vertical ? row.h : row.w;
        fullest = std::max<int64_t>(fullest, lay->vertical ? row.w : row.h);
    }
    *along = position;
    return fullest;
}

// Bottom up: a subtree's band across is the sum of its children's bands (with the sibling gap around them
// when the node is not a root), and at least the node's own size.
static void GraphLaySubtrees(GraphLay *lay, const GraphLayWork *work) {
    bool vertical = lay->vertical;
    int32_t cap = vertical ? lay->capX : lay->capY;
    int32_t gap = vertical ? lay->metrics.gapX : lay->metrics.gapY;
    for (int32_t i = GraphLayCount(lay) - 1; i >= 0; i--) {
        GraphNode *node = GraphLayNode(lay, i);
        if (!GraphLayShown(node)) continue;
        int64_t across = 0;
        int32_t along = 0;
        for (int32_t c = work->firstChild[i]; c >= 0; c = work->nextSibling[c]) {
            GraphNode *child = GraphLayNode(lay, c);
            across += GraphLaySubAcross(child, vertical);
            along = Max(along, GraphLaySubAlong(child, vertical));
        }
        node->siblingGap = 0;
        if (work->firstChild[i] >= 0 && work->parent[i] >= 0) {
            int32_t e = ClampValue(gap, 1, Max(cap, 1));
            node->siblingGap = 2 * e;
            across += 4 * (int64_t)e;
        }
        GraphLaySubAcross(node, vertical) =
            GraphLaySat(std::max<int64_t>(across, GraphLayAcrossSize(node, vertical)));
        GraphLaySubAlong(node, vertical) = Max(along, GraphLayAlongSize(node, vertical));
    }
}

// The children's bands share the parent's band: what their own bands leave over (less the sibling gap on
// both sides) is divided evenly among them, half of a share before the first.
static void GraphLayChildBands(GraphLay *lay, GraphLayWork *work, int32_t i) {
    bool vertical = lay->vertical;
    GraphNode *node = GraphLayNode(lay, i);
    int64_t sum = 0, count = 0;
    for (int32_t c = work->firstChild[i]; c >= 0; c = work->nextSibling[c]) {
        sum += GraphLaySubAcross(GraphLayNode(lay, c), vertical);
        count++;
    }
    if (count == 0) return; // every child hidden: no band to share
    int64_t gap = node->siblingGap;
    int64_t share = ((int64_t)GraphLaySubAcross(node, vertical) - 2 * gap - sum) / count;
    int64_t start = work->band[i] + gap + (share + 1) / 2;
    for (int32_t c = work->firstChild[i]; c >= 0; c = work->nextSibling[c]) {
        work->band[c] = start;
        start += share + GraphLaySubAcross(GraphLayNode(lay, c), vertical);
    }
}

// Top down: each node takes its level's position along and is centred in its band across. Roots' bands
// follow one another. Returns the end of the last root's band.
static int64_t GraphLayPlace(GraphLay *lay, GraphLayWork *work) {
    bool vertical = lay->vertical;
    int64_t roots = 0;
    for (int32_t i = 0; i < GraphLayCount(lay); i++) {
        GraphNode *node = GraphLayNode(lay, i);
        if (!GraphLayShown(node)) continue;
        int32_t subAcross = GraphLaySubAcross(node, vertical);
        if (work->parent[i] < 0) {
            work->band[i] = roots;
            roots += subAcross;
        }
        const GraphBox &row = *(const GraphBox *)PlexElem(lay->levels, work->level[i]);
        node->rect.w = node->paddedW;
        node->rect.h = node->paddedH;
        GraphLayAlong(node->rect, vertical) = vertical ? row.y : row.x;
        int32_t own = GraphLayAcrossSize(node, vertical);
        GraphLayAcross(node->rect, vertical) =
            GraphLaySat(work->band[i] + ((int64_t)subAcross - own + 1) / 2);
        GraphLayChildBands(lay, work, i);
    }
    return roots;
}

// One edge per shown child, from the parent's far side (less the gap) to the child's near side (plus the
// gap), through the middles of the two sides; reversed when the owner flagged the parent.
static bool GraphLayEdges(GraphLay *lay, const GraphLayWork *work, const GraphFormat *format) {
    PlexClear(lay->edges);
    int32_t gapX = lay->metrics.gapX, gapY = lay->metrics.gapY;
    for (int32_t i = 0; i < GraphLayCount(lay); i++) {
        const GraphNode *child = GraphLayNode(lay, i);
        int32_t p = work->parent[i];
        if (!GraphLayShown(child) || p < 0) continue;
        const GraphNode *parent = GraphLayNode(lay, p);
        const GraphBox &a = parent->rect, &b = child->rect;
        GraphEdge edge = {format->edgeStyle, 0, 0, 0, 0, 0, p, i};
        if (lay->vertical) {
            edge.x1 = a.x + a.w / 2, edge.y1 = a.y + a.h - gapY;
            edge.x2 = b.x + b.w / 2, edge.y2 = b.y + gapY;
        } else {
            edge.x1 = a.x + a.w - gapX, edge.y1 = a.y + a.h / 2;
            edge.x2 = b.x + gapX, edge.y2 = b.y + b.h / 2;
        }
        if (parent->reversed) {
            std::swap(edge.x1, edge.x2);
            std::swap(edge.y1, edge.y2);
            edge.flags |= GRAPH_EDGE_REVERSED;
        }
        if (!PlexInsert(lay->edges, -1, 1, &edge)) return false;
    }
    return true;
}

bool GraphLayRun(GraphLay *lay, const GraphFormat *format) {
    int32_t n = GraphLayCount(lay);
    lay->vertical = GraphFormatVertical(format);
    lay->width = lay->height = 0;
    PlexClear(lay->edges);
    if (n == 0) return PlexSetCount(lay->levels, 0) != 0;
    GraphLayWork work;
    if (!GraphLayWorkAlloc(&work, n)) return false;
    GraphLayParents(lay, work.parent);
    GraphLayMarkFrom(lay, work.parent);
    GraphLayLink(lay, &work);
    for (int32_t i = 0; i < n; i++)
        if (GraphLayShown(GraphLayNode(lay, i))) GraphLayPad(lay, format, GraphLayNode(lay, i));
    int64_t along = 0;
    int64_t fullest = GraphLayLevels(lay, &work, &along);
    bool ok = fullest >= 0;
    if (ok) {
        GraphLaySubtrees(lay, &work);
        // The roots' bands can reach past the fullest level (each band of children keeps a gap around it):
        // the graph reaches as far as they do, or its last nodes could not be scrolled into view.
        int64_t across = std::max(fullest, GraphLayPlace(lay, &work));
        lay->width = GraphLaySat(lay->vertical ? across : along);
        lay->height = GraphLaySat(lay->vertical ? along : across);
        ok = GraphLayEdges(lay, &work, format);
    }
    MemFree(work.block);
    return ok;
}

// ---- Geometry

void GraphLayNodeBox(const GraphLay *lay, const GraphNode *node, GraphBox *out) {
    int32_t gx = lay->metrics.gapX, gy = lay->metrics.gapY;
    out->x = node->rect.x + gx;
    out->y = node->rect.y + gy;
    out->w = Max(0, node->rect.w - 2 * gx);
    out->h = Max(0, node->rect.h - 2 * gy);
}

static bool GraphLayBoxHolds(const GraphBox *box, int64_t x, int64_t y) {
    return x >= box->x && x < (int64_t)box->x + box->w && y >= box->y && y < (int64_t)box->y + box->h;
}

int32_t GraphLayNodeAt(const GraphLay *lay, int32_t x, int32_t y, int32_t boxSide, bool *onBox) {
    *onBox = false;
    for (int32_t i = 0; i < GraphLayCount(lay); i++) {
        const GraphNode *node = GraphLayNode(lay, i);
        GraphBox box;
        if (!GraphLayShown(node)) continue;
        GraphLayNodeBox(lay, node, &box);
        if (!GraphLayBoxHolds(&box, x, y)) continue;
        GraphBox expand = {0, 0, boxSide, boxSide};
        if (lay->vertical) {
            expand.x = box.x + (box.w - boxSide) / 2;
            expand.y = box.y + box.h - boxSide;
        } else {
            expand.x = box.x + box.w - boxSide;
            expand.y = box.y + (box.h - boxSide) / 2;
        }
        *onBox = GraphLayBoxHolds(&expand, x, y);
        return i;
    }
    return -1;
}

// Whether the point lies within slack pixels of the segment.
static bool GraphLayNearSegment(GraphPoint p, GraphPoint a, GraphPoint b, int32_t slack) {
    double dx = (double)b.x - a.x, dy = (double)b.y - a.y;
    double px = (double)p.x - a.x, py = (double)p.y - a.y;
    double length = dx * dx + dy * dy;
    double t = length > 0 ? (px * dx + py * dy) / length : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    double ex = px - t * dx, ey = py - t * dy;
    return ex * ex + ey * ey <= (double)slack * slack;
}

int32_t GraphLayEdgeAt(const GraphLay *lay, int32_t x, int32_t y) {
    GraphPoint p = {x, y};
    for (int32_t i = 0; i < PlexCount(lay->edges); i++) {
        const GraphEdge *edge = GraphLayEdge(lay, i);
        GraphBox bounds;
        GraphLayEdgeBounds(edge, 0, 0, GRAPH_LAY_CURVE_SLACK, &bounds);
        if (!GraphLayBoxHolds(&bounds, x, y)) continue;
        if (edge->style == GRAPH_EDGE_BEZIER) {
            if (GraphLayNearSegment(p, {edge->x1, edge->y1}, {edge->x2, edge->y2}, GRAPH_LAY_CURVE_SLACK))
                return i;
            continue;
        }
        GraphPoint path[4];
        int32_t arrow;
        int32_t count = GraphLayEdgePath(lay, edge, 0, 0, 0, path, &arrow);
        for (int32_t k = 0; k + 1 < count; k++)
            if (GraphLayNearSegment(p, path[k], path[k + 1], GRAPH_LAY_EDGE_SLACK)) return i;
    }
    return -1;
}

void GraphLayEdgeBounds(const GraphEdge *edge, int32_t dx, int32_t dy, int32_t margin, GraphBox *out) {
    int64_t left = std::min(edge->x1, edge->x2), right = std::max(edge->x1, edge->x2);
    int64_t top = std::min(edge->y1, edge->y2), bottom = std::max(edge->y1, edge->y2);
    out->x = GraphLaySat(left + dx - margin);
    out->y = GraphLaySat(top + dy - margin);
    out->w = GraphLaySat(right - left + 2 * (int64_t)margin + 1);
    out->h = GraphLaySat(bottom - top + 2 * (int64_t)margin + 1);
}

// The unit step of an arrow's direction.
static GraphPoint GraphLayStep(int32_t arrow) {
    switch (arrow) {
    case 1: return {1, 0};
    case 2: return {0, 1};
    case 3: return {-1, 0};
    default: return {0, -1};
    }
}

int32_t GraphLayEdgePath(const GraphLay *lay, const GraphEdge *edge, int32_t arrowLen, int32_t dx, int32_t dy,
                         GraphPoint out[4], int32_t *arrow) {
    GraphPoint a = {GraphLaySat((int64_t)edge->x1 + dx), GraphLaySat((int64_t)edge->y1 + dy)};
    GraphPoint b = {GraphLaySat((int64_t)edge->x2 + dx), GraphLaySat((int64_t)edge->y2 + dy)};
    bool vertical = lay->vertical;
    *arrow = 0;
    if (arrowLen > 0) {
        *arrow = vertical ? (b.y >= a.y ? 2 : 4) : (b.x >= a.x ? 1 : 3);
        GraphPoint step = GraphLayStep(*arrow);
        b.x = GraphLaySat(b.x - (int64_t)step.x * arrowLen);
        b.y = GraphLaySat(b.y - (int64_t)step.y * arrowLen);
    }
    out[0] = a;
    if (edge->style == GRAPH_EDGE_ELBOW) {
        int32_t middle = vertical ? (int32_t)(((int64_t)a.y + b.y) / 2) : (int32_t)(((int64_t)a.x + b.x) / 2);
        out[1] = vertical ? GraphPoint{a.x, middle} : GraphPoint{middle, a.y};
        out[2] = vertical ? GraphPoint{b.x, middle} : GraphPoint{middle, b.y};
        out[3] = b;
        return 4;
    }
    if (edge->style == GRAPH_EDGE_BEZIER) {
        int32_t quarter =
            vertical ? (int32_t)(((int64_t)b.y - a.y) / 4) : (int32_t)(((int64_t)b.x - a.x) / 4);
        out[1] = vertical ? GraphPoint{a.x, a.y + quarter} : GraphPoint{a.x + quarter, a.y};
        out[2] = vertical ? GraphPoint{b.x, b.y - quarter} : GraphPoint{b.x - quarter, b.y};
        out[3] = b;
        return 4;
    }
    out[1] = b;
    return 2;
}

void GraphLayArrowHead(GraphPoint tip, int32_t arrow, int32_t half, int32_t length, GraphPoint out[4]) {
    GraphPoint step = GraphLayStep(arrow);
    GraphPoint back = {GraphLaySat(tip.x - (int64_t)step.x * length),
                       GraphLaySat(tip.y - (int64_t)step.y * length)};
    GraphPoint side = {-step.y * half, step.x * half};
    out[0] = {back.x + side.x, back.y + side.y};
    out[1] = tip;
    out[2] = {back.x - side.x, back.y - side.y};
    out[3] = back;
}

// ---- Scrolling

int32_t GraphLayClampOrigin(int32_t origin, int32_t extent, int32_t client) {
    return ClampValue(origin, 0, Max(0, GraphLaySat((int64_t)extent - client)));
}

void GraphLayShowOrigin(const GraphBox *box, bool vertical, int32_t clientW, int32_t clientH, int32_t extentW,
                        int32_t extentH, int32_t *originX, int32_t *originY) {
    int32_t along = vertical ? box->y : box->x, alongSize = vertical ? box->h : box->w;
    int32_t across = vertical ? box->x : box->y, acrossSize = vertical ? box->w : box->h;
    int32_t alongClient = vertical ? clientH : clientW, acrossClient = vertical ? clientW : clientH;
    int32_t &alongOrigin = vertical ? *originY : *originX, &acrossOrigin = vertical ? *originX : *originY;
    acrossOrigin = GraphLaySat((int64_t)across - ((int64_t)acrossClient - acrossSize + 1) / 2);
    if (along < alongOrigin)
        alongOrigin = along;
    else if ((int64_t)along + alongSize > (int64_t)alongOrigin + alongClient)
        alongOrigin = GraphLaySat((int64_t)along + alongSize - alongClient);
    *originX = GraphLayClampOrigin(*originX, extentW, clientW);
    *originY = GraphLayClampOrigin(*originY, extentH, clientH);
}

// ---- Check

bool GraphLayCheck(const GraphLay *lay) {
    if (!TrlCheck(lay->nodes) || !PlexCheck(lay->edges) || !PlexCheck(lay->levels)) return false;
    for (int32_t i = 0; i < GraphLayCount(lay); i++) {
        const GraphNode *node = GraphLayNode(lay, i);
        if (!GraphLayShown(node)) continue;
        const GraphBox &r = node->rect;
        if (r.x < 0 || r.y < 0 || r.w < 0 || r.h < 0) return false;
        if ((int64_t)r.x + r.w > lay->width || (int64_t)r.y + r.h > lay->height) return false;
    }
    for (int32_t i = 0; i < PlexCount(lay->edges); i++) {
        const GraphEdge *edge = GraphLayEdge(lay, i);
        if (edge->parent < 0 || edge->child <= edge->parent || edge->child >= GraphLayCount(lay))
            return false;
        if (!GraphLayShown(GraphLayNode(lay, edge->parent)) || !GraphLayShown(GraphLayNode(lay, edge->child)))
            return false;
    }
    return true;
}
