// The graph format record and a graph's layout and drawing: the defaults (node colour by the display's
// colours), setting a format (spacing 5 stored as 10, unread bytes kept, fonts made again only when their
// description changed), layouts (the owner refusing, a measure stopping it, texts measured in the node
// font, the screen's size for an empty graph), and drawing on a canvas (background, node colours, the
// selection's swapped colours, highlighted and hot edges, the owner's node drawing).
#include "ui/graphfmt.h"

#include "ui/draw.h"
#include "ui/font.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Owner {
    bool permit = true;
    bool measureFails = false;
    int32_t asked = 0;
    int32_t drawn = 0;
};

bool OwnerPermit(HWND, void *data) {
    Owner *owner = (Owner *)data;
    owner->asked++;
    return owner->permit;
}
bool OwnerMeasure(void *data, int32_t, HDC, bool, SIZE *out) {
    *out = SIZE{60, 20};
    return !((Owner *)data)->measureFails;
}
void OwnerText(void *, int32_t item, char *out, int32_t size) {
    snprintf(out, (size_t)size, "node %d", item);
}
void OwnerDraw(void *data, int32_t, HDC, const RECT *, bool) {
    ((Owner *)data)->drawn++;
}

class GraphFmtTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        FontInit();
        ASSERT_TRUE(GraphObjectInit(&graph, nullptr));
        graph.callbacks.ownerData = &owner;
        graph.callbacks.measure = OwnerMeasure;
    }
    void TearDown() override {
        GraphObjectFree(&graph);
        FontExit();
        DrawExit();
    }
    void Nodes(std::initializer_list<int32_t> depths) {
        TrlClear(graph.lay.nodes);
        for (int32_t depth : depths) ASSERT_NE(TrlInsert(graph.lay.nodes, -1, 1, nullptr, depth), nullptr);
        graph.changes++;
    }
    RECT Box(int32_t index) {
        RECT rect;
        GraphNodeRect(&graph, index, false, &rect);
        return rect;
    }
    Graph graph;
    Owner owner;
};

} // namespace

TEST(GraphFormatRecordInit, Defaults) {
    ASSERT_TRUE(DrawInit(nullptr));
    GraphFormatRecord record;
    memset(&record, 0x5A, sizeof record);
    GraphFormatInit(&record);
    const GraphFormat &f = record.format;
    EXPECT_EQ(f.direction, GRAPH_LEFT_TO_RIGHT);
    EXPECT_EQ(f.nodeShape, GRAPH_SHAPE_BOX);
    EXPECT_EQ(f.edgePenWidth, 1);
    EXPECT_EQ(f.arrowheads, 1);
    EXPECT_EQ(f.edgeStyle, GRAPH_EDGE_ELBOW);
    EXPECT_EQ(f.spacing, 50);
    EXPECT_EQ(f.background, 0xC0C0C0u);
    EXPECT_EQ(f.edgeColor, 0x800000u);
    EXPECT_EQ(f.highlightColor, 0x0000FFu);
    EXPECT_TRUE(FontDescEqual(&f.nodeFont, &drawMetrics.guiFontDesc));
    EXPECT_TRUE(FontDescEqual(&f.fonts[1], &drawMetrics.guiFontDesc));
    EXPECT_EQ(f.nodeBack, DrawIsHiColor() ? 0xCCFFFFu : 0xFFFFFFu);
    EXPECT_EQ(f.spareColors[1], f.nodeBack);
    EXPECT_EQ(f.drawFlags, (uint32_t)GRAPH_DRAW_SHADOW);
    for (uint8_t byte : f.reserved) ASSERT_EQ(byte, 0);
    EXPECT_NE(record.callbacks.text, nullptr) << "the default text: empty";
    EXPECT_EQ(record.callbacks.measure, nullptr);
    DrawExit();
    DrawSetTestColorCount(256);
    ASSERT_TRUE(DrawInit(nullptr));
    GraphFormatDefaults(&record.format);
    EXPECT_EQ(record.format.nodeBack, 0xFFFFFFu) << "white at 256 colours";
    DrawExit();
}

TEST_F(GraphFmtTest, SetFormatKeepsBytesAndRemakesOnlyChangedFonts) {
    GraphFormat format = graph.format;
    format.spacing = 5;
    memset(format.reserved, 0x77, sizeof format.reserved);
    format.values[0] = 123;
    HFONT node = GraphFont(&graph, GRAPH_NODE_FONT), first = GraphFont(&graph, 0);
    int32_t changes = graph.changes;
    GraphSetFormat(&graph, &format);
    EXPECT_EQ(graph.format.spacing, 10) << "spacing 5 is stored as 10";
    EXPECT_EQ(graph.format.values[0], 123);
    EXPECT_EQ(graph.format.reserved[879], 0x77) << "bytes the graph does not read are kept";
    EXPECT_GT(graph.changes, changes);
    EXPECT_EQ(GraphFont(&graph, GRAPH_NODE_FONT), node) << "same description: same font";
    format.nodeFont.size = (uint16_t)(format.nodeFont.size + 8);
    memset(format.fonts[0].face, 'A', sizeof format.fonts[0].face); // stored without its NUL
    GraphSetFormat(&graph, &format);
    EXPECT_EQ(graph.format.fonts[0].face[FONT_FACE_MAX], 0);
    EXPECT_NE(GraphFont(&graph, GRAPH_NODE_FONT), nullptr);
    EXPECT_EQ(graph.fonts[1], nullptr);
    (void)first;
    EXPECT_EQ(GraphSetDirection(&graph, GRAPH_TOP_TO_BOTTOM), GRAPH_LEFT_TO_RIGHT);
    EXPECT_TRUE(GraphFormatVertical(&graph.format));
}

