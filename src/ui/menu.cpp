// menu: menus built from lists of command indexes (prefix Menu). Each menu of the bar is a record in one
// Handle block: a head (item count, popup, flags, the state bits it was enabled for, name) followed by its
// items; an item whose command supplies a submenu holds the record built from that submenu's list. The
// table of the bar holds at most 15 records, a context menu's included. Records change first and are
// flagged; a rebuild makes a new popup, puts it into the bar before the old one and deletes the old one.
#include "ui/menu.h"

#include "base/seam.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "ui/draw.h"
#include "ui/mdi.h"

#include <cstring>

enum : int32_t {
    MENU_LETTERS = 26,
    MENU_DEPTH_MAX = 8, // submenus within submenus: a command whose list names itself stops here
    MENU_CLOSED = 0xFFFF,
    MENU_NAME_BUFFER = 256,    // a command's name
    MENU_KEY_NAME_BUFFER = 64, // a key's display text
};

static MenuTable menuTable;
static HMENU menuBar;
static int32_t menuChanges;
static int32_t menuPopupOpen;
static MenuShellHooks menuHooks;
static MenuOsCalls menuOs;

static MenuRecord *MenuRec(const Handle *h) {
    return (MenuRecord *)h->ptr;
}

static Handle *MenuAt(int32_t menu) {
    return menu >= 0 && menu < menuTable.count ? menuTable.menus[menu] : nullptr;
}

// ---- The shell's services

static void MenuResetHooks() {
    menuHooks = {};
}

void MenuSetShellHooks(const MenuShellHooks *hooks) {
    menuHooks = hooks ? *hooks : MenuShellHooks{};
    SeamRegisterReset(MenuResetHooks);
}

void MenuCmdName(int32_t command, char *name, int size) {
    if (size > 0) name[0] = 0;
    if (menuHooks.commandName && size > 0) menuHooks.commandName(command, name, size);
}

const char *MenuCmdDescription(int32_t command) {
    const char *text = menuHooks.commandDescription ? menuHooks.commandDescription(command) : nullptr;
    return text ? text : "";
}

void MenuCmdMasks(int32_t command, uint32_t *disableMask, uint32_t *enableMask) {
    *disableMask = *enableMask = 0;
    if (menuHooks.commandMasks) menuHooks.commandMasks(command, disableMask, enableMask);
}

const int32_t *MenuCmdSubmenu(int32_t command) {
    return menuHooks.commandSubmenu ? menuHooks.commandSubmenu(command) : nullptr;
}

KeyCode MenuCmdKey(int32_t command) {
    return menuHooks.commandKey ? menuHooks.commandKey(command) : 0;
}

void MenuKeyName(KeyCode key, char *text, int size) {
    if (size > 0) text[0] = 0;
    if (menuHooks.keyName && size > 0) menuHooks.keyName(key, text, size);
}

int32_t MenuKeyToCommand(KeyCode key) {
    return menuHooks.keyToCommand ? menuHooks.keyToCommand(key) : 0;
}

void MenuUpdateCommandStates(HWND window) {
    if (menuHooks.updateCommandStates) menuHooks.updateCommandStates(window);
}

void MenuStatusResetPosCache() {
    if (menuHooks.statusResetPosCache) menuHooks.statusResetPosCache();
}

void MenuStatusMessage(const char *text) {
    if (menuHooks.statusMessage) menuHooks.statusMessage(text);
}

bool MenuHelpModeIsOn() {
    return menuHooks.helpModeIsOn && menuHooks.helpModeIsOn();
}

static void MenuResetOsCalls() {
    menuOs = {};
}

void MenuSetOsCalls(const MenuOsCalls *calls) {
    menuOs = calls ? *calls : MenuOsCalls{};
    SeamRegisterReset(MenuResetOsCalls);
}

static BOOL MenuTrack(HMENU popup, UINT flags, POINT at, HWND window) {
    if (menuOs.trackPopupMenu) return menuOs.trackPopupMenu(popup, flags, at.x, at.y, 0, window, nullptr);
    return TrackPopupMenu(popup, flags, at.x, at.y, 0, window, nullptr);
}

