// The rebar, read back through the rebar control's own messages:
// - start-up below common controls 4.70 fails with its message;
// - building from the description list: bands in order, hidden by default where the list says, a line
//   break before the band after a -2 row, which a saved layout marks; the stored layout's round trip;
// - building from a saved layout: its order, a band the list lost skipped, a count of 1,000 and repeated
//   ids read safely (the record's slots hold), and a failing toolbar leaving nothing behind;
// - bands shown and hidden on both common-control paths (showing a visible band changes nothing),
//   textures, check buttons, fitting the width, the rectangle;
// - the container: a height change resizes it, notifications and commands reach the parent, a click on it
//   is swallowed, its end frees everything.
#include "ui/rebar.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/sysprobe.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const ToolbarButton fileButtons[] = {{TOOLBAR_PUSH, 101, "bmpNew"},
                                     {TOOLBAR_PUSH, 102, "bmpOpen"},
                                     {TOOLBAR_PUSH, 103, "bmpSave"},
                                     {TOOLBAR_END, 0, ""}};
const ToolbarButton editButtons[] = {{TOOLBAR_PUSH, 201, "bmpCut"},
                                     {TOOLBAR_PUSH, 202, "bmpCopy"},
                                     {TOOLBAR_SEPARATOR, 0, ""},
                                     {TOOLBAR_CHECK, 203, "bmpPaste"},
                                     {TOOLBAR_END, 0, ""}};
const ToolbarButton brokenButtons[] = {{TOOLBAR_PUSH, 301, "bmpNoSuch"}, {TOOLBAR_END, 0, ""}};

// "Main" and "Edit" on the first line, "Build" (hidden by default) and "View" on the second.
const RebarBand bands[] = {
    {"Main", 0, fileButtons, 597, REBAR_BAND_VISIBLE},
    {"Edit", 1, editButtons, 598, REBAR_BAND_VISIBLE},
    {"", REBAR_LINE_BREAK, nullptr, 0, 0},
    {"Build", 8, fileButtons, 606, 0},
    {"View", 9, editButtons, 603, REBAR_BAND_VISIBLE},
    {nullptr, 0, nullptr, 0, 0},
};

class RebarTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        SysSetTestComctlVersion(0x60000);
        ASSERT_TRUE(RebarInit());
        ASSERT_TRUE(ToolbarInit());
        parent = UiRecordingParent(600, 300);
        ErcClear();
    }
    void TearDown() override {
        DestroyWindow(parent);
        DrawExit();
    }
    int32_t BandCount(const RebarInfo *rebar) {
        return (int32_t)SendMessageA(rebar->control, RB_GETBANDCOUNT, 0, 0);
    }
    REBARBANDINFOA Band(const RebarInfo *rebar, int32_t index) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_ID | RBBIM_CHILD | RBBIM_BACKGROUND | RBBIM_SIZE;
        SendMessageA(rebar->control, RB_GETBANDINFOA, (WPARAM)index, (LPARAM)&band);
        return band;
    }
    std::vector<int32_t> BandIds(const RebarInfo *rebar) {
        std::vector<int32_t> ids;
        for (int32_t i = 0; i < BandCount(rebar); i++) ids.push_back((int32_t)Band(rebar, i).wID);
        return ids;
    }
    RebarInfo *Shown(RebarInfo *rebar) {
        if (rebar) RebarShow(rebar, true);
        UiDrain();
        return rebar;
    }
    int ChildCount() {
        int count = 0;
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) count++;
        return count;
    }
    HWND parent = nullptr;
};

// A layout whose last byte ends a readable page, so that a read past it faults.
class GuardedLayout {
public:
    GuardedLayout() {
        base_ = (char *)VirtualAlloc(nullptr, 3 * 4096, MEM_RESERVE, PAGE_NOACCESS);
        VirtualAlloc(base_, 2 * 4096, MEM_COMMIT, PAGE_READWRITE);
        layout_ = (RebarLayout *)(base_ + 2 * 4096 - sizeof(RebarLayout));
        memset(layout_, 0, sizeof *layout_);
    }
    ~GuardedLayout() { VirtualFree(base_, 0, MEM_RELEASE); }
    RebarLayout *operator->() { return layout_; }
    RebarLayout *get() { return layout_; }

private:
    char *base_;
    RebarLayout *layout_;
};

void AddEntry(RebarLayout *layout, int32_t id, int32_t order, int32_t flags, int32_t width = 0) {
    layout->entries[layout->count++] = {id, width, order, flags, {}};
}

} // namespace

// ---- Start-up

