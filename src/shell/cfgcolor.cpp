// cfgcolor: the colours of the configuration (prefix Config...Color, helpers CfgColor). The defaults are the
// colour record's (display/opts.h) for the display's colour depth, the application background the system's
// own colour for it. A stored record is taken only for its colours: the words around them are written fresh,
// and a colour's top byte, which would make it a palette index, is dropped.
#include "shell/cfgcolor.h"

#include "base/file.h"
#include "base/utilil.h"

#include <cstring>

uint32_t ConfigGetColor(int32_t index) {
    return OptColor(index);
}

void ConfigColorName(int32_t index, char *out) {
    StrCopyMaxLen(OptColorName(index), out, CONFIG_COLOR_NAME_MAX - 1);
}

void ConfigSetColor(int32_t index, uint32_t color) {
    OptSetColor(index, color & 0xFFFFFF);
    if (index == OPT_COLOR_APP_BACKGROUND) ConfigHook().appBackgroundChanged();
}

void ConfigApplyColors(const ColorRecord *record, bool redraw) {
    OptColorRecordMake(&g_colorRecord, record->colors, VERSION_WORD);
    ConfigHook().appBackgroundChanged();
    if (redraw) ConfigHook().redrawAllWindows();
}

void ConfigColorDefaults(ColorRecord *out) {
    OptColorDefaults(out, ConfigHook().hiColor(), ConfigHook().appBackgroundColor(), VERSION_WORD);
}

// ---- The section (slot 20)

static ColorRecord cfgColorStaged;

static bool CfgColorWrite(int file) {
    ColorRecord record;
    OptColorRecordMake(&record, g_colorRecord.colors, VERSION_WORD);
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
