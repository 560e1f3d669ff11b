// The list control's model, through real lists under a test owner:
// - creation: the window style, the style words as creation parameter, the record behind the window word,
//   failed creation when the record or the selection cannot be allocated;
// - the notification record: its size, the words of text and mouse requests, the owner or the notify
//   procedure;
// - the selection: SetCurSel clamped and cleared, an empty list, SelectRange's modes with the outline cut,
//   the report to the parent, GetSelection sorted, SetSelection dropping bad items, messages 2037 and 2038;
// - rows: heights from the font and from the owner, ranges with 2030 (clamped, no match, whole list, the
//   visible rows left alone when nothing changed), LB_RESETCONTENT, reload keeping the current item,
//   scrolling an item into view, the last page pulled up, whole rows, the size request;
// - the owner's gates: a silent owner gets no items and swallows clicks and keys; the mouse request's words;
// - repainting only the rows whose selection changed;
// - hit testing over the empty part of a transparent list.
#include "ui/listbox.h"

#include "base/heap.h"
#include "base/keyinp.h"
#include "base/plex.h"
#include "ui/listtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class ListboxTest : public testing::Test {
protected:
    void SetUp() override { ListboxRegisterClass(); }
    void TearDown() override { listNotifyModel = nullptr; }
    std::vector<std::string> Items(int n) {
        std::vector<std::string> texts;
        for (int i = 0; i < n; i++) texts.push_back("item " + std::to_string(i));
        return texts;
    }
    ListOwner owner;
};

int32_t RowHeight(HWND list) {
    RECT rect = ListRowRect(list, ListboxGetCurSel(list) < 0 ? 0 : ListboxGetCurSel(list));
    return rect.bottom - rect.top;
}

std::vector<int32_t> Selection(HWND list) {
    Plex *sel = ListboxGetSelection(list);
    std::vector<int32_t> items((int32_t *)PlexElem(sel, 0), (int32_t *)PlexElem(sel, PlexCount(sel)));
    PlexFree(sel);
    return items;
}

} // namespace

// ---- Creation

TEST_F(ListboxTest, CreatesChildWithStyleWords) {
    owner.model.texts = Items(3);
    HWND list = owner.List(0x201817);
    ASSERT_NE(list, nullptr);
    // The scroll bar's bit goes while every row fits.
    EXPECT_EQ((DWORD)GetWindowLongA(list, GWL_STYLE) & 0x42810000u, 0x42810000u);
    EXPECT_EQ(ListboxGetCount(list), 3);
    ListboxStyle style;
    ListboxGetStyle(list, &style);
    EXPECT_EQ(style.style, 0x201817u);
    EXPECT_EQ(style.notify, nullptr);
    EXPECT_EQ(ListboxDefaultStyle().style, 0x201817u);
    EXPECT_EQ(SendMessageA(list, WM_GETDLGCODE, 0, 0), 129);
    HWND defaults = ListboxCreate(owner.window(), 0, 0, 50, 50, nullptr, false);
    ListboxGetStyle(defaults, &style);
    EXPECT_EQ(style.style, 0x201817u);
    EXPECT_FALSE(IsWindowVisible(defaults));
}

TEST_F(ListboxTest, CreationFailsWithoutMemory) {
    owner.model.texts = Items(3);
    for (int n = 1; n <= 3; n++) {
        HeapFailNth(n);
        EXPECT_EQ(owner.List(1), nullptr) << "allocation " << n;
        HeapFailNth(0);
    }
    EXPECT_NE(owner.List(1), nullptr);
}

TEST_F(ListboxTest, NotifyProcedureTakesRequestsInsteadOfOwner) {
    ListModel model;
    model.texts = Items(4);
    listNotifyModel = &model;
    ListboxStyle words = ListNotifyStyle(1);
    HWND list = ListboxCreate(owner.window(), 0, 0, 100, 100, &words, true);
    EXPECT_EQ(ListboxGetCount(list), 4);
    EXPECT_EQ(owner.model.log.size(), 0u);
    char text[256];
    EXPECT_EQ(ListboxGetItemText(list, 2, text), 6);
    EXPECT_STREQ(text, "item 2");
    const ListboxNotify *record = model.Last(LISTBOX_REQ_TEXT);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->w[LISTBOX_W_ITEM], 2);
    EXPECT_EQ(ListboxNotifyBuffer(record), text);
    EXPECT_EQ(ListboxNotifyWindow(record), list);
}

TEST_F(ListboxTest, RecordIsSeventeenPointerSizedWords) {
    EXPECT_EQ(sizeof(ListboxNotify), 17 * sizeof(void *));
    EXPECT_EQ(sizeof(ListboxColumn), 24u);
}

