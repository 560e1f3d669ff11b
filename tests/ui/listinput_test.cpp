// The list control under the mouse and the keyboard, through real lists under a test owner, the mouse
// scripted through the tracking poll:
// - click tracking: the row under a press, a release outside restoring the previous item unreported, the
//   report on release, scrolling above and below, a drag offered sideways or far above in the first stage,
//   Ctrl and Shift with multiple selection, a right press keeping a multiple selection;
// - double-clicks and the outline indent, check images toggled by a click and by Space (three states);
// - keys: the built-in mapping, the owner's list commands, keys bound to the library's commands, unmapped
//   keys to the parent, type-ahead, the outline keys, Shift+Down then Shift+Up;
// - commands: moving, paging, first and last, scrolling, the separator bit, expanding and collapsing with
//   the rows below moving, "Expand Special..." beeping without children;
// - the scroll bar and the wheel (lines setting, never past a page); the style-0x40 context menu;
// - drop-target feedback: enter, the dwell of 500 ms before scrolling on the fake clock, the dragged item
//   refused in its own list.
#include "ui/listbox.h"

#include "base/keyinp.h"
#include "base/plex.h"
#include "base/sound.h"
#include "base/tick.h"
#include "base/toolbox.h"
#include "base/wheel.h"
#include "ui/drag.h"
#include "ui/draw.h"
#include "ui/menu.h"
#include "ui/listtest.h"
#include "ui/track.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

enum : int32_t {
    CMD_SEARCH_LIST = 368,
    CMD_SEARCH_FORWARD = 42,
    CMD_EXPAND_SPECIAL = 451,
    CMD_COPY_LIST = 496,
    CMD_EXPAND = 480,
    CMD_COLLAPSE = 481
};

int beeps;
BOOL WINAPI CountBeep(UINT) {
    beeps++;
    return TRUE;
}

uint32_t fakeNow;
std::vector<uint32_t> sleeps;
uint32_t FakeNow() {
    return fakeNow;
}
void FakeSleep(uint32_t ms) {
    sleeps.push_back(ms);
    fakeNow += ms;
}

// An outline whose owner keeps its items: item 1 has two children when expanded.
struct Outline {
    std::vector<std::string> *texts;
    std::vector<int32_t> *levels;
    bool expanded = false;
    bool Answer(ListboxNotify *r, LRESULT *result) {
        int32_t item = (int32_t)r->w[LISTBOX_W_ITEM];
        switch (r->w[LISTBOX_W_CODE]) {
        case 14:
        case 16:
            if (item != 1 || expanded) break;
            texts->insert(texts->begin() + 2, {"child a", "child b"});
            levels->insert(levels->begin() + 2, {1, 1});
            expanded = true;
            *result = 2;
            return true;
        case 15:
            if (item != 1 || !expanded) break;
            texts->erase(texts->begin() + 2, texts->begin() + 4);
            levels->erase(levels->begin() + 2, levels->begin() + 4);
            expanded = false;
            *result = 2;
            return true;
        case 17: *result = item == 1 ? (expanded ? 1 : 2) : 3; return true;
        }
        return false;
    }
};

class ListinputTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        ListboxRegisterClass();
        int32_t commands[TOOLBOX_CMD_SLOTS] = {};
        commands[TOOLBOX_CMD_SEARCH_LIST] = CMD_SEARCH_LIST;
        commands[TOOLBOX_CMD_SEARCH_FORWARD] = CMD_SEARCH_FORWARD;
        commands[TOOLBOX_CMD_EXPAND_SPECIAL] = CMD_EXPAND_SPECIAL;
        commands[TOOLBOX_CMD_COPY_LIST] = CMD_COPY_LIST;
        commands[TOOLBOX_CMD_EXPAND] = CMD_EXPAND;
        commands[TOOLBOX_CMD_COLLAPSE] = CMD_COLLAPSE;
        ToolboxSetCommands(commands);
        beeps = 0;
        SoundSetTestHook(CountBeep);
    }
    void TearDown() override {
        int32_t none[TOOLBOX_CMD_SLOTS] = {};
        ToolboxSetCommands(none);
        DrawExit();
    }
    HWND List(uint32_t style, int n, int height = 120) {
        owner.model.texts.clear();
        for (int i = 0; i < n; i++) owner.model.texts.push_back("item " + std::to_string(i));
        list = owner.List(style, 200, height);
        rowHeight = ListRowRect(list, 0).bottom - ListRowRect(list, 0).top;
        return list;
    }
    // The middle of a row's left part, in the list's client area.
    POINT RowPoint(int32_t row, int x = 40) {
        int32_t top = (int32_t)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
        return POINT{x, (row - top) * rowHeight + rowHeight / 2};
    }
    TrackInput Step(POINT client) {
        ClientToScreen(list, &client);
        return TrackInput{true, client, false, false};
    }
    // Presses at the point, then plays the steps (client points); the release comes at the last one.
    void Press(POINT at, std::vector<POINT> moves, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
        std::vector<TrackInput> steps;
        for (POINT p : moves) steps.push_back(Step(p));
        if (steps.empty()) steps.push_back(Step(at));
        TrackSetTestScript(steps.data(), (int32_t)steps.size());
        SendMessageA(list, message, keys, MAKELPARAM(at.x, at.y));
    }
    void Key(KeyCode key) { SendMessageA(list, LISTBOX_MSG_KEY, (WPARAM)key, 0); }
    std::vector<int32_t> Selection() {
        Plex *sel = ListboxGetSelection(list);
        std::vector<int32_t> items((int32_t *)PlexElem(sel, 0), (int32_t *)PlexElem(sel, PlexCount(sel)));
        PlexFree(sel);
        return items;
    }
    int32_t Top() { return (int32_t)SendMessageA(list, LB_GETTOPINDEX, 0, 0); }
    // Six items at level 0 in an outline with plus and minus images; item 1 has two children.
    void OutlineList() {
        List(0x103, 6);
        ListboxSetOutline(list, true, true);
        owner.model.levels = {0, 0, 0, 0, 0, 0};
        outline = {&owner.model.texts, &owner.model.levels};
        owner.model.hook = [this](ListboxNotify *r, LRESULT *result) { return outline.Answer(r, result); };
    }
    ListOwner owner;
    Outline outline;
    HWND list = nullptr;
    int32_t rowHeight = 0;
};

typedef std::vector<int32_t> Items;

// ---- Click tracking

TEST_F(ListinputTest, PressTracksTheRowAndReportsOnRelease) {
    List(0x3, 30);
    Press(RowPoint(2), {RowPoint(2), RowPoint(4)});
    EXPECT_EQ(Selection(), Items({4}));
    EXPECT_EQ(owner.notes, std::vector<int>({1}));
    EXPECT_EQ(owner.model.Count(12), 0);
}

TEST_F(ListinputTest, ReleaseOutsideRestoresThePreviousItemUnreported) {
    List(0x3, 30);
    ListboxSetCurSel(list, 5);
    RECT client;
    GetClientRect(list, &client);
    // Just below the list: it scrolls one row, and the release there restores the item of before.
    Press(RowPoint(2), {RowPoint(2), POINT{40, client.bottom + 2}});
    EXPECT_EQ(Top(), 1);
    EXPECT_EQ(Selection(), Items({5}));
    EXPECT_TRUE(owner.notes.empty());
    EXPECT_EQ(owner.model.Count(12), 0);
}

