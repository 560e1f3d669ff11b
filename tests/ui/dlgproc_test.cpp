// The table dialogs' procedures:
// - type-ahead in drop-down lists: two characters within 500 ms ignoring case and leading underscores,
//   the next item for a repeated first character, the lower bound, the forward search of a list not
//   marked loaded, the selection stored and reported;
// - owner-drawn items: height 16, colours for selected, disabled and plain items;
// - commands: a double click on a radio button as the default action, commands ignored while a callback
//   runs and for inactive controls, an edit losing the focus (event 7);
// - the window procedure: event 255 answering a message, resizing (event 8), the minimum tracking size,
//   the textured background (band and raised frame, or the whole area), vertical separators;
// - activation making a dialog current (event 5), the idle step, property-page notifications;
// - lists: their requests answered through the dialog's message result (the list's record intact), the
//   requests turned into events (texts copied, the mouse with a preset answer, keys answered unasked,
//   type-ahead), style words from the record's flags, keys passed from a non-empty edit, the wheel to a
//   focused list, a double click as the default action, synchronising from an edit, the initial focus.
#include "ui/dlgproc.h"

#include "base/tick.h"
#include "ui/dlgobj.h"
#include "ui/dlgtest.h"
#include "ui/draw.h"
#include "ui/listbox.h"
#include "ui/uitest.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::pair<int32_t, int32_t>> events; // (event, code), without 100 and 255
HWND focusAtInit;                                // the focus when event 0 came
std::vector<const char *> items = {"Apple", "_sale", "Search", "_second", "Tree"};
std::function<intptr_t(DlgObject *, int32_t, int32_t, void *, intptr_t)> react;

intptr_t Callback(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    if (event != DLG_EV_IDLE && event != DLG_EV_MESSAGE) events.push_back({event, code});
    if (event == DLG_EV_INIT) focusAtInit = GetFocus();
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
    EXPECT_EQ(focusAtInit, DlgGetControlWindow(dlg, 10)) << "the first active edit has the focus";
    SetFocus(DlgGetControlWindow(dlg, 10));
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

// ---- Lists in dialogs

namespace {

const std::vector<const char *> names = {"alpha", "beta", "delta", "gamma", "kappa"};
std::vector<std::pair<int32_t, intptr_t>> listEvents; // (event, extra) of events for code 11
int32_t mouseAnswer;
std::vector<UINT> listMessages; // what reached the list window
WNDPROC listProc;

intptr_t ListCallback(DlgObject *, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    if (event == DLG_EV_IDLE || event == DLG_EV_MESSAGE) return 0;
    if (code == 11) listEvents.push_back({event, extra});
    events.push_back({event, code});
    if (event == DLG_EV_INIT) focusAtInit = GetFocus();
    switch (event) {
    case DLG_EV_ITEM_COUNT: return (intptr_t)names.size();
    case DLG_EV_ITEM_TEXT:
    case DLG_EV_ALT_TEXT: {
        auto *pstr = (unsigned char *)ptr;
        std::string text = std::string(event == DLG_EV_ALT_TEXT ? "alt " : "") + names[(size_t)extra];
        pstr[0] = (unsigned char)text.size();
        memcpy(pstr + 1, text.data(), text.size());
        return 0;
    }
    case DLG_EV_LIST_MOUSE: *(int32_t *)extra = mouseAnswer; return 0;
    case DLG_EV_LIST_LEVEL: return 2;
    case DLG_EV_COLUMN_TITLE: return 5;
    case DLG_EV_LIST_CHECK: return 1;
    case DLG_EV_LIST_TEXT_HEIGHT: return 14;
    default: return 0;
    }
}

LRESULT CALLBACK ListSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL || message == 2025) listMessages.push_back(message);
    return CallWindowProcA(listProc, window, message, wParam, lParam);
}

