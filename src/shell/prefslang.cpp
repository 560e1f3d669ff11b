// prefslang: the Languages page of the Preferences and its Special Language Options dialog (prefix
// PrefsLang, and PrefsLanguageButton, PrefsSetLanguage, PrefsSpecial*). The languages and their commands
// are subsystem 6's: the page lists the language table and runs the commands through hooks, and its buttons
// stay disabled until the languages register them. When the page closes, a parse option changed in one of
// the built-in languages (slots below 20) offers to re-parse the project.
#include "base/utilil.h"
#include "display/opts.h"
#include "shell/prefspage.h"

#include <cstring>

enum : int32_t {
    PREFS_LANG_BUILT_IN = 20, // user-defined languages start here
    PREFS_LANG_NONE = -1,
};

static int32_t prefsLangRequest = PREFS_LANG_NONE;
static uint32_t prefsLangStates[PREFS_LANG_BUILT_IN];
static bool prefsLangConditionsChanged;

void PrefsSetLanguage(int32_t language) {
    prefsLangRequest = language;
}

bool PrefsLangRequested() {
    return prefsLangRequest != PREFS_LANG_NONE;
}

static int32_t PrefsLangBuiltIns() {
    return Min(PrefsHook().languageCount(), PREFS_LANG_BUILT_IN);
}

// The language another command asked for is shown once; else the one at the caret.
static void PrefsLangCreate(PrefsRecord *record) {
    const PrefsHooks &h = PrefsHook();
    record->values[PL_LANGUAGE] = PrefsLangRequested() ? prefsLangRequest : h.languageAtCaret();
    prefsLangRequest = PREFS_LANG_NONE;
    for (int32_t i = 0; i < PrefsLangBuiltIns(); i++) prefsLangStates[i] = h.languageParseState(i);
    prefsLangConditionsChanged = false;
}

static bool PrefsLangEnabled(const PrefsRecord *record, int32_t control) {
    const PrefsHooks &h = PrefsHook();
    int32_t language = record->values[PL_LANGUAGE];
    switch (control) {
    case PL_LANGUAGE:
    case PL_SPECIAL: return true;
    case PL_PROPERTIES: return h.languageButton && language >= 0;
    case PL_DELETE:
    case PL_EXPORT: return h.languageButton && language >= PREFS_LANG_BUILT_IN;
    case PL_KEYWORDS: return h.languageButton && h.languageHasKeywords(language);
    case PL_PROJECT_CONDITIONS: return h.languageButton && h.projectOpen();
    default: return h.languageButton != nullptr;
    }
}

static const int32_t prefsLangButtons[] = {
    -1,
    PREFS_LANG_ADD,
    PREFS_LANG_DELETE,
    PREFS_LANG_PROPERTIES,
    PREFS_LANG_IMPORT,
    PREFS_LANG_EXPORT,
    PREFS_LANG_KEYWORDS,
    PREFS_LANG_DOC_TYPES,
    -1,
    PREFS_LANG_PROJECT_CONDITIONS,
    PREFS_LANG_GLOBAL_CONDITIONS,
};

void PrefsLanguageButton(PrefsRecord *record, int32_t control) {
    if (control < 0 || control > PL_GLOBAL_CONDITIONS || prefsLangButtons[control] < 0) return;
    if (!PrefsLangEnabled(record, control)) return;
    int32_t language = record->values[PL_LANGUAGE];
    bool changed = PrefsHook().languageButton(prefsLangButtons[control], &language);
    if (control == PL_ADD && changed) record->values[PL_LANGUAGE] = language;
    if ((control == PL_PROJECT_CONDITIONS || control == PL_GLOBAL_CONDITIONS) && changed)
        prefsLangConditionsChanged = true;
}

