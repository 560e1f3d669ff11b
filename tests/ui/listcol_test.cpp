// The list control's columns and header:
// - adding and setting columns: minimum and width clamped, an 11th column and indexes outside 0..9 refused;
// - fitting: a stretching first column takes what the window gains or loses, never below its minimum, the
//   others keep their widths; a stretching last column; fixed columns; bit 9 keeps the width while the
//   client width is unchanged;
// - the header: items from the titles of request 21, widths read back, buttons, tracking refused without the
//   resizable bit, the end of tracking stores the width and sends request 29, clicks sent as request 22.
#include "ui/listbox.h"

#include "ui/listtest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class ListcolTest : public testing::Test {
protected:
    void SetUp() override {
        owner.model.texts = {"one\tA\tB", "two\tC\tD"};
        owner.model.hook = [](ListboxNotify *record, LRESULT *result) {
            if (record->w[LISTBOX_W_CODE] != LISTBOX_REQ_COLUMN_TITLE) return false;
            strcpy(ListboxNotifyBuffer(record),
                   ("title " + std::to_string(record->w[LISTBOX_W_TEXT_COLUMN])).c_str());
            *result = (LRESULT)strlen(ListboxNotifyBuffer(record));
            return true;
        };
    }
    static ListboxColumn Column(uint32_t flags, int32_t width, int32_t minWidth, int32_t key) {
        ListboxColumn column;
        ListboxColumnInit(&column);
        column.flags = flags;
        column.width = width;
        column.minWidth = minWidth;
        column.key = key;
        return column;
    }
    // Three columns: a first that stretches (minimum 50), then 80 and 60 pixels.
    HWND ThreeColumns(uint32_t style, int width = 300) {
        HWND list = owner.List(style, width, 120);
        ListboxColumn first = Column(LISTBOX_COL_STRETCH, 10, 50, 0);
        ListboxSetOneColumn(list, &first);
        ListboxColumn second = Column(LISTBOX_COL_RESIZABLE | LISTBOX_COL_CLICKS, 80, 0, 1);
        ListboxColumn third = Column(0, 60, 0, 2);
        EXPECT_TRUE(ListboxAddColumn(list, &second));
        EXPECT_TRUE(ListboxAddColumn(list, &third));
        ListboxLayoutColumns(list);
        return list;
    }
    std::vector<int32_t> Widths(HWND list) {
        ListboxColumn columns[LISTBOX_COLUMNS_MAX];
        int32_t n = ListboxGetColumns(list, columns, LISTBOX_COLUMNS_MAX);
        std::vector<int32_t> widths;
        for (int32_t i = 0; i < n; i++) widths.push_back(columns[i].width);
        return widths;
    }
    static int32_t ClientWidth(HWND list) {
        RECT client;
        GetClientRect(list, &client);
        return client.right;
    }
    static void Resize(HWND list, int width) {
        SetWindowPos(list, nullptr, 0, 0, width, 120, SWP_NOMOVE | SWP_NOZORDER);
    }
    LRESULT Header(HWND list, UINT code, int item, int button = 0, HDITEMA *hdItem = nullptr) {
        NMHEADERA note = {};
        note.hdr.hwndFrom = FindWindowExA(list, nullptr, WC_HEADERA, nullptr);
        note.hdr.code = code;
        note.iItem = item;
        note.iButton = button;
        note.pitem = hdItem;
        return SendMessageA(list, WM_NOTIFY, 0, (LPARAM)&note);
    }
    ListOwner owner;
};

} // namespace