// ---- Records

static void MenuItemFromValue(MenuItem *item, int32_t value) {
    *item = {0, -1, -1, MENU_SEPARATOR, nullptr};
    if (value == MENU_SEPARATOR) return;
    if (value & MENU_DEFAULT_BIT) item->flags = MENU_ITEM_DEFAULT;
    item->command = value & ~MENU_DEFAULT_BIT;
}

static int32_t MenuItemValue(const MenuItem *item) {
    if (item->command == MENU_SEPARATOR) return MENU_SEPARATOR;
    return item->flags & MENU_ITEM_DEFAULT ? item->command | MENU_DEFAULT_BIT : item->command;
}

static bool MenuListHasMore(const int32_t *commands, int32_t count, int32_t i) {
    return commands && (count < 0 || i < count) && commands[i] != 0;
}

static uint32_t MenuRecordSize(int32_t items) {
    return (uint32_t)(sizeof(MenuRecord) + (size_t)items * sizeof(MenuItem));
}

Handle *MenuCreateRecord(const char *name, int32_t count, const int32_t *commands) {
    int32_t items = 0;
    for (int32_t i = 0; MenuListHasMore(commands, count, i); i++)
        if (commands[i] != MENU_SKIP) items++;
    Handle *h = HAlloc(MenuRecordSize(items));
    if (!h) return nullptr;
    MenuRecord *record = MenuRec(h);
    StrCopyMaxLen(name ? name : "", record->name, MENU_NAME_MAX);
    MenuItem *item = MenuItems(record);
    for (int32_t i = 0; MenuListHasMore(commands, count, i); i++)
        if (commands[i] != MENU_SKIP) MenuItemFromValue(item++, commands[i]);
    record->count = items;
    record->flags = MENU_REBUILD;
    menuChanges++;
    return h;
}

void MenuFreeRecord(Handle *h) {
    if (!h) return;
    MenuRecord *record = MenuRec(h);
    for (int32_t i = 0; i < record->count; i++) MenuFreeRecord(MenuItems(record)[i].submenu);
    HFree(h);
}

// A copy that shares nothing with the original: its submenu records are copies too, and it has no popup.
static Handle *MenuCopyRecord(const Handle *h) {
    Handle *copy = HDup(h);
    if (!copy) return nullptr;
    MenuRecord *record = MenuRec(copy);
    record->popup = nullptr;
    MenuItem *items = MenuItems(record);
    for (int32_t i = 0; i < record->count; i++) {
        if (!items[i].submenu) continue;
        Handle *sub = MenuCopyRecord(items[i].submenu);
        if (!sub) {
            for (int32_t j = i; j < record->count; j++) items[j].submenu = nullptr; // still the original's
            MenuFreeRecord(copy);
            return nullptr;
        }
        items[i].submenu = sub;
    }
    return copy;
}

// ---- Table

int32_t MenuGetChangeCount() {
    return menuChanges;
}

int32_t MenuCount() {
    return menuTable.count;
}

int32_t MenuItemCount(int32_t menu) {
    Handle *h = MenuAt(menu);
    return h ? MenuRec(h)->count : 0;
}

HMENU MenuGetHandle(int32_t menu) {
    Handle *h = MenuAt(menu);
    return h ? MenuRec(h)->popup : nullptr;
}

MenuRecord *MenuGet(int32_t menu) {
    Handle *h = MenuAt(menu);
    return h ? MenuRec(h) : nullptr;
}

Handle *MenuGetRecord(int32_t menu) {
    return MenuAt(menu);
}

static int32_t MenuIndexOfRecord(const Handle *h) {
    for (int32_t i = 0; i < menuTable.count; i++)
        if (menuTable.menus[i] == h) return i;
    return -1;
}

static int32_t MenuBarFind(HMENU popup) {
    if (!menuBar || !popup) return -1;
    int32_t count = GetMenuItemCount(menuBar);
    for (int32_t i = 0; i < count; i++)
        if (GetSubMenu(menuBar, i) == popup) return i;
    return -1;
}

