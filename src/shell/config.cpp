// config: the configuration file (prefix Config, helpers Cfg). The engine walks three tables of the slots:
// the order a save writes them, the order a load reads them (with each slot's mask, size, version gate and
// load rule) and the order a load applies them; each step calls the slot's owner.
//
// Layout (little-endian): the 480-byte header (ConfigHeader: magic 0x3803, writer version, 80-byte
// description, oldest reader version, 28 zero bytes, 45 (offset, size) pairs from byte 120), then the
// sections in the save order. Files written before version 0x03000002 have a 272-byte header whose table
// holds 19 pairs. A section that a save did not select has (0, 0); one it selected but that holds nothing has
// its offset and size 0.
//
// A load trusts nothing of the file: the header must be whole, every section it reads must lie inside the
// file and after the header, and its reader must stay inside it; a section that breaks any of these refuses
// the file with one alert and nothing changes. Only when every selected section was read are they applied,
// in the apply order.
#include "shell/config.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/filetemp.h"
#include "base/folder.h"
#include "base/path.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/utilil.h"
#include "doc/dta.h"
#include "shell/cfgmenu.h"
#include "shell/cfgsect.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "ui/dlgalert.h"

#include <cstring>

const char ercConfigInvalid[] = "%s is not a valid configuration file.\nIt cannot be opened.";
const char ercConfigNewer[] = "The Configuration File format has changed.  You must use a newer version of "
                              "Veltrix to open it.\n\nFile: %s";

// ---- Hooks

static void CfgNothing() {}
static void CfgShowNothing(ConfigWindowKind, bool) {}
static bool CfgNo() {
    return false;
}
static uint32_t CfgGrey() {
    return 0x808080;
}
static void CfgFontUnchanged(FontDesc *) {}

static const ConfigHooks cfgNeutral = {
    .windowMenuRebuild = CfgNothing,
    .redrawSourceWindows = CfgNothing,
    .redrawAllWindows = CfgNothing,
    .appBackgroundChanged = CfgNothing,
    .showWindows = CfgShowNothing,
    .rebuildToolbars = CfgNothing,
    .hiColor = CfgNo,
    .appBackgroundColor = CfgGrey,
    .themeActive = CfgNo,
    .dialogFont = CfgFontUnchanged,
};
static ConfigHooks cfgHooks = cfgNeutral;

template <typename T>
static void CfgTake(T *slot, T given, T neutral) {
    *slot = given ? given : neutral;
}

void ConfigSetHooks(const ConfigHooks *hooks) {
    ConfigHooks h = hooks ? *hooks : cfgNeutral;
    CfgTake(&h.windowMenuRebuild, h.windowMenuRebuild, cfgNeutral.windowMenuRebuild);
    CfgTake(&h.redrawSourceWindows, h.redrawSourceWindows, cfgNeutral.redrawSourceWindows);
    CfgTake(&h.redrawAllWindows, h.redrawAllWindows, cfgNeutral.redrawAllWindows);
    CfgTake(&h.appBackgroundChanged, h.appBackgroundChanged, cfgNeutral.appBackgroundChanged);
    CfgTake(&h.showWindows, h.showWindows, cfgNeutral.showWindows);
    CfgTake(&h.rebuildToolbars, h.rebuildToolbars, cfgNeutral.rebuildToolbars);
    CfgTake(&h.hiColor, h.hiColor, cfgNeutral.hiColor);
    CfgTake(&h.appBackgroundColor, h.appBackgroundColor, cfgNeutral.appBackgroundColor);
    CfgTake(&h.themeActive, h.themeActive, cfgNeutral.themeActive);
    CfgTake(&h.dialogFont, h.dialogFont, cfgNeutral.dialogFont);
    cfgHooks = h;
}

const ConfigHooks &ConfigHook() {
    return cfgHooks;
}

// ---- State

static char configPath[CONFIG_PATH_MAX + 1];
static char configLastPath[CONFIG_PATH_MAX + 1];
static uint32_t configLastMask;
static bool configDirty;
static bool configDirty2;
static int32_t configChanges;
static uint32_t configLoadedVersion;
static bool configBackupMade;
static char configDescription[CONFIG_DESCRIPTION_SIZE];

