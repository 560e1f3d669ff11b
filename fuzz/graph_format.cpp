// Fuzz target: a stored graph format and a tree laid out with it. The input starts with the 1,068 bytes of a
// format as the owner's settings may hold them (missing bytes are zero); its checks must keep the spacing
// within 10..1000, end every font face and leave every other byte alone. The rest of the input chooses the
// resolution, the screen's caps and up to 300 nodes (depth steps, hidden and owner flags, placeholders,
// measured sizes from empty to absurd). Expected: the layout succeeds, shown nodes lie inside the graph,
// edges join shown parents to shown children (one per shown child), and the geometry answers (hit tests,
// edge paths, the origin that shows a node) stay within their bounds.
#include "ui/graphlay.h"

#include "support/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <vector>

enum { FUZZ_NODES_MAX = 300 };

static void FuzzFormat(FuzzedDataProvider &in, GraphFormat *format) {
    std::vector<uint8_t> stored = in.ConsumeBytes<uint8_t>(sizeof *format);
    stored.resize(sizeof *format);
    memcpy(format, stored.data(), sizeof *format);
    GraphFormatNormalize(format);
    FuzzCheck(format->spacing >= GRAPH_SPACING_MIN && format->spacing <= GRAPH_SPACING_MAX,
              "spacing in range");
    FuzzCheck(strlen(format->nodeFont.face) <= FONT_FACE_MAX &&
                  strlen(format->fonts[0].face) <= FONT_FACE_MAX &&
                  strlen(format->fonts[1].face) <= FONT_FACE_MAX,
              "faces are ended");
    GraphFormat before;
    memcpy(&before, stored.data(), sizeof before);
    before.spacing = format->spacing;
    before.nodeFont.face[FONT_FACE_MAX] = before.fonts[0].face[FONT_FACE_MAX] =
        before.fonts[1].face[FONT_FACE_MAX] = 0;
    FuzzCheck(memcmp(&before, format, sizeof before) == 0, "unread bytes are kept");
}

static int32_t FuzzExtent(FuzzedDataProvider &in) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0: return in.ConsumeIntegral<int32_t>();
    case 1: return 0;
    default: return in.ConsumeIntegralInRange(0, 4000);
    }
}

static int32_t FuzzNodes(FuzzedDataProvider &in, GraphLay *lay) {
    int32_t count = in.ConsumeIntegralInRange(0, (int)FUZZ_NODES_MAX), depth = 0;
    for (int32_t i = 0; i < count && in.remaining_bytes() > 0; i++) {
        depth = i == 0 ? in.ConsumeIntegralInRange(-2, 2) : depth + in.ConsumeIntegralInRange(-3, 2);
        depth = depth < -512 ? -512 : depth > 511 ? 511 : depth;
        GraphNode *node = (GraphNode *)TrlInsert(lay->nodes, -1, 1, nullptr, depth);
        FuzzCheck(node != nullptr, "a node is added");
        uint8_t bits = in.ConsumeIntegral<uint8_t>();
        node->hidden = (bits & 7) == 0;
        node->reversed = (bits & 8) != 0;
        if ((bits & 0x30) == 0x30) node->flags |= GRAPH_NODE_PLACEHOLDER;
    }
    return GraphLayCount(lay);
}

static void FuzzGeometry(FuzzedDataProvider &in, GraphLay *lay) {
    for (int32_t k = 0; k < 8 && in.remaining_bytes() > 0; k++) {
        int32_t x = in.ConsumeIntegral<int32_t>(), y = in.ConsumeIntegral<int32_t>();
        bool onBox;
        int32_t node = GraphLayNodeAt(lay, x, y, in.ConsumeIntegralInRange(0, 64), &onBox);
        FuzzCheck(node >= -1 && node < GraphLayCount(lay), "a node hit is a node");
        int32_t edge = GraphLayEdgeAt(lay, x, y);
        FuzzCheck(edge >= -1 && edge < PlexCount(lay->edges), "an edge hit is an edge");
    }
    for (int32_t i = 0; i < PlexCount(lay->edges); i++) {
        GraphPoint path[4], head[4];
        int32_t arrow;
        const GraphEdge *edge = GraphLayEdge(lay, i);
        int32_t count = GraphLayEdgePath(lay, edge, lay->metrics.arrowLen, -7, 3, path, &arrow);
        FuzzCheck(count == 2 || count == 4, "a path of 2 or 4 points");
        if (arrow)
            GraphLayArrowHead(path[count - 1], arrow, lay->metrics.arrowHalf, lay->metrics.arrowLen, head);
    }
    for (int32_t i = 0; i < GraphLayCount(lay); i++) {
        const GraphNode *node = GraphLayNode(lay, i);
        if (!(node->flags & GRAPH_NODE_SHOWN)) continue;
        int32_t x = 0, y = 0, w = in.ConsumeIntegralInRange(0, 5000), h = in.ConsumeIntegralInRange(0, 5000);
        GraphLayShowOrigin(&node->rect, lay->vertical, w, h, lay->width, lay->height, &x, &y);
        FuzzCheck(x >= 0 && y >= 0 && x <= (lay->width > w ? lay->width - w : 0) &&
                      y <= (lay->height > h ? lay->height - h : 0),
                  "the origin stays within the graph");
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    GraphFormat format;
    FuzzFormat(in, &format);
    GraphLay lay;
    FuzzCheck(GraphLayCreate(&lay), "the lists are made");
    int32_t dpiX = in.ConsumeIntegralInRange(0, 2400), dpiY = in.ConsumeIntegralInRange(0, 2400);
    lay.capX = in.ConsumeIntegralInRange(0, 300);
    lay.capY = in.ConsumeIntegralInRange(0, 300);
    int32_t count = FuzzNodes(in, &lay);
    GraphLayMeasures(&format, dpiX, dpiY, &lay.metrics);
    GraphLayMarkShown(&lay);
    int32_t shownChildren = 0;
    for (int32_t i = 0; i < count; i++) {
        GraphNode *node = GraphLayNode(&lay, i);
        node->extentW = FuzzExtent(in);
        node->extentH = FuzzExtent(in);
    }
    FuzzCheck(GraphLayRun(&lay, &format), "the layout succeeds");
    FuzzCheck(GraphLayCheck(&lay), "GraphLayCheck holds");
    for (int32_t i = 1; i < count; i++) {
        bool shown = GraphLayNode(&lay, i)->flags & GRAPH_NODE_SHOWN;
        bool hasParent = false;
        for (int32_t p = i - 1; p >= 0 && !hasParent; p--)
            hasParent = TrlDepthAt(lay.nodes, p) < TrlDepthAt(lay.nodes, i);
        if (shown && hasParent) shownChildren++;
    }
    FuzzCheck(PlexCount(lay.edges) == shownChildren, "one edge per shown child");
    FuzzGeometry(in, &lay);
    GraphLayFree(&lay);
    return 0;
}
