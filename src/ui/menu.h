// menu: the frame's menu bar and every popup menu of the program (prefix Menu). A menu is a list of command
// indexes, not a resource: the module turns the list into a Windows popup, giving each item the command's
// name (or a standard text for a few well-known names), an access letter chosen automatically, the command's
// key behind a tab, and the submenu that a command may supply. Items are enabled from the command masks and
// the state bits, and the status bar shows the description of the item under the cursor.
//
// The bar's contents are one table of up to 15 menu records; a context menu borrows a slot of it while it is
// open. Records are rebuilt lazily: changes flag a menu, and the shell's command-state update rebuilds the
// flagged ones before a menu shows.
//
// The command names, masks, keys and submenus, the status bar and help mode belong to the shell, which is
// above this library: it registers them with MenuSetShellHooks, and the library's other windows (toolbars,
// lists, MDI) reach them through the Menu* accessors below.
//
// Success: true, a handle, a record or an index; failure false, null, 0 or -1, as each call says.
#pragma once

#include "base/heap.h"
#include "base/keycode.h"

#include <windows.h>

#include <cstdint>

enum : int32_t {
    MENU_MAX = 15,      // menus of the bar and context menus together
    MENU_NAME_MAX = 31, // characters of a menu's name
    MENU_SEPARATOR = -1,
    MENU_SKIP = -2,               // a list value that makes no item
    MENU_DEFAULT_BIT = INT32_MIN, // bit 31 of a list value: the menu's default item
    MENU_TEXT_MAX = 512,          // a buffer that holds any item's text
};

// Flags of a menu record.
enum MenuFlags : int32_t {
    MENU_REBUILD = 0x1, // must be rebuilt
    MENU_ENABLED = 0x2, // the items' enable states are current for the remembered state bits
};

// Flags of an item.
enum MenuItemFlags : int32_t {
    MENU_ITEM_CHECKED = 0x2,
    MENU_ITEM_DISABLED = 0x4,
    MENU_ITEM_DEFAULT = 0x8,
    MENU_ITEM_ABSENT = 0x10, // left out of the popup (its submenu failed to build)
};

// One item, in memory only: five words, the last (a Handle) pointer-sized.
struct MenuItem {
    int32_t flags;
    int32_t letterOffset; // of the access letter in the item's text; -1 none
    int32_t letter;       // 0..25 for A..Z; -1 none
    int32_t command;      // MENU_SEPARATOR for a separator
    Handle *submenu;      // the record built from the command's submenu; null when none
};

// A menu record, the head of one Handle block whose items follow it. In memory only; the popup grows on
// 64-bit.
struct MenuRecord {
    int32_t count;
    HMENU popup; // null until built
    int32_t flags;
    uint32_t state; // the state bits the items were last enabled for
    char name[MENU_NAME_MAX + 1];
};

inline MenuItem *MenuItems(MenuRecord *record) {
    return (MenuItem *)(record + 1);
}
static_assert(sizeof(MenuRecord) % alignof(MenuItem) == 0, "items follow the record's head aligned");

// The bar's contents: the number of menus and their records in bar order. 64 bytes on 32-bit systems.
struct MenuTable {
    int32_t count;
    Handle *menus[MENU_MAX];
};
static_assert(sizeof(void *) != 4 || sizeof(MenuTable) == 64, "the menu table is 64 bytes on 32-bit systems");

// Start-up: an empty table; the frame's menu bar (an empty one made when it has none) goes to the MDI
// client.
bool MenuInit();
void MenuExit(); // frees every record; the bar stays with the frame

int32_t MenuGetChangeCount(); // raised by every change to a record or to the table
int32_t MenuCount();
int32_t MenuItemCount(int32_t menu);
HMENU MenuGetHandle(int32_t menu);
MenuRecord *MenuGet(int32_t menu);
Handle *MenuGetRecord(int32_t menu);

// A command list: 32-bit values ended by 0; MENU_SEPARATOR, MENU_SKIP, or a command with MENU_DEFAULT_BIT
// for the default item. A count of -1 reads the list to its end, else at most count values. A name is cut
// at MENU_NAME_MAX characters.
Handle *MenuCreateRecord(const char *name, int32_t count, const int32_t *commands);
void MenuFreeRecord(Handle *record); // with its submenu records; its popup is left alone
// Appends a menu to the table and to the bar; false when the table is full or memory fails (a menu whose
// popup could not be built stays in the table, flagged for the next rebuild).
bool MenuAdd(const char *name, int32_t count, const int32_t *commands);
void MenuRemove(int32_t menu);
void MenuClearAll();

// Saving and restoring the whole table (the menu-assignment dialog): the saved table holds deep copies,
// submenus included, so clearing the live table leaves it whole. MenuSetAll takes the saved records over;
// MenuFreeSaved frees a saved table that is not installed.
bool MenuSaveAll(MenuTable *out);
void MenuSetAll(MenuTable *saved);
void MenuFreeSaved(MenuTable *saved);

