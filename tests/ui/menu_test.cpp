// Menus built from command lists, with a small command table behind the shell's hooks:
// - item texts: access letters as a table (standard texts, a letter taken back, no free letter, digits and
//   punctuation booked as A and Z, the name's own '&'), separators from -1 and '-' names, -2 leaving no
//   trace, keys behind a tab, submenus, the default item, a submenu that names itself;
// - records and the table: names cut at 31, a 16th menu refused (also for a context menu), the bar's places
//   after a maximised MDI child, rebuilding in place, editing items, finding commands;
// - enabling by the masks and the state bits, checking into submenus, walking the items depth first;
// - saving, clearing and restoring the table with deep copies, freeing a saved table, a failed save;
// - context menus through a scripted popup (the open counter, the choice, the command-state update);
// - menu help in the status bar.
#include "ui/menu.h"

#include "base/heap.h"
#include "base/utilil.h"
#include "base/wndtest.h"
#include "ui/mdi.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct FakeCommand {
    std::string name;
    std::string description;
    uint32_t disable = 0, enable = 0;
    KeyCode key = 0;
    std::vector<int32_t> submenu; // ended by 0 when not empty
};
std::map<int32_t, FakeCommand> commands;

void FakeName(int32_t command, char *name, int size) {
    auto it = commands.find(command);
    StrCopyMaxLen(it == commands.end() ? "" : it->second.name.c_str(), name, size - 1);
}
const char *FakeDescription(int32_t command) {
    auto it = commands.find(command);
    return it == commands.end() ? "" : it->second.description.c_str();
}
void FakeMasks(int32_t command, uint32_t *disable, uint32_t *enable) {
    *disable = commands[command].disable;
    *enable = commands[command].enable;
}
const int32_t *FakeSubmenu(int32_t command) {
    auto it = commands.find(command);
    return it == commands.end() || it->second.submenu.empty() ? nullptr : it->second.submenu.data();
}
KeyCode FakeKey(int32_t command) {
    return commands[command].key;
}
void FakeKeyName(KeyCode key, char *text, int size) {
    StrCopyMaxLen(key == (KEY_CTRL | 'O') ? "Ctrl+O" : "?", text, size - 1);
}
std::vector<HWND> updatedFor;
void FakeUpdate(HWND window) {
    updatedFor.push_back(window);
}
int positionResets;
void FakeResetPos() {
    positionResets++;
}
std::vector<std::string> status;
void FakeStatus(const char *text) {
    status.push_back(text);
}

// The scripted popup: what it saw, and the command it answers.
int32_t trackCalls;
bool openWhileTracking;
int32_t countWhileTracking;
int32_t popupItems;
int32_t choice;
UINT trackFlags;
BOOL WINAPI FakeTrack(HMENU menu, UINT flags, int, int, int, HWND, const RECT *) {
    trackCalls++;
    openWhileTracking = MenuPopupIsOpen();
    countWhileTracking = MenuCount();
    popupItems = GetMenuItemCount(menu);
    trackFlags = flags;
    return flags & TPM_RETURNCMD ? choice : TRUE;
}

