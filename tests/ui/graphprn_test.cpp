// Graph printing on the test printer: the grid of cells (2.5 x 1 pages print 3 without asking; 3 x 3 asks
// and Cancel prints nothing), each page drawing its own cell, the footer naming the cell and the page, the
// owner's start and end callbacks, and the graph laid out for the screen again afterwards.
#include "ui/graphprn.h"

#include "printtest.h"
#include "support/vxtest.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/graph.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Owner {
    SIZE size;
    bool start = true;
    int32_t starts = 0;
    int32_t ends = 0;
};

bool OwnerMeasure(void *data, int32_t, HDC, bool, SIZE *out) {
    *out = ((Owner *)data)->size;
    return true;
}
void OwnerText(void *, int32_t item, char *out, int32_t size) {
    snprintf(out, (size_t)size, "N%d", item);
}
bool OwnerStart(HWND, void *data) {
    ((Owner *)data)->starts++;
    return ((Owner *)data)->start;
}
bool OwnerEnd(HWND, void *data) {
    ((Owner *)data)->ends++;
    return true;
}

// At 300 pixels per inch a node's padded box is its measure plus 72 across the levels and 32 along them,
// and the chain's middle node keeps 40 around its child's band; a page's text rectangle is 2250 x 3000.
class GraphPrintTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        FontInit();
        PrinterInit();
        ASSERT_TRUE(GraphRegister());
        PrintSetupDefaults(&setup);
        setup.header[0] = 0;
        VxAlertsReset();
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        PrinterTerm();
        FontExit();
        DrawExit();
    }
    // A chain of three nodes, each measured as given.
    void Make(int32_t width, int32_t height) {
        owner.size = SIZE{width, height};
        GraphFormatRecord record;
        GraphFormatInit(&record);
        record.callbacks.ownerData = &owner;
        record.callbacks.measure = OwnerMeasure;
        record.callbacks.text = OwnerText;
        record.callbacks.printStart = OwnerStart;
        record.callbacks.printEnd = OwnerEnd;
        RECT rect = {0, 0, 200, 150};
        window = GraphCreate(UiShownPopup(0, 0, 300, 200), &rect, &record, true);
        ASSERT_NE(window, nullptr);
        GraphNodeInit nodes[3] = {{0, {0, 0}}, {1, {0, 0}}, {2, {0, 0}}};
        ASSERT_TRUE(GraphSetNodes(window, nodes, 3));
        GraphRefresh(window);
        PrintTestInstall();
    }
    std::string Footer(int32_t page, bool left) {
        for (const PrintTestText &t : PrintTestTexts(page)) {
            if (t.y < PRINT_TEST_HEIGHT - PRINT_TEST_DPI / 2) continue;
            if ((t.x < PRINT_TEST_WIDTH / 2) == left)
                return t.text.substr(0, t.text.find_last_not_of(' ') + 1);
        }
        return "";
    }
    HWND window = nullptr;
    Owner owner;
    PrintSetup setup;
};

} // namespace

TEST_F(GraphPrintTest, TwoAndAHalfPagesPrintThreeUnasked) {
    Make(1800, 1000);
    ASSERT_TRUE(GraphPrint(window, &setup, "Calls"));
    EXPECT_TRUE(VxAlerts().empty());
    ASSERT_EQ(PrintTestPageCount(), 3);
    EXPECT_EQ(PrintTestDocumentName(), "Calls");
    EXPECT_EQ(Footer(0, true), "Cell 1,1 of 3 x 1 square");
    EXPECT_EQ(Footer(2, false), "Page 3 of 3");
    EXPECT_TRUE(PrintTestHolds(0, "N0"));
    EXPECT_FALSE(PrintTestHolds(0, "N2")) << "each page draws its own cell";
    EXPECT_TRUE(PrintTestHolds(2, "N2"));
    EXPECT_FALSE(PrintTestHolds(2, "N0"));
    EXPECT_EQ(owner.starts, 1);
    EXPECT_EQ(owner.ends, 1);
}

TEST_F(GraphPrintTest, ThreeByThreeAsksFirst) {
    Make(1900, 7000);
    VxAlertAnswer(IDCANCEL);
    EXPECT_FALSE(GraphPrint(window, &setup, "Calls"));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "OK to print all 9 pages of the graph? (3 x 3 square)");
    EXPECT_EQ(VxAlerts()[0].defaultButton, 1) << "Cancel is the default";
    EXPECT_EQ(PrintTestPageCount(), 0);
    EXPECT_EQ(PrintTestDocuments(), 0);
    VxAlertAnswer(IDOK);
    ASSERT_TRUE(GraphPrint(window, &setup, "Calls"));
    EXPECT_EQ(PrintTestPageCount(), 9);
}

TEST_F(GraphPrintTest, FooterNamesTheCell) {
    Make(1900, 4000);
    ASSERT_TRUE(GraphPrint(window, &setup, "Calls"));
    ASSERT_EQ(PrintTestPageCount(), 6);
    EXPECT_EQ(Footer(4, true), "Cell 2,2 of 3 x 2 square");
    EXPECT_EQ(Footer(4, false), "Page 5 of 6");
}

TEST_F(GraphPrintTest, OwnerMayRefuseAndScreenLayoutReturns) {
    Make(1800, 1000);
    Graph *graph = GraphFromWindow(window);
    int32_t screenWidth = graph->lay.width;
    graph->originX = 3;
    owner.start = false;
    EXPECT_FALSE(GraphPrint(window, &setup, "Calls"));
    EXPECT_EQ(owner.starts, 1);
    EXPECT_EQ(owner.ends, 0) << "no end without a start";
    EXPECT_EQ(PrintTestPageCount(), 0);
    EXPECT_EQ(graph->device, DRAW_SCREEN);
    EXPECT_EQ(graph->lay.width, screenWidth) << "laid out for the screen again";
}