const DlgControl listControls[] = {
    {{0, 1, 1, 10}, "Find:", DLG_LABEL, 0, 0, 0, 0},
    {{0, 12, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 40},
    {{1, 12, 5, 20}, nullptr, DLG_LIST, DLGF_DOUBLE_DEFAULT | DLGF_SORTED, 11, 0, 0},
    {{7, 1, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT, 1, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};

class DlgProcListTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        events.clear();
        listEvents.clear();
        listMessages.clear();
        mouseAnswer = 1;
        text[0] = '\0';
        data[0] = (DlgSlot)text;
        data[1] = 2;
    }
    void TearDown() override {
        if (dlg && IsWindow(DlgGetWindow(dlg))) DestroyWindow(DlgGetWindow(dlg));
        DlgFixture::TearDown();
    }
    DlgObject *Open(const DlgControl *controls = listControls) {
        desc = {{1, 1, 10, 40}, "Lists", ListCallback, DLG_ROW_FIRST, 0, controls};
        dlg = DlgCreateModeless(&desc, 0, data, nullptr);
        EXPECT_NE(dlg, nullptr);
        list = dlg ? DlgGetControlWindow(dlg, 11) : nullptr;
        return dlg;
    }
    void Spy() { listProc = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)ListSpy); }
    LRESULT Request(int32_t code, ListboxNotify *record) {
        record->w[LISTBOX_W_CODE] = code;
        record->w[LISTBOX_W_ID] = GetDlgCtrlID(list);
        record->w[LISTBOX_W_WINDOW] = (intptr_t)list;
        return SendMessageA(DlgGetWindow(dlg), LISTBOX_MSG_REQUEST, (WPARAM)code, (LPARAM)record);
    }
    char text[40];
    DlgSlot data[2];
    DlgDesc desc = {};
    DlgObject *dlg = nullptr;
    HWND list = nullptr;
};

} // namespace

// The list asks its owner, the dialog, for its items; the answers come back as the dialog's message result
// and leave the list's own window word, its record, alone.
TEST_F(DlgProcListTest, RequestsAnsweredThroughTheDialog) {
    ASSERT_TRUE(Open());
    LONG_PTR record = GetWindowLongPtrA(list, 0);
    EXPECT_EQ(ListboxGetCount(list), 5);
    char buffer[256];
    EXPECT_EQ(ListboxGetItemText(list, 2, buffer), 5);
    EXPECT_STREQ(buffer, "delta");
    EXPECT_EQ(GetWindowLongPtrA(list, 0), record);
    EXPECT_EQ(ListboxGetCurSel(list), 2) << "the slot's index is selected";
    ListboxStyle style;
    ListboxGetStyle(list, &style);
    EXPECT_EQ(style.style, 0x57u | LISTBOX_SORTED);
    EXPECT_EQ(style.notify, nullptr);
    ListboxSelectRange(list, 3, 3, true, LISTBOX_SEL_REPLACE);
    EXPECT_EQ(DlgGetValue(dlg, 11), 3) << "a reported selection is stored";
    EXPECT_TRUE(Has(DLG_EV_USED, 11));
}

TEST_F(DlgProcListTest, RequestsBecomeEvents) {
    ASSERT_TRUE(Open());
    struct {
        int32_t request;
        int32_t event; // -1: none
        LRESULT answer;
    } cases[] = {
        {LISTBOX_REQ_COUNT, DLG_EV_ITEM_COUNT, 5},
        {LISTBOX_REQ_TEXT, DLG_EV_ITEM_TEXT, 4},
        {LISTBOX_REQ_ALT_TEXT, DLG_EV_ALT_TEXT, 8},
        {LISTBOX_REQ_LEVEL, DLG_EV_LIST_LEVEL, 2},
        {LISTBOX_REQ_COLUMN_TITLE, DLG_EV_COLUMN_TITLE, 5},
        {LISTBOX_REQ_GET_CHECK, DLG_EV_LIST_CHECK, 1},
        {LISTBOX_REQ_SET_CHECK, DLG_EV_LIST_SET_CHECK, 0},
        {LISTBOX_REQ_MEASURE_CELL, DLG_EV_LIST_TIP_MEASURE, 0},
        {LISTBOX_REQ_NEXT_SIBLING, DLG_EV_LIST_NEXT_SIBLING, 0},
        {LISTBOX_REQ_KEY, -1, 1},
        {LISTBOX_REQ_KEY_COMMAND, -1, 0},
        {LISTBOX_REQ_DRAG_BEGIN, -1, 0},
        {LISTBOX_REQ_SIZE, -1, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.request);
        listEvents.clear();
        char buffer[256] = "";
        ListboxNotify record = {};
        record.w[LISTBOX_W_ITEM] = 1;
        record.w[LISTBOX_W_BUFFER] = (intptr_t)buffer;
        EXPECT_EQ(Request(c.request, &record), c.answer);
        if (c.event < 0) {
            EXPECT_TRUE(listEvents.empty());
            continue;
        }
        ASSERT_EQ(listEvents.size(), 1u);
        EXPECT_EQ(listEvents[0].first, c.event);
        EXPECT_EQ(listEvents[0].second, 1) << "the item word as extra";
        const char *copied = c.request == LISTBOX_REQ_TEXT       ? "beta"
                             : c.request == LISTBOX_REQ_ALT_TEXT ? "alt beta"
                                                                 : "";
        EXPECT_STREQ(buffer, copied) << "texts are copied into the request's buffer";
    }
}

