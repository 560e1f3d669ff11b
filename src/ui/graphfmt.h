// graphfmt: the graph format record with the owner's callbacks, and the layout and drawing of a graph
// (prefixes Graph and GraphFormat). The owner (the relation window) fills a format record, keeps its
// 1,068-byte format part with its settings, and answers the callbacks: the node texts and sizes, the drawing
// of node contents, the mouse reports of the window, printing. The graph object is shared by this module,
// the window (graph) and its printing (graphprn); the layout engine itself is graphlay.
// Success: true or a handle; false or null on failure.
#pragma once

#include "ui/graphlay.h"

#include <windows.h>

#include <cstdint>

// A mouse report of the window: code (GraphEventCode), client point, items (-1 none).
struct GraphEvent {
    int32_t code;
    int32_t x;
    int32_t y;
    int32_t item;
    int32_t second;
};
enum GraphEventCode : int32_t {
    GRAPH_EV_ACTIVATE = 1,  // a node is activated
    GRAPH_EV_EXPAND = 2,    // its expand box was clicked; true lets the graph select it and lay out again
    GRAPH_EV_EDGE_OPEN = 4, // an edge was double-clicked: parent and child items
    GRAPH_EV_LEFT_DOWN = 100,
    GRAPH_EV_MIDDLE_DOWN = 101,
    GRAPH_EV_RIGHT_DOWN = 102,
    GRAPH_EV_LEFT_DOUBLE = 103,
    GRAPH_EV_MIDDLE_DOUBLE = 104,
    GRAPH_EV_RIGHT_DOUBLE = 105,
    GRAPH_EV_EXTRA_DOWN = 106,
    GRAPH_EV_HELP = 200, // a click in help mode: the point only
};

// The owner's callbacks. Unset ones take their defaults: no text, the text's extent in the node font, the
// graph's own drawing of the text, and no answer (nothing handled, every layout allowed).
typedef bool (*GraphCreateProc)(HWND window, void *ownerData); // false: the window is not made
typedef void (*GraphDestroyProc)(HWND window);
typedef bool (*GraphPermitProc)(HWND window, void *ownerData); // false skips a layout (GRAPH_OPT_ASK_LAYOUT)
typedef bool (*GraphEventProc)(HWND window, const GraphEvent *event); // true when handled
typedef void (*GraphTextProc)(void *ownerData, int32_t item, char *out, int32_t size);
// The size of a node's contents on the measuring DC; printing is true while the graph is laid out for the
// printer. False stops the layout.
typedef bool (*GraphMeasureProc)(void *ownerData, int32_t item, HDC dc, bool printing, SIZE *out);
// Draws a node's contents in its text rectangle; the colours and the node font are selected.
typedef void (*GraphDrawNodeProc)(void *ownerData, int32_t item, HDC dc, const RECT *textRect, bool selected);
typedef bool (*GraphToolTipProc)(HWND window, int32_t item, char *out, int32_t size);
typedef bool (*GraphPrintProc)(HWND window, void *ownerData); // the start's false cancels the job

struct GraphCallbacks {
    void *ownerData;
    GraphCreateProc create;
    GraphDestroyProc destroy;
    GraphPermitProc permit;
    GraphEventProc event;
    GraphTextProc text;
    GraphMeasureProc measure;
    GraphDrawNodeProc drawNode;
    GraphToolTipProc toolTip; // kept for the owner; the window shows no tips itself
    GraphPrintProc printStart;
    GraphPrintProc printEnd;
};

// The format record: the stored format part, then the callbacks (in memory only).
struct GraphFormatRecord {
    GraphFormat format;
    GraphCallbacks callbacks;
};

// Zeroes the record, fills the format's defaults and the default callbacks. After DrawInit.
void GraphFormatInit(GraphFormatRecord *record);
// Zeroes the format part and fills its defaults: left to right, boxes, pen width 1, arrowheads, elbow
// edges, spacing 50, grey background, the program's UI font, pale yellow nodes above 256 colours (else
// white), drop shadows.
void GraphFormatDefaults(GraphFormat *format);

enum { GRAPH_FONTS = 3, GRAPH_NODE_FONT = 2 }; // the format's two owner fonts, then the node font

// The graph object of a window, in memory only.
struct Graph {
    HWND window;
    GraphLay lay;
    GraphFormat format;
    GraphCallbacks callbacks;
    int32_t changes;          // raised by every change of the format or the nodes
    int32_t laidOut;          // changes at the last layout
    int32_t shownAt;          // changes at the last scroll to the selection
    HFONT fonts[GRAPH_FONTS]; // made on demand for the measuring device
    int32_t device;           // the measuring device: the screen, or the printer while printing
    int32_t originX;          // scroll origin
    int32_t originY;
    int32_t selected;  // node index, -1 none
    int32_t hotParent; // the hot edge by its nodes, -1 none
    int32_t hotChild;
    int32_t boxSide; // the expand box
};

bool GraphObjectInit(Graph *graph, HWND window);
void GraphObjectFree(Graph *graph);

// Copies the format part in (spacing kept within 10..1000, font faces ended), raises the change counter
// and makes again the fonts whose descriptions changed.
void GraphSetFormat(Graph *graph, const GraphFormat *format);
// Changes only the direction; returns the old one.
int32_t GraphSetDirection(Graph *graph, int32_t direction);
// The font of the three descriptions (GRAPH_NODE_FONT the node font), made for the measuring device.
HFONT GraphFont(Graph *graph, int32_t which);
// Drops the fonts (they are made again on use).
void GraphDropFonts(Graph *graph);

// Lays the graph out for the measuring device, unless the owner refuses; false when it refused, a measure
// stopped it or memory ran out.
bool GraphLayout(Graph *graph);
// The laid-out size; the screen's size while the graph is empty.
void GraphExtent(const Graph *graph, int32_t *width, int32_t *height);
// A node's drawn box in window coordinates (shifted by the origin); with inner, the rectangle of an
// ellipse's contents (a box's is the box itself).
void GraphNodeRect(const Graph *graph, int32_t index, bool inner, RECT *out);
// Draws the graph into the DC within the clip rectangle (in the DC's coordinates), shifted by the origin.
void GraphDraw(Graph *graph, HDC dc, const RECT *clip);
// Draws a rectangle of the window's client area now.
void GraphPaintRect(Graph *graph, const RECT *rect);
