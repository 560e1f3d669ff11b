// Toolbars, read back through the toolbar's own messages:
// - creation: push, check and separator buttons with their commands and images; separators alone make a
//   toolbar without images; styles and sizes by common-controls version; no sizing when asked; tooltip
//   delays; the record under "htb";
// - failures (empty list, a missing bitmap) leave no window and no memory behind; the window's end frees
//   the record;
// - the subclass: a resize with a mouse button held marks the configuration changed, one without does not;
// - operations: check, flat switching, heights and the dock rectangle;
// - tooltip texts as a table over the shell's hooks, cut to the buffer; the tooltip's request for text.
#include "ui/toolbar.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/keyinp.h"
#include "base/sysprobe.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const ToolbarButton threeKinds[] = {
    {TOOLBAR_PUSH, 101, "bmpNew"}, {TOOLBAR_CHECK, 102, "bmpOpen"},
    {TOOLBAR_SEPARATOR, 0, ""},    {TOOLBAR_PUSH, 103, "bmpSave"},
    {TOOLBAR_END, 0, ""},
};
const ToolbarButton separatorsOnly[] = {
    {TOOLBAR_SEPARATOR, 0, ""}, {TOOLBAR_SEPARATOR, 0, ""}, {TOOLBAR_END, 0, ""}};

class ToolbarTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        ASSERT_TRUE(ToolbarInit());
        SysSetTestComctlVersion(0x60000);
        parent = UiRecordingParent(400, 200);
        ErcClear();
    }
    void TearDown() override {
        DestroyWindow(parent);
        DrawExit();
    }
    ToolbarInfo *Make(const ToolbarButton *buttons, ToolbarCreateFlags flags = (ToolbarCreateFlags)0) {
        return ToolbarCreate(parent, 7, flags, 42, 0x1F, buttons, nullptr);
    }
    int ChildCount() {
        int count = 0;
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) count++;
        return count;
    }
    HWND parent = nullptr;
};

SIZE WindowSize(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// ---- Fake shell answers for the tooltip texts

struct FakeCommand {
    int32_t command;
    const char *name;
    int32_t key;
    const char *description;
};
std::vector<FakeCommand> fakeCommands;
std::vector<bool> dirtyCalls;

const FakeCommand *FindFake(int32_t command) {
    for (const FakeCommand &c : fakeCommands)
        if (c.command == command) return &c;
    return nullptr;
}
void FakeName(int32_t command, char *name, int size) {
    const FakeCommand *c = FindFake(command);
    snprintf(name, size, "%s", c ? c->name : "");
}
const char *FakeDescription(int32_t command) {
    const FakeCommand *c = FindFake(command);
    return c ? c->description : "";
}
int32_t FakeKey(int32_t command) {
    const FakeCommand *c = FindFake(command);
    return c ? c->key : 0;
}
void FakeKeyName(int32_t key, char *text, int size) {
    snprintf(text, size, "%s", key == 0x44F ? "Ctrl+O" : key == 0x1071 ? "F2" : "?");
}
void FakeDirty(bool flag) {
    dirtyCalls.push_back(flag);
}
void InstallFakes(std::vector<FakeCommand> commands) {
    fakeCommands = std::move(commands);
    dirtyCalls.clear();
    static const ToolbarHooks hooks = {FakeName, FakeDescription, FakeKey, FakeKeyName, FakeDirty};
    ToolbarSetHooks(&hooks);
}

void OwnTipText(int32_t command, char *text, int size) {
    snprintf(text, size, "own %d", (int)command);
}

SHORT primaryDown;
SHORT WINAPI FakeButtons(int key) {
    return key == VK_LBUTTON ? primaryDown : 0;
}

} // namespace

// ---- Creation

