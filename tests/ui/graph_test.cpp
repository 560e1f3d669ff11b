// The graph window: creation (the owner's create and destroy callbacks, a refused create), nodes and
// refreshing (the first node scrolled into view once per change, a hidden selection dropped), mouse actions
// and owner codes (selection, a click on empty space repainting only the old node, activation, the expand
// box, edges made hot and moved, help mode), scrolling (lines, pages, the wheel, resizing that keeps or
// resets the origin), and the item queries.
#include "ui/graph.h"

#include "ui/draw.h"
#include "ui/font.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Owner {
    std::vector<GraphEvent> events;
    bool handle = false; // answers every event as handled
    bool expand = true;  // answers the expand box
    bool refuse = false; // refuses creation
    int32_t destroyed = 0;
    int32_t w = 100; // every node's measure
    int32_t h = 30;
};
Owner *owner;

bool OwnerCreate(HWND, void *data) {
    return !((Owner *)data)->refuse;
}
void OwnerDestroy(HWND) {
    owner->destroyed++;
}
bool OwnerEvent(HWND, const GraphEvent *event) {
    owner->events.push_back(*event);
    return event->code == GRAPH_EV_EXPAND ? owner->expand : owner->handle;
}
bool OwnerMeasure(void *data, int32_t, HDC, bool, SIZE *out) {
    *out = SIZE{((Owner *)data)->w, ((Owner *)data)->h};
    return true;
}
int32_t visited;
bool VisitFirstTwo(HWND, GraphNode *, int32_t item) {
    visited++;
    return item < 1;
}

bool helpMode;
bool HelpMode() {
    return helpMode;
}

class GraphTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        FontInit();
        ASSERT_TRUE(GraphRegister());
        owner = &data;
        parent = UiShownPopup(0, 0, 400, 300);
        helpMode = false;
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        UiDrain();
        owner = nullptr;
        FontExit();
        DrawExit();
    }
    HWND Make(int32_t width = 300, int32_t height = 200) {
        GraphFormatRecord record;
        GraphFormatInit(&record);
        record.format.drawFlags = 0;
        record.callbacks.ownerData = &data;
        record.callbacks.create = OwnerCreate;
        record.callbacks.destroy = OwnerDestroy;
        record.callbacks.event = OwnerEvent;
        record.callbacks.measure = OwnerMeasure;
        RECT rect = {0, 0, width, height};
        window = GraphCreate(parent, &rect, &record, true);
        return window;
    }
    // A root with children: depths as given.
    void Load(std::initializer_list<uint32_t> depths) {
        std::vector<GraphNodeInit> nodes;
        int32_t k = 0;
        for (uint32_t depth : depths) nodes.push_back({depth, {k++, 0}});
        ASSERT_TRUE(GraphSetNodes(window, nodes.data(), (int32_t)nodes.size()));
        GraphRefresh(window);
        UiDrain();
    }
    RECT ItemRect(int32_t item) {
        RECT rect = {};
        EXPECT_TRUE(GraphGetItemRect(window, item, &rect));
        return rect;
    }
    void Click(UINT message, POINT point) { SendMessageA(window, message, 0, MAKELPARAM(point.x, point.y)); }
    POINT Inside(int32_t item) {
        RECT rect = ItemRect(item);
        return POINT{rect.left + 3, rect.top + 3};
    }
    Graph *Object() { return GraphFromWindow(window); }

    Owner data;
    HWND parent = nullptr;
    HWND window = nullptr;
};

} // namespace

TEST_F(GraphTest, CreationAndTheOwnersCallbacks) {
    data.refuse = true;
    EXPECT_EQ(Make(), nullptr);
    EXPECT_EQ(data.destroyed, 1) << "a refused window is destroyed";
    data.refuse = false;
    ASSERT_NE(Make(), nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GraphGetSelection(window), -1);
    DestroyWindow(window);
    window = nullptr;
    EXPECT_EQ(data.destroyed, 2);
}