TEST_F(ListinputTest, DragOfferedSidewaysOrFarAboveInTheFirstStage) {
    List(0x3, 30);
    ListboxSetCurSel(list, 1);
    owner.model.hook = [](ListboxNotify *r, LRESULT *result) {
        if (r->w[LISTBOX_W_CODE] != 12) return false;
        *result = 1; // the owner ran a drag
        return true;
    };
    Press(RowPoint(2), {RowPoint(2), POINT{40, -4 * rowHeight - 1}});
    const ListboxNotify *begin = owner.model.Last(12);
    ASSERT_NE(begin, nullptr);
    EXPECT_EQ(begin->w[LISTBOX_W_ITEM], 2);
    EXPECT_EQ(begin->w[LISTBOX_W_Y], -4 * rowHeight - 1);
    EXPECT_EQ(ListboxNotifyRect(begin).top, 2 * rowHeight);
    EXPECT_EQ(Selection(), Items({2}));
    EXPECT_TRUE(owner.notes.empty());

    // Three rows above scrolls instead; sideways after the first stage offers nothing.
    SendMessageA(list, LB_SETTOPINDEX, 5, 0);
    owner.model.log.clear();
    Press(RowPoint(6), {RowPoint(6), POINT{40, -3 * rowHeight}});
    EXPECT_EQ(owner.model.Count(12), 0);
    EXPECT_EQ(Top(), 2);
    Press(RowPoint(6), {RowPoint(7), POINT{-5, 10}});
    EXPECT_EQ(owner.model.Count(12), 0);

    // An owner that does not drag lets tracking go on without a row.
    owner.model.hook = nullptr;
    Press(RowPoint(6), {RowPoint(6), POINT{500, RowPoint(6).y}});
    EXPECT_EQ(owner.model.Count(12), 1);
    EXPECT_EQ(Selection(), Items({2})); // released outside: the item of before the press
}

TEST_F(ListinputTest, CtrlAndShiftWithMultipleSelection) {
    List(0x83, 30);
    ListboxSetCurSel(list, 3);
    Press(RowPoint(5), {RowPoint(5)}, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(Selection(), Items({3, 5}));
    Press(RowPoint(3), {RowPoint(3)}, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(Selection(), Items({5}));

    ListboxSetCurSel(list, 4);
    Press(RowPoint(8), {RowPoint(8), RowPoint(6)}, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(Selection(), Items({4, 5, 6}));
    Press(RowPoint(2), {RowPoint(2)}, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(Selection(), Items({2, 3, 4, 5, 6})); // the span grows to the row
    Press(RowPoint(3), {RowPoint(3)}, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(Selection(), Items({3, 4, 5, 6})); // back within it: shrunk on the side away from the anchor

    // A right press keeps a multiple selection for the context menu.
    owner.model.log.clear();
    Press(RowPoint(9), {RowPoint(9)}, WM_RBUTTONDOWN, MK_RBUTTON);
    EXPECT_EQ(Selection(), Items({3, 4, 5, 6}));
    EXPECT_EQ(owner.model.Count(5), 1);
}

TEST_F(ListinputTest, DoubleClicksAndTheOutlineIndent) {
    List(0x107, 10);
    ListboxSetOutline(list, true, true);
    owner.model.levels = {0, 1, 1, 0};
    ListboxSetCurSel(list, 1);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, RowPoint(1).y)); // on the plus and minus
    EXPECT_TRUE(owner.notes.empty());
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(150, RowPoint(1).y));
    SendMessageA(list, WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(2, RowPoint(1).y));
    EXPECT_EQ(owner.notes, std::vector<int>({2, 6}));
}

TEST_F(ListinputTest, ChecksToggleByClickAndSpace) {
    List(0x2083, 5);
    owner.model.checks = {0, 1, 2, 0, 0};
    std::vector<std::pair<int32_t, int32_t>> set;
    owner.model.hook = [&set](ListboxNotify *r, LRESULT *) {
        if (r->w[LISTBOX_W_CODE] == 24) set.push_back({(int32_t)r->w[LISTBOX_W_ITEM], (int32_t)r->w[4]});
        return false;
    };
    Press(POINT{4, RowPoint(1).y}, {});
    EXPECT_EQ(set, (std::vector<std::pair<int32_t, int32_t>>{{1, 0}}));
    set.clear();
    ListboxSetTriState(list, true);
    ListboxClearSelection(list);
    ListboxSelectRange(list, 1, 2, false, LISTBOX_SEL_REPLACE);
    Key(' '); // every selected item toggles, three states
    EXPECT_EQ(set, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}, {2, 0}}));
    // Outside the check zone the click only selects.
    set.clear();
    Press(RowPoint(3, 120), {});
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(Selection(), Items({3}));
}