// On OK and on Cancel alike: the first built-in language whose parse options changed.
static void PrefsLangFinish(PrefsRecord *) {
    const PrefsHooks &h = PrefsHook();
    int32_t changed = PREFS_LANG_NONE;
    for (int32_t i = 0; i < PrefsLangBuiltIns() && changed == PREFS_LANG_NONE; i++)
        if (h.languageParseState(i) != prefsLangStates[i]) changed = i;
    bool ask = (changed != PREFS_LANG_NONE || prefsLangConditionsChanged) && h.projectOpen();
    if (ask &&
        PrefsPageAskYes("You've changed parsing options.\n\nDo you want to re-parse your project now?"))
        h.reparseProject(changed);
    if (changed != PREFS_LANG_NONE) h.reparseOpenFiles(changed);
    prefsLangConditionsChanged = false;
    for (int32_t i = 0; i < PrefsLangBuiltIns(); i++) prefsLangStates[i] = h.languageParseState(i);
}

static const PrefsBinding prefsLangBindings[] = {PrefsOwn(), PrefsOwn(), PrefsOwn(), PrefsOwn(),
                                                 PrefsOwn(), PrefsOwn(), PrefsOwn(), PrefsOwn(),
                                                 PrefsOwn(), PrefsOwn(), PrefsOwn()};

const PrefsPageDesc prefsLanguagesPage = {409,
                                          "Language Options",
                                          prefsLangBindings,
                                          PrefsCount(prefsLangBindings),
                                          PrefsLangCreate,
                                          nullptr,
                                          PrefsLangEnabled,
                                          PrefsLangFinish,
                                          PrefsLangFinish};

// ---- Special Language Options

enum { PREFS_SPECIAL_NAMESPACES, PREFS_SPECIAL_COM, PREFS_SPECIAL_PACKAGES, PREFS_SPECIAL_SCRIPT };

void PrefsSpecialCreate(PrefsRecord *record) {
    memset(record, 0, sizeof *record);
    record->values[PREFS_SPECIAL_NAMESPACES] = (g_options & OPT_IGNORE_NAMESPACES) != 0;
    record->values[PREFS_SPECIAL_COM] = (g_options2 & OPT2_COM_MACROS) != 0;
    record->values[PREFS_SPECIAL_PACKAGES] = (g_options2 & OPT2_IGNORE_PACKAGES) != 0;
    char script[256], name[256];
    PrefsHook().defaultScript(script, false);
    for (int32_t i = 0; i < PrefsHook().languageCount(); i++) {
        PrefsHook().languageName(i, name);
        if (script[0] && strcmp(name, script) == 0) record->values[PREFS_SPECIAL_SCRIPT] = i + 1;
    }
}

// The option's bit set or cleared: `which` when that changed it, else 0.
static uint32_t PrefsLangSet(uint32_t *word, uint32_t bit, int32_t on, uint32_t which) {
    uint32_t before = *word;
    *word = on ? *word | bit : *word & ~bit;
    return before != *word ? which : 0;
}

// A changed option marks the parse options of the languages it concerns.
void PrefsSpecialApply(const PrefsRecord *record) {
    const int32_t *v = record->values;
    uint32_t changed =
        PrefsLangSet(&g_options, OPT_IGNORE_NAMESPACES, v[PREFS_SPECIAL_NAMESPACES], PREFS_PARSE_NAMESPACES) |
        PrefsLangSet(&g_options2, OPT2_COM_MACROS, v[PREFS_SPECIAL_COM], PREFS_PARSE_COM_MACROS) |
        PrefsLangSet(&g_options2, OPT2_IGNORE_PACKAGES, v[PREFS_SPECIAL_PACKAGES], PREFS_PARSE_PACKAGES);
    if (changed) PrefsHook().markParseChanged(changed);
    char name[256] = "None";
    int32_t script = record->values[PREFS_SPECIAL_SCRIPT];
    if (script > 0 && script <= PrefsHook().languageCount()) PrefsHook().languageName(script - 1, name);
    PrefsHook().defaultScript(name, true);
    SetConfigDirty(1);
}