TEST_F(RebarTest, StartUpNeedsCommonControls470) {
    SysSetTestComctlVersion(0x40000);
    ErcClear();
    EXPECT_FALSE(RebarInit());
    EXPECT_EQ(ErcGet(), ercRebarComctl);
    EXPECT_STREQ(ErcGet(),
                 "Internet Explorer 3.02 or newer, or ComCtl32.dll version 4.70 or newer is required.");
    SysSetTestComctlVersion(0x40046);
    EXPECT_TRUE(RebarInit());
}

// ---- From the description list

TEST_F(RebarTest, ListGivesBandsInOrderWithBreaksAndVisibility) {
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, REBAR_FLAT | REBAR_TEXTURES));
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(BandIds(rebar), (std::vector<int32_t>{0, 1, 8, 9}));
    EXPECT_EQ(rebar->count, 4);
    EXPECT_TRUE(rebar->flat);
    EXPECT_TRUE(rebar->textures);
    UINT breaks[] = {0, 0, RBBS_BREAK, 0}, hidden[] = {0, 0, RBBS_HIDDEN, 0};
    for (int32_t i = 0; i < 4; i++) {
        REBARBANDINFOA band = Band(rebar, i);
        EXPECT_EQ(band.fStyle & RBBS_BREAK, breaks[i]) << i;
        EXPECT_EQ(band.fStyle & RBBS_HIDDEN, hidden[i]) << i;
        EXPECT_EQ(band.hbmBack, drawMetrics.bmpMarble) << i;
        ToolbarInfo *toolbar = ToolbarFromWindow(band.hwndChild);
        ASSERT_NE(toolbar, nullptr) << i;
        EXPECT_EQ(toolbar->ownerId, (int32_t)band.wID);
        EXPECT_TRUE(toolbar->flat);
        EXPECT_EQ(IsWindowVisible(band.hwndChild) != 0, hidden[i] == 0) << i;
    }
    EXPECT_FALSE(RebarIsBandVisible(rebar, 8));
    EXPECT_TRUE(RebarIsBandVisible(rebar, 9));
    EXPECT_FALSE(RebarIsBandVisible(rebar, 42));
    RebarDestroy(rebar);
}

TEST_F(RebarTest, SavedLayoutMarksTheBandThatStartsASecondLine) {
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, REBAR_FLAT));
    ASSERT_NE(rebar, nullptr);
    RebarShowBand(rebar, 8, true);
    UiDrain();
    ASSERT_EQ(SendMessageA(rebar->control, RB_GETROWCOUNT, 0, 0), 2);
    RebarLayout saved;
    memset(&saved, 0xCC, sizeof saved);
    RebarSaveLayout(rebar, &saved);
    ASSERT_EQ(saved.count, 4);
    EXPECT_EQ(saved.flags, (uint32_t)REBAR_FLAT);
    int32_t ids[] = {0, 1, 8, 9}, flags[] = {1, 1, 3, 1};
    for (int32_t i = 0; i < 4; i++) {
        EXPECT_EQ(saved.entries[i].id, ids[i]) << i;
        EXPECT_EQ(saved.entries[i].order, i) << i;
        EXPECT_EQ(saved.entries[i].flags, flags[i]) << i;
        EXPECT_EQ(saved.entries[i].width, (int32_t)Band(rebar, i).cx) << i;
    }
    EXPECT_EQ(saved.reserved1, 0);
    EXPECT_EQ(saved.entries[99].id, 0);
    EXPECT_EQ(saved.reserved3[207], 0);

    // The saved layout builds the same rebar again.
    RebarDestroy(rebar);
    RebarInfo *again = Shown(RebarCreate(parent, bands, &saved));
    ASSERT_NE(again, nullptr);
    RebarLayout resaved;
    RebarSaveLayout(again, &resaved);
    EXPECT_EQ(memcmp(&saved, &resaved, sizeof saved), 0);
    RebarDestroy(again);
}

TEST_F(RebarTest, HidingEveryBandKeepsThemInTheSavedLayout) {
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, REBAR_TEXTURES));
    ASSERT_NE(rebar, nullptr);
    for (int32_t id : {0, 1, 8, 9}) RebarShowBand(rebar, id, false);
    UiDrain();
    RebarLayout saved;
    RebarSaveLayout(rebar, &saved);
    RebarDestroy(rebar);
    ASSERT_EQ(saved.count, 4);
    EXPECT_EQ(saved.flags, (uint32_t)REBAR_TEXTURES);
    RebarInfo *again = Shown(RebarCreate(parent, bands, &saved));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(BandIds(again), (std::vector<int32_t>{0, 1, 8, 9}));
    RebarShowBand(again, 1, true); // the user can bring a toolbar back
    EXPECT_TRUE(RebarIsBandVisible(again, 1));
    EXPECT_FALSE(RebarIsBandVisible(again, 0));
    RebarDestroy(again);
}