// Where a menu goes in the bar: a maximised child's system menu holds the first place.
static int32_t MenuBarPosition(int32_t menu) {
    int32_t position = menu + (MdiIsChildMaximized() ? 1 : 0);
    return Min(position, Max(GetMenuItemCount(menuBar), 0));
}

// The record's popup out of the bar (and destroyed), or destroyed when it was not in the bar.
static void MenuDropPopup(MenuRecord *record) {
    int32_t position = MenuBarFind(record->popup);
    if (position >= 0)
        DeleteMenu(menuBar, position, MF_BYPOSITION);
    else if (record->popup)
        DestroyMenu(record->popup);
    record->popup = nullptr;
}

// Appends a record to the table: its index, or -1 when the table is full or memory fails.
static int32_t MenuAppendRecord(const char *name, int32_t count, const int32_t *commands) {
    if (menuTable.count >= MENU_MAX) return -1;
    Handle *h = MenuCreateRecord(name, count, commands);
    if (!h) return -1;
    menuTable.menus[menuTable.count] = h;
    return menuTable.count++;
}

bool MenuAdd(const char *name, int32_t count, const int32_t *commands) {
    int32_t menu = MenuAppendRecord(name, count, commands);
    return menu >= 0 && MenuBuild(menu);
}

void MenuRemove(int32_t menu) {
    Handle *h = MenuAt(menu);
    if (!h) return;
    MenuDropPopup(MenuRec(h));
    MenuFreeRecord(h);
    menuTable.count--;
    memmove(&menuTable.menus[menu], &menuTable.menus[menu + 1], (menuTable.count - menu) * sizeof(Handle *));
    menuTable.menus[menuTable.count] = nullptr;
    menuChanges++;
}

static void MenuFreeTable(MenuTable *table) {
    for (int32_t i = 0; i < table->count && i < MENU_MAX; i++) MenuFreeRecord(table->menus[i]);
    *table = {};
}

void MenuClearAll() {
    for (int32_t i = 0; i < menuTable.count; i++) {
        MenuRecord *record = MenuRec(menuTable.menus[i]);
        if (MenuBarFind(record->popup) < 0 && record->popup) DestroyMenu(record->popup);
        record->popup = nullptr; // the bar's go with the bar
    }
    HMENU old = menuBar;
    menuBar = CreateMenu();
    MdiSetMenu(menuBar, nullptr);
    if (old) DestroyMenu(old);
    MenuFreeTable(&menuTable);
    menuChanges++;
}

bool MenuSaveAll(MenuTable *out) {
    *out = {};
    for (int32_t i = 0; i < menuTable.count; i++) {
        Handle *copy = MenuCopyRecord(menuTable.menus[i]);
        if (!copy) {
            MenuFreeTable(out);
            return false;
        }
        out->menus[out->count++] = copy;
    }
    return true;
}

void MenuSetAll(MenuTable *saved) {
    MenuClearAll();
    menuTable = *saved;
    menuTable.count = Clamp(menuTable.count, 0, MENU_MAX);
    *saved = {};
    for (int32_t i = 0; i < menuTable.count; i++) {
        MenuRecord *record = MenuRec(menuTable.menus[i]);
        record->popup = nullptr;
        record->flags |= MENU_REBUILD;
    }
    for (int32_t i = 0; i < menuTable.count; i++)
        if (!MenuBuild(i)) break;
    menuChanges++;
    MenuDrawBar();
}

void MenuFreeSaved(MenuTable *saved) {
    MenuFreeTable(saved);
}

bool MenuInit() {
    menuTable = {};
    HWND frame = WndGetAppFrame();
    HMENU bar = frame ? GetMenu(frame) : nullptr;
    if (!bar) bar = CreateMenu();
    if (!bar) return false;
    menuBar = bar;
    MdiSetMenu(bar, nullptr);
    return true;
}

void MenuExit() {
    MenuFreeTable(&menuTable);
    menuBar = nullptr;
}