void ConfigSetPath(const char *path) {
    StrCopyMaxLen(path, configPath, CONFIG_PATH_MAX);
}

const char *ConfigGetPath() {
    return configPath;
}

void ConfigForgetLastLoad() {
    configLastPath[0] = 0;
    configLastMask = 0;
}

void ConfigResetState() {
    configPath[0] = 0;
    ConfigForgetLastLoad();
    ClearConfigDirty();
    configLoadedVersion = 0;
    configBackupMade = false;
    configDescription[0] = 0;
}

int32_t SetConfigDirty(int flag) {
    configDirty = true;
    if (flag) configDirty2 = true;
    return ++configChanges;
}

void ClearConfigDirty() {
    configDirty = false;
    configDirty2 = false;
}

bool ConfigIsDirty() {
    return configDirty;
}

bool ConfigIsDirty2() {
    return configDirty2;
}

int32_t ConfigChangeCount() {
    return configChanges;
}

uint32_t ConfigLoadedVersion() {
    return configLoadedVersion;
}

const char *ConfigDescription() {
    return configDescription;
}

void ConfigSetDescription(const char *text) {
    StrCopyMaxLen(text, configDescription, CONFIG_DESCRIPTION_SIZE - 1);
}

// ---- The slot tables

enum CfgRowFlags : uint8_t {
    CFG_EXACT = 0x1,         // read only when the size is the fixed one
    CFG_GROUP = 0x2,         // of the display group: read only when slot 0 holds its 44 bytes
    CFG_ELSE_DEFAULTS = 0x4, // selected but not read: the defaults are installed
};

// The load order, with each slot's mask, stored size (0: variable) and version gates.
struct CfgRow {
    int32_t slot;
    uint32_t mask;
    uint32_t size;
    uint32_t minVersion;      // read only from files of this version or later
    uint32_t minApplyVersion; // applied only for files of this version or later
    uint8_t flags;
};

static const CfgRow cfgLoadRows[] = {
    {CONFIG_SLOT_DISPLAY, CONFIG_DISPLAY, 44, 0, 0, CFG_EXACT | CFG_GROUP},
    {CONFIG_SLOT_COLORS, CONFIG_DISPLAY, 172, 0x0300001D, 0, CFG_EXACT | CFG_GROUP | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_PROJECT_WINDOW, CONFIG_DISPLAY, 684, 0x03000033, 0,
     CFG_EXACT | CFG_GROUP | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_CLIP_WINDOW, CONFIG_DISPLAY, 624, 0x03000033, 0, CFG_EXACT | CFG_GROUP | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_SYMBOL_WINDOW, CONFIG_DISPLAY, 212, 0x0200000C, 0,
     CFG_EXACT | CFG_GROUP | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_CONTEXT_WINDOW, CONFIG_DISPLAY, 660, 0x03000033, 0,
     CFG_EXACT | CFG_GROUP | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_OLD_CLIP, CONFIG_DISPLAY, 624, 0x030A0002, 0, CFG_EXACT | CFG_GROUP},
    {CONFIG_SLOT_TYPE_FILTER, CONFIG_DISPLAY, 0, 0x0332001F, 0, CFG_GROUP},
    {CONFIG_SLOT_RELATION, CONFIG_RELATION, 0, 0x03000036, 0x03000008, CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_STYLE_RECORD, CONFIG_STYLES, 1480, 0x020A0000, 0, CFG_EXACT},
    {CONFIG_SLOT_STYLES, CONFIG_STYLES, 0, 0, 0, CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_EDIT, CONFIG_EDIT, 0, 0, 0, 0},
    {CONFIG_SLOT_RESERVED, CONFIG_RESERVED, 32, 0, 0, CFG_EXACT},
    {CONFIG_SLOT_SEARCH, CONFIG_SEARCH, 80, 0, 0, CFG_EXACT | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_REPORT, CONFIG_REPORT, 68, 0, 0, CFG_EXACT},
    {CONFIG_SLOT_KEYMAP, CONFIG_KEYMAP, 0, 0, 0, 0},
    {CONFIG_SLOT_MENUS, CONFIG_MENUS, 0, 0x02000005, 0, 0},
    {CONFIG_SLOT_TOOLBARS, CONFIG_TOOLBARS, 5024, 0, 0, CFG_EXACT | CFG_ELSE_DEFAULTS},
    {CONFIG_SLOT_CUSTOM, CONFIG_CUSTOM | CONFIG_CUSTOM_MERGE, 0, 0, 0, 0},
    {CONFIG_SLOT_LANGUAGES, CONFIG_LANGUAGES, 0, 0, 0, 0},
    {CONFIG_SLOT_DOCTYPES, CONFIG_DOCTYPES | CONFIG_DOCTYPES_MERGE, 0, 0, 0, 0},
    {CONFIG_SLOT_PRINTER, CONFIG_PRINTER, 0, 0, 0, 0},
};