// An owner that claims a longer text than it wrote, or more than the buffer holds, gets what it wrote.
TEST_F(ListboxTest, TextLengthIsWhatTheOwnerWrote) {
    owner.model.texts = Items(2);
    owner.model.hook = [](ListboxNotify *record, LRESULT *result) {
        if (record->w[LISTBOX_W_CODE] != LISTBOX_REQ_TEXT) return false;
        strcpy(ListboxNotifyBuffer(record), "abc");
        *result = record->w[LISTBOX_W_ITEM] ? 100000 : -5;
        return true;
    };
    HWND list = owner.List(1);
    char text[256];
    EXPECT_EQ(ListboxGetItemText(list, 0, text), 0);
    EXPECT_EQ(ListboxGetItemText(list, 1, text), 3);
    EXPECT_STREQ(text, "abc");
}

// ---- Selection

TEST_F(ListboxTest, SetCurSelClampsAndClears) {
    owner.model.texts = Items(5);
    HWND list = owner.List(1);
    ListboxSetCurSel(list, 2);
    EXPECT_EQ(ListboxGetCurSel(list), 2);
    EXPECT_EQ(ListboxGetSingleSel(list), 2);
    ListboxSetCurSel(list, 99);
    EXPECT_EQ(ListboxGetCurSel(list), 4);
    ListboxSetCurSel(list, -1);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(owner.notes.empty()); // setting the selection is not reported
}

TEST_F(ListboxTest, EmptyListSelectsNothing) {
    HWND list = owner.List(0x81);
    EXPECT_EQ(ListboxGetCount(list), 0);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    ListboxSetCurSel(list, 3);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    ListboxSelectAll(list);
    EXPECT_FALSE(ListboxHasMultiSel(list));
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    ListboxSelectRange(list, 0, 5, true, LISTBOX_SEL_REPLACE);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    EXPECT_TRUE(owner.notes.empty());
}

TEST_F(ListboxTest, SelectRangeModes) {
    owner.model.texts = Items(8);
    HWND list = owner.List(0x83);
    ListboxSelectRange(list, 1, 3, false, LISTBOX_SEL_REPLACE);
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(ListboxGetCurSel(list), 1);
    EXPECT_EQ(ListboxGetSingleSel(list), -1);
    ListboxSelectRange(list, 6, 2, false, LISTBOX_SEL_ADD); // backwards, 2 and 3 already in
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    ListboxSelectRange(list, 2, 4, false, LISTBOX_SEL_REMOVE);
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{1, 5, 6}));
    EXPECT_TRUE(ListboxIsSelected(list, 5));
    EXPECT_FALSE(ListboxIsSelected(list, 3));
    EXPECT_TRUE(owner.notes.empty());
    ListboxSelectRange(list, 7, 7, true, LISTBOX_SEL_REPLACE);
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{7}));
    EXPECT_EQ(owner.notes, (std::vector<int>{LISTBOX_NOTIFY_SELECTION}));
    // Selecting the only selected item again does nothing, not even a report.
    ListboxSelectRange(list, 7, 7, true, LISTBOX_SEL_REPLACE);
    EXPECT_EQ(owner.notes.size(), 1u);
    ListboxSelectAll(list);
    EXPECT_EQ(Selection(list).size(), 8u);
}

TEST_F(ListboxTest, OutlineCutsRangeAtLevelChange) {
    owner.model.texts = Items(6);
    owner.model.levels = {0, 1, 1, 0, 1, 1};
    HWND list = owner.List(0x181);
    ListboxSelectRange(list, 1, 5, false, LISTBOX_SEL_REPLACE);
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{1, 2}));
    // Adding takes its level from the first selected item: row 3 is shallower, so nothing is added.
    ListboxSelectRange(list, 3, 5, false, LISTBOX_SEL_ADD);
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{1, 2}));
    ListboxSelectRange(list, 4, 5, false, LISTBOX_SEL_ADD);
    EXPECT_EQ(Selection(list), (std::vector<int32_t>{1, 2, 4, 5}));
}

