// Window utilities: titles as length-prefixed strings, ancestry, show states and the process test; messages to
// the parent, placement relative to the frame or the MDI client, sizes and coordinate mapping; the pump that
// leaves a quit request for the main loop; the default window procedure (extra buttons, the context menu
// that version 3.50 did not send, menu help through its hook); the help cursor.
#include "base/sysprobe.h"
#include "base/wnd.h"
#include "base/wndtest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Wnd, TextAncestryStateAndProcess) {
    std::string longTitle(300, 't');
    HWND window = WtMakeWindow(WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, "abcdef");
    HWND child = WtMakeWindow(WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, window);
    struct Case {
        int size;
        std::string expected;
    } cases[] = {{5, "abc"}, {2, ""}, {1, ""}, {0, "unchanged"}, {300, "abcdef"}};
    for (const Case &c : cases) {
        unsigned char pstr[400];
        memcpy(pstr, "\x09unchanged", 10);
        WndGetTextPstr(window, pstr, c.size);
        EXPECT_EQ(std::string((char *)pstr + 1, pstr[0]), c.expected) << c.size;
    }
    SetWindowTextA(window, longTitle.c_str());
    unsigned char pstr[400];
    WndGetTextPstr(window, pstr, sizeof pstr);
    EXPECT_EQ(pstr[0], 255);

    EXPECT_EQ(WndIsAncestor(window, child), 1);
    EXPECT_EQ(WndIsAncestor(window, window), 1);
    EXPECT_EQ(WndIsAncestor(child, window), 0);
    EXPECT_EQ(WndInOwnProcess(window), 1);
    EXPECT_EQ(WndInOwnProcess(nullptr), 0);
    EXPECT_EQ(WndGetProc(window), (WNDPROC)WtRecordingProc);

    struct Show {
        int state, expected;
    } shows[] = {{2, 2}, {0, 0}, {1, 1}, {0, 0}, {7, 0}};
    for (const Show &s : shows) {
        WndShowByState(window, s.state);
        EXPECT_EQ(WndShowState(window), s.expected) << s.state;
    }
    WndMinimize(window);
    EXPECT_TRUE(IsIconic(window));
    WndSetText(window, "set");
    WndGetTextPstr(window, pstr, sizeof pstr);
    EXPECT_EQ(std::string((char *)pstr + 1, pstr[0]), "set");
    WndShow(window, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    DestroyWindow(window);
}

TEST(Wnd, ParentMessagesAndPlacement) {
    HWND parent = WtMakeWindow(WS_POPUP, 100, 100, 300, 200);
    Xywh childPos = {10, 20, 50, 40};
    HWND child = WndCreateEx(0, "vxWinTest", "", WS_CHILD | WS_VISIBLE, &childPos, parent, nullptr);
    SetWindowLongPtrA(child, GWLP_ID, 77);
    WtClearReceived();
    WndNotifyParent(child, 5);
    WndCommandParent(child, 9, 0);
    WndCommandParent(child, 9, 1234);
    WndForwardMouseToParent(child, WM_LBUTTONDOWN, MK_LBUTTON, (LPARAM)PackWords(5, 6));
    ASSERT_EQ(wtReceived.size(), 4u);
    EXPECT_EQ(wtReceived[0], (UINT)WM_COMMAND);
    EXPECT_EQ(wtReceivedWParam[0], (WPARAM)((5 << 16) | 77));
    EXPECT_EQ(wtReceivedLParam[0], (LPARAM)child);
    EXPECT_EQ(wtReceivedLParam[1], (LPARAM)child);
    EXPECT_EQ(wtReceivedLParam[2], 1234);
    EXPECT_EQ(wtReceived[3], (UINT)WM_LBUTTONDOWN);
    EXPECT_EQ(wtReceivedLParam[3], (LPARAM)PackWords(15, 26));

    // Relative to the MDI client's client area when there is one, else the frame's.
    HWND client = WtMakeWindow(WS_CHILD | WS_VISIBLE, 30, 40, 200, 100, parent);
    HWND inner = WtMakeWindow(WS_CHILD | WS_VISIBLE, 7, 8, 20, 20, client);
    RECT rect;
    WndSetAppWindows(parent, client);
    EXPECT_EQ(WndGetAppFrame(), parent);
    EXPECT_EQ(WndGetMdiClient(), client);
    WndGetRectInFrame(inner, &rect);
    EXPECT_EQ(rect.left, 7);
    EXPECT_EQ(rect.top, 8);
    WndSetAppWindows(parent, nullptr);
    WndGetRectInFrame(inner, &rect);
    EXPECT_EQ(rect.left, 37);
    EXPECT_EQ(rect.bottom, 68);
    WndSetAppWindows(nullptr, nullptr);

    Xywh pos = {120, 130, 90, 80};
    WndSetPosXywh(parent, &pos);
    Xywh got;
    WndGetOriginSize(parent, &got);
    EXPECT_EQ(got.x, 120);
    EXPECT_EQ(got.h, 80);
    EXPECT_EQ(WndGetWidth(parent), 90);
    RECT moveTo = {10, 10, 60, 30};
    WndMoveRect(parent, &moveTo, 1);
    WndGetClientSize(parent, &got);
    EXPECT_EQ(got.w, 50);
    EXPECT_EQ(got.h, 20);
    RECT screenRect = {0, 0, 5, 5};
    WndClientToScreenRect(parent, &screenRect);
    EXPECT_EQ(screenRect.left, 10);
    WndScreenToClientRect(parent, &screenRect);
    EXPECT_EQ(screenRect.left, 0);
    Xywh sx = {15, 15, 1, 1};
    WndScreenToClientXywh(parent, &sx);
    EXPECT_EQ(sx.x, 5);
    DestroyWindow(parent);
}

