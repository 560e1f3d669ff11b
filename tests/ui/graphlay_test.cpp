// The graph's layout engine: the stored format's checks (spacing kept within 10..1000, faces ended, other
// bytes kept), the measures taken from the resolution and spacing, layouts (leaves in a level centred on
// their band in both directions, the edges' ends, hidden nodes and subtrees, all children hidden, roots'
// bands past the fullest level, uneven depths, reversed edges), edge paths and arrowheads, hit tests, and the
// scroll origin that shows a node.
#include "ui/graphlay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

GraphFormat Format(int32_t direction = GRAPH_LEFT_TO_RIGHT, int32_t spacing = 100) {
    GraphFormat format;
    memset(&format, 0, sizeof format);
    format.direction = direction;
    format.nodeShape = GRAPH_SHAPE_BOX;
    format.arrowheads = 1;
    format.edgeStyle = GRAPH_EDGE_ELBOW;
    format.spacing = spacing;
    return format;
}

struct NodeSpec {
    int32_t depth;
    int32_t w = 40;
    int32_t h = 20;
    bool hidden = false;
    bool reversed = false;
};

// A graph of the nodes at 100 pixels per inch (screen caps of 96), measured as given, laid out.
class GraphLayTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(GraphLayCreate(&lay)); }
    void TearDown() override { GraphLayFree(&lay); }

    void Build(const std::vector<NodeSpec> &specs) {
        TrlClear(lay.nodes);
        for (const NodeSpec &spec : specs) {
            GraphNode *node = (GraphNode *)TrlInsert(lay.nodes, -1, 1, nullptr, spec.depth);
            ASSERT_NE(node, nullptr);
            node->hidden = spec.hidden;
            node->reversed = spec.reversed;
        }
        lay.capX = lay.capY = 96;
        GraphLayMeasures(&format, 100, 100, &lay.metrics);
        GraphLayMarkShown(&lay);
        for (size_t i = 0; i < specs.size(); i++) {
            GraphLayNode(&lay, (int32_t)i)->extentW = specs[i].w;
            GraphLayNode(&lay, (int32_t)i)->extentH = specs[i].h;
        }
        ASSERT_TRUE(GraphLayRun(&lay, &format));
        EXPECT_TRUE(GraphLayCheck(&lay));
    }
    const GraphBox &Rect(int32_t i) { return GraphLayNode(&lay, i)->rect; }
    bool Shown(int32_t i) { return (GraphLayNode(&lay, i)->flags & GRAPH_NODE_SHOWN) != 0; }
    int32_t Edges() { return PlexCount(lay.edges); }

    GraphLay lay;
    GraphFormat format = Format();
};

} // namespace

// ---- The stored format

TEST(GraphFormatStored, NormalizeKeepsSpacingInRangeAndEndsFaces) {
    struct Case {
        int32_t spacing, stored;
    } cases[] = {{5, 10}, {10, 10}, {50, 50}, {1000, 1000}, {1001, 1000}, {INT32_MAX, 1000}, {-7, 10}};
    for (const Case &c : cases) {
        GraphFormat format;
        memset(&format, 0xA5, sizeof format);
        format.spacing = c.spacing;
        GraphFormat before = format;
        GraphFormatNormalize(&format);
        EXPECT_EQ(format.spacing, c.stored) << c.spacing;
        EXPECT_EQ(format.nodeFont.face[FONT_FACE_MAX], 0);
        EXPECT_EQ(format.fonts[0].face[FONT_FACE_MAX], 0);
        EXPECT_EQ(format.fonts[1].face[FONT_FACE_MAX], 0);
        // Every other byte is kept, read or not.
        before.spacing = format.spacing;
        before.nodeFont.face[FONT_FACE_MAX] = before.fonts[0].face[FONT_FACE_MAX] =
            before.fonts[1].face[FONT_FACE_MAX] = 0;
        EXPECT_EQ(memcmp(&before, &format, sizeof format), 0);
    }
}

// ---- Measures