static const int32_t cfgApplyOrder[] = {
    CONFIG_SLOT_STYLE_RECORD, CONFIG_SLOT_STYLES,        CONFIG_SLOT_LANGUAGES,
    CONFIG_SLOT_DISPLAY,      CONFIG_SLOT_COLORS,        CONFIG_SLOT_PROJECT_WINDOW,
    CONFIG_SLOT_CLIP_WINDOW,  CONFIG_SLOT_SYMBOL_WINDOW, CONFIG_SLOT_CONTEXT_WINDOW,
    CONFIG_SLOT_OLD_CLIP,     CONFIG_SLOT_TYPE_FILTER,   CONFIG_SLOT_RELATION,
    CONFIG_SLOT_EDIT,         CONFIG_SLOT_RESERVED,      CONFIG_SLOT_KEYMAP,
    CONFIG_SLOT_MENUS,        CONFIG_SLOT_TOOLBARS,      CONFIG_SLOT_SEARCH,
    CONFIG_SLOT_REPORT,       CONFIG_SLOT_DOCTYPES,      CONFIG_SLOT_CUSTOM,
    CONFIG_SLOT_PRINTER,
};

// The save order and the mask bit that selects each slot; the style sheet's two slots are left out unless
// their bit is asked for.
struct CfgSaveRow {
    int32_t slot;
    uint32_t mask;
};
static const CfgSaveRow cfgSaveRows[] = {
    {CONFIG_SLOT_DISPLAY, CONFIG_DISPLAY},
    {CONFIG_SLOT_EDIT, CONFIG_EDIT},
    {CONFIG_SLOT_RESERVED, CONFIG_RESERVED},
    {CONFIG_SLOT_KEYMAP, CONFIG_KEYMAP},
    {CONFIG_SLOT_MENUS, CONFIG_MENUS},
    {CONFIG_SLOT_TOOLBARS, CONFIG_TOOLBARS},
    {CONFIG_SLOT_SEARCH, CONFIG_SEARCH},
    {CONFIG_SLOT_CUSTOM, CONFIG_CUSTOM},
    {CONFIG_SLOT_DOCTYPES, CONFIG_DOCTYPES},
    {CONFIG_SLOT_PRINTER, CONFIG_PRINTER},
    {CONFIG_SLOT_LANGUAGES, CONFIG_LANGUAGES},
    {CONFIG_SLOT_EMPTY, CONFIG_EMPTY},
    {CONFIG_SLOT_REPORT, CONFIG_REPORT},
    {CONFIG_SLOT_PROJECT_WINDOW, CONFIG_DISPLAY},
    {CONFIG_SLOT_CLIP_WINDOW, CONFIG_DISPLAY},
    {CONFIG_SLOT_SYMBOL_WINDOW, CONFIG_DISPLAY},
    {CONFIG_SLOT_CONTEXT_WINDOW, CONFIG_DISPLAY},
    {CONFIG_SLOT_RELATION, CONFIG_RELATION},
    {CONFIG_SLOT_STYLE_RECORD, CONFIG_STYLES},
    {CONFIG_SLOT_STYLES, CONFIG_STYLES},
    {CONFIG_SLOT_COLORS, CONFIG_DISPLAY},
    {CONFIG_SLOT_TYPE_FILTER, CONFIG_DISPLAY},
};

