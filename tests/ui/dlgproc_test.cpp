// The table dialogs' procedures:
// - type-ahead in drop-down lists: two characters within 500 ms ignoring case and leading underscores,
//   the next item for a repeated first character, the lower bound, the forward search of a list not
//   marked loaded, the selection stored and reported;
// - owner-drawn items: height 16, colours for selected, disabled and plain items;
// - commands: a double click on a radio button as the default action, commands ignored while a callback
//   runs and for inactive controls, an edit losing the focus (event 7);
// - the window procedure: event 255 answering a message, resizing (event 8), the minimum tracking size,
//   the textured background (band and raised frame, or the whole area), vertical separators;
// - activation making a dialog current (event 5), the idle step, property-page notifications.
#include "ui/dlgproc.h"

#include "base/tick.h"
#include "ui/dlgobj.h"
#include "ui/dlgtest.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::pair<int32_t, int32_t>> events; // (event, code), without 100 and 255
std::vector<const char *> items = {"Apple", "_sale", "Search", "_second", "Tree"};
std::function<intptr_t(DlgObject *, int32_t, int32_t, void *, intptr_t)> react;

intptr_t Callback(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    if (event != DLG_EV_IDLE && event != DLG_EV_MESSAGE) events.push_back({event, code});
    if (react) {
        intptr_t result = react(dlg, event, code, ptr, extra);
        if (result) return result;
    }
    if (event == DLG_EV_ITEM_COUNT) return (intptr_t)items.size();
    if (event == DLG_EV_ITEM_TEXT) {
        auto *pstr = (unsigned char *)ptr;
        const char *text = items[(size_t)extra];
        pstr[0] = (unsigned char)strlen(text);
        memcpy(pstr + 1, text, pstr[0]);
    }
    return 0;
}

bool Has(int32_t event, int32_t code) {
    for (const auto &e : events)
        if (e.first == event && e.second == code) return true;
    return false;
}

uint32_t now;
uint32_t FakeNow() {
    return now;
}

const DlgControl end = {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0};

class DlgProcTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        events.clear();
        react = nullptr;
        now = 10000;
        TickSetClock(FakeNow, nullptr);
    }
    void TearDown() override {
        for (DlgObject *dlg : open)
            if (IsWindow(DlgGetWindow(dlg))) DestroyWindow(DlgGetWindow(dlg));
        open.clear();
        react = nullptr;
        TickSetClock(nullptr, nullptr);
        DlgFixture::TearDown();
    }
    DlgObject *Open(const DlgControl *controls, DlgSlot *data, uint32_t flags = 0,
                    const char *caption = "Proc") {
        descs.push_back({{1, 1, 10, 50}, caption, Callback, DLG_ROW_FIRST | flags, 0, controls});
        DlgObject *dlg = DlgCreateModeless(&descs.back(), 0, data, nullptr);
        EXPECT_NE(dlg, nullptr);
        if (dlg) open.push_back(dlg);
        return dlg;
    }
    std::vector<DlgObject *> open;
    std::deque<DlgDesc> descs;
};

const DlgControl dropList[] = {
    {{0, 1, 6, 20}, nullptr, DLG_DROPLIST, 0, 30, 0, 0},
    {{1, 25, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT, 1, 0, 0},
    end,
};

void Type(HWND combo, char c) {
    SendMessageA(combo, WM_CHAR, (WPARAM)(unsigned char)c, 1);
}

int32_t Selected(HWND combo) {
    return (int32_t)SendMessageA(combo, CB_GETCURSEL, 0, 0);
}

} // namespace

// ---- Type-ahead