class MenuTest : public testing::Test {
protected:
    void SetUp() override {
        frame = UiShownFrame();
        commands.clear();
        status.clear();
        updatedFor.clear();
        positionResets = trackCalls = 0;
        static const MenuShellHooks hooks = {FakeName,     FakeDescription, FakeMasks, FakeSubmenu,
                                             FakeKey,      FakeKeyName,     nullptr,   FakeUpdate,
                                             FakeResetPos, FakeStatus,      nullptr};
        MenuSetShellHooks(&hooks);
        static const MenuOsCalls os = {FakeTrack};
        MenuSetOsCalls(&os);
        ASSERT_TRUE(MenuInit());
        bar = GetMenu(frame);
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override {
        UiCloseMdiChildren();
        MenuClearAll();
        MenuExit();
    }
    // Commands 1..n named in order; the list of them.
    std::vector<int32_t> Named(std::initializer_list<const char *> names, int32_t first = 1) {
        std::vector<int32_t> list;
        for (const char *name : names) {
            commands[first].name = name;
            list.push_back(first++);
        }
        list.push_back(0);
        return list;
    }
    // "&File" and "&Edit", each holding "Recent Files" (a submenu of "Plain") and "Plain".
    void TwoMenusWithSubmenus() {
        Named({"Recent Files", "Plain"});
        commands[1].submenu = {2, 0};
        const int32_t list[] = {1, 2, 0};
        ASSERT_TRUE(MenuAdd("&File", -1, list));
        ASSERT_TRUE(MenuAdd("&Edit", -1, list));
    }
    static std::string Text(HMENU popup, int position) {
        char text[MENU_TEXT_MAX];
        if (GetMenuStringA(popup, position, text, sizeof text, MF_BYPOSITION) <= 0) return "";
        return text;
    }
    static std::vector<std::string> Texts(HMENU popup) {
        std::vector<std::string> texts;
        for (int i = 0; i < GetMenuItemCount(popup); i++) {
            UINT state = GetMenuState(popup, i, MF_BYPOSITION);
            texts.push_back(state & MF_SEPARATOR ? "--" : Text(popup, i));
        }
        return texts;
    }
    HWND frame = nullptr;
    HMENU bar = nullptr;
};

typedef std::vector<std::string> Strings;

// ---- Item texts

TEST_F(MenuTest, AccessLettersAreChosenAsTheMenuReadsDown) {
    struct Case {
        std::initializer_list<const char *> names;
        Strings texts;
    } cases[] = {
        {{"Copy", "Close"}, {"Copy", "&Close"}},
        {{"Save As..."}, {"Save &As..."}},
        {{"Cut", "Paste", "Recent Files", "Exit"}, {"Cu&t", "&Paste", "Recent &Files", "E&xit"}},
        {{"Ab", "Ba", "AB"}, {"&Ab", "&Ba", "AB"}},
        {{"1x", "Apple"}, {"&1x", "A&pple"}},
        {{"~q", "Zed"}, {"&~q", "Z&ed"}},
        {{". Go", "Gone"}, {". &Go", "G&one"}},
        {{"Fi&nd", "Next", "A && B"}, {"Fi&nd", "N&ext", "&A && B"}},
    };
    for (const Case &c : cases) {
        MenuClearAll();
        std::vector<int32_t> list = Named(c.names);
        ASSERT_TRUE(MenuAdd("&Test", -1, list.data()));
        EXPECT_EQ(Texts(MenuGetHandle(0)), c.texts) << *c.names.begin();
    }
}

TEST_F(MenuTest, SeparatorsKeysSubmenusAndTheDefaultItem) {
    Named({"Open", "-Rule", "Recent Files", "Plain"});
    commands[1].key = KEY_CTRL | 'O';
    commands[3].submenu = {10, 11, 0};
    commands[10].name = "one.c";
    commands[11].name = "two.c";
    const int32_t list[] = {1, MENU_SKIP, MENU_SEPARATOR, 2, 3, (int32_t)(4 | MENU_DEFAULT_BIT), 0};
    ASSERT_TRUE(MenuAdd("&File", -1, list));
    HMENU popup = MenuGetHandle(0);
    EXPECT_EQ(MenuItemCount(0), 5);
    EXPECT_EQ(Texts(popup), Strings({"&Open\tCtrl+O", "--", "--", "Recent &Files", "&Plain"}));
    HMENU sub = GetSubMenu(popup, 3);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Texts(sub), Strings({"&one.c", "&two.c"}));
    EXPECT_EQ(GetMenuItemID(sub, 1), 11u);
    EXPECT_EQ(GetMenuDefaultItem(popup, TRUE, 0), 4u);
    EXPECT_EQ(GetSubMenu(bar, 0), popup);
    EXPECT_EQ(Text(bar, 0), "&File");

    // A count reads at most that many values.
    ASSERT_TRUE(MenuAdd("&Two", 2, list));
    EXPECT_EQ(MenuItemCount(1), 1);

