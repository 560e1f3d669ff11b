// prefsview: the pages of the Preferences whose changes show at once (prefix PrefsView, and the colour and
// spacing procedures of prefs.h): Display, Colors, Syntax Formatting and Syntax Decorations, and the
// Character Spacing Options dialog. A change of a control is stored into its option word as it happens and
// its effect runs; the page keeps the words as they were when it opened, and Cancel puts them back and
// shows every element again.
#include "base/utilil.h"
#include "display/opts.h"
#include "shell/cfgcolor.h"
#include "shell/cfgsect.h"
#include "shell/prefspage.h"

#include <cstdio>
#include <cstring>

static uint32_t *const prefsViewWord = &g_displayOptions.viewOptions;
static uint32_t *const prefsViewWord2 = &g_displayOptions.viewOptions2;
static uint32_t *const prefsDecorWord = &g_displayOptions.decorOptions;

// What the pages put back on Cancel.
static DisplayOptions prefsViewSavedDisplay;
static uint32_t prefsViewSavedOptions;
static ColorRecord prefsViewSavedColors;

static void PrefsViewSave(PrefsRecord *) {
    prefsViewSavedDisplay = g_displayOptions;
    prefsViewSavedOptions = g_options;
    prefsViewSavedColors = g_colorRecord;
}

static void PrefsViewRedraw() {
    ConfigHook().redrawAllWindows();
    PrefsPageNoteDisplay();
}

static void PrefsViewRedrawSource() {
    ConfigHook().redrawSourceWindows();
    PrefsPageNoteDisplay();
}

// ---- Display

static const PrefsBinding prefsDisplayBindings[] = {
    PrefsBit(prefsViewWord, 2),   PrefsBit(prefsViewWord, 4),   PrefsBit(prefsViewWord, 7),
    PrefsBit(prefsViewWord, 22),  PrefsBit(prefsViewWord, 5),   PrefsBit(prefsViewWord, 8),
    PrefsBit(prefsViewWord, 3),   PrefsBit(&g_options, 7),      PrefsBit(prefsViewWord2, 3),
    PrefsBit(prefsViewWord, 6),   PrefsBit(prefsViewWord2, 15), PrefsBit(prefsViewWord, 9),
    PrefsBit(prefsViewWord, 10),  PrefsBit(prefsViewWord, 11),  PrefsBit(prefsViewWord, 12),
    PrefsBit(prefsViewWord, 26),  PrefsBit(prefsViewWord, 13),  PrefsBit(prefsViewWord2, 21),
    PrefsBit(prefsViewWord2, 0),  PrefsBit(prefsViewWord, 28),  PrefsBit(prefsViewWord2, 19),
    PrefsBit(prefsViewWord2, 22), PrefsBit(prefsViewWord2, 23), PrefsBit(prefsViewWord, 30),
};
extern const PrefsPageDesc prefsDisplayPage;

static void PrefsViewRetitle() {
    PrefsHook().retitleWindows();
    PrefsViewRedraw();
}

// The effect of one control of the Display page, as its word now stands.
static void PrefsViewDisplayEffect(int32_t control) {
    const PrefsHooks &h = PrefsHook();
    switch (control) {
    case PD_STATUS_BAR: h.statusShow(g_viewOptions & VIEW_STATUS_BAR); break;
    case PD_TOOLBAR: h.toolbarShow(g_viewOptions & VIEW_TOOLBAR); break;
    case PD_CLIP_WINDOW:
    case PD_RELATION_WINDOWS:
    case PD_PROJECT_WINDOW:
    case PD_CONTEXT_WINDOW: ConfigActivateWindows(); break;
    case PD_PAGE_NUMBER: h.statusRefresh(); break;
    case PD_REVISION_MARKS:
    case PD_BOOKMARKS:
    case PD_TEXTURES: PrefsViewRedraw(); break;
    case PD_EXACT_CASE:
    case PD_READ_ONLY_MARK:
    case PD_TRIM_PATHS: PrefsViewRetitle(); break;
    case PD_PROJECT_NAME: h.redrawFrame(); break;
    case PD_FLAT_TOOLBARS: ConfigHook().rebuildToolbars(); break;
    case PD_THEMING: h.applyTheme(); break;
    default: break;
    }
}