TEST_F(ToolbarTest, ButtonsKeepTheirKindsCommandsAndImages) {
    ToolbarInfo *toolbar = Make(threeKinds);
    ASSERT_NE(toolbar, nullptr);
    HWND window = toolbar->window;
    EXPECT_EQ(ToolbarFromWindow(window), toolbar);
    EXPECT_EQ(GetParent(window), parent);
    ASSERT_EQ(SendMessageA(window, TB_BUTTONCOUNT, 0, 0), 4);
    struct Want {
        int command;
        BYTE style;
        int image;
    } want[] = {{101, BTNS_BUTTON, 0}, {102, BTNS_CHECK, 1}, {0, BTNS_SEP, -1}, {103, BTNS_BUTTON, 2}};
    for (int i = 0; i < 4; i++) {
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageA(window, TB_GETBUTTON, i, (LPARAM)&button));
        EXPECT_EQ(button.idCommand, want[i].command) << i;
        EXPECT_EQ(button.fsStyle & (BTNS_SEP | BTNS_CHECK), want[i].style) << i;
        if (want[i].image >= 0) {
            EXPECT_EQ(button.iBitmap, want[i].image) << i;
        }
        EXPECT_EQ(((ToolbarElem *)PlexElem(&toolbar->plex, i))->image, want[i].image) << i;
    }
    HIMAGELIST images = (HIMAGELIST)SendMessageA(window, TB_GETIMAGELIST, 0, 0);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_EQ(toolbar->buttonWidth, 16);
    EXPECT_EQ(toolbar->buttonHeight, 16);
    EXPECT_EQ(toolbar->buttonCount, 4);
    EXPECT_EQ(toolbar->ownerId, 7);
    EXPECT_EQ(toolbar->callerValue, 42);
    EXPECT_EQ(toolbar->callerBits, 0xF);
    ToolbarDestroy(toolbar);
}

