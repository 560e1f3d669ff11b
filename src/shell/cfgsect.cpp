// cfgsect: the configuration's other sections (prefixes ConfigSect, cfg*Owner, helpers CfgSect). Each owner
// keeps its staging record here; applying copies it into the live one. The stand-in of a slot whose owner is
// not registered carries a fixed-size record through a load and a save unchanged, so that a configuration
// written by a program with more modules keeps their records.
#include "shell/cfgsect.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/plexvar.h"
#include "base/str.h"
#include "base/utilil.h"
#include "display/opts.h"
#include "doc/dta.h"
#include "shell/cfgcolor.h"
#include "shell/cfgedit.h"
#include "shell/cfgmenu.h"
#include "shell/keymap.h"
#include "shell/setting.h"
#include "shell/srchopt.h"

#include <cstring>

ProjectReportSettings g_projectReport;

// ---- Display options (slot 0)

static DisplayOptions cfgSectDisplayStaged;

// A width character from the registry: its first character, 0 (no substitute) when empty.
static char CfgSectWidthChar(const char *name) {
    char text[SETTING_TEXT_MAX] = "1";
    SettingGetText(nullptr, name, text, sizeof text);
    return text[0];
}

static bool CfgSectDisplayWrite(int file) {
    return FileWriteExact(file, &g_displayOptions, sizeof g_displayOptions);
}

static bool CfgSectDisplayRead(int file, const ConfigSection *) {
    return FileReadExact(file, &cfgSectDisplayStaged, sizeof cfgSectDisplayStaged);
}

static void CfgSectDisplayApply(const ConfigSection *) {
    g_displayOptions = cfgSectDisplayStaged;
}

static void CfgSectDisplayDefaults() {
    OptDisplayDefaults(&g_displayOptions);
    g_spaceWidthChar = CfgSectWidthChar("SpaceWidthChar");
    g_delimWidthChar = CfgSectWidthChar("DelimWidthChar");
}

static void CfgSectDisplayDiscard() {
    memset(&cfgSectDisplayStaged, 0, sizeof cfgSectDisplayStaged);
}

const ConfigOwner cfgDisplayOwner = {CfgSectDisplayWrite, CfgSectDisplayRead, CfgSectDisplayApply,
                                     CfgSectDisplayDefaults, CfgSectDisplayDiscard};

void ConfigActivateWindows() {
    const ConfigHooks &h = ConfigHook();
    h.showWindows(CONFIG_WINDOW_PROJECT, g_viewOptions & VIEW_PROJECT_WINDOW);
    h.showWindows(CONFIG_WINDOW_CLIP, g_viewOptions & VIEW_CLIP_WINDOW);
    h.showWindows(CONFIG_WINDOW_CONTEXT, g_viewOptions & VIEW_CONTEXT_WINDOW);
    h.showWindows(CONFIG_WINDOW_RELATION, g_viewOptions & VIEW_RELATION_WINDOWS);
}

bool UseBackgroundTextures() {
    return (g_viewOptions2 & VIEW2_TEXTURES) && !ConfigHook().themeActive();
}

// ---- Sections with nothing to apply: the reserved record (slot 2), slot 9, and the stand-ins' no-ops

static bool CfgSectWriteNothing(int) {
    return true;
}
static bool CfgSectReadNothing(int, const ConfigSection *) {
    return true;
}
static void CfgSectApplyNothing(const ConfigSection *) {}
static void CfgSectNothing() {}

static bool CfgSectReservedWrite(int file) {
    static const ConfigReservedRecord zeros = {};
    return FileWriteExact(file, &zeros, sizeof zeros);
}

const ConfigOwner cfgReservedOwner = {CfgSectReservedWrite, CfgSectReadNothing, CfgSectApplyNothing,
                                      CfgSectNothing, CfgSectNothing};
static const ConfigOwner cfgSectEmptyOwner = {CfgSectWriteNothing, CfgSectReadNothing, CfgSectApplyNothing,
                                              CfgSectNothing, CfgSectNothing};

// ---- Search options (slot 5)

static SearchOptions cfgSectSearchStaged[SEARCH_OPTIONS_COUNT];