TEST_F(ListboxTest, SelectionMessagesAndSetSelection) {
    owner.model.texts = Items(6);
    HWND list = owner.List(0x81);
    Plex *given = PlexCreate(sizeof(int32_t), 0, 0);
    for (int32_t item : {4, 1, 9, 1, -2, 3}) PlexInsert(given, -1, 1, &item);
    EXPECT_EQ(SendMessageA(list, 2038, 0, (LPARAM)given), 1);
    EXPECT_EQ(ListboxGetCurSel(list), 4);
    Plex *sorted = (Plex *)SendMessageA(list, 2037, 0, 0);
    ASSERT_NE(sorted, nullptr);
    std::vector<int32_t> items((int32_t *)PlexElem(sorted, 0),
                               (int32_t *)PlexElem(sorted, PlexCount(sorted)));
    EXPECT_EQ(items, (std::vector<int32_t>{1, 3, 4}));
    PlexFree(sorted);
    ListboxClearSelection(list);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
}

// ---- Rows

TEST_F(ListboxTest, RowHeightIsEvenAndAtLeastFour) {
    owner.model.texts = Items(3);
    const struct { int32_t textHeight, rowHeight; } cases[] = {{7, 8}, {3, 4}, {10, 10}, {1, 4}, {15, 16}};
    for (const auto &c : cases) {
        owner.model.textHeight = c.textHeight;
        HWND list = owner.List(0x9);
        EXPECT_EQ(RowHeight(list), c.rowHeight) << c.textHeight;
        DestroyWindow(list);
    }
    // From a real font: its cell height, raised to even.
    HFONT font = CreateFontA(-7, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HWND list = owner.List(1);
    SendMessageA(list, WM_SETFONT, (WPARAM)font, 0);
    HDC dc = GetDC(list);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    int32_t expect = metrics.tmHeight < 4 ? 4 : metrics.tmHeight + (metrics.tmHeight & 1);
    EXPECT_EQ(RowHeight(list), expect);
    EXPECT_EQ(ListboxGetLineHeight(list), metrics.tmHeight + metrics.tmExternalLeading);
    EXPECT_EQ((HFONT)SendMessageA(list, WM_GETFONT, 0, 0), font);
    DestroyWindow(list);
    DeleteObject(font);
}

TEST_F(ListboxTest, RangeClampsAndEmptyRangeShowsAllGreyed) {
    owner.model.texts = Items(10);
    HWND list = owner.List(1, 200, 400);
    int32_t first, end;
    SendMessageA(list, 2030, 3, 100);
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(end, 10);
    EXPECT_EQ(ListShownItems(list).front(), 3);
    EXPECT_EQ(ListboxItemFromPoint(list, 1, 1), 3);
    ListboxSetCurSel(list, 5);
    SendMessageA(list, 2030, 5, 5);
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 10);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    EXPECT_EQ(ListShownItems(list).size(), 10u);
    UiCanvas canvas(200, 400);
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT), text = GetSysColor(COLOR_WINDOWTEXT);
    ListPaint(list, &canvas);
    EXPECT_GT(ListCountColor(canvas, ListRowRect(list, 0), grey), 0);
    EXPECT_EQ(ListCountColor(canvas, ListRowRect(list, 0), text), 0);
    SendMessageA(list, 2030, 0, -1);
    canvas.Fill(RGB(255, 255, 255));
    ListPaint(list, &canvas);
    EXPECT_EQ(ListCountColor(canvas, ListRowRect(list, 0), grey), 0);
    EXPECT_GT(ListCountColor(canvas, ListRowRect(list, 0), text), 0);
}

TEST_F(ListboxTest, ResetAsksAgainAndReloadKeepsCurrent) {
    owner.model.texts = Items(10);
    HWND list = owner.List(1);
    SendMessageA(list, 2030, 2, 6);
    ListboxSetCurSel(list, 4);
    owner.model.texts = Items(20);
    ListboxReload(list, -2);
    EXPECT_EQ(ListboxGetCount(list), 20);
    int32_t first, end;
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 20);
    EXPECT_EQ(ListboxGetCurSel(list), 4);
    ListboxReload(list, -1);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    ListboxReload(list, 7);
    EXPECT_EQ(ListboxGetCurSel(list), 7);
    owner.model.texts = Items(3);
    ListboxReload(list, -2);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
}

TEST_F(ListboxTest, ScrollsSelectionIntoView) {
    owner.model.texts = Items(100);
    HWND list = owner.List(1, 200, 200);
    int32_t height = RowHeight(list);
    RECT client;
    GetClientRect(list, &client);
    int32_t page = (client.bottom + height - 1) / height;
    ListboxSetCurSel(list, 50);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 50 - page / 5);
    ListboxSetCurSel(list, 51); // already in view: no scroll
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 50 - page / 5);
    SendMessageA(list, LB_SETTOPINDEX, 99, 0); // as far as the last row stays whole
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 100 - client.bottom / height);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(list, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPos, 100 - client.bottom / height);
}

