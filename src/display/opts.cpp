// opts: the program's option words, the display options record and the colour record (prefix Opt). The
// defaults are the ones a new user starts from: the status bar, the toolbar, syntax formatting, both scroll
// bars, the margin marks, backups kept 200 days, file sharing with a background reload that asks first,
// matching parentheses, the completion window, drag-and-drop, event handlers and the Window menu by title are
// on; every other option is off, the syntax decorations and the symbol declaration and reference views with
// them. The colours come from one of two tables, the second for displays of more than 256 colours.
#include "display/opts.h"

struct OptColorRow {
    const char *name;
    uint32_t few;  // 256 colours or fewer
    uint32_t many; // more colours
};

static constexpr OptColorRow optColorRows[OPT_COLOR_COUNT] = {
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

// The application background the program starts with, before the system is asked for its own.
static constexpr uint32_t optAppBackgroundGrey = 0x808080;

static constexpr DisplayOptions OptDisplayDefault() {
    DisplayOptions o = {};
    o.viewOptions = VIEW_SYNTAX_FORMATTING | VIEW_STATUS_BAR | VIEW_TOOLBAR | VIEW_HSCROLL |
                    VIEW_REVISION_MARKS | VIEW_BOOKMARKS | VIEW_WINDOWS_BY_TITLE;
    o.viewOptions2 = VIEW2_VSCROLL;
    o.spaceWidthChar = '1';
    o.delimWidthChar = '1';
    return o;
}

static constexpr ColorRecord OptColorRecordOf(const uint32_t *colors, uint32_t version) {
    ColorRecord r = {};
    r.magic = OPT_COLOR_MAGIC;
    r.version = version;
    r.count = OPT_COLOR_COUNT;
    for (int32_t i = 0; i < OPT_COLOR_COUNT; i++) r.colors[i] = colors[i] & 0xFFFFFF;
    return r;
}

static constexpr ColorRecord OptColorDefault(bool manyColours, uint32_t appBackground, uint32_t version) {
    uint32_t colors[OPT_COLOR_COUNT] = {};
    for (int32_t i = 0; i < OPT_COLOR_COUNT; i++)
        colors[i] = manyColours ? optColorRows[i].many : optColorRows[i].few;
    colors[OPT_COLOR_APP_BACKGROUND] = appBackground;
    return OptColorRecordOf(colors, version);
}

uint32_t g_options;
uint32_t g_options2;
uint32_t g_options3;
DisplayOptions g_displayOptions = OptDisplayDefault();
uint32_t &g_viewOptions = g_displayOptions.viewOptions;
uint32_t &g_viewOptions2 = g_displayOptions.viewOptions2;
uint32_t &g_decorOptions = g_displayOptions.decorOptions;
char &g_spaceWidthChar = g_displayOptions.spaceWidthChar;
char &g_delimWidthChar = g_displayOptions.delimWidthChar;
int32_t g_recoverySeconds = OPT_RECOVERY_SECONDS_DEFAULT;
int32_t g_syncMinutes = OPT_SYNC_MINUTES_DEFAULT;
int32_t g_backupDays = OPT_BACKUP_DAYS_DEFAULT;
int32_t g_undoSteps = OPT_UNDO_STEPS_DEFAULT;
int32_t g_openCommand = OPT_OPEN_COMMAND_DEFAULT;
uint32_t g_pasteSelect = OPT_PASTE_START;
uint32_t g_lineEndFormat = OPT_LINE_END_CRLF;
uint32_t g_spaceBetweenParams;
uint32_t g_spaceAfterFuncName;
// Version 0 until the configuration stamps the record with its writer's.
ColorRecord g_colorRecord = OptColorDefault(false, optAppBackgroundGrey, 0);

void OptSetDefaults() {
    g_options = OPT_MATCH_PARENS | OPT_AUTO_COMPLETION | OPT_SHARING | OPT_BACKGROUND_RELOAD | OPT_ASK_RELOAD;
    g_options2 = OPT2_MAKE_BACKUPS;
    g_options3 = OPT3_DRAG_DROP | OPT3_EVENT_HANDLERS | OPT3_PURGE_BACKUPS;
    g_recoverySeconds = OPT_RECOVERY_SECONDS_DEFAULT;
    g_syncMinutes = OPT_SYNC_MINUTES_DEFAULT;
    g_backupDays = OPT_BACKUP_DAYS_DEFAULT;
    g_undoSteps = OPT_UNDO_STEPS_DEFAULT;
    g_openCommand = OPT_OPEN_COMMAND_DEFAULT;
    g_pasteSelect = OPT_PASTE_START;
    g_lineEndFormat = OPT_LINE_END_CRLF;
    g_spaceBetweenParams = 0;
    g_spaceAfterFuncName = 0;
}

void OptDisplayDefaults(DisplayOptions *out) {
    *out = OptDisplayDefault();
}

void OptColorDefaults(ColorRecord *out, bool manyColours, uint32_t appBackground, uint32_t version) {
    *out = OptColorDefault(manyColours, appBackground, version);
}

void OptColorRecordMake(ColorRecord *out, const uint32_t *colors, uint32_t version) {
    *out = OptColorRecordOf(colors, version);
}

static bool OptColorValid(int32_t index) {
    return index >= 0 && index < OPT_COLOR_COUNT;
}

const char *OptColorName(int32_t index) {
    return OptColorValid(index) ? optColorRows[index].name : "";
}

void OptSetColor(int32_t index, uint32_t color) {
    if (OptColorValid(index)) g_colorRecord.colors[index] = color;
}

void OptReset() {
    OptDisplayDefaults(&g_displayOptions);
    OptColorDefaults(&g_colorRecord, false, optAppBackgroundGrey, 0);
}
