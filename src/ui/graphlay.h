// graphlay: the graph window's layout engine and its stored format (prefixes GraphLay and GraphFormat).
// A graph is a tree of nodes kept depth first in a tree record list; the engine places the nodes in levels
// (one per depth: columns left to right, or rows top to bottom), gives every subtree a band across the levels
// and centres each node in its band, then joins each parent to its children with an edge. It also answers
// the geometry the window and its printing need: the drawn path of an edge and its arrowhead, hit tests,
// and the scroll origin that shows a node. The node sizes are measured by the caller (graphfmt) before a
// layout. Portable: no Windows type; the graph's drawing and its window live in graphfmt and graph.
// Success convention of the library: true, a count or an index; false or -1 on failure (a failed allocation
// sets the current error).
#pragma once

#include "base/plex.h"
#include "base/trl.h"
#include "ui/fontdesc.h"

#include <cstddef>
#include <cstdint>

enum GraphDirection : int32_t {
    GRAPH_LEFT_TO_RIGHT = 1, // children to the right of their parent
    GRAPH_TOP_TO_BOTTOM = 2, // children below their parent
};
enum GraphNodeShape : int32_t { GRAPH_SHAPE_BOX = 1, GRAPH_SHAPE_ELLIPSE = 2 };
enum GraphEdgeStyle : int32_t { GRAPH_EDGE_STRAIGHT = 1, GRAPH_EDGE_ELBOW = 2, GRAPH_EDGE_BEZIER = 3 };
enum GraphFormatOptions : uint32_t { GRAPH_OPT_ASK_LAYOUT = 0x1 };  // the owner may refuse each layout
enum GraphHighlightSwitch : uint32_t { GRAPH_HIGHLIGHT_PEN = 0x2 }; // reversed edges get the highlight pen
enum GraphDrawFlags : uint32_t { GRAPH_DRAW_SHADOW = 0x1 };         // nodes drop a shadow
enum {
    GRAPH_SPACING_MIN = 10,
    GRAPH_SPACING_MAX = 1000, // past it the gaps would overflow
    GRAPH_COORD_MAX = 0x3FFFFFFF,
};

// The graph format: 1,068 bytes that the owner stores with its settings (little-endian 32-bit fields in
// this order, then the reserved bytes). Colours are the system's form, red in the low byte. A graph keeps
// every byte it was given, the ones it does not read too, and hands them back unchanged.
struct GraphFormat {
    int32_t direction;    // GraphDirection; anything but 2 runs left to right
    int32_t nodeShape;    // GraphNodeShape; 2 also enlarges each text box by a third before padding
    int32_t edgePenWidth; // of the edge pens
    int32_t arrowheads;   // nonzero: an arrowhead at each edge's child end
    int32_t edgeStyle;    // GraphEdgeStyle; anything else is drawn straight
    uint32_t options;     // GraphFormatOptions
    int32_t spacing;      // percent of the standard gaps; GRAPH_SPACING_MIN..GRAPH_SPACING_MAX in a graph
    int32_t values[2];    // the owner's, set together
    uint32_t background;
    uint32_t edgeColor;
    uint32_t highlightColor;
    FontDesc fonts[2];  // made for the owner
    uint32_t highlight; // GraphHighlightSwitch
    uint32_t spareColors[3];
    uint32_t nodeText;
    uint32_t nodeBack;
    uint32_t nodeBorder;
    FontDesc nodeFont;
    uint32_t drawFlags;    // GraphDrawFlags
    uint8_t reserved[880]; // zero in a default format
};
static_assert(sizeof(GraphFormat) == 1068);
static_assert(offsetof(GraphFormat, spacing) == 24 && offsetof(GraphFormat, values) == 28 &&
              offsetof(GraphFormat, background) == 36 && offsetof(GraphFormat, fonts) == 48 &&
              offsetof(GraphFormat, highlight) == 120 && offsetof(GraphFormat, spareColors) == 124 &&
              offsetof(GraphFormat, nodeText) == 136 && offsetof(GraphFormat, nodeFont) == 148 &&
              offsetof(GraphFormat, drawFlags) == 184 && offsetof(GraphFormat, reserved) == 188);

// The checks of a format taken from storage: the spacing kept within its range, every font face ended by
// its NUL. Nothing else changes.
void GraphFormatNormalize(GraphFormat *format);
inline bool GraphFormatVertical(const GraphFormat *format) {
    return format->direction == GRAPH_TOP_TO_BOTTOM;
}

// Rectangles and points of the graph, in graph coordinates (0, 0 at the top left of the whole graph).
struct GraphBox {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};
struct GraphPoint {
    int32_t x;
    int32_t y;
};

enum GraphNodeFlags : uint32_t {
    GRAPH_NODE_PLACEHOLDER = 0x2, // fixed size, no text
    GRAPH_NODE_SELECTED = 0x4,
    GRAPH_NODE_SHOWN = 0x8, // placed by the last layout: neither it nor an ancestor is hidden
};