static bool CfgSectSearchWrite(int file) {
    return FileWriteExact(file, g_searchOptions, sizeof g_searchOptions);
}

static bool CfgSectSearchRead(int file, const ConfigSection *) {
    return FileReadExact(file, cfgSectSearchStaged, sizeof cfgSectSearchStaged);
}

static void CfgSectSearchApply(const ConfigSection *) {
    memcpy(g_searchOptions, cfgSectSearchStaged, sizeof g_searchOptions);
}

static void CfgSectSearchDiscard() {
    memset(cfgSectSearchStaged, 0, sizeof cfgSectSearchStaged);
}

const ConfigOwner cfgSearchOwner = {CfgSectSearchWrite, CfgSectSearchRead, CfgSectSearchApply,
                                    SearchOptionsDefaults, CfgSectSearchDiscard};

// ---- Project report settings (slot 10)

static ProjectReportSettings cfgSectReportStaged;

void ConfigReportDefaults(ProjectReportSettings *out) {
    memset(out, 0xFF, sizeof *out);
    out->words[2] = 0;
    out->words[7] = 0;
    FontDescInit(&out->font, "Courier New", 40);
}

static bool CfgSectReportWrite(int file) {
    return FileWriteExact(file, &g_projectReport, sizeof g_projectReport);
}

static bool CfgSectReportRead(int file, const ConfigSection *) {
    return FileReadExact(file, &cfgSectReportStaged, sizeof cfgSectReportStaged);
}

// Files older than 0x03320012 name "MS Sans Serif", which newer systems draw badly: the dialog font stands in.
static void CfgSectReportApply(const ConfigSection *section) {
    g_projectReport = cfgSectReportStaged;
    char face[FONT_FACE_MAX + 1];
    if (section->version < 0x03320012 &&
        StrEqualI(FontDescFace(&g_projectReport.font, face), "MS Sans Serif")) {
        ConfigHook().dialogFont(&g_projectReport.font);
        SetConfigDirty(0);
    }
}

static void CfgSectReportDefaults() {
    ConfigReportDefaults(&g_projectReport);
}

static void CfgSectReportDiscard() {
    memset(&cfgSectReportStaged, 0, sizeof cfgSectReportStaged);
}

const ConfigOwner cfgReportOwner = {CfgSectReportWrite, CfgSectReportRead, CfgSectReportApply,
                                    CfgSectReportDefaults, CfgSectReportDiscard};

// ---- The key map (slot 3)

// Keys that later versions bound, bound on loading an older file where the user left them free.
struct CfgSectKeyRow {
    uint32_t version; // files older than this get the binding
    KeyCode key;
    int32_t command;
};

static const CfgSectKeyRow cfgSectKeyRows[] = {
    {0x02000010, KEY_CTRL | '\'', 347},                      // Smart Rename...
    {0x02000023, KEY_ALT | ' ', 373},                        // Activate System Menu
    {0x020A0003, KEY_CTRL | 'E', 411},                       // Complete Symbol
    {0x03000060, KEY_MOUSE | KEY_MOUSE_X1, 43},              // Go Back
    {0x03000060, KEY_MOUSE | KEY_MOUSE_X2, 106},             // Go Forward
    {0x03000081, KEY_ALT | KEY_FUNCTION | (0x70 + 11), 628}, // Alt+F12: Draft View
    {0x03000089, KEY_ALT | 'K', 634},                        // Activate Work Menu
};

static KeyMap cfgSectKeyStaged;

static bool CfgSectKeyWrite(int file) {
    return KeyMapWrite(file);
}

static bool CfgSectKeyRead(int file, const ConfigSection *section) {
    return KeyMapRead(file, section->size, &cfgSectKeyStaged);
}

static void CfgSectKeyApply(const ConfigSection *section) {
    KeyMapInstall(&cfgSectKeyStaged);
    bool added = false;
    for (const CfgSectKeyRow &row : cfgSectKeyRows) {
        if (section->version >= row.version || KeyMapFind(row.key) >= 0) continue;
        added = KeyMapAdd(row.command, row.key) || added;
    }
    if (added) SetConfigDirty(0);
}

static void CfgSectKeyDefaults() {
    KeyMapReset(1);
}