// A quit request met by a pump inside long work stays for the main loop.
TEST(Wnd, PumpDispatchesAndKeepsTheQuitRequest) {
    HWND window = WtMakeWindow(WS_POPUP, 0, 0, 10, 10);
    WtDrainQueue();
    WtClearReceived();
    PostMessageA(window, WM_USER + 3, 0, 0);
    PostQuitMessage(7);
    PumpMessages();
    ASSERT_EQ(wtReceived.size(), 1u);
    EXPECT_EQ(wtReceived[0], (UINT)WM_USER + 3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(window);
    WtDrainQueue();
}

TEST(Wnd, DefaultWindowProcedure) {
    HWND window = WtMakeWindow(WS_POPUP, 0, 0, 50, 50);
    struct Case {
        UINT message;
        LRESULT expected;
    } cases[] = {{WM_XBUTTONDOWN, 1},     {WM_XBUTTONUP, 1}, {WM_XBUTTONDBLCLK, 1}, {WM_NCXBUTTONDOWN, 1},
                 {WM_NCXBUTTONDBLCLK, 1}, {2035, 0},         {WM_USER + 7, 0}};
    for (const Case &c : cases) EXPECT_EQ(WndDefaultProc(window, c.message, 0, 0), c.expected) << c.message;

    // Version 3.50's own default procedure sent no context menu on a right-button release, so it is sent here
    // in addition to what the system's default procedure does.
    WtClearReceived();
    SendMessageA(window, WM_RBUTTONUP, 0, 0);
    size_t bySystem = wtReceived.size();
    SysTestAnswers a = WtAnswers(3, 50, VER_PLATFORM_WIN32_NT);
    SysSetTestAnswers(&a);
    WtClearReceived();
    SendMessageA(window, WM_RBUTTONUP, 0, 0x00030004);
    ASSERT_EQ(wtReceived.size(), bySystem + 1);
    EXPECT_EQ(wtReceived[0], (UINT)WM_CONTEXTMENU);
    EXPECT_EQ(wtReceivedWParam[0], (WPARAM)window);
    DestroyWindow(window);
}

// Menu selections reach the menu-help hook with their flags and menu, then the system's procedure.
HMENU wtHelpMenu;
WPARAM wtHelpWParam;
void WtMenuHelp(WPARAM wParam, HMENU menu) {
    wtHelpWParam = wParam;
    wtHelpMenu = menu;
}

TEST(Wnd, MenuSelectGoesToTheMenuHelpHook) {
    HWND window = WtMakeWindow(WS_POPUP, 0, 0, 50, 50);
    HMENU menu = CreatePopupMenu();
    SendMessageA(window, WM_MENUSELECT, 0x12345, (LPARAM)menu); // no hook: nothing
    WndSetMenuHelpHook(WtMenuHelp);
    SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(7, MF_POPUP), (LPARAM)menu);
    EXPECT_EQ(wtHelpWParam, (WPARAM)MAKEWPARAM(7, MF_POPUP));
    EXPECT_EQ(wtHelpMenu, menu);
    DestroyMenu(menu);
    DestroyWindow(window);
}

TEST(Wnd, HelpCursor) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    CursorSetHelp();
    EXPECT_NE(GetCursor(), arrow);
    CursorSet(arrow);
    EXPECT_EQ(GetCursor(), arrow);
    CursorFreeHelp();
}

} // namespace