// ---- Keys

TEST_F(ListinputTest, KeysRunListCommands) {
    List(0x3, 40);
    RECT client;
    GetClientRect(list, &client);
    int32_t page = std::max(1, (int32_t)((client.bottom + rowHeight - 1) / rowHeight) - 1);
    struct Case {
        KeyCode key;
        int32_t selected;
        int32_t top;
    } cases[] = {
        {KEY_NAV | VK_DOWN, 1, 0},
        {KEY_NAV | VK_DOWN, 2, 0},
        {KEY_NAV | VK_UP, 1, 0},
        {KEY_NAV | VK_END, 39, -1},
        {KEY_NAV | VK_HOME, 0, 0},
        {KEY_NAV | VK_NEXT, page, page},
        {KEY_NAV | VK_PRIOR, 0, 0},
        {KEY_CTRL | KEY_NAV | VK_DOWN, 0, 1},
        {KEY_CTRL | KEY_NAV | VK_UP, 0, 0},
    };
    ListboxSetCurSel(list, 0);
    for (const Case &c : cases) {
        Key(c.key);
        EXPECT_EQ(ListboxGetCurSel(list), c.selected) << std::hex << c.key;
        if (c.top >= 0) {
            EXPECT_EQ(Top(), c.top) << std::hex << c.key;
        }
    }
    EXPECT_EQ(owner.notes.size(), 7u); // every move of the selection is reported

    // Unmapped keys go to the parent; the owner's own list command wins over the mapping.
    Key(KEY_CTRL | 'Q');
    EXPECT_EQ(owner.keys, std::vector<WPARAM>({(WPARAM)(KEY_CTRL | 'Q')}));
    owner.model.hook = [](ListboxNotify *r, LRESULT *result) {
        *result = LISTBOX_CMD_LAST;
        return r->w[LISTBOX_W_CODE] == 6;
    };
    Key(KEY_CTRL | 'Q');
    EXPECT_EQ(ListboxGetCurSel(list), 39);
    EXPECT_EQ(owner.keys.size(), 1u);

    // A typed character finds a row by its initial and reports it.
    owner.model.hook = nullptr;
    owner.model.texts[20] = "zebra";
    owner.notes.clear();
    Key('z');
    EXPECT_EQ(ListboxGetCurSel(list), 20);
    EXPECT_EQ(owner.notes, std::vector<int>({1}));
}

TEST_F(ListinputTest, ShiftDownThenShiftUp) {
    List(0x83, 20);
    ListboxSetCurSel(list, 3);
    Key(KEY_SHIFT | KEY_NAV | VK_DOWN);
    EXPECT_EQ(Selection(), Items({3, 4}));
    Key(KEY_SHIFT | KEY_NAV | VK_UP);
    EXPECT_EQ(Selection(), Items({3}));
    Key(KEY_SHIFT | KEY_NAV | VK_UP);
    Key(0x100 | KEY_NAV | VK_UP); // one Shift bit stands for both
    EXPECT_EQ(Selection(), Items({1, 2, 3}));
    Key(KEY_SHIFT | KEY_NAV | VK_DOWN);
    EXPECT_EQ(Selection(), Items({2, 3}));
}

TEST_F(ListinputTest, OutlineKeysExpandAndCollapse) {
    OutlineList();
    ListboxSetCurSel(list, 1);
    ListboxSelectRange(list, 4, 4, false, LISTBOX_SEL_ADD); // a selected item below moves with its row
    Key(KEY_NAV | VK_RIGHT);
    EXPECT_EQ(ListboxGetCount(list), 8);
    EXPECT_EQ(Selection(), Items({1, 6}));
    EXPECT_EQ(GetFocus(), list);
    Key('+'); // already expanded: nothing
    EXPECT_EQ(ListboxGetCount(list), 8);
    Key(KEY_KEYPAD | '-');
    EXPECT_EQ(ListboxGetCount(list), 6);
    EXPECT_EQ(Selection(), Items({1, 4}));
    Key(' ');
    EXPECT_EQ(ListboxGetCount(list), 8);
    Key(KEY_NAV | VK_LEFT);
    EXPECT_EQ(ListboxGetCount(list), 6);

    // A release left of the text toggles the item under it.
    Press(POINT{3, RowPoint(1).y}, {});
    EXPECT_EQ(ListboxGetCount(list), 8);
}