static void CfgSectKeyDiscard() {
    KeyMapFree(&cfgSectKeyStaged);
}

const ConfigOwner configKeyMapOwner = {CfgSectKeyWrite, CfgSectKeyRead, CfgSectKeyApply, CfgSectKeyDefaults,
                                       CfgSectKeyDiscard};

// ---- The document types (slot 7)

static DtaTable cfgSectTypesStaged;

// Before the defaults there is no table to write.
static bool CfgSectTypesWrite(int file) {
    return DtaCount() == 0 || DtaWrite(file, DtaCurrent());
}

static bool CfgSectTypesRead(int file, const ConfigSection *section) {
    return DtaRead(file, &cfgSectTypesStaged, section->version);
}

static void CfgSectTypesApply(const ConfigSection *section) {
    if (section->mask & CONFIG_DOCTYPES)
        DtaUpgrade(&cfgSectTypesStaged, section->version);
    else
        DtaMerge(&cfgSectTypesStaged);
}

static void CfgSectTypesDefaults() {
    DtaDefaults();
}

static void CfgSectTypesDiscard() {
    DtaTableFree(&cfgSectTypesStaged);
}

const ConfigOwner configDocTypesOwner = {CfgSectTypesWrite, CfgSectTypesRead, CfgSectTypesApply,
                                         CfgSectTypesDefaults, CfgSectTypesDiscard};

// ---- Checks of the sections that are skipped

static bool CfgSectRead32(int file, uint32_t at, uint32_t *value) {
    unsigned char word[4];
    FileSeek(file, at);
    if (!FileReadExact(file, word, 4)) return false;
    *value = (uint32_t)PlexVarGetLE(word);
    return true;
}

enum : uint32_t {
    CFG_LANG_PROPERTIES = 896,
    CFG_LANG_SLOTS = 100,
    CFG_RELATION_HEAD = 6028,
    CFG_RELATION_RECORD = 5896,
};

// A record that a header at `at` points to, of at least `size` bytes: after the header, inside the section.
static bool CfgSectLangRecord(uint32_t record, uint32_t at, uint32_t size, uint32_t end) {
    return record == 0 || (record >= at + sizeof(ConfigLangHeader) && record < end && size <= end - record);
}

static bool CfgSectLangHeader(int file, uint32_t at, uint32_t end, ConfigLangHeader *h) {
    if (at > end || sizeof *h > end - at) return false;
    FileSeek(file, at);
    return FileReadExact(file, h, sizeof *h) && h->slot < CFG_LANG_SLOTS &&
           CfgSectLangRecord(h->keywords, at, 1, end) && CfgSectLangRecord(h->conditions, at, 1, end) &&
           CfgSectLangRecord(h->properties, at, CFG_LANG_PROPERTIES, end);
}

bool ConfigLanguagesCheck(int file, const ConfigSection *section) {
    uint32_t end = section->offset + section->size;
    bool seen[CFG_LANG_SLOTS] = {};
    ConfigLangHeader h;
    for (uint32_t at = section->offset;; at = h.next) {
        if (!CfgSectLangHeader(file, at, end, &h)) return false;
        if (h.slot == 0) break;
        if (seen[h.slot] || h.next <= at) return false;
        seen[h.slot] = true;
    }
    FileSeek(file, end);
    return true;
}

bool ConfigRelationCheck(int file, const ConfigSection *section) {
    uint32_t count;
    if (section->size < CFG_RELATION_HEAD || !CfgSectRead32(file, section->offset, &count)) return false;
    if ((uint64_t)count * CFG_RELATION_RECORD > section->size - CFG_RELATION_HEAD) return false;
    FileSeek(file, section->offset + section->size);
    return true;
}

static bool CfgSectLangRead(int file, const ConfigSection *section) {
    return ConfigLanguagesCheck(file, section);
}

static bool CfgSectRelationRead(int file, const ConfigSection *section) {
    return ConfigRelationCheck(file, section);
}

static const ConfigOwner cfgSectLangStandIn = {CfgSectWriteNothing, CfgSectLangRead, CfgSectApplyNothing,
                                               CfgSectNothing, CfgSectNothing};