    // A submenu that names itself stops at a depth instead of running out of stack.
    commands[5] = {"Loop", "", 0, 0, 0, {5, 0}};
    const int32_t loop[] = {5, 0};
    ASSERT_TRUE(MenuAdd("&Loop", -1, loop));
    int depth = 0;
    for (HMENU m = MenuGetHandle(2); m && GetMenuItemCount(m) > 0; m = GetSubMenu(m, 0)) depth++;
    EXPECT_GT(depth, 1);
    EXPECT_LT(depth, 20);
}

// ---- Records and the table

TEST_F(MenuTest, LongNameIsCutAt31) {
    std::string name(40, 'n');
    std::vector<int32_t> list = Named({"Item"});
    ASSERT_TRUE(MenuAdd(name.c_str(), -1, list.data()));
    EXPECT_EQ(std::string(MenuGet(0)->name), name.substr(0, 31));
    EXPECT_EQ(Text(bar, 0), name.substr(0, 31));
}

TEST_F(MenuTest, SixteenthMenuIsRefused) {
    std::vector<int32_t> list = Named({"Item"});
    for (int i = 0; i < MENU_MAX; i++) ASSERT_TRUE(MenuAdd("M", -1, list.data())) << i;
    int32_t changes = MenuGetChangeCount();
    EXPECT_FALSE(MenuAdd("M", -1, list.data()));
    EXPECT_EQ(MenuCount(), MENU_MAX);
    EXPECT_EQ(GetMenuItemCount(bar), MENU_MAX);
    EXPECT_EQ(MenuGetChangeCount(), changes);
    EXPECT_EQ(MenuPopupAtEx(frame, list.data(), true), 0);
    EXPECT_EQ(trackCalls, 0);
    EXPECT_EQ(MenuCount(), MENU_MAX);
}

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MdiChildDefProc(window, message, wParam, lParam);
}

// A maximised child's system menu holds the bar's first place, so every menu goes one place further.
TEST_F(MenuTest, MaximizedChildTakesTheFirstPlace) {
    WtRegisterClass("vxMenuTestChild", ChildProc);
    std::vector<int32_t> list = Named({"Item"});
    ASSERT_TRUE(MenuAdd("&A", -1, list.data()));
    HWND child = MdiCreateChild("vxMenuTestChild", "child", 0, WS_VISIBLE | WS_OVERLAPPEDWINDOW, nullptr);
    MdiMaximize(child);
    ASSERT_TRUE(MdiIsChildMaximized());
    ASSERT_EQ(GetSubMenu(bar, 1), MenuGetHandle(0));
    ASSERT_TRUE(MenuAdd("&B", -1, list.data()));
    EXPECT_EQ(GetSubMenu(bar, 2), MenuGetHandle(1));
    MenuInvalidateAll();
    MenuRebuildAll();
    EXPECT_EQ(GetSubMenu(bar, 1), MenuGetHandle(0));
    EXPECT_EQ(GetSubMenu(bar, 2), MenuGetHandle(1));
}

