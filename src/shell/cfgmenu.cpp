// cfgmenu: the menus of the configuration (prefixes ConfigMenu, ConfigDefaultMenus, helpers CfgMenu). The
// section is read whole into a staging record before anything is kept: the number of menus must fit the
// menu table, every count must fit what is left of the section, and every name must lie inside it. The
// names become user command ids only when the section is applied, so a refused file makes no user command.
#include "shell/cfgmenu.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/plexvar.h"
#include "base/utilil.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"

#include <cstddef>
#include <cstring>

// ---- Names

struct CfgMenuNameRow {
    const char *title;
    const char *name;
};

static const CfgMenuNameRow cfgMenuNames[CONFIG_MENU_NAMES] = {
    {"&File", "File"},       {"&Edit", "Edit"},       {"&Search", "Search"},
    {"&Project", "Project"}, {"&Options", "Options"}, {"&View", "View"},
    {"&Window", "Window"},   {"&Help", "Help"},       {"Wor&k", "Work"},
};
static const char cfgMenuOther[] = "OtherMenu";

const char *ConfigMenuTitle(int32_t menu) {
    return menu >= 0 && menu < CONFIG_MENU_NAMES ? cfgMenuNames[menu].title : cfgMenuOther;
}

const char *ConfigMenuName(int32_t menu) {
    return menu >= 0 && menu < CONFIG_MENU_NAMES ? cfgMenuNames[menu].name : cfgMenuOther;
}

// ---- Hooks

static int32_t CfgMenuNoCount() {
    return 0;
}
static int32_t *CfgMenuNoCommands(int32_t, int32_t *count) {
    *count = 0;
    return nullptr;
}
static bool CfgMenuNoInstall(const ConfigMenuSet *) {
    return false;
}
static void CfgMenuNoClear() {}

static const ConfigMenuHooks cfgMenuNeutral = {
    .count = CfgMenuNoCount,
    .commands = CfgMenuNoCommands,
    .install = CfgMenuNoInstall,
    .clear = CfgMenuNoClear,
};
static ConfigMenuHooks cfgMenuHooks = cfgMenuNeutral;

void ConfigSetMenuHooks(const ConfigMenuHooks *hooks) {
    ConfigMenuHooks h = hooks ? *hooks : cfgMenuNeutral;
    if (!h.count) h.count = cfgMenuNeutral.count;
    if (!h.commands) h.commands = cfgMenuNeutral.commands;
    if (!h.install) h.install = cfgMenuNeutral.install;
    if (!h.clear) h.clear = cfgMenuNeutral.clear;
    cfgMenuHooks = h;
}

void ConfigMenusClear() {
    cfgMenuHooks.clear();
}

// ---- Sets of lists

void ConfigMenuSetFree(ConfigMenuSet *set) {
    for (int32_t i = 0; i < CONFIG_MENUS_MAX; i++) MemFree(set->menus[i].items);
    memset(set, 0, sizeof *set);
}

static bool CfgMenuSetList(ConfigMenuList *list, const int32_t *items, int32_t count) {
    MemFree(list->items);
    list->items = count ? (int32_t *)MemDup(items, count * sizeof(int32_t)) : nullptr;
    list->count = list->items ? count : 0;
    return list->items || count == 0;
}

static int32_t CfgMenuFind(const ConfigMenuList *list, int32_t value) {
    for (int32_t i = 0; i < list->count; i++)
        if (list->items[i] == value) return i;
    return -1;
}

static int32_t CfgMenuSetCount(const ConfigMenuSet *set, int32_t value) {
    int32_t n = 0;
    for (int32_t m = 0; m < set->count; m++)
        for (int32_t i = 0; i < set->menus[m].count; i++) n += set->menus[m].items[i] == value;
    return n;
}

// Inserts the value at the position; false without memory (the list as it was).
static bool CfgMenuInsert(ConfigMenuList *list, int32_t position, int32_t value) {
    int32_t *items = (int32_t *)MemAlloc((list->count + 1) * sizeof(int32_t));
    if (!items) return false;
    if (list->count) memcpy(items, list->items, position * sizeof(int32_t));
    items[position] = value;
    if (list->count)
        memcpy(items + position + 1, list->items + position, (list->count - position) * sizeof(int32_t));
    MemFree(list->items);
    list->items = items;
    list->count++;
    return true;
}

static void CfgMenuRemoveAll(ConfigMenuSet *set, int32_t value) {
    for (int32_t m = 0; m < set->count; m++) {
        ConfigMenuList *list = &set->menus[m];
        int32_t kept = 0;
        for (int32_t i = 0; i < list->count; i++)
            if (list->items[i] != value) list->items[kept++] = list->items[i];
        list->count = kept;
    }
}

// ---- The default bar

static const int32_t cfgMenuFile[] = {56, 57, 342, 294, 333, 504, -1, 58,  117, 142, 444, 34, 293, 371,
                                      -1, 59, 60,  89,  429, 252, -1, 667, 115, -1,  282, 70, -1,  24};
static const int32_t cfgMenuEdit[] = {87, 88,  307, 308, -1, 90, 91,  92,  248, -1, 344, 103, 53,
                                      -1, 251, 100, 347, -1, 44, 133, 131, 505, -1, 310, 311, 312};
