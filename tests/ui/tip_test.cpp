// The free tooltip window:
// - its class as registered by the toolbars' start-up;
// - a tip beside a point: its size from the text, its place a quarter of its width left of the point and 16
//   pixels below, kept inside the nearest of several (fake) monitors, including one's left edge; shown top
//   most without activation, owned by the owner;
// - the default painting in the tooltip colours and the deep frame, a paint callback given the window text;
// - its end: switching the application destroys it, and its creator is told.
#include "ui/tip.h"

#include "ui/draw.h"
#include "ui/toolbar.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class TipTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        ASSERT_TRUE(ToolbarInit());
        owner = UiPopup(0, 0, 100, 100);
    }
    void TearDown() override {
        DestroyWindow(owner); // takes its tips with it
        DrawExit();
    }
    HWND owner = nullptr;
};

SIZE TextSize(const char *text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, drawMetrics.guiFont);
    SIZE size;
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

std::vector<std::string> painted;
void RecordPaint(HWND, HDC, const char *text) {
    painted.push_back(text);
}
std::vector<HWND> gone;
void RecordGone(HWND tip) {
    gone.push_back(tip);
}

} // namespace

TEST_F(TipTest, TheClassAsRegistered) {
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), tipClass, &wc));
    EXPECT_STREQ(tipClass, "vx_Tip");
    EXPECT_EQ(wc.style, (UINT)(CS_SAVEBITS | CS_CLASSDC | CS_DBLCLKS));
    EXPECT_EQ(wc.cbWndExtra, (int)sizeof(void *));
    EXPECT_EQ(wc.hCursor, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_TRUE(TipRegisterClass()); // again: nothing changes
}

TEST_F(TipTest, PlacedBesideThePointInsideItsMonitor) {
    UiFakeMonitors(2); // 0..640 and 640..1280, 480 high
    const char *text = "Open (Ctrl+O) - opens a file";
    SIZE size = TextSize(text);
    int32_t width = size.cx + 6, height = size.cy + 4;
    struct Case {
        const char *name;
        int32_t x, y;
        int32_t left, top;
    } cases[] = {
        {"free", 300, 100, 300 - width / 4, 116},
        {"right edge", 630, 100, 640 - 3 - width, 116},
        {"bottom edge", 300, 470, 300 - width / 4, 480 - 3 - height},
        {"left edge of the first", 1, 100, 2, 116},
        // On the second monitor the left edge is its own, not the screen's.
        {"left edge of the second", 645, 100, 642, 116},
        {"right edge of the second", 1279, 100, 1280 - 3 - width, 116},
    };
    for (const Case &c : cases) {
        HWND tip = TipShowAt(owner, text, c.x, c.y);
        ASSERT_NE(tip, nullptr) << c.name;
        RECT rect = WindowRect(tip);
        EXPECT_EQ(rect.left, c.left) << c.name;
        EXPECT_EQ(rect.top, c.top) << c.name;
        EXPECT_EQ(rect.right - rect.left, width) << c.name;
        EXPECT_EQ(rect.bottom - rect.top, height) << c.name;
        DestroyWindow(tip);
    }
}

TEST_F(TipTest, ShownTopMostWithoutActivation) {
    HWND tip = TipShowAt(owner, "Save", 200, 200);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), owner);
    EXPECT_NE(GetActiveWindow(), tip);
    char text[16];
    GetWindowTextA(tip, text, sizeof text);
    EXPECT_STREQ(text, "Save");
    DestroyWindow(tip);
}

TEST_F(TipTest, DefaultPaintingUsesTheTooltipColoursInADeepFrame) {
    HWND tip = TipShowAt(owner, "W", 200, 200);
    ASSERT_NE(tip, nullptr);
    RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    RECT client;
    GetClientRect(tip, &client);
    HDC dc = GetDC(tip);
    EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), GetSysColor(COLOR_INFOBK)); // no text there
    ReleaseDC(tip, dc);
    RECT rect = WindowRect(tip);
    HDC frame = GetWindowDC(tip);
    EXPECT_EQ(GetPixel(frame, 0, 0), drawMetrics.colorBtnShadow);
    EXPECT_EQ(GetPixel(frame, rect.right - rect.left - 1, rect.bottom - rect.top - 1), RGB(0, 0, 0));
    ReleaseDC(tip, frame);
    DestroyWindow(tip);
}

TEST_F(TipTest, APaintCallbackGetsTheWindowText) {
    painted.clear();
    TipCreateData data = {RecordPaint, nullptr};
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, tipClass, "row text", WS_POPUP | WS_BORDER, 10, 10, 80, 20,
                               owner, nullptr, GetModuleHandleA(nullptr), &data);
    ASSERT_NE(tip, nullptr);
    data.paint = nullptr; // the window keeps its own copy
    ShowWindow(tip, SW_SHOWNA);
    UpdateWindow(tip);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(), "row text");
    DestroyWindow(tip);
}

TEST_F(TipTest, SwitchingTheApplicationEndsItAndTellsItsCreator) {
    gone.clear();
    TipCreateData data = {nullptr, RecordGone};
    HWND tip = CreateWindowExA(0, tipClass, "", WS_POPUP, 0, 0, 10, 10, owner, nullptr,
                               GetModuleHandleA(nullptr), &data);
    ASSERT_NE(tip, nullptr);
    SendMessageA(tip, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(gone, std::vector<HWND>{tip});

    HWND plain = TipShowAt(owner, "x", 10, 10);
    SendMessageA(plain, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(IsWindow(plain));
    EXPECT_EQ(gone.size(), 1u);
}