static const ConfigOwner cfgSectRelationStandIn = {CfgSectWriteNothing, CfgSectRelationRead,
                                                   CfgSectApplyNothing, CfgSectNothing, CfgSectNothing};

// ---- Carried records

struct CfgSectCarried {
    uint32_t size;
    uint8_t *live;   // null: none was read
    uint8_t *staged; // null: none staged
};

// The toolbar layout counts as a layout only with its third word 10.
static bool CfgSectCarriedSound(int32_t slot, const uint8_t *record) {
    return slot != CONFIG_SLOT_TOOLBARS || PlexVarGetLE(record + 8) == 10;
}

template <int32_t Slot, typename Record>
struct CfgSectCarry {
    static constexpr uint32_t Size = sizeof(Record);
    static inline CfgSectCarried state = {Size, nullptr, nullptr};
    static bool Write(int file) { return !state.live || FileWriteExact(file, state.live, Size); }
    static bool Read(int file, const ConfigSection *section) {
        if (section->size != Size) return true;
        state.staged = (uint8_t *)MemAlloc(Size);
        if (!state.staged || !FileReadExact(file, state.staged, Size)) return false;
        if (CfgSectCarriedSound(Slot, state.staged)) return true;
        Discard();
        return true;
    }
    static void Apply(const ConfigSection *) {
        MemFree(state.live);
        state.live = state.staged;
        state.staged = nullptr;
    }
    static void Defaults() {
        MemFree(state.live);
        state.live = nullptr;
    }
    static void Discard() {
        MemFree(state.staged);
        state.staged = nullptr;
    }
    static constexpr ConfigOwner owner = {Write, Read, Apply, Defaults, Discard};
};

// ---- The built-in owner of each slot

const ConfigOwner *CfgBuiltInOwner(int32_t slot) {
    switch (slot) {
    case CONFIG_SLOT_DISPLAY: return &cfgDisplayOwner;
    case CONFIG_SLOT_EDIT: return &cfgEditOwner;
    case CONFIG_SLOT_RESERVED: return &cfgReservedOwner;
    case CONFIG_SLOT_MENUS: return &cfgMenuOwner;
    case CONFIG_SLOT_SEARCH: return &cfgSearchOwner;
    case CONFIG_SLOT_REPORT: return &cfgReportOwner;
    case CONFIG_SLOT_COLORS: return &cfgColorOwner;
    case CONFIG_SLOT_LANGUAGES: return &cfgSectLangStandIn;
    case CONFIG_SLOT_RELATION: return &cfgSectRelationStandIn;
    case CONFIG_SLOT_PRINTER: return &CfgSectCarry<CONFIG_SLOT_PRINTER, ConfigPrinterRecord>::owner;
    case CONFIG_SLOT_PROJECT_WINDOW:
        return &CfgSectCarry<CONFIG_SLOT_PROJECT_WINDOW, ConfigProjectWindowRecord>::owner;
    case CONFIG_SLOT_CLIP_WINDOW:
        return &CfgSectCarry<CONFIG_SLOT_CLIP_WINDOW, ConfigClipWindowRecord>::owner;
    case CONFIG_SLOT_SYMBOL_WINDOW:
        return &CfgSectCarry<CONFIG_SLOT_SYMBOL_WINDOW, ConfigSymbolWindowRecord>::owner;
    case CONFIG_SLOT_CONTEXT_WINDOW:
        return &CfgSectCarry<CONFIG_SLOT_CONTEXT_WINDOW, ConfigContextWindowRecord>::owner;
    case CONFIG_SLOT_STYLE_RECORD: return &CfgSectCarry<CONFIG_SLOT_STYLE_RECORD, ConfigStyleRecord>::owner;
    case CONFIG_SLOT_TOOLBARS: return &CfgSectCarry<CONFIG_SLOT_TOOLBARS, ConfigToolbarRecord>::owner;
    case CONFIG_SLOT_TYPE_FILTER:
        return &CfgSectCarry<CONFIG_SLOT_TYPE_FILTER, ConfigTypeFilterRecord>::owner;
    default: return &cfgSectEmptyOwner; // custom commands, style sheet, slots 9 and 24: nothing kept
    }
}
