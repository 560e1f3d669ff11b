// The dialog engine's descriptions and templates:
// - engine start: the dialog face at 8 points, measurements, the three classes;
// - templates read back from a table of descriptions: sizes in both geometry orders and in hundredths,
//   edits of height 1 and 2, button heights, group frames, default button, statics' alignment, separator
//   and user-item styles, no creation data, records of types 0 and 5 taking ids without items,
//   dialog styles (caption, resizable, child page), texture margins;
// - access letters: shorter texts first, fixed letters first, Cancel and OK without one, labels only before
//   fields, a fixed letter that was taken, moving another control's letter;
// - placement on a wide owner (a column past 99 must not read as hundredths);
// - remembered positions: stored at destruction, restored, kept on screen or on the frame's monitor,
//   saved to and loaded from a file.
#include "ui/dlg.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/wnd.h"
#include "support/vxtest.h"
#include "ui/dlgobj.h"
#include "ui/dlgtest.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <cstring>

namespace {

class DlgTemplateTest : public DlgFixture {
protected:
    void TearDown() override {
        for (DlgObject *dlg : objects) DlgFreeObject(dlg);
        objects.clear();
        DlgFixture::TearDown();
    }
    DlgTpl Build(const DlgDesc &desc, bool childPage = false) {
        DlgObject *dlg = DlgCreateObject(&desc, 0, nullptr, true, childPage);
        EXPECT_NE(dlg, nullptr);
        if (!dlg) return {};
        objects.push_back(dlg);
        return DlgReadTemplate(DlgGetTemplate(dlg));
    }
    std::vector<DlgObject *> objects;
};

const DlgControl dlgEnd = {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0};

DlgDesc Desc(const DlgControl *controls, uint32_t flags = DLG_ROW_FIRST, const char *caption = "Test") {
    return DlgDesc{{2, 3, 10, 40}, caption, nullptr, flags | DLG_KEEP_POS, 0, controls};
}

const DlgTplItem *ItemById(const DlgTpl &t, int id) {
    for (const DlgTplItem &item : t.items)
        if (item.id == id) return &item;
    return nullptr;
}

} // namespace

// ---- Engine start

TEST_F(DlgTemplateTest, FontAndClasses) {
    EXPECT_NE(DlgGetFont(), nullptr);
    LOGFONTA lf = {};
    GetObjectA(DlgGetFont(), sizeof lf, &lf);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -(8 * GetDeviceCaps(screen, LOGPIXELSY) / 72));
    ReleaseDC(nullptr, screen);
    int32_t width = 0, height = 0;
    DlgGetCharSize(&width, &height);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    EXPECT_GE(DlgGetLineHeight(), height);
    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "vx_dlg", &wc));
    EXPECT_EQ(wc.style, (UINT)(CS_SAVEBITS | CS_BYTEALIGNWINDOW));
    EXPECT_EQ(wc.cbWndExtra, DLGWINDOWEXTRA + 8);
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "HLINE", &wc));
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "USERITEM", &wc));
    DlgTpl t = Build(Desc(&dlgEnd));
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, lf.lfFaceName);
}

// ---- Sizes and styles

TEST_F(DlgTemplateTest, CopyListItemsSizeInEveryOrder) {
    struct {
        const char *name;
        int32_t geometry[4];
        uint32_t flags;
    } cases[] = {
        {"row-first", {0, 0, 450, 57}, DLG_ROW_FIRST},
        {"no order flag reads row-first", {0, 0, 450, 57}, 0},
        {"column-first", {0, 0, 57, 450}, DLG_COLUMN_FIRST},
        {"both flags read row-first", {0, 0, 450, 57}, DLG_ROW_FIRST | DLG_COLUMN_FIRST},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DlgDesc desc = {{c.geometry[0], c.geometry[1], c.geometry[2], c.geometry[3]},
                        "Copy List Items",
                        nullptr,
                        c.flags | DLG_KEEP_POS,
                        0,
                        &dlgEnd};
        DlgTpl t = Build(desc);
        EXPECT_EQ(t.cx, 57 * 4) << "57 characters";
        EXPECT_EQ(t.cy, 450 * 11 / 100) << "4.5 rows";
        EXPECT_EQ(t.caption, "Copy List Items");
    }
}