void MenuDrawBar() {
    if (WndGetAppFrame()) DrawMenuBar(WndGetAppFrame());
}

// ---- Access letters

struct MenuStandardText {
    const char *name;
    const char *text;
};

static const MenuStandardText menuStandardTexts[] = {
    {"Cut", "Cu&t"},
    {"Copy", "&Copy"},
    {"Paste", "&Paste"},
    {"Undo", "&Undo"},
    {"Save", "&Save"},
    {"Open", "&Open"},
    {"Close", "&Close"},
    {"Save As...", "Save &As..."},
    {"Exit", "E&xit"},
    {"New", "&New"},
    {"Recent Files", "Recent &Files"},
};

const char *MenuDisplayText(const char *name) {
    for (const MenuStandardText &s : menuStandardTexts)
        if (strcmp(s.name, name) == 0) return s.text;
    return name;
}

// Digits and punctuation are booked as A, characters past Z as Z.
static int32_t MenuLetterOf(char c) {
    unsigned char u = (unsigned char)c;
    if (u >= 'a' && u <= 'z') u -= 'a' - 'A';
    return u < 'A' ? 0 : u > 'Z' ? MENU_LETTERS - 1 : u - 'A';
}

// The offset of the '&' that marks a letter ("&&" is a plain ampersand), or -1.
static int32_t MenuMarkedLetter(const char *text) {
    for (int32_t i = 0; text[i]; i++) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            i++;
            continue;
        }
        return text[i + 1] ? i : -1;
    }
    return -1;
}

void MenuAssignAccessLetter(MenuRecord *record, int32_t item, const char *name, bool taken[MENU_LETTERS]) {
    MenuItem *items = MenuItems(record);
    items[item].letter = items[item].letterOffset = -1;
    const char *text = MenuDisplayText(name);
    int32_t mark = MenuMarkedLetter(text);
    if (mark >= 0) {
        int32_t letter = MenuLetterOf(text[mark + 1]);
        for (int32_t j = 0; j < item; j++)
            if (items[j].letter == letter) {
                items[j].letter = items[j].letterOffset = -1;
                break;
            }
        items[item].letter = letter;
        items[item].letterOffset = mark;
        taken[letter] = true;
        return;
    }
    for (int32_t i = 0; text[i]; i++) {
        if (text[i] == ' ' || text[i] == '.') continue;
        int32_t letter = MenuLetterOf(text[i]);
        if (taken[letter]) continue;
        taken[letter] = true;
        items[item].letter = letter;
        items[item].letterOffset = i;
        return;
    }
}

// ---- Building

// The item's text: the name with '&' before its letter, then a tab and the command's key.
static void MenuItemText(const MenuItem *item, const char *name, char *text) {
    int32_t length = (int32_t)strlen(name), at = item->letterOffset;
    int32_t n = 0;
    for (int32_t i = 0; i < length; i++) {
        if (i == at && name[i] != '&') text[n++] = '&';
        text[n++] = name[i];
    }
    text[n] = 0;
    KeyCode key = MenuCmdKey(item->command);
    if (!key) return;
    char keyName[MENU_KEY_NAME_BUFFER];
    MenuKeyName(key, keyName, sizeof keyName);
    text[n++] = '\t';
    StrCopyMaxLen(keyName, text + n, MENU_TEXT_MAX - 1 - n);
}

static HMENU MenuBuildPopupAt(Handle *h, int32_t depth);

// An item's submenu popup, its record kept in the item; null when the command has none or it failed (failed
// tells which).
static HMENU MenuBuildSubmenu(MenuItem *item, const char *text, int32_t depth, bool *failed) {
    *failed = false;
    const int32_t *list = depth < MENU_DEPTH_MAX ? MenuCmdSubmenu(item->command) : nullptr;
    if (!list) {
        MenuFreeRecord(item->submenu);
        item->submenu = nullptr;
        return nullptr;
    }
    Handle *sub = MenuCreateRecord(text, -1, list);
    HMENU popup = sub ? MenuBuildPopupAt(sub, depth + 1) : nullptr;
    if (!popup) {
        MenuFreeRecord(sub);
        *failed = true;
        return nullptr;
    }
    MenuFreeRecord(item->submenu);
    item->submenu = sub;
    return popup;
}