// Building.
HMENU MenuBuildPopup(Handle *record); // the new popup, kept in the record; null on failure
bool MenuBuild(int32_t menu);         // builds it into the bar at its place
void MenuRebuild(int32_t menu);       // only when flagged
void MenuRebuildAll();
int32_t MenuInvalidateCmd(int32_t command); // flags the menus that hold the command: their number
void MenuInvalidateAll();
void MenuDrawBar();

// The access letter of item i from its display text (the name or its standard text), against the letters
// taken so far (26 entries), which it books.
void MenuAssignAccessLetter(MenuRecord *record, int32_t item, const char *name, bool taken[26]);
// The text an item shows for a command name: its standard text, else the name itself.
const char *MenuDisplayText(const char *name);

// Enabling and checking from the command masks and the state bits; enableAll enables every item.
void MenuEnable(int32_t menu, uint32_t state, bool enableAll);
void MenuEnableAll(uint32_t state, bool enableAll);
bool MenuCheckCmd(int32_t command, bool checked); // true when some item holds the command

// Every item of the command, depth first into submenus; stops when the visitor answers false.
typedef bool (*MenuCmdVisitor)(MenuRecord *menu, int32_t item, void *user);
void MenuForEachCmd(int32_t command, MenuCmdVisitor visitor, void *user);

// Finding and editing items. Item values are list values (MENU_SEPARATOR, a command with
// MENU_DEFAULT_BIT for the default item).
bool MenuFindCmd(int32_t command, int32_t *menu, int32_t *item);
int32_t MenuFindCmdIn(int32_t menu, int32_t command); // item index, or -1
int32_t MenuIndexOfCmd(int32_t command);              // menu index, or -1
int32_t MenuGetItemCmd(int32_t menu, int32_t item);   // 0 for an item out of range
// The menu's item values in order, ended by 0, in a block the caller frees with MemFree; null on failure.
int32_t *MenuGetCommands(int32_t menu, int32_t *count);
bool MenuAppendItem(int32_t menu, int32_t value);
bool MenuInsertItem(int32_t menu, int32_t position, int32_t value); // position past the end appends
void MenuDeleteItem(int32_t menu, int32_t item);
void MenuRemoveCmd(int32_t command);
bool MenuSetItems(int32_t menu, const int32_t *values, int32_t count);

// Context menus at the cursor. The list is built as a temporary menu of the table; the shell brings the
// command states up to date for the window first. With returnChoice the chosen command is returned, else it
// arrives as WM_COMMAND at the window. 0 when nothing was chosen or the menu could not be made.
int32_t MenuPopupAt(HWND window, const int32_t *commands);
int32_t MenuPopupAtEx(HWND window, const int32_t *commands, bool returnChoice);
bool MenuPopupIsOpen();

// Menu help: WM_MENUSELECT's wParam and menu. Shows the selected command's description in the status bar,
// or clears it when the menu closes.
void MenuOnSelect(WPARAM wParam, HMENU menu);

// ---- The shell's services

// What the menus and the library's other windows ask of the shell. Every member may be null, which gives
// the neutral answer in brackets.
struct MenuShellHooks {
    void (*commandName)(int32_t command, char *name, int size); // display name; '-' first: separator [""]
    const char *(*commandDescription)(int32_t command);         // [""]
    void (*commandMasks)(int32_t command, uint32_t *disableMask, uint32_t *enableMask); // [0, 0]
    const int32_t *(*commandSubmenu)(int32_t command);  // a list ended by 0 for a submenu command [none]
    KeyCode (*commandKey)(int32_t command);             // the first key assigned to it [0]
    void (*keyName)(KeyCode key, char *text, int size); // [""]
    int32_t (*keyToCommand)(KeyCode key);               // [0]
    void (*updateCommandStates)(HWND window);           // rebuild, enable and check every menu [nothing]
    void (*statusResetPosCache)();                      // [nothing]
    void (*statusMessage)(const char *text);            // "" clears the message field [nothing]
    bool (*helpModeIsOn)();                             // [no]
};
void MenuSetShellHooks(const MenuShellHooks *hooks); // null: all neutral

void MenuCmdName(int32_t command, char *name, int size);
const char *MenuCmdDescription(int32_t command); // never null
void MenuCmdMasks(int32_t command, uint32_t *disableMask, uint32_t *enableMask);
const int32_t *MenuCmdSubmenu(int32_t command);
KeyCode MenuCmdKey(int32_t command);
void MenuKeyName(KeyCode key, char *text, int size);
int32_t MenuKeyToCommand(KeyCode key);
void MenuUpdateCommandStates(HWND window);
void MenuStatusResetPosCache();
void MenuStatusMessage(const char *text);
bool MenuHelpModeIsOn();

// Test seam: the system's popup tracking, which a test scripts (a choice, or none).
struct MenuOsCalls {
    BOOL(WINAPI *trackPopupMenu)
    (HMENU menu, UINT flags, int x, int y, int reserved, HWND window, const RECT *rect);
};
void MenuSetOsCalls(const MenuOsCalls *calls); // null: the system's
