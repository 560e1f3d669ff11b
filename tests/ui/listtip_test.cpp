// The list control's hover tip, over a shown list with the cursor placed through the tracking input's
// script:
// - the poll: cut text under the cursor opens a tip over the grown text rectangle, text that fits or a point
//   beside the text opens none, an open tip stays, a list outside the given window is left alone;
// - the message hook: timer 104 closes the tip and is consumed, a key or mouse message elsewhere closes it
//   and goes on; a click on the tip reaches the list in its coordinates and keeps the tip, a key on it is
//   posted to the list, the wheel reaches the list and closes the tip;
// - painting the row into the tip; showing, hiding, reloading or destroying a list closes the tip; the tip
//   window going away on its own is forgotten.
#include "ui/listbox.h"

#include "base/wnd.h"
#include "ui/listtest.h"
#include "ui/track.h"

#include <gtest/gtest.h>

namespace {

class ListtipTest : public testing::Test {
protected:
    void SetUp() override {
        popup = UiShownPopup(560, 600, 320, 200); // a place of the screen that no other test file uses
        WndSetAppWindows(popup, nullptr);
        SetForegroundWindow(popup);
        model.texts = {"short", "a text much too long to fit into the narrow list, cut at its right edge",
                       "x"};
        listNotifyModel = &model;
        ListboxStyle words = ListNotifyStyle(1);
        list = ListboxCreate(popup, 10, 10, 160, 110, &words, true);
        UpdateWindow(list);
    }
    void TearDown() override {
        ListboxTipClose();
        DestroyWindow(list);
        WndSetAppWindows(nullptr, nullptr);
        listNotifyModel = nullptr;
    }
    // The cursor at a point of the list's client area.
    POINT CursorAt(int x, int y) {
        POINT point = {x, y};
        ClientToScreen(list, &point);
        TrackInput step = {false, point, false, false};
        TrackSetTestScript(&step, 1);
        return point;
    }
    // Test programs run side by side on one display: the popup is brought to the front again right before.
    HWND OpenOnLongRow() {
        RECT row = ListRowRect(list, 1);
        CursorAt(20, (row.top + row.bottom) / 2);
        SetForegroundWindow(popup);
        ListboxTipPoll(nullptr);
        return ListboxTipWindow();
    }
    bool Hook(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        MSG msg = {window, message, wParam, lParam, 0, {0, 0}};
        return ListboxPopupPreTranslate(&msg);
    }
    ListModel model;
    HWND popup = nullptr, list = nullptr;
};

} // namespace

TEST_F(ListtipTest, CutTextOpensTipOverIt) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    RECT short0 = ListRowRect(list, 0);
    CursorAt(20, (short0.top + short0.bottom) / 2);
    ListboxTipPoll(nullptr);
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    RECT row = ListRowRect(list, 1);
    CursorAt(1, (row.top + row.bottom) / 2); // left of the text
    ListboxTipPoll(nullptr);
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    HWND tip = OpenOnLongRow();
    ASSERT_NE(tip, nullptr);
    RECT rect, client;
    GetWindowRect(tip, &rect);
    POINT origin = {2, row.top};
    ClientToScreen(list, &origin);
    EXPECT_EQ(rect.left, origin.x - 1);
    EXPECT_EQ(rect.top, origin.y - 1);
    EXPECT_EQ(rect.bottom - rect.top, row.bottom - row.top + 2);
    GetWindowRect(list, &client);
    EXPECT_GT(rect.right, client.right);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The open tip stays, wherever the cursor rests in the same list.
    CursorAt(20, (short0.top + short0.bottom) / 2);
    ListboxTipPoll(nullptr);
    EXPECT_EQ(ListboxTipWindow(), tip);
}

TEST_F(ListtipTest, OnlyListsInsideTheGivenWindow) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    HWND other = UiPopup(0, 0, 10, 10);
    RECT row = ListRowRect(list, 1);
    CursorAt(20, (row.top + row.bottom) / 2);
    SetForegroundWindow(popup);
    ListboxTipPoll(other);
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    ListboxTipPoll(popup);
    EXPECT_NE(ListboxTipWindow(), nullptr);
    DestroyWindow(other);
}

TEST_F(ListtipTest, TimerAndForeignInputClose) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    HWND tip = OpenOnLongRow();
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(Hook(popup, WM_PAINT));
    EXPECT_FALSE(Hook(popup, WM_TIMER, 7));
    EXPECT_EQ(ListboxTipWindow(), tip);
    EXPECT_TRUE(Hook(popup, WM_TIMER, 104)); // the timer sits on the main window
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_NCLBUTTONDOWN}) {
        ASSERT_NE(OpenOnLongRow(), nullptr);
        EXPECT_FALSE(Hook(popup, message)) << message;
        EXPECT_EQ(ListboxTipWindow(), nullptr) << message;
    }
    EXPECT_FALSE(Hook(popup, WM_KEYDOWN)); // nothing to do without a tip
}

TEST_F(ListtipTest, ClickOnTipReachesList) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    HWND tip = OpenOnLongRow();
    ASSERT_NE(tip, nullptr);
    RECT row = ListRowRect(list, 1);
    EXPECT_TRUE(Hook(tip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4)));
    const ListboxNotify *click = model.Last(LISTBOX_REQ_MOUSE);
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->w[LISTBOX_W_X], 2 + 3);
    EXPECT_EQ(click->w[LISTBOX_W_Y], row.top + 4);
    EXPECT_EQ(click->w[LISTBOX_W_ITEM], 1);
    EXPECT_EQ(ListboxTipWindow(), tip);
    EXPECT_FALSE(Hook(tip, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4))); // moves over the tip go to it
    EXPECT_EQ(ListboxTipWindow(), tip);
    EXPECT_TRUE(Hook(tip, WM_KEYDOWN, VK_DOWN, 0));
    UiDrain();
    const ListboxNotify *key = model.Last(LISTBOX_REQ_KEY);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->w[LISTBOX_W_KEY_CODE] & 0xFF, VK_DOWN);
    EXPECT_EQ(ListboxTipWindow(), tip);
    EXPECT_TRUE(Hook(tip, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(200, 150)));
    EXPECT_EQ(ListboxTipWindow(), nullptr);
}

TEST_F(ListtipTest, TipPaintsTheRow) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    HWND tip = OpenOnLongRow();
    ASSERT_NE(tip, nullptr);
    model.log.clear();
    InvalidateRect(tip, nullptr, FALSE);
    UpdateWindow(tip);
    const ListboxNotify *text = model.Last(LISTBOX_REQ_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->w[LISTBOX_W_ITEM], 1);
    EXPECT_EQ(model.Count(LISTBOX_REQ_PAINT_BEGIN), 1);
}

TEST_F(ListtipTest, ListChangesCloseTheTip) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    ASSERT_NE(OpenOnLongRow(), nullptr);
    ShowWindow(list, SW_HIDE);
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    ShowWindow(list, SW_SHOW);
    ASSERT_NE(OpenOnLongRow(), nullptr);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    HWND tip = OpenOnLongRow();
    ASSERT_NE(tip, nullptr);
    DestroyWindow(list);
    list = nullptr;
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(ListtipTest, TipGoingAwayIsForgotten) {
    if (GetForegroundWindow() != popup) GTEST_SKIP() << "the test program cannot come to the front here";
    HWND tip = OpenOnLongRow();
    ASSERT_NE(tip, nullptr);
    SendMessageA(tip, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(ListboxTipWindow(), nullptr);
    EXPECT_FALSE(Hook(popup, WM_TIMER, 104)); // the timer went with it
}