// Appends item i to the popup; false when the popup cannot take it.
static bool MenuAppendOne(HMENU popup, Handle *h, int32_t i, int32_t depth) {
    MenuItem *item = &MenuItems(MenuRec(h))[i];
    item->flags &= ~MENU_ITEM_ABSENT;
    char name[MENU_NAME_BUFFER] = "-";
    if (item->command != MENU_SEPARATOR) MenuCmdName(item->command, name, sizeof name);
    if (name[0] == '-') return AppendMenuA(popup, MF_SEPARATOR | MF_GRAYED, 0, nullptr) != 0;
    char text[MENU_TEXT_MAX];
    MenuItemText(item, name, text);
    UINT flags = MF_STRING;
    if (item->flags & MENU_ITEM_DISABLED) flags |= MF_GRAYED;
    if (item->flags & MENU_ITEM_CHECKED) flags |= MF_CHECKED;
    bool failed;
    HMENU sub = MenuBuildSubmenu(item, text, depth, &failed);
    if (failed) {
        item->flags |= MENU_ITEM_ABSENT;
        return true;
    }
    bool added = sub ? AppendMenuA(popup, flags | MF_POPUP, (UINT_PTR)sub, text)
                     : AppendMenuA(popup, flags, (UINT_PTR)item->command, text);
    if (!added) {
        if (sub) DestroyMenu(sub);
        return false;
    }
    if (item->flags & MENU_ITEM_DEFAULT) SetMenuDefaultItem(popup, GetMenuItemCount(popup) - 1, TRUE);
    return true;
}

static HMENU MenuBuildPopupAt(Handle *h, int32_t depth) {
    HMENU popup = CreatePopupMenu();
    if (!popup) return nullptr;
    MenuRecord *record = MenuRec(h);
    record->popup = popup;
    bool taken[MENU_LETTERS] = {};
    char name[MENU_NAME_BUFFER];
    for (int32_t i = 0; i < record->count; i++) {
        MenuItem *item = &MenuItems(record)[i];
        item->letter = item->letterOffset = -1;
        if (item->command == MENU_SEPARATOR) continue;
        MenuCmdName(item->command, name, sizeof name);
        if (name[0] != '-') MenuAssignAccessLetter(record, i, name, taken);
    }
    for (int32_t i = 0; i < record->count; i++) {
        if (MenuAppendOne(popup, h, i, depth)) continue;
        DestroyMenu(popup);
        MenuRec(h)->popup = nullptr;
        return nullptr;
    }
    return popup;
}

HMENU MenuBuildPopup(Handle *record) {
    return MenuBuildPopupAt(record, 0);
}

// Puts the record's new popup into the bar at the position; without a bar the popup stands alone.
static bool MenuInsertIntoBar(MenuRecord *record, HMENU popup, int32_t position) {
    if (!menuBar) return true;
    return InsertMenuA(menuBar, position, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)popup,
                       record->name) != 0;
}

bool MenuBuild(int32_t menu) {
    Handle *h = MenuAt(menu);
    if (!h) return false;
    HMENU popup = MenuBuildPopup(h);
    MenuRecord *record = MenuRec(h);
    if (popup && MenuInsertIntoBar(record, popup, MenuBarPosition(menu))) {
        record->flags &= ~(MENU_REBUILD | MENU_ENABLED);
        return true;
    }
    if (popup) DestroyMenu(popup);
    record->popup = nullptr;
    record->flags |= MENU_REBUILD;
    return false;
}