TEST(GraphLayMeasure, FromResolutionAndSpacing) {
    GraphLayMetrics m;
    GraphFormat format = Format(GRAPH_LEFT_TO_RIGHT, 100);
    GraphLayMeasures(&format, 100, 200, &m);
    EXPECT_EQ(m.padX, 3);
    EXPECT_EQ(m.padY, 4);
    EXPECT_EQ(m.placeholder, 25);
    EXPECT_EQ(m.arrowHalf, 5);
    EXPECT_EQ(m.arrowLen, 8);
    EXPECT_EQ(m.gapX, 10 + 8) << "along the levels, grown by the arrowhead";
    EXPECT_EQ(m.gapY, 13) << "across: 200 / 15";
    format.direction = GRAPH_TOP_TO_BOTTOM;
    GraphLayMeasures(&format, 100, 200, &m);
    EXPECT_EQ(m.gapY, 25 + 8) << "along: 200 / 8";
    EXPECT_EQ(m.gapX, 6) << "across: 100 / 15";
    format.spacing = 1000; // the arrowhead grows no further than at 100 %
    GraphLayMeasures(&format, 100, 200, &m);
    EXPECT_EQ(m.arrowLen, 8);
    EXPECT_EQ(m.gapY, 250 + 8);
}

TEST(GraphLayMeasure, SmallArrowheadsAndGapsHaveTheirFloors) {
    GraphLayMetrics m;
    GraphFormat format = Format(GRAPH_LEFT_TO_RIGHT, 10);
    GraphLayMeasures(&format, 96, 96, &m);
    EXPECT_EQ(m.arrowHalf, 0) << "half-width below 3: no arrowhead";
    EXPECT_EQ(m.arrowLen, 0);
    EXPECT_EQ(m.gapX, 3);
    EXPECT_EQ(m.gapY, 2);
    format.arrowheads = 0;
    format.spacing = 100;
    GraphLayMeasures(&format, 200, 200, &m);
    EXPECT_EQ(m.arrowLen, 0) << "no arrowheads: no room for them";
    EXPECT_EQ(m.gapX, 20);
    GraphLayMeasures(&format, 0, -5, &m); // no device: the floors
    EXPECT_EQ(m.gapX, 3);
    EXPECT_EQ(m.padY, 0);
}

// ---- Layout

// Left to right the leaves form a column right of the root; top to bottom a row below it.
TEST_F(GraphLayTest, LeavesFormALevelBesideTheRootCentredOnThem) {
    for (int32_t direction : {GRAPH_LEFT_TO_RIGHT, GRAPH_TOP_TO_BOTTOM}) {
        format = Format(direction);
        Build({{0}, {1}, {1}, {1}});
        bool vertical = direction == GRAPH_TOP_TO_BOTTOM;
        EXPECT_EQ(lay.vertical, vertical);
        const GraphLayMetrics &m = lay.metrics;
        int32_t w = 40 + 2 * (m.padX + m.gapX), h = 20 + 2 * (m.padY + m.gapY);
        int32_t along = vertical ? h : w, across = vertical ? w : h;
        auto Along = [&](int32_t i) { return vertical ? Rect(i).y : Rect(i).x; };
        auto Across = [&](int32_t i) { return vertical ? Rect(i).x : Rect(i).y; };
        EXPECT_EQ(Along(0), 0) << direction;
        for (int32_t i = 1; i <= 3; i++) {
            EXPECT_EQ(Along(i), along) << direction << " " << i;
            EXPECT_EQ(Across(i), (i - 1) * across) << direction << " " << i;
            EXPECT_EQ(Rect(i).w, w);
            EXPECT_EQ(Rect(i).h, h);
        }
        EXPECT_EQ(Across(0) + across / 2, 3 * across / 2) << "the root is centred across its children's band";
        EXPECT_EQ(vertical ? lay.height : lay.width, 2 * along);
        EXPECT_EQ(vertical ? lay.width : lay.height, 3 * across);
        ASSERT_EQ(Edges(), 3);
    }
}

TEST_F(GraphLayTest, EdgesRunFromTheParentsFarSideToTheChildsNearSide) {
    Build({{0}, {1}, {1}, {1}});
    const GraphLayMetrics &m = lay.metrics;
    const GraphEdge *edge = GraphLayEdge(&lay, 1);
    EXPECT_EQ(edge->parent, 0);
    EXPECT_EQ(edge->child, 2);
    EXPECT_EQ(edge->x1, Rect(0).w - m.gapX) << "from the parent's far side less the gap";
    EXPECT_EQ(edge->y1, Rect(0).y + Rect(0).h / 2);
    EXPECT_EQ(edge->x2, Rect(2).x + m.gapX) << "to the child's near side plus the gap";
    EXPECT_EQ(edge->y2, Rect(2).y + Rect(2).h / 2);
    EXPECT_EQ(edge->style, GRAPH_EDGE_ELBOW);
    format = Format(GRAPH_TOP_TO_BOTTOM);
    Build({{0}, {1}});
    edge = GraphLayEdge(&lay, 0);
    EXPECT_EQ(edge->x1, Rect(0).x + Rect(0).w / 2);
    EXPECT_EQ(edge->y1, Rect(0).h - m.gapY);
    EXPECT_EQ(edge->y2, Rect(1).y + m.gapY);
}