// "Cascade new windows" and "Maximize new windows" exclude each other.
static void PrefsViewDisplayChanged(PrefsRecord *record, int32_t control) {
    int32_t other = control == PD_CASCADE ? PD_MAXIMIZE : control == PD_MAXIMIZE ? PD_CASCADE : -1;
    if (other >= 0 && record->values[control]) {
        record->values[other] = 0;
        PrefsPageStoreOne(&prefsDisplayPage, record, other);
    }
    PrefsPageStoreOne(&prefsDisplayPage, record, control);
    PrefsViewDisplayEffect(control);
    PrefsPageNoteDisplay();
}

static bool PrefsViewDisplayEnabled(const PrefsRecord *, int32_t control) {
    return control != PD_SMOOTH || !PrefsHook().remoteSession() ||
           !g_remoteOptions[PREFS_REMOTE_NO_SMOOTH_SCROLL];
}

// Every element the page shows, as the words now stand: one effect of each kind.
static void PrefsViewDisplayAll() {
    static const int32_t each[] = {PD_STATUS_BAR, PD_TOOLBAR,      PD_PROJECT_WINDOW, PD_PAGE_NUMBER,
                                   PD_EXACT_CASE, PD_PROJECT_NAME, PD_FLAT_TOOLBARS,  PD_THEMING};
    for (int32_t control : each) PrefsViewDisplayEffect(control);
}

static void PrefsViewDisplayCancel(PrefsRecord *) {
    g_displayOptions = prefsViewSavedDisplay;
    g_options = (g_options & ~OPT_CASCADE_NEW) | (prefsViewSavedOptions & OPT_CASCADE_NEW);
    PrefsViewDisplayAll();
}

const PrefsPageDesc prefsDisplayPage = {258,
                                        "Display Options",
                                        prefsDisplayBindings,
                                        PrefsCount(prefsDisplayBindings),
                                        PrefsViewSave,
                                        PrefsViewDisplayChanged,
                                        PrefsViewDisplayEnabled,
                                        nullptr,
                                        PrefsViewDisplayCancel};

// ---- Character Spacing Options

enum { PREFS_SPACE_CHAR, PREFS_DELIM_CHAR, PREFS_MONO_TABS, PREFS_MONO_SPACES, PREFS_SMALL_LEADING };

void PrefsSpacingCreate(PrefsRecord *record) {
    memset(record, 0, sizeof *record);
    record->values[PREFS_SPACE_CHAR] = (unsigned char)g_spaceWidthChar;
    record->values[PREFS_DELIM_CHAR] = (unsigned char)g_delimWidthChar;
    record->values[PREFS_MONO_TABS] = (g_viewOptions2 & VIEW2_MONO_TABSTOPS) != 0;
    record->values[PREFS_MONO_SPACES] = (g_viewOptions2 & VIEW2_MONO_SPACES) != 0;
    record->values[PREFS_SMALL_LEADING] = (g_viewOptions2 & VIEW2_SMALL_LEADING) != 0;
}

static void PrefsViewSetBit(uint32_t *word, uint32_t bit, int32_t on) {
    *word = on ? *word | bit : *word & ~bit;
}

void PrefsSpacingApply(const PrefsRecord *record) {
    g_spaceWidthChar = (char)record->values[PREFS_SPACE_CHAR];
    g_delimWidthChar = (char)record->values[PREFS_DELIM_CHAR];
    PrefsViewSetBit(prefsViewWord2, VIEW2_MONO_TABSTOPS, record->values[PREFS_MONO_TABS]);
    PrefsViewSetBit(prefsViewWord2, VIEW2_MONO_SPACES, record->values[PREFS_MONO_SPACES]);
    PrefsViewSetBit(prefsViewWord2, VIEW2_SMALL_LEADING, record->values[PREFS_SMALL_LEADING]);
    PrefsHook().spacingChanged();
    PrefsViewRedrawSource();
    SetConfigDirty(1);
}

// ---- Colors

// The nine items of the list, in list order.
static const int32_t prefsColorItems[] = {1, 0, 11, 10, 9, 2, 3, 4, 12};

int32_t PrefsColorOfItem(int32_t item) {
    return item >= 0 && item < 9 ? prefsColorItems[item] : -1;
}

void PrefsColorChoose(PrefsRecord *record) {
    int32_t index = PrefsColorOfItem(record->values[PC_ITEM]);
    if (index < 0) return;
    char name[CONFIG_COLOR_NAME_MAX], title[CONFIG_COLOR_NAME_MAX + 8];
    ConfigColorName(index, name);
    snprintf(title, sizeof title, "%s Color", name);
    uint32_t color = ConfigGetColor(index);
    if (!PrefsHook().askColor(title, &color)) return;
    ConfigSetColor(index, color);
    PrefsViewRedraw();
}