TEST_F(ToolbarTest, SeparatorsAloneMakeAToolbarWithoutImages) {
    ToolbarInfo *toolbar = Make(separatorsOnly);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(SendMessageA(toolbar->window, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(toolbar->window, TB_GETIMAGELIST, 0, 0), 0);
    EXPECT_EQ(toolbar->images, nullptr);
    ToolbarDestroy(toolbar);
}

TEST_F(ToolbarTest, StyleAndSizeFollowTheCommonControls) {
    ToolbarInfo *flat = Make(threeKinds, TOOLBAR_FLAT);
    ASSERT_NE(flat, nullptr);
    DWORD style = GetWindowLongA(flat->window, GWL_STYLE);
    EXPECT_TRUE(style & TBSTYLE_FLAT);
    EXPECT_TRUE(style & TBSTYLE_TOOLTIPS);
    EXPECT_TRUE(style & CCS_NODIVIDER);
    EXPECT_TRUE(style & WS_VISIBLE);
    SIZE most = {};
    SendMessageA(flat->window, TB_GETMAXSIZE, 0, (LPARAM)&most);
    EXPECT_EQ(WindowSize(flat->window).cx, most.cx);
    EXPECT_EQ(WindowSize(flat->window).cy, most.cy);
    ToolbarDestroy(flat);

    ToolbarInfo *newer = Make(threeKinds);
    EXPECT_TRUE(GetWindowLongA(newer->window, GWL_STYLE) & TBSTYLE_TRANSPARENT);
    EXPECT_FALSE(GetWindowLongA(newer->window, GWL_STYLE) & TBSTYLE_FLAT);
    ToolbarDestroy(newer);

    SysSetTestComctlVersion(0x40047);
    ToolbarInfo *old = Make(threeKinds);
    EXPECT_FALSE(GetWindowLongA(old->window, GWL_STYLE) & TBSTYLE_TRANSPARENT);
    EXPECT_EQ(WindowSize(old->window).cx, 4 * 16); // buttons times the bitmap width
    EXPECT_EQ(WindowSize(old->window).cy, HIWORD(SendMessageA(old->window, TB_GETBUTTONSIZE, 0, 0)));
    ToolbarDestroy(old);

    ToolbarInfo *unmeasured = Make(threeKinds, TOOLBAR_NO_MEASURE);
    EXPECT_EQ(WindowSize(unmeasured->window).cx, 0);
    ToolbarDestroy(unmeasured);
}

TEST_F(ToolbarTest, TooltipsWaitASecondAndStayFifteen) {
    ToolbarInfo *toolbar = Make(threeKinds);
    HWND tips = (HWND)SendMessageA(toolbar->window, TB_GETTOOLTIPS, 0, 0);
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 1000);
    EXPECT_EQ(SendMessageA(tips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 15000);
    ToolbarDestroy(toolbar);
}

// ---- Failures and the record's end

TEST_F(ToolbarTest, FailuresLeaveNothingBehind) {
    const ToolbarButton empty[] = {{TOOLBAR_END, 0, ""}};
    const ToolbarButton firstMissing[] = {{TOOLBAR_PUSH, 1, "bmpNoSuch"}, {TOOLBAR_END, 0, ""}};
    const ToolbarButton laterMissing[] = {{TOOLBAR_PUSH, 1, "bmpNew"},
                                          {TOOLBAR_SEPARATOR, 0, ""},
                                          {TOOLBAR_PUSH, 2, "bmpNoSuch"},
                                          {TOOLBAR_END, 0, ""}};
    const ToolbarButton *lists[] = {empty, firstMissing, laterMissing};
    for (const ToolbarButton *list : lists) {
        int32_t handles = HLiveCount();
        ErcClear();
        EXPECT_EQ(Make(list), nullptr);
        EXPECT_EQ(ErcGet(), ercToolbarCreate);
        EXPECT_EQ(ChildCount(), 0);
        EXPECT_EQ(HLiveCount(), handles);
    }
}

TEST_F(ToolbarTest, TheWindowsEndFreesTheRecordAndItsBitmaps) {
    int32_t handles = HLiveCount();
    ToolbarInfo *toolbar = Make(threeKinds);
    ASSERT_NE(toolbar, nullptr);
    HBITMAP bitmap = ((ToolbarElem *)PlexElem(&toolbar->plex, 0))->bitmap;
    EXPECT_EQ(GetObjectType(bitmap), (DWORD)OBJ_BITMAP);
    HWND window = toolbar->window;
    DestroyWindow(window); // as the parent's end does
    EXPECT_EQ(HLiveCount(), handles);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(ToolbarFromWindow(window), nullptr);
}

// ---- The subclass

TEST_F(ToolbarTest, ResizingWithAButtonHeldMarksTheConfiguration) {
    InstallFakes({});
    KeySetTestAsyncState(FakeButtons);
    ToolbarInfo *toolbar = Make(threeKinds);
    primaryDown = 0;
    SetWindowPos(toolbar->window, nullptr, 0, 0, 150, 30, SWP_NOZORDER);
    EXPECT_TRUE(dirtyCalls.empty());
    primaryDown = (SHORT)0x8000;
    SetWindowPos(toolbar->window, nullptr, 0, 0, 160, 30, SWP_NOZORDER);
    ASSERT_FALSE(dirtyCalls.empty());
    EXPECT_TRUE(dirtyCalls[0]);
    ToolbarSetHooks(nullptr); // unset: nothing is asked
    SetWindowPos(toolbar->window, nullptr, 0, 0, 170, 30, SWP_NOZORDER);
    ToolbarDestroy(toolbar);
}

// ---- Operations

TEST_F(ToolbarTest, CheckAndFlatSwitching) {
    ToolbarInfo *toolbar = Make(threeKinds);
    ToolbarCheck(toolbar, 102, true);
    EXPECT_TRUE(SendMessageA(toolbar->window, TB_ISBUTTONCHECKED, 102, 0));
    ToolbarCheck(toolbar, 102, false);
    EXPECT_FALSE(SendMessageA(toolbar->window, TB_ISBUTTONCHECKED, 102, 0));

    ToolbarSetFlat(toolbar, true);
    EXPECT_TRUE(toolbar->flat);
    EXPECT_TRUE(SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    // The record already says flat: the plain switch leaves a window changed behind its back alone, the
    // redrawing one follows what it is asked.
    SendMessageA(toolbar->window, TB_SETSTYLE, 0,
                 SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0) & ~TBSTYLE_FLAT);
    ToolbarSetFlat(toolbar, true);
    EXPECT_FALSE(SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    ToolbarSetFlatRedraw(toolbar, true);
    EXPECT_TRUE(SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    ToolbarSetFlatRedraw(toolbar, false);
    EXPECT_FALSE(toolbar->flat);
    EXPECT_FALSE(SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    ToolbarDestroy(toolbar);
}

TEST_F(ToolbarTest, HeightsAndTheDockRectangle) {
    ToolbarInfo *toolbar = Make(threeKinds);
    int32_t windowHeight = WindowSize(toolbar->window).cy;
    EXPECT_GT(windowHeight, 16);
    EXPECT_EQ(ToolbarWindowHeight(toolbar), windowHeight);
    EXPECT_EQ(ToolbarHeight(toolbar), windowHeight);
    ToolbarShow(toolbar, false);
    EXPECT_EQ(ToolbarHeight(toolbar), 16 + 6);
    EXPECT_EQ(ToolbarWindowHeight(toolbar), windowHeight);
    ToolbarShow(toolbar, true);

    RECT rect;
    ToolbarDockRect(toolbar, true, &rect);
    EXPECT_EQ(rect.left, 8);
    EXPECT_EQ(rect.top, 1);
    EXPECT_EQ(rect.right, 400);
    EXPECT_EQ(rect.bottom, 1 + windowHeight);
    ToolbarDockRect(toolbar, false, &rect);
    EXPECT_EQ(rect.top, 200 - windowHeight);
    EXPECT_EQ(rect.bottom, 200);

    RECT place = {10, 20, 110, 50};
    ToolbarMove(toolbar, &place);
    RECT got;
    GetWindowRect(toolbar->window, &got);
    MapWindowPoints(HWND_DESKTOP, parent, (POINT *)&got, 2);
    EXPECT_EQ(got.left, 10);
    EXPECT_EQ(got.top, 20);
    EXPECT_EQ(got.right, 110);
    EXPECT_EQ(ToolbarWindowHeight(nullptr), 0);
    ToolbarDestroy(toolbar);
}

// ---- Tooltip texts

TEST_F(ToolbarTest, TipTextsFromNameKeyAndDescription) {
    std::string longDescription(600, 'x');
    InstallFakes({{1, "Open", 0x44F, "Opens a file."},
                  {2, "Save", 0, ""},
                  {3, "Rename", 0x1071, "Renames the symbol"},
                  {4, "Close", 0, "Closes."},
                  {5, "Long", 0x44F, longDescription.c_str()}});
    struct Case {
        int32_t command;
        std::string want;
    } cases[] = {{1, "Open (Ctrl+O) - opens a file"},
                 {2, "Save"},
                 {3, "Rename (F2) - renames the symbol"},
                 {4, "Close - closes"},
                 {6, ""}};
    for (const Case &c : cases) {
        char text[TOOLBAR_TIP_MAX];
        ToolbarTipText(c.command, text, sizeof text);
        EXPECT_EQ(text, c.want) << c.command;
    }
    // Cut to the buffer, its neighbours untouched.
    char guarded[TOOLBAR_TIP_MAX + 16];
    memset(guarded, '#', sizeof guarded);
    ToolbarTipText(5, guarded, TOOLBAR_TIP_MAX);
    EXPECT_EQ(strlen(guarded), (size_t)TOOLBAR_TIP_MAX - 1);
    EXPECT_EQ(std::string(guarded, 17), "Long (Ctrl+O) - x");
    for (size_t i = TOOLBAR_TIP_MAX; i < sizeof guarded; i++) EXPECT_EQ(guarded[i], '#') << i;
    char small[8];
    ToolbarTipText(1, small, sizeof small);
    EXPECT_STREQ(small, "Open (C");
}

TEST_F(ToolbarTest, UnsetHooksGiveAnEmptyText) {
    char text[32] = "stale";
    ToolbarTipText(1, text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST_F(ToolbarTest, TipRequestsPointAtTheFilledBuffer) {
    InstallFakes({{101, "New", 0, "Creates a file."}});
    NMTTDISPINFOA info = {};
    info.hdr.code = TTN_NEEDTEXTA;
    info.hdr.idFrom = 101;
    ASSERT_TRUE(TipNeedText(&info.hdr));
    EXPECT_STREQ(info.lpszText, "New - creates a file");

    // A toolbar with a tooltip callback of its own answers its tooltips' requests.
    ToolbarInfo *toolbar = ToolbarCreate(parent, 7, (ToolbarCreateFlags)0, 0, 0, threeKinds, OwnTipText);
    info.hdr.hwndFrom = (HWND)SendMessageA(toolbar->window, TB_GETTOOLTIPS, 0, 0);
    ASSERT_TRUE(TipNeedText(&info.hdr));
    EXPECT_STREQ(info.lpszText, "own 101");

    // As the tooltip asks: through the toolbar, which passes the request on to its parent.
    uiNotifyAnswer = [](NMHDR *notification) -> LRESULT {
        TipNeedText(notification);
        return 0;
    };
    uiNotifies.clear();
    NMTTDISPINFOW wide = {};
    wide.hdr = {info.hdr.hwndFrom, 101, TTN_GETDISPINFOW};
    wide.lpszText = wide.szText;
    SendMessageW(toolbar->window, WM_NOTIFY, 101, (LPARAM)&wide);
    int asked = 0;
    for (const UiMessage &m : uiNotifies)
        asked += m.code == (UINT)TTN_NEEDTEXTA && m.from == info.hdr.hwndFrom;
    EXPECT_EQ(asked, 1);
    EXPECT_STREQ(wide.lpszText, L"own 101");
    ToolbarDestroy(toolbar);

    info.hdr.code = TTN_NEEDTEXTW;
    EXPECT_FALSE(TipNeedText(&info.hdr));
    EXPECT_FALSE(ToolbarPreTranslate(nullptr));
}
