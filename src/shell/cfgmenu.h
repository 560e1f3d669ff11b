// cfgmenu: the menus of the configuration (prefixes ConfigMenu, ConfigDefaultMenus, helpers CfgMenu): the
// menus section of the configuration file, the default menu bar and the names of the menus. The menu bar
// itself is the window library's: it is reached through hooks the top module registers.
//
// Section (slot 4), little-endian: u32 number of menus (at most 15); for each menu in bar order, u32 item
// count k, k u32 item values (a command index, -1 for a separator, or a user command id 2000..3999), then
// for each user command item in item order its name as a length-prefixed string. The section must end where
// the last name ends. On load each name becomes an id again; an item whose name gives none is dropped, and
// so is an item whose value no command can have (0, below -1, from 4000 up). Menu i is named by entry i of
// the menu-name table, and the whole bar is replaced at once.
#pragma once

#include "shell/config.h"

#include <cstdint>

enum : int32_t {
    CONFIG_MENUS_MAX = 15, // the menu table's size
    CONFIG_MENU_NAMES = 9, // File, Edit, Search, Project, Options, View, Window, Help, Work
    CONFIG_MENU_OPTIONS = 4,
    CONFIG_MENU_VIEW = 5,
};

// The bar text ("&File", "Wor&k") and the plain name ("File") of menu i; "OtherMenu" outside 0..8.
const char *ConfigMenuTitle(int32_t menu);
const char *ConfigMenuName(int32_t menu);

// A menu bar as lists of item values.
struct ConfigMenuList {
    int32_t count;
    int32_t *items; // a MemAlloc block of count values; null when count is 0
};
struct ConfigMenuSet {
    int32_t count;
    ConfigMenuList menus[CONFIG_MENUS_MAX];
};
void ConfigMenuSetFree(ConfigMenuSet *set);

// The live menu bar, in the window library. Every member may be null: the neutral answers in brackets.
struct ConfigMenuHooks {
    int32_t (*count)(); // menus of the bar [0]
    // The item values of a menu in a MemAlloc block the caller frees, ended by 0, its count in *count [null]
    int32_t *(*commands)(int32_t menu, int32_t *count);
    // Builds menu i of the set under ConfigMenuTitle(i) and replaces the bar whole; false (the bar as it
    // was) when that cannot be done [false]
    bool (*install)(const ConfigMenuSet *set);
    void (*clear)(); // an empty bar [nothing]
};
void ConfigSetMenuHooks(const ConfigMenuHooks *hooks); // null: all neutral

void ConfigMenusClear();
bool ConfigDefaultMenus(); // File, Edit, Search, Project, Options, View, Window and Help
// The lists of the default bar, for the menu-assignment dialog's reset.
bool ConfigDefaultMenuSet(ConfigMenuSet *out); // false without memory: out empty
// Brings a bar read from a file of the version up to date: items that later versions added, where the
// user has none of them, and the Options and View menus regrouped. True when it changed anything.
bool ConfigMenusUpgrade(ConfigMenuSet *set, uint32_t version);

extern const ConfigOwner cfgMenuOwner;