TEST_F(ListinputTest, LibraryCommandsByKeyAndExpandSpecial) {
    OutlineList();
    MenuShellHooks hooks = {};
    hooks.keyToCommand = [](KeyCode key) -> int32_t {
        return key == (KEY_FUNCTION | VK_F9) ? CMD_EXPAND : 0;
    };
    MenuSetShellHooks(&hooks);
    ListboxSetCurSel(list, 1);
    Key(KEY_FUNCTION | VK_F9);
    EXPECT_EQ(ListboxGetCount(list), 8);
    EXPECT_TRUE(ListboxCommand(list, CMD_COLLAPSE));
    EXPECT_EQ(ListboxGetCount(list), 6);

    // "Expand Special...": collapsed, every level; expanded, collapsed first; no children, a beep only.
    EXPECT_TRUE(ListboxCommand(list, CMD_EXPAND_SPECIAL));
    EXPECT_EQ(owner.model.Count(16), 1);
    EXPECT_EQ(ListboxGetCount(list), 8);
    EXPECT_TRUE(ListboxCommand(list, CMD_EXPAND_SPECIAL));
    EXPECT_EQ(owner.model.Count(15), 2);
    EXPECT_EQ(ListboxGetCount(list), 8);
    ListboxSetCurSel(list, 0);
    owner.model.log.clear();
    EXPECT_TRUE(ListboxCommand(list, CMD_EXPAND_SPECIAL));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(owner.model.Count(14) + owner.model.Count(15) + owner.model.Count(16), 0);
    EXPECT_EQ(ListboxGetCount(list), 8);

    EXPECT_FALSE(ListboxCommand(list, LISTBOX_CMD_DOWN | LISTBOX_CMD_MENU_SEPARATOR));
    EXPECT_FALSE(ListboxCommand(list, 12345));
    SendMessageA(list, WM_COMMAND, LISTBOX_CMD_DOWN, 0); // a chosen menu item
    EXPECT_EQ(ListboxGetCurSel(list), 1);
}

// ---- Scrolling

TEST_F(ListinputTest, ScrollBarAndWheel) {
    List(0x3, 100);
    RECT client;
    GetClientRect(list, &client);
    int32_t page = client.bottom / rowHeight;
    SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Top(), 1);
    SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(Top(), 1 + page);
    SendMessageA(list, WM_VSCROLL, SB_PAGEUP, 0);
    SendMessageA(list, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Top(), 0);

    UINT saved = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
    struct Case {
        UINT lines;
        short delta;
        int32_t moved;
    } cases[] = {{3, -120, 3}, {3, 120, -3}, {3, -30, 1}, {40, -120, page}, {WHEEL_PAGESCROLL, -120, page}};
    for (const Case &c : cases) {
        SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, c.lines, nullptr, 0);
        WheelInit();
        SendMessageA(list, LB_SETTOPINDEX, 50, 0);
        SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)c.delta), 0);
        EXPECT_EQ(Top(), 50 + c.moved) << c.lines << " " << c.delta;
    }
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
    WheelInit();
}

// ---- Context menu

std::vector<UINT> menuIds;
int32_t menuChoice;
BOOL WINAPI ScriptedPopup(HMENU menu, UINT flags, int, int, int, HWND, const RECT *) {
    menuIds.clear();
    for (int i = 0; i < GetMenuItemCount(menu); i++) menuIds.push_back(GetMenuItemID(menu, i));
    return flags & TPM_RETURNCMD ? menuChoice : TRUE;
}