TEST_F(GraphFmtTest, LayoutAsksMeasuresAndSizes) {
    int32_t width, height;
    GraphExtent(&graph, &width, &height);
    EXPECT_EQ(width, drawMetrics.screenWidth) << "an empty graph is the screen's size";
    Nodes({0, 1, 1});
    graph.format.options = GRAPH_OPT_ASK_LAYOUT;
    graph.callbacks.permit = OwnerPermit;
    owner.permit = false;
    EXPECT_FALSE(GraphLayout(&graph));
    EXPECT_EQ(owner.asked, 1);
    EXPECT_NE(graph.laidOut, graph.changes);
    owner.permit = true;
    owner.measureFails = true;
    EXPECT_FALSE(GraphLayout(&graph)) << "a failed measure stops the layout";
    owner.measureFails = false;
    ASSERT_TRUE(GraphLayout(&graph));
    EXPECT_EQ(graph.laidOut, graph.changes);
    EXPECT_EQ(GraphLayNode(&graph.lay, 1)->extentW, 60);
    graph.callbacks.measure = nullptr; // the text in the node font
    graph.callbacks.text = OwnerText;
    ASSERT_TRUE(GraphLayout(&graph));
    HGDIOBJ previous = SelectObject(drawMetrics.scratchDC, GraphFont(&graph, GRAPH_NODE_FONT));
    SIZE text = DrawTextExtent(drawMetrics.scratchDC, "node 1", 6);
    SelectObject(drawMetrics.scratchDC, previous);
    EXPECT_EQ(GraphLayNode(&graph.lay, 1)->extentW, text.cx);
    GraphExtent(&graph, &width, &height);
    EXPECT_EQ(width, graph.lay.width);
}

TEST_F(GraphFmtTest, DrawsBackgroundNodesAndSelection) {
    graph.format.drawFlags = 0;
    graph.format.nodeBack = RGB(255, 255, 0);
    graph.format.nodeText = RGB(0, 0, 255);
    Nodes({0, 1});
    ASSERT_TRUE(GraphLayout(&graph));
    UiCanvas canvas(400, 200);
    RECT all = {0, 0, 400, 200};
    GraphDraw(&graph, canvas.dc(), &all);
    RECT root = Box(0), child = Box(1);
    EXPECT_EQ(canvas.Pixel(399, 199), (COLORREF)0xC0C0C0);
    EXPECT_EQ(canvas.Pixel(root.right - 3, root.bottom - 3), RGB(255, 255, 0));
    EXPECT_EQ(canvas.Pixel(root.left, root.top), RGB(0, 0, 0)) << "the border";
    GraphLayNode(&graph.lay, 1)->flags |= GRAPH_NODE_SELECTED;
    GraphDraw(&graph, canvas.dc(), &all);
    EXPECT_EQ(canvas.Pixel(child.right - 3, child.bottom - 3), RGB(0, 0, 255)) << "selected: colours swapped";
    graph.callbacks.ownerData = &owner;
    graph.callbacks.drawNode = OwnerDraw;
    GraphDraw(&graph, canvas.dc(), &all);
    EXPECT_EQ(owner.drawn, 2);
    RECT corner = {0, 0, 1, 1};
    owner.drawn = 0;
    GraphDraw(&graph, canvas.dc(), &corner);
    EXPECT_EQ(owner.drawn, 0) << "nodes outside the clip are skipped";
}

TEST_F(GraphFmtTest, EdgePensFollowFlags) {
    graph.format.edgeStyle = GRAPH_EDGE_STRAIGHT;
    graph.format.arrowheads = 0;
    graph.format.highlight = GRAPH_HIGHLIGHT_PEN;
    graph.format.edgeColor = RGB(0, 128, 0);
    graph.format.highlightColor = RGB(255, 0, 0);
    Nodes({0, 1});
    GraphLayNode(&graph.lay, 0)->reversed = true;
    ASSERT_TRUE(GraphLayout(&graph));
    UiCanvas canvas(400, 200);
    RECT all = {0, 0, 400, 200};
    GraphDraw(&graph, canvas.dc(), &all);
    const GraphEdge *edge = GraphLayEdge(&graph.lay, 0);
    int32_t midX = (edge->x1 + edge->x2) / 2, y = edge->y1;
    EXPECT_EQ(canvas.Pixel(midX, y), RGB(255, 0, 0)) << "an edge leaving a flagged node is highlighted";
    EXPECT_EQ(canvas.Pixel(midX, y + 2), (COLORREF)0xC0C0C0);
    graph.hotParent = 0;
    graph.hotChild = 1;
    GraphLayEdge(&graph.lay, 0)->flags |= GRAPH_EDGE_HOT;
    GraphDraw(&graph, canvas.dc(), &all);
    EXPECT_EQ(canvas.Pixel(midX, y + 2), RGB(255, 0, 0)) << "the hot edge is 6 pixels wide";
}
