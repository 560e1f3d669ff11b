// graph: the graph window, class vx_Graph (prefix Graph). It shows a tree of items laid out as a graph
// (graphfmt, graphlay), scrolls it, lets the user select nodes and edges and click a node's expand box, and
// reports every mouse action to its owner through the format record's event callback. Items are the
// indexes of the nodes given to GraphSetNodes. Every operation takes the window.
// Success: true, a window or an item; false, null or -1 on failure.
#pragma once

#include "ui/graphfmt.h"

#include <windows.h>

#include <cstdint>

extern const char graphClass[]; // "vx_Graph"

// Registers the class and loads the expand-box cursors ("OtlPlus", "OtlMinus"). After DrawInit.
bool GraphRegister();
// A bordered child window with both scroll bars, taking the record's format and callbacks; the owner's
// create callback is called, and when it refuses the window is destroyed and null returned.
HWND GraphCreate(HWND parent, const RECT *rect, const GraphFormatRecord *record, bool show);
Graph *GraphFromWindow(HWND window);

// The nodes, depth first: a depth (bits 0-9) with GRAPH_INIT_PLACEHOLDER for a placeholder node, and the
// owner's two values. They replace the graph's nodes; their indexes become their items.
enum { GRAPH_INIT_PLACEHOLDER = 0x800 };
struct GraphNodeInit {
    uint32_t depth;
    int32_t values[2];
};
bool GraphSetNodes(HWND window, const GraphNodeInit *nodes, int32_t count);
void GraphClear(HWND window);
// Marks the graph changed (so that the next refresh lays it out again), and refreshes it when asked.
void GraphInvalidate(HWND window, bool refresh);
// Lays the graph out when it changed, scrolls the selected node (else the first) into view once per change,
// and repaints.
void GraphRefresh(HWND window);

void GraphSetFormat(HWND window, const GraphFormat *format);
void GraphGetFormat(HWND window, GraphFormat *out);
int32_t GraphSetDirection(HWND window, int32_t direction); // the old direction
// The two owner fonts and the node font (null leaves one as it is).
void GraphSetFonts(HWND window, const FontDesc *first, const FontDesc *second, const FontDesc *node);

void GraphSelectItem(HWND window, int32_t item); // -1 clears the selection
int32_t GraphGetSelection(HWND window);
int32_t GraphItemAt(HWND window, int32_t x, int32_t y); // client point; -1 over no node
bool GraphGetHotEdge(HWND window, int32_t *parent, int32_t *child);
// The item's box in client coordinates; an ellipse's inner rectangle of contents. False for no such node.
bool GraphGetItemRect(HWND window, int32_t item, RECT *out);
void GraphRedrawItem(HWND window, int32_t item);
// A node not shown is hidden with its subtree.
void GraphSetHidden(HWND window, int32_t item, bool shown);
// Value 0 sets the owner's flag of the node (edges leaving it are drawn reversed); any other clears it.
void GraphSetNodeFlag(HWND window, int32_t item, int32_t value);
// Calls back for every node until the callback returns false; false when it stopped.
typedef bool (*GraphEnumProc)(HWND window, GraphNode *node, int32_t item);
bool GraphEnumNodes(HWND window, GraphEnumProc callback);

// Hook: whether the shell's help mode is on (a click then only reports GRAPH_EV_HELP); off while unset.
typedef bool (*GraphHelpModeHook)();
void GraphSetHelpModeHook(GraphHelpModeHook hook);