TEST_F(GraphLayTest, AllChildrenHiddenPlacesNone) {
    Build({{0}, {1}, {1, 40, 20, true}, {2}, {1, 40, 20, true}});
    // Node 1's only child is shown; node 0 keeps 1 and loses 2 (with its child 3) and 4.
    EXPECT_TRUE(Shown(0) && Shown(1));
    EXPECT_FALSE(Shown(2) || Shown(3) || Shown(4)) << "a hidden node takes its subtree along";
    EXPECT_EQ(Edges(), 1);
    Build({{0}, {1}, {2, 40, 20, true}, {2, 40, 20, true}});
    EXPECT_TRUE(Shown(1));
    EXPECT_EQ(Edges(), 1) << "only the root's edge; node 1's children are all hidden";
    EXPECT_EQ(GraphLayNode(&lay, 1)->siblingGap, 0) << "no band of children to keep a gap around";
    Build({{0, 40, 20, true}, {1}});
    EXPECT_EQ(Edges(), 0);
    EXPECT_EQ(lay.width, 0);
}

TEST_F(GraphLayTest, RootBandReachingPastTheFullestLevelIsInTheGraph) {
    // Each child band keeps a gap around its own children, so the root's band is taller than any level.
    Build({{0}, {1}, {2}, {1}, {2}});
    const GraphNode *lowest = GraphLayNode(&lay, 4);
    EXPECT_GT(GraphLayNode(&lay, 0)->subtreeH, 2 * lowest->rect.h);
    EXPECT_LE(lowest->rect.y + lowest->rect.h, lay.height) << "the last node can be scrolled into view";
    EXPECT_EQ(lay.height, GraphLayNode(&lay, 0)->subtreeH);
}

TEST_F(GraphLayTest, DepthStepsAndRootsFollowTheTree) {
    // A child three depths below its parent is on the next level; a second root gets the next band.
    Build({{0}, {3}, {3}, {0}, {1}});
    EXPECT_EQ(Rect(1).x, Rect(0).w);
    EXPECT_EQ(Rect(2).x, Rect(1).x);
    EXPECT_EQ(PlexCount(lay.levels), 2);
    EXPECT_EQ(Rect(3).x, 0);
    EXPECT_GE(Rect(3).y, Rect(2).y + Rect(2).h) << "the second root's band follows the first";
    EXPECT_EQ(Edges(), 3);
    EXPECT_EQ(GraphLayEdge(&lay, 2)->parent, 3);
}

TEST_F(GraphLayTest, FlaggedParentsEdgesAreReversed) {
    Build({{0, 40, 20, false, true}, {1}, {2}});
    const GraphEdge *fromRoot = GraphLayEdge(&lay, 0), *fromChild = GraphLayEdge(&lay, 1);
    EXPECT_TRUE(fromRoot->flags & GRAPH_EDGE_REVERSED);
    EXPECT_LT(fromRoot->x2, fromRoot->x1) << "its ends are swapped: it ends at the parent";
    EXPECT_FALSE(fromChild->flags & GRAPH_EDGE_REVERSED);
}

TEST_F(GraphLayTest, HugeMeasuresStayWithinTheCoordinates) {
    Build({{0, INT32_MAX, INT32_MAX}, {1, -5, -5}, {1, INT32_MAX, 7}});
    EXPECT_LE(lay.width, GRAPH_COORD_MAX);
    EXPECT_GE(GraphLayNode(&lay, 1)->rect.w, 0);
}

// ---- Geometry