static const int32_t cfgMenuSearch[] = {62, 125, 464, 295, 42, 150, -1, 63, 126, -1, 108, 85, 66,
                                        -1, 43,  106, -1,  84, 405, 46, 45, -1,  61, 105, 86};
static const int32_t cfgMenuProject[] = {74, 75, 76, 77, -1, 465, 116, -1, 81, 250, -1, 67};
static const int32_t cfgMenuOptions[] = {71, -1, 69, 426, -1, 72, 73, 55, -1, 263, 139};
static const int32_t cfgMenuView[] = {596, 327, 319, 446, -1, 289, 330, 291, 349, 434, -1, 112, 628};
static const int32_t cfgMenuWindow[] = {110, 153, -1, 280, 281, 287, 154, 41, -1, 111, 264, 458, -1};
static const int32_t cfgMenuHelp[] = {33, 65, 473, 288, 144, 418, -1, 613, 64};

struct CfgMenuDefault {
    const int32_t *items;
    int32_t count;
};
template <size_t N>
static constexpr CfgMenuDefault CfgMenuOf(const int32_t (&items)[N]) {
    return {items, (int32_t)N};
}
static const CfgMenuDefault cfgMenuDefaults[] = {
    CfgMenuOf(cfgMenuFile),    CfgMenuOf(cfgMenuEdit), CfgMenuOf(cfgMenuSearch), CfgMenuOf(cfgMenuProject),
    CfgMenuOf(cfgMenuOptions), CfgMenuOf(cfgMenuView), CfgMenuOf(cfgMenuWindow), CfgMenuOf(cfgMenuHelp),
};

bool ConfigDefaultMenuSet(ConfigMenuSet *out) {
    memset(out, 0, sizeof *out);
    for (const CfgMenuDefault &menu : cfgMenuDefaults) {
        if (!CfgMenuSetList(&out->menus[out->count++], menu.items, menu.count)) {
            ConfigMenuSetFree(out);
            return false;
        }
    }
    return true;
}

bool ConfigDefaultMenus() {
    ConfigMenuSet set;
    bool ok = ConfigDefaultMenuSet(&set) && cfgMenuHooks.install(&set);
    ConfigMenuSetFree(&set);
    return ok;
}

// ---- Upgrades

enum : int32_t {
    CFG_CMD_PREFERENCES = 71,
    CFG_CMD_RENUMBER = 100,
    CFG_CMD_SYMBOL_WINDOW = 291,
    CFG_CMD_SMART_RENAME = 347,
    CFG_CMD_CONTEXT_WINDOW = 349,
    CFG_CMD_TOOLBARS = 596,
};

// Puts the value after the first item `after`, unless some menu holds it already or none holds `after`.
static bool CfgMenuAddAfter(ConfigMenuSet *set, int32_t after, int32_t value) {
    if (CfgMenuSetCount(set, value)) return false;
    for (int32_t m = 0; m < set->count; m++) {
        int32_t at = CfgMenuFind(&set->menus[m], after);
        if (at >= 0) return CfgMenuInsert(&set->menus[m], at + 1, value);
    }
    return false;
}

// Makes the value the first item of the menu, and takes it off every other place.
static bool CfgMenuMoveFirst(ConfigMenuSet *set, int32_t menu, int32_t value) {
    if (menu >= set->count) return false;
    ConfigMenuList *list = &set->menus[menu];
    if (list->count && list->items[0] == value && CfgMenuSetCount(set, value) == 1) return false;
    CfgMenuRemoveAll(set, value);
    return CfgMenuInsert(list, 0, value);
}

bool ConfigMenusUpgrade(ConfigMenuSet *set, uint32_t version) {
    bool changed = false;
    if (version < 0x02000010) {
        changed |= CfgMenuAddAfter(set, CFG_CMD_RENUMBER, CFG_CMD_SMART_RENAME);
        changed |= CfgMenuAddAfter(set, CFG_CMD_SYMBOL_WINDOW, CFG_CMD_CONTEXT_WINDOW);
    }
    if (version < 0x0300003D) {
        changed |= CfgMenuMoveFirst(set, CONFIG_MENU_OPTIONS, CFG_CMD_PREFERENCES);
        changed |= CfgMenuMoveFirst(set, CONFIG_MENU_VIEW, CFG_CMD_TOOLBARS);
    }
    return changed;
}

// ---- The section (slot 4)

static bool CfgMenuIsUser(int32_t value) {
    return value >= CMD_USER_FIRST && value <= CMD_USER_LAST;
}

static bool CfgMenuWrite32(int file, int32_t value) {
    unsigned char word[4];
    PlexVarPutLE(word, value);
    return FileWriteExact(file, word, 4);
}

static bool CfgMenuWriteNames(int file, const int32_t *items, int32_t count) {
    for (int32_t i = 0; i < count; i++) {
        if (!CfgMenuIsUser(items[i])) continue;
        UserCommand entry;
        UserCommandGet(items[i], &entry);
        unsigned char name[256];
        PstrFromSz(entry.name, name);
        if (!FileWriteExact(file, name, name[0] + 1)) return false;
    }
    return true;
}

