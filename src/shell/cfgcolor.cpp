// cfgcolor: the colours of the configuration (prefix Config...Color, helpers CfgColor). The defaults come from
// one of two tables, the second for displays of more than 256 colours; the application background is then
// the system's own colour for it. A stored record is taken only for its colours: the words around them are
// written fresh, and a colour's top byte, which would make it a palette index, is dropped.
#include "shell/cfgcolor.h"

#include "base/file.h"
#include "base/utilil.h"

#include <cstring>

struct CfgColorRow {
    const char *name;
    uint32_t low;  // 256 colours or fewer
    uint32_t high; // more colours
};

static const CfgColorRow cfgColorRows[OPT_COLOR_COUNT] = {
    {"Window Background", 0xFFFFFF, 0xFFFFFF},
    {"Default Text", 0x000000, 0x000000},
    {"Change Marks", 0x00FFFF, 0x00FFFF},
    {"Saved Change Marks", 0x00FF00, 0xBADDBD},
    {"End of File", 0xC0C0C0, 0xDCD6BC},
    {"Selection Text", 0xFFFFFF, 0xFFFFFF},
    {"Selection Background", 0x800000, 0x800000},
    {"Current Line Text", 0x000000, 0x000000},
    {"Current Line Background", 0xC0C0C0, 0xC0C0C0},
    {"Printed Window Background", 0xFFFFFF, 0xFFFFFF},
    {"Printed Default Text", 0x000000, 0x000000},
    {"Selection Bar", 0xFFFFFF, 0xE6E6E6},
    {"Application Background", 0x808080, 0x808080},
};

static bool CfgColorValid(int32_t index) {
    return index >= 0 && index < OPT_COLOR_COUNT;
}

uint32_t ConfigGetColor(int32_t index) {
    return OptColor(index);
}

void ConfigColorName(int32_t index, char *out) {
    StrCopyMaxLen(CfgColorValid(index) ? cfgColorRows[index].name : "", out, CONFIG_COLOR_NAME_MAX - 1);
}

void ConfigSetColor(int32_t index, uint32_t color) {
    if (!CfgColorValid(index)) return;
    g_colorRecord.colors[index] = color & 0xFFFFFF;
    if (index == OPT_COLOR_APP_BACKGROUND) ConfigHook().appBackgroundChanged();
}

// The record as this program writes it, with the given colours.
static void CfgColorRecordFrom(const uint32_t *colors, ColorRecord *out) {
    memset(out, 0, sizeof *out);
    out->magic = OPT_COLOR_MAGIC;
    out->version = VERSION_WORD;
    out->count = OPT_COLOR_COUNT;
    for (int32_t i = 0; i < OPT_COLOR_COUNT; i++) out->colors[i] = colors[i] & 0xFFFFFF;
}

void ConfigApplyColors(const ColorRecord *record, bool redraw) {
    CfgColorRecordFrom(record->colors, &g_colorRecord);
    ConfigHook().appBackgroundChanged();
    if (redraw) ConfigHook().redrawAllWindows();
}

void ConfigColorDefaults(ColorRecord *out) {
    bool high = ConfigHook().hiColor();
    uint32_t colors[OPT_COLOR_COUNT];
    for (int32_t i = 0; i < OPT_COLOR_COUNT; i++)
        colors[i] = high ? cfgColorRows[i].high : cfgColorRows[i].low;
    colors[OPT_COLOR_APP_BACKGROUND] = ConfigHook().appBackgroundColor();
    CfgColorRecordFrom(colors, out);
}

// ---- The section (slot 20)

static ColorRecord cfgColorStaged;

static bool CfgColorWrite(int file) {
    ColorRecord record;
    CfgColorRecordFrom(g_colorRecord.colors, &record);
    return FileWriteExact(file, &record, sizeof record);
}

static bool CfgColorRead(int file, const ConfigSection *) {
    return FileReadExact(file, &cfgColorStaged, sizeof cfgColorStaged);
}

static void CfgColorApply(const ConfigSection *) {
    ConfigApplyColors(&cfgColorStaged, false);
}

static void CfgColorSetDefaults() {
    ColorRecord record;
    ConfigColorDefaults(&record);
    ConfigApplyColors(&record, false);
}

static void CfgColorDiscard() {
    memset(&cfgColorStaged, 0, sizeof cfgColorStaged);
}

const ConfigOwner cfgColorOwner = {
    .write = CfgColorWrite,
    .read = CfgColorRead,
    .apply = CfgColorApply,
    .defaults = CfgColorSetDefaults,
    .discard = CfgColorDiscard,
};