void PrefsColorReset() {
    PrefsHook().beep();
    if (!PrefsPageAskYes("Are you sure you want to return to the default color settings?")) return;
    ColorRecord defaults;
    ConfigColorDefaults(&defaults);
    ConfigApplyColors(&defaults, true);
    PrefsPageNoteDisplay();
}

static const PrefsBinding prefsColorsBindings[] = {PrefsOwn(), PrefsBit(prefsViewWord2, 18)};
extern const PrefsPageDesc prefsColorsPage;

static void PrefsViewColorsChanged(PrefsRecord *record, int32_t control) {
    if (control != PC_GRADIENTS) return;
    PrefsPageStoreOne(&prefsColorsPage, record, control);
    PrefsViewRedraw();
}

static void PrefsViewColorsCancel(PrefsRecord *) {
    g_displayOptions = prefsViewSavedDisplay;
    ConfigApplyColors(&prefsViewSavedColors, true);
}

const PrefsPageDesc prefsColorsPage = {463,     "Colors",      prefsColorsBindings,
                                       2,       PrefsViewSave, PrefsViewColorsChanged,
                                       nullptr, nullptr,       PrefsViewColorsCancel};

// ---- Syntax Formatting

static const PrefsBinding prefsFormattingBindings[] = {
    PrefsBit(prefsViewWord, 0),  PrefsBit(prefsViewWord, 16), PrefsBit(prefsViewWord, 27),
    PrefsBit(prefsViewWord, 14), PrefsBit(prefsViewWord, 15), PrefsBit(prefsViewWord, 18),
    PrefsBit(prefsViewWord, 19), PrefsBit(prefsViewWord, 20), PrefsBit(prefsViewWord, 24),
    PrefsBit(prefsViewWord, 25), PrefsBit(prefsViewWord, 23), PrefsBit(prefsViewWord, 21),
    PrefsBit(prefsViewWord, 29),
};
extern const PrefsPageDesc prefsFormattingPage;

static void PrefsViewFormattingChanged(PrefsRecord *record, int32_t control) {
    PrefsPageStoreOne(&prefsFormattingPage, record, control);
    PrefsViewRedrawSource();
}

static void PrefsViewWordsCancel(PrefsRecord *) {
    g_displayOptions = prefsViewSavedDisplay;
    PrefsViewRedraw();
}

const PrefsPageDesc prefsFormattingPage = {431,
                                           "Syntax Formatting",
                                           prefsFormattingBindings,
                                           PrefsCount(prefsFormattingBindings),
                                           PrefsViewSave,
                                           PrefsViewFormattingChanged,
                                           nullptr,
                                           nullptr,
                                           PrefsViewWordsCancel};

// ---- Syntax Decorations

static const PrefsBinding prefsDecorationsBindings[] = {
    PrefsBit(prefsDecorWord, 0),  PrefsBit(prefsDecorWord, 1),  PrefsBit(prefsDecorWord, 2),
    PrefsBit(prefsDecorWord, 10), PrefsBit(prefsDecorWord, 3),  PrefsBit(prefsDecorWord, 4),
    PrefsBit(prefsDecorWord, 5),  PrefsBit(prefsDecorWord, 7),  PrefsBit(prefsDecorWord, 8),
    PrefsBit(prefsDecorWord, 9),  PrefsBit(prefsViewWord, 17),  PrefsBit(prefsDecorWord, 11),
    PrefsBit(prefsDecorWord, 12), PrefsBit(prefsDecorWord, 13),
};
extern const PrefsPageDesc prefsDecorationsPage;

static void PrefsViewDecorationsChanged(PrefsRecord *record, int32_t control) {
    PrefsPageStoreOne(&prefsDecorationsPage, record, control);
    PrefsViewRedraw();
}

// The nine substitutions follow their switch, the short-block annotation its annotation; their bits stay.
static bool PrefsViewDecorationsEnabled(const PrefsRecord *record, int32_t control) {
    if (control >= PR_ARROW && control <= PR_OR) return record->values[PR_SUBSTITUTIONS];
    return control != PR_END_COMMENTS_LONG || record->values[PR_END_COMMENTS];
}

const PrefsPageDesc prefsDecorationsPage = {482,
                                            "Syntax Decorations",
                                            prefsDecorationsBindings,
                                            PrefsCount(prefsDecorationsBindings),
                                            PrefsViewSave,
                                            PrefsViewDecorationsChanged,
                                            PrefsViewDecorationsEnabled,
                                            nullptr,
                                            PrefsViewWordsCancel};