TEST_F(DlgProcTest, TypeAheadInLoadedDropList) {
    DlgSlot data[] = {0};
    DlgObject *dlg = Open(dropList, data);
    ASSERT_TRUE(dlg);
    HWND combo = DlgGetControlWindow(dlg, 30);
    EXPECT_TRUE(DlgControlAt(dlg, 30)->flags & DLGF_LOADED);
    Type(combo, 's');
    EXPECT_EQ(Selected(combo), 1) << "the first item from S: \"_sale\"";
    now += 400;
    Type(combo, 'E');
    EXPECT_EQ(Selected(combo), 2) << "\"se\" within 500 ms: \"Search\"";
    EXPECT_EQ(DlgGetValue(dlg, 30), 2);
    EXPECT_TRUE(Has(DLG_EV_USED, 30));
    now += 600;
    Type(combo, 's');
    EXPECT_EQ(Selected(combo), 3) << "a repeated first character moves on";
    now += 600;
    Type(combo, 'x');
    EXPECT_EQ(Selected(combo), 4) << "the first item not below X";
    now += 600;
    Type(combo, 'z');
    EXPECT_EQ(Selected(combo), 4) << "past every item: the last";
    events.clear();
    SendMessageA(combo, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(DlgGetValue(dlg, 30), 3) << "a key in the closed list moves the selection";
    EXPECT_EQ(std::count(events.begin(), events.end(), std::make_pair(DLG_EV_USED + 0, 30)), 1)
        << "reported once";
}

TEST_F(DlgProcTest, TypeAheadForwardWithoutLoadedBit) {
    DlgSlot data[] = {3};
    DlgObject *dlg = Open(dropList, data);
    ASSERT_TRUE(dlg);
    HWND combo = DlgGetControlWindow(dlg, 30);
    DlgSetFlag800(dlg, 30, false);
    Type(combo, 'S');
    EXPECT_EQ(Selected(combo), 1) << "from the item after the current one, wrapping";
    now += 100;
    Type(combo, 'e');
    EXPECT_EQ(Selected(combo), 2) << "two characters from the current item";
    now += 600;
    Type(combo, 'q');
    EXPECT_EQ(Selected(combo), 2) << "nothing begins with Q";
}

// ---- Owner-drawn items

TEST_F(DlgProcTest, OwnerDrawnItems) {
    DlgSlot data[] = {0};
    DlgObject *dlg = Open(dropList, data);
    ASSERT_TRUE(dlg);
    HWND combo = DlgGetControlWindow(dlg, 30);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 16);
    struct {
        const char *name;
        UINT state;
        COLORREF back;
    } cases[] = {
        {"plain", 0, drawMetrics.colorWindow},
        {"selected", ODS_SELECTED, drawMetrics.colorHighlight},
        {"disabled", ODS_DISABLED, drawMetrics.colorBtnFace},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        UiCanvas canvas(120, 16, RGB(1, 2, 3));
        DRAWITEMSTRUCT item = {ODT_COMBOBOX,    1000, 2, ODA_DRAWENTIRE, c.state, combo, canvas.dc(),
                               {0, 0, 120, 16}, 3};
        SendMessageA(DlgGetWindow(dlg), WM_DRAWITEM, 1000, (LPARAM)&item);
        EXPECT_EQ(canvas.Pixel(119, 0), c.back);
        bool text = false;
        for (int x = 0; x < 60 && !text; x++)
            for (int y = 0; y < 16 && !text; y++) text = canvas.Pixel(x, y) != c.back;
        EXPECT_TRUE(text) << "the item's text is drawn";
    }
}

// ---- Commands

TEST_F(DlgProcTest, RadioDoubleClickIsTheDefaultAction) {
    const DlgControl controls[] = {
        {{0, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, 20, 0, 0},
        {{0, 1, 1, 10}, "One", DLG_RADIO, 0, 21, 0, 0},
        {{1, 1, 1, 10}, "Two", DLG_RADIO, 0, 22, 0, 0},
        {{3, 1, 1, 10}, "Go", DLG_BUTTON, DLGF_DEFAULT, 5, 0, 0},
        end,
    };
    DlgSlot data[] = {0};
    DlgObject *dlg = Open(controls, data);
    ASSERT_TRUE(dlg);
    SendMessageA(DlgGetWindow(dlg), WM_COMMAND, MAKEWPARAM(1002, BN_DOUBLECLICKED),
                 (LPARAM)DlgGetControlWindow(dlg, 22));
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], std::make_pair(DLG_EV_DEFAULT_ACTION + 0, 22));
    EXPECT_EQ(events.back(), std::make_pair(DLG_EV_USED + 0, 5)) << "then the default button is pressed";
    EXPECT_EQ(DlgGetEndCode(), 5);
}