TEST_F(ListcolTest, AddAndSetClampAndRefuseBeyondTen) {
    HWND list = owner.List(1);
    ListboxColumn bad = Column(0, -20, -5, 3);
    ASSERT_TRUE(ListboxAddColumn(list, &bad));
    ListboxColumn columns[LISTBOX_COLUMNS_MAX];
    ASSERT_EQ(ListboxGetColumns(list, columns, LISTBOX_COLUMNS_MAX), 2);
    EXPECT_EQ(columns[1].minWidth, 0);
    EXPECT_EQ(columns[1].width, 0);
    ListboxColumn narrow = Column(0, 10, 40, 4);
    EXPECT_TRUE(ListboxSetColumn(list, 1, &narrow));
    ListboxGetColumns(list, columns, LISTBOX_COLUMNS_MAX);
    EXPECT_EQ(columns[1].width, 40);
    EXPECT_EQ(columns[1].key, 4);
    EXPECT_FALSE(ListboxSetColumn(list, 3, &narrow)); // would leave column 2 undefined
    EXPECT_TRUE(ListboxSetColumn(list, 2, &narrow));  // appends
    while (ListboxGetColumns(list, columns, LISTBOX_COLUMNS_MAX) < LISTBOX_COLUMNS_MAX)
        ASSERT_TRUE(ListboxAddColumn(list, &narrow));
    EXPECT_FALSE(ListboxAddColumn(list, &narrow));
    EXPECT_FALSE(ListboxSetColumn(list, 10, &narrow));
    EXPECT_FALSE(ListboxSetColumn(list, -1, &narrow));
    EXPECT_TRUE(ListboxSetColumn(list, 9, &narrow));
    EXPECT_EQ(ListboxGetColumns(list, columns, 3), 3);
}

TEST_F(ListcolTest, StretchingFirstColumnAbsorbsResize) {
    HWND list = ThreeColumns(0x801);
    int32_t client = ClientWidth(list);
    EXPECT_EQ(Widths(list), (std::vector<int32_t>{client - 140, 80, 60}));
    Resize(list, 360);
    EXPECT_EQ(ClientWidth(list), client + 60);
    EXPECT_EQ(Widths(list), (std::vector<int32_t>{client - 80, 80, 60}));
    Resize(list, 120);
    EXPECT_EQ(Widths(list), (std::vector<int32_t>{50, 80, 60}));
}

TEST_F(ListcolTest, StretchingLastColumn) {
    HWND list = owner.List(1, 300);
    ListboxColumn first = Column(0, 100, 0, 0), last = Column(LISTBOX_COL_STRETCH, 10, 30, 1);
    ListboxSetOneColumn(list, &first);
    ListboxSetColumn(list, 0, &first);
    ListboxAddColumn(list, &last);
    ListboxLayoutColumns(list);
    EXPECT_EQ(Widths(list), (std::vector<int32_t>{100, ClientWidth(list) - 100}));
}

TEST_F(ListcolTest, FixedColumnsChangeNothing) {
    HWND list = ThreeColumns(0x10801);
    std::vector<int32_t> before = Widths(list);
    EXPECT_EQ(before, (std::vector<int32_t>{ClientWidth(list), 80, 60})); // as wide as the client when set
    Resize(list, 400);
    EXPECT_EQ(Widths(list), before);
    ListboxSetFixedColumns(list, false);
    EXPECT_EQ(Widths(list)[0], ClientWidth(list) - 140);
}

TEST_F(ListcolTest, KeepWidthWhileClientWidthUnchanged) {
    HWND list = owner.List(1, 300);
    ListboxColumn first = Column(LISTBOX_COL_STRETCH | LISTBOX_COL_KEEP_WIDTH, 100, 0, 0);
    ListboxSetOneColumn(list, &first);
    ListboxSetColumn(list, 0, &first);
    ListboxLayoutColumns(list);
    EXPECT_EQ(Widths(list)[0], 100);
    Resize(list, 320);
    EXPECT_EQ(Widths(list)[0], ClientWidth(list));
}

TEST_F(ListcolTest, HeaderMirrorsColumns) {
    HWND list = ThreeColumns(0x1C01);
    HWND header = FindWindowExA(list, nullptr, WC_HEADERA, nullptr);
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(GetWindowLongA(header, GWL_STYLE) & HDS_BUTTONS);
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    char text[64];
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, 2, (LPARAM)&item);
    EXPECT_STREQ(text, "title 2");
    EXPECT_EQ(item.cxy, 60);
    // The rows begin below the header.
    RECT headerRect, row;
    GetClientRect(header, &headerRect);
    ListboxGetItemRect(list, 0, &row);
    EXPECT_EQ(row.top, headerRect.bottom);
    item.mask = HDI_WIDTH;
    item.cxy = 95;
    SendMessageA(header, HDM_SETITEMA, 1, (LPARAM)&item);
    EXPECT_EQ(Widths(list)[1], 95); // widths are read back from the header
    ListboxSetHeaderButtons(list, false);
    EXPECT_FALSE(GetWindowLongA(header, GWL_STYLE) & HDS_BUTTONS);
}