// A node, one record of the tree record list, in memory only. Its index is its item id.
struct GraphNode {
    TrlRecord trl;     // depth in bits 0-9
    int32_t values[2]; // the owner's
    GraphBox rect;     // the padded box; the drawn box lies the node gaps inside it
    int32_t paddedW;
    int32_t paddedH;
    int32_t extentW; // of the text, as measured
    int32_t extentH;
    int32_t subtreeW; // the band the subtree needs
    int32_t subtreeH;
    int32_t siblingGap; // twice the gap kept around the children's band; 0 for a root
    uint32_t flags;     // GraphNodeFlags
    bool reversed;      // the owner's flag: edges leaving it are drawn reversed
    bool hidden;        // left out with its subtree
};

enum GraphEdgeFlags : uint32_t { GRAPH_EDGE_HOT = 0x1, GRAPH_EDGE_REVERSED = 0x2 };

// An edge: eight 32-bit fields. The second point is the child's end, or the parent's when reversed.
struct GraphEdge {
    int32_t style;
    uint32_t flags; // GraphEdgeFlags
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
    int32_t parent; // node indexes
    int32_t child;
};

// One row of the level table: where a level lies and how large it is.
struct GraphLevel {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// The sizes a layout works with, from the measuring device's pixels per inch and the format.
struct GraphLayMetrics {
    int32_t padX; // around the text, inside the drawn box
    int32_t padY;
    int32_t placeholder; // side of a placeholder node
    int32_t arrowHalf;   // half the width of an arrowhead; 0 with its length when either is below 3
    int32_t arrowLen;
    int32_t gapX; // between a node's padded box and its drawn box, on each axis
    int32_t gapY;
};

// The laid-out graph. The caller makes the lists (GraphLayCreate) and measures the shown nodes.
struct GraphLay {
    Trl *nodes;   // GraphNode records, depth first
    Plex *edges;  // GraphEdge
    Plex *levels; // GraphLevel
    GraphLayMetrics metrics;
    bool vertical;
    int32_t capX; // the screen's pixels per inch, which cap the gap kept around a band of children
    int32_t capY;
    int32_t width; // the whole graph, after a layout
    int32_t height;
};

bool GraphLayCreate(GraphLay *lay);
void GraphLayFree(GraphLay *lay);
inline GraphNode *GraphLayNode(const GraphLay *lay, int32_t index) {
    return (GraphNode *)TrlAt(lay->nodes, index);
}
inline int32_t GraphLayCount(const GraphLay *lay) {
    return TrlCount(lay->nodes);
}
inline GraphEdge *GraphLayEdge(const GraphLay *lay, int32_t index) {
    return (GraphEdge *)PlexElem(lay->edges, index);
}

void GraphLayMeasures(const GraphFormat *format, int32_t dpiX, int32_t dpiY, GraphLayMetrics *out);
// Marks the nodes a layout places (GRAPH_NODE_SHOWN): those neither hidden nor below a hidden node. The
// caller measures the extents of these before GraphLayRun.
void GraphLayMarkShown(GraphLay *lay);
// Sizes, levels, bands, positions and edges of the shown nodes; the metrics must be set. False when memory
// runs out (the layout is then incomplete).
bool GraphLayRun(GraphLay *lay, const GraphFormat *format);

// The box a node is drawn in (its padded box less the gaps).
void GraphLayNodeBox(const GraphLay *lay, const GraphNode *node, GraphBox *out);
// The shown node whose drawn box holds the point, -1 for none; onBox tells whether the point lies on its
// expand box, a square of the given side at the node's far side (right, or bottom when vertical).
int32_t GraphLayNodeAt(const GraphLay *lay, int32_t x, int32_t y, int32_t boxSide, bool *onBox);
// The edge the point lies on, -1 for none: within 3 pixels of a segment of a straight or elbow edge, within
// 5 of the line between the ends of a Bezier edge.
int32_t GraphLayEdgeAt(const GraphLay *lay, int32_t x, int32_t y);

// The drawn path of an edge, moved by (dx, dy): 2 points (straight), 4 (elbow: three segments through the
// middle) or 4 (Bezier: ends and control points). With an arrowhead length the path ends that far before the
// second point, and *arrow gets the arrow's direction (1 right, 2 down, 3 left, 4 up); 0 without one.
int32_t GraphLayEdgePath(const GraphLay *lay, const GraphEdge *edge, int32_t arrowLen, int32_t dx, int32_t dy,
                         GraphPoint out[4], int32_t *arrow);
// The bounds of an edge's path (both ends), moved by (dx, dy), grown by the margin on each side.
void GraphLayEdgeBounds(const GraphEdge *edge, int32_t dx, int32_t dy, int32_t margin, GraphBox *out);
// An arrowhead pointing in direction 1..4 at the tip: out[0] and out[2] are the barbs, out[1] the tip, and
// out[3] the end of the shaft, the arrow's length back from the tip.
void GraphLayArrowHead(GraphPoint tip, int32_t arrow, int32_t half, int32_t length, GraphPoint out[4]);

// The scroll origin that shows a box in a client area: centred across the levels, moved along them only as
// far as needed; both kept within 0..extent - client.
void GraphLayShowOrigin(const GraphBox *box, bool vertical, int32_t clientW, int32_t clientH, int32_t extentW,
                        int32_t extentH, int32_t *originX, int32_t *originY);
// An origin kept within 0 .. max(0, extent - client).
int32_t GraphLayClampOrigin(int32_t origin, int32_t extent, int32_t client);

// Invariant check for tests: edges join shown parents to shown children, and shown nodes lie in the graph.
bool GraphLayCheck(const GraphLay *lay);