// The defaults, in the order they are installed; the option words come first (the edit section's owner).
static const int32_t cfgDefaultOrder[] = {
    CONFIG_SLOT_EDIT,           CONFIG_SLOT_DISPLAY,        CONFIG_SLOT_COLORS,
    CONFIG_SLOT_STYLE_RECORD,   CONFIG_SLOT_PROJECT_WINDOW, CONFIG_SLOT_CLIP_WINDOW,
    CONFIG_SLOT_CONTEXT_WINDOW, CONFIG_SLOT_SYMBOL_WINDOW,  CONFIG_SLOT_RELATION,
    CONFIG_SLOT_TYPE_FILTER,    CONFIG_SLOT_SEARCH,         CONFIG_SLOT_REPORT,
    CONFIG_SLOT_KEYMAP,         CONFIG_SLOT_MENUS,          CONFIG_SLOT_DOCTYPES,
    CONFIG_SLOT_CUSTOM,         CONFIG_SLOT_PRINTER,        CONFIG_SLOT_LANGUAGES,
    CONFIG_SLOT_STYLES,         CONFIG_SLOT_TOOLBARS,
};

// ---- Owners

static const ConfigOwner *cfgRegistered[CONFIG_SLOTS];

void ConfigSetOwner(int32_t slot, const ConfigOwner *owner) {
    if (slot >= 0 && slot < CONFIG_SLOTS) cfgRegistered[slot] = owner;
}

void ConfigResetOwners() {
    memset(cfgRegistered, 0, sizeof cfgRegistered);
}

static const ConfigOwner *CfgOwnerOf(int32_t slot) {
    return cfgRegistered[slot] ? cfgRegistered[slot] : CfgBuiltInOwner(slot);
}

// ---- Saving

// A new, empty file beside the target, under a name no file has; its name in out.
static int CfgCreateBeside(const char *path, char *out) {
    char folder[PATH_BUFFER];
    PathSplit(path, folder, nullptr);
    return FileCreateTemp("CF", ".tmp", folder[0] ? folder : ".", out);
}

static bool CfgWriteSections(int file, uint32_t mask, ConfigHeader *header) {
    for (const CfgSaveRow &row : cfgSaveRows) {
        if (!(mask & row.mask)) continue;
        uint32_t start = FileTell(file);
        if (!CfgOwnerOf(row.slot)->write(file)) return false;
        header->slots[row.slot] = {start, FileTell(file) - start};
    }
    return true;
}

static bool CfgWriteFile(int file, uint32_t mask) {
    ConfigHeader header = {};
    header.magic = CONFIG_MAGIC;
    header.version = VERSION_WORD;
    StrCopyMaxLen(configDescription, header.description, CONFIG_DESCRIPTION_SIZE - 1);
    header.oldestReader = CONFIG_OLDEST_READER;
    if (!FileWriteExact(file, &header, sizeof header) || !CfgWriteSections(file, mask, &header)) return false;
    FileSeek(file, 0);
    return FileWriteExact(file, &header, sizeof header) && FileFlushEx(file, FILE_FLUSH_DISK);
}

static bool CfgReplace(const char *written, const char *path) {
    if (FileOsGetCalls()->replace(written, path)) return true;
    ErcSetF(ercFileCreate, path);
    FileOsGetCalls()->remove(written);
    return false;
}

bool ConfigSave(const char *path, bool refresh, uint32_t mask) {
    if (!configBackupMade) configBackupMade = FileBackup(path) != 0;
    char written[PATH_BUFFER];
    int file = CfgCreateBeside(path, written);
    bool ok = file >= 0 && CfgWriteFile(file, mask);
    if (file >= 0 && ok) FileClose(file);
    if (file >= 0 && !ok) FileCloseDelete(file);
    ok = ok && CfgReplace(written, path);
    if (ok) ClearConfigDirty();
    if (refresh) {
        configChanges++;
        cfgHooks.windowMenuRebuild();
    }
    return ok;
}