TEST_F(ListcolTest, TrackingNeedsResizableBit) {
    HWND list = ThreeColumns(0x1C01);
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    item.cxy = 120;
    EXPECT_TRUE(Header(list, HDN_BEGINTRACKA, 2, 0, &item)); // refused
    Header(list, HDN_ENDTRACKA, 2, 0, &item);
    EXPECT_EQ(Widths(list)[2], 60);
    EXPECT_EQ(owner.model.Count(LISTBOX_REQ_COLUMN_SIZED), 0);
    EXPECT_FALSE(Header(list, HDN_BEGINTRACKW, 1, 0, &item));
    item.cxy = 110;
    Header(list, HDN_TRACKA, 1, 0, &item);
    Header(list, HDN_ENDTRACKA, 1, 0, &item);
    ListboxRefreshHeader(list); // the header items again from the columns
    std::vector<int32_t> widths = Widths(list);
    EXPECT_EQ(widths[1], 110);
    EXPECT_EQ(widths[2], 60);
    const ListboxNotify *sized = owner.model.Last(LISTBOX_REQ_COLUMN_SIZED);
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(sized->w[LISTBOX_W_ITEM], -1);
    EXPECT_EQ(sized->w[LISTBOX_W_MOUSE_COLUMN], 1);
}

TEST_F(ListcolTest, ClicksAreReportedForColumnsThatAskForThem) {
    HWND list = ThreeColumns(0x1C01);
    const struct {
        UINT code;
        int button;
        intptr_t message;
    } cases[] = {{HDN_ITEMCLICKA, 0, WM_LBUTTONDOWN},      {HDN_ITEMCLICKW, 1, WM_RBUTTONDOWN},
                 {HDN_ITEMCLICKA, 2, WM_MBUTTONDOWN},      {HDN_ITEMDBLCLICKA, 0, WM_LBUTTONDBLCLK},
                 {HDN_ITEMDBLCLICKW, 1, WM_RBUTTONDBLCLK}, {HDN_ITEMDBLCLICKA, 2, WM_MBUTTONDBLCLK}};
    for (const auto &c : cases) {
        Header(list, c.code, 1, c.button);
        const ListboxNotify *click = owner.model.Last(LISTBOX_REQ_HEADER_CLICK);
        ASSERT_NE(click, nullptr);
        EXPECT_EQ(click->w[LISTBOX_W_MESSAGE], c.message);
        EXPECT_EQ(click->w[LISTBOX_W_MOUSE_COLUMN], 1);
        EXPECT_EQ(click->w[LISTBOX_W_ITEM], -1);
    }
    int before = owner.model.Count(LISTBOX_REQ_HEADER_CLICK);
    Header(list, HDN_ITEMCLICKA, 2, 0); // column 2 does not report clicks
    EXPECT_EQ(owner.model.Count(LISTBOX_REQ_HEADER_CLICK), before);
}

TEST_F(ListcolTest, StyleCreatesAndRemovesHeader) {
    HWND list = owner.List(0x801);
    EXPECT_EQ(FindWindowExA(list, nullptr, WC_HEADERA, nullptr), nullptr);
    ListboxStyle style;
    ListboxGetStyle(list, &style);
    style.style |= LISTBOX_HEADER | LISTBOX_TABS;
    ListboxSetStyle(list, &style);
    EXPECT_NE(FindWindowExA(list, nullptr, WC_HEADERA, nullptr), nullptr);
    ListboxGetStyle(list, &style);
    EXPECT_FALSE(style.style & LISTBOX_TABS); // tab columns take its place
    style.style &= ~LISTBOX_HEADER;
    ListboxSetStyle(list, &style);
    EXPECT_EQ(FindWindowExA(list, nullptr, WC_HEADERA, nullptr), nullptr);
    RECT row;
    ListboxGetItemRect(list, 0, &row);
    EXPECT_EQ(row.top, 0);
}