TEST_F(DlgProcListTest, MouseRequest) {
    ASSERT_TRUE(Open());
    listEvents.clear();
    ListboxNotify record = {};
    record.w[LISTBOX_W_ITEM] = 3;
    EXPECT_EQ(Request(LISTBOX_REQ_MOUSE, &record), 1) << "preset to 1";
    ASSERT_EQ(listEvents.size(), 1u);
    EXPECT_EQ(listEvents[0].first, DLG_EV_LIST_MOUSE);
    mouseAnswer = 0;
    EXPECT_EQ(Request(LISTBOX_REQ_MOUSE, &record), 0) << "the callback swallows it";
    listEvents.clear();
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(std::count_if(listEvents.begin(), listEvents.end(),
                            [](const auto &e) { return e.first == DLG_EV_LIST_MOUSE; }),
              1)
        << "a click on the list asks through the dialog";
}

TEST_F(DlgProcListTest, TypeAheadRequest) {
    ASSERT_TRUE(Open());
    ListboxNotify record = {};
    record.w[LISTBOX_W_KEY_CODE] = 'g';
    EXPECT_EQ(Request(8, &record), 3) << "\"gamma\" in the sorted list";
}

TEST_F(DlgProcListTest, KeysFromTheEditAndTheWheel) {
    ASSERT_TRUE(Open());
    Spy();
    HWND window = DlgGetWindow(dlg), edit = DlgGetControlWindow(dlg, 10);
    SetFocus(edit);
    SendMessageA(window, 2025, 0x8028, 0);
    EXPECT_TRUE(listMessages.empty()) << "the edit is empty";
    SetWindowTextA(edit, "g");
    for (int key : {0x8026, 0x8028, 0x8021, 0x8022}) SendMessageA(window, 2025, (WPARAM)key, 0);
    SendMessageA(window, 2025, 0x8024, 0); // Home stays with the edit
    EXPECT_EQ(listMessages, std::vector<UINT>(4, 2025));
    listMessages.clear();
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_TRUE(listMessages.empty()) << "the wheel goes to a focused list only";
    SetFocus(list);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(listMessages, std::vector<UINT>{WM_MOUSEWHEEL});
}

TEST_F(DlgProcListTest, DoubleClickIsTheDefaultAction) {
    ASSERT_TRUE(Open());
    SendMessageA(DlgGetWindow(dlg), WM_COMMAND, MAKEWPARAM(1002, LISTBOX_NOTIFY_DBLCLK), (LPARAM)list);
    EXPECT_TRUE(Has(DLG_EV_DEFAULT_ACTION, 11));
    EXPECT_TRUE(Has(DLG_EV_USED, 1)) << "the default button is pressed";
}

TEST_F(DlgProcListTest, SyncFromEdit) {
    ASSERT_TRUE(Open());
    SetWindowTextA(DlgGetControlWindow(dlg, 10), "gam");
    DlgSyncListFromEdit(dlg, 11, 10, false);
    EXPECT_EQ(ListboxGetCurSel(list), 3);
    EXPECT_EQ(DlgGetValue(dlg, 11), 3);
    EXPECT_TRUE(DlgTestFlag400(dlg, 10));
    ListboxSetCurSel(list, 0);
    DlgSyncListFromEdit(dlg, 11, 10, false);
    EXPECT_EQ(ListboxGetCurSel(list), 0) << "an edit already synchronised changes nothing";
}

TEST_F(DlgProcListTest, OwnerDrawnListAndFocus) {
    const DlgControl controls[] = {
        {{1, 1, 5, 20}, nullptr, DLG_LIST, DLGF_OWNER_DRAW | DLGF_MULTISEL, 11, 0, 0},
        {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
    };
    data[0] = 0;
    ASSERT_TRUE(Open(controls));
    ListboxStyle style;
    ListboxGetStyle(list, &style);
    EXPECT_EQ(style.style, 0x57u | LISTBOX_OWNER_DRAW | LISTBOX_MULTI_SEL);
    EXPECT_TRUE(Has(DLG_EV_LIST_TEXT_HEIGHT, 11)) << "the owner measures the rows";
    EXPECT_EQ(focusAtInit, list) << "without an edit the first list takes the focus";
    DlgRefillList(dlg, 11, -3);
    EXPECT_EQ(DlgGetValue(dlg, 11), 4);
}
