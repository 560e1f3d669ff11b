// The MDI client:
// - children: the creation parameter and rectangle, maximised after a maximised active child unless created
//   minimised (which leaves the focus alone), activation restoring a minimised child, tiling and cascading;
// - the empty area painted into a DIB section: the embossed text only when set, not empty and switched on;
//   a solid fill without gradients, the gradient band around the anchor with them;
// - the default procedures: extra buttons, the drag message, the help cursor in help mode, the context menu
//   of version 3.50 at its screen position, the older wheel message handed to the focus window inside the
//   frame, menu help of the children.
#include "ui/mdi.h"

#include "base/sysprobe.h"
#include "base/wndtest.h"
#include "base/wheel.h"
#include "base/wnd.h"
#include "ui/color.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/menu.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> childSeen;
LPARAM createdWith;

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const MDICREATESTRUCTA *mdi = (const MDICREATESTRUCTA *)((CREATESTRUCTA *)lParam)->lpCreateParams;
        createdWith = mdi->lParam;
    }
    if (message == WM_CONTEXTMENU || message == WM_MOUSEWHEEL) childSeen.push_back({message, wParam, lParam});
    return MdiChildDefProc(window, message, wParam, lParam);
}

class MdiTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        ASSERT_TRUE(FontInit());
        WtRegisterClass("vxMdiTestChild", ChildProc);
        frame = UiShownFrame();
        client = MdiGetClient();
        childSeen.clear();
    }
    void TearDown() override {
        UiCloseMdiChildren();
        MdiSetEmptyText(nullptr);
        MdiShowEmptyText(false);
        DrawSetGradients(false);
        FontExit();
        DrawExit();
    }
    HWND Child(const char *title, DWORD style = WS_VISIBLE, const RECT *rect = nullptr, LPARAM param = 0) {
        return MdiCreateChild("vxMdiTestChild", title, param, style | WS_OVERLAPPEDWINDOW, rect);
    }
    HWND frame = nullptr;
    HWND client = nullptr;
};

// ---- Children

TEST_F(MdiTest, ChildGetsItsParameterAndRectangle) {
    RECT rect = {10, 20, 210, 170};
    HWND child = Child("one", WS_VISIBLE, &rect, 1234);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(createdWith, 1234);
    RECT got;
    GetWindowRect(child, &got);
    MapWindowPoints(nullptr, client, (POINT *)&got, 2);
    EXPECT_EQ(got.left, 10);
    EXPECT_EQ(got.top, 20);
    EXPECT_EQ(got.right - got.left, 200);
    EXPECT_EQ(got.bottom - got.top, 150);
    EXPECT_EQ(GetFocus(), child);
    EXPECT_EQ(MdiGetActiveChild(), child);
}

TEST_F(MdiTest, NewChildIsMaximizedAfterAMaximizedOneUnlessMinimized) {
    HWND first = Child("first");
    MdiMaximize(first);
    ASSERT_TRUE(MdiIsChildMaximized());
    HWND second = Child("second");
    EXPECT_TRUE(IsZoomed(second));
    EXPECT_EQ(GetFocus(), second);
    HWND third = Child("third", WS_VISIBLE | WS_MINIMIZE);
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(IsIconic(third));
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(MdiGetActiveChild(), second);
    EXPECT_TRUE(IsZoomed(second));
    MdiRestore(second);
    EXPECT_FALSE(MdiIsChildMaximized());
}

TEST_F(MdiTest, ActivateRestoresTileAndCascade) {
    HWND a = Child("a");
    HWND b = Child("b");
    WndMinimize(a);
    MdiActivate(a);
    EXPECT_EQ(MdiGetActiveChild(), a);
    EXPECT_FALSE(IsIconic(a));
    MdiActivate(a); // already active: stays so
    EXPECT_EQ(MdiGetActiveChild(), a);

    MdiTile(true);
    RECT ra, rb, overlap;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb));
    MdiCascade();
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    EXPECT_NE(ra.left, rb.left);
    MdiDestroy(b);
    EXPECT_FALSE(IsWindow(b));
    WndSetText(a, "renamed");
    char title[32];
    GetWindowTextA(a, title, sizeof title);
    EXPECT_STREQ(title, "renamed");
}

TEST_F(MdiTest, HideAndShowClient) {
    MdiHideClient();
    EXPECT_FALSE(IsWindowVisible(client));
    MdiShowClient();
    EXPECT_TRUE(IsWindowVisible(client));
}

// ---- The empty area

// Pixels of the canvas that differ from the colour, in the band of the text (a quarter down, centred).
int OffColor(const UiCanvas &canvas, const RECT &area, COLORREF color) {
    int n = 0;
    int y0 = area.bottom / 4 - 20, y1 = area.bottom / 4 + 20;
    for (int y = y0; y < y1; y += 1)
        for (int x = area.right / 4; x < area.right * 3 / 4; x += 2) n += canvas.Pixel(x, y) != color;
    return n;
}

TEST_F(MdiTest, EmptyTextIsDrawnOnlyWhenSetAndSwitchedOn) {
    RECT area;
    GetClientRect(client, &area);
    const COLORREF back = RGB(0, 0, 128);
    MdiSetBackColor(back);
    struct Case {
        const char *text;
        bool show;
        bool drawn;
    } cases[] = {{"No files open", true, true},
                 {nullptr, true, false},
                 {"", true, false},
                 {"No files open", false, false}};
    for (const Case &c : cases) {
        MdiSetEmptyText(c.text);
        MdiShowEmptyText(c.show);
        UiCanvas canvas(area.right, area.bottom, RGB(255, 0, 255));
        SendMessageA(client, WM_PAINT, (WPARAM)canvas.dc(), 0);
        EXPECT_EQ(canvas.Pixel(2, 2), back);
        EXPECT_EQ(OffColor(canvas, area, back) > 0, c.drawn) << (c.text ? c.text : "(null)") << " " << c.show;
    }
}