TEST_F(MenuTest, EditingItemsRebuildsInPlace) {
    std::vector<int32_t> list = Named({"Alpha", "Beta", "Gamma"});
    Named({"Delta"}, 4);
    ASSERT_TRUE(MenuAdd("&One", -1, list.data()));
    ASSERT_TRUE(MenuAdd("&Two", -1, list.data()));
    HMENU before = MenuGetHandle(0);
    int32_t changes = MenuGetChangeCount();
    ASSERT_TRUE(MenuInsertItem(0, 1, 4 | MENU_DEFAULT_BIT));
    EXPECT_NE(MenuGetHandle(0), before);
    EXPECT_EQ(GetSubMenu(bar, 0), MenuGetHandle(0));
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_GT(MenuGetChangeCount(), changes);
    EXPECT_EQ(Texts(MenuGetHandle(0)), Strings({"&Alpha", "&Delta", "&Beta", "&Gamma"}));
    ASSERT_TRUE(MenuAppendItem(0, MENU_SEPARATOR));
    EXPECT_FALSE(MenuAppendItem(0, MENU_SKIP));
    EXPECT_FALSE(MenuAppendItem(7, 1));

    int32_t count;
    int32_t *values = MenuGetCommands(0, &count);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(std::vector<int32_t>(values, values + count + 1),
              std::vector<int32_t>({1, 4 | MENU_DEFAULT_BIT, 2, 3, MENU_SEPARATOR, 0}));
    MemFree(values);

    int32_t menu, item;
    ASSERT_TRUE(MenuFindCmd(3, &menu, &item));
    EXPECT_EQ(menu, 0);
    EXPECT_EQ(item, 3);
    EXPECT_EQ(MenuFindCmdIn(1, 4), -1);
    EXPECT_EQ(MenuIndexOfCmd(4), 0);
    EXPECT_EQ(MenuGetItemCmd(0, 1), 4);
    EXPECT_EQ(MenuGetItemCmd(0, 9), 0);

    MenuRemoveCmd(2);
    EXPECT_EQ(MenuFindCmdIn(0, 2), -1);
    EXPECT_EQ(MenuFindCmdIn(1, 2), -1);
    MenuDeleteItem(0, 0);
    MenuRebuildAll();
    EXPECT_EQ(Texts(MenuGetHandle(0)), Strings({"&Delta", "&Gamma", "--"}));
    EXPECT_EQ(Texts(MenuGetHandle(1)), Strings({"&Alpha", "&Gamma"}));

    const int32_t replaced[] = {3, 1};
    ASSERT_TRUE(MenuSetItems(1, replaced, 2));
    EXPECT_EQ(Texts(GetSubMenu(bar, 1)), Strings({"&Gamma", "&Alpha"}));
    EXPECT_EQ(GetMenuItemCount(bar), 2);

    MenuRemove(0);
    EXPECT_EQ(MenuCount(), 1);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(Text(bar, 0), "&Two");
}

// A changed submenu list shows after the menus that hold its command (in a submenu too) are rebuilt.
TEST_F(MenuTest, InvalidatedMenusAskForTheirSubmenusAgain) {
    Named({"Recent Files", "Other", "Projects"});
    commands[1].submenu = {10, 0};
    commands[3].submenu = {1, 0};
    commands[10].name = "a.c";
    commands[11].name = "b.c";
    const int32_t first[] = {1, 0}, second[] = {2, 0}, third[] = {3, 0};
    ASSERT_TRUE(MenuAdd("&A", -1, first));
    ASSERT_TRUE(MenuAdd("&B", -1, second));
    ASSERT_TRUE(MenuAdd("&C", -1, third));
    commands[1].submenu = {10, 11, 0};
    EXPECT_EQ(MenuInvalidateCmd(1), 2);
    EXPECT_EQ(MenuInvalidateCmd(99), 0);
    MenuRebuildAll();
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(MenuGetHandle(0), 0)), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetSubMenu(MenuGetHandle(2), 0), 0)), 2);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
}

// ---- Enabling, checking and walking