static bool CfgMenuWriteOne(int file, int32_t menu) {
    int32_t count = 0;
    int32_t *items = cfgMenuHooks.commands(menu, &count);
    bool ok = CfgMenuWrite32(file, items ? count : 0);
    for (int32_t i = 0; ok && items && i < count; i++) ok = CfgMenuWrite32(file, items[i]);
    ok = ok && (!items || CfgMenuWriteNames(file, items, count));
    MemFree(items);
    return ok;
}

static bool CfgMenuWrite(int file) {
    int32_t count = Clamp(cfgMenuHooks.count(), 0, CONFIG_MENUS_MAX);
    if (!CfgMenuWrite32(file, count)) return false;
    for (int32_t m = 0; m < count; m++)
        if (!CfgMenuWriteOne(file, m)) return false;
    return true;
}

// A section as read: each menu's values, and the names of its user command items back to back.
struct CfgMenuStage {
    ConfigMenuSet set;
    unsigned char *names[CONFIG_MENUS_MAX];
};
static CfgMenuStage cfgMenuStaged;

static bool CfgMenuRead32(int file, uint32_t *left, int32_t *value) {
    unsigned char word[4];
    if (*left < 4 || !FileReadExact(file, word, 4)) return false;
    *left -= 4;
    *value = PlexVarGetLE(word);
    return true;
}

// The names of the menu's user command items, each inside what is left of the section.
static bool CfgMenuReadNames(int file, uint32_t *left, int32_t menu) {
    const ConfigMenuList *list = &cfgMenuStaged.set.menus[menu];
    uint32_t users = 0;
    for (int32_t i = 0; i < list->count; i++) users += CfgMenuIsUser(list->items[i]);
    if (users == 0) return true;
    unsigned char *names = (unsigned char *)MemAlloc(users * 256);
    cfgMenuStaged.names[menu] = names;
    if (!names) return false;
    uint32_t used = 0;
    for (uint32_t n = 0; n < users; n++) {
        unsigned char *name = names + used;
        if (*left < 1 || !FileReadExact(file, name, 1) || name[0] > *left - 1 ||
            !FileReadExact(file, name + 1, name[0]))
            return false;
        *left -= name[0] + 1u;
        used += name[0] + 1u;
    }
    return true;
}

static bool CfgMenuReadOne(int file, uint32_t *left, int32_t menu) {
    int32_t count;
    if (!CfgMenuRead32(file, left, &count) || count < 0 || (uint32_t)count > *left / 4) return false;
    ConfigMenuList *list = &cfgMenuStaged.set.menus[menu];
    cfgMenuStaged.set.count = menu + 1;
    list->items = count ? (int32_t *)MemAlloc(count * sizeof(int32_t)) : nullptr;
    if (count && !list->items) return false;
    list->count = count;
    for (int32_t i = 0; i < count; i++)
        if (!CfgMenuRead32(file, left, &list->items[i])) return false;
    return CfgMenuReadNames(file, left, menu);
}

static bool CfgMenuRead(int file, const ConfigSection *section) {
    uint32_t left = section->size;
    int32_t count;
    if (!CfgMenuRead32(file, &left, &count) || count < 0 || count > CONFIG_MENUS_MAX) return false;
    for (int32_t m = 0; m < count; m++)
        if (!CfgMenuReadOne(file, &left, m)) return false;
    return left == 0;
}

// The menu's values with each user command found again by name; items no command can have are dropped.
static void CfgMenuResolve(int32_t menu) {
    ConfigMenuList *list = &cfgMenuStaged.set.menus[menu];
    const unsigned char *name = cfgMenuStaged.names[menu];
    int32_t kept = 0;
    for (int32_t i = 0; i < list->count; i++) {
        int32_t value = list->items[i];
        if (CfgMenuIsUser(value)) {
            char text[256];
            memcpy(text, name + 1, name[0]);
            text[name[0]] = 0;
            name += name[0] + 1;
            value = GetUserCommandId(text);
        }
        bool command = value == CMD_SEPARATOR || (value > 0 && value <= CMD_USER_LAST);
        if (command) list->items[kept++] = value;
    }
    list->count = kept;
}

static void CfgMenuApply(const ConfigSection *section) {
    for (int32_t m = 0; m < cfgMenuStaged.set.count; m++) CfgMenuResolve(m);
    if (ConfigMenusUpgrade(&cfgMenuStaged.set, section->version)) SetConfigDirty(0);
    cfgMenuHooks.install(&cfgMenuStaged.set);
}

static void CfgMenuDefaults() {
    ConfigDefaultMenus();
}

static void CfgMenuDiscard() {
    ConfigMenuSetFree(&cfgMenuStaged.set);
    for (unsigned char *&names : cfgMenuStaged.names) {
        MemFree(names);
        names = nullptr;
    }
}

const ConfigOwner cfgMenuOwner = {
    .write = CfgMenuWrite,
    .read = CfgMenuRead,
    .apply = CfgMenuApply,
    .defaults = CfgMenuDefaults,
    .discard = CfgMenuDiscard,
};