TEST_F(GraphTest, ClickSelectsAndEmptySpaceRepaintsOnlyTheOldNode) {
    Make();
    Load({0, 1, 1, 1});
    Click(WM_LBUTTONDOWN, Inside(2));
    EXPECT_EQ(GraphGetSelection(window), 2);
    ASSERT_EQ(data.events.size(), 1u);
    EXPECT_EQ(data.events[0].code, GRAPH_EV_LEFT_DOWN);
    EXPECT_EQ(data.events[0].item, 2);
    UpdateWindow(window);
    RECT old = ItemRect(2), empty = {}, client;
    GetClientRect(window, &client);
    Click(WM_LBUTTONDOWN, POINT{2, client.bottom - 5}); // below the whole graph
    EXPECT_EQ(GraphGetSelection(window), -1);
    ASSERT_TRUE(GetUpdateRect(window, &empty, FALSE));
    RECT covered;
    EXPECT_TRUE(IntersectRect(&covered, &empty, &old) && EqualRect(&covered, &old))
        << "the old node repaints";
    for (int32_t other : {0, 1, 3}) {
        RECT rect = ItemRect(other);
        EXPECT_FALSE(IntersectRect(&covered, &empty, &rect)) << "node " << other << " is left alone";
    }
}

TEST_F(GraphTest, OwnerCodesAndTheirDefaults) {
    Make();
    Load({0, 1, 1});
    Click(WM_RBUTTONDOWN, Inside(1));
    EXPECT_EQ(GraphGetSelection(window), 1) << "an unhandled right click selects";
    Click(WM_LBUTTONDBLCLK, Inside(1));
    ASSERT_EQ(data.events.size(), 3u);
    EXPECT_EQ(data.events[1].code, GRAPH_EV_LEFT_DOUBLE);
    EXPECT_EQ(data.events[2].code, GRAPH_EV_ACTIVATE);
    data.events.clear();
    data.handle = true;
    Click(WM_LBUTTONDOWN, Inside(2));
    EXPECT_EQ(GraphGetSelection(window), 1) << "a handled click leaves the selection";
    Click(WM_MBUTTONDOWN, Inside(2));
    EXPECT_EQ(data.events.back().code, GRAPH_EV_MIDDLE_DOWN);
    helpMode = true;
    GraphSetHelpModeHook(HelpMode);
    data.events.clear();
    Click(WM_LBUTTONDOWN, POINT{7, 9});
    ASSERT_EQ(data.events.size(), 1u);
    EXPECT_EQ(data.events[0].code, GRAPH_EV_HELP);
    EXPECT_EQ(data.events[0].x, 7);
    EXPECT_EQ(data.events[0].item, -1);
}

TEST_F(GraphTest, ExpandBoxAsksTheOwner) {
    Make();
    Load({0, 1});
    RECT root = ItemRect(0);
    POINT box = {root.right - 2, (root.top + root.bottom) / 2};
    int32_t changes = Object()->changes;
    Click(WM_LBUTTONDOWN, box);
    ASSERT_EQ(data.events.size(), 1u);
    EXPECT_EQ(data.events[0].code, GRAPH_EV_EXPAND);
    EXPECT_EQ(GraphGetSelection(window), 0);
    EXPECT_GT(Object()->changes, changes) << "laid out again";
    EXPECT_EQ(Object()->laidOut, Object()->changes);
    data.expand = false;
    changes = Object()->changes;
    Click(WM_LBUTTONDOWN, box);
    EXPECT_EQ(Object()->changes, changes) << "a refusal changes nothing";
}

TEST_F(GraphTest, EdgeClickMakesItHotAndAnotherMovesIt) {
    Make(400, 300);
    Load({0, 1, 1});
    Graph *graph = Object();
    GraphPoint path[4];
    int32_t arrow;
    GraphLayEdgePath(&graph->lay, GraphLayEdge(&graph->lay, 0), 0, 0, 0, path, &arrow);
    POINT onFirst = {path[1].x - graph->originX, (path[1].y + path[2].y) / 2 - graph->originY};
    Click(WM_LBUTTONDOWN, onFirst);
    int32_t parent = -1, child = -1;
    ASSERT_TRUE(GraphGetHotEdge(window, &parent, &child));
    EXPECT_EQ(parent, 0);
    EXPECT_EQ(child, 1);
    EXPECT_EQ(data.events.back().item, 0);
    EXPECT_EQ(data.events.back().second, 1);
    GraphLayEdgePath(&graph->lay, GraphLayEdge(&graph->lay, 1), 0, 0, 0, path, &arrow);
    POINT onSecond = {path[1].x - graph->originX, (path[1].y + path[2].y) / 2 - graph->originY};
    Click(WM_LBUTTONDOWN, onSecond);
    ASSERT_TRUE(GraphGetHotEdge(window, &parent, &child));
    EXPECT_EQ(child, 2);
    EXPECT_FALSE(GraphLayEdge(&graph->lay, 0)->flags & GRAPH_EDGE_HOT);
    GraphInvalidate(window, true);
    EXPECT_TRUE(GraphLayEdge(&graph->lay, 1)->flags & GRAPH_EDGE_HOT) << "hot across a new layout";
    Click(WM_LBUTTONDBLCLK, onSecond);
    EXPECT_EQ(data.events.back().code, GRAPH_EV_EDGE_OPEN);
}