TEST_F(ListboxTest, OutlineScrollsParentToTop) {
    owner.model.texts = Items(100);
    owner.model.levels.assign(100, 1);
    owner.model.levels[40] = 0;
    HWND list = owner.List(0x101, 200, 200);
    ListboxSetCurSel(list, 45);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 40);
}

TEST_F(ListboxTest, LastPageIsPulledUp) {
    owner.model.texts = Items(30);
    HWND list = owner.List(1, 200, 100);
    SendMessageA(list, LB_SETTOPINDEX, 25, 0);
    int32_t top = (int32_t)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(top, 15);
    SetWindowPos(list, nullptr, 0, 0, 200, 250, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), std::max(0L, 30 - client.bottom / RowHeight(list)));
    EXPECT_LT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), top);
}

TEST_F(ListboxTest, WholeRowsSizeTheWindow) {
    owner.model.texts = Items(30);
    owner.model.textHeight = 16;
    HWND list = owner.List(0x4009, 200, 107);
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(client.bottom % 16, 0);
    EXPECT_LE(client.bottom, 107);
    EXPECT_GT(client.bottom, 107 - 16 - GetSystemMetrics(SM_CYBORDER) * 2 - 1);
}

TEST_F(ListboxTest, LayoutSendsSize) {
    owner.model.texts = Items(3);
    HWND list = owner.List(1, 150, 90);
    owner.model.log.clear();
    SetWindowPos(list, nullptr, 0, 0, 180, 90, SWP_NOMOVE | SWP_NOZORDER);
    const ListboxNotify *size = owner.model.Last(LISTBOX_REQ_SIZE);
    ASSERT_NE(size, nullptr);
    RECT client;
    GetClientRect(list, &client);
    RECT sent = ListboxNotifyRect(size);
    EXPECT_TRUE(EqualRect(&sent, &client));
}

TEST_F(ListboxTest, FitRectCoversWidestText) {
    owner.model.texts = {"a", "a much longer text", "b"};
    HWND list = owner.List(1, 100, 100);
    RECT fit, window;
    ASSERT_TRUE(ListboxGetFitRect(list, 2, &fit));
    GetWindowRect(list, &window);
    EXPECT_EQ(fit.left, window.left);
    EXPECT_EQ(fit.top, window.top);
    EXPECT_EQ(fit.bottom - fit.top, 3 * RowHeight(list));
    HDC dc = GetDC(list);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent;
    GetTextExtentPoint32A(dc, "a much longer text", 18, &extent);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    EXPECT_EQ(fit.right - fit.left, extent.cx + (dpi + 1) / 2);
}

// ---- The owner's gates

TEST_F(ListboxTest, SilentOwnerGivesNoItemsAndSwallowsInput) {
    ListOwner silent(true);
    HWND list = silent.List(0x1F);
    EXPECT_EQ(ListboxGetCount(list), 0);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(list, WM_RBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(list, 2025, 'a', 0);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    EXPECT_TRUE(silent.notes.empty());
    EXPECT_TRUE(silent.keys.empty());
}

TEST_F(ListboxTest, GatesAskTheOwnerFirst) {
    owner.model.texts = Items(5);
    owner.model.mouseAnswer = 0;
    owner.model.keyAnswer = 0;
    HWND list = owner.List(0x1F);
    ListboxColumn column;
    ListboxColumnInit(&column);
    column.key = 77;
    ListboxSetOneColumn(list, &column);
    int32_t height = RowHeight(list);
    for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK}) {
        SendMessageA(list, message, 0, MAKELPARAM(7, height * 2 + 1));
        const ListboxNotify *record = owner.model.Last(LISTBOX_REQ_MOUSE);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->w[LISTBOX_W_ITEM], 2);
        EXPECT_EQ(record->w[LISTBOX_W_X], 7);
        EXPECT_EQ(record->w[LISTBOX_W_Y], height * 2 + 1);
        EXPECT_EQ(record->w[LISTBOX_W_MESSAGE], (intptr_t)message);
        EXPECT_EQ(record->w[LISTBOX_W_MOUSE_COLUMN], 77);
    }
    EXPECT_EQ(owner.model.Count(LISTBOX_REQ_MOUSE), 4);
    SendMessageA(list, WM_LBUTTONDOWN, 0, MAKELPARAM(7, height * 9)); // below the items
    EXPECT_EQ(owner.model.Last(LISTBOX_REQ_MOUSE)->w[LISTBOX_W_ITEM], -1);
    SendMessageA(list, 2025, 0x8000 | VK_DOWN, 0);
    EXPECT_EQ(owner.model.Last(LISTBOX_REQ_KEY)->w[LISTBOX_W_KEY_CODE], 0x8000 | VK_DOWN);
    SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(owner.model.Count(LISTBOX_REQ_KEY), 2);
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    EXPECT_TRUE(owner.notes.empty());
}