TEST_F(DlgTemplateTest, ControlGeometryInBothOrders) {
    const DlgControl rowFirst[] = {{{1, 2, 1, 10}, "x", DLG_LABEL, 0, 0, 0, 0}, dlgEnd};
    const DlgControl columnFirst[] = {{{2, 1, 10, 1}, "x", DLG_LABEL, 0, 0, 0, 0}, dlgEnd};
    DlgTpl a = Build(Desc(rowFirst));
    DlgTpl b = Build(Desc(columnFirst, DLG_COLUMN_FIRST));
    for (const DlgTpl *t : {&a, &b}) {
        ASSERT_EQ(t->items.size(), 1u);
        EXPECT_EQ(t->items[0].x, 2 * 4);
        EXPECT_EQ(t->items[0].y, 1 * 11 + 5);
        EXPECT_EQ(t->items[0].cx, 10 * 4);
        EXPECT_EQ(t->items[0].cy, 11);
    }
}

TEST_F(DlgTemplateTest, ControlsByType) {
    const DlgControl controls[] = {
        {{0, 0, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 0},                               // 1000
        {{1, 0, 2, 20}, nullptr, DLG_EDIT, DLGF_RIGHT | DLGF_READ_ONLY, 11, 0, 0},     // 1001
        {{3, 0, 1, 10}, "Go", DLG_BUTTON, 0, 12, 0, 0},                                // 1002
        {{3, 12, 1, 10}, "Keep", DLG_BUTTON, DLGF_KEEP_HEIGHT, 13, 0, 0},              // 1003
        {{3, 24, 1, 10}, "Default", DLG_BUTTON, DLGF_DEFAULT, 14, 0, 0},               // 1004
        {{4, 0, 3, 20}, "Group", DLG_GROUP, 0, 15, 0, 0},                              // 1005
        {{4, 0, 1, 20}, "centred", DLG_LABEL, DLGF_CENTER | DLGF_RIGHT, 16, 0, 0},     // 1006
        {{4, 0, 1, 20}, "right", DLG_TEXT_STATIC, DLGF_RIGHT, 17, 0, 0},               // 1007
        {{5, 0, 2, 0}, nullptr, DLG_VSEP, 0, 18, 0, 0},                                // 1008
        {{5, 2, 2, 10}, nullptr, DLG_USERITEM, 0, 19, 0, 0},                           // 1009
        {{0, 0, 0, 0}, nullptr, DLG_NONE, 0, 20, 0, 0},                                // 1010: no item
        {{7, 0, 2, 20}, nullptr, DLG_LIST, DLGF_OWNER_DRAW | DLGF_MULTISEL, 21, 0, 0}, // 1011
        {{9, 0, 5, 20}, nullptr, DLG_DROPLIST, 0, 22, 0, 0},                           // 1012
        {{9, 20, 5, 20}, nullptr, DLG_COMBO, 0, 23, 0, 0},                             // 1013
        {{10, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, 24, 0, 0},                         // 1014: no item
        {{10, 0, 1, 10}, "One", DLG_RADIO, 0, 25, 0, 0},                               // 1015
        {{11, 0, 1, 10}, "Rule", DLG_HLINE, 0, 26, 0, 0},                              // 1016
        dlgEnd,
    };
    DlgTpl t = Build(Desc(controls));
    EXPECT_EQ(t.count, 15) << "types 0 and 5 make no item";
    EXPECT_EQ(ItemById(t, 1010), nullptr);
    EXPECT_EQ(ItemById(t, 1014), nullptr);
    const DlgTplItem *edit1 = ItemById(t, 1000), *edit2 = ItemById(t, 1001);
    ASSERT_TRUE(edit1 && edit2);
    EXPECT_EQ(edit1->className, "EDIT");
    EXPECT_EQ(edit1->cy, 125 * 11 / 100) << "an edit one row high is 1.25 rows";
    EXPECT_EQ(edit1->style, 0x50020000u | 0x810080u);
    EXPECT_EQ(edit2->cy, 22);
    EXPECT_EQ(edit2->style & (ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL),
              (uint32_t)(ES_MULTILINE | ES_AUTOVSCROLL));
    EXPECT_TRUE(edit2->style & ES_RIGHT);
    EXPECT_TRUE(edit2->style & ES_READONLY);
    EXPECT_EQ(ItemById(t, 1002)->cy, (11 * 140 + 50) / 100) << "push buttons are 1.4 times as high";
    EXPECT_EQ(ItemById(t, 1003)->cy, 11);
    EXPECT_EQ(ItemById(t, 1004)->style, 0x50030001u);
    EXPECT_EQ(ItemById(t, 1005)->cy, 33 - 7) << "group frames are 7 units shorter";
    EXPECT_EQ(ItemById(t, 1006)->style & 3, (uint32_t)SS_CENTER);
    EXPECT_EQ(ItemById(t, 1007)->style & 3, (uint32_t)SS_RIGHT);
    EXPECT_FALSE(ItemById(t, 1008)->style & WS_VISIBLE);
    EXPECT_EQ(ItemById(t, 1008)->cx, 1) << "at least one unit wide";
    EXPECT_TRUE(ItemById(t, 1009)->style & WS_CLIPSIBLINGS);
    EXPECT_EQ(ItemById(t, 1009)->className, "USERITEM");
    EXPECT_EQ(ItemById(t, 1012)->style, 0x50020000u | 0x210013u);
    EXPECT_EQ(ItemById(t, 1013)->style, 0x50020000u | 0x210052u);
    EXPECT_EQ(ItemById(t, 1015)->style, 0x50020000u | 0x12004u);
    EXPECT_EQ(ItemById(t, 1016)->className, "HLINE");
    const DlgTplItem *list = ItemById(t, 1011);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->className, "vx_Listbox");
    EXPECT_EQ(list->style, 0x50020000u | 0xA10000u);
    for (const DlgTplItem &item : t.items) EXPECT_EQ(item.dataSize, 0) << "no creation data: " << item.id;
}

TEST_F(DlgTemplateTest, DialogStyles) {
    struct {
        const char *name;
        uint32_t flags;
        const char *caption;
        bool childPage;
        uint32_t style;
    } cases[] = {
        {"captioned", 0, "Title", false, 0x904800C0 | DS_3DLOOK | WS_CAPTION},
        {"no caption", 0, nullptr, false, 0x904800C0 | DS_3DLOOK},
        {"caption bar without a caption", DLG_CAPTION, nullptr, false, 0x904800C0 | DS_3DLOOK | WS_CAPTION},
        {"resizable", DLG_RESIZABLE, "Title", false, 0x904800C0 | DS_3DLOOK | WS_CAPTION | WS_THICKFRAME},
        {"property page", 0, "Page", true, 0x50010444},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DlgTpl t = Build(Desc(&dlgEnd, DLG_ROW_FIRST | c.flags, c.caption), c.childPage);
        EXPECT_EQ(t.style, c.style);
        EXPECT_EQ(t.caption, c.caption ? c.caption : "");
    }
}

static bool DlgTestTextures() {
    return true;
}

TEST_F(DlgTemplateTest, TextureMargins) {
    const DlgControl controls[] = {{{1, 2, 1, 10}, "x", DLG_LABEL, 0, 0, 0, 0}, dlgEnd};
    DlgTpl plain = Build(Desc(controls));
    DrawSetTexturesHook(DlgTestTextures);
    DlgTpl textured = Build(Desc(controls));
    EXPECT_EQ(textured.cx, plain.cx + 4);
    EXPECT_EQ(textured.cy, plain.cy + 11);
    EXPECT_EQ(textured.x, plain.x);
    EXPECT_EQ(textured.items[0].x, plain.items[0].x + 4);
    EXPECT_EQ(textured.items[0].y, plain.items[0].y + 5);
}

// ---- Access letters

TEST_F(DlgTemplateTest, AccessLetters) {
    struct Case {
        const char *name;
        std::vector<DlgControl> controls;
        std::vector<const char *> texts; // the template's texts by record, null for no item
    };
    const Case cases[] = {
        {"the shorter text chooses first",
         {{{0, 0, 1, 10}, "Search", DLG_BUTTON, 0, 5, 0, 0},
          {{0, 20, 1, 10}, "Save", DLG_BUTTON, 0, 6, 0, 0}},
         {"S&earch", "&Save"}},
        {"Cancel and OK take none",
         {{{0, 0, 1, 10}, "Cancel", DLG_BUTTON, 0, 2, 0, 0},
          {{0, 20, 1, 10}, "OK", DLG_BUTTON, 0, 1, 0, 0},
          {{0, 40, 1, 10}, "Okay", DLG_BUTTON, 0, 3, 0, 0}},
         {"Cancel", "OK", "&Okay"}},
        {"a label before a check box takes none, before an edit one",
         {{{0, 0, 1, 10}, "Name", DLG_LABEL, 0, 0, 0, 0},
          {{0, 10, 1, 10}, "Wrap", DLG_CHECK, 0, 3, 0, 0},
          {{1, 0, 1, 10}, "Path", DLG_LABEL, 0, 0, 0, 0},
          {{1, 10, 1, 10}, nullptr, DLG_EDIT, 0, 4, 0, 0}},
         {"Name", "&Wrap", "&Path", ""}},
        {"a label before a list with its own text takes none",
         {{{0, 0, 1, 10}, "Items", DLG_LABEL, 0, 0, 0, 0},
          {{1, 0, 3, 10}, "Tags", DLG_LIST, 0, 3, 0, 0},
          {{4, 0, 1, 10}, "Kinds", DLG_LABEL, 0, 0, 0, 0},
          {{5, 0, 3, 10}, nullptr, DLG_LIST, 0, 4, 0, 0}},
         {"Items", "&Tags", "&Kinds", ""}},
        {"fixed letters choose first and keep their mark",
         {{{0, 0, 1, 10}, "Apply", DLG_BUTTON, 0, 3, 0, 0},
          {{0, 20, 1, 10}, "Cle&ar all", DLG_BUTTON, 0, 4, 0, 0}},
         {"A&pply", "Cle&ar all"}},
        {"a fixed letter that was taken moves on and its mark goes",
         {{{0, 0, 1, 10}, "&Top", DLG_BUTTON, 0, 3, 0, 0}, {{0, 20, 1, 10}, "&Tab", DLG_BUTTON, 0, 4, 0, 0}},
         {"&Top", "T&ab"}},
        {"another control's letter moves for one left without",
         {{{0, 0, 1, 10}, "Ab", DLG_BUTTON, 0, 3, 0, 0}, {{0, 20, 1, 10}, "AAA", DLG_CHECK, 0, 4, 0, 0}},
         {"A&b", "AAA"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<DlgControl> controls = c.controls;
        controls.push_back(dlgEnd);
        DlgTpl t = Build(Desc(controls.data()));
        for (size_t i = 0; i < c.texts.size(); i++) {
            const DlgTplItem *item = ItemById(t, 1000 + (int)i);
            ASSERT_TRUE(item);
            EXPECT_EQ(item->text, c.texts[i]) << "record " << i;
        }
    }
}

// ---- Placement

// A dialog centred on an owner more than 99 characters wide: the column must stay whole characters.
TEST_F(DlgTemplateTest, PlacementOnWideOwner) {
    HWND frame = UiPopup(0, 0, 3000, 600);
    WndSetAppWindows(frame, nullptr);
    DlgDesc desc = {{0, 0, 5, 40}, "Wide", nullptr, DLG_ROW_FIRST, 0, &dlgEnd};
    DlgTpl t = Build(desc);
    WndSetAppWindows(nullptr, nullptr);
    DestroyWindow(frame);
    LONG units = GetDialogBaseUnits();
    int32_t ownerColumns = 3000 * 4 / (LOWORD(units) - 1) / 4;
    ASSERT_GE((ownerColumns - 40) / 2, 100) << "the owner must be wide enough to reach 100 columns";
    EXPECT_EQ(t.x, (ownerColumns - 40) / 2 * 4);
    int32_t freeRows = 600 * 11 / HIWORD(units) / 11 - 5;
    EXPECT_EQ(t.y, (freeRows < 8 ? std::max(1, freeRows / 3) : std::max(1, freeRows / 4)) * 11);
}

TEST_F(DlgTemplateTest, OutOfMemory) {
    DlgDesc desc = Desc(&dlgEnd);
    HeapFailNth(1);
    EXPECT_EQ(DlgCreateObject(&desc, 0, nullptr, true, false), nullptr);
}

// ---- Remembered positions

class DlgPositionTest : public DlgFixture {
protected:
    void TearDown() override {
        DlgSetFollowFrameMonitor(false);
        WndSetAppWindows(nullptr, nullptr);
        DlgFixture::TearDown();
    }
    // A modeless dialog of key 118, destroyed again; its window rectangle while it was open.
    RECT OpenAndClose() {
        DlgDesc desc = {{1, 1, 5, 30}, "Remembered", nullptr, DLG_ROW_FIRST, 118, &dlgEnd};
        DlgObject *dlg = DlgCreateModeless(&desc, 0, nullptr, nullptr);
        RECT rect = {};
        if (!dlg) return rect;
        GetWindowRect(DlgGetWindow(dlg), &rect);
        DestroyWindow(DlgGetWindow(dlg));
        return rect;
    }
    void Remember(int32_t left, int32_t top) {
        HWND window = UiPopup(left, top, 10, 10);
        ASSERT_TRUE(DlgStorePosition(window, 118));
        DestroyWindow(window);
    }
};

TEST_F(DlgPositionTest, StoredAtDestructionAndRestored) {
    POINT point;
    EXPECT_FALSE(DlgFindPosition(118, &point));
    RECT first = OpenAndClose();
    ASSERT_TRUE(DlgFindPosition(118, &point));
    EXPECT_EQ(point.x, first.left);
    EXPECT_EQ(point.y, first.top);
    Remember(200, 150);
    RECT again = OpenAndClose();
    EXPECT_EQ(again.left, 200);
    EXPECT_EQ(again.top, 150);
}

TEST_F(DlgPositionTest, GoneMonitorCentresOnWorkArea) {
    Remember(5000, 4000);
    RECT rect = OpenAndClose();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
    POINT point;
    ASSERT_TRUE(DlgFindPosition(118, &point));
    EXPECT_EQ(point.x, rect.left) << "the corrected position is stored again";
}

TEST_F(DlgPositionTest, FollowFrameMonitor) {
    UiFakeMonitors(2);
    HWND frame = UiPopup(10, 10, 300, 200);
    WndSetAppWindows(frame, nullptr);
    Remember(700, 100); // on the second monitor
    RECT kept = OpenAndClose();
    EXPECT_EQ(kept.left, 700) << "without the option a visible position stays";
    DlgSetFollowFrameMonitor(true);
    Remember(700, 100);
    RECT moved = OpenAndClose();
    EXPECT_NEAR((moved.left + moved.right) / 2, 320, 1) << "centred on the frame's monitor (0..640)";
    EXPECT_NEAR((moved.top + moved.bottom) / 2, 240, 1);
    DestroyWindow(frame);
}

TEST_F(DlgPositionTest, SavedAndLoaded) {
    Remember(40, 50);
    std::string path = VxTempDir() + "\\positions";
    int file = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    ASSERT_GE(file, 0);
    ASSERT_TRUE(DlgSavePositions(file));
    EXPECT_EQ(FileGetSize(file), 28u + 12u) << "the plex form: 28 bytes and one 12-byte record";
    Remember(90, 90);
    FileSeek(file, 0);
    ASSERT_TRUE(DlgLoadPositions(file));
    POINT point;
    ASSERT_TRUE(DlgFindPosition(118, &point));
    EXPECT_EQ(point.x, 40);
    EXPECT_EQ(point.y, 50);
    FileSeek(file, 4);
    EXPECT_FALSE(DlgLoadPositions(file)) << "a broken record is refused";
    ASSERT_TRUE(DlgFindPosition(118, &point));
    EXPECT_EQ(point.x, 40) << "and the list stays";
    FileClose(file);
}