// ---- From a saved layout

TEST_F(RebarTest, SavedOrderComesBackAndLostBandsAreSkipped) {
    RebarLayout layout = {};
    AddEntry(&layout, 9, 0, REBAR_ENTRY_VISIBLE, 180);
    AddEntry(&layout, 0, 3, REBAR_ENTRY_VISIBLE);
    AddEntry(&layout, 77, 1, REBAR_ENTRY_VISIBLE); // the list has no band 77 any more
    AddEntry(&layout, 1, 2, 0);
    RebarInfo *rebar = Shown(RebarCreate(parent, bands, &layout));
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(BandIds(rebar), (std::vector<int32_t>{9, 1, 0}));
    EXPECT_EQ(Band(rebar, 0).cx, 180u);
    EXPECT_FALSE(RebarIsBandVisible(rebar, 1));
    EXPECT_TRUE(RebarIsBandVisible(rebar, 0));
    RebarDestroy(rebar);
}

TEST_F(RebarTest, UntrustedCountsAndRepeatedIdsLoadSafely) {
    GuardedLayout layout;
    for (int32_t i = 0; i < REBAR_LAYOUT_MAX; i++) AddEntry(layout.get(), i % 2, i, REBAR_ENTRY_VISIBLE);
    layout->count = 1000;
    RebarInfo *rebar = Shown(RebarCreate(parent, bands, layout.get()));
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(BandIds(rebar), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(rebar->count, 2);
    RebarDestroy(rebar);

    layout->count = -5;
    rebar = RebarCreate(parent, bands, layout.get());
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(BandCount(rebar), 0);
    RebarDestroy(rebar);
}

TEST_F(RebarTest, AFailingToolbarLeavesNothingBehind) {
    const RebarBand broken[] = {
        {"Main", 0, fileButtons, 0, REBAR_BAND_VISIBLE},
        {"Broken", 1, brokenButtons, 0, REBAR_BAND_VISIBLE},
        {nullptr, 0, nullptr, 0, 0},
    };
    uint32_t bytes = HeapTotal();
    int32_t handles = HLiveCount();
    EXPECT_EQ(RebarCreateFromList(parent, broken, (RebarLayoutFlags)0), nullptr);
    EXPECT_EQ(ErcGet(), ercToolbarCreate);
    EXPECT_EQ(ChildCount(), 0);
    EXPECT_EQ(HeapTotal(), bytes);
    EXPECT_EQ(HLiveCount(), handles);
}

TEST_F(RebarTest, DestroyingFreesTheRecordAndTheToolbars) {
    uint32_t bytes = HeapTotal();
    int32_t handles = HLiveCount();
    RebarInfo *rebar = RebarCreateFromList(parent, bands, (RebarLayoutFlags)0);
    ASSERT_NE(rebar, nullptr);
    EXPECT_GT(HLiveCount(), handles);
    RebarDestroy(rebar);
    EXPECT_EQ(ChildCount(), 0);
    EXPECT_EQ(HeapTotal(), bytes);
    EXPECT_EQ(HLiveCount(), handles);
}

// ---- Bands

TEST_F(RebarTest, ShowingBandsOnBothCommonControlPaths) {
    for (uint32_t version : {0x60000u, 0x40047u}) {
        SysSetTestComctlVersion(version);
        RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, (RebarLayoutFlags)0));
        ASSERT_NE(rebar, nullptr);
        HWND toolbar = Band(rebar, 0).hwndChild;
        RebarLayout before, after;
        RebarSaveLayout(rebar, &before);
        RebarShowBand(rebar, 0, true); // already visible: nothing changes
        RebarSaveLayout(rebar, &after);
        EXPECT_EQ(memcmp(&before, &after, sizeof before), 0) << std::hex << version;
        EXPECT_EQ(Band(rebar, 0).fStyle, Band(rebar, 0).fStyle & ~(UINT)RBBS_HIDDEN);

        RebarShowBand(rebar, 0, false);
        EXPECT_FALSE(RebarIsBandVisible(rebar, 0)) << std::hex << version;
        EXPECT_FALSE(IsWindowVisible(toolbar)) << std::hex << version;
        RebarShowBand(rebar, 0, true);
        EXPECT_TRUE(RebarIsBandVisible(rebar, 0)) << std::hex << version;
        EXPECT_TRUE(IsWindowVisible(toolbar)) << std::hex << version;
        RebarShowBand(rebar, 42, false); // no such band
        EXPECT_EQ(BandCount(rebar), 4);
        RebarDestroy(rebar);
    }
}