TEST_F(DlgProcTest, CommandsIgnoredDuringCallbacksAndForInactiveControls) {
    const DlgControl controls[] = {
        {{0, 1, 1, 10}, "A", DLG_BUTTON, 0, 5, 0, 0},
        {{0, 12, 1, 10}, "B", DLG_BUTTON, 0, 6 + 1, 0, 0},
        {{0, 24, 1, 10}, "C", DLG_BUTTON, DLGF_INACTIVE, 8, 0, 0},
        end,
    };
    DlgObject *dlg = Open(controls, nullptr);
    ASSERT_TRUE(dlg);
    react = [](DlgObject *d, int32_t event, int32_t code, void *, intptr_t) -> intptr_t {
        if (event == DLG_EV_USED && code == 5) DlgClick(d, 7);
        return 0;
    };
    DlgClick(dlg, 5);
    EXPECT_TRUE(Has(DLG_EV_USED, 5));
    EXPECT_FALSE(Has(DLG_EV_USED, 7)) << "a command sent while a callback runs is ignored";
    SendMessageA(DlgGetWindow(dlg), WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    EXPECT_FALSE(Has(DLG_EV_USED, 8));
    DlgClick(dlg, 7);
    EXPECT_TRUE(Has(DLG_EV_USED, 7));
}

TEST_F(DlgProcTest, EditLosingFocus) {
    const DlgControl controls[] = {
        {{0, 1, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 20},
        {{2, 1, 1, 10}, "B", DLG_BUTTON, 0, 5, 0, 0},
        end,
    };
    char text[20] = "";
    DlgSlot data[] = {(DlgSlot)text};
    DlgObject *dlg = Open(controls, data);
    ASSERT_TRUE(dlg);
    ASSERT_EQ(GetFocus(), DlgGetControlWindow(dlg, 10));
    SetFocus(DlgGetControlWindow(dlg, 5));
    EXPECT_TRUE(Has(DLG_EV_KILL_FOCUS, 10));
}

// ---- The window procedure

TEST_F(DlgProcTest, MessageEventAnswers) {
    react = [](DlgObject *, int32_t event, int32_t, void *ptr, intptr_t extra) -> intptr_t {
        auto *msg = (MSG *)ptr;
        if (event == DLG_EV_MESSAGE && msg->message == WM_USER + 5) {
            *(int32_t *)extra = 1;
            msg->wParam = 1234;
        }
        return 0;
    };
    DlgObject *dlg = Open(&end, nullptr);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(SendMessageA(DlgGetWindow(dlg), WM_USER + 5, 0, 0), 1234);
    EXPECT_EQ(SendMessageA(DlgGetWindow(dlg), WM_USER + 6, 0, 0), 0);
}

TEST_F(DlgProcTest, SizeAndMinimum) {
    DlgObject *dlg = Open(&end, nullptr, DLG_RESIZABLE);
    ASSERT_TRUE(dlg);
    SetWindowPos(DlgGetWindow(dlg), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Has(DLG_EV_SIZE, 0));
    MINMAXINFO info = {};
    SendMessageA(DlgGetWindow(dlg), WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(info.ptMinTrackSize.x, 3 * drawMetrics.dpiX);
    EXPECT_EQ(info.ptMinTrackSize.y, 3 * drawMetrics.dpiY);
}

static bool DlgProcTextures() {
    return true;
}

TEST_F(DlgProcTest, TexturedBackground) {
    DrawSetTexturesHook(DlgProcTextures);
    DlgObject *band = Open(&end, nullptr);
    DlgObject *full = Open(&end, nullptr, DLG_FULL_TEXTURE);
    ASSERT_TRUE(band && full);
    RECT client;
    GetClientRect(DlgGetWindow(band), &client);
    UiCanvas marble(client.right, client.bottom);
    DrawTileBitmap(marble.dc(), &client, drawMetrics.bmpMarble, SRCCOPY);
    int32_t inset = drawMetrics.dpiX / 16;
    UiCanvas a(client.right, client.bottom, RGB(1, 2, 3)), b(client.right, client.bottom, RGB(1, 2, 3));
    SendMessageA(DlgGetWindow(band), WM_ERASEBKGND, (WPARAM)a.dc(), 0);
    SendMessageA(DlgGetWindow(full), WM_ERASEBKGND, (WPARAM)b.dc(), 0);
    EXPECT_EQ(a.Pixel(1, 1), marble.Pixel(1, 1)) << "the band is textured";
    EXPECT_EQ(a.Pixel(client.right / 2, client.bottom / 2), drawMetrics.colorBtnFace) << "the inside is not";
    EXPECT_EQ(a.Pixel(inset, client.bottom / 2), drawMetrics.colorBtnHighlight)
        << "a raised frame inside the band";
    EXPECT_EQ(b.Pixel(client.right / 2, client.bottom / 2),
              marble.Pixel(client.right / 2, client.bottom / 2));
    RECT inner;
    DlgGetClientRect(band, &inner);
    EXPECT_EQ(inner.left, inset);
}

TEST_F(DlgProcTest, VerticalSeparator) {
    const DlgControl controls[] = {{{0, 10, 5, 1}, nullptr, DLG_VSEP, 0, 10, 0, 0}, end};
    DlgObject *dlg = Open(controls, nullptr);
    ASSERT_TRUE(dlg);
    HWND window = DlgGetWindow(dlg);
    SetWindowPos(window, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_FALSE(IsWindowVisible(DlgGetControlWindow(dlg, 10)));
    RECT r;
    ASSERT_TRUE(DlgGetControlPos(dlg, 10, &r));
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(window);
    COLORREF line = GetPixel(dc, r.left, (r.top + r.bottom) / 2);
    COLORREF light = GetPixel(dc, r.left + 1, (r.top + r.bottom) / 2);
    ReleaseDC(window, dc);
    EXPECT_EQ(line, drawMetrics.colorBtnShadow);
    EXPECT_EQ(light, RGB(255, 255, 255));
}

// ---- Activation, idle, pages

TEST_F(DlgProcTest, ActivationAndIdle) {
    DlgObject *first = Open(&end, nullptr, 0, "First");
    DlgObject *second = Open(&end, nullptr, 0, "Second");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(DlgGetCurrent(), second);
    events.clear();
    SendMessageA(DlgGetWindow(first), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(DlgGetCurrent(), first);
    EXPECT_TRUE(Has(DLG_EV_ACTIVATE, 0));
    EXPECT_EQ(DlgIdle(DlgGetWindow(second)), DlgGetWindow(first)) << "another dialog is current";
    int idles = 0;
    react = [&](DlgObject *, int32_t event, int32_t, void *, intptr_t) -> intptr_t {
        idles += event == DLG_EV_IDLE;
        return 0;
    };
    EXPECT_EQ(DlgIdle(DlgGetWindow(first)), nullptr);
    EXPECT_EQ(idles, 1);
    DestroyWindow(DlgGetWindow(first));
    EXPECT_EQ(DlgGetCurrent(), nullptr);
    EXPECT_EQ(DlgIdle(DlgGetWindow(second)), nullptr);
}

namespace {
int notifications;
INT_PTR PageNotify(DlgObject *, NMHDR *) {
    notifications++;
    return TRUE;
}
} // namespace

TEST_F(DlgProcTest, PageNotifications) {
    notifications = 0;
    DlgObject *dlg = Open(&end, nullptr);
    ASSERT_TRUE(dlg);
    NMHDR header = {DlgGetWindow(dlg), 0, 0};
    EXPECT_EQ(SendMessageA(DlgGetWindow(dlg), WM_NOTIFY, 0, (LPARAM)&header), 0);
    const DlgPageHooks hooks = {nullptr, nullptr, PageNotify, nullptr};
    DlgSetPageHooks(&hooks);
    SendMessageA(DlgGetWindow(dlg), WM_NOTIFY, 0, (LPARAM)&header);
    EXPECT_EQ(notifications, 1);
}