void MenuRebuild(int32_t menu) {
    Handle *h = MenuAt(menu);
    if (!h || !(MenuRec(h)->flags & MENU_REBUILD)) return;
    MenuRecord *record = MenuRec(h);
    record->flags &= ~(MENU_REBUILD | MENU_ENABLED);
    HMENU old = record->popup;
    int32_t oldPosition = MenuBarFind(old);
    HMENU popup = MenuBuildPopup(h);
    record = MenuRec(h);
    int32_t position = oldPosition >= 0 ? oldPosition : MenuBarPosition(menu);
    if (!popup || !MenuInsertIntoBar(record, popup, position)) {
        if (popup) DestroyMenu(popup);
        record->popup = old; // the old one stands until the next rebuild
        record->flags |= MENU_REBUILD;
        return;
    }
    if (oldPosition >= 0)
        DeleteMenu(menuBar, oldPosition + 1, MF_BYPOSITION);
    else if (old)
        DestroyMenu(old);
}

void MenuRebuildAll() {
    bool any = false;
    for (int32_t i = 0; i < menuTable.count; i++) {
        if (!(MenuRec(menuTable.menus[i])->flags & MENU_REBUILD)) continue;
        MenuRebuild(i);
        any = true;
    }
    if (any) MenuDrawBar();
}

// ---- Walking items

// The popup position of item i: items left out of the popup take none.
static int32_t MenuItemPosition(MenuRecord *record, int32_t item) {
    int32_t position = 0;
    for (int32_t i = 0; i < item; i++)
        if (!(MenuItems(record)[i].flags & MENU_ITEM_ABSENT)) position++;
    return position;
}

static bool MenuVisit(Handle *h, int32_t command, MenuCmdVisitor visitor, void *user) {
    MenuRecord *record = MenuRec(h);
    for (int32_t i = 0; i < record->count; i++) {
        MenuItem *item = &MenuItems(record)[i];
        if (item->command == command && !visitor(record, i, user)) return false;
        if (item->submenu && !MenuVisit(item->submenu, command, visitor, user)) return false;
    }
    return true;
}

void MenuForEachCmd(int32_t command, MenuCmdVisitor visitor, void *user) {
    for (int32_t i = 0; i < menuTable.count; i++)
        if (!MenuVisit(menuTable.menus[i], command, visitor, user)) return;
}

static bool MenuFoundVisitor(MenuRecord *, int32_t, void *user) {
    *(bool *)user = true;
    return false;
}

static bool MenuHolds(Handle *h, int32_t command) {
    bool found = false;
    MenuVisit(h, command, MenuFoundVisitor, &found);
    return found;
}

struct MenuCheck {
    bool checked;
    bool found;
};

