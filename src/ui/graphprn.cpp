// graphprn: printing a graph window (prefix GraphPrint). The graph is laid out again on the printer (its
// fonts made for the printer's context), and cut into cells of the page's text rectangle: columns =
// ceil(graph width / page width), rows likewise (a page of no size gives INT_MAX), page n being the cell of
// column n mod columns and row n / columns. Each page draws the graph shifted so that its cell fills the
// text rectangle; the footer names the cell. More than 7 pages are printed only when the user agrees.
#include "ui/graphprn.h"

#include "base/num.h"
#include "base/utilil.h"
#include "ui/dlgalert.h"
#include "ui/draw.h"
#include "ui/graph.h"

#include <climits>
#include <cstdio>
#include <cstring>

enum { GRAPH_PRINT_ASK_ABOVE = 7 };

// The print state of one job, zeroed at its start.
struct GraphPrintState {
    Graph *graph;
    int32_t graphW; // the graph in printer pixels
    int32_t graphH;
    int32_t pageW; // the text rectangle of a page
    int32_t pageH;
    int32_t columns;
    int32_t rows;
    int32_t pages;
};

// The page range: the graph laid out for the printer and cut into cells of the page's size.
static void GraphPrintMeasure(GraphPrintState *state, PrintRange *range) {
    Graph *graph = state->graph;
    GraphDropFonts(graph);
    graph->device = DRAW_PRINTER;
    graph->changes++;
    GraphLayout(graph);
    GraphExtent(graph, &state->graphW, &state->graphH);
    state->pageW = RectWidth(&range->rect);
    state->pageH = RectHeight(&range->rect);
    state->columns = Max(1, NumDivCeil(state->graphW, state->pageW));
    state->rows = Max(1, NumDivCeil(state->graphH, state->pageH));
    int64_t pages = (int64_t)state->columns * state->rows;
    state->pages = pages > INT_MAX ? INT_MAX : (int32_t)pages;
    range->first = 0;
    range->end = state->pages;
}

static bool GraphPrintConfirm(const GraphPrintState *state) {
    if (state->pages <= GRAPH_PRINT_ASK_ABOVE) return true;
    char square[64];
    snprintf(square, sizeof square, "(%d x %d square)", state->columns, state->rows);
    return AlertOkCancelDefCancel("OK to print all %d pages of the graph? %s", state->pages, square);
}

// The page's cell, drawn with its top left at the text rectangle's; the scroll origin is the graph's own
// again afterwards.
static void GraphPrintCell(GraphPrintState *state, PrintJobRec *job, const RECT *rect) {
    Graph *graph = state->graph;
    int32_t column = job->page % state->columns, row = job->page / state->columns;
    int32_t originX = graph->originX, originY = graph->originY;
    graph->originX = (int32_t)((int64_t)column * state->pageW - rect->left);
    graph->originY = (int32_t)((int64_t)row * state->pageH - rect->top);
    GraphDraw(graph, job->dc, rect);
    graph->originX = originX;
    graph->originY = originY;
}

static void GraphPrintFooter(const GraphPrintState *state, const PrintJobRec *job, char *out, int32_t max) {
    int32_t column = job->page % state->columns, row = job->page / state->columns;
    snprintf(out, (size_t)max + 1, "&LCell %d,%d of %d x %d square  &RPage %d of %d", column + 1, row + 1,
             state->columns, state->rows, job->page + 1, state->pages);
}

static intptr_t GraphPrintCallback(PrintJobRec *job, int32_t message, void *pointer, int32_t number) {
    GraphPrintState *state = (GraphPrintState *)job->clientData;
    const GraphCallbacks &c = state->graph->callbacks;
    switch (message) {
    case PRINT_MSG_RANGE: GraphPrintMeasure(state, (PrintRange *)pointer); return 1;
    case PRINT_MSG_CONFIRM: return GraphPrintConfirm(state);
    case PRINT_MSG_BEGIN_PAGE: return job->page < state->pages;
    case PRINT_MSG_DRAW: GraphPrintCell(state, job, (const RECT *)pointer); return 1;
    case PRINT_MSG_FOOTER: GraphPrintFooter(state, job, (char *)pointer, number); return 1;
    case PRINT_MSG_START: return !c.printStart || c.printStart(state->graph->window, c.ownerData);
    case PRINT_MSG_END:
        if (c.printEnd) c.printEnd(state->graph->window, c.ownerData);
        return 1;
    default: return PrintDefaultCallback(job, message, pointer, number);
    }
}

bool GraphPrint(HWND window, PrintSetup *setup, const char *name) {
    GraphPrintState state;
    memset(&state, 0, sizeof state);
    state.graph = GraphFromWindow(window);
    if (!state.graph) return false;
    bool ok = PrintJobSimple(name, setup, GraphPrintCallback, &state, PRINT_DIALOG);
    // Laid out for the screen again, without moving the user's scroll position.
    GraphDropFonts(state.graph);
    state.graph->device = DRAW_SCREEN;
    state.graph->changes++;
    state.graph->shownAt = state.graph->changes;
    GraphRefresh(window);
    return ok;
}