bool SaveConfigIfDirty(bool refresh) {
    return configDirty && configPath[0] && ConfigSave(configPath, refresh, CONFIG_ALL);
}

// ---- Loading

enum CfgStage : uint8_t { CFG_NOT_STAGED, CFG_STAGED, CFG_STAGED_DEFAULTS };

struct CfgLoad {
    const char *path;
    int file;
    uint32_t mask;
    ConfigHeader header;
    uint32_t headerSize;
    int32_t slotCount;
    uint32_t fileSize;
    uint32_t loaded; // the mask bits whose sections the file holds
    bool displayGroup;
    CfgStage stage[CONFIG_SLOTS];
    ConfigSection sections[CONFIG_SLOTS];
    uint8_t usedIds[USER_COMMAND_SLOTS / 8]; // the user commands that existed before the load
};

static bool CfgRefuse(const CfgLoad *load, const char *message) {
    AlertError(message, load->path);
    return false;
}

static bool CfgReadHeader(CfgLoad *load) {
    ConfigHeader *h = &load->header;
    if (!FileReadExact(load->file, h, CONFIG_TABLE_OFFSET) || h->magic != CONFIG_MAGIC ||
        (h->version >> 24) < 2)
        return CfgRefuse(load, ercConfigInvalid);
    if (h->version >= 0x0200001C && VERSION_WORD < h->oldestReader) return CfgRefuse(load, ercConfigNewer);
    load->slotCount = h->version >= 0x03000002 ? CONFIG_SLOTS : CONFIG_OLD_SLOTS;
    load->headerSize = CONFIG_TABLE_OFFSET + load->slotCount * (uint32_t)sizeof(ConfigSlotEntry);
    if (!FileReadExact(load->file, h->slots, load->slotCount * (int32_t)sizeof(ConfigSlotEntry)))
        return CfgRefuse(load, ercConfigInvalid);
    load->fileSize = FileGetSize(load->file);
    load->displayGroup = (load->mask & CONFIG_DISPLAY) && h->slots[CONFIG_SLOT_DISPLAY].size == 44;
    return true;
}

static ConfigSection CfgSectionOf(const CfgLoad *load, int32_t slot) {
    ConfigSection s = {0, 0, load->header.version, load->mask};
    if (slot < load->slotCount) {
        s.offset = load->header.slots[slot].offset;
        s.size = load->header.slots[slot].size;
    }
    return s;
}

// A present section lies after the header and inside the file.
static bool CfgInBounds(const CfgLoad *load, const ConfigSection *s) {
    return s->offset >= load->headerSize && s->offset <= load->fileSize &&
           s->size <= load->fileSize - s->offset;
}

static bool CfgRowHolds(const CfgRow &row, const ConfigSection *s) {
    if (s->size == 0 || s->version < row.minVersion) return false;
    return !(row.flags & CFG_EXACT) || s->size == row.size;
}

static bool CfgStageRow(CfgLoad *load, const CfgRow &row) {
    ConfigSection s = CfgSectionOf(load, row.slot);
    load->sections[row.slot] = s;
    if (s.offset != 0) load->loaded |= row.mask & load->mask;
    if (!CfgRowHolds(row, &s)) {
        if (row.flags & CFG_ELSE_DEFAULTS) load->stage[row.slot] = CFG_STAGED_DEFAULTS;
        return true;
    }
    if (!CfgInBounds(load, &s)) return false;
    load->stage[row.slot] = CFG_STAGED;
    FileSeek(load->file, s.offset);
    return CfgOwnerOf(row.slot)->read(load->file, &s) && FileTell(load->file) <= s.offset + s.size;
}

static bool CfgStageAll(CfgLoad *load) {
    load->loaded = load->mask & CONFIG_EMPTY;
    for (const CfgRow &row : cfgLoadRows) {
        if (!(row.mask & load->mask) || ((row.flags & CFG_GROUP) && !load->displayGroup)) continue;
        if (!CfgStageRow(load, row)) return CfgRefuse(load, ercConfigInvalid);
    }
    return true;
}