TEST_F(GraphTest, ResizingKeepsOrResetsTheOrigin) {
    data.w = 200;
    Make(150, 100);
    Load({0, 1, 2, 3});
    Graph *graph = Object();
    ASSERT_GT(graph->lay.width, 600);
    SendMessageA(window, WM_HSCROLL, SB_PAGEDOWN, 0);
    int32_t origin = graph->originX;
    EXPECT_GT(origin, 0);
    SetWindowPos(window, nullptr, 0, 0, 120, 90, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(graph->originX, origin) << "shrinking keeps the origin";
    SetWindowPos(window, nullptr, 0, 0, graph->lay.width + 40, 90, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(graph->originX, 0) << "a window as wide as the graph starts at 0";
}

TEST_F(GraphTest, ScrollSteps) {
    data.w = 200;
    data.h = 200;
    Make(150, 100);
    Load({0, 1, 1, 1, 2, 3});
    Graph *graph = Object();
    graph->originX = graph->originY = 0;
    RECT client;
    GetClientRect(window, &client);
    SendMessageA(window, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(graph->originX, (drawMetrics.dpiX + 1) / 2) << "a line is half an inch";
    SendMessageA(window, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(graph->originY, client.bottom) << "a page is the client height";
    SendMessageA(window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(graph->originY, graph->lay.height - client.bottom) << "kept within the graph";
    SendMessageA(window, WM_VSCROLL, SB_TOP, 0);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(graph->originY % (drawMetrics.dpiY / 4), 0) << "the wheel moves by quarter inches";
    EXPECT_GT(graph->originY, 0);
}

TEST_F(GraphTest, RefreshShowsTheSelectionOncePerChange) {
    data.w = 60;
    Make(150, 100);
    Load({0, 1, 2, 3});
    Graph *graph = Object();
    GraphSelectItem(window, 3);
    GraphInvalidate(window, true);
    RECT last = ItemRect(3), client;
    GetClientRect(window, &client);
    EXPECT_GE(last.left, 0);
    EXPECT_LE(last.right, client.right) << "the selected node is in view";
    SendMessageA(window, WM_HSCROLL, SB_TOP, 0);
    GraphRefresh(window);
    EXPECT_EQ(graph->originX, 0) << "no change since: the user's scrolling stays";
    GraphSetHidden(window, 2, false);
    GraphRefresh(window);
    EXPECT_EQ(GraphGetSelection(window), -1) << "a node hidden with its parent is no longer selected";
    EXPECT_EQ(GraphItemAt(window, Inside(0).x, Inside(0).y), 0);
}

TEST_F(GraphTest, ItemQueries) {
    Make();
    Load({0, 1, 1});
    EXPECT_FALSE(GraphGetItemRect(window, 3, nullptr));
    RECT rect = ItemRect(1);
    EXPECT_EQ(GraphItemAt(window, rect.left + 1, rect.top + 1), 1);
    EXPECT_EQ(GraphItemAt(window, rect.left - 1, rect.top - 1), -1);
    GraphFormat format;
    GraphGetFormat(window, &format);
    format.nodeShape = GRAPH_SHAPE_ELLIPSE;
    GraphSetFormat(window, &format);
    GraphRefresh(window);
    RECT inner = ItemRect(1), box;
    GraphNodeRect(Object(), 1, false, &box);
    EXPECT_EQ(inner.right - inner.left, data.w) << "an ellipse's contents, not its box";
    EXPECT_GT(box.right - box.left, inner.right - inner.left);
    EXPECT_EQ(GraphSetDirection(window, GRAPH_TOP_TO_BOTTOM), GRAPH_LEFT_TO_RIGHT);
    visited = 0;
    EXPECT_FALSE(GraphEnumNodes(window, VisitFirstTwo));
    EXPECT_EQ(visited, 2);
    GraphSetNodeFlag(window, 0, 0);
    GraphRefresh(window);
    EXPECT_TRUE(GraphLayEdge(&Object()->lay, 0)->flags & GRAPH_EDGE_REVERSED);
    GraphSetNodeFlag(window, 0, 1);
    GraphRefresh(window);
    EXPECT_FALSE(GraphLayEdge(&Object()->lay, 0)->flags & GRAPH_EDGE_REVERSED);
}