static bool MenuCheckVisitor(MenuRecord *record, int32_t item, void *user) {
    MenuCheck *check = (MenuCheck *)user;
    bool checked = check->checked;
    check->found = true;
    MenuItem *it = &MenuItems(record)[item];
    it->flags = checked ? it->flags | MENU_ITEM_CHECKED : it->flags & ~MENU_ITEM_CHECKED;
    if (record->popup && !(it->flags & MENU_ITEM_ABSENT))
        CheckMenuItem(record->popup, MenuItemPosition(record, item),
                      MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
    return true;
}

bool MenuCheckCmd(int32_t command, bool checked) {
    MenuCheck check = {checked, false};
    MenuForEachCmd(command, MenuCheckVisitor, &check);
    return check.found;
}

int32_t MenuInvalidateCmd(int32_t command) {
    int32_t n = 0;
    for (int32_t i = 0; i < menuTable.count; i++) {
        if (!MenuHolds(menuTable.menus[i], command)) continue;
        MenuRec(menuTable.menus[i])->flags |= MENU_REBUILD;
        n++;
    }
    if (n) menuChanges++;
    return n;
}

void MenuInvalidateAll() {
    for (int32_t i = 0; i < menuTable.count; i++) MenuRec(menuTable.menus[i])->flags |= MENU_REBUILD;
    menuChanges++;
}

// ---- Enabling

static bool MenuItemDisabled(int32_t command, uint32_t state) {
    uint32_t disable, enable;
    MenuCmdMasks(command, &disable, &enable);
    return (disable && (disable & state)) || (enable && !(enable & state));
}

void MenuEnable(int32_t menu, uint32_t state, bool enableAll) {
    Handle *h = MenuAt(menu);
    if (!h) return;
    MenuRecord *record = MenuRec(h);
    if (!enableAll && (record->flags & MENU_ENABLED) && record->state == state) return;
    int32_t position = 0;
    for (int32_t i = 0; i < record->count; i++) {
        MenuItem *item = &MenuItems(record)[i];
        if (item->flags & MENU_ITEM_ABSENT) continue;
        if (item->command != MENU_SEPARATOR) {
            bool disabled = !enableAll && MenuItemDisabled(item->command, state);
            item->flags = disabled ? item->flags | MENU_ITEM_DISABLED : item->flags & ~MENU_ITEM_DISABLED;
            if (record->popup)
                EnableMenuItem(record->popup, position,
                               MF_BYPOSITION | (disabled ? MF_GRAYED | MF_DISABLED : MF_ENABLED));
        }
        position++;
    }
    if (enableAll) {
        record->flags &= ~MENU_ENABLED;
        return;
    }
    record->state = state;
    record->flags |= MENU_ENABLED;
}

void MenuEnableAll(uint32_t state, bool enableAll) {
    for (int32_t i = 0; i < menuTable.count; i++) MenuEnable(i, state, enableAll);
}

// ---- Finding and editing items

int32_t MenuFindCmdIn(int32_t menu, int32_t command) {
    Handle *h = MenuAt(menu);
    if (!h) return -1;
    MenuRecord *record = MenuRec(h);
    for (int32_t i = 0; i < record->count; i++)
        if (MenuItems(record)[i].command == command) return i;
    return -1;
}

bool MenuFindCmd(int32_t command, int32_t *menu, int32_t *item) {
    for (int32_t i = 0; i < menuTable.count; i++) {
        int32_t at = MenuFindCmdIn(i, command);
        if (at < 0) continue;
        *menu = i;
        *item = at;
        return true;
    }
    return false;
}

int32_t MenuIndexOfCmd(int32_t command) {
    int32_t menu, item;
    return MenuFindCmd(command, &menu, &item) ? menu : -1;
}

int32_t MenuGetItemCmd(int32_t menu, int32_t item) {
    Handle *h = MenuAt(menu);
    if (!h || item < 0 || item >= MenuRec(h)->count) return 0;
    return MenuItems(MenuRec(h))[item].command;
}

int32_t *MenuGetCommands(int32_t menu, int32_t *count) {
    *count = 0;
    Handle *h = MenuAt(menu);
    if (!h) return nullptr;
    MenuRecord *record = MenuRec(h);
    int32_t *values = (int32_t *)MemAlloc(((size_t)record->count + 1) * sizeof(int32_t));
    if (!values) return nullptr;
    for (int32_t i = 0; i < record->count; i++) values[i] = MenuItemValue(&MenuItems(record)[i]);
    *count = record->count;
    return values;
}

static void MenuChanged(int32_t menu, bool rebuild) {
    MenuRec(menuTable.menus[menu])->flags |= MENU_REBUILD;
    menuChanges++;
    if (!rebuild) return;
    MenuRebuild(menu);
    MenuDrawBar();
}

bool MenuInsertItem(int32_t menu, int32_t position, int32_t value) {
    Handle *h = MenuAt(menu);
    if (!h || value == 0 || value == MENU_SKIP) return false;
    int32_t count = MenuRec(h)->count;
    if (position < 0 || position > count) position = count;
    if (!HRealloc(h, MenuRecordSize(count + 1), 1)) return false;
    MenuItem *items = MenuItems(MenuRec(h));
    memmove(&items[position + 1], &items[position], (count - position) * sizeof(MenuItem));
    MenuItemFromValue(&items[position], value);
    MenuRec(h)->count++;
    MenuChanged(menu, true);
    return true;
}

bool MenuAppendItem(int32_t menu, int32_t value) {
    return MenuInsertItem(menu, -1, value);
}

void MenuDeleteItem(int32_t menu, int32_t item) {
    Handle *h = MenuAt(menu);
    if (!h || item < 0 || item >= MenuRec(h)->count) return;
    MenuRecord *record = MenuRec(h);
    MenuItem *items = MenuItems(record);
    MenuFreeRecord(items[item].submenu);
    record->count--;
    memmove(&items[item], &items[item + 1], (record->count - item) * sizeof(MenuItem));
    MenuChanged(menu, false);
}

void MenuRemoveCmd(int32_t command) {
    for (int32_t menu = 0; menu < menuTable.count; menu++)
        for (int32_t item; (item = MenuFindCmdIn(menu, command)) >= 0;) MenuDeleteItem(menu, item);
}

bool MenuSetItems(int32_t menu, const int32_t *values, int32_t count) {
    Handle *old = MenuAt(menu);
    if (!old) return false;
    Handle *h = MenuCreateRecord(MenuRec(old)->name, Max(count, 0), values);
    if (!h) return false;
    MenuRec(h)->popup = MenuRec(old)->popup; // so that the rebuild replaces it in the bar
    MenuRec(old)->popup = nullptr;
    MenuFreeRecord(old);
    menuTable.menus[menu] = h;
    MenuChanged(menu, true);
    return true;
}

// ---- Context menus and menu help

int32_t MenuPopupAt(HWND window, const int32_t *commands) {
    return MenuPopupAtEx(window, commands, false);
}

int32_t MenuPopupAtEx(HWND window, const int32_t *commands, bool returnChoice) {
    POINT at;
    GetCursorPos(&at);
    int32_t menu = MenuAppendRecord("", -1, commands);
    if (menu < 0) return 0;
    Handle *h = menuTable.menus[menu];
    if (!MenuBuild(menu)) {
        MenuRemove(menu);
        return 0;
    }
    MenuUpdateCommandStates(window);
    menuPopupOpen++;
    HCURSOR previous =
        SetCursor(drawMetrics.cursorArrow ? drawMetrics.cursorArrow : LoadCursor(nullptr, IDC_ARROW));
    UINT flags = TPM_LEFTALIGN | TPM_RIGHTBUTTON | (returnChoice ? TPM_RETURNCMD : 0);
    BOOL chosen = MenuTrack(MenuRec(h)->popup, flags, at, window);
    SetCursor(previous);
    menuPopupOpen--;
    MenuRemove(MenuIndexOfRecord(h));
    return returnChoice ? (int32_t)chosen : 0;
}

bool MenuPopupIsOpen() {
    return menuPopupOpen > 0;
}

static Handle *MenuFindPopupIn(Handle *h, HMENU popup) {
    MenuRecord *record = MenuRec(h);
    if (record->popup == popup) return h;
    for (int32_t i = 0; i < record->count; i++) {
        Handle *sub = MenuItems(record)[i].submenu;
        Handle *found = sub ? MenuFindPopupIn(sub, popup) : nullptr;
        if (found) return found;
    }
    return nullptr;
}

// The command that a selection in one of the table's popups stands for; 0 when none.
static int32_t MenuSelectedCmd(UINT flags, UINT id, HMENU popup) {
    Handle *h = nullptr;
    for (int32_t i = 0; i < menuTable.count && !h; i++) h = MenuFindPopupIn(menuTable.menus[i], popup);
    if (!h) return 0;
    MenuRecord *record = MenuRec(h);
    for (int32_t i = 0; i < record->count; i++) {
        MenuItem *item = &MenuItems(record)[i];
        if (item->flags & MENU_ITEM_ABSENT || item->command == MENU_SEPARATOR) continue;
        bool match =
            flags & MF_POPUP ? MenuItemPosition(record, i) == (int32_t)id : item->command == (int32_t)id;
        if (match) return item->command;
    }
    return 0;
}

void MenuOnSelect(WPARAM wParam, HMENU menu) {
    MenuStatusResetPosCache();
    UINT flags = HIWORD(wParam);
    int32_t command = 0;
    if (menu && flags != MENU_CLOSED && !(flags & MF_SYSMENU))
        command = MenuSelectedCmd(flags, LOWORD(wParam), menu);
    MenuStatusMessage(command ? MenuCmdDescription(command) : "");
}