// Style 0x40: the list's own menu of "Copy List", "Search List..." and "Search Forward"; else the parent's.
TEST_F(ListinputTest, OwnContextMenuWithStyle40) {
    List(0x43, 10);
    static const MenuOsCalls os = {ScriptedPopup};
    MenuSetOsCalls(&os);
    menuChoice = LISTBOX_CMD_DOWN; // a chosen command runs in the list
    ListboxSetCurSel(list, 0);
    SendMessageA(list, WM_CONTEXTMENU, (WPARAM)list, MAKELPARAM(5, 5));
    EXPECT_EQ(menuIds, std::vector<UINT>({CMD_COPY_LIST, CMD_SEARCH_LIST, CMD_SEARCH_FORWARD}));
    EXPECT_EQ(ListboxGetCurSel(list), 1);
    EXPECT_FALSE(MenuPopupIsOpen());

    menuIds.clear();
    ListboxStyle plain = {0x3, nullptr};
    ListboxSetStyle(list, &plain);
    SendMessageA(list, WM_CONTEXTMENU, (WPARAM)list, MAKELPARAM(5, 5));
    EXPECT_TRUE(menuIds.empty());
}

// ---- Drop target

TEST_F(ListinputTest, DropTargetDwellsBeforeScrollingAndRefusesTheDraggedItem) {
    List(0x3, 100, 200);
    owner.dragAnswer = [this](WPARAM record) { return ListboxDragTarget(list, (const DragRecord *)record); };
    TickSetClock(FakeNow, FakeSleep);
    fakeNow = 1000;
    sleeps.clear();
    POINT screen = RowPoint(1);
    ClientToScreen(list, &screen);
    DragRecord r = {DRAG_ENTER, 7, nullptr, list, screen.x, screen.y, 0, 1};
    EXPECT_EQ(SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0), 1);
    DragRecord elsewhere = r;
    elsewhere.target = owner.window();
    EXPECT_EQ(ListboxDragTarget(list, &elsewhere), 0);

    // Near the bottom: nothing for 500 ms, then a row per step, 62 ms apart.
    RECT client;
    GetClientRect(list, &client);
    POINT low = {40, client.bottom - 3};
    r.phase = DRAG_OVER;
    r.x = low.x;
    r.y = low.y;
    EXPECT_EQ(SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0), 1);
    int32_t dropRow = ListboxGetDropRow(list);
    EXPECT_EQ(dropRow, (client.bottom - 3) / rowHeight);
    fakeNow += 400;
    SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0);
    EXPECT_EQ(Top(), 0);
    fakeNow += 200;
    SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0);
    EXPECT_EQ(Top(), 1);
    EXPECT_EQ(sleeps, std::vector<uint32_t>({62}));
    EXPECT_EQ(ListboxGetDropRow(list), dropRow + 1);
    fakeNow += 8000; // after 8 s more, three rows a step
    SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0);
    EXPECT_EQ(Top(), 4);
    r.y -= 1; // a move starts the dwell again
    SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0);
    EXPECT_EQ(Top(), 4);
    r.phase = DRAG_LEAVE;
    SendMessageA(list, DRAG_MESSAGE, (WPARAM)&r, 0);
    EXPECT_EQ(ListboxGetDropRow(list), -1);

    // While its own item is being dragged out, the list refuses a drop on that item.
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    std::vector<LRESULT> answers;
    owner.model.hook = [&](ListboxNotify *record, LRESULT *) {
        if (record->w[LISTBOX_W_CODE] != 12) return false;
        for (int row : {2, 3}) {
            DragRecord over = {DRAG_OVER, 0, list, list, 40, RowPoint(row).y, 0, 1};
            answers.push_back(ListboxDragTarget(list, &over));
        }
        return false;
    };
    Press(RowPoint(2), {RowPoint(2), POINT{-10, RowPoint(2).y}});
    EXPECT_EQ(answers, std::vector<LRESULT>({0, 1}));
}

} // namespace