TEST_F(ListboxTest, FocusIsReported) {
    owner.model.texts = Items(2);
    HWND list = owner.List(1);
    SendMessageA(list, WM_SETFOCUS, 0, 0);
    SendMessageA(list, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(owner.notes, (std::vector<int>{LISTBOX_NOTIFY_SETFOCUS, LISTBOX_NOTIFY_KILLFOCUS}));
}

TEST_F(ListboxTest, DragPhasesGoToParent) {
    HWND list = owner.List(1);
    EXPECT_EQ(SendMessageA(list, 2035, 3, 0), 7);
    EXPECT_EQ(owner.drags, (std::vector<WPARAM>{3}));
}

// ---- Repainting

// A shown list, so that the update region can be read.
class ListboxShownTest : public ListboxTest {
protected:
    void SetUp() override {
        ListboxTest::SetUp();
        popup = UiShownPopup(560, 20, 300, 300); // a place of the screen that no other test file uses
        model.texts = Items(30);
        listNotifyModel = &model;
        ListboxStyle words = ListNotifyStyle(0x81);
        list = ListboxCreate(popup, 0, 0, 250, 250, &words, true);
        UpdateWindow(list);
    }
    void TearDown() override {
        DestroyWindow(list);
        ListboxTest::TearDown();
    }
    RECT Update() {
        RECT rect = {};
        GetUpdateRect(list, &rect, FALSE);
        ValidateRect(list, nullptr);
        return rect;
    }
    ListModel model;
    HWND popup = nullptr, list = nullptr;
};

TEST_F(ListboxShownTest, SelectionRepaintsOnlyItsRows) {
    ListboxSetCurSel(list, 2);
    RECT update = Update(), row2 = ListRowRect(list, 2), row3 = ListRowRect(list, 3);
    EXPECT_TRUE(EqualRect(&update, &row2));
    ListboxSetCurSel(list, 3);
    update = Update();
    EXPECT_EQ(update.top, row2.top);
    EXPECT_EQ(update.bottom, row3.bottom);
    ListboxSetCurSel(list, 3);
    update = Update();
    EXPECT_TRUE(IsRectEmpty(&update));
}

TEST_F(ListboxShownTest, SameRangeDoesNotRepaint) {
    SendMessageA(list, 2030, 4, 9);
    RECT update = Update();
    EXPECT_FALSE(IsRectEmpty(&update));
    SendMessageA(list, 2030, 4, 9);
    update = Update();
    EXPECT_TRUE(IsRectEmpty(&update));
    // A range that changes only rows below the visible ones repaints nothing either.
    SendMessageA(list, 2030, 0, -1);
    Update();
    SendMessageA(list, 2030, 0, 29);
    update = Update();
    EXPECT_TRUE(IsRectEmpty(&update));
    int32_t first, end;
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end, 29);
}

TEST_F(ListboxShownTest, PaintAsksBeginAndEnd) {
    model.log.clear();
    InvalidateRect(list, nullptr, FALSE);
    UpdateWindow(list);
    EXPECT_EQ(model.Count(LISTBOX_REQ_PAINT_BEGIN), 1);
    EXPECT_EQ(model.Count(LISTBOX_REQ_PAINT_END), 1);
    EXPECT_GT(model.Count(LISTBOX_REQ_TEXT), 0);
}

TEST_F(ListboxShownTest, TransparentListPassesClicksOverEmptyRows) {
    model.texts = Items(2);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    RECT window;
    GetWindowRect(list, &window);
    LPARAM onItem = MAKELPARAM(window.left + 10, window.top + 5);
    LPARAM below = MAKELPARAM(window.left + 10, window.bottom - 20);
    EXPECT_EQ(SendMessageA(list, WM_NCHITTEST, 0, below), HTCLIENT);
    LONG exStyle = GetWindowLongA(popup, GWL_EXSTYLE);
    SetWindowLongA(popup, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    bool layered = (GetWindowLongA(popup, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    LRESULT hitBelow = SendMessageA(list, WM_NCHITTEST, 0, below);
    LRESULT hitItem = SendMessageA(list, WM_NCHITTEST, 0, onItem);
    SetWindowLongA(popup, GWL_EXSTYLE, exStyle);
    if (!layered) GTEST_SKIP() << "no layered windows here";
    EXPECT_EQ(hitBelow, HTTRANSPARENT);
    EXPECT_EQ(hitItem, HTCLIENT);
}