static void CfgDiscardAll(CfgLoad *load) {
    for (int32_t slot = 0; slot < CONFIG_SLOTS; slot++) {
        if (load->stage[slot] == CFG_STAGED) CfgOwnerOf(slot)->discard();
        load->stage[slot] = CFG_NOT_STAGED;
    }
}

static const CfgRow *CfgLoadRow(int32_t slot) {
    for (const CfgRow &row : cfgLoadRows)
        if (row.slot == slot) return &row;
    return nullptr;
}

static void CfgApplyAll(CfgLoad *load) {
    for (int32_t slot : cfgApplyOrder) {
        const ConfigSection *s = &load->sections[slot];
        if (load->stage[slot] == CFG_NOT_STAGED || s->version < CfgLoadRow(slot)->minApplyVersion) continue;
        if (load->stage[slot] == CFG_STAGED)
            CfgOwnerOf(slot)->apply(s);
        else
            CfgOwnerOf(slot)->defaults();
    }
}

// Readers find user commands by name, making those that are missing: a refused file takes them away again.
static bool CfgUserIdUsed(int32_t slot) {
    UserCommand entry;
    return UserCommandGet(CMD_USER_FIRST + slot, &entry);
}

static void CfgNoteUserIds(CfgLoad *load) {
    for (int32_t slot = 0; slot < UserCommandSlots(); slot++)
        if (CfgUserIdUsed(slot)) load->usedIds[slot / 8] |= (uint8_t)(1 << (slot % 8));
}

static void CfgDropNewUserIds(const CfgLoad *load) {
    for (int32_t slot = 0; slot < UserCommandSlots(); slot++) {
        bool before = load->usedIds[slot / 8] & (1 << (slot % 8));
        if (!before && CfgUserIdUsed(slot)) UserCommandRemove(CMD_USER_FIRST + slot);
    }
}

// The header's description, which may come without its NUL.
static void CfgTakeDescription(const ConfigHeader *header) {
    memcpy(configDescription, header->description, CONFIG_DESCRIPTION_SIZE - 1);
    configDescription[CONFIG_DESCRIPTION_SIZE - 1] = 0;
}

static void CfgLoaded(const CfgLoad *load) {
    StrCopyMaxLen(load->path, configLastPath, CONFIG_PATH_MAX);
    configLastMask = load->mask;
    if ((load->loaded & CONFIG_ALL) == CONFIG_ALL) CfgTakeDescription(&load->header);
    configChanges++;
    cfgHooks.windowMenuRebuild();
    DtaApplyToBuffers();
    cfgHooks.redrawSourceWindows();
    ConfigActivateWindows();
}

bool ConfigLoadMasked(const char *path, uint32_t mask) {
    if (!configDirty && mask == configLastMask && StrEqualI(path, configLastPath)) return true;
    ErcClear();
    configBackupMade = false;
    CfgLoad *load = (CfgLoad *)MemAlloc(sizeof(CfgLoad));
    int file = load ? FileOpenEx(path, FILE_OPEN_READONLY | FILE_OPEN_SEQ) : -1;
    if (file < 0) {
        MemFree(load);
        ErcClear();
        return false;
    }
    load->path = path;
    load->file = file;
    load->mask = mask;
    CfgNoteUserIds(load);
    bool ok = CfgReadHeader(load) && CfgStageAll(load);
    if (ok) {
        configLoadedVersion = load->header.version;
        CfgApplyAll(load);
    }
    CfgDiscardAll(load);
    if (!ok) CfgDropNewUserIds(load);
    FileClose(file);
    if (ok) CfgLoaded(load);
    MemFree(load);
    ErcClear();
    return ok;
}

// ---- Defaults

void ConfigSetDefaults() {
    ConfigMenusClear();
    for (int32_t slot : cfgDefaultOrder) CfgOwnerOf(slot)->defaults();
}