TEST_F(MenuTest, ItemsAreGreyedByTheMasks) {
    struct Case {
        uint32_t disable, enable, state;
        bool grey;
    } cases[] = {{0, 0, 0x1, false},  {0x2, 0, 0x2, true},  {0x2, 0, 0x1, false},
                 {0, 0x4, 0x1, true}, {0, 0x4, 0x5, false}, {0x1, 0x4, 0x5, true}};
    std::vector<int32_t> list;
    for (int i = 0; i < (int)std::size(cases); i++) {
        commands[i + 1] = {"Item" + std::to_string(i), "", cases[i].disable, cases[i].enable, 0, {}};
        list.push_back(i + 1);
    }
    list.push_back(0);
    ASSERT_TRUE(MenuAdd("&M", -1, list.data()));
    HMENU popup = MenuGetHandle(0);
    for (int i = 0; i < (int)std::size(cases); i++) {
        MenuEnableAll(cases[i].state, false);
        EXPECT_EQ((GetMenuState(popup, i, MF_BYPOSITION) & MF_GRAYED) != 0, cases[i].grey) << i;
        EXPECT_EQ((MenuItems(MenuGet(0))[i].flags & MENU_ITEM_DISABLED) != 0, cases[i].grey) << i;
    }
    // The same state again changes nothing; enabling all enables every item.
    EnableMenuItem(popup, 0, MF_BYPOSITION | MF_GRAYED);
    MenuEnableAll(cases[std::size(cases) - 1].state, false);
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED);
    MenuEnableAll(0x2, true);
    for (int i = 0; i < (int)std::size(cases); i++)
        EXPECT_FALSE(GetMenuState(popup, i, MF_BYPOSITION) & MF_GRAYED);
    // A rebuilt menu keeps the states its items hold.
    MenuEnableAll(0x2, false);
    MenuInvalidateAll();
    MenuRebuildAll();
    EXPECT_TRUE(GetMenuState(MenuGetHandle(0), 1, MF_BYPOSITION) & MF_GRAYED);
}

struct Visit {
    std::vector<std::string> seen;
    size_t stopAfter;
};
bool Visitor(MenuRecord *menu, int32_t item, void *user) {
    Visit *v = (Visit *)user;
    v->seen.push_back(std::string(menu->name) + ":" + std::to_string(item));
    return v->seen.size() < v->stopAfter;
}