TEST_F(MdiTest, GradientAroundTheAnchor) {
    RECT area;
    GetClientRect(client, &area);
    const COLORREF back = RGB(40, 80, 120);
    MdiSetBackColor(back);
    DrawSetGradients(true);
    if (!DrawCanGradient()) GTEST_SKIP() << "no gradient fills on this display";
    EXPECT_EQ(SendMessageA(client, WM_ERASEBKGND, (WPARAM)drawMetrics.scratchDC, 0), 1);
    UiCanvas canvas(area.right, area.bottom);
    SendMessageA(client, WM_PAINT, (WPARAM)canvas.dc(), 0);
    Color light = ColorAverage(ColorAverage(RGB(230, 230, 230), back), RGB(230, 230, 230));
    int anchor = area.bottom / 4;
    EXPECT_TRUE(ColorNear(canvas.Pixel(5, 0), back));
    EXPECT_TRUE(ColorNear(canvas.Pixel(5, anchor), light));
    EXPECT_FALSE(ColorNear(canvas.Pixel(5, anchor / 2), back));
    int fall = anchor + 4 * drawMetrics.dpiX;
    if (fall < area.bottom) {
        EXPECT_EQ(canvas.Pixel(5, area.bottom - 1), back);
    }

    DrawSetGradients(false);
    canvas.Fill(RGB(255, 255, 255));
    SendMessageA(client, WM_PAINT, (WPARAM)canvas.dc(), 0);
    EXPECT_EQ(canvas.Pixel(5, anchor), back);
}

// ---- Default procedures

bool helpMode;
bool HelpModeOn() {
    return helpMode;
}
std::vector<std::string> statusMessages;
void StatusMessage(const char *text) {
    statusMessages.push_back(text);
}

TEST_F(MdiTest, DefaultProceduresAnswerTheirOwnMessages) {
    HWND child = Child("child");
    for (UINT message : {WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDBLCLK, WM_NCXBUTTONDOWN, WM_NCXBUTTONUP,
                         WM_NCXBUTTONDBLCLK}) {
        EXPECT_EQ(MdiFrameDefProc(frame, client, message, 0, 0), 1) << message;
        EXPECT_EQ(MdiChildDefProc(child, message, 0, 0), 1) << message;
    }
    EXPECT_EQ(SendMessageA(frame, 2035, 0, 0), 0);

    MenuShellHooks hooks = {};
    hooks.helpModeIsOn = HelpModeOn;
    hooks.statusMessage = StatusMessage;
    MenuSetShellHooks(&hooks);
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    helpMode = true;
    EXPECT_EQ(MdiFrameDefProc(frame, client, WM_SETCURSOR, (WPARAM)frame, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_NE(GetCursor(), arrow);
    helpMode = false;
    CursorFreeHelp();

    // A child's menu selection reaches menu help: closing the menu clears the message.
    statusMessages.clear();
    SendMessageA(child, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    ASSERT_EQ(statusMessages.size(), 1u);
    EXPECT_EQ(statusMessages[0], "");
}

// Version 3.50 sent no context menu; the one sent in its place carries the window and the screen position.
TEST_F(MdiTest, ContextMenuOnVersion350IsAtTheScreenPosition) {
    HWND child = Child("child");
    SendMessageA(child, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    size_t bySystem = childSeen.size();
    UiSystemVersion(3, 50);
    childSeen.clear();
    SendMessageA(child, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    ASSERT_EQ(childSeen.size(), bySystem + 1);
    POINT expected = {5, 6};
    ClientToScreen(child, &expected);
    EXPECT_EQ(childSeen[0].message, (UINT)WM_CONTEXTMENU);
    EXPECT_EQ(childSeen[0].wParam, (WPARAM)child);
    EXPECT_EQ(childSeen[0].lParam, MAKELPARAM(expected.x, expected.y));
}

// The older wheel's message reaches the frame; the focus window gets it as a wheel message when it lies in
// the frame.
TEST_F(MdiTest, LegacyWheelGoesToTheFocusInsideTheFrame) {
    HWND driver = WtLegacyWheelDriver();
    UiSystemVersion(4, 0); // undone after the test, with the answers below
    SysTestAnswers answers = WtAnswers(4, 0, VER_PLATFORM_WIN32_WINDOWS);
    SysSetTestAnswers(&answers);
    WheelInit();
    ASSERT_TRUE(WheelIsLegacy());

    HWND child = Child("child");
    SetFocus(child);
    childSeen.clear();
    SendMessageA(frame, WheelRollMessage(), (WPARAM)(WORD)(short)-120, MAKELPARAM(7, 8));
    ASSERT_EQ(childSeen.size(), 1u);
    EXPECT_EQ(childSeen[0].message, (UINT)WM_MOUSEWHEEL);
    EXPECT_EQ(childSeen[0].wParam, (WPARAM)0xFF880000u);

    SetFocus(nullptr);
    childSeen.clear();
    SendMessageA(frame, WheelRollMessage(), 120, 0);
    EXPECT_TRUE(childSeen.empty());
    DestroyWindow(driver);
    UiRestore();
    WheelInit();
}

} // namespace