TEST_F(RebarTest, TexturesAndCheckButtons) {
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, (RebarLayoutFlags)0));
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(Band(rebar, 1).hbmBack, nullptr);
    RebarSetTextures(rebar, true);
    for (int32_t i = 0; i < 4; i++) EXPECT_EQ(Band(rebar, i).hbmBack, drawMetrics.bmpMarble) << i;
    RebarSetTextures(rebar, false);
    for (int32_t i = 0; i < 4; i++) EXPECT_EQ(Band(rebar, i).hbmBack, nullptr) << i;

    HWND edit = Band(rebar, 1).hwndChild;
    RebarCheckButton(rebar, 1, 203, true);
    EXPECT_TRUE(SendMessageA(edit, TB_ISBUTTONCHECKED, 203, 0));
    RebarCheckButton(rebar, 1, 203, false);
    EXPECT_FALSE(SendMessageA(edit, TB_ISBUTTONCHECKED, 203, 0));
    RebarCheckButton(rebar, 42, 203, true); // no such band
    RebarDestroy(rebar);
}

TEST_F(RebarTest, FitsTheParentsWidthUnlessMinimized) {
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, (RebarLayoutFlags)0));
    ASSERT_NE(rebar, nullptr);
    RECT rect;
    RebarGetRect(rebar, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 600);

    SetWindowPos(parent, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    RebarFitWidth(rebar);
    RebarGetRect(rebar, &rect);
    EXPECT_EQ(rect.right, 500);
    GetWindowRect(rebar->control, &rect);
    EXPECT_EQ(rect.right - rect.left, 500);

    SetWindowLongA(parent, GWL_STYLE, GetWindowLongA(parent, GWL_STYLE) | WS_MINIMIZE);
    SetWindowPos(parent, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE);
    RebarFitWidth(rebar);
    RebarGetRect(rebar, &rect);
    EXPECT_EQ(rect.right, 500);
    RebarDestroy(rebar);
}

// ---- The container

TEST_F(RebarTest, HeightChangesResizeTheContainerAndReachTheParent) {
    const RebarBand twoLines[] = {
        {"Main", 0, fileButtons, 0, REBAR_BAND_VISIBLE},
        {"", REBAR_LINE_BREAK, nullptr, 0, 0},
        {"Build", 8, editButtons, 0, 0},
        {nullptr, 0, nullptr, 0, 0},
    };
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, twoLines, (RebarLayoutFlags)0));
    ASSERT_NE(rebar, nullptr);
    RECT control, container;
    GetWindowRect(rebar->control, &control);
    GetWindowRect(rebar->container, &container);
    int32_t oneLine = control.bottom - control.top;
    EXPECT_EQ(container.bottom - container.top, oneLine);

    // Showing the band of the second line makes the rebar taller; the container follows.
    uiNotifies.clear();
    RebarShowBand(rebar, 8, true);
    UiDrain();
    GetWindowRect(rebar->control, &control);
    GetWindowRect(rebar->container, &container);
    EXPECT_GT(control.bottom - control.top, oneLine);
    EXPECT_EQ(container.bottom - container.top, control.bottom - control.top);
    bool heard = false;
    for (const UiMessage &m : uiNotifies)
        heard |= m.code == (UINT)RBN_HEIGHTCHANGE && m.from == rebar->control;
    EXPECT_TRUE(heard);
    RebarDestroy(rebar);
}

TEST_F(RebarTest, ButtonCommandsReachTheParentAndClicksAreSwallowed) {
    RebarInfo *rebar = Shown(RebarCreateFromList(parent, bands, (RebarLayoutFlags)0));
    ASSERT_NE(rebar, nullptr);
    HWND toolbar = Band(rebar, 0).hwndChild;
    RECT button;
    SendMessageA(toolbar, TB_GETITEMRECT, 1, (LPARAM)&button);
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    uiCommands.clear();
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    UiDrain();
    ASSERT_EQ(uiCommands.size(), 1u);
    EXPECT_EQ(LOWORD(uiCommands[0].code), 102);

    EXPECT_EQ(SendMessageA(rebar->container, WM_LBUTTONDOWN, MK_LBUTTON, 0), 1);
    EXPECT_EQ(SendMessageA(rebar->container, WM_LBUTTONDBLCLK, MK_LBUTTON, 0), 1);
    RebarDestroy(rebar);
}