TEST_F(MenuTest, CheckAndWalkReachSubmenus) {
    Named({"Target", "Holder", "Other"});
    commands[2].submenu = {3, 1, 0};
    const int32_t first[] = {1, 2, 1, 0}, second[] = {3, 1, 0};
    ASSERT_TRUE(MenuAdd("A", -1, first));
    ASSERT_TRUE(MenuAdd("B", -1, second));
    Visit all = {{}, 100};
    MenuForEachCmd(1, Visitor, &all);
    // The submenu record carries the item's text, cut to a name.
    EXPECT_EQ(all.seen, Strings({"A:0", "&Holder:1", "A:2", "B:1"}));
    Visit two = {{}, 2};
    MenuForEachCmd(1, Visitor, &two);
    EXPECT_EQ(two.seen, Strings({"A:0", "&Holder:1"}));

    EXPECT_TRUE(MenuCheckCmd(1, true));
    HMENU a = MenuGetHandle(0), sub = GetSubMenu(a, 1);
    EXPECT_TRUE(GetMenuState(a, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(MenuGetHandle(1), 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(MenuCheckCmd(1, false));
    EXPECT_FALSE(GetMenuState(a, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(MenuCheckCmd(42, true));
}

// ---- Saving and restoring

// The menu-assignment dialog saves the table, clears it to edit, and on Cancel restores the copy; OK frees
// the copy. The copy owns its submenus, so that clearing the live table leaves the copy whole.
TEST_F(MenuTest, SaveClearRestoreAndFreeTheCopy) {
    int32_t start = HLiveCount();
    TwoMenusWithSubmenus();
    int32_t live = HLiveCount();
    ASSERT_EQ(live - start, 4); // two menus, each with one submenu

    MenuTable saved;
    ASSERT_TRUE(MenuSaveAll(&saved));
    ASSERT_EQ(saved.count, 2);
    MenuRecord *copy = (MenuRecord *)saved.menus[0]->ptr;
    EXPECT_NE(MenuItems(copy)[0].submenu, MenuItems(MenuGet(0))[0].submenu);
    EXPECT_EQ(copy->popup, nullptr);
    EXPECT_EQ(HLiveCount(), live + 4);

    MenuClearAll();
    EXPECT_EQ(HLiveCount(), start + 4);
    EXPECT_EQ(GetMenuItemCount(GetMenu(frame)), 0);
    MenuSetAll(&saved);
    EXPECT_EQ(saved.count, 0);
    bar = GetMenu(frame);
    EXPECT_EQ(MenuCount(), 2);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(Text(bar, 1), "&Edit");
    EXPECT_EQ(Texts(GetSubMenu(GetSubMenu(bar, 0), 0)), Strings({"&Plain"}));
    EXPECT_EQ(HLiveCount(), live);

    ASSERT_TRUE(MenuSaveAll(&saved));
    MenuFreeSaved(&saved);
    EXPECT_EQ(HLiveCount(), live);
    MenuClearAll();
    EXPECT_EQ(HLiveCount(), start);
}

TEST_F(MenuTest, FailedSaveFreesItsCopies) {
    TwoMenusWithSubmenus();
    int32_t live = HLiveCount();
    for (int n = 1; n <= 8; n++) {
        MenuTable saved;
        HeapFailNth(n);
        bool ok = MenuSaveAll(&saved);
        HeapFailNth(0);
        if (ok) {
            MenuFreeSaved(&saved);
            continue;
        }
        EXPECT_EQ(saved.count, 0) << n;
        EXPECT_EQ(HLiveCount(), live) << n;
    }
    EXPECT_EQ(MenuCount(), 2);
    EXPECT_EQ(HLiveCount(), live);
}

// ---- Context menus and menu help

TEST_F(MenuTest, ContextMenuIsOpenOnlyWhileTracked) {
    std::vector<int32_t> list = Named({"Cut", "Copy"});
    ASSERT_TRUE(MenuAdd("&Edit", -1, list.data()));
    choice = 2;
    EXPECT_EQ(MenuPopupAtEx(frame, list.data(), true), 2);
    EXPECT_EQ(trackCalls, 1);
    EXPECT_TRUE(openWhileTracking);
    EXPECT_EQ(countWhileTracking, 2);
    EXPECT_EQ(popupItems, 2);
    EXPECT_TRUE(trackFlags & TPM_RETURNCMD);
    EXPECT_TRUE(trackFlags & TPM_RIGHTBUTTON);
    EXPECT_EQ(updatedFor, std::vector<HWND>({frame}));
    EXPECT_FALSE(MenuPopupIsOpen());
    EXPECT_EQ(MenuCount(), 1);
    EXPECT_EQ(GetMenuItemCount(bar), 1);

    EXPECT_EQ(MenuPopupAt(frame, list.data()), 0);
    EXPECT_FALSE(trackFlags & TPM_RETURNCMD);
    EXPECT_EQ(MenuCount(), 1);
}

TEST_F(MenuTest, MenuHelpShowsTheDescription) {
    Named({"Open", "Recent Files"});
    commands[1].description = "Opens a file";
    commands[2].description = "The files opened last";
    commands[2].submenu = {1, 0};
    const int32_t list[] = {1, MENU_SEPARATOR, 2, 0};
    ASSERT_TRUE(MenuAdd("&File", -1, list));
    HMENU popup = MenuGetHandle(0), sub = GetSubMenu(popup, 2);
    HMENU stranger = CreatePopupMenu();
    struct Case {
        WPARAM wParam;
        HMENU menu;
        std::string shown;
    } cases[] = {
        {MAKEWPARAM(1, 0), popup, "Opens a file"}, {MAKEWPARAM(2, MF_POPUP), popup, "The files opened last"},
        {MAKEWPARAM(1, 0), sub, "Opens a file"},   {MAKEWPARAM(0, 0xFFFF), nullptr, ""},
        {MAKEWPARAM(1, 0xFFFF), popup, ""},        {MAKEWPARAM(1, MF_SYSMENU), popup, ""},
        {MAKEWPARAM(1, 0), stranger, ""},          {MAKEWPARAM(7, 0), popup, ""},
    };
    for (const Case &c : cases) {
        status.clear();
        MenuOnSelect(c.wParam, c.menu);
        EXPECT_EQ(status, Strings({c.shown})) << c.wParam;
    }
    EXPECT_EQ(positionResets, (int)std::size(cases));
    DestroyMenu(stranger);
}

} // namespace