TEST_F(GraphLayTest, EdgePathsPerStyle) {
    Build({{0}, {1}});
    GraphEdge edge = *GraphLayEdge(&lay, 0);
    edge.x1 = 10, edge.y1 = 20, edge.x2 = 110, edge.y2 = 60;
    GraphPoint p[4];
    int32_t arrow;
    edge.style = GRAPH_EDGE_ELBOW;
    ASSERT_EQ(GraphLayEdgePath(&lay, &edge, 8, 5, 0, p, &arrow), 4);
    EXPECT_EQ(arrow, 1);
    EXPECT_EQ(p[0].x, 15);
    EXPECT_EQ(p[3].x, 107) << "ends an arrowhead's length before the child";
    EXPECT_EQ(p[1].x, 61) << "through the middle";
    EXPECT_EQ(p[1].y, 20);
    EXPECT_EQ(p[2].y, 60);
    edge.style = GRAPH_EDGE_BEZIER;
    ASSERT_EQ(GraphLayEdgePath(&lay, &edge, 0, 0, 0, p, &arrow), 4);
    EXPECT_EQ(arrow, 0);
    EXPECT_EQ(p[1].x, 35) << "leaving along the level direction";
    EXPECT_EQ(p[1].y, 20);
    EXPECT_EQ(p[2].x, 85);
    EXPECT_EQ(p[2].y, 60);
    edge.style = GRAPH_EDGE_STRAIGHT;
    edge.x2 = -50; // reversed: the arrow points left
    ASSERT_EQ(GraphLayEdgePath(&lay, &edge, 8, 0, 0, p, &arrow), 2);
    EXPECT_EQ(arrow, 3);
    EXPECT_EQ(p[1].x, -42);
}

TEST(GraphLayArrow, BarbsBackFromTheTip) {
    GraphPoint head[4];
    GraphLayArrowHead({100, 50}, 2, 5, 8, head); // pointing down
    EXPECT_EQ(head[1].x, 100);
    EXPECT_EQ(head[1].y, 50);
    EXPECT_EQ(head[3].y, 42);
    EXPECT_EQ(head[0].y, 42);
    EXPECT_EQ(abs(head[0].x - head[2].x), 10);
}

TEST_F(GraphLayTest, HitTests) {
    Build({{0}, {1}, {1}});
    GraphBox box;
    GraphLayNodeBox(&lay, GraphLayNode(&lay, 1), &box);
    bool onBox;
    EXPECT_EQ(GraphLayNodeAt(&lay, box.x + 1, box.y + 1, 10, &onBox), 1);
    EXPECT_FALSE(onBox);
    EXPECT_EQ(GraphLayNodeAt(&lay, box.x + box.w - 2, box.y + box.h / 2, 10, &onBox), 1);
    EXPECT_TRUE(onBox) << "the expand box at the far side, centred across";
    EXPECT_EQ(GraphLayNodeAt(&lay, box.x - 1, box.y + 1, 10, &onBox), -1) << "the gap is no node";
    const GraphEdge *edge = GraphLayEdge(&lay, 1);
    GraphPoint path[4];
    int32_t arrow;
    GraphLayEdgePath(&lay, edge, 0, 0, 0, path, &arrow);
    EXPECT_EQ(GraphLayEdgeAt(&lay, path[1].x + 3, (path[1].y + path[2].y) / 2), 1)
        << "3 pixels off a segment";
    EXPECT_EQ(GraphLayEdgeAt(&lay, path[1].x + 4, (path[1].y + path[2].y) / 2), -1);
    GraphLayEdge(&lay, 1)->style = GRAPH_EDGE_BEZIER; // the line between the ends counts, within 5
    int32_t midX = (edge->x1 + edge->x2) / 2, midY = (edge->y1 + edge->y2) / 2;
    EXPECT_EQ(GraphLayEdgeAt(&lay, midX, midY + 4), 1);
}

TEST(GraphLayScroll, ShowOriginCentresAcrossAndMovesAlongAsNeeded) {
    GraphBox box = {500, 300, 100, 40};
    int32_t x = 0, y = 0;
    GraphLayShowOrigin(&box, false, 200, 100, 2000, 1000, &x, &y);
    EXPECT_EQ(y, 300 - (100 - 40 + 1) / 2);
    EXPECT_EQ(x, 400) << "just far enough for the right edge";
    x = 550;
    GraphLayShowOrigin(&box, false, 200, 100, 2000, 1000, &x, &y);
    EXPECT_EQ(x, 500) << "just far enough for the left edge";
    x = 450;
    GraphLayShowOrigin(&box, false, 200, 100, 2000, 1000, &x, &y);
    EXPECT_EQ(x, 450) << "already in view";
    box = {10, 10, 20, 20};
    GraphLayShowOrigin(&box, true, 200, 100, 150, 90, &x, &y);
    EXPECT_EQ(x, 0) << "the graph is narrower than the window";
    EXPECT_EQ(y, 0);
    EXPECT_EQ(GraphLayClampOrigin(70, 100, 50), 50);
    EXPECT_EQ(GraphLayClampOrigin(-3, 100, 50), 0);
}
